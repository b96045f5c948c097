#include "plugins/customforms.h"

#include "platform/commatext.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/numbers.h"
#include "platform/registry.h"

namespace corvan {

namespace {
constexpr const char* kSection = "CustomForms";

// Key names end at "=" and lines at line breaks; keep such characters out.
std::string SafeKey(std::string name) {
    for (char& c : name)
        if (c == '=' || c == '\r' || c == '\n' || c == '[' || c == ']') c = '_';
    return name;
}
}  // namespace

bool CreateCustomForm(const std::string& name, std::int32_t width, std::int32_t height) {
    if (name.empty() || width < 1000 || height < 1000) return false;
    ForceFolders(ConfigFolder());  // a fresh user has no settings folder yet
    return WriteProfileString(RegistryFile(), kSection, SafeKey(name),
                              std::to_string(width) + "," + std::to_string(height));
}

std::vector<CustomForm> CustomForms() {
    IniFile ini(RegistryFile());
    std::vector<CustomForm> forms;
    if (!ini.Load()) return forms;
    for (const std::string& key : ini.KeyNames(kSection)) {
        const auto f = SplitCommaText(ini.ReadString(kSection, key));
        if (f.size() != 2) continue;
        const auto w = ParseInteger(f[0]), h = ParseInteger(f[1]);
        if (w && h && *w >= 1000 && *h >= 1000) forms.push_back({key, *w, *h});
    }
    return forms;
}

void CreateLargePageForms() {
    if (!ReadRegBool("Make_Large_Page", true)) return;
    WriteRegBool("Make_Large_Page", false);
    CreateCustomForm("CorvanPRINT ( 36 x 24 inch)", 914400, 609600);
    CreateCustomForm("CorvanPRINT ( 50 x 50 inch)", 1270000, 1270000);
    CreateCustomForm("CorvanPRINT (100 x 100 inch)", 2540000, 2540000);
}

}  // namespace corvan
