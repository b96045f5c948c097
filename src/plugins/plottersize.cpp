#include "plugins/plottersize.h"

#include "platform/numbers.h"
#include "plugins/currentplugin.h"
#include "plugins/systemprinter.h"
#include "platform/debuglog.h"

#include <stdexcept>

namespace corvan {

namespace {

// Driver answers are text; a driver that returns something that is not a
// number gives 0 rather than stopping the refresh halfway.
std::int32_t IntegerValue(const std::string& text) {
    return ParseInteger(text).value_or(0);
}
float RoundedRealValue(const std::string& text) {
    return static_cast<float>(RoundToInt(ParseReal(text).value_or(0.0)));
}

void FromDriver(TemfPlotter& p, TPluginObject& plugin) {
    CriticalLine("-ValidPrinter: " + plugin.FileName);
    const PrinterQuery q = plugin.Query_Printer();
    CriticalLine("-Query: " + q.Name + "\r" + q.Description + "\r" + q.Extra);
    p.PrintableWidth = static_cast<float>(q.PrintableWidth);
    p.PrintableLength = static_cast<float>(q.PrintableLength);
    p.MediaWidth = RoundedRealValue(plugin.Get_Plugin_Datatype(DRV_DATA_MEDIA_WIDTH));
    p.MediaHeight = RoundedRealValue(plugin.Get_Plugin_Datatype(DRV_DATA_MEDIA_LENGTH));
    CriticalLine("-1");
    p.QueueIndex = IntegerValue(plugin.Get_Plugin_Datatype(DRV_DATA_QUEUE));
    p.OutputFile = plugin.Get_Plugin_Datatype(DRV_DATA_OUTPUT_FILE);
    p.DpiX = IntegerValue(plugin.Get_Plugin_Datatype(DRV_DATA_DPI_X));
    p.DpiY = IntegerValue(plugin.Get_Plugin_Datatype(DRV_DATA_DPI_Y));
    p.PrinterName = q.Name;
    p.PrinterDescription = q.Description;
    CriticalLine("=ok");
}

void FromSystemPrinter(TemfPlotter& p) {
    CriticalLine("_Windows Printer");
    SystemPrinterPort* port = CurrentSystemPrinterPort();
    if (!port) throw std::runtime_error("no system printer support");
    const auto names = port->PrinterNames();
    const int index = EffectiveSystemPrinter(*port, names, p.SystemPrinterChoice);
    if (index < 0) throw std::runtime_error("no printer");
    const auto caps = port->Capabilities(names[static_cast<std::size_t>(index)]);
    if (!caps || caps->DpiX <= 0 || caps->DpiY <= 0) throw std::runtime_error("no capabilities");
    p.DpiX = caps->DpiX;
    p.DpiY = caps->DpiY;
    p.PrintableWidth = static_cast<float>(caps->PrintableWidthPx * 25.4 / caps->DpiX);
    p.PrintableLength = static_cast<float>(caps->PrintableHeightPx * 25.4 / caps->DpiY);
    p.MediaWidth = p.PrintableWidth;
    p.MediaHeight = p.PrintableLength;
    p.QueueIndex = index;
    p.OutputFile.clear();
    p.PrinterName = names[static_cast<std::size_t>(index)];
    p.PrinterDescription = std::string(kSystemPrinterLabel) + ".";
    CriticalLine("OK: " + p.PrinterName);
}

void PrinterErrorValues(TemfPlotter& p) {
    try {
        CriticalLine("-Error with Windows Printer");
    } catch (...) {
        // The fallback values matter more than the trace line.
    }
    p.DpiX = p.DpiY = 96;
    p.PrintableWidth = p.PrintableLength = p.MediaWidth = p.MediaHeight = 300;
    p.QueueIndex = -1;
    p.OutputFile.clear();
    p.PrinterName = "Printer Error";
    p.PrinterDescription = "Trouble with Printer.";
}

}  // namespace

void Set_Plotter_Size(TemfPlotter& plotter) {
    CriticalLine("Set_Plotter_Size");
    TPluginObject& plugin = CurrentPlugin();
    plotter.IsPlugin = plugin.Valid;
    if (plugin.Valid) {
        FromDriver(plotter, plugin);
    } else {
        try {
            FromSystemPrinter(plotter);
        } catch (...) {
            PrinterErrorValues(plotter);
        }
    }
    CriticalLine("_end");
}

bool PrefersJobLayoutView(const TemfPlotter& plotter) {
    return plotter.PrintableLength != 0;
}

std::string PrinterStatusText(const TemfPlotter& plotter) {
    return plotter.IsPlugin ? plotter.PrinterName : std::string(kSystemPrinterLabel);
}

}  // namespace corvan
