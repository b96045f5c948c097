// Reading metafiles: the header, and refusal of what is not a metafile or is
// damaged, without reading outside the data.
#include "support/metafile_fixture.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstring>

namespace corvan::test {
namespace {

using namespace corvan::emf;

std::vector<std::uint8_t> Sample() {
    EmfWriter w(RectL{10, 20, 5010, 3020}, {1920, 1080}, {508, 286});
    w.SetDescription(std::u16string(u"Corvan\0test\0", 12));
    w.SelectObject(w.CreatePen(kPsSolid, 2, 0x0000FF));
    const QPoint line[] = {{1, 1}, {50, 40}, {90, 10}};
    w.Poly(kPolyline, line);
    w.Box(kRectangle, QRect(5, 5, 20, 10));
    return w.Finish();
}

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    std::memcpy(b.data() + at, &v, 4);
}

// Offset of the first record of `type` in a sound file.
std::size_t OffsetOf(const std::vector<std::uint8_t>& bytes, std::uint32_t type) {
    auto reader = EmfReader::OpenMemory(bytes);
    RecordCursor cursor(*reader);
    EmfRecord rec;
    while (cursor.Next(rec))
        if (rec.type == type) return rec.offset;
    ADD_FAILURE() << "no record of type " << type;
    return 0;
}

TEST(MetafileReader, HeaderFields) {
    const auto bytes = Sample();
    std::string error;
    auto reader = EmfReader::OpenMemory(bytes, &error);
    ASSERT_TRUE(reader) << error;
    const EmfHeader& h = reader->Header();
    EXPECT_EQ(h.frame, (RectL{10, 20, 5010, 3020}));
    EXPECT_EQ(h.bounds, (RectL{1, 1, 90, 40}));
    EXPECT_EQ(h.devicePixels, (SizeL{1920, 1080}));
    EXPECT_EQ(h.deviceMillimetres, (SizeL{508, 286}));
    EXPECT_EQ(h.deviceMicrometres, (SizeL{508000, 286000}));
    EXPECT_EQ(h.records, 6u);  // header, pen, select, polyline, rectangle, end
    EXPECT_EQ(h.bytes, bytes.size());
    EXPECT_EQ(h.handles, 2u);
    EXPECT_EQ(h.description, std::u16string(u"Corvan\0test\0", 12));
    EXPECT_EQ(h.paletteCount, 0u);
    RecordCursor cursor(*reader);
    EmfRecord rec;
    std::vector<std::uint32_t> types;
    while (cursor.Next(rec)) types.push_back(rec.type);
    EXPECT_FALSE(cursor.Damaged()) << cursor.Reason();
    EXPECT_EQ(types, (std::vector<std::uint32_t>{kHeader, kCreatePen, kSelectObject, kPolyline,
                                                 kRectangle, kEof}));
}

TEST(MetafileReader, OpenFileReportsMissingFile) {
    std::string error;
    EXPECT_FALSE(EmfReader::OpenFile("/nonexistent/layer.emf", &error));
    EXPECT_NE(error.find("/nonexistent/layer.emf"), std::string::npos);
}

struct HeaderDamage {
    const char* name;
    std::size_t at;  // where to write
    std::uint32_t value;
    std::size_t keep;  // bytes kept (0 = all)
};

class DamagedHeaders : public ::testing::TestWithParam<HeaderDamage> {};

TEST_P(DamagedHeaders, AreRefused) {
    const HeaderDamage& d = GetParam();
    auto bytes = Sample();
    if (d.at + 4 <= bytes.size()) Put32(bytes, d.at, d.value);
    if (d.keep) bytes.resize(d.keep);
    std::string error;
    EXPECT_FALSE(EmfReader::OpenMemory(bytes, &error)) << d.name;
    EXPECT_FALSE(error.empty()) << d.name;
}

INSTANTIATE_TEST_SUITE_P(Metafile, DamagedHeaders,
                         ::testing::Values(HeaderDamage{"wrong_type", 0, 2, 0},
                                           HeaderDamage{"wrong_signature", 40, 0x464D4521, 0},
                                           HeaderDamage{"header_too_small", 4, 80, 0},
                                           HeaderDamage{"header_misaligned", 4, 110, 0},
                                           HeaderDamage{"header_beyond_file", 4, 0x7FFFFFF0, 0},
                                           HeaderDamage{"length_below_header", 48, 40, 0},
                                           HeaderDamage{"shorter_than_a_header", 0, 1, 60},
                                           HeaderDamage{"empty", 0, 0, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

struct RecordDamage {
    const char* name;
    std::uint32_t type;  // the record to damage
    std::size_t field;   // byte offset inside it
    std::uint32_t value;
    const char* reason;  // part of the reason
};

class DamagedRecords : public ::testing::TestWithParam<RecordDamage> {};

// Playing `bytes` onto a small picture.
PlaybackResult PlayBytes(const EmfReader& reader) {
    auto image = Bitmap24::Create(100, 60);
    image->Fill(0xFFFFFF);
    GdiDevice dc(*image);
    return PlayMetafile(dc, reader, QRect(0, 0, 100, 60));
}

// The sample file with one field of one record overwritten.
std::unique_ptr<EmfReader> OpenDamaged(const RecordDamage& d) {
    auto bytes = Sample();
    Put32(bytes, OffsetOf(bytes, d.type) + d.field, d.value);
    return EmfReader::OpenMemory(bytes);
}

// A record whose size cannot be trusted ends the walk: every record before
// it is handed out, then the walk stops with a reason naming it; playback
// draws what came before.
TEST_P(DamagedRecords, EndTheWalkWithAReason) {
    const RecordDamage& d = GetParam();
    auto reader = OpenDamaged(d);
    ASSERT_TRUE(reader);
    RecordCursor cursor(*reader);
    EmfRecord rec;
    std::uint32_t last = 0;
    while (cursor.Next(rec)) last = rec.type;
    EXPECT_TRUE(cursor.Damaged()) << d.name;
    EXPECT_NE(cursor.Reason().find(d.reason), std::string::npos)
        << d.name << ": " << cursor.Reason();
    EXPECT_NE(last, d.type) << d.name;
    EXPECT_NE(last, kEof) << d.name;

    const auto result = PlayBytes(*reader);
    EXPECT_FALSE(result.complete) << d.name;
    EXPECT_EQ(result.reason, cursor.Reason());
}

INSTANTIATE_TEST_SUITE_P(
    Metafile, DamagedRecords,
    ::testing::Values(RecordDamage{"size_too_small", kPolyline, 4, 6, "bad record size"},
                      RecordDamage{"size_misaligned", kPolyline, 4, 30, "bad record size"},
                      RecordDamage{"size_wraps", kPolyline, 4, 0xFFFFFFF8, "bad record size"},
                      RecordDamage{"size_beyond_file", kRectangle, 4, 4096, "bad record size"},
                      // Too short for a rectangle: passed over, but the walk then
                      // lands inside the rectangle's own fields.
                      RecordDamage{"short_fixed_part", kRectangle, 4, 16, "bad record size"}),
    [](const auto& info) { return std::string(info.param.name); });

class DamagedInsides : public ::testing::TestWithParam<RecordDamage> {};

// A record of sound size whose inside is damaged is passed over with a note
// naming it, and the walk goes on to the end record, as the Windows player
// does; nothing of the damaged record is handed out to be played.
TEST_P(DamagedInsides, AreSkippedAndTheWalkGoesOn) {
    const RecordDamage& d = GetParam();
    auto reader = OpenDamaged(d);
    ASSERT_TRUE(reader);
    RecordCursor cursor(*reader);
    EmfRecord rec;
    std::vector<std::uint32_t> types;
    while (cursor.Next(rec)) types.push_back(rec.type);
    EXPECT_FALSE(cursor.Damaged()) << d.name << ": " << cursor.Reason();
    ASSERT_EQ(cursor.Skipped().size(), 1u) << d.name;
    EXPECT_NE(cursor.Skipped()[0].find(d.reason), std::string::npos)
        << d.name << ": " << cursor.Skipped()[0];
    EXPECT_EQ(std::count(types.begin(), types.end(), d.type), 0) << d.name;
    EXPECT_EQ(types.size(), 5u) << d.name;  // six records less the damaged one
    EXPECT_EQ(types.back(), kEof) << d.name;

    const auto result = PlayBytes(*reader);
    EXPECT_TRUE(result.complete) << d.name << ": " << result.reason;
    EXPECT_EQ(result.skipped, cursor.Skipped());
}

INSTANTIATE_TEST_SUITE_P(
    Metafile, DamagedInsides,
    ::testing::Values(RecordDamage{"huge_point_count", kPolyline, 24, 0x7FFFFFFF, "overruns"},
                      RecordDamage{"bad_create_index", kCreatePen, 8, 7, "handle table"},
                      RecordDamage{"bad_select_index", kSelectObject, 8, 9, "handle table"}),
    [](const auto& info) { return std::string(info.param.name); });

// A text record cut to 12 bytes between sound records: the text is passed
// over and what follows it is drawn.
TEST(MetafileReader, ShortTextRecordIsSkippedAndPlayGoesOn) {
    EmfWriter w = PixelWriter(20, 20);
    w.SelectStock(kBlackBrush);
    w.SelectStock(kNullPen);
    const std::uint8_t cut[4] = {};
    w.RawRecord(kExtTextOutW, cut);
    w.Box(kRectangle, QRect(5, 5, 15, 15));
    auto bytes = w.Finish();
    auto reader = EmfReader::OpenMemory(bytes);
    ASSERT_TRUE(reader);
    auto image = Blank(20, 20);
    PlaybackResult result;
    {
        GdiDevice dc(*image);
        result = PlayMetafile(dc, *reader, QRect(0, 0, 20, 20));
    }
    EXPECT_TRUE(result.complete) << result.reason;
    ASSERT_EQ(result.skipped.size(), 1u);
    EXPECT_NE(result.skipped[0].find("type 84"), std::string::npos) << result.skipped[0];
    EXPECT_EQ(image->Pixel(10, 10), 0x000000u);
}

TEST(MetafileReader, TruncatedFileStopsAtTheCut) {
    auto bytes = Sample();
    bytes.resize(OffsetOf(bytes, kRectangle) + 12);
    auto reader = EmfReader::OpenMemory(bytes);
    ASSERT_TRUE(reader);  // the header is whole; the records end early
    RecordCursor cursor(*reader);
    EmfRecord rec;
    int n = 0;
    while (cursor.Next(rec)) ++n;
    EXPECT_EQ(n, 4);
    EXPECT_TRUE(cursor.Damaged());
}

// Why the walk over `bytes` stopped or passed over a record; empty when it
// went through every record to the end record.
std::string WalkReason(const std::vector<std::uint8_t>& bytes) {
    auto reader = EmfReader::OpenMemory(bytes);
    RecordCursor cursor(*reader);
    EmfRecord rec;
    while (cursor.Next(rec)) {
    }
    std::string reasons = cursor.Reason();
    for (const std::string& why : cursor.Skipped()) reasons += why;
    return reasons;
}

TEST(MetafileReader, CountsInsideVariableRecords) {
    // Polygon point counts that add up to more than the stated total.
    EmfWriter w(RectL{0, 0, 100, 100});
    w.PolyPoly(kPolyPolygon, {{{0, 0}, {5, 0}, {5, 5}}, {{1, 1}, {2, 2}, {1, 2}}});
    auto bytes = w.Finish();
    Put32(bytes, OffsetOf(bytes, kPolyPolygon) + 32, 5);
    const std::string reason = WalkReason(bytes);
    EXPECT_NE(reason.find("exceed"), std::string::npos) << reason;
}

TEST(MetafileReader, RegionRectangleCountInsideTheRecord) {
    EmfWriter w(RectL{0, 0, 100, 100});
    w.SelectClipRegion({QRect(0, 0, 5, 5)}, kRgnCopy);
    auto bytes = w.Finish();
    Put32(bytes, OffsetOf(bytes, kExtSelectClipRgn) + 16 + 8, 1000);
    const std::string reason = WalkReason(bytes);
    EXPECT_NE(reason.find("region"), std::string::npos) << reason;
}

TEST(MetafileReader, ListLayerFontsDistinctIgnoringCase) {
    QTemporaryDir dir;
    EmfWriter w(RectL{0, 0, 100, 100});
    for (const char16_t* face : {u"Arial", u"arial", u"Times New Roman", u"ARIAL", u"Courier New"})
        w.CreateFont(face, -12);
    const std::string path = QDir(dir.path()).filePath("fonts.emf").toStdString();
    ASSERT_TRUE(w.Save(path));
    EXPECT_EQ(ListLayerFonts(path),
              (std::vector<std::string>{"Arial", "Times New Roman", "Courier New"}));
    EXPECT_TRUE(ListLayerFonts(path + ".missing").empty());
}

}  // namespace
}  // namespace corvan::test
