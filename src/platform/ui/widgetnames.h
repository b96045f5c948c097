#pragma once
// Small helpers every window part uses: controls carry the names tests and
// the enabling table find them by, and job colours (0x00BBGGRR) become
// toolkit colours.
#include <QColor>
#include <QString>

namespace corvan {

template <typename T>
T* Named(T* w, const char* name) {
    w->setObjectName(QString::fromUtf8(name));
    return w;
}

inline QColor ToQColor(unsigned c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

}  // namespace corvan
