#include "plugins/systemprinter.h"

namespace corvan {

namespace {
SystemPrinterPort* g_port = nullptr;
int g_selected = -1;
}  // namespace

void SetSystemPrinterPort(SystemPrinterPort* port) {
    g_port = port;
}
SystemPrinterPort* CurrentSystemPrinterPort() {
    return g_port;
}
void SetSelectedSystemPrinter(int index) {
    g_selected = index;
}
int SelectedSystemPrinter() {
    return g_selected;
}

int EffectiveSystemPrinter(SystemPrinterPort& port, const std::vector<std::string>& names) {
    const int count = static_cast<int>(names.size());
    int index = g_selected;
    if (index < 0 || index >= count) index = port.DefaultPrinterIndex();
    return index >= 0 && index < count ? index : -1;
}

std::string SelectedSystemPrinterName() {
    if (!g_port) return {};
    const auto names = g_port->PrinterNames();
    const int index = EffectiveSystemPrinter(*g_port, names);
    return index < 0 ? std::string() : names[static_cast<std::size_t>(index)];
}

}  // namespace corvan
