#pragma once
// The engine half of a RIP run for the current job: strips from the strip
// composer with the crop marks the job's selection uses, the cut path, and
// system-printer output onto a canvas the front end provides. Each front end
// derives from it and adds its dialogs.
#include "raster/cropmarkdraw.h"
#include "raster/printstrips.h"
#include "raster/stripcomposer.h"
#include "raster/strippipeline.h"
#include "rip/ripcommand.h"

#include <memory>
#include <string>

namespace corvan {

class AppCore;

// The corner pictures the composer uses: those of the applied crop-mark file,
// else the built-in marks.
const CropMarkCorners& CurrentCropMarkCorners(const AppCore& app);

class ShellRip : public RipPort {
public:
    explicit ShellRip(AppCore& app) : app_(app) {}

    std::unique_ptr<Bitmap24> RenderStrip(const IntRect& rect, float scale) override;
    ContourPath CutPath(float scale) override;
    bool PrintToSystemPrinter() override;

    // Pixels rendered by the strip composer during this run.
    double SourcePixels() const { return sourcePixels_; }
    // Threads that render strips ahead of the driver; set before the run.
    void SetStripThreads(int threads) { threads_ = threads; }

protected:
    // The page of the named system printer; none when this front end cannot
    // print to it (the reason was shown).
    virtual std::unique_ptr<PrinterCanvas> SystemPrinterCanvas(const std::string& name) = 0;

    AppCore& app_;

private:
    std::unique_ptr<StripComposer> composer_;  // made at the run's first strip
    std::unique_ptr<StripPipeline> pipeline_;  // goes first: its workers use the composer
    int threads_ = DefaultStripThreads();
    double sourcePixels_ = 0;
};

}  // namespace corvan
