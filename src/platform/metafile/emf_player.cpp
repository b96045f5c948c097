#include "platform/metafile/emf_player.h"

#include "platform/debuglog.h"
#include "platform/metafile/record_handlers.h"

#include <QString>

namespace corvan::emf {

const HandlerTable& Handlers() {
    static const HandlerTable table = [] {
        HandlerTable t{};
        RegisterStateHandlers(t);
        RegisterObjectHandlers(t);
        RegisterDrawHandlers(t);
        RegisterPathClipHandlers(t);
        RegisterBitmapHandlers(t);
        RegisterTextHandlers(t);
        RegisterRegionHandlers(t);
        RegisterInertHandlers(t);
        // Records without a handler (escapes, OpenGL records...) are skipped.
        return t;
    }();
    return table;
}

QTransform FrameTransform(const EmfHeader& h, const QRectF& rect) {
    const RectL& f = h.frame;
    const double frameW = double(f.right) - f.left, frameH = double(f.bottom) - f.top;
    // Millimetres per reference pixel.
    const double pxW = h.devicePixels.cx > 0 && h.deviceMillimetres.cx > 0
                           ? double(h.deviceMillimetres.cx) / h.devicePixels.cx
                           : 25.4 / 96;
    const double pxH = h.devicePixels.cy > 0 && h.deviceMillimetres.cy > 0
                           ? double(h.deviceMillimetres.cy) / h.devicePixels.cy
                           : 25.4 / 96;
    if (frameW != 0 && frameH != 0) {
        const double sx = rect.width() * 100.0 / frameW * pxW;
        const double sy = rect.height() * 100.0 / frameH * pxH;
        return QTransform(sx, 0, 0, sy, rect.left() - rect.width() * f.left / frameW,
                          rect.top() - rect.height() * f.top / frameH);
    }
    // Without a frame the bounds (reference pixels) stand in for it.
    const RectL& b = h.bounds;
    const double bw = double(b.right) - b.left, bh = double(b.bottom) - b.top;
    const double sx = bw != 0 ? rect.width() / bw : 1, sy = bh != 0 ? rect.height() / bh : 1;
    return QTransform(sx, 0, 0, sy, rect.left() - b.left * sx, rect.top() - b.top * sy);
}

bool PlayRecord(GdiDevice& dc, HandleTable& handles, const EmfRecord& record) {
    if (record.type > kMaxRecordType) return false;
    const RecordHandler handler = Handlers()[record.type];
    if (!handler) return false;
    ByteReader r(record.bytes, 8);
    PlayContext ctx{dc, handles, record};
    handler(ctx, r);
    return true;
}

bool PlayRecord(GdiDevice& dc, const EmfRecord& record) {
    HandleTable none;
    return PlayRecord(dc, dc.Handles() ? *dc.Handles() : none, record);
}

namespace {

// What Enumerate changes on the context and puts back afterwards.
class PlaybackScope {
public:
    PlaybackScope(GdiDevice& dc, const EmfHeader& h, const QRect& rect, HandleTable& handles)
        : dc_(dc),
          base_(dc.BaseTransform()),
          area_(dc.PictureAreaSet()),
          handles_(dc.Handles()),
          floor_(dc.RestoreFloor()),
          pixels_(dc.ReferencePixels()),
          millimetres_(dc.ReferenceMillimetres()) {
        const QTransform outer = dc.DeviceTransform();
        level_ = dc.SaveDC();
        dc.SetRestoreFloor(level_);
        dc.ResetState();
        // Windows plays metafiles in the advanced graphics mode.
        dc.State().graphicsMode = kAdvanced;
        dc.SetReferenceDevice(QSize(h.devicePixels.cx, h.devicePixels.cy),
                              QSizeF(h.deviceMillimetres.cx, h.deviceMillimetres.cy));
        dc.SetBaseTransform(FrameTransform(h, rect) * outer);
        if (!area_) dc.SetPictureArea(outer.mapRect(rect));
        dc.SetHandles(&handles);
    }
    ~PlaybackScope() {
        dc_.SetRestoreFloor(level_ - 1);
        dc_.RestoreDC(level_);
        dc_.SetRestoreFloor(floor_);
        dc_.SetBaseTransform(base_);
        dc_.SetPictureArea(area_);
        dc_.SetHandles(handles_);
        dc_.SetReferenceDevice(pixels_, millimetres_);
    }

private:
    GdiDevice& dc_;
    QTransform base_;
    std::optional<QRect> area_;
    HandleTable* handles_;
    int floor_;
    QSize pixels_;
    QSizeF millimetres_;
    int level_ = 0;
};

}  // namespace

PlaybackResult Enumerate(GdiDevice& dc, const EmfReader& metafile, const QRect& rect,
                         const RecordCallback& callback, void* data) {
    PlaybackResult result;
    HandleTable handles;
    handles.slots.resize(metafile.Header().handles);
    handles.bitmaps = &metafile.Bitmaps();
    PlaybackScope scope(dc, metafile.Header(), rect, handles);
    RecordCursor cursor(metafile);
    EmfRecord record;
    while (cursor.Next(record)) {
        ++result.records;
        if (callback(dc, handles, record, data) == RecordAction::kStop) {
            result.stopped = true;
            result.skipped = cursor.Skipped();
            return result;
        }
    }
    if (cursor.Damaged()) {
        result.complete = false;
        result.reason = cursor.Reason();
    }
    result.skipped = cursor.Skipped();
    for (const std::string& why : result.skipped) LogLine("metafile: skipped " + why);
    return result;
}

PlaybackResult PlayMetafile(GdiDevice& dc, const EmfReader& metafile, const QRect& rect) {
    return Enumerate(dc, metafile, rect,
                     [](GdiDevice& d, HandleTable& h, const EmfRecord& rec, void*) {
                         PlayRecord(d, h, rec);
                         return RecordAction::kContinue;
                     });
}

std::vector<std::string> ListLayerFonts(const std::string& path) {
    std::vector<std::string> fonts;
    auto reader = EmfReader::OpenFile(path);
    if (!reader) return fonts;
    QStringList seen;
    RecordCursor cursor(*reader);
    EmfRecord rec;
    while (cursor.Next(rec)) {
        if (rec.type != kExtCreateFontIndirectW) continue;
        ByteReader r(rec.bytes, 40);
        QString face;
        for (int i = 0; i < 32; ++i) {
            const char16_t ch = r.U16();
            if (!r.Ok() || ch == 0) break;
            face.append(QChar(ch));
        }
        if (face.isEmpty() || seen.contains(face, Qt::CaseInsensitive)) continue;
        seen.append(face);
        fonts.push_back(face.toStdString());
    }
    return fonts;
}

}  // namespace corvan::emf
