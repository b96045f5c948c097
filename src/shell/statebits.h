#pragma once
// Which controls of the main window are enabled or shown follows from a few
// state bits of the job and the device. Each dependent control carries a
// negative tag: for M = -tag, the low 8 bits are the bits it needs, 512 means
// its Enabled follows, 1024 its Visible. The table of the main window is data
// so that the window, the tests and a reader all see the same list.
#include <cstdint>
#include <span>
#include <string_view>

namespace corvan {

class AppCore;

enum StateBit : std::uint32_t {
    StateDriver = 1,      // the output is a driver, not the system printer
    StateJob = 2,         // a job is loaded
    StateContourCut = 4,  // ... and contour cutting is on
    StateSpotColors = 8,  // ... and spot colours are on
    StateCropSection = 16,
    StateHasImage = 32,
};

std::uint32_t StateBits(const AppCore& app);

struct TagEntry {
    std::string_view component;
    int tag;
};
// Every dependent control and menu item of the main window with its tag.
std::span<const TagEntry> MainWindowTags();

struct TagEffect {
    bool setsEnabled = false;
    bool setsVisible = false;
    bool ok = false;  // the value Enabled / Visible take
};
// What a tag asks for under the given bits; a tag of 0 or above touches nothing.
TagEffect EvaluateTag(int tag, std::uint32_t bits);

}  // namespace corvan
