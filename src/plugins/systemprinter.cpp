#include "plugins/systemprinter.h"

namespace corvan {

namespace {
// The installed query service (Qt Print Support in the programs, fakes in
// tests); the choice of printer lives in the device record.
SystemPrinterPort* g_port = nullptr;
}  // namespace

void SetSystemPrinterPort(SystemPrinterPort* port) {
    g_port = port;
}
SystemPrinterPort* CurrentSystemPrinterPort() {
    return g_port;
}
int EffectiveSystemPrinter(SystemPrinterPort& port, const std::vector<std::string>& names,
                           int chosen) {
    const int count = static_cast<int>(names.size());
    int index = chosen;
    if (index < 0 || index >= count) index = port.DefaultPrinterIndex();
    return index >= 0 && index < count ? index : -1;
}

std::string SystemPrinterName(const TemfPlotter& device) {
    if (!g_port) return {};
    const auto names = g_port->PrinterNames();
    const int index = EffectiveSystemPrinter(*g_port, names, device.SystemPrinterChoice);
    return index < 0 ? std::string() : names[static_cast<std::size_t>(index)];
}

}  // namespace corvan
