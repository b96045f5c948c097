#include "placement/cropmarkfile.h"

#include <cstring>

namespace corvan {

namespace {

constexpr std::size_t kHeaderBytes = 24;
constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::size_t kEmfMinHeader = 88;

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

float F32(std::span<const std::uint8_t> b, std::size_t at) {
    const std::uint32_t bits = U32(b, at);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutF32(std::vector<std::uint8_t>& out, float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    PutU32(out, bits);
}

// Length of the metafile starting at `at`, from its header's byte count;
// zero when the header is not a metafile header or the length runs past the end.
std::size_t MetafileLength(std::span<const std::uint8_t> b, std::size_t at, std::string* reason) {
    const std::size_t left = b.size() - at;
    if (left < kEmfMinHeader) {
        if (reason) *reason = "truncated corner picture";
        return 0;
    }
    if (U32(b, at) != kEmrHeader || U32(b, at + 40) != kEmfSignature) {
        if (reason) *reason = "corner picture is not a metafile";
        return 0;
    }
    const std::uint32_t n = U32(b, at + 48);
    if (n < kEmfMinHeader || n > left) {
        if (reason) *reason = "corner picture length runs past the end of the file";
        return 0;
    }
    return n;
}

}  // namespace

bool HasCropMarkSignature(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 4 && F32(bytes, 0) == kCropMarkSignature;
}

std::optional<CropMarkFile> ParseCropMarkFile(std::span<const std::uint8_t> bytes, std::string* reason) {
    if (!HasCropMarkSignature(bytes)) {
        if (reason) *reason = "not a crop-mark file";
        return std::nullopt;
    }
    if (bytes.size() < kHeaderBytes) {
        if (reason) *reason = "truncated header";
        return std::nullopt;
    }
    CropMarkFile file;
    file.size = F32(bytes, 4);
    std::size_t at = kHeaderBytes;
    for (auto& corner : file.corners) {
        const std::size_t n = MetafileLength(bytes, at, reason);
        if (n == 0) return std::nullopt;
        corner.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                      bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    }
    file.preview.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end());
    return file;
}

std::vector<std::uint8_t> BuildCropMarkFile(const CropMarkFile& file) {
    std::vector<std::uint8_t> out;
    PutF32(out, kCropMarkSignature);
    PutF32(out, file.size);
    for (int i = 0; i < 4; ++i) PutF32(out, 0);
    for (const auto& c : file.corners) out.insert(out.end(), c.begin(), c.end());
    out.insert(out.end(), file.preview.begin(), file.preview.end());
    return out;
}

}  // namespace corvan
