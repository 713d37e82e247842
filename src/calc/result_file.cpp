#include "calc/result_file.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "model/format.h"
#include "model/param_table.h"
#include "model/text_file.h"

namespace zx {

std::string ResultFileBytes(const ModelParams& p, const ResultHeader& h, std::span<const double> xs,
                            std::span<const double> values) {
  std::string out;
  const auto line = [&out](const std::string& text) {
    out += text;
    out += "\r\n";
  };
  line("#################################");
  line("#   Zentrix II Fitting Result   #");
  line("#################################");
  line("#");
  line("# Fitting Conditions");
  line("#");
  line("# Temperature(K)\t" + FormatLe(h.temp));
  line("# Magnetic Field(T)\t" + FormatLe(h.field));
  line("#");
  line("# Fitting Parameters");
  line("#");
  for (const ParamRow& r : PinningRows())
    line(std::string("# ") + r.valueKey + "\t" + FormatLe(p.*r.value));
  line("#");
  const std::size_t n = std::min(xs.size(), values.size());
  for (std::size_t i = 0; i < n; ++i) line(FormatLe(xs[i]) + " " + FormatLe(values[i]));
  return out;
}

bool WriteResultFile(const std::string& path, const ModelParams& p, const ResultHeader& h,
                     std::span<const double> xs, std::span<const double> values, ResultWrite how) {
  const std::string bytes = ResultFileBytes(p, h, xs, values);
  if (how == ResultWrite::Replace) return WriteFileAtomically(path, bytes);
  bool opened;
  bool ok;
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    opened = ok = static_cast<bool>(out);
    if (ok)
      ok = static_cast<bool>(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
    if (ok) ok = static_cast<bool>(out.flush());
  }
  // A partial curve file would be drawn as if it were the whole curve.
  if (opened && !ok) std::remove(path.c_str());
  return ok;
}

}  // namespace zx
