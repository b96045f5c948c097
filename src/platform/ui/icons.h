#pragma once
// One icon set for the whole window: icons are asked for by their standard
// freedesktop names and come from the icon theme; where the theme lacks a
// name, the program's own drawing of it (a few common ones) stands in.
#include <QIcon>
#include <QString>

namespace corvan {

// Icon sizes, one per kind of place.
inline constexpr int kToolBarIconSize = 22;
inline constexpr int kMenuIconSize = 16;

// The themed icon of that name, else our own drawing, else a null icon.
QIcon ThemedIcon(const QString& name);

// Run once at start: keeps the desktop's theme when it has the names the
// window uses, otherwise switches to the theme the program is packaged with.
void SetUpIconTheme();

// The theme the program is packaged with.
inline constexpr const char* kPackagedIconTheme = "oxygen";

}  // namespace corvan
