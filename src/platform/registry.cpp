#include "platform/registry.h"

#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/numbers.h"

#include <utility>

namespace corvan {

namespace {

constexpr const char* kRootSection = "CorvanRip";

std::pair<std::string, std::string> SplitName(const std::string& name) {
    const std::size_t cut = name.rfind('\\');
    if (cut == std::string::npos) return {kRootSection, name};
    return {name.substr(0, cut), name.substr(cut + 1)};
}

IniFile OpenStore() {
    ForceFolders(ConfigFolder());
    IniFile ini(RegistryFile());
    ini.Load();
    return ini;
}

void Store(const std::string& name, const std::string& text) {
    IniFile ini = OpenStore();
    auto [section, key] = SplitName(name);
    ini.WriteString(section, key, text);
    ini.Save();
}

// The stored text, writing `def` first when the value is absent.
std::string ReadOrSeed(const std::string& name, const std::string& def) {
    IniFile ini = OpenStore();
    auto [section, key] = SplitName(name);
    if (auto v = ini.Find(section, key)) return *v;
    ini.WriteString(section, key, def);
    ini.Save();
    return def;
}

}  // namespace

std::int32_t ReadRegInteger(const std::string& name, std::int32_t def) {
    return ParseInteger(ReadOrSeed(name, FormatInt(def))).value_or(def);
}

std::string ReadRegString(const std::string& name, const std::string& def) {
    return ReadOrSeed(name, def);
}

bool ReadRegBool(const std::string& name, bool def) {
    return ParseInteger(ReadOrSeed(name, def ? "1" : "0")).value_or(def ? 1 : 0) != 0;
}

void WriteRegInteger(const std::string& name, std::int32_t value) { Store(name, FormatInt(value)); }
void WriteRegString(const std::string& name, const std::string& value) { Store(name, value); }
void WriteRegBool(const std::string& name, bool value) { Store(name, value ? "1" : "0"); }

std::string ReadRegRaw(const std::string& name) {
    IniFile ini = OpenStore();
    auto [section, key] = SplitName(name);
    return ini.ReadString(section, key);
}

bool RegValueExists(const std::string& name) {
    IniFile ini = OpenStore();
    auto [section, key] = SplitName(name);
    return ini.HasKey(section, key);
}

void DeleteRegValue(const std::string& name) {
    IniFile ini = OpenStore();
    auto [section, key] = SplitName(name);
    ini.DeleteKey(section, key);
    ini.Save();
}

}  // namespace corvan
