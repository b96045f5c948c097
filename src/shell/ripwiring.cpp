#include "shell/ripwiring.h"

#include "plugins/systemprinter.h"
#include "raster/contours.h"
#include "raster/stripcomposer.h"
#include "shell/appcore.h"

namespace corvan {

const CropMarkCorners& CurrentCropMarkCorners(const AppCore& app) {
    if (app.CropMarkSet.Applied()) return app.CropMarkSet.Corners();
    return DefaultCropMarkCorners();
}

std::unique_ptr<Bitmap24> ShellRip::RenderStrip(const IntRect& rect, float scale) {
    if (!app_.CurrentJob) return nullptr;
    if (!composer_)
        composer_ = std::make_unique<StripComposer>(*app_.CurrentJob, CurrentCropMarkCorners(app_));
    auto strip = composer_->Render(rect, scale);
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
