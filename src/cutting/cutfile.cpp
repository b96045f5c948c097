#include "cutting/cutfile.h"

#include "cutting/lzhuf.h"
#include "job/emffile.h"
#include "job/jobsession.h"
#include "platform/bmpfile.h"
#include "platform/companions.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/numbers.h"

#include <QDateTime>

#include <cstdio>
#include <cstring>

namespace corvan {

namespace {

class Writer {
public:
    void U8(std::uint8_t v) { out.push_back(v); }
    void U16(std::uint16_t v) { Raw(&v, 2); }
    void I32(std::int32_t v) { Raw(&v, 4); }
    void F32(float v) { Raw(&v, 4); }
    void F64(double v) { Raw(&v, 8); }
    void Zero(std::size_t n) { out.insert(out.end(), n, 0); }
    void ShortString(const char* text, std::size_t blockSize) {
        const std::size_t n = std::strlen(text);
        U8(static_cast<std::uint8_t>(n));
        out.insert(out.end(), text, text + n);
        Zero(blockSize - 1 - n);
    }
    void Bytes(std::span<const std::uint8_t> b) { out.insert(out.end(), b.begin(), b.end()); }
    std::vector<std::uint8_t> out;

private:
    // Little-endian hosts only, as the file is.
    void Raw(const void* p, std::size_t n) {
        const auto* b = static_cast<const std::uint8_t*>(p);
        out.insert(out.end(), b, b + n);
    }
};

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> b) : b_(b) {}
    bool Has(std::size_t n) const { return n <= b_.size() - pos_; }
    template <typename T>
    T Get() {
        T v{};
        std::memcpy(&v, b_.data() + pos_, sizeof v);
        pos_ += sizeof v;
        return v;
    }
    std::span<const std::uint8_t> Take(std::size_t n) {
        auto s = b_.subspan(pos_, n);
        pos_ += n;
        return s;
    }
    void Seek(std::size_t at) { pos_ = at; }

private:
    std::span<const std::uint8_t> b_;
    std::size_t pos_ = 0;
};

constexpr std::uint8_t kSignature[4] = {0x21, 0x48, 0x5A, 0x4C};  // "!HZL"
constexpr std::size_t kRecordSize = 10;

std::uint16_t SizeField(float mm) {
    const std::int64_t v = RoundHalfEven(mm) + 1;
    return static_cast<std::uint16_t>(v < 0 ? 0 : (v > 0xFFFF ? 0xFFFF : v));
}

}  // namespace

std::vector<CutPointRecord> CutPointRecords(TemfFile& job, const ContourPath& path) {
    std::vector<CutPointRecord> records;
    records.reserve(path.points.size() * static_cast<std::size_t>(std::max(job.Copies, 0)));
    const long double farEdge = static_cast<long double>(job.XOffset) + job.MediaUsedWidth;
    for (int n = 1; n <= job.Copies; ++n) {
        float x1, y1, x2, y2;
        job.GetCopyRect(n, x1, y1, x2, y2);
        for (std::size_t i = 0; i < path.points.size(); ++i) {
            const IntPoint p = path.points[i];
            CutPointRecord r;
            r.y =
                static_cast<float>(static_cast<long double>(y1) + job.YOffset + p.y * 0.1L + 0.5L);
            r.x = static_cast<float>(
                farEdge - (static_cast<long double>(x1) + job.XOffset + p.x * 0.1L + 0.5L));
            if ((path.types[i] & kPtMoveTo) == kPtMoveTo)
                r.pen = 1;
            else
                r.pen = i == 0 ? 0 : 2;
            records.push_back(r);
        }
    }
    return records;
}

void SetCutFileSize(CutFileContents& c, float usedLength, float usedWidth) {
    c.lengthField = SizeField(usedLength);
    c.widthField = SizeField(usedWidth);
}

double CutFileTimeNow() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate epoch(1899, 12, 30);
    const double days = static_cast<double>(epoch.daysTo(now.date()));
    return days + now.time().msecsSinceStartOfDay() / 86400000.0;
}

