// Records that are played without changing the picture: comments (EMF+
// records of dual files among them; their GDI twins follow as ordinary
// records), colour management and the pixel format. Colours are drawn as
// recorded, so profiles are validated and let be. (Colour space objects
// take their handle slot with the other objects.)
#include "platform/metafile/record_handlers.h"

namespace corvan::emf {
namespace {

void NoEffect(PlayContext&, ByteReader&) {}

}  // namespace

void RegisterInertHandlers(HandlerTable& t) {
    for (auto type : {kGdiComment, kSetIcmMode, kSetColorSpace, kColorMatchToTargetW,
                      kSetIcmProfileA, kSetIcmProfileW, kColorCorrectPalette, kPixelFormat})
        t[type] = &NoEffect;
}

}  // namespace corvan::emf
