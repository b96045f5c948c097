#pragma once
// The number conventions every subsystem shares: rounding to nearest with
// ties to even in extended precision, Windows' MulDiv, and the text forms of
// numbers in ini files (written with a point, read with a point or a comma).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvan {

// Nearest integer, halves to the even neighbour, computed in long double.
std::int64_t RoundHalfEven(long double value);
// Saturates to the int32 range instead of wrapping.
std::int32_t RoundToInt(long double value);
// scale x millimetres, rounded on its own (each product is rounded before it
// is added to other rounded values).
std::int32_t RoundScaled(double scale, float millimetres);

// a * b / c rounded to nearest (halves away from zero), -1 when c is 0 or
// the result does not fit 32 bits, as the Windows function does.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

// A float widened to double in general format with up to 15 significant
// digits, point as decimal separator: 25 -> "25", 25.4f -> "25.3999996185303".
std::string FormatFloat15(double value);
// Decimal integer text with "-" when negative.
std::string FormatInt(std::int64_t value);

// Decimal, or hexadecimal after "$", "0x" or "0X"; surrounding blanks allowed.
// Empty when the text is not a whole number that fits 32 bits.
std::optional<std::int32_t> ParseInteger(std::string_view text);
// A real number written with a point or a comma as decimal separator.
std::optional<double> ParseReal(std::string_view text);

}  // namespace corvan
