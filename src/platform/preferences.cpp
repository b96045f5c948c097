#include "platform/preferences.h"

#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/numbers.h"

namespace corvan {

std::string PreferencesFile() {
    return ProgramFolder() + "preferences.ini";
}

bool ReadPrefBool(const std::string& name, bool def) {
    IniFile ini(PreferencesFile());
    ini.Load();
    auto v = ini.Find("settings", name + "_checked");
    if (!v) return def;
    return EqualsNoCase(*v, "True") || *v == "1";
}

double ReadPrefNumber(const std::string& name, double def) {
    IniFile ini(PreferencesFile());
    ini.Load();
    auto v = ini.Find("settings", name + "_value");
    if (!v) return def;
    return ParseReal(*v).value_or(def);
}

bool WritePrefBool(const std::string& name, bool value) {
    return WriteProfileString(PreferencesFile(), "settings", name + "_checked",
                              value ? "True" : "False");
}

bool WritePrefNumber(const std::string& name, double value) {
    return WriteProfileString(PreferencesFile(), "settings", name + "_value", FormatFloat15(value));
}

}  // namespace corvan
