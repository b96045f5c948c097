#include "shell/ripwiring.h"

#include "platform/numbers.h"
#include "plugins/systemprinter.h"
#include "raster/contours.h"
#include "raster/stripcomposer.h"
#include "shell/appcore.h"

#include <climits>

namespace corvan {

const CropMarkCorners& CurrentCropMarkCorners(const AppCore& app) {
    if (app.CropMarkSet.Applied()) return app.CropMarkSet.Corners();
    return DefaultCropMarkCorners();
}

std::unique_ptr<Bitmap24> ShellRip::RenderStrip(const IntRect& rect, float scale) {
    if (!app_.CurrentJob) return nullptr;
    if (!composer_) {
        const TemfFile& job = *app_.CurrentJob;
        composer_ = std::make_unique<StripComposer>(*app_.CurrentJob, CurrentCropMarkCorners(app_));
        // The driver run asks for strips of equal height, top to bottom.
        const int sourceHeight =
            RoundToInt(static_cast<long double>(scale) * (job.MediaUsedHeight + job.YOffset));
        const StripSequence sequence{rect.bottom - rect.top, sourceHeight - 1, INT_MAX};
        pipeline_ = std::make_unique<StripPipeline>(*composer_, threads_, sequence);
    }
    auto strip = pipeline_->Take(rect, scale);
    if (strip) sourcePixels_ += static_cast<double>(strip->Width()) * strip->Height();
    return strip;
}

ContourPath ShellRip::CutPath(float scale) {
    if (!app_.CurrentJob) return {};
    return CollectJobContours(*app_.CurrentJob, scale);
}

bool ShellRip::PrintToSystemPrinter() {
    if (!app_.CurrentJob) return false;
    const std::string name = SystemPrinterName(app_.CurrentPlotter);
    if (name.empty()) {
        app_.Ui().ShowError("No system printer is installed.");
        return false;
    }
    std::unique_ptr<PrinterCanvas> canvas = SystemPrinterCanvas(name);
    if (!canvas) return false;
    return PrintStrips(
        *app_.CurrentJob, app_.Ui(), *canvas,
        [this](const IntRect& rect, float scale) { return RenderStrip(rect, scale); });
}

}  // namespace corvan
