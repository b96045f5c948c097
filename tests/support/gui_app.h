#pragma once
// Text output needs the font system of a QGuiApplication. Tests that draw
// text call this first; ctest runs them on the offscreen platform.
namespace corvan::test {
void EnsureGuiApp();
}
