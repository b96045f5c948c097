#include "plugins/printsupport/qtprintercanvas.h"

#include <QPageSize>
#include <QPrinterInfo>

#include "plugins/printsupport/qtsystemprinter.h"

namespace corvan {

QtPrinterCanvas::QtPrinterCanvas(const std::string& printerName)
    : printer_(QPrinter::HighResolution) {
    printer_.setPrinterName(QString::fromStdString(printerName));
    operatorSetup_ = InstalledQtSystemPrinter().ApplySetup(printer_);
    printer_.setFullPage(true);
}

bool QtPrinterCanvas::Usable() const {
    // Without CUPS QPrinter silently becomes a PDF writer; that is not a printer.
    return printer_.isValid() && printer_.outputFormat() == QPrinter::NativeFormat;
}

int QtPrinterCanvas::DpiX() const {
    return Usable() ? printer_.resolution() : 0;
}
int QtPrinterCanvas::DpiY() const {
    return Usable() ? printer_.resolution() : 0;
}

bool QtPrinterCanvas::BeginDocument(const std::string& title, double widthMm, double heightMm) {
    if (!Usable()) return false;
    printer_.setDocName(QString::fromStdString(title.empty() ? "CorvanRIP job" : title));
    // The paper the operator chose in the page setup wins; without a choice
    // the page is the job's own size, as a roll printer cuts it.
    if (!operatorSetup_) {
        printer_.setPageSize(QPageSize(QSizeF(widthMm, heightMm), QPageSize::Millimeter, QString(),
                                       QPageSize::ExactMatch));
        printer_.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    }
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(&printer_)) {
        painter_.reset();
        return false;
    }
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
    return true;
}

void QtPrinterCanvas::StretchToCanvas(const IntRect& r, const Bitmap24& image) {
    if (!painter_) return;
    painter_->drawImage(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), image.View());
}

void QtPrinterCanvas::EndDocument() {
    if (painter_) painter_->end();
    painter_.reset();
}

}  // namespace corvan
