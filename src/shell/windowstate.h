#pragma once
// The main window's state kept between runs in the window-state file:
// placement, the histories, the driver list, "Proportional" and expert mode.
// A list lives in its own section "Cache.<component>_Strings" with "Count"
// and "Item0".."ItemN-1"; a simple property is "<component>_<property>" in
// section "Cache".
#include <string>
#include <vector>

namespace corvan {

class AppCore;

struct WindowPlacement {
    int left = -1, top = -1;  // -1: let the window system place it
    // Leaves room for a title bar and a panel on a 1280 x 800 screen.
    int width = 1280, height = 740;
    bool maximised = false;
};

struct WindowState {
    WindowPlacement placement;
    bool proportional = false;
    bool expert = true;
    int viewWidth = 0;  // the view area's share of the splitter; 0 = the default
};

// Reads the file into the core's lists and returns the rest.
WindowState RestoreWindowState(AppCore& app, const std::string& path);
// False (and the old file kept) when it cannot be written.
bool StoreWindowState(const AppCore& app, const WindowState& state, const std::string& path);

}  // namespace corvan
