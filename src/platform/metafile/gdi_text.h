#pragma once
// Text output with GDI's rules: the logical font resolved to a system face,
// glyph outlines placed by alignment, spacing arrays and escapement, drawn
// in the text colour (or added to the open path).
#include "platform/metafile/gdi_device.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <span>
#include <vector>

namespace corvan::emf {

// ETO_* option bits of the text records.
enum TextOptions : std::uint32_t {
    kEtoOpaque = 0x2, kEtoClipped = 0x4, kEtoGlyphIndex = 0x10, kEtoPdy = 0x2000,
};
enum TextAlign : std::uint32_t {
    kTaUpdateCp = 1, kTaRight = 2, kTaCenter = 6, kTaHorizontalMask = 6,
    kTaBottom = 8, kTaBaseline = 24, kTaVerticalMask = 24,
};

// The system face a logical font's face name stands for (metric-compatible
// substitutes for the common Windows faces).
QString SubstituteFace(const QString& face);
// A font at `pixelSize` for `font`, with weight, italic and decorations.
QFont ResolveFont(const LogFont& font, int pixelSize);

struct TextRun {
    QPointF reference;              // logical units
    QString text;                   // characters, or glyph indices with kEtoGlyphIndex
    std::uint32_t options = 0;
    QRectF rect;                    // logical; for opaque and clipped output
    std::vector<QPointF> advances;  // per character, logical; empty = the font's
    // The graphics mode the run was recorded in: only the advanced mode
    // turns glyphs by the font's orientation apart from the escapement.
    std::uint32_t graphicsMode = kAdvanced;
};

// Draws (or adds to the open path) one run. Text needs the font system of a
// QGuiApplication; without one the run is skipped.
void DrawText(GdiDevice& dc, const TextRun& run);

// Makes the font file at `path` available to text output for the rest of the
// run, under the family names it declares; those are returned (empty when
// the file is not a usable font).
QStringList RegisterFontFile(const QString& path);

}  // namespace corvan::emf
