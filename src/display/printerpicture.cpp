#include "display/printerpicture.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace corvan {

namespace {

// Drawing units: the printer is 291 wide and 76 high; the media leaves the
// front between x = 37 and x = 238, below y = 63.
constexpr double kUnitsWide = 291, kUnitsHigh = 76;

class UnitSpace {
public:
    UnitSpace(QPainter& p, const QRect& r) : p_(p) {
        p_.save();
        p_.setRenderHint(QPainter::Antialiasing, true);
        p_.translate(r.topLeft());
        p_.scale(r.width() / kUnitsWide, r.height() / kUnitsHigh);
    }
    ~UnitSpace() { p_.restore(); }
    UnitSpace(const UnitSpace&) = delete;
    UnitSpace& operator=(const UnitSpace&) = delete;

private:
    QPainter& p_;
};

void Box(QPainter& p, const QRectF& r, const QColor& fill, const QColor& line, double radius = 0) {
    p.setPen(QPen(line, 0));
    p.setBrush(fill);
    if (radius > 0)
        p.drawRoundedRect(r, radius, radius);
    else
        p.drawRect(r);
}

QLinearGradient Vertical(double top, double bottom, const QColor& a, const QColor& b) {
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    return g;
}

}  // namespace

void DrawPrinterBack(QPainter& p, const QRect& printer) {
    if (printer.width() < 4 || printer.height() < 2) return;
    const UnitSpace units(p, printer);
    const QColor steel(0x60, 0x64, 0x6A), dark(0x38, 0x3A, 0x3E);
    // The stand: two legs with feet, and a cross bar behind the media.
    for (const double x : {18.0, 265.0}) {
        Box(p, QRectF(x, 52, 8, 22), steel, dark);
        Box(p, QRectF(x - 8, 72, 24, 4), dark, dark, 1);
    }
    Box(p, QRectF(26, 66, 239, 3), steel, dark);
    // The supply roll on its holder at the top.
    p.setPen(QPen(dark, 0));
    p.setBrush(Vertical(1, 11, QColor(0xE8, 0xE8, 0xE0), QColor(0x9A, 0x9A, 0x90)));
    p.drawRoundedRect(QRectF(24, 1, 243, 10), 4, 4);
}

void DrawPrinterFront(QPainter& p, const QRect& printer) {
    if (printer.width() < 4 || printer.height() < 2) return;
    const UnitSpace units(p, printer);
    const QColor line(0x50, 0x54, 0x5A);
    // The body and its top cover.
    p.setPen(QPen(line, 0));
    p.setBrush(Vertical(8, 60, QColor(0xF2, 0xF2, 0xF0), QColor(0xC4, 0xC6, 0xC8)));
    p.drawRoundedRect(QRectF(6, 8, 279, 52), 5, 5);
    Box(p, QRectF(30, 12, 216, 16), QColor(0x9C, 0xA8, 0xB4, 160), line, 2);
    // Side housings: the cartridge bay at the right, the maintenance cover left.
    Box(p, QRectF(6, 8, 24, 52), QColor(0xB8, 0xBA, 0xBE), line, 5);
    Box(p, QRectF(246, 8, 39, 52), QColor(0xB8, 0xBA, 0xBE), line, 5);
    // Control panel with its display and keys.
    Box(p, QRectF(251, 14, 29, 20), QColor(0x40, 0x44, 0x48), line, 2);
    Box(p, QRectF(254, 17, 23, 8), QColor(0x7F, 0xB8, 0xE0), line, 1);
    for (int i = 0; i < 4; ++i)
        Box(p, QRectF(254 + i * 6, 28, 4, 3), QColor(0xD0, 0xD0, 0xD0), line, 1);
    // Ink cartridges: cyan, magenta, yellow, black.
    const QColor inks[] = {QColor(0, 0xA0, 0xE0), QColor(0xE0, 0, 0x80), QColor(0xF0, 0xD0, 0),
                           QColor(0x20, 0x20, 0x20)};
    for (int i = 0; i < 4; ++i) Box(p, QRectF(252 + i * 7, 40, 5, 14), inks[i], line, 1);
    // The exit lip the media comes out under.
    p.setBrush(Vertical(54, 63, QColor(0x70, 0x74, 0x7A), QColor(0x30, 0x32, 0x36)));
    p.drawRoundedRect(QRectF(28, 54, 220, 9), 2, 2);
}

}  // namespace corvan
