#include "plugins/gamutpreview.h"

#include "imagelib/resample.h"
#include "platform/numbers.h"
#include "platform/paths.h"
#include "platform/userinterface.h"
#include "plugins/pluginobject.h"

#include <QFileInfo>

namespace corvan {
namespace {

constexpr int kPreviewSide = 330;
constexpr const char* kNoProfile =
    "No Profile Set. You need to select a profile before you can access this feature";

}  // namespace

std::unique_ptr<Bitmap24> GamutPreviewSource(const TemfFile& job, const Bitmap24& jobPreview) {
    const int w = RoundToInt(job.PageWidth) * 100, h = RoundToInt(job.PageHeight) * 100;
    if (w <= 0 || h <= 0) return nullptr;
    const FittedSize fit = FitSize(w, h, kPreviewSide, kPreviewSide);
    return ResampleBitmap(&jobPreview, fit.width, fit.height);
}

bool DriverHasProfile(TPluginObject& plugin, UserInterface& ui, bool warning) {
    const std::string profile = plugin.Get_Plugin_Datatype(kProfileDatatype);
    if (!profile.empty() && QFileInfo(QString::fromStdString(profile)).isFile()) return true;
    ui.Message(warning ? MessageKind::Warning : MessageKind::Confirmation, kNoProfile, ButtonOk);
    return false;
}

std::unique_ptr<Bitmap24> RenderGamutPreview(TPluginObject& plugin, const TemfFile& job,
                                             const Bitmap24& jobPreview, UserInterface& ui) {
    if (!plugin.Valid) return nullptr;
    auto source = GamutPreviewSource(job, jobPreview);
    if (!source) return nullptr;
    ui.SetBusy(true);
    plugin.Plugin_Load_Profile();
    plugin.Set_Plugin_Preview(*source, 500);
    if (job.GmaMethod >= 0)
        plugin.Set_Plugin_Datatype(kGmaMethodDatatype, std::to_string(job.GmaMethod));
    auto shown = plugin.Get_GMA_Data(source->Width(), source->Height());
    plugin.Plugin_Free_Profile();
    ui.SetBusy(false);
    return shown;
}

bool ChooseDriverGamut(TPluginObject& plugin, TemfFile& job, const Bitmap24& jobPreview,
                       UserInterface& ui) {
    if (!plugin.Valid || !DriverHasProfile(plugin, ui, true)) return false;
    auto source = GamutPreviewSource(job, jobPreview);
    if (!source) return false;
    ui.SetBusy(true);
    plugin.Plugin_Load_Profile();
    plugin.Set_Plugin_Preview(*source, 0);
    ui.SetBusy(false);
    const bool accepted = plugin.Choose_Plugin_Data(kColourDialog);
    plugin.Plugin_Free_Profile();
    if (accepted) job.GmaMethod = -1;
    return accepted;
}

}  // namespace corvan
