#include "plugins/printsupport/qtsystemprinter.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStringList>

#include <algorithm>
#include <map>

namespace corvan {

bool QtSystemPrinter::ApplySetup(QPrinter& printer) const {
    const auto it = chosen_.find(printer.printerName());
    if (it == chosen_.end()) return false;
    printer.setPageLayout(it->second);
    return true;
}

void QtSystemPrinter::KeepSetup(const QPrinter& printer) {
    chosen_[printer.printerName()] = printer.pageLayout();
}

std::vector<std::string> QtSystemPrinter::PrinterNames() {
    // Name order, the order CUPS lists its destinations in, so that a queue
    // index means the same printer to drivers that ask CUPS themselves.
    QStringList names = QPrinterInfo::availablePrinterNames();
    names.sort();
    std::vector<std::string> out;
    for (const QString& n : names) out.push_back(n.toStdString());
    return out;
}

int QtSystemPrinter::DefaultPrinterIndex() {
    const std::string def = QPrinterInfo::defaultPrinterName().toStdString();
    const auto names = PrinterNames();
    const auto it = std::find(names.begin(), names.end(), def);
    if (it != names.end()) return static_cast<int>(it - names.begin());
    return names.empty() ? -1 : 0;
}

std::optional<SystemPrinterCaps> QtSystemPrinter::Capabilities(const std::string& name) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(name));
    if (info.isNull()) return std::nullopt;
    QPrinter printer(info, QPrinter::HighResolution);
    ApplySetup(printer);
    // Without a running CUPS, QPrinter quietly turns into a PDF writer.
    if (!printer.isValid() || printer.outputFormat() != QPrinter::NativeFormat) return std::nullopt;
    SystemPrinterCaps caps;
    caps.DpiX = printer.logicalDpiX();
    caps.DpiY = printer.logicalDpiY();
    const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
    caps.PrintableWidthPx = area.width();
    caps.PrintableHeightPx = area.height();
    if (caps.DpiX <= 0 || caps.DpiY <= 0 || area.isEmpty()) return std::nullopt;
    return caps;
}

QtSystemPrinter& InstalledQtSystemPrinter() {
    static QtSystemPrinter printer;
    return printer;
}

void InstallQtSystemPrinter() {
    SetSystemPrinterPort(&InstalledQtSystemPrinter());
}

}  // namespace corvan
