#pragma once
// The system printer through Qt Print Support (CUPS underneath). Linked by
// the front ends, never by the engine.
#include "plugins/systemprinter.h"

namespace corvan {

class QtSystemPrinter : public SystemPrinterPort {
public:
    std::vector<std::string> PrinterNames() override;
    int DefaultPrinterIndex() override;
    std::optional<SystemPrinterCaps> Capabilities(const std::string& name) override;
};

// Installs one process-wide QtSystemPrinter as the engine's port.
void InstallQtSystemPrinter();

}  // namespace corvan
