#include "platform/base64.h"

#include <algorithm>
#include <array>

namespace corvan {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint8_t kSkip = 0xFE;
constexpr std::uint8_t kInvalid = 0xFF;
constexpr std::uint8_t kPad = 0xFD;

constexpr std::array<std::uint8_t, 256> MakeDecodeTable() {
    std::array<std::uint8_t, 256> table{};
    table.fill(kInvalid);
    for (std::uint8_t i = 0; i < 64; ++i) table[static_cast<unsigned char>(kAlphabet[i])] = i;
    for (char c : {' ', '\t', '\r', '\n'}) table[static_cast<unsigned char>(c)] = kSkip;
    table['='] = kPad;
    return table;
}

constexpr auto kDecodeTable = MakeDecodeTable();

void EncodeGroup(const std::uint8_t* in, std::size_t n, std::string& out) {
    const std::uint32_t v =
        (std::uint32_t{in[0]} << 16) | (n > 1 ? in[1] << 8 : 0) | (n > 2 ? in[2] : 0);
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += n > 1 ? kAlphabet[(v >> 6) & 63] : '=';
    out += n > 2 ? kAlphabet[v & 63] : '=';
}

std::string CharText(char c, std::size_t at) {
    const auto u = static_cast<unsigned char>(c);
    const std::string shown =
        (u >= 0x20 && u < 0x7F) ? std::string("'") + c + "'" : "byte " + std::to_string(u);
    return shown + " at position " + std::to_string(at);
}

}  // namespace

std::string Base64Encode(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3)
        EncodeGroup(bytes.data() + i, std::min<std::size_t>(3, bytes.size() - i), out);
    return out;
}

std::vector<std::string> Base64EncodeLines(std::span<const std::uint8_t> bytes,
                                           std::size_t bytesPerLine) {
    const std::size_t perLine = std::max<std::size_t>(3, (bytesPerLine + 2) / 3 * 3);
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < bytes.size(); i += perLine)
        lines.push_back(Base64Encode(bytes.subspan(i, std::min(perLine, bytes.size() - i))));
    return lines;
}

Outcome<std::vector<std::uint8_t>> Base64Decode(std::string_view text) {
    std::vector<std::uint8_t> out;
    out.reserve(text.size() / 4 * 3);
    std::uint32_t group = 0;
    std::size_t inGroup = 0;  // sextets collected in the current group
    std::size_t pads = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::uint8_t code = kDecodeTable[static_cast<unsigned char>(text[i])];
        if (code == kSkip) continue;
        if (code == kInvalid) return Failure{"Invalid Base64 character " + CharText(text[i], i)};
        if (code == kPad) {
            // Padding may only fill the last one or two places of the final group.
            if (inGroup + pads < 2 || pads == 2)
                return Failure{"Misplaced Base64 padding " + CharText(text[i], i)};
            ++pads;
        } else {
            if (pads > 0)
                return Failure{"Base64 data continues after padding " + CharText(text[i], i)};
            group = (group << 6) | code;
            ++inGroup;
        }
        if (inGroup + pads < 4) continue;
        group <<= 6 * pads;
        for (std::size_t k = 0; k < 3 - pads; ++k)
            out.push_back(static_cast<std::uint8_t>(group >> (16 - 8 * k)));
        group = 0;
        inGroup = 0;
        if (pads == 0) continue;
        // Only blanks may follow the padded group.
        for (std::size_t j = i + 1; j < text.size(); ++j)
            if (kDecodeTable[static_cast<unsigned char>(text[j])] != kSkip)
                return Failure{"Base64 data continues after padding " + CharText(text[j], j)};
        return out;
    }
    if (inGroup + pads != 0) return Failure{"Base64 text ends inside a 4-character group"};
    return out;
}

}  // namespace corvan
