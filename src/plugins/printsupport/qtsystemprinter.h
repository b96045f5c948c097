#pragma once
// The system printer through Qt Print Support (CUPS underneath). Linked by
// the front ends, never by the engine.
#include "plugins/systemprinter.h"

#include <QPageLayout>
#include <QString>

#include <map>

class QPrinter;

namespace corvan {

class QtSystemPrinter : public SystemPrinterPort {
public:
    std::vector<std::string> PrinterNames() override;
    int DefaultPrinterIndex() override;
    std::optional<SystemPrinterCaps> Capabilities(const std::string& name) override;

    // The page setup the operator chose for a printer in its setup dialog,
    // kept for the rest of the run: applied to a printer object of that
    // name (true when one was kept), and taken from one after the dialog
    // was accepted.
    bool ApplySetup(QPrinter& printer) const;
    void KeepSetup(const QPrinter& printer);

private:
    std::map<QString, QPageLayout> chosen_;
};

// Installs the program's QtSystemPrinter as the engine's port, once.
void InstallQtSystemPrinter();
// That printer service; installs it when nobody did yet.
QtSystemPrinter& InstalledQtSystemPrinter();

}  // namespace corvan
