#include "plugins/printsupport/riphooks.h"

#include "plugins/printsupport/qtprintercanvas.h"
#include "plugins/systemprinter.h"
#include "raster/contours.h"
#include "raster/printstrips.h"
#include "raster/stripcomposer.h"
#include "shell/appcore.h"

namespace corvan {

RipHooks MakeRipHooks(AppCore& app, RipStats* stats) {
    RipHooks hooks;
    hooks.renderStrip = [&app, stats](const IntRect& rect, float scale) {
        auto strip = RenderStrip(app, rect, scale);
        if (strip && stats)
            stats->sourcePixels += static_cast<double>(strip->Width()) * strip->Height();
        return strip;
    };
    hooks.cutPath = [&app](float scale) { return CollectJobContours(*app.CurrentJob, scale); };
    hooks.printToSystemPrinter = [&app, hooks]() mutable {
        if (!CurrentSystemPrinterPort()) return false;
        const std::string name = SelectedSystemPrinterName();
        if (name.empty()) {
            app.Ui().ShowError("No system printer is installed.");
            return false;
        }
        QtPrinterCanvas canvas(name);
        return PrintStrips(app, canvas, hooks.renderStrip);
    };
    return hooks;
}

}  // namespace corvan
