#pragma once
// Set_Plotter_Size: the one routine that turns the current output choice (a
// driver, or the system printer) into the device record.
#include "job/emffile.h"

#include <string>

namespace corvan {

// Fills the device record from CurrentPlugin when it is valid, else from the
// selected system printer, falling back to the "Printer Error" values when
// that fails. Its lines go to the numbered (critical) log.
void Set_Plotter_Size(TemfPlotter& plotter);

// What the desktop shows after a device refresh: the job layout view when
// the media has a fixed length (else the virtual preview), and the status
// bar's printer text.
bool PrefersJobLayoutView(const TemfPlotter& plotter);
std::string PrinterStatusText(const TemfPlotter& plotter);

// The stored driver list names the system printer "Windows Printer" (its
// file keys keep that); on Linux it is shown as what it is.
inline constexpr const char* kStoredSystemPrinterName = "Windows Printer";
inline constexpr const char* kSystemPrinterLabel = "CUPS Printer";

}  // namespace corvan
