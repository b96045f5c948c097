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
    if (!slot) slot = std::make_unique<TPluginObject>("");
    return *slot;
}

void LoadPlugin(const std::string& path) {
    auto& slot = Slot();
    if (slot) {
        slot->Finalize_Plugin();
        slot.reset();  // unloads before the next library is loaded
    }
    slot = std::make_unique<TPluginObject>(path);
    if (slot->Valid) slot->Initialize_Plugin();
}

std::string DriverLinePath(const std::string& line) {
    const auto fields = SplitCommaText(line);
    return fields.size() > 2 ? fields[0] : std::string();
}

void SelectPlugin(const std::string& line) {
    LogLine("Select Plugin: " + line);
    LoadPlugin(DriverLinePath(line));
}

void ReleaseCurrentPlugin() {
    Slot().reset();
}

}  // namespace corvan
