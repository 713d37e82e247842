// The import commands: a measured V-I or Ic-B table to a data file.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "calc/import_run.h"
#include "cli/commands.h"
#include "model/format.h"
#include "model/result_path.h"
#include "model/text_file.h"

namespace zx::cli {

namespace {

int UsageError(const std::string& why) {
  std::fprintf(stderr, "zentrix2-calc: %s\n", why.c_str());
  std::fputs(
      "usage: zentrix2-calc --import-vi RAW --out OUT.dat --tap-length M --width M --thickness M\n"
      "                     [--columns I,V] [--current-unit A|mA] [--voltage-unit V|mV|uV|nV]\n"
      "                     [--background-fraction F] [--min-field E]\n"
      "       zentrix2-calc --import-icb RAW --out OUT.dat --width M --thickness M\n"
      "                     [--columns B,I] [--current-unit A|mA]\n",
      stderr);
  return 2;
}

// "%.6e".
std::string Sci6(double v) { return FormatChars(v, std::chars_format::scientific, 6); }

std::optional<double> WholeNumber(const std::string& text) {
  double v = 0;
  const char* end = text.data() + text.size();
  auto res = std::from_chars(text.data(), end, v);
  if (res.ec != std::errc() || res.ptr != end || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<int> ColumnIndex(const std::string& text) {
  int v = -1;
  const char* end = text.data() + text.size();
  auto res = std::from_chars(text.data(), end, v);
  if (res.ec != std::errc() || res.ptr != end || v < 0) return std::nullopt;
  return v;
}

struct Parsed {
  ImportRequest request;
  std::string out;
  bool haveTap = false, haveWidth = false, haveThickness = false;
};

}  // namespace

int CmdImport(int argc, char** argv) {
  Parsed p;
  ImportRequest& rq = p.request;
  bool haveKind = false;
  bool viOnlyOption = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (i + 1 >= argc) return UsageError(a + " needs a value");
    const std::string v = argv[++i];
    if (a == "--import-vi" || a == "--import-icb") {
      if (haveKind) return UsageError("only one command at a time");
      haveKind = true;
      rq.kind = a == "--import-vi" ? ImportKind::ViToEj : ImportKind::IcbToJcb;
      rq.source = v;
    } else if (a == "--out") {
      p.out = v;
    } else if (a == "--tap-length" || a == "--width" || a == "--thickness") {
      const std::optional<double> m = WholeNumber(v);
      if (!m || *m <= 0) return UsageError(a + " needs a positive length in metres");
      if (a == "--tap-length") rq.vi.tapLength = *m, p.haveTap = true, viOnlyOption = true;
      if (a == "--width") rq.vi.width = rq.icb.width = *m, p.haveWidth = true;
      if (a == "--thickness") rq.vi.thickness = rq.icb.thickness = *m, p.haveThickness = true;
    } else if (a == "--columns") {
      const std::size_t comma = v.find(',');
      if (comma == std::string::npos) return UsageError("--columns needs two numbers, e.g. 2,3");
      rq.xColumn = ColumnIndex(v.substr(0, comma));
      rq.yColumn = ColumnIndex(v.substr(comma + 1));
      if (!rq.xColumn || !rq.yColumn)
        return UsageError("--columns needs two column numbers from 0, e.g. 2,3");
    } else if (a == "--current-unit") {
      const std::optional<CurrentUnit> u = ParseCurrentUnit(v);
      if (!u) return UsageError("--current-unit must be A or mA");
      rq.vi.currentUnit = rq.icb.currentUnit = *u;
    } else if (a == "--voltage-unit") {
      const std::optional<VoltageUnit> u = ParseVoltageUnit(v);
      if (!u) return UsageError("--voltage-unit must be V, mV, uV or nV");
      rq.vi.voltageUnit = *u;
      viOnlyOption = true;
    } else if (a == "--background-fraction") {
      const std::optional<double> f = WholeNumber(v);
      if (!f || *f < 0 || *f > 1) return UsageError("--background-fraction must be from 0 to 1");
      rq.vi.backgroundFraction = *f;
      viOnlyOption = true;
    } else if (a == "--min-field") {
      const std::optional<double> e = WholeNumber(v);
      if (!e || *e < 0) return UsageError("--min-field must be a field of 0 V/m or more");
      rq.vi.minField = *e;
      viOnlyOption = true;
    } else {
      return UsageError("unknown option " + a);
    }
  }
  if (!haveKind) return UsageError("no import command given");
  const bool vi = rq.kind == ImportKind::ViToEj;
  if (!vi && viOnlyOption)
    return UsageError("--import-icb takes no tap length, voltage unit, background or min-field");
  if (p.out.empty()) return UsageError("--out is missing");
  if (vi && !p.haveTap) return UsageError("--tap-length is missing");
  if (!p.haveWidth) return UsageError("--width is missing");
  if (!p.haveThickness) return UsageError("--thickness is missing");
  if (SameFile(rq.source, p.out)) return UsageError("--out names the measured file itself");

  const ImportOutcome o = RunImport(rq);
  switch (o.error) {
    case ImportError::None:
      break;
    case ImportError::Unreadable:
      std::fprintf(stderr, "zentrix2-calc: cannot read %s\n", rq.source.c_str());
      return 1;
    case ImportError::XColumn:
    case ImportError::YColumn:
      return UsageError(
          "--columns: the table has no column " +
          std::to_string(o.error == ImportError::XColumn ? *rq.xColumn : *rq.yColumn));
    case ImportError::NoRows:
      std::fprintf(stderr, "zentrix2-calc: %s has no rows of numbers in the chosen columns\n",
                   rq.source.c_str());
      return 3;
    case ImportError::NothingKept:
      std::fprintf(stderr, "zentrix2-calc: no point of %s is left to write%s\n", rq.source.c_str(),
                   vi ? " (I > 0 and E above the noise floor)" : " (Ic > 0)");
      return 3;
    default:
      return UsageError("invalid geometry or background settings");
  }
  if (o.source.truncated)
    std::fprintf(stderr, "zentrix2-calc: %s has more rows than can be read; the rest is left out\n",
                 rq.source.c_str());
  if (!WriteFileAtomically(p.out, o.bytes)) {
    std::fprintf(stderr, "zentrix2-calc: cannot write %s\n", p.out.c_str());
    return 1;
  }
  if (vi && o.vi.backgroundRises)
    std::fputs(
        "zentrix2-calc: the transition seems to reach below the background fraction; a smaller "
        "--background-fraction may fit the background better\n",
        stderr);
  if (vi) {
    std::printf("kept %d\tdropped %d\toffset %s\tslope %s\tmin-field %s\n", o.vi.keptCount,
                o.vi.droppedCount, Sci6(o.vi.offset).c_str(), Sci6(o.vi.slope).c_str(),
                Sci6(o.vi.minField).c_str());
  } else {
    std::printf("kept %d\tdropped %d\n", o.icb.keptCount, o.icb.droppedCount);
  }
  return 0;
}

}  // namespace zx::cli
