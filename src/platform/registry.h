#pragma once
// The per-user settings store that stands in for the program's registry key:
// an ini file (see folders.h for where) with the same value names. Values at
// the top of the key live in section "CorvanRip"; a name with a subkey
// ("SpotColors\01_Black") is key "01_Black" in section "SpotColors".
// Every call opens and closes the file, as the registry functions do.
#include <cstdint>
#include <string>

namespace corvan {

// Reads a value; when the key has no value of that name, writes the default
// first, then returns it.
std::int32_t ReadRegInteger(const std::string& name, std::int32_t def);
std::string ReadRegString(const std::string& name, const std::string& def);
bool ReadRegBool(const std::string& name, bool def);

void WriteRegInteger(const std::string& name, std::int32_t value);
void WriteRegString(const std::string& name, const std::string& value);
void WriteRegBool(const std::string& name, bool value);

// Reads without writing a default (an absent value reads as empty).
std::string ReadRegRaw(const std::string& name);
bool RegValueExists(const std::string& name);
void DeleteRegValue(const std::string& name);

}  // namespace corvan
