#pragma once
// Crop-mark files (".mrk"): a signature, the mark size, four reserved
// floats, four enhanced metafiles (top-left, top-right, bottom-left,
// bottom-right corner pictures, each as long as its own header says) and a
// 40 x 40 BMP preview to the end of the file. Little-endian throughout.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace corvan {

inline constexpr float kCropMarkSignature = 4597.0f;

struct CropMarkFile {
    float size = 0;  // mark size in mm
    std::array<std::vector<std::uint8_t>, 4> corners;  // TL, TR, BL, BR metafiles
    std::vector<std::uint8_t> preview;                  // BMP file bytes
};

// True when the first four bytes hold the signature.
bool HasCropMarkSignature(std::span<const std::uint8_t> bytes);
// Parses a whole file; empty with a reason for a wrong signature, a
// truncated file or a metafile whose header lies about its length.
std::optional<CropMarkFile> ParseCropMarkFile(std::span<const std::uint8_t> bytes, std::string* reason);
// Builds the bytes of a crop-mark file (for our own shipped marks and tests).
std::vector<std::uint8_t> BuildCropMarkFile(const CropMarkFile& file);

}  // namespace corvan
