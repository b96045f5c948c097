#include "platform/metafile/gdi_text.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>

#include <cmath>

namespace corvan::emf {
namespace {

// Glyphs are built at this size and scaled: logical fonts may be fractions
// of a unit or thousands of units tall.
constexpr int kDesignSize = 256;

QPainterPath GlyphPath(const QFont& font, const TextRun& run, int i, double* advance) {
    QPainterPath p;
    if (run.options & kEtoGlyphIndex) {
        const QRawFont raw = QRawFont::fromFont(font);
        const quint32 glyph = run.text.at(i).unicode();
        p = raw.pathForGlyph(glyph);
        const auto adv = raw.advancesForGlyphIndexes(QList<quint32>{glyph});
        *advance = adv.isEmpty() ? 0 : adv.first().x();
        return p;
    }
    p.addText(QPointF(0, 0), font, run.text.mid(i, 1));
    *advance = QFontMetricsF(font).horizontalAdvance(run.text.mid(i, 1));
    return p;
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

bool FontsAvailable() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()); }

}  // namespace

QString SubstituteFace(const QString& face) {
    static const QHash<QString, QString> kFaces = {
        {"arial", "Liberation Sans"},       {"helvetica", "Liberation Sans"},
        {"times new roman", "Liberation Serif"}, {"times", "Liberation Serif"},
        {"courier new", "Liberation Mono"}, {"courier", "Liberation Mono"},
        {"calibri", "Carlito"},             {"cambria", "Caladea"},
        {"ms sans serif", "Liberation Sans"}, {"tahoma", "DejaVu Sans"},
        {"verdana", "DejaVu Sans"},
    };
    return kFaces.value(face.trimmed().toLower(), face);
}

QFont ResolveFont(const LogFont& lf, int pixelSize) {
    QFont f(SubstituteFace(QString::fromStdU16String(lf.faceName)));
    if (lf.faceName.empty()) f.setFamily("Liberation Sans");
    // Pitch and family steer the fallback when the face is not installed.
    const int family = lf.pitchAndFamily & 0xF0;
    f.setStyleHint(family == 0x10 ? QFont::Serif
                   : family == 0x30 || (lf.pitchAndFamily & 3) == 1 ? QFont::Monospace
                                                                     : QFont::SansSerif);
    f.setPixelSize(pixelSize);
    if (lf.weight > 0) f.setWeight(static_cast<QFont::Weight>(std::clamp(lf.weight, 1, 1000)));
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

// The run's glyphs along the baseline in design units (y down, origin at the
// reference point's baseline), each turned by `turn` radians about its origin;
// `pen` ends at the advance of the whole run (x along it, y its rise, down).
QPainterPath LayOut(const QFont& font, const TextRun& run, double scale, double xScale, double turn,
                    QPointF* pen) {
    QPainterPath glyphs;
    glyphs.setFillRule(Qt::WindingFill);  // characters that overlap stay inked
    const QTransform spin = QTransform().rotateRadians(turn);
    double x = 0, rise = 0;
    for (int i = 0; i < run.text.size(); ++i) {
        double adv = 0;
        QPainterPath g = GlyphPath(font, run, i, &adv);
        if (turn != 0) g = spin.map(g);
        glyphs.addPath(g.translated(x, rise));
        if (i < int(run.advances.size())) {
            x += run.advances[i].x() / scale / xScale;
            rise -= run.advances[i].y() / scale;
        } else {
            x += adv;
        }
    }
    *pen = QPointF(x, rise);
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
    if (lf.height > 0) em *= kDesignSize / (fm.ascent() + fm.descent());
    const double scale = em / kDesignSize;
    const double xScale = lf.width > 0 ? lf.width / (fm.averageCharWidth() * scale) : 1.0;

    // Text space: x along the escapement, y down, logical units; glyphs stay
    // upright whatever the mapping's y direction.
    const QTransform t = dc.DeviceTransform();
    const bool flipped = t.determinant() < 0;
    const double angle = lf.escapement / 10.0 * M_PI / 180.0;
    // In the advanced mode the glyphs turn by the orientation, independently
    // of the baseline; the compatible mode turns them with the escapement.
    const double turn = run.graphicsMode == kAdvanced
                            ? (lf.orientation - lf.escapement) / 10.0 * M_PI / 180.0 * (flipped ? 1 : -1)
                            : 0;
    QPointF end;
    const QPainterPath glyphs = LayOut(font, run, scale, xScale, turn, &end);
    const double pen = end.x();
    const std::uint32_t h = st.textAlign & kTaHorizontalMask;
    const std::uint32_t v = st.textAlign & kTaVerticalMask;
    const bool useCp = st.textAlign & kTaUpdateCp;
    const QPointF ref = useCp ? st.position : run.reference;
    const double ox = h == kTaRight ? -pen : h == kTaCenter ? -pen / 2 : 0;
    const double oy = v == kTaBaseline ? 0 : v == kTaBottom ? -fm.descent() : fm.ascent();

    QTransform text;
    text.translate(ref.x(), ref.y());
    // The angle counts in logical space as drawn: a mapping with y up turns
    // the text the other way on the page, as Windows does.
    text.rotateRadians(-angle);
    text.scale(scale * xScale, flipped ? -scale : scale);
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
        dc.Emit(ToGdiPath(toDevice.map(glyphs), true), false);
        return;
    }
    if (run.options & kEtoClipped && !run.rect.isEmpty()) dc.IntersectClipRect(run.rect);
    // An opaque background mode paints the character cells behind the text.
    if (st.bkMode == kOpaque && pen != 0) {
        QPainterPath cells;
        cells.addRect(QRectF(0, -fm.ascent(), pen, fm.ascent() + fm.descent()).normalized());
        PaintGlyphs(dc, toDevice.map(cells), ResolveColour(st.bkColour, st.palette), false);
    }
    PaintGlyphs(dc, toDevice.map(glyphs), ResolveColour(st.textColour, st.palette),
                lf.quality != kNonAntialiased && lf.quality != kDraft);
    st.clip = saved;
}

}  // namespace corvan::emf
