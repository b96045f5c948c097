#pragma once
// Bitmap transfers onto a drawing context: a source picture mapped through a
// logical destination (rectangle or parallelogram) and the world and page
// transforms, combined with the destination and the brush by a ternary raster
// operation, blended by alpha, or keyed by a transparent colour. Works pixel
// by pixel in device space, so rotation, mirroring and clipping come free;
// upright transfers pick their source pixels with GDI's whole-pixel stepping.
#include "platform/metafile/gdi_device.h"

#include <cstdint>
#include <span>

namespace corvan::emf {

// Ternary raster operation codes (the byte in bits 16..23 of a record's ROP).
enum Rop3 : std::uint8_t {
    kRop3Blackness = 0x00,
    kRop3NotSrcErase = 0x11,
    kRop3NotSrcCopy = 0x33,
    kRop3SrcErase = 0x44,
    kRop3DstInvert = 0x55,
    kRop3PatInvert = 0x5A,
    kRop3SrcInvert = 0x66,
    kRop3SrcAnd = 0x88,
    kRop3MergePaint = 0xBB,
    kRop3MergeCopy = 0xC0,
    kRop3SrcCopy = 0xCC,
    kRop3SrcPaint = 0xEE,
    kRop3PatCopy = 0xF0,
    kRop3PatPaint = 0xFB,
    kRop3Whiteness = 0xFF,
};

// Combines pattern, source and destination (any channel order) bit by bit:
// each result bit is bit (p << 2 | s << 1 | d) of `rop`.
std::uint32_t ApplyRop3(std::uint8_t rop, std::uint32_t p, std::uint32_t s, std::uint32_t d);
// Whether the operation reads the source or the pattern at all.
bool Rop3UsesSource(std::uint8_t rop);

struct BlitSource {
    const Bitmap24* pixels = nullptr;     // none: the operation uses no source
    std::span<const std::uint8_t> alpha;  // one byte per pixel, may be empty
    const Bitmap24* mask = nullptr;       // 1-bit mask as black/white pixels
    QPointF maskOrigin;                   // mask pixel under the source origin
};

struct BlitMode {
    enum Kind { kRop, kAlphaBlend, kTransparent };
    Kind kind = kRop;
    std::uint8_t rop = kRop3SrcCopy;      // where the mask is white (or no mask)
    std::uint8_t backRop = kRop3SrcCopy;  // where the mask is black
    std::uint8_t constantAlpha = 255;
    bool sourceAlpha = false;       // per-pixel premultiplied alpha
    std::uint32_t transparent = 0;  // QRgb key colour
};

// Maps the source rectangle `src` (source pixels) onto the logical
// parallelogram with corners `topLeft`, `topRight`, `bottomLeft`, then onto
// the device, and combines every covered device pixel inside the clip.
void Blit(GdiDevice& dc, const QRectF& src, QPointF topLeft, QPointF topRight, QPointF bottomLeft,
          const BlitSource& source, const BlitMode& mode);
// The usual case: an axis-aligned logical destination rectangle.
void BlitRect(GdiDevice& dc, const QRectF& src, const QRectF& dest, const BlitSource& source,
              const BlitMode& mode);

// False when no device pixel of the logical parallelogram lies on the canvas
// inside the clip: a blit there changes nothing, so its bitmap need not be
// decoded (a strip of a large job sees only a band of each picture).
bool BlitVisible(const GdiDevice& dc, QPointF topLeft, QPointF topRight, QPointF bottomLeft);
bool BlitRectVisible(const GdiDevice& dc, const QRectF& dest);

}  // namespace corvan::emf
