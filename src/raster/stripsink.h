#pragma once
// A picture written strip by strip as it is rendered, so a render never
// holds more than a few strips: strips are encoded on a writer thread while
// the next ones are rendered; PNG, TIFF, BMP or JPEG chosen by the file's
// extension (PNG for any other). Strips always arrive in colour; a grey or
// black-and-white picture is converted row by row as it is written.
// The file is written beside its destination and renamed into place only
// when complete; an unfinished picture never takes the name.
#include "platform/bitmap.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace corvan {

// What the file holds: 24-bit colour, 8-bit grey ((38 R + 76 G + 14 B) >> 7),
// or one bit per pixel where only white stays white.
enum class SinkPixels { Colour, Grey, Mono };

class StripSink {
public:
    // Null with a message when the file cannot be made. dpi 0 writes no
    // resolution.
    static std::unique_ptr<StripSink> Create(const std::string& path, int width, int height,
                                             double dpi, std::string& error,
                                             SinkPixels pixels = SinkPixels::Colour);
    virtual ~StripSink();  // removes the unfinished file
    StripSink(const StripSink&) = delete;
    StripSink& operator=(const StripSink&) = delete;

    // Queues the strip's rows below the ones given so far (waiting while two
    // strips are queued); its width must be the picture's, and rows past the
    // picture's height are dropped. False once a write has failed.
    bool Append(std::unique_ptr<Bitmap24> strip);
    // Writes what is queued, checks every row came, closes the file and
    // renames it into place.
    bool Finish(std::string& error);

    // Why Append failed.
    std::string Error();

protected:
    StripSink(std::string path, std::string tempPath, int width, int height, SinkPixels pixels);
    // One row as the file wants it: blue, green, red bytes in colour; one
    // byte per pixel in grey; one byte per pixel, 0 or 255, in black and white.
    virtual bool WriteRow(const std::uint8_t* row) = 0;
    virtual bool Close() = 0;  // completes the file
    // Ends the writer thread, dropping the queued strips when `discard`;
    // the formats' destructors call it before their state goes.
    void StopWriter(bool discard);
    std::string error_;
    int width_, height_;
    SinkPixels pixels_;

private:
    void WriterLoop();
    bool WriteStrip(const Bitmap24& strip);
    const std::uint8_t* Converted(const std::uint8_t* bgr);  // the row as the file holds it

    std::string path_, tempPath_;
    std::vector<std::uint8_t> converted_;
    int rows_ = 0;
    bool finished_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<Bitmap24>> queue_;
    bool stop_ = false, failed_ = false;
    std::thread writer_;
};

}  // namespace corvan
