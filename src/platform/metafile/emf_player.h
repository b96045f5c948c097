#pragma once
// Playing enhanced metafiles into a drawing context, as the Windows player
// does: the metafile's frame is mapped onto a rectangle of the device, every
// record is offered to a callback that decides whether and how to play it,
// and PlayRecord plays one record exactly as normal playback would.
#include "platform/metafile/emf_reader.h"
#include "platform/metafile/gdi_device.h"

#include <functional>
#include <string>
#include <vector>

namespace corvan::emf {

enum class RecordAction { kContinue, kStop };

using RecordCallback = std::function<RecordAction(GdiDevice& dc, HandleTable& handles,
                                                  const EmfRecord& record, void* data)>;

struct PlaybackResult {
    bool complete = true;  // false when a damaged record ended the playback
    bool stopped = false;  // the callback asked to stop
    std::string reason;    // why playback ended early, for the log
    std::vector<std::string> skipped;  // damaged records passed over, and why
    std::uint32_t records = 0;
};

// The transform from the metafile's reference-device pixels to `rect`:
// the frame (in .01 mm, measured with the reference device's pixel size)
// lands exactly on the rectangle.
QTransform FrameTransform(const EmfHeader& header, const QRectF& rect);

// Plays `metafile` into `dc` over `rect` (device pixels, after the context's
// own mapping), calling `callback` for every record, header and end record
// included. The context's state is saved before and restored after.
PlaybackResult Enumerate(GdiDevice& dc, const EmfReader& metafile, const QRect& rect,
                         const RecordCallback& callback, void* data = nullptr);
// Enumerate with a callback that plays every record.
PlaybackResult PlayMetafile(GdiDevice& dc, const EmfReader& metafile, const QRect& rect);

// Plays one record. False when the record type is not drawn by this player
// (it is then skipped without effect).
bool PlayRecord(GdiDevice& dc, HandleTable& handles, const EmfRecord& record);
// The same with the handle table of the enumeration in progress.
bool PlayRecord(GdiDevice& dc, const EmfRecord& record);

// The face names of the fonts a metafile creates, distinct ignoring letter
// case, in first-seen order, as UTF-8. Empty when the file cannot be read.
std::vector<std::string> ListLayerFonts(const std::string& path);

}  // namespace corvan::emf
