#pragma once
// The system printer through Qt Print Support (CUPS underneath). Linked by
// the front ends, never by the engine.
#include "plugins/systemprinter.h"

class QPrinter;

namespace corvan {

class QtSystemPrinter : public SystemPrinterPort {
public:
    std::vector<std::string> PrinterNames() override;
    int DefaultPrinterIndex() override;
    std::optional<SystemPrinterCaps> Capabilities(const std::string& name) override;
};

// The page setup the operator chose for a printer in its setup dialog, kept
// for the rest of the run: applied to a printer object of that name, and
// taken from one after the dialog was accepted.
// True when a setup was kept for that printer.
bool ApplyPrinterSetup(QPrinter& printer);
void KeepPrinterSetup(const QPrinter& printer);

// Installs one process-wide QtSystemPrinter as the engine's port.
void InstallQtSystemPrinter();

}  // namespace corvan
