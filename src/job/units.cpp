#include "job/units.h"

#include <QLocale>

#include <cmath>
#include <cstdio>

namespace corvan {

namespace {
// Fixed-point with `decimals`, at most 8 significant digits (larger values
// fall back to the general form), in the user's locale.
std::string Fixed(double value, int decimals) {
    // The user's decimal separator, but no thousands grouping.
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    if (std::fabs(value) >= 1e8) return locale.toString(value, 'g', 8).toStdString();
    return locale.toString(value, 'f', decimals).toStdString();
}
}  // namespace

std::string FormatLength(float millimetres, bool metric) {
    if (metric) return Fixed(millimetres, 1) + "mm";
    return Fixed(static_cast<double>(millimetres) / 25.4, 3) + "in";
}

std::string FormatSize(float width, float height, bool metric) {
    return FormatLength(width, metric) + " x " + FormatLength(height, metric);
}

std::string FormatRGB(Colour colour) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d,%d,%d", RedOf(colour), GreenOf(colour), BlueOf(colour));
    return buf;
}

}  // namespace corvan
