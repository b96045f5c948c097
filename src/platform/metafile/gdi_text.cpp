#include "platform/metafile/gdi_text.h"

#include "platform/metafile/font_glyphs.h"
#include "platform/metafile/font_table.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>

#include <cmath>
#include <vector>

namespace corvan::emf {
namespace {

// Glyphs are built at this size and scaled: logical fonts may be fractions
// of a unit or thousands of units tall.
constexpr int kDesignSize = 256;
// Fitted glyphs are drawn as pictures of at most this many pixels per em.
constexpr double kLargestFittedEm = 1000;
// Letters fitted at their logical size are magnified at most this much.
constexpr double kLargestFittedMagnification = 3;

// Character `i` of the run (a glyph index with kEtoGlyphIndex) in design units.
QPainterPath GlyphPath(const QFont& font, const QRawFont& raw, const TextRun& run, int i) {
    QPainterPath p;
    if (run.options & kEtoGlyphIndex) return raw.pathForGlyph(run.text.at(i).unicode());
    p.addText(QPointF(0, 0), font, run.text.mid(i, 1));
    return p;
}

// The font's own advance of character `i`, for runs without a spacing array.
double GlyphAdvance(const QFont& font, const QRawFont& raw, const TextRun& run, int i) {
    if (!(run.options & kEtoGlyphIndex))
        return QFontMetricsF(font).horizontalAdvance(run.text.mid(i, 1));
    const auto adv = raw.advancesForGlyphIndexes(QList<quint32>{run.text.at(i).unicode()});
    return adv.isEmpty() ? 0 : adv.first().x();
}

constexpr std::uint8_t kDraft = 1;
constexpr std::uint8_t kNonAntialiased = 3;

// Glyphs are painted grey-antialiased, as the system's own text output does,
// unless the font asks for plain pixels or draft quality (which the system
// also draws without smoothing).
void PaintGlyphs(GdiDevice& dc, const QPainterPath& glyphs, Colour colour, bool antialias) {
    Canvas& canvas = dc.GetCanvas();
    const std::optional<QRegion> clip = dc.EffectiveClip();
    if (clip && clip->isEmpty()) return;
    QPainter p(&canvas.Image());
    if (clip) p.setClipRegion(*clip);
    p.setRenderHint(QPainter::Antialiasing, antialias);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)));
    p.drawPath(glyphs);
}

// A font table, read once per thread and font.
const QByteArray& FontTableBytes(const QFont& font, const char* tag) {
    thread_local QHash<QString, QByteArray> tables;
    const QString key = font.key() + tag;
    auto it = tables.constFind(key);
    if (it == tables.constEnd()) it = tables.insert(key, QRawFont::fromFont(font).fontTable(tag));
    return *it;
}

std::uint16_t BigEndian16(const QByteArray& bytes, qsizetype at) {
    return std::uint16_t((std::uint8_t(bytes[at]) << 8) | std::uint8_t(bytes[at + 1]));
}

// The character cell above and below the baseline, in pixels of `font`.
// Windows takes them from the font's OS/2 table (usWinAscent and
// usWinDescent), which may differ from the line metrics other systems use.
struct Cell {
    double ascent, descent;
};
Cell CellOf(const QFont& font, const QFontMetricsF& fm) {
    thread_local QHash<QString, Cell> cells;
    auto it = cells.constFind(font.key());
    if (it != cells.constEnd()) return *it;
    Cell cell{fm.ascent(), fm.descent()};
    const QByteArray& os2 = FontTableBytes(font, "OS/2");
    const QRawFont raw = QRawFont::fromFont(font);
    if (os2.size() >= 78 && raw.unitsPerEm() > 0) {
        const double unit = font.pixelSize() / raw.unitsPerEm();
        cell = {BigEndian16(os2, 74) * unit, BigEndian16(os2, 76) * unit};
    }
    return *cells.insert(font.key(), cell);
}

