#include "shell/windowstate.h"

#include "platform/folders.h"
#include "platform/history.h"
#include "platform/inifile.h"
#include "shell/appcore.h"

#include <algorithm>

namespace corvan {

namespace {

constexpr const char* kCache = "Cache";

struct ListBinding {
    const char* component;
    std::vector<std::string> AppCore::*list;
    std::size_t limit;
};

constexpr std::size_t kDriverLines = 4096;

constexpr ListBinding kLists[] = {
    {"strEMFHIST", &AppCore::EmfHist, kHistoryEntries},
    {"strImageHist", &AppCore::ImageHist, kHistoryEntries},
    {"strDocHist", &AppCore::DocHist, kRecentProjects},
};

std::string ListSection(const char* component) {
    return std::string("Cache.") + component + "_Strings";
}

std::vector<std::string> ReadList(const IniFile& ini, const char* component, std::size_t limit) {
    const std::string section = ListSection(component);
    const int count = std::max(0, ini.ReadInteger(section, "Count", 0));
    std::vector<std::string> items;
    for (int i = 0; i < count && items.size() < limit; ++i)
        items.push_back(ini.ReadString(section, "Item" + std::to_string(i)));
    return items;
}

void WriteList(IniFile& ini, const char* component, const std::vector<std::string>& items) {
    const std::string section = ListSection(component);
    ini.DeleteSection(section);
    ini.WriteInteger(section, "Count", static_cast<std::int64_t>(items.size()));
    for (std::size_t i = 0; i < items.size(); ++i)
        ini.WriteString(section, "Item" + std::to_string(i), items[i]);
}

}  // namespace

WindowState RestoreWindowState(AppCore& app, const std::string& path) {
    IniFile ini(path);
    ini.Load();
    for (const ListBinding& b : kLists) app.*b.list = ReadList(ini, b.component, b.limit);
    app.Drivers.Lines = ReadList(ini, "strprinters", kDriverLines);
    app.Drivers.Index = ini.ReadInteger(kCache, "strprinters_Tag", -1);

    WindowState s;
    WindowPlacement& p = s.placement;
    p.left = ini.ReadInteger(kCache, "Form1_Left", p.left);
    p.top = ini.ReadInteger(kCache, "Form1_Top", p.top);
    // The window never comes back smaller than its minimum tracking size.
    p.width = std::max(640, ini.ReadInteger(kCache, "Form1_Width", p.width));
    p.height = std::max(611, ini.ReadInteger(kCache, "Form1_Height", p.height));
    p.maximised = ini.ReadBool(kCache, "Form1_Maximized", p.maximised);
    s.proportional = ini.ReadBool(kCache, "cProportional_Checked", s.proportional);
    s.expert = ini.ReadBool(kCache, "dexpert_Down", s.expert);
    s.viewWidth = std::max(0, ini.ReadInteger(kCache, "paneldisp_Width", 0));
    return s;
}

bool StoreWindowState(const AppCore& app, const WindowState& s, const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash != std::string::npos) ForceFolders(path.substr(0, slash + 1));
    IniFile ini(path);
    ini.Load();
    for (const ListBinding& b : kLists) WriteList(ini, b.component, app.*b.list);
    WriteList(ini, "strprinters", app.Drivers.Lines);
    ini.WriteInteger(kCache, "strprinters_Tag", app.Drivers.Index);
    ini.WriteInteger(kCache, "Form1_Left", s.placement.left);
    ini.WriteInteger(kCache, "Form1_Top", s.placement.top);
    ini.WriteInteger(kCache, "Form1_Width", s.placement.width);
    ini.WriteInteger(kCache, "Form1_Height", s.placement.height);
    ini.WriteBool(kCache, "Form1_Maximized", s.placement.maximised);
    ini.WriteBool(kCache, "cProportional_Checked", s.proportional);
    ini.WriteBool(kCache, "dexpert_Down", s.expert);
    ini.WriteInteger(kCache, "paneldisp_Width", s.viewWidth);
    return ini.Save();
}

}  // namespace corvan
