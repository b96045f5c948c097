#pragma once
// The HP-GL cutter's settings dialog (request 1, printer options): tool,
// speed, force, orientation, media, output, and the cut options.
#include "common/devicesettings.h"
#include "hpgl/hpglwriter.h"

#include <cstdint>
#include <string>

namespace drv {

struct CutterSettings {
    DeviceSettings Device;
    CutSettings Cut;
    std::string DevicePath = "/dev/usb/lp0";
};

// With window 0, or when the host runs no widget application, nothing is
// shown and the request counts as accepted with the current settings; any
// request other than 1 is too. Otherwise a modal dialog over the host's
// window edits a copy, which replaces the settings on OK.
bool ChooseCutterSettings(int dialog, std::uint64_t window, CutterSettings& settings);

}  // namespace drv
