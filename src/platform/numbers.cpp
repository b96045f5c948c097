#include "platform/numbers.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale>
#include <sstream>

namespace corvan {

std::int64_t RoundHalfEven(long double value) {
    if (std::isnan(value)) return 0;
    constexpr long double lim = 9.2e18L;
    if (value >= lim) return std::numeric_limits<std::int64_t>::max();
    if (value <= -lim) return std::numeric_limits<std::int64_t>::min();
    const long double fl = std::floor(value);
    const long double diff = value - fl;
    auto result = static_cast<std::int64_t>(fl);
    if (diff > 0.5L || (diff == 0.5L && (result % 2 != 0))) ++result;
    return result;
}

std::int32_t RoundToInt(long double value) {
    const std::int64_t r = RoundHalfEven(value);
    if (r > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (r < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

std::int32_t RoundScaled(double scale, float millimetres) {
    return RoundToInt(static_cast<long double>(scale) * static_cast<long double>(millimetres));
}

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
    if (c == 0) return -1;
    const std::int64_t num = static_cast<std::int64_t>(a) * b;
    std::int64_t q = num / c;
    const std::int64_t rem = num % c;
    // Round half away from zero.
    if (2 * (rem < 0 ? -rem : rem) >= (c < 0 ? -static_cast<std::int64_t>(c) : c))
        q += ((num < 0) != (c < 0)) ? -1 : 1;
    if (q > std::numeric_limits<std::int32_t>::max() || q < std::numeric_limits<std::int32_t>::min())
        return -1;
    return static_cast<std::int32_t>(q);
}

std::string FormatFloat15(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    // snprintf follows LC_NUMERIC; files always carry a point.
    for (char* p = buf; *p; ++p)
        if (*p == ',') *p = '.';
    return buf;
}

std::string FormatInt(std::int64_t value) { return std::to_string(value); }

namespace {
std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}
}  // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    std::string_view s = Trim(text);
    if (s.empty()) return std::nullopt;
    bool negative = false;
    if (s.front() == '-' || s.front() == '+') {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (!s.empty() && s.front() == '$') {
        base = 16;
        s.remove_prefix(1);
    } else if (s.size() > 1 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty()) return std::nullopt;
    std::uint64_t v = 0;
    for (char ch : s) {
        int d;
        if (ch >= '0' && ch <= '9') d = ch - '0';
        else if (base == 16 && ch >= 'a' && ch <= 'f') d = ch - 'a' + 10;
        else if (base == 16 && ch >= 'A' && ch <= 'F') d = ch - 'A' + 10;
        else return std::nullopt;
        v = v * static_cast<unsigned>(base) + static_cast<unsigned>(d);
        if (v > 0xFFFFFFFFull) return std::nullopt;
    }
    if (base == 16) {
        // Hexadecimal spells the 32-bit pattern: $FFFFFFFF is -1.
        auto bits = static_cast<std::uint32_t>(v);
        std::int32_t r = static_cast<std::int32_t>(bits);
        return negative ? static_cast<std::int32_t>(0u - bits) : r;
    }
    const std::int64_t signedValue = negative ? -static_cast<std::int64_t>(v) : static_cast<std::int64_t>(v);
    if (signedValue > std::numeric_limits<std::int32_t>::max() ||
        signedValue < std::numeric_limits<std::int32_t>::min())
        return std::nullopt;
    return static_cast<std::int32_t>(signedValue);
}

std::optional<double> ParseReal(std::string_view text) {
    std::string s(Trim(text));
    if (s.empty()) return std::nullopt;
    for (char& c : s)
        if (c == ',') c = '.';
    // Check the syntax by hand (digits, one point, optional exponent) so that
    // trailing junk is refused, then convert in the classic locale.
    std::size_t i = 0;
    if (s[i] == '+' || s[i] == '-') ++i;
    bool digits = false;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') { ++i; digits = true; }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') { ++i; digits = true; }
    }
    if (!digits) return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        std::size_t k = j;
        while (k < s.size() && s[k] >= '0' && s[k] <= '9') ++k;
        if (k == j) return std::nullopt;
        i = k;
    }
    if (i != s.size()) return std::nullopt;
    // The text is now plain C syntax; convert without locale influence.
    std::istringstream in(s);
    in.imbue(std::locale::classic());
    double v = 0;
    in >> v;
    if (in.fail() || !std::isfinite(v)) return std::nullopt;
    return v;
}

}  // namespace corvan
