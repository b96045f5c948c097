#include "cutting/lzhuf.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace corvan {

namespace {

constexpr int kRing = 4096;             // ring buffer size
constexpr int kLookAhead = 60;          // longest match
constexpr int kThreshold = 2;           // matches must be longer than this
constexpr int kChars = 256 - kThreshold + kLookAhead;  // 314 symbols
constexpr int kTable = kChars * 2 - 1;  // nodes of the Huffman tree
constexpr int kRoot = kTable - 1;
constexpr unsigned kMaxFreq = 0x8000;
constexpr int kStart = kRing - kLookAhead;  // 4036

// Prefix code for the upper 6 bits of a position: one code of 3 bits, three
// of 4, eight of 5, twelve of 6, twenty-four of 7 and sixteen of 8, assigned
// canonically from the top of an 8-bit code space.
struct PositionCode {
    std::array<std::uint8_t, 64> len{};
    std::array<std::uint8_t, 64> code{};
    std::array<std::uint8_t, 256> decodeIndex{};
    std::array<std::uint8_t, 256> decodeLen{};
    PositionCode() {
        const int counts[][2] = {{3, 1}, {4, 3}, {5, 8}, {6, 12}, {7, 24}, {8, 16}};
        int index = 0;
        unsigned next = 0;
        for (const auto& c : counts) {
            for (int k = 0; k < c[1]; ++k, ++index) {
                len[index] = static_cast<std::uint8_t>(c[0]);
                code[index] = static_cast<std::uint8_t>(next);
                const unsigned span = 1u << (8 - c[0]);
                for (unsigned b = next; b < next + span; ++b) {
                    decodeIndex[b] = static_cast<std::uint8_t>(index);
                    decodeLen[b] = static_cast<std::uint8_t>(c[0]);
                }
                next += span;
            }
        }
    }
};

const PositionCode& Positions() {
    static const PositionCode table;
    return table;
}

// The adaptive Huffman tree shared by both directions: leaves are symbols,
// frequencies kept sorted so that a sibling swap keeps the tree valid.
class HuffmanTree {
public:
    HuffmanTree() {
        for (int i = 0; i < kChars; ++i) {
            freq_[i] = 1;
            son_[i] = i + kTable;
            parent_[i + kTable] = i;
        }
        for (int i = 0, j = kChars; j <= kRoot; i += 2, ++j) {
            freq_[j] = freq_[i] + freq_[i + 1];
            son_[j] = i;
            parent_[i] = parent_[i + 1] = j;
        }
        freq_[kTable] = 0xFFFF;
        parent_[kRoot] = 0;
    }

    // Path bits from the root to the symbol's leaf, root first, in the top
    // `length` bits of the result.
    void CodeOf(int symbol, unsigned& code, int& length) const {
        code = 0;
        length = 0;
        int k = parent_[symbol + kTable];
        do {
            code >>= 1;
            if (k & 1) code |= 0x8000;
            ++length;
            k = parent_[k];
        } while (k != kRoot);
    }

    int Root() const { return son_[kRoot]; }
    int Son(int node) const { return son_[node]; }

    void Update(int symbol) {
        if (freq_[kRoot] == kMaxFreq) Rebuild();
        int c = parent_[symbol + kTable];
        do {
            const unsigned k = ++freq_[c];
            int l = c + 1;
            if (k > freq_[l]) {
                while (k > freq_[++l]) {
                }
                --l;
                freq_[c] = freq_[l];
                freq_[l] = k;
                const int i = son_[c];
                parent_[i] = l;
                if (i < kTable) parent_[i + 1] = l;
                const int j = son_[l];
                son_[l] = i;
                parent_[j] = c;
                if (j < kTable) parent_[j + 1] = c;
                son_[c] = j;
                c = l;
            }
            c = parent_[c];
        } while (c != 0);
    }

private:
    // Halves every leaf frequency and rebuilds the tree from the leaves.
    void Rebuild() {
        int j = 0;
        for (int i = 0; i < kTable; ++i) {
            if (son_[i] >= kTable) {
                freq_[j] = (freq_[i] + 1) / 2;
                son_[j] = son_[i];
                ++j;
            }
        }
        for (int i = 0, n = kChars; n < kTable; i += 2, ++n) {
            const unsigned f = freq_[i] + freq_[i + 1];
            int k = n - 1;
            while (f < freq_[k]) --k;
            ++k;
            std::memmove(&freq_[k + 1], &freq_[k], sizeof(freq_[0]) * static_cast<std::size_t>(n - k));
            freq_[k] = f;
            std::memmove(&son_[k + 1], &son_[k], sizeof(son_[0]) * static_cast<std::size_t>(n - k));
            son_[k] = i;
        }
        for (int i = 0; i < kTable; ++i) {
            const int k = son_[i];
            if (k >= kTable) parent_[k] = i;
            else parent_[k] = parent_[k + 1] = i;
        }
    }

