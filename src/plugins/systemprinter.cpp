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

}  // namespace corvan
