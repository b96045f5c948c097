#pragma once
// Bitmap and text records for EmfWriter, built from their raw bytes.
#include "platform/metafile/emf_writer.h"
#include "platform/metafile/gdi_objects.h"

#include <QString>

#include <cstdint>
#include <span>
#include <vector>

namespace corvan::emf {

// A DIB as a record stores it: the info block (header, masks, colour table)
// and the bits.
struct DibParts {
    std::vector<std::uint8_t> info;
    std::vector<std::uint8_t> bits;
};

// STRETCHDIBITS from `src` (DIB pixels) onto `dest` (logical) with ROP `rop`.
void WriteStretchDiBits(EmfWriter& w, const QRect& dest, const QRect& src, const DibParts& dib,
                        std::uint32_t rop = 0x00CC0020, std::uint32_t usage = 0);
// STRETCHBLT (or ALPHABLEND/TRANSPARENTBLT by `type`); `rop` holds the blend
// function or the transparent colour for those. An empty DIB means no source.
void WriteStretchBlt(EmfWriter& w, std::uint32_t type, const QRect& dest, const QRect& src,
                     const DibParts& dib, std::uint32_t rop);
// EXTTEXTOUTW at `ref` with optional spacing (`dx`, pairs with kEtoPdy),
// recorded in graphics mode `graphicsMode`.
void WriteExtTextOutW(EmfWriter& w, QPoint ref, const QString& text, std::uint32_t options = 0,
                      const QRect& rect = {}, std::span<const std::int32_t> dx = {},
                      std::uint32_t graphicsMode = kAdvanced);
// One string of POLYTEXTOUTW/A: reference point, text, options and rectangle.
struct TextItem {
    QPoint ref;
    QString text;
    std::uint32_t options = 0;
    QRect rect;
};
// POLYTEXTOUTW (`wide`) or POLYTEXTOUTA (Latin-1 text).
void WritePolyTextOut(EmfWriter& w, bool wide, std::span<const TextItem> items);
// SMALLTEXTOUT of `item`: 8-bit characters with kEtoSmallChars, no
// rectangle with kEtoNoRect (both in `item.options`).
void WriteSmallTextOut(EmfWriter& w, const TextItem& item);
// MASKBLT of `dib` through the monochrome `mask` (same origin as the
// source) with the four-operand code `rop4`.
void WriteMaskBlt(EmfWriter& w, const QRect& dest, const QRect& src, const DibParts& dib,
                  const DibParts& mask, std::uint32_t rop4);
// PLGBLT of `src` onto the parallelogram `corners` (top left, top right,
// bottom left), with an optional monochrome mask.
void WritePlgBlt(EmfWriter& w, const QPoint (&corners)[3], const QRect& src, const DibParts& dib,
                 const DibParts& mask = {});
// CREATEDIBPATTERNBRUSHPT (or CREATEMONOBRUSH by `type`); returns the handle.
std::uint32_t WritePatternBrush(EmfWriter& w, std::uint32_t type, const DibParts& dib);
// FILLRGN with brush `brush` (or PAINTRGN/INVERTRGN by `type`, which take
// no brush, or FRAMERGN with a frame of `frame` logical units) over `rects`
// in logical units.
void WriteRegionRecord(EmfWriter& w, std::uint32_t type, const std::vector<QRect>& rects,
                       std::uint32_t brush = 0, QSize frame = {});
// GRADIENTFILL: vertices (point and 0x00BBGGRR colour) and index groups of
// two (rectangles, mode 0 horizontal or 1 vertical) or three (mode 2).
struct GradientVertex {
    QPoint p;
    std::uint32_t colour;
};
void WriteGradientFill(EmfWriter& w, std::uint32_t mode, std::span<const GradientVertex> vertices,
                       std::span<const std::uint32_t> indices);
// EXTCREATEFONTINDIRECTW with every logical-font field; returns the handle.
std::uint32_t WriteFont(EmfWriter& w, const LogFont& f);

}  // namespace corvan::emf
