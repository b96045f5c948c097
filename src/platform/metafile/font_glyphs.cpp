#include "platform/metafile/font_glyphs.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_DRIVER_H
#include FT_MODULE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <QFontInfo>
#include <QHash>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace corvan::emf {
namespace {

// The file that holds the face Qt resolved `font` to, and whether the weight
// asked for has to be made up by emboldening the outlines.
struct FaceFile {
    QByteArray path;
    int index = 0;
    bool emboldened = false;
};

bool SameFamily(FcPattern* match, const QString& family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
        if (family.compare(QString::fromUtf8(reinterpret_cast<const char*>(name)),
                           Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

std::optional<FaceFile> FindFaceFile(const QFont& font) {
    const QString family = QFontInfo(font).family();
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(family.toUtf8().constData()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(font.weight()));
    FcPatternAddInteger(pattern, FC_SLANT, font.italic() ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return std::nullopt;
    std::optional<FaceFile> file;
    FcChar8* path = nullptr;
    int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(match, FC_SLANT, 0, &slant);
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    // A slant the face does not have is left to the outline path, which slants it.
    const bool slantOk = font.italic() == (slant != FC_SLANT_ROMAN);
    if (SameFamily(match, family) && slantOk &&
        FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
        const bool bold = font.weight() >= QFont::DemiBold;
        file = FaceFile{QByteArray(reinterpret_cast<const char*>(path)), index,
                        bold && weight < FC_WEIGHT_DEMIBOLD};
    }
    FcPatternDestroy(match);
    return file;
}

// One FreeType library per thread, with the faces it has opened.
class FaceCache {
public:
    FaceCache() {
        if (FT_Init_FreeType(&library_) != 0) {
            library_ = nullptr;
            return;
        }
        // The fitting the system's glyphs match, whatever the environment asks.
        FT_UInt interpreter = TT_INTERPRETER_VERSION_40;
        FT_Property_Set(library_, "truetype", "interpreter-version", &interpreter);
    }
    ~FaceCache() {
        for (FT_Face face : faces_) FT_Done_Face(face);
        if (library_) FT_Done_FreeType(library_);
    }
    FaceCache(const FaceCache&) = delete;
    FaceCache& operator=(const FaceCache&) = delete;

    FT_Face Open(const FaceFile& file) {
        if (!library_) return nullptr;
        const QByteArray key = file.path + '#' + QByteArray::number(file.index);
        auto it = faces_.constFind(key);
        if (it != faces_.constEnd()) return *it;
        FT_Face face = nullptr;
        if (FT_New_Face(library_, file.path.constData(), file.index, &face) != 0) face = nullptr;
        return *faces_.insert(key, face);
    }
    FT_Library Library() const { return library_; }

    std::optional<FaceFile> FileFor(const QFont& font) {
        auto it = files_.constFind(font.key());
        if (it == files_.constEnd()) it = files_.insert(font.key(), FindFaceFile(font));
        return *it;
    }

private:
    FT_Library library_ = nullptr;
    QHash<QByteArray, FT_Face> faces_;
    QHash<QString, std::optional<FaceFile>> files_;
};

FaceCache& Cache() {
    thread_local FaceCache cache;
    return cache;
}

// Loads a glyph grid-fitted at the face's size, for plain pixels or for grey
// coverage; a glyph whose instructions fail is taken unhinted. Embedded
// strikes only serve plain, untransformed text, and a grey strike gives way
// to the outline.
bool LoadGlyph(FT_Face face, quint32 glyph, bool strikes, bool smooth) {
    const FT_Int32 flags = (smooth ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO) |
                           FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH |
                           (strikes && !smooth ? 0 : FT_LOAD_NO_BITMAP);
    for (const FT_Int32 more : {FT_Int32(0), FT_Int32(FT_LOAD_NO_BITMAP),
                                FT_Int32(FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING)}) {
        if (FT_Load_Glyph(face, glyph, flags | more) != 0) continue;
        const FT_GlyphSlot slot = face->glyph;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE ||
            slot->bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
            return true;
    }
    return false;
}

// Emboldening as the system does for a bold weight the face lacks: the
// outline grows by a 24th of the em.
void Embolden(FT_GlyphSlot slot, int ppem) {
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return;
    FT_Outline_Embolden(&slot->outline, FT_MulDiv(ppem, 64, 24));
    FT_BBox box;
    FT_Outline_Get_CBox(&slot->outline, &box);
    slot->metrics.horiBearingX = box.xMin;
    slot->metrics.horiBearingY = box.yMax;
    slot->metrics.width = box.xMax - box.xMin;
    slot->metrics.height = box.yMax - box.yMin;
}

// The glyph outline's box in whole pixels, after `matrix` when there is one.
FT_BBox PixelBox(FT_GlyphSlot slot, const FT_Matrix* matrix) {
    FT_BBox box;
    if (matrix) FT_Outline_Transform(&slot->outline, matrix);
    FT_Outline_Get_CBox(&slot->outline, &box);
    return {box.xMin & -64, box.yMin & -64, (box.xMax + 63) & -64, (box.yMax + 63) & -64};
}

// Where the outline's pixels lie once taken through `matrix` (y up) when
// there is one: the outline is moved so its box starts at 0,0 and `*at` gets
// the box's top left from the glyph's origin (y down). Empty for blank glyphs.
QSize PlaceOutline(FT_GlyphSlot slot, const FT_Matrix* matrix, QPoint* at) {
    const FT_BBox box = PixelBox(slot, matrix);
    const int width = int((box.xMax - box.xMin) >> 6), height = int((box.yMax - box.yMin) >> 6);
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096) return {};
    FT_Outline_Translate(&slot->outline, -box.xMin, -box.yMin);
    *at = QPoint(int(box.xMin >> 6), -int(box.yMax >> 6));
    return {width, height};
}

// Fills the placed outline into `image`, whose pixels FreeType writes as
// `mode`.
void FillOutline(FT_Library library, FT_GlyphSlot slot, QImage& image, FT_Pixel_Mode mode) {
    FT_Bitmap bitmap{};
    bitmap.width = unsigned(image.width());
    bitmap.rows = unsigned(image.height());
    bitmap.pitch = int(image.bytesPerLine());
    bitmap.pixel_mode = static_cast<unsigned char>(mode);
    bitmap.buffer = image.bits();
    FT_Outline_Get_Bitmap(library, &slot->outline, &bitmap);
}

// The loaded glyph, taken through `matrix` (y up) when there is one, as a
// plain-pixel picture whose top left lies at `*at` from the glyph's origin
// (y down); a null image for blank glyphs.
QImage GlyphImage(FT_Library library, FT_GlyphSlot slot, const FT_Matrix* matrix, QRgb colour,
                  QPoint* at) {
    if (slot->format == FT_GLYPH_FORMAT_BITMAP) {
        // Embedded plain-pixel strikes are used as they are, at their own size.
        if (matrix || slot->bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return {};
        QImage image(int(slot->bitmap.width), int(slot->bitmap.rows), QImage::Format_Mono);
        if (image.isNull()) return {};
        image.setColorTable({qRgba(0, 0, 0, 0), colour});
        const int bytes = std::min(int(image.bytesPerLine()), (image.width() + 7) / 8);
        for (int y = 0; y < image.height(); ++y)
            std::copy_n(slot->bitmap.buffer + y * slot->bitmap.pitch, bytes, image.scanLine(y));
        *at = QPoint(slot->bitmap_left, -slot->bitmap_top);
        return image;
    }
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return {};
    const QSize size = PlaceOutline(slot, matrix, at);
    if (size.isEmpty()) return {};
    QImage image(size, QImage::Format_Mono);
    image.fill(0);
    image.setColorTable({qRgba(0, 0, 0, 0), colour});
    FillOutline(library, slot, image, FT_PIXEL_MODE_MONO);
    return image;
}

constexpr int kGreyLevels = 16;  // coverage comes in 17 steps, 0 to 16

// The loaded glyph's coverage in 17 levels (0 none, 16 full), placed as
// GlyphImage places its pictures.
QImage GlyphLevels(FT_Library library, FT_GlyphSlot slot, const FT_Matrix* matrix, QPoint* at) {
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return {};
    const QSize size = PlaceOutline(slot, matrix, at);
    if (size.isEmpty()) return {};
    QImage image(size, QImage::Format_Grayscale8);
    image.fill(0);
    FillOutline(library, slot, image, FT_PIXEL_MODE_GRAY);
    for (int y = 0; y < image.height(); ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x) line[x] = uchar(line[x] * (kGreyLevels + 1) / 256);
    }
    return image;
}

// How the system mixes a coverage level with what lies below: not a linear
// blend but a contrast ramp, the intensity each level gives full text on a
// black ground (and, read backwards, none on a white one); other grounds are
// interpolated between those ends. The lowest level leaves the ground alone.
class GreyBlend {
public:
    explicit GreyBlend(QRgb colour) : text_{qRed(colour), qGreen(colour), qBlue(colour)} {
        static constexpr int kRamp[kGreyLevels + 1] = {0,   77,  104, 124, 140, 154, 167, 178, 189,
                                                       199, 208, 217, 225, 233, 240, 248, 255};
        for (int level = 0; level <= kGreyLevels; ++level)
            for (int c = 0; c < 3; ++c) {
                const int back = kRamp[kGreyLevels - level];
                low_[level][c] = kRamp[level] * text_[c] / 255;
                high_[level][c] = back + (255 - back) * text_[c] / 255;
            }
    }

    QRgb Mix(QRgb ground, int level) const {
        if (level >= kGreyLevels) return qRgb(text_[0], text_[1], text_[2]);
        const int under[3] = {qRed(ground), qGreen(ground), qBlue(ground)};
        int out[3];
        for (int c = 0; c < 3; ++c) {
            const int d = under[c], t = text_[c];
            out[c] = d == t  ? d
                     : d > t ? t + (d - t) * (high_[level][c] - t) / (255 - t)
                             : t - (t - d) * (t - low_[level][c]) / t;
        }
        return qRgb(out[0], out[1], out[2]);
    }

private:
    int text_[3];
    int low_[kGreyLevels + 1][3], high_[kGreyLevels + 1][3];
};

// Mixes `levels` into `target` with its top left at `at`, inside `clip` when
// there is one.
void BlendLevels(QImage& target, const std::optional<QRegion>& clip, const QPoint& at,
                 const QImage& levels, const GreyBlend& blend) {
    const QRect box = QRect(at, levels.size()) & target.rect();
    if (box.isEmpty()) return;
    const QRegion area = clip ? clip->intersected(box) : QRegion(box);
    for (const QRect& r : area) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const uchar* level = levels.constScanLine(y - at.y()) - at.x();
            auto* line = reinterpret_cast<QRgb*>(target.scanLine(y));
            for (int x = r.left(); x <= r.right(); ++x)
                if (level[x] > 1) line[x] = blend.Mix(line[x], level[x]);
        }
    }
}

// The shape as FreeType's matrix (16.16, y up); none for the identity.
std::optional<FT_Matrix> OutlineMatrix(const QTransform& shape) {
    if (shape.m11() == 1 && shape.m22() == 1 && shape.m12() == 0 && shape.m21() == 0)
        return std::nullopt;
    const auto fixed = [](double v) { return FT_Fixed(std::lround(v * 65536.0)); };
    return FT_Matrix{fixed(shape.m11()), fixed(-shape.m21()), fixed(-shape.m12()),
                     fixed(shape.m22())};
}

// Underline and strike-out bars from the face's own positions and sizes.
void PaintDecorations(QPainter& p, FT_Face face, const FontGlyphRun& run, const QPoint& end,
                      QRgb colour) {
    const double unit = run.ppem * std::abs(run.shape.m22()) / face->units_per_EM;
    const auto bar = [&](double position, double size) {
        const int thickness = std::max(1, int(std::lround(size * unit)));
        const int y = int(std::lround(-position * unit - thickness / 2.0));
        const QPoint start = run.origins.first();
        p.fillRect(QRect(start.x(), start.y() + y, end.x() - start.x(), thickness), QColor(colour));
    };
    if (run.underline) bar(face->underline_position, face->underline_thickness);
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (run.strikeOut && os2) bar(os2->yStrikeoutPosition, os2->yStrikeoutSize);
}

}  // namespace

// A smoothed glyph as it was last made: its levels, where they lie from the
// origin, and its advance in fitted pixels. Text repeats its letters, and
// running the font's instructions for each costs more than the drawing.
struct GreyGlyph {
    QImage levels;
    QPoint at;
    double advance = 0;
};

// Smoothed glyphs kept per thread, up to a budget of pixels: a page of large
// lettering must not hold on to gigabytes of pictures.
struct GreyGlyphCache {
    static constexpr qint64 kBudget = 64 << 20;  // bytes of coverage pictures
    QHash<QByteArray, std::optional<GreyGlyph>> glyphs;
    qint64 bytes = 0;

