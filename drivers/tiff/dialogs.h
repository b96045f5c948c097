#pragma once
// The TIFF driver's dialogs: 1 printer options, 11 colour settings,
// 22 sheet sizes, 24 profile manager.
#include "tiff/tiffsettings.h"

#include <cstdint>

namespace drv {

// With window 0, or when the host runs no widget application, nothing is
// shown and the request counts as accepted with the current settings.
// Otherwise a modal dialog over the host's window edits a copy of the
// settings, which replaces them when the operator presses OK.
bool ChooseSettings(int dialog, std::uint64_t window, TiffSettings& settings);

}  // namespace drv
