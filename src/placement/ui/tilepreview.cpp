#include "placement/ui/tilepreview.h"

#include "raster/transforms.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace corvan {
namespace {

constexpr int kMargin = 40;  // pixels left free around the page

QImage ThumbnailOf(const Bitmap24* preview, QSize size, bool fade) {
    if (size.isEmpty()) return {};
    QImage image(size, QImage::Format_BGR888);
    image.fill(Qt::white);
    // The job preview is often smaller than the page drawn here: smooth it.
    if (preview)
        image = preview->View().scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (!fade) return image;
    auto faded = Bitmap24::FromQImage(image);
    if (!faded) return image;
    FadeBitmap(faded.get(), 25);
    return faded->View().copy();
}

// Grid, numbers and printed marks of multiple-tile mode, at `scale` pixels
// per millimetre from `origin`.
void PaintGrid(QPainter& p, const TileEditor& e, float scale, QPoint origin, bool sheet) {
    const TCropTileBlock& b = e.Block();
    const TileGrid& g = e.Grid();
    const auto px = [&](float mm, int o) { return o + static_cast<int>(std::lround(scale * mm)); };
    const int pageR = px(e.PageWidth(), origin.x()), pageB = px(e.PageHeight(), origin.y());
    p.setPen(QColor(128, 128, 128));
    for (int c = 1; c < g.columns; ++c) {
        const int x = px(c * b.TileWidth, origin.x());
        p.drawLine(x, origin.y(), x, pageB);
    }
    for (int r = 1; r < g.rows; ++r) {
        const int y = px(r * b.TileHeight, origin.y());
        p.drawLine(origin.x(), y, pageR, y);
    }
    QFont font = p.font();
    for (int n = 1; n <= g.Count(); ++n) {
        const int c = (n - 1) % g.columns, r = (n - 1) / g.columns;
        const QRect cell(QPoint(px(c * b.TileWidth, origin.x()), px(r * b.TileHeight, origin.y())),
                         QPoint(std::min(pageR, px((c + 1) * b.TileWidth, origin.x())),
                                std::min(pageB, px((r + 1) * b.TileHeight, origin.y()))));
        const bool printed = e.IsPrinted(n);
        if (printed) {
            p.setPen(QPen(Qt::red, 1));
            p.drawLine(cell.topLeft(), cell.bottomRight());
            p.drawLine(cell.topRight(), cell.bottomLeft());
            p.setBrush(Qt::red);
            p.drawEllipse(cell.center(), 6, 6);
            p.setPen(QPen(Qt::white, 2));
            p.drawLine(cell.center() + QPoint(-3, 0), cell.center() + QPoint(-1, 3));
            p.drawLine(cell.center() + QPoint(-1, 3), cell.center() + QPoint(4, -3));
            p.setBrush(Qt::NoBrush);
        }
        font.setBold(n == b.TileNo && !sheet);
        p.setFont(font);
        p.setPen(printed ? Qt::red : Qt::black);
        p.drawText(cell.topLeft() + QPoint(2, 2 + p.fontMetrics().ascent()), QString::number(n));
    }
}

}  // namespace

