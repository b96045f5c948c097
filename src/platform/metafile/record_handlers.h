#pragma once
// Internal to the player: one small handler per record type, gathered in a
// table by the files that implement them. A handler reads the record's
// fields (the reader starts after type and size), checks Ok(), then acts on
// the drawing context. Records without a handler are skipped.
#include "platform/metafile/byte_reader.h"
#include "platform/metafile/emf_reader.h"
#include "platform/metafile/gdi_device.h"

#include <array>
#include <vector>

namespace corvan::emf {

struct PlayContext {
    GdiDevice& dc;
    HandleTable& handles;
    const EmfRecord& record;
};

using RecordHandler = void (*)(PlayContext& ctx, ByteReader& r);
using HandlerTable = std::array<RecordHandler, kMaxRecordType + 1>;

void RegisterStateHandlers(HandlerTable& table);
void RegisterObjectHandlers(HandlerTable& table);
void RegisterDrawHandlers(HandlerTable& table);
void RegisterPathClipHandlers(HandlerTable& table);
void RegisterBitmapHandlers(HandlerTable& table);
void RegisterTextHandlers(HandlerTable& table);
void RegisterRegionHandlers(HandlerTable& table);
void RegisterInertHandlers(HandlerTable& table);

const HandlerTable& Handlers();

// Field readers shared by the handlers.
inline QPointF ReadPointL(ByteReader& r) {
    const double x = r.I32();
    return QPointF(x, r.I32());
}
inline QRectF ReadBox(ByteReader& r) {
    const QPointF tl = ReadPointL(r);
    return QRectF(tl, ReadPointL(r));
}
// `count` points of 32-bit or (small) 16-bit coordinates.
std::vector<QPointF> ReadPoints(ByteReader& r, std::uint32_t count, bool small);
QTransform ReadXForm(ByteReader& r);

}  // namespace corvan::emf
