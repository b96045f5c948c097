#pragma once
// The system printer's page through Qt Print Support, for PrintStrips.
#include "raster/printstrips.h"

#include <QPainter>
#include <QPrinter>

#include <memory>

namespace corvan {

class QtPrinterCanvas : public PrinterCanvas {
public:
    // The printer of that name (CUPS queue) at its high resolution.
    explicit QtPrinterCanvas(const std::string& printerName);
    bool Usable() const;
    int DpiX() const override;
    int DpiY() const override;
    bool BeginDocument(const std::string& title, double widthMm, double heightMm) override;
    void StretchToCanvas(const IntRect& rect, const Bitmap24& image) override;
    void EndDocument() override;

private:
    QPrinter printer_;
    std::unique_ptr<QPainter> painter_;
    bool operatorSetup_ = false;  // the operator chose this printer's page
};

}  // namespace corvan