    std::array<unsigned, kTable + 1> freq_{};
    std::array<int, kTable + kChars> parent_{};
    std::array<int, kTable> son_{};
};

class BitWriter {
public:
    // Writes the top `length` bits of the 16-bit `code`.
    void Put(int length, unsigned code) {
        for (int i = 0; i < length; ++i) {
            acc_ = static_cast<std::uint8_t>((acc_ << 1) | ((code >> (15 - i)) & 1));
            if (++bits_ == 8) {
                out_.push_back(acc_);
                acc_ = 0;
                bits_ = 0;
            }
        }
    }
    std::vector<std::uint8_t> Finish() {
        if (bits_ > 0) out_.push_back(static_cast<std::uint8_t>(acc_ << (8 - bits_)));
        bits_ = 0;
        return std::move(out_);
    }

private:
    std::vector<std::uint8_t> out_;
    std::uint8_t acc_ = 0;
    int bits_ = 0;
};

class BitReader {
public:
    explicit BitReader(std::span<const std::uint8_t> in) : in_(in) {}
    // Past the end the stream reads as zero bits; Overrun() tells.
    int Bit() {
        if (pos_ >= in_.size() * 8) {
            ++overrun_;
            return 0;
        }
        const int b = (in_[pos_ / 8] >> (7 - pos_ % 8)) & 1;
        ++pos_;
        return b;
    }
    int Byte() {
        int v = 0;
        for (int i = 0; i < 8; ++i) v = (v << 1) | Bit();
        return v;
    }
    // A few padding bits may be read at the very end; more means truncation.
    bool Overrun() const { return overrun_ > 16; }

private:
    std::span<const std::uint8_t> in_;
    std::size_t pos_ = 0;
    std::size_t overrun_ = 0;
};

// Longest earlier occurrence of the bytes at `cur` in the blank-preset stream,
// found through hash chains of three-byte prefixes.
class MatchFinder {
public:
    explicit MatchFinder(const std::vector<std::uint8_t>& s) : s_(s), prev_(s.size(), -1) {
        head_.fill(-1);
    }
    void Insert(std::size_t at) {
        if (at + 3 > s_.size()) return;
        const std::size_t h = Hash(at);
        prev_[at] = head_[h];
        head_[h] = static_cast<std::int64_t>(at);
    }
    // Distance and length of the best match (length 0 when none).
    void Find(std::size_t cur, int maxLen, int& distance, int& length) const {
        distance = length = 0;
        if (cur + 3 > s_.size()) return;
        int chain = 512;
        for (std::int64_t cand = head_[Hash(cur)]; cand >= 0 && chain-- > 0; cand = prev_[cand]) {
            const std::size_t d = cur - static_cast<std::size_t>(cand);
            if (d > static_cast<std::size_t>(kRing - kLookAhead)) break;
            int n = 0;
            while (n < maxLen && s_[static_cast<std::size_t>(cand) + n] == s_[cur + n]) ++n;
            if (n > length) {
                length = n;
                distance = static_cast<int>(d);
                if (n == maxLen) break;
            }
        }
    }

private:
    std::size_t Hash(std::size_t at) const {
        return (static_cast<std::size_t>(s_[at]) << 10 ^ static_cast<std::size_t>(s_[at + 1]) << 5 ^
                s_[at + 2]) & (kHashSize - 1);
    }
    static constexpr std::size_t kHashSize = 1 << 15;
    const std::vector<std::uint8_t>& s_;
    std::vector<std::int64_t> prev_;
    std::array<std::int64_t, kHashSize> head_{};
};

}  // namespace