    void Keep(const QByteArray& key, std::optional<GreyGlyph> glyph) {
        const qint64 size = glyph ? glyph->levels.sizeInBytes() : 0;
        if (bytes + size > kBudget) glyphs.clear(), bytes = 0;
        glyphs.insert(key, std::move(glyph));
        bytes += size;
    }
};

// The smoothed glyph `glyph` of `face` at the size set, loading and keeping
// it on first use; null when it cannot be loaded.
const GreyGlyph* SmoothGlyph(FT_Library library, FT_Face face, const FaceFile& file, int ppem,
                             const FT_Matrix* matrix, quint32 glyph) {
    thread_local GreyGlyphCache made;
    const FT_Matrix none{};
    const FT_Matrix& mm = matrix ? *matrix : none;
    const std::array<qint64, 8> parts{qint64(reinterpret_cast<quintptr>(face)),
                                      ppem,
                                      mm.xx,
                                      mm.xy,
                                      mm.yx,
                                      mm.yy,
                                      glyph,
                                      file.emboldened};
    const QByteArray key(reinterpret_cast<const char*>(parts.data()), sizeof(parts));
    if (!made.glyphs.contains(key)) {
        std::optional<GreyGlyph> g;
        if (LoadGlyph(face, glyph, false, true)) {
            if (file.emboldened) Embolden(face->glyph, ppem);
            g.emplace();
            g->advance = face->glyph->advance.x / 64.0;
            g->levels = GlyphLevels(library, face->glyph, matrix, &g->at);
        }
        made.Keep(key, std::move(g));
    }
    const auto it = made.glyphs.constFind(key);
    return *it ? &**it : nullptr;
}

bool PaintFontGlyphs(QImage& target, const std::optional<QRegion>& clip, const FontGlyphRun& run,
                     QRgb colour) {
    FaceCache& cache = Cache();
    const std::optional<FaceFile> file = cache.FileFor(run.font);
    FT_Face face = file ? cache.Open(*file) : nullptr;
    if (!face || run.ppem <= 0) return false;
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(run.ppem)) != 0) return false;
    // Smoothed glyphs are mixed into 32-bit pixels; other pictures take the outlines.
    if (run.smooth && target.format() != QImage::Format_RGB32 &&
        target.format() != QImage::Format_ARGB32)
        return false;
    const std::optional<FT_Matrix> matrix = OutlineMatrix(run.shape);
    const FT_Matrix* m = matrix ? &*matrix : nullptr;
    const GreyBlend blend(colour);
    // Smoothed glyphs are mixed straight into the pixels, so no painter is open then.
    std::optional<QPainter> painter;
    const auto paint = [&]() -> QPainter& {
        if (!painter) {
            painter.emplace(&target);
            if (clip) painter->setClipRegion(*clip);
        }
        return *painter;
    };
    QPoint end = run.origins.isEmpty() ? QPoint() : run.origins.last();
    for (qsizetype i = 0; i < run.glyphs.size() && i < run.origins.size(); ++i) {
        if (run.smooth) {
            const GreyGlyph* g =
                SmoothGlyph(cache.Library(), face, *file, run.ppem, m, run.glyphs[i]);
            if (!g) continue;
            end = run.origins[i] +
                  (run.shape.map(QPointF(g->advance, 0)) - run.shape.map(QPointF())).toPoint();
            if (!g->levels.isNull())
                BlendLevels(target, clip, run.origins[i] + g->at, g->levels, blend);
            continue;
        }
        if (!LoadGlyph(face, run.glyphs[i], !matrix, false)) continue;
        if (file->emboldened) Embolden(face->glyph, run.ppem);
        const QPointF advance =
            run.shape.map(QPointF(face->glyph->advance.x / 64.0, 0)) - run.shape.map(QPointF());
        end = run.origins[i] + advance.toPoint();
        QPoint at;
        const QImage image = GlyphImage(cache.Library(), face->glyph, m, colour, &at);
        if (!image.isNull()) paint().drawImage(run.origins[i] + at, image);
    }
    if ((run.underline || run.strikeOut) && !run.origins.isEmpty())
        PaintDecorations(paint(), face, run, end, colour);
    return true;
}

}  // namespace corvan::emf
