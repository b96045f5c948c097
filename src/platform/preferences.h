#pragma once
// Preferences: "preferences.ini" in the program folder, section "settings",
// written by the settings dialog and read here one value at a time (the file
// is opened for every read, so a change is seen at once).
#include <string>

namespace corvan {

std::string PreferencesFile();
// Key name + "_checked"; true for "True" or "1", false for any other text,
// the default when the key is missing.
bool ReadPrefBool(const std::string& name, bool def);
// Key name + "_value" as a real; missing or unreadable gives the default.
double ReadPrefNumber(const std::string& name, double def);
// Stores a switch as ReadPrefBool reads it ("True"/"False"); false when the
// file cannot be written.
bool WritePrefBool(const std::string& name, bool value);
// Stores a number as ReadPrefNumber reads it; false when the file cannot be written.
bool WritePrefNumber(const std::string& name, double value);

}  // namespace corvan
