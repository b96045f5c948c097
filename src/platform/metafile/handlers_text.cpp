// Records that draw text.
#include "platform/metafile/gdi_text.h"
#include "platform/metafile/record_handlers.h"

namespace corvan::emf {
namespace {

constexpr std::uint32_t kEtoNoRect = 0x100;
constexpr std::uint32_t kEtoSmallChars = 0x200;

// Characters at `offset` in the record: 8-bit (Latin-1) or UTF-16 units.
QString ReadChars(const EmfRecord& rec, std::uint32_t offset, std::uint32_t count, bool wide) {
    const std::uint64_t bytes = std::uint64_t{count} * (wide ? 2 : 1);
    if (count == 0 || !RangeInside(offset, bytes, rec.bytes.size())) return {};
    ByteReader r(rec.bytes, offset);
    QString s;
    s.reserve(int(count));
    for (std::uint32_t i = 0; i < count; ++i) s.append(QChar(wide ? r.U16() : char16_t(r.U8())));
    return s;
}

// One text item (EMRTEXT) at the reader's position.
bool ReadText(PlayContext& c, ByteReader& r, bool wide, TextRun* run) {
    run->reference = ReadPointL(r);
    const std::uint32_t chars = r.U32();
    const std::uint32_t offString = r.U32();
    run->options = r.U32();
    run->rect = ReadBox(r);
    const std::uint32_t offDx = r.U32();
    if (!r.Ok()) return false;
    run->text = ReadChars(c.record, offString, chars, wide);
    const bool pdy = run->options & kEtoPdy;
    const std::uint64_t dxBytes = std::uint64_t{chars} * (pdy ? 8 : 4);
    if (offDx != 0 && run->text.size() > 0 && RangeInside(offDx, dxBytes, c.record.bytes.size())) {
        ByteReader d(c.record.bytes, offDx);
        for (std::uint32_t i = 0; i < chars; ++i) {
            const double x = d.I32();
            run->advances.emplace_back(x, pdy ? d.I32() : 0);
        }
    }
    return !run->text.isEmpty() || (run->options & kEtoOpaque);
}

// The graphics mode a text record was made in; then the scales of the
// recording device, which play no part.
std::uint32_t ReadGraphicsMode(ByteReader& r) {
    const std::uint32_t mode = r.U32();
    r.Skip(8);
    return mode == kAdvanced ? kAdvanced : kCompatible;
}

template <bool kWide>
void ExtTextOut(PlayContext& c, ByteReader& r) {
    r.Skip(16);  // bounds
    TextRun run;
    run.graphicsMode = ReadGraphicsMode(r);
    if (ReadText(c, r, kWide, &run)) DrawText(c.dc, run);
}

template <bool kWide>
void PolyTextOut(PlayContext& c, ByteReader& r) {
    r.Skip(16);
    const std::uint32_t mode = ReadGraphicsMode(r);
    const std::uint32_t n = r.U32();
    for (std::uint32_t i = 0; i < n && r.Ok(); ++i) {
        TextRun run;
        run.graphicsMode = mode;
        if (ReadText(c, r, kWide, &run)) DrawText(c.dc, run);
    }
}

void SmallTextOut(PlayContext& c, ByteReader& r) {
    TextRun run;
    run.reference = ReadPointL(r);
    const std::uint32_t chars = r.U32();
    run.options = r.U32();
    run.graphicsMode = ReadGraphicsMode(r);
    if (!(run.options & kEtoNoRect)) run.rect = ReadBox(r);
    if (!r.Ok()) return;
    const bool wide = !(run.options & kEtoSmallChars);
    run.text = ReadChars(c.record, static_cast<std::uint32_t>(r.Pos()), chars, wide);
    if (!run.text.isEmpty()) DrawText(c.dc, run);
}

}  // namespace

void RegisterTextHandlers(HandlerTable& t) {
    t[kExtTextOutW] = &ExtTextOut<true>;
    t[kExtTextOutA] = &ExtTextOut<false>;
    t[kPolyTextOutW] = &PolyTextOut<true>;
    t[kPolyTextOutA] = &PolyTextOut<false>;
    t[kSmallTextOut] = &SmallTextOut;
}

}  // namespace corvan::emf
