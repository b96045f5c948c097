#include "platform/metafile/gdi_flood.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace corvan::emf {
namespace {

class Flood {
public:
    Flood(const QImage& image, QRgb colour, FloodKind kind)
        : image_(image), w_(image.width()), h_(image.height()), colour_(colour & 0xFFFFFFu),
          surface_(kind == FloodKind::kSurface),
          seen_((std::size_t(w_) * std::size_t(h_) + 63) / 64, 0) {}

    // Pixels that belong to the area and were not taken yet.
    bool Open(int x, int y) const {
        const std::size_t i = std::size_t(y) * std::size_t(w_) + std::size_t(x);
        if (seen_[i >> 6] >> (i & 63) & 1) return false;
        const QRgb p = reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x] & 0xFFFFFFu;
        return (p == colour_) == surface_;
    }

    std::vector<QRect> Run(QPoint seed) {
        std::vector<QRect> spans;
        std::vector<QPoint> stack{seed};
        while (!stack.empty()) {
            const QPoint s = stack.back();
            stack.pop_back();
            if (!Open(s.x(), s.y())) continue;
            int left = s.x(), right = s.x();
            while (left > 0 && Open(left - 1, s.y())) --left;
            while (right + 1 < w_ && Open(right + 1, s.y())) ++right;
            for (int x = left; x <= right; ++x) Take(x, s.y());
            spans.emplace_back(QPoint(left, s.y()), QPoint(right, s.y()));
            if (s.y() > 0) PushRuns(left, right, s.y() - 1, stack);
            if (s.y() + 1 < h_) PushRuns(left, right, s.y() + 1, stack);
        }
        return spans;
    }

private:
    void Take(int x, int y) {
        const std::size_t i = std::size_t(y) * std::size_t(w_) + std::size_t(x);
        seen_[i >> 6] |= std::uint64_t{1} << (i & 63);
    }
    // One seed per run of open pixels of row `y` under the span.
    void PushRuns(int left, int right, int y, std::vector<QPoint>& stack) const {
        bool inRun = false;
        for (int x = left; x <= right; ++x) {
            const bool open = Open(x, y);
            if (open && !inRun) stack.emplace_back(x, y);
            inRun = open;
        }
    }

    const QImage& image_;
    int w_, h_;
    QRgb colour_;
    bool surface_;
    std::vector<std::uint64_t> seen_;
};

}  // namespace

QRegion FloodArea(const QImage& image, QPoint seed, QRgb colour, FloodKind kind) {
    if (image.depth() != 32 || !image.rect().contains(seed)) return {};
    Flood flood(image, colour, kind);
    std::vector<QRect> spans = flood.Run(seed);
    // Regions take their rectangles sorted by rows, then columns.
    std::sort(spans.begin(), spans.end(), [](const QRect& a, const QRect& b) {
        return a.top() != b.top() ? a.top() < b.top() : a.left() < b.left();
    });
    QRegion area;
    area.setRects(spans.data(), int(spans.size()));
    return area;
}

}  // namespace corvan::emf
