#pragma once
// A picture written strip by strip as it is rendered, so a render never
// holds more than one strip: PNG or TIFF chosen by the file's extension.
// The file is written beside its destination and renamed into place only
// when complete; an unfinished picture never takes the name.
#include "platform/bitmap.h"

#include <memory>
#include <string>

namespace corvan {

class StripSink {
public:
    // Null with a message when the file cannot be made. dpi 0 writes no
    // resolution.
    static std::unique_ptr<StripSink> Create(const std::string& path, int width, int height,
                                             double dpi, std::string& error);
    virtual ~StripSink();  // removes the unfinished file
    StripSink(const StripSink&) = delete;
    StripSink& operator=(const StripSink&) = delete;

    // Appends the strip's rows below the ones written so far; its width must
    // be the picture's, and rows past the picture's height are dropped.
    bool Append(const Bitmap24& strip);
    // Checks every row came, closes the file and renames it into place.
    bool Finish(std::string& error);

    int RowsWritten() const { return rows_; }
    // Why Append failed.
    const std::string& Error() const { return error_; }

protected:
    StripSink(std::string path, std::string tempPath, int width, int height);
    virtual bool WriteRow(const std::uint8_t* bgr) = 0;
    virtual bool Close() = 0;  // completes the file
    std::string error_;
    int width_, height_;

private:
    std::string path_, tempPath_;
    int rows_ = 0;
    bool finished_ = false;
};

}  // namespace corvan
