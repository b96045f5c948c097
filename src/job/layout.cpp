// Where the copies of a job land on the media: crop rectangle, margin, row
// filling and the fit test. GetCopyRect and ComputeLayout share the row
// filling so that every copy position agrees between the two.
#include "job/emffile.h"

#include <algorithm>

namespace corvan {

void TemfFile::CheckCrop(bool keep) {
    if (!keep) {
        CropLeft = 0;
        CropTop = 0;
        CropRight = PageWidth;
        CropBottom = PageHeight;
        TileNo = 0;
        return;
    }
    auto clamp = [](float v, float hi) { return v < 0 ? 0.0f : (v > hi ? hi : v); };
    const float l = clamp(CropLeft, PageWidth), r = clamp(CropRight, PageWidth);
    const float t = clamp(CropTop, PageHeight), b = clamp(CropBottom, PageHeight);
    CropLeft = std::min(l, r);
    CropRight = std::max(l, r);
    CropTop = std::min(t, b);
    CropBottom = std::max(t, b);
}

float TemfFile::CopyMargin() const {
    if (!AutoSize) return 0;
    float m = 0;
    if (CropMarks) m = std::max(0.0f, CropmarkSize + CropOffset);
    if (Border) m = std::max(m, CropOffset);
    return m;
}

void TemfFile::PlacedSize(float& w, float& h) const {
    const float cw = CropRight - CropLeft, ch = CropBottom - CropTop;
    w = Rotate ? ch : cw;
    h = Rotate ? cw : ch;
}

void TemfFile::NextCopyPosition(float w, float h, float m, float& x, float& y) const {
    if (x + w + XGap + w <= MediaWidth - XOffset - m) {
        x = x + w + XGap;
    } else {
        x = m;
        y = y + h + YGap;
    }
}

void TemfFile::ComputeLayout() {
    CheckCrop(CropSection);
    CropWidth = CropRight - CropLeft;
    CropHeight = CropBottom - CropTop;
    float w, h;
    PlacedSize(w, h);
    MediaUsedWidth = w;
    MediaUsedHeight = h;
    const float m = CopyMargin();
    if (MediaWidth > 0) {
        float x = m, y = m;
        for (int n = 1; n <= Copies; ++n) {
            if (n > 1) NextCopyPosition(w, h, m, x, y);
            MediaUsedWidth = std::max(MediaUsedWidth, x + w + m);
            MediaUsedHeight = std::max(MediaUsedHeight, y + h + m);
        }
    }
    FitsMedia = true;
    if (MediaUsedWidth + XOffset > MediaWidth) FitsMedia = false;
    if (MediaWidth == 0) FitsMedia = true;
    if (XOffset < 0) FitsMedia = false;
    if (YOffset < 0) FitsMedia = false;
    if (MediaHeight == 0)
        MediaHeight = MediaUsedHeight + YOffset;
    else if (MediaUsedHeight + YOffset > MediaHeight)
        FitsMedia = false;
}

void TemfFile::GetCopyRect(int n, float& x1, float& y1, float& x2, float& y2) {
    CheckCrop(true);
    float w, h;
    PlacedSize(w, h);
    const float m = CopyMargin();
    float x = m, y = m;
    if (MediaWidth > 0)
        for (int k = 1; k < n; ++k) NextCopyPosition(w, h, m, x, y);
    x1 = x;
    y1 = y;
    x2 = x + w;
    y2 = y + h;
}

}  // namespace corvan