// Whether the font's grid-fitting table ("gasp") lets glyphs of `ppem` pixels
// per em be smoothed. Windows draws the sizes the table marks for grid
// fitting only as plain pixels (common faces do so from about 9 to 17
// pixels); a font without the table is smoothed at every size.
bool GaspSmooths(const QFont& font, int ppem) {
    const QByteArray& gasp = FontTableBytes(font, "gasp");
    if (gasp.size() < 4) return true;
    const auto u16 = [&](qsizetype at) { return BigEndian16(gasp, at); };
    const int ranges = u16(2);
    for (int i = 0; i < ranges && 4 + 4 * i + 4 <= gasp.size(); ++i) {
        if (ppem <= u16(4 + 4 * i)) return u16(4 + 4 * i + 2) & 0x2;  // GASP_DOGRAY
    }
    return true;
}

// Pixels per em for a logical font height: a negative height is the em, a
// positive one the character cell, whose em is rounded and then taken down
// a pixel if the cell would outgrow the height.
int PpemForHeight(double height, const Cell& cell) {
    if (height < 0) return int(-height);
    const double cellPerEm = (cell.ascent + cell.descent) / kDesignSize;
    int ppem = int(std::lround(height / cellPerEm));
    if (ppem > 1 && std::lround(ppem * cellPerEm) > height) --ppem;
    return ppem;
}

// The size glyphs are fitted at, and how the fitted glyphs reach the device.
// A mapping that only scales both axes alike scales the font: the em's height
// on the device, truncated to whole pixels, is the size, and the fitted
// glyphs are only turned (and stretched by the font's own width). So is every
// mapping in the compatible mode, which scales the font by the mapping's
// height and never stretches glyphs across. Any other mapping in the advanced
// mode leaves the font at its logical size and takes the fitted outlines
// through the whole mapping.
struct Fitting {
    int ppem = 0;
    QTransform shape;  // fitted glyph pixels to device pixels
};
Fitting FitGlyphs(const LogFont& lf, const Cell& cell, double em, const QTransform& toDevice,
                  const QTransform& mapping, bool advanced, double xScale) {
    const double height = lf.height == 0 ? -em : lf.height;
    const QTransform perUnit =
        QTransform(toDevice.m11(), toDevice.m12(), toDevice.m21(), toDevice.m22(), 0, 0) *
        (kDesignSize / em);
    const bool uniform = mapping.m12() == 0 && mapping.m21() == 0 && mapping.m11() == mapping.m22();
    const double up = std::hypot(perUnit.m21(), perUnit.m22());
    if (up <= 0) return {};
    if (advanced && !uniform) {
        // Fitted at the logical size and then magnified, letters would turn
        // into blocks of device pixels (a layer drawn in screen units, printed
        // at a print resolution): past a small magnification they are fitted
        // at their size on the device, keeping the mapping's stretch.
        if (up <= kLargestFittedMagnification)
            return {std::max(1, PpemForHeight(height, cell)), perUnit};
        return {std::max(1, PpemForHeight(std::trunc(height * up), cell)), perUnit * (1 / up)};
    }
    const QTransform shape = perUnit * (1 / up);
    const double across = std::hypot(shape.m11(), shape.m12()) / xScale;
    if (across <= 0) return {};
    return {std::max(1, PpemForHeight(std::trunc(height * up), cell)),
            QTransform(shape.m11() / across, shape.m12() / across, shape.m21(), shape.m22(), 0, 0)};
}

// Draws the run from the font's fitted glyphs, each on a whole device pixel,
// smoothed or as plain pixels. False when the face cannot be drawn that way;
// the outlines are drawn then.
bool PaintFittedGlyphs(GdiDevice& dc, const QFont& font, const QRawFont& raw, const TextRun& run,
                       const std::vector<QPointF>& origins, const QTransform& toDevice,
                       const Fitting& fit, Colour colour, bool smooth) {
    // Giant letters are left to the outlines, which have no size limit.
    const double onDevice = fit.ppem * std::max(std::hypot(fit.shape.m11(), fit.shape.m12()),
                                                std::hypot(fit.shape.m21(), fit.shape.m22()));
    if (fit.ppem <= 0 || fit.ppem > 0xFFFF || onDevice > kLargestFittedEm) return false;
    if (!raw.isValid()) return false;
    FontGlyphRun glyphs;
    if (run.options & kEtoGlyphIndex) {
        for (const QChar c : run.text) glyphs.glyphs.push_back(c.unicode());
    } else {
        glyphs.glyphs = raw.glyphIndexesForString(run.text);
    }
    if (glyphs.glyphs.size() != qsizetype(origins.size())) return false;
    for (const QPointF& o : origins) {
        const QPointF at = toDevice.map(o);
        glyphs.origins.push_back(QPoint(int(std::lround(at.x())), int(std::lround(at.y()))));
    }
    glyphs.font = font;
    glyphs.ppem = fit.ppem;
    glyphs.shape = fit.shape;
    glyphs.underline = font.underline();
    glyphs.strikeOut = font.strikeOut();
    glyphs.smooth = smooth;
    const std::optional<QRegion> clip = dc.EffectiveClip();
    if (clip && clip->isEmpty()) return true;
    return PaintFontGlyphs(dc.GetCanvas().Image(), clip, glyphs,
                           qRgb(RedOf(colour), GreenOf(colour), BlueOf(colour)));
}

