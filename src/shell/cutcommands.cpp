#include "shell/cutcommands.h"

#include "cutting/cutfile.h"
#include "platform/paths.h"
#include "raster/contours.h"
#include "shell/appcore.h"
#include "shell/ripwiring.h"

namespace corvan {

std::string CreateCutFileCommand(AppCore& app) {
    if (!app.CurrentJob) return {};
    const std::string name = NextCutFileName(ReadPath("CutDir"));
    if (name.empty()) return {};  // 0001 to 0200 taken: nothing to do
    TemfFile& job = *app.CurrentJob;
    app.Ui().SetBusy(true);
    const auto thumbnail =
        RenderCutThumbnail(job, CurrentCropMarkCorners(app), app.CurrentPlotter.MediaWidth);
    const ContourPath path = CollectJobContours(job, 10.0f);
    const bool written = WriteCutFile(app, name, thumbnail.get(), path);
    app.Ui().SetBusy(false);
    if (!written) return {};
    StartVinylSpooler(app);
    return name;
}

}  // namespace corvan
