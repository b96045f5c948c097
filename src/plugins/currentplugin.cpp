#include "plugins/currentplugin.h"

#include "platform/commatext.h"
#include "platform/debuglog.h"

#include <memory>

namespace corvan {

namespace {
std::unique_ptr<TPluginObject>& Slot() {
    static std::unique_ptr<TPluginObject> current;
    return current;
}
}  // namespace

TPluginObject& CurrentPlugin() {
    auto& slot = Slot();
    if (!slot) slot = std::make_unique<TPluginObject>("", 0);
    return *slot;
}

void LoadPlugin(const std::string& path, std::uint64_t hostWindow) {
    auto& slot = Slot();
    if (slot) {
        slot->Finalize_Plugin();
        slot.reset();  // unloads before the next library is loaded
    }
    slot = std::make_unique<TPluginObject>(path, hostWindow);
    if (slot->Valid) slot->Initialize_Plugin();
}

std::string DriverLinePath(const std::string& line) {
    const auto fields = SplitCommaText(line);
    return fields.size() > 2 ? fields[0] : std::string();
}

void SelectPlugin(const std::string& line, std::uint64_t hostWindow) {
    LogLine("Select Plugin: " + line);
    LoadPlugin(DriverLinePath(line), hostWindow);
}

void ReleaseCurrentPlugin() {
    Slot().reset();
}

}  // namespace corvan