bool FontsAvailable() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance());
}

}  // namespace

QString SubstituteFace(const QString& face) {
    const FontSubstitute* row = FindSubstitute(face);
    return row ? row->substitute : face;
}

QFont ResolveFont(const LogFont& lf, int pixelSize) {
    const QString face = QString::fromStdU16String(lf.faceName);
    QFont f(face.isEmpty() ? QStringLiteral("Liberation Sans") : ResolvedFamily(face));
    // Pitch and family steer the fallback when the face is not installed.
    const int family = lf.pitchAndFamily & 0xF0;
    f.setStyleHint(family == 0x10                                   ? QFont::Serif
                   : family == 0x30 || (lf.pitchAndFamily & 3) == 1 ? QFont::Monospace
                                                                    : QFont::SansSerif);
    f.setPixelSize(pixelSize);
    const FontSubstitute* row = face.isEmpty() ? nullptr : FindSubstitute(face);
    const int weight = std::max(lf.weight, row ? row->weight : 0);
    if (weight > 0) f.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    f.setItalic(lf.italic != 0);
    f.setUnderline(lf.underline != 0);
    f.setStrikeOut(lf.strikeOut != 0);
    f.setKerning(false);
    return f;
}

QStringList RegisterFontFile(const QString& path) {
    if (!FontsAvailable()) return {};
    const int id = QFontDatabase::addApplicationFont(path);
    return id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
}

namespace {

// Where the run's glyphs stand along the baseline in design units (y down,
// origin at the reference point's baseline); `pen` ends at the advance of the
// whole run (x along it, y its rise, down).
void LayOut(const QFont& font, const QRawFont& raw, const TextRun& run, double scale, double xScale,
            QPointF* pen, std::vector<QPointF>* origins) {
    double x = 0, rise = 0;
    for (int i = 0; i < run.text.size(); ++i) {
        origins->emplace_back(x, rise);
        if (i < int(run.advances.size())) {
            x += run.advances[i].x() / scale / xScale;
            rise -= run.advances[i].y() / scale;
        } else {
            x += GlyphAdvance(font, raw, run, i);
        }
    }
    *pen = QPointF(x, rise);
}

// The run's outlines at their origins, each turned by `turn` radians about
// its origin; only built where fitted glyphs cannot be drawn.
QPainterPath Outlines(const QFont& font, const QRawFont& raw, const TextRun& run,
                      const std::vector<QPointF>& origins, double turn) {
    QPainterPath glyphs;
    glyphs.setFillRule(Qt::WindingFill);  // characters that overlap stay inked
    const QTransform spin = QTransform().rotateRadians(turn);
    for (int i = 0; i < run.text.size(); ++i) {
        QPainterPath g = GlyphPath(font, raw, run, i);
        if (turn != 0) g = spin.map(g);
        glyphs.addPath(g.translated(origins[std::size_t(i)]));
    }
    return glyphs;
}

}  // namespace

