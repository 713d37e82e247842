// Number <-> text rules shared by dialogs, lists, axis labels and files.
#pragma once

#include <charconv>
#include <string>
#include <string_view>

namespace zx {

// Mantissa with d decimals (cut, not rounded again), trailing zeros
// trimmed, then "e<exp>" unless the exponent is 0: 1.5e-6 -> "1.5e-6".
std::string FormatSci(double value, int decimals, bool* ok = nullptr);
// Fixed notation with d decimals (cut), trailing zeros trimmed: 4.25 -> "4.2".
// Empty text and *ok = false when the text would exceed 31 characters.
std::string FormatFixed(double value, int decimals, bool* ok = nullptr);

// printf "%.<precision>e" / "f" / "g" that never follows the process locale
// (a linked GUI library may change it); "nan" for NaN.
std::string FormatChars(double value, std::chars_format format, int precision);

// printf "%le" with a three-digit exponent: 1e9 -> "1.000000e+009".
std::string FormatLe(double value);

// The leading decimal number of a text, as the C library's atof reads it
// (white space, sign, digits, '.', exponent); 0.0 when there is none.
// Only decimal forms count: "inf", "nan" and hex read as 0.
double ParseLeadingDouble(std::string_view text);
// The leading decimal integer (white space, sign, digits); 0 when none.
// Values beyond the int range are clamped.
int ParseLeadingInt(std::string_view text);

}  // namespace zx