std::vector<std::uint8_t> LzhufEncode(std::span<const std::uint8_t> data) {
    // The stream as the decoder's ring buffer sees it: blanks, then the data.
    std::vector<std::uint8_t> s;
    s.reserve(static_cast<std::size_t>(kStart) + data.size());
    s.resize(static_cast<std::size_t>(kStart), ' ');
    for (std::uint8_t b : data) s.push_back(b);
    MatchFinder finder(s);
    for (std::size_t i = 0; i < static_cast<std::size_t>(kStart); ++i) finder.Insert(i);

    HuffmanTree tree;
    BitWriter out;
    const PositionCode& pos = Positions();
    auto putSymbol = [&](int symbol) {
        unsigned code;
        int length;
        tree.CodeOf(symbol, code, length);
        out.Put(length, code);
        tree.Update(symbol);
    };

    std::size_t cur = kStart;
    while (cur < s.size()) {
        const int maxLen = static_cast<int>(std::min<std::size_t>(kLookAhead, s.size() - cur));
        int distance, length;
        finder.Find(cur, maxLen, distance, length);
        if (length <= kThreshold) {
            putSymbol(s[cur]);
            length = 1;
        } else {
            putSymbol(255 - kThreshold + length);
            const unsigned c = static_cast<unsigned>(distance - 1);
            const unsigned upper = c >> 6;
            out.Put(pos.len[upper], static_cast<unsigned>(pos.code[upper]) << 8);
            out.Put(6, (c & 0x3F) << 10);
        }
        for (int k = 0; k < length; ++k) finder.Insert(cur + static_cast<std::size_t>(k));
        cur += static_cast<std::size_t>(length);
    }
    return out.Finish();
}

std::optional<std::vector<std::uint8_t>> LzhufDecode(std::span<const std::uint8_t> coded,
                                                     std::size_t length, std::string* reason) {
    // Every symbol takes at least one bit and yields at most 60 bytes.
    if (length / kLookAhead > coded.size() * 8 + 1) {
        if (reason) *reason = "declared length is impossible for the coded size";
        return std::nullopt;
    }
    std::vector<std::uint8_t> out;
    out.reserve(length);
    std::array<std::uint8_t, kRing> ring;
    ring.fill(' ');
    int r = kStart;
    HuffmanTree tree;
    BitReader in(coded);
    const PositionCode& pos = Positions();
    while (out.size() < length) {
        int node = tree.Root();
        while (node < kTable) node = tree.Son(node + in.Bit());
        const int symbol = node - kTable;
        tree.Update(symbol);
        if (symbol < 256) {
            out.push_back(static_cast<std::uint8_t>(symbol));
            ring[r] = static_cast<std::uint8_t>(symbol);
            r = (r + 1) & (kRing - 1);
        } else {
            int byte = in.Byte();
            const int upper = pos.decodeIndex[byte];
            for (int extra = pos.decodeLen[byte] - 2; extra > 0; --extra) byte = (byte << 1) | in.Bit();
            const int c = (upper << 6) | (byte & 0x3F);
            const int from = (r - c - 1) & (kRing - 1);
            const int count = symbol - 255 + kThreshold;
            for (int k = 0; k < count && out.size() < length; ++k) {
                const std::uint8_t b = ring[(from + k) & (kRing - 1)];
                out.push_back(b);
                ring[r] = b;
                r = (r + 1) & (kRing - 1);
            }
        }
        if (in.Overrun()) {
            if (reason) *reason = "coded data ends early";
            return std::nullopt;
        }
    }
    return out;
}

}  // namespace corvan