void DrawText(GdiDevice& dc, const TextRun& run) {
    if (!FontsAvailable()) return;
    DcState& st = dc.State();
    const LogFont& lf = st.font;
    const QFont font = ResolveFont(lf, kDesignSize);
    const QFontMetricsF fm(font);
    // Negative heights give the character (em) height, positive the cell height.
    double em = lf.height == 0 ? 12 : std::abs(double(lf.height));
    const Cell cell = CellOf(font, fm);
    if (lf.height > 0) em *= kDesignSize / (cell.ascent + cell.descent);
    const double scale = em / kDesignSize;
    const double xScale = lf.width > 0 ? lf.width / (fm.averageCharWidth() * scale) : 1.0;

    // Text space: x along the escapement, y down, logical units; glyphs stay
    // upright whatever the mapping's y direction.
    const QTransform t = dc.DeviceTransform();
    const bool flipped = t.determinant() < 0;
    const double angle = lf.escapement / 10.0 * M_PI / 180.0;
    // Only the height of text follows the mapping in the compatible mode: the
    // letters and the font's own advances keep their proportions however the
    // mapping stretches across (spacing arrays, in logical units, still do).
    const double squeeze =
        run.graphicsMode == kAdvanced
            ? 1
            : std::hypot(t.m21(), t.m22()) / std::max(1e-12, std::hypot(t.m11(), t.m12()));
    // In the advanced mode the glyphs turn by the orientation, independently
    // of the baseline; the compatible mode turns them with the escapement.
    const double turn = run.graphicsMode == kAdvanced ? (lf.orientation - lf.escapement) / 10.0 *
                                                            M_PI / 180.0 * (flipped ? 1 : -1)
                                                      : 0;
    QPointF end;
    std::vector<QPointF> origins;
    const QRawFont raw = QRawFont::fromFont(font);
    LayOut(font, raw, run, scale, xScale * squeeze, &end, &origins);
    const double pen = end.x();
    const std::uint32_t h = st.textAlign & kTaHorizontalMask;
    const std::uint32_t v = st.textAlign & kTaVerticalMask;
    const bool useCp = st.textAlign & kTaUpdateCp;
    const QPointF ref = useCp ? st.position : run.reference;
    const double ox = h == kTaRight ? -pen : h == kTaCenter ? -pen / 2 : 0;
    const double oy = v == kTaBaseline ? 0 : v == kTaBottom ? -cell.descent : cell.ascent;

    QTransform text;
    text.translate(ref.x(), ref.y());
    // The angle counts in logical space as drawn: a mapping with y up turns
    // the text the other way on the page, as Windows does.
    text.rotateRadians(-angle);
    text.scale(scale * xScale * squeeze, flipped ? -scale : scale);
    text.translate(ox, oy);
    const QTransform toDevice = text * t;

    if (useCp) {
        // The position moves by the run's advance, vertical spacing included.
        const double dir = h == kTaRight ? -1 : h == kTaCenter ? 0 : 1;
        st.position = (QTransform(text).translate(-ox, -oy)).map(QPointF(pen * dir, end.y() * dir));
    }
    const std::optional<QRegion> saved = st.clip;
    if (run.options & kEtoOpaque && !run.rect.isEmpty()) {
        dc.FillRect(t.mapRect(run.rect).toRect(), ResolveColour(st.bkColour, st.palette));
    }
    if (dc.InPath()) {
        dc.Emit(ToGdiPath(toDevice.map(Outlines(font, raw, run, origins, turn)), true), false);
        return;
    }
    if (run.options & kEtoClipped && !run.rect.isEmpty()) dc.IntersectClipRect(run.rect);
    // An opaque background mode paints the character cells behind the text.
    if (st.bkMode == kOpaque && pen != 0) {
        QPainterPath cells;
        cells.addRect(QRectF(0, -cell.ascent, pen, cell.ascent + cell.descent).normalized());
        PaintGlyphs(dc, toDevice.map(cells), ResolveColour(st.bkColour, st.palette), false);
    }
    const Colour colour = ResolveColour(st.textColour, st.palette);
    const Fitting fit = FitGlyphs(lf, cell, em, toDevice, t, run.graphicsMode == kAdvanced, xScale);
    // Smoothing goes by the size the font is fitted at.
    const bool smooth =
        lf.quality != kNonAntialiased && lf.quality != kDraft && GaspSmooths(font, fit.ppem);
    if (turn != 0 || !PaintFittedGlyphs(dc, font, raw, run, origins, toDevice, fit, colour, smooth))
        PaintGlyphs(dc, toDevice.map(Outlines(font, raw, run, origins, turn)), colour, smooth);
    st.clip = saved;
}

}  // namespace corvan::emf
