#include "import/data_file.h"

#include "model/format.h"
#include "model/text_codec.h"

namespace zx {

namespace {

// Paths and column names may hold characters CP932 lacks; a comment line
// loses those rather than the whole file.
std::string Cp932Lossy(std::string utf8) {
  // The micro sign has no CP932 code; the Greek letter that stands for it has.
  for (std::size_t at = utf8.find("\xC2\xB5"); at != std::string::npos; at = utf8.find("\xC2\xB5"))
    utf8.replace(at, 2, "\xCE\xBC");
  std::string out;
  if (Utf8ToCp932(utf8, out)) return out;
  out.clear();
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80)
      out += utf8[i];
    else if ((c >> 6) != 2)
      out += '?';
  }
  return out;
}

class Writer {
 public:
  void Line(const std::string& utf8) {
    bytes += Cp932Lossy(utf8);
    bytes += "\r\n";
  }
  void Value(const std::string& key, const std::string& value) { Line("# " + key + "\t" + value); }
  void Points(const std::vector<double>& x, const std::vector<double>& y,
              const std::vector<char>& kept) {
    for (std::size_t k = 0; k < x.size(); ++k)
      if (kept[k]) bytes += FormatLe(x[k]) + " " + FormatLe(y[k]) + "\r\n";
  }
  std::string bytes;
};

std::string Column(int index, const std::string& name) {
  return std::to_string(index) + (name.empty() ? "" : " (" + name + ")");
}

void Source(Writer& w, const ImportSource& src, const char* xRole, const char* yRole) {
  w.Value("Source", src.path);
  w.Value("Columns", std::string(xRole) + " " + Column(src.xColumn, src.xName) + ", " + yRole +
                         " " + Column(src.yColumn, src.yName));
}

void Temperature(Writer& w, const ImportSource& src) {
  if (src.temperatureColumn < 0) return;
  const std::string column = Column(src.temperatureColumn, src.temperatureName);
  if (!src.temperature) {
    w.Value("Temperature (K)", "none (column " + column + " holds no number on the kept points)");
    return;
  }
  const TemperatureStats& t = *src.temperature;
  w.Value("Temperature (K)", FormatLe(t.mean) + " (mean of column " + column + " over " +
                                 std::to_string(t.points) + " kept points)");
  w.Value("Temperature spread (K)",
          FormatLe(t.spread) + " (standard deviation" +
              (t.spread > kTemperatureSpreadWarning ? ", more than the 0.5 K expected)" : ")"));
}

void Counts(Writer& w, const ImportSource& src, int kept, int dropped) {
  w.Value("Points kept", std::to_string(kept));
  w.Value("Points left out", std::to_string(dropped));
  w.Value("Lines without both columns", std::to_string(src.skippedLines));
  if (src.truncated) w.Line("# Reading stopped at the row limit; later rows are not included");
}

}  // namespace

std::string ViImportFileBytes(const ImportSource& src, const ViImportSettings& st,
                              const ViImport& r) {
  Writer w;
  w.Line("# Measured V-I curve converted to E-J by ZENTRIX II");
  Source(w, src, "I", "V");
  w.Value("Units", "I in " + UnitName(st.currentUnit) + ", V in " + UnitName(st.voltageUnit));
  w.Value("Tap length (m)", FormatLe(st.tapLength));
  w.Value("Width (m)", FormatLe(st.width));
  w.Value("Thickness (m)", FormatLe(st.thickness));
  w.Value("Background V = a + b*I fitted below (A)",
          FormatLe(r.backgroundLimit) + " (" + FormatLe(st.backgroundFraction) +
              " of the largest current, " + std::to_string(r.backgroundPoints) + " points)");
  w.Value("Background a (V)", FormatLe(r.offset));
  w.Value("Background b (V/A)", FormatLe(r.slope));
  std::string sign = r.flipped ? "yes" : "no";
  if (r.signDoubtful) sign += " (doubtful: the highest currents barely leave the noise)";
  if (r.signDisagrees) sign += " (the sum over the upper range points the other way)";
  w.Value("Voltage sign turned", sign);
  w.Value("E_min (V/m)", FormatLe(r.minField) + (st.minField ? " (given)"
                                                             : " (3 standard deviations of the "
                                                               "corrected background points)"));
  if (!st.minField)
    w.Value("Kept run", "from the highest current down to " + FormatLe(r.cutCurrent) +
                            " A, ended at the floor or where E stops rising; " +
                            std::to_string(r.aboveFloorLeftOut) +
                            " points above the floor left out");
  if (r.nonFinite > 0) w.Value("Rows left out as not finite", std::to_string(r.nonFinite));
  Temperature(w, src);
  Counts(w, src, r.keptCount, r.droppedCount);
  w.Line("# J (A/m^2)\tE (V/m)");
  w.Points(r.j, r.e, r.kept);
  return w.bytes;
}

std::string IcbImportFileBytes(const ImportSource& src, const IcbImportSettings& st,
                               const IcbImport& r) {
  Writer w;
  w.Line("# Measured Ic-B curve converted to Jc-B by ZENTRIX II");
  Source(w, src, "B", "Ic");
  w.Value("Units", "B in T, Ic in " + UnitName(st.currentUnit));
  w.Value("Width (m)", FormatLe(st.width));
  w.Value("Thickness (m)", FormatLe(st.thickness));
  Temperature(w, src);
  Counts(w, src, r.keptCount, r.droppedCount);
  w.Line("# B (T)\tJc (A/m^2)");
  w.Points(r.b, r.jc, r.kept);
  return w.bytes;
}

std::string DefaultImportOutputPath(const std::string& source, ImportKind kind) {
  const std::size_t slash = source.rfind('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  std::size_t dot = source.rfind('.');
  // A leading dot names a hidden file, not an extension.
  if (dot == std::string::npos || dot <= nameStart) dot = source.size();
  return source.substr(0, dot) + (kind == ImportKind::ViToEj ? "_EJ.dat" : "_JcB.dat");
}

}  // namespace zx
