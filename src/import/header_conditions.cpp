#include "import/header_conditions.h"

#include <cctype>
#include <string_view>

#include "import/measured_table.h"

namespace zx {

namespace {

enum class Quantity { None, Temperature, Field };

// Units a condition may carry, with their factor to K or T.
struct UnitOf {
  const char* text;
  Quantity quantity;
  double factor;
};
constexpr UnitOf kUnits[] = {
    {"K", Quantity::Temperature, 1.0}, {"T", Quantity::Field, 1.0}, {"mT", Quantity::Field, 1e-3}};

const UnitOf* FindUnit(std::string_view word) {
  if (word.size() >= 2 && (word.front() == '(' || word.front() == '[')) word = word.substr(1);
  if (!word.empty() && (word.back() == ')' || word.back() == ']')) word.remove_suffix(1);
  for (const UnitOf& u : kUnits)
    if (word == u.text) return &u;
  return nullptr;
}

bool IsBreak(char c) {
  return c == ' ' || c == '\t' || c == '=' || c == ':' || c == '/' || c == '_' || c == '(' ||
         c == ')' || c == '[' || c == ']';
}

std::vector<std::string_view> Words(std::string_view s) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && IsBreak(s[i])) ++i;
    const std::size_t start = i;
    while (i < s.size() && !IsBreak(s[i])) ++i;
    if (i > start) words.push_back(s.substr(start, i - start));
  }
  return words;
}

std::string Lower(std::string_view w) {
  std::string out;
  for (char c : w) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// What a name's first word says; "Tc" and the like are not the sample's.
Quantity NameSays(std::string_view firstWord) {
  const std::string w = Lower(firstWord);
  if (w.rfind("temp", 0) == 0 || w == "t" || w == "tavg" || w == "tave" || w == "tmean" ||
      w == "tsample")
    return Quantity::Temperature;
  if (w == "field" || w == "b" || w == "h" || w == "bext" || w == "bapp" || w == "magnetic")
    return Quantity::Field;
  return Quantity::None;
}

struct Stated {
  Quantity quantity = Quantity::None;
  double value = 0.0;
};

// "name [unit] number [unit]".
Stated ReadSegment(std::string_view segment) {
  const std::vector<std::string_view> words = Words(segment);
  std::size_t number = words.size();
  std::optional<double> value;
  for (std::size_t k = 1; k < words.size() && !value; ++k)
    if ((value = ParseNumberField(words[k], TableFormat{}))) number = k;
  if (!value) return {};
  const Quantity named = NameSays(words.front());
  if (named == Quantity::None) return {};
  const UnitOf* unit = number + 1 < words.size() ? FindUnit(words[number + 1]) : nullptr;
  if (!unit && number > 1) unit = FindUnit(words[number - 1]);
  // Without a unit the name decides, in K or T.
  if (unit && unit->quantity != named) return {};
  return {named, *value * (unit ? unit->factor : 1.0)};
}

}  // namespace

HeaderConditions ConditionsInHeader(const std::vector<std::string>& lines) {
  HeaderConditions out;
  for (const std::string& line : lines) {
    std::string_view rest(line);
    while (!rest.empty() && (rest.front() == '#' || rest.front() == '%' || rest.front() == '!' ||
                             IsBreak(rest.front())))
      rest.remove_prefix(1);
    // "a = 1, b = 2": each pair on its own; a line without '=' is one.
    const bool pairs = rest.find('=') != std::string_view::npos;
    while (!rest.empty()) {
      const std::size_t end = pairs ? rest.find_first_of(",;") : std::string_view::npos;
      const Stated s = ReadSegment(rest.substr(0, end));
      if (s.quantity == Quantity::Temperature && !out.temperature) out.temperature = s.value;
      if (s.quantity == Quantity::Field && !out.field) out.field = s.value;
      if (end == std::string_view::npos) break;
      rest.remove_prefix(end + 1);
    }
  }
  return out;
}

}  // namespace zx
