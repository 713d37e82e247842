#include "model/format.h"

#include <locale.h>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace zx {

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string NonFinite(double v) {
  if (std::isnan(v)) return std::signbit(v) ? "-nan" : "nan";
  return v < 0 ? "-inf" : "inf";
}

// "%.6e" as the C library writes it, exponent with at least `expDigits` digits.
std::string Scientific6(double v, int expDigits) {
  if (!std::isfinite(v)) return NonFinite(v);
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 6);
  std::string s(buf, res.ptr);
  auto e = s.find('e');
  std::string mant = s.substr(0, e);
  char sign = s[e + 1];
  std::string digits = s.substr(e + 2);
  while (static_cast<int>(digits.size()) < expDigits) digits.insert(digits.begin(), '0');
  return mant + 'e' + sign + digits;
}

// "%lf": fixed with six decimals.
std::string Fixed6(double v) {
  if (!std::isfinite(v)) return NonFinite(v);
  char buf[400];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 6);
  return std::string(buf, res.ptr);
}

// Removes trailing '0's; on reaching '.' removes it and stops. The first
// character is never examined.
void TrimZeros(std::string& s) {
  while (s.size() > 1) {
    char c = s.back();
    if (c == '0') {
      s.pop_back();
    } else if (c == '.') {
      s.pop_back();
      break;
    } else {
      break;
    }
  }
}

// The index after an optional sign at `j`.
std::size_t AfterSign(std::string_view t, std::size_t j) {
  return j < t.size() && (t[j] == '+' || t[j] == '-') ? j + 1 : j;
}

// The index after the digits from `j`; adds how many there are to `count`.
std::size_t AfterDigits(std::string_view t, std::size_t j, std::size_t& count) {
  const std::size_t start = j;
  while (j < t.size() && IsDigit(t[j])) ++j;
  count += j - start;
  return j;
}

// The index after an exponent (e or E, a sign, digits) at `j`; `j` itself
// when no digit follows.
std::size_t AfterExponent(std::string_view t, std::size_t j) {
  if (j >= t.size() || (t[j] != 'e' && t[j] != 'E')) return j;
  std::size_t digits = 0;
  const std::size_t end = AfterDigits(t, AfterSign(t, j + 1), digits);
  return digits > 0 ? end : j;
}

// Length of the atof-style decimal prefix starting at `i` (after white space).
std::size_t DecimalPrefix(std::string_view t, std::size_t i, bool* hasDigits) {
  std::size_t digits = 0;
  std::size_t j = AfterDigits(t, AfterSign(t, i), digits);
  if (j < t.size() && t[j] == '.') j = AfterDigits(t, j + 1, digits);
  *hasDigits = digits > 0;
  if (!*hasDigits) return 0;
  return AfterExponent(t, j) - i;
}

locale_t CLocale() {
  static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return loc;
}

}  // namespace

std::string FormatSci(double value, int decimals, bool* ok) {
  if (ok) *ok = true;
  if (!std::isfinite(value)) return NonFinite(value);
  std::string s = Scientific6(value, 3);
  std::size_t epos = s.find('e');
  int exponent = std::atoi(s.c_str() + epos + 1);
  std::size_t sign = s[0] == '-' ? 1 : 0;
  std::size_t keep = decimals == 0 ? sign + 1 : sign + static_cast<std::size_t>(decimals) + 2;
  std::string out = s.substr(0, std::min(keep, epos));
  TrimZeros(out);
  if (exponent != 0) out += 'e' + std::to_string(exponent);
  return out;
}

std::string FormatFixed(double value, int decimals, bool* ok) {
  std::string s = Fixed6(value);
  std::size_t dot = s.find('.');
  std::size_t keep = dot + 1 + static_cast<std::size_t>(decimals);
  if (dot == std::string::npos || dot >= 32 || keep > 31) {
    if (ok) *ok = false;
    return {};
  }
  if (ok) *ok = true;
  std::string out = s.substr(0, keep);
  TrimZeros(out);
  return out;
}

std::string FormatChars(double value, std::chars_format format, int precision) {
  if (std::isnan(value)) return "nan";
  char buf[64];
  const std::to_chars_result res = std::to_chars(buf, buf + sizeof buf, value, format, precision);
  return std::string(buf, res.ptr);
}

std::string FormatLe(double value) { return Scientific6(value, 3); }

double ParseLeadingDouble(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool hasDigits = false;
  std::size_t n = DecimalPrefix(text, i, &hasDigits);
  if (!hasDigits) return 0.0;
  std::string prefix(text.substr(i, n));
  return strtod_l(prefix.c_str(), nullptr, CLocale());
}

int ParseLeadingInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long v = 0;
  bool any = false;
  while (i < text.size() && IsDigit(text[i])) {
    any = true;
    if (v <= static_cast<long long>(INT_MAX) + 1) v = v * 10 + (text[i] - '0');
    ++i;
  }
  if (!any) return 0;
  if (negative) v = -v;
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

}  // namespace zx
