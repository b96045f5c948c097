#pragma once
// Printing the job on an ordinary system printer: the output raster is
// rendered at the render resolution in blocks of about 480,000 pixels and
// each block is stretched onto the printer page at the printer's resolution.
#include "job/emffile.h"
#include "platform/bitmap.h"
#include "raster/placement.h"

#include <functional>
#include <memory>
#include <string>

namespace corvan {

class UserInterface;

// The printer page as the engine sees it; the Qt Print Support
// implementation lives with the front ends.
class PrinterCanvas {
public:
    virtual ~PrinterCanvas() = default;
    // Resolution of the printer (dots per inch), known before the document starts.
    virtual int DpiX() const = 0;
    virtual int DpiY() const = 0;
    // Starts one document with a page of the given size in millimetres.
    virtual bool BeginDocument(const std::string& title, double widthMm, double heightMm) = 0;
    // Draws the whole image stretched into the rectangle (printer pixels),
    // copied unchanged.
    virtual void StretchToCanvas(const IntRect& rect, const Bitmap24& image) = 0;
    virtual void EndDocument() = 0;
};

using StripRenderFn = std::function<std::unique_ptr<Bitmap24>(const IntRect&, float scale)>;

// Prints the job. False (with the reason shown through the UI) when
// there is no job, the job cannot be printed at this size, or the printer
// refused the document.
bool PrintStrips(const TemfFile& job, UserInterface& ui, PrinterCanvas& canvas,
                 const StripRenderFn& renderStrip);

}  // namespace corvan
