// Records that are played without changing the picture: comments (EMF+
// records of dual files among them; their GDI twins follow as ordinary
// records), colour management and the pixel format. Colours are drawn as
// recorded, so profiles and colour spaces are validated and let be; colour
// space objects still take their handle slot, so that a later DELETEOBJECT
// or SELECTOBJECT of that index finds something harmless there.
#include "platform/metafile/record_handlers.h"

namespace corvan::emf {
namespace {

void NoEffect(PlayContext&, ByteReader&) {}

void CreateColourSpace(PlayContext& c, ByteReader& r) {
    const std::uint32_t ih = r.U32();
    if (r.Ok() && ih > 0 && c.handles.Valid(ih)) c.handles.slots[ih] = ColourSpace{};
}

// Frees the slot only when it holds a colour space: the index may name
// another object when a writer reused it by mistake.
void DeleteColourSpace(PlayContext& c, ByteReader& r) {
    const std::uint32_t ih = r.U32();
    if (!r.Ok() || (ih & kStockBit) || !c.handles.Valid(ih)) return;
    if (std::holds_alternative<ColourSpace>(c.handles.slots[ih])) c.handles.slots[ih] = std::monostate{};
}

}  // namespace

void RegisterInertHandlers(HandlerTable& t) {
    for (auto type : {kGdiComment, kSetIcmMode, kSetColorSpace, kColorMatchToTargetW, kSetIcmProfileA,
                      kSetIcmProfileW, kColorCorrectPalette, kPixelFormat})
        t[type] = &NoEffect;
    t[kCreateColorSpace] = t[kCreateColorSpaceW] = &CreateColourSpace;
    t[kDeleteColorSpace] = &DeleteColourSpace;
}

}  // namespace corvan::emf
