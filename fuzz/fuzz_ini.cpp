// Ini parsing and re-serialising: no crash, and an edit never loses content.
#include "platform/inifile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    corvan::IniFile ini;
    ini.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    (void)ini.ReadFloat("Size", "Page Width(mm)", 0);
    (void)ini.ReadInteger("Crop", "Tile No", 0);
    ini.WriteString("Job", "JobText", "x");
    const std::string once = ini.Serialise();
    corvan::IniFile again;
    again.Parse(once);
    if (again.Serialise() != once) std::abort();
    return 0;
}
