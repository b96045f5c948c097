#pragma once
// What the drivers of this repository share: their settings blob is text,
// one "key=value" line per setting, so a saved blob stays readable and an
// unknown or damaged line is simply skipped when it comes back.
#include "driver_abi.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace drv {

using SettingsMap = std::map<std::string, std::string>;

std::string SerialiseSettings(const SettingsMap& settings);
// Reads at most `size` bytes; lines without "=" are skipped.
SettingsMap ParseSettings(const void* data, std::int32_t size);

std::string ShortText(const std::uint8_t* s);
void FillShort(std::uint8_t* out, const std::string& text);

// Reals with a point; reading also accepts a comma. Unreadable gives def.
std::string FormatReal(double value);
double ParseRealText(const std::string& text, double def);
long ParseIntText(const std::string& text, long def);

// Get_Plugin_Data's two calls over a serialised blob.
std::int32_t CopyBlob(const std::string& blob, void* buffer);

}  // namespace drv
