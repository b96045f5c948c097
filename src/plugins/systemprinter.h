#pragma once
// The ordinary system printer (CUPS), as the engine needs it: the printer
// names in system order and the resolution and printable area of one of
// them. The engine must not link Qt Print Support, so the query sits behind
// this port; the desktop program and the command-line tool install the Qt
// Print Support implementation (src/plugins/printsupport/). Without one,
// every query fails and the device record gets the "Printer Error" values.
#include "job/emffile.h"

#include <optional>
#include <string>
#include <vector>

namespace corvan {

struct SystemPrinterCaps {
    int DpiX = 0;
    int DpiY = 0;
    // The printable area in device pixels.
    double PrintableWidthPx = 0;
    double PrintableHeightPx = 0;
};

class SystemPrinterPort {
public:
    virtual ~SystemPrinterPort() = default;
    // Installed printers in system order (CUPS destination names, sorted).
    virtual std::vector<std::string> PrinterNames() = 0;
    // Index of the system's default printer in PrinterNames(), -1 for none.
    virtual int DefaultPrinterIndex() = 0;
    // Resolution and printable area; empty on any failure.
    virtual std::optional<SystemPrinterCaps> Capabilities(const std::string& name) = 0;
};

// Null restores "no system printer support".
void SetSystemPrinterPort(SystemPrinterPort* port);
SystemPrinterPort* CurrentSystemPrinterPort();

// The index in `names` (the port's printer names) of the printer output
// goes to: `chosen` when it is in range, else the default one; -1 when
// there is none.
int EffectiveSystemPrinter(SystemPrinterPort& port, const std::vector<std::string>& names,
                           int chosen);
// The name of the printer system-printer output of `device` goes to; empty
// without any printer or port.
std::string SystemPrinterName(const TemfPlotter& device);

}  // namespace corvan
