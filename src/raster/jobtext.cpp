#include "raster/jobtext.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace corvan {

namespace {

QFont ArialFont(int points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    // The character height of a point size on a 96 pixels per inch display.
    font.setPixelSize(std::max(1, (points * 96 + 36) / 72));
    font.setBold(bold);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// Fills and optionally outlines the glyph path; nothing when it misses the image.
void PaintTextPath(Bitmap24& image, const QPainterPath& path, Colour fill, const Colour* outline,
                   int outlineWidth) {
    const QRectF bounds = path.boundingRect().adjusted(-outlineWidth, -outlineWidth, outlineWidth, outlineWidth);
    if (!bounds.intersects(QRectF(0, 0, image.Width(), image.Height()))) return;
    QImage view = image.View();
    QPainter painter(&view);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const auto qc = [](Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); };
    painter.fillPath(path, qc(fill));
    if (outline) {
        QPen pen(qc(*outline));
        pen.setWidth(outlineWidth);
        painter.strokePath(path, pen);
    }
}

}  // namespace

void DrawTileNumber(Bitmap24& image, const TemfFile& job, const IntRect& k, int points) {
    if (points <= 0) return;
    const QFont font = ArialFont(points, true);
    const QFontMetrics metrics(font);
    const int w = metrics.horizontalAdvance(QStringLiteral("22")), h = metrics.height();
    QPainterPath path;
    path.addText(QPointF(k.right - w, k.bottom - h + metrics.ascent()), font, QString::number(job.TileNo));
    const Colour fill = job.ReverseText ? 0x000000 : 0xFFFFFF;
    const Colour outline = job.ReverseText ? 0xFFFFFF : 0x000000;
    PaintTextPath(image, path, fill, &outline, job.ThickText ? 2 : 1);
}

void DrawJobText(Bitmap24& image, const std::string& text, int x, int y, int points) {
    if (points <= 0 || text.empty()) return;
    const QFont font = ArialFont(points, false);
    QPainterPath path;
    path.addText(QPointF(x, y + QFontMetrics(font).ascent()), font, QString::fromStdString(text));
    PaintTextPath(image, path, 0x000000, nullptr, 0);
}

}  // namespace corvan