TilePreview::TilePreview(TileEditor& editor, const Bitmap24* preview, QWidget* parent)
    : QWidget(parent), editor_(editor), preview_(preview) {
    setMouseTracking(true);
    setMinimumSize(360, 300);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TilePreview::Fit() {
    const float pw = editor_.PageWidth(), ph = editor_.PageHeight();
    const int aw = std::max(1, width() - kMargin), ah = std::max(1, height() - kMargin);
    if (pw <= 0 || ph <= 0) return;
    const float k = std::min(aw / pw, ah / ph);
    const QSize size(std::max(1, static_cast<int>(pw * k)), std::max(1, static_cast<int>(ph * k)));
    scale_ = static_cast<float>(size.width()) / pw;
    offset_ = QPoint((width() - size.width()) / 2, (height() - size.height()) / 2);
    if (thumb_.size() != size) {
        thumb_ = ThumbnailOf(preview_, size, false);
        faded_ = ThumbnailOf(preview_, size, true);
    }
}

void TilePreview::resizeEvent(QResizeEvent*) {
    Fit();
}

QRect TilePreview::CropPixels() const {
    const TCropTileBlock& b = editor_.Block();
    const auto px = [this](float mm, int o) {
        return o + static_cast<int>(std::lround(scale_ * mm));
    };
    return QRect(QPoint(px(b.CropLeft, offset_.x()), px(b.CropTop, offset_.y())),
                 QPoint(px(b.CropRight, offset_.x()), px(b.CropBottom, offset_.y())));
}

QPointF TilePreview::ToMm(QPoint p) const {
    return {(p.x() - offset_.x()) / scale_, (p.y() - offset_.y()) / scale_};
}

void TilePreview::paintEvent(QPaintEvent*) {
    Fit();
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QRect crop = CropPixels();
    p.drawImage(offset_, faded_);
    // The crop shows at full strength.
    p.drawImage(crop.topLeft(), thumb_, crop.translated(-offset_));
    p.setPen(Qt::black);
    p.drawRect(QRect(offset_, thumb_.size()).adjusted(-1, -1, 0, 0));
    const bool multi = editor_.Block().MultiTiles;
    if (multi) PaintGrid(p, editor_, scale_, offset_, false);
    p.setPen(QPen(dragCode_ ? Qt::blue : Qt::black, 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(crop);
    if (!multi) p.fillRect(QRect(crop.center() - QPoint(3, 3), QSize(7, 7)), Qt::black);
}

QImage TilePreview::PaintSheet(const TileEditor& editor, const Bitmap24* preview, QSize box) {
    const float pw = editor.PageWidth(), ph = editor.PageHeight();
    const float k = std::min(box.width() / pw, box.height() / ph);
    const QSize size(std::max(1, static_cast<int>(pw * k)), std::max(1, static_cast<int>(ph * k)));
    QImage sheet = ThumbnailOf(preview, size, true).convertToFormat(QImage::Format_RGB32);
    QPainter p(&sheet);
    const float scale = static_cast<float>(size.width()) / pw;
    const TCropTileBlock& b = editor.Block();
    const QRect crop(QPoint(static_cast<int>(std::lround(scale * b.CropLeft)),
                            static_cast<int>(std::lround(scale * b.CropTop))),
                     QPoint(static_cast<int>(std::lround(scale * b.CropRight)),
                            static_cast<int>(std::lround(scale * b.CropBottom))));
    p.drawImage(crop.topLeft(), ThumbnailOf(preview, size, false), crop);
    if (b.MultiTiles) PaintGrid(p, editor, scale, QPoint(0, 0), true);
    p.setPen(Qt::black);
    p.drawRect(sheet.rect().adjusted(0, 0, -1, -1));
    return sheet;
}

void TilePreview::mousePressEvent(QMouseEvent* e) {
    const QPointF mm = ToMm(e->pos());
    if (editor_.Block().MultiTiles) {
        const int tile =
            TileAtPoint(editor_.Block(), editor_.Grid(), editor_.PageWidth(), editor_.PageHeight(),
                        static_cast<float>(mm.x()), static_cast<float>(mm.y()));
        if (tile > 0) Q_EMIT tileClicked(tile);
        return;
    }
    const QRect c = CropPixels();
    dragCode_ = HitTest(c.left(), c.top(), c.right(), c.bottom(), e->pos().x(), e->pos().y());
    update();
}

void TilePreview::mouseMoveEvent(QMouseEvent* e) {
    const QPointF mm = ToMm(e->pos());
    const float x = static_cast<float>(mm.x()), y = static_cast<float>(mm.y());
    const bool multi = editor_.Block().MultiTiles;
    const int tile = multi ? TileAtPoint(editor_.Block(), editor_.Grid(), editor_.PageWidth(),
                                         editor_.PageHeight(), x, y)
                           : 0;
    Q_EMIT pointerAt(x, y, tile);
    if (dragCode_) {
        editor_.DragTo(dragCode_, x, y);
        Q_EMIT cropDragged();
        update();
        return;
    }
    if (multi) {
        setCursor(tile > 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
        return;
    }
    const QRect c = CropPixels();
    switch (HitTest(c.left(), c.top(), c.right(), c.bottom(), e->pos().x(), e->pos().y())) {
        case 1:
        case 6:
            setCursor(Qt::SizeFDiagCursor);
            break;
        case 4:
        case 8:
            setCursor(Qt::SizeBDiagCursor);
            break;
        case 2:
        case 5:
            setCursor(Qt::SizeHorCursor);
            break;
        case 3:
        case 7:
            setCursor(Qt::SizeVerCursor);
            break;
        case 10:
            setCursor(Qt::SizeAllCursor);
            break;
        default:
            setCursor(Qt::ArrowCursor);
    }
}

void TilePreview::mouseReleaseEvent(QMouseEvent*) {
    if (!dragCode_) return;
    dragCode_ = 0;
    Q_EMIT dragEnded();
    update();
}

void TilePreview::mouseDoubleClickEvent(QMouseEvent*) {
    Q_EMIT accepted();
}

}  // namespace corvan
