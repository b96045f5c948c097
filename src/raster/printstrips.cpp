#include "raster/printstrips.h"

#include "platform/debuglog.h"
#include "platform/folders.h"
#include "platform/numbers.h"
#include "platform/userinterface.h"

#include <cstdio>

namespace corvan {

namespace {

constexpr int kBlockPixels = 480000;

std::string Format(const char* fmt, auto... args) {
    char buf[160];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

}  // namespace

bool PrintStrips(const TemfFile& job, UserInterface& ui, PrinterCanvas& canvas,
                 const StripRenderFn& renderStrip) {
    const float wmm = job.MediaUsedWidth + job.XOffset;
    const float hmm = job.MediaUsedHeight + job.YOffset;
    const float s = static_cast<float>(job.RenderDPI) / 25.4f;
    const std::int64_t W = RoundHalfEven(static_cast<long double>(s) * wmm);
    const std::int64_t H = RoundHalfEven(static_cast<long double>(s) * hmm);
    const std::int64_t dpi = job.RenderDPI > 0 ? job.RenderDPI : 1;
    const std::int64_t Wp = canvas.DpiX() * W / dpi;
    const std::int64_t Hp = H * canvas.DpiY() / dpi;
    const std::int64_t h = W > 0 ? kBlockPixels / W : 0;
    CriticalReset(Format("Print Strips: %.3f,%.3f  %lld,%lld->%lld,%lld", wmm, hmm,
                         static_cast<long long>(W), static_cast<long long>(H),
                         static_cast<long long>(Wp), static_cast<long long>(Hp)));
    if (Wp <= 0 || Hp <= 0 || W <= 0 || H <= 0 || h <= 0 || Hp > INT32_MAX || Wp > INT32_MAX) {
        ui.ShowError(
            "This job cannot be printed at its size on the selected printer.\r"
            "Check the job size, the render resolution and the printer.");
        return false;
    }
    ui.Progress(0, 0, "Printing Progress:");
    ui.ProcessMessages();
    if (!canvas.BeginDocument(FileNamePart(job.FileName), wmm, hmm)) {
        ui.Progress(2, 100, {});
        ui.ShowError("The printer did not accept the job.");
        return false;
    }
    const std::int64_t blocks = H / h;
    try {
        for (std::int64_t m = 0; m <= blocks; ++m) {
            ui.Progress(1, blocks > 0 ? static_cast<int>(m * 100 / blocks) : 0,
                        "Printing Progress:");
            ui.ProcessMessages();
            const IntRect block{0, static_cast<std::int32_t>(m * h), static_cast<std::int32_t>(W),
                                static_cast<std::int32_t>(m * h + h)};
            CriticalLine(Format("Strip %lld  BlockH: %lld", static_cast<long long>(m),
                                static_cast<long long>(h)));
            CriticalLine(Format(" -Render Strip %d,%d->%d,%d", block.left, block.top, block.right,
                                block.bottom));
            std::unique_ptr<Bitmap24> image = renderStrip(block, s);
            if (!image) {
                // A blank band in the middle of a print is worse than no
                // print: stop, let the spooler have what was done, and say so.
                CriticalLine(" -Strip failed");
                ui.Progress(2, 100, {});
                canvas.EndDocument();
                CriticalLine("Finally");
                ui.ShowError("Part of the job could not be rendered; the print is incomplete.");
                return false;
            }
            const IntRect target{0, static_cast<std::int32_t>(m * h * Hp / H),
                                 static_cast<std::int32_t>(Wp),
                                 static_cast<std::int32_t>((m * h + h) * Hp / H)};
            CriticalLine(Format(" -Stretch Strip %d,%d->%d,%d", target.left, target.top,
                                target.right, target.bottom));
            canvas.StretchToCanvas(target, *image);
        }
        CriticalLine("End of loop");
    } catch (...) {
        ui.Progress(2, 100, {});
        canvas.EndDocument();
        CriticalLine("Finally");
        throw;
    }
    ui.Progress(2, 100, {});
    canvas.EndDocument();
    CriticalLine("Finally");
    return true;
}

}  // namespace corvan
