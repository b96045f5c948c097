#pragma once
// The selected output driver of the process. There is always exactly one
// CurrentPlugin; "no driver" (the system printer) is an invalid object.
#include "plugins/pluginobject.h"

#include <cstdint>
#include <string>

namespace corvan {

// Created from an empty path on first use, so it starts invalid.
TPluginObject& CurrentPlugin();
// Makes the driver at path current: the old one receives Finalize_Plugin and
// is unloaded before the new library is loaded; a valid new one receives
// Initialize_Plugin. An empty path selects no driver.
// `hostWindow` is the window its dialogs belong to (0 for none).
void LoadPlugin(const std::string& path, std::uint64_t hostWindow);
// Takes the path from a driver line (first field when it has more than two
// fields, else empty) and loads it.
void SelectPlugin(const std::string& line, std::uint64_t hostWindow);
// The path a driver line stands for (see SelectPlugin).
std::string DriverLinePath(const std::string& line);
// Program end: unloads the current driver without Finalize_Plugin.
void ReleaseCurrentPlugin();

}  // namespace corvan