std::vector<std::uint8_t> BuildCutFile(const CutFileContents& c) {
    Writer w;
    w.U16(568);
    w.U16(c.lengthField);
    w.U16(c.widthField);
    w.U16(0xFFFF);
    w.I32(0);
    w.ShortString("Contour", 8);
    w.Zero(33);
    w.U8(0);
    w.Zero(8);
    w.ShortString("CorvanRIP", 10);
    w.Zero(41);
    w.F64(c.created);
    w.U8(1);
    w.U8(1);
    w.U16(1);
    w.U16(0);
    w.Zero(41);
    w.I32(static_cast<std::int32_t>(c.thumbnail.size()));
    w.Bytes(c.thumbnail);

    Writer points;
    for (const auto& r : c.points) {
        points.F32(r.y);
        points.F32(r.x);
        points.U16(static_cast<std::uint16_t>(r.pen));
    }
    const auto coded = LzhufEncode(points.out);
    w.I32(static_cast<std::int32_t>(coded.size() + 8));
    w.Bytes(kSignature);
    w.I32(static_cast<std::int32_t>(points.out.size()));
    w.Bytes(coded);
    return w.out;
}

std::optional<CutFileContents> ParseCutFile(std::span<const std::uint8_t> bytes,
                                            std::string* reason) {
    auto fail = [&](const char* why) {
        if (reason) *reason = why;
        return std::nullopt;
    };
    Reader r(bytes);
    if (!r.Has(kCutHeaderSize)) return fail("truncated header");
    CutFileContents c;
    if (r.Get<std::uint16_t>() != 568) return fail("not a cut file");
    c.lengthField = r.Get<std::uint16_t>();
    c.widthField = r.Get<std::uint16_t>();
    r.Seek(113);
    c.created = r.Get<double>();
    r.Seek(168);
    const auto thumbLen = r.Get<std::int32_t>();
    if (thumbLen < 0 || !r.Has(static_cast<std::size_t>(thumbLen) + 4))
        return fail("truncated thumbnail");
    auto thumb = r.Take(static_cast<std::size_t>(thumbLen));
    c.thumbnail.assign(thumb.begin(), thumb.end());
    const auto blockLen = r.Get<std::int32_t>();
    if (blockLen < 8 || !r.Has(static_cast<std::size_t>(blockLen)))
        return fail("truncated point data");
    auto block = r.Take(static_cast<std::size_t>(blockLen));
    if (std::memcmp(block.data(), kSignature, 4) != 0)
        return fail("point data lacks its signature");
    std::int32_t plain;
    std::memcpy(&plain, block.data() + 4, 4);
    if (plain < 0 || plain % kRecordSize != 0) return fail("point data has an impossible length");
    auto data = LzhufDecode(block.subspan(8), static_cast<std::size_t>(plain), reason);
    if (!data) return std::nullopt;
    Reader pr(*data);
    while (pr.Has(kRecordSize)) {
        CutPointRecord p;
        p.y = pr.Get<float>();
        p.x = pr.Get<float>();
        p.pen = pr.Get<std::int16_t>();
        c.points.push_back(p);
    }
    return c;
}

bool WriteCutFile(JobSession& app, const std::string& fileName, const Bitmap24* thumbnail,
                  const ContourPath& path) {
    if (!app.CurrentJob) return false;
    TemfFile& job = *app.CurrentJob;
    CutFileContents c;
    SetCutFileSize(c, job.YOffset + job.MediaUsedHeight, job.XOffset + job.MediaUsedWidth);
    c.created = CutFileTimeNow();
    if (thumbnail && thumbnail->Width() > 0 && thumbnail->Height() > 0)
        if (auto bmp = EncodeBmp(*thumbnail)) c.thumbnail = std::move(*bmp);
    c.points = CutPointRecords(job, path);
    const auto bytes = BuildCutFile(c);
    std::string error;
    if (!AtomicWriteFile(
            fileName, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
            &error)) {
        app.Ui().ShowError("Unable to write " + fileName + "\r" + error);
        return false;
    }
    return true;
}

void StartVinylSpooler(JobSession& app) {
    const std::string spooler = FindVinylSpooler();
    if (spooler.empty() || !StartDetached(spooler))
        app.Ui().ShowError("Unable to locate Vinyl Spooler!");
}

std::string NextCutFileName(const std::string& folder) {
    const std::string dir = WithTrailingSlash(folder);
    for (int n = 1; n <= 200; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "%04d.tcf", n);
        if (!FileExists(dir + name)) return dir + name;
    }
    return {};
}

}  // namespace corvan
