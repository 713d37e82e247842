// zentrix2-make-examples: writes the example projects under examples/.
//
// The "measured" curves are synthetic: the flux creep-flow model evaluated
// at the parameters below, each value multiplied by exp(kNoise * z) with z
// standard normal from a fixed-seed Mersenne Twister (Box-Muller by hand,
// so that the files do not depend on the standard library's distributions).
// The projects store paths relative to their own folder and parameters close
// to the ones the data were made with, so that they open already fitted.
//
//   build/zentrix2-make-examples [EXAMPLES_FOLDER]     (default: examples)
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "calc/condition_curve.h"
#include "calc/model.h"
#include "example_sample.h"
#include "model/format.h"
#include "model/project.h"
#include "model/settings_file.h"
#include "model/text_file.h"

namespace {

constexpr double kNoise = 0.03;         // standard deviation of ln(value)
constexpr std::uint32_t kSeed = 20260;  // one stream for all files, in the order written
// 5k + 1 points, so that the preview's every (n/5)-th point includes the last.
constexpr int kPoints = 16;        // per E-J file
constexpr int kJcbPoints = 21;     // per Jc-B file: 1 T to 6 T in steps of 0.25 T
constexpr double kEBottom = 1e-8;  // E-J data span this field range (V/m)
constexpr double kETop = 1e-2;

zx::ModelParams Truth() { return zx::examples::ExampleTruth(); }

// What the projects store: round values near the truth, as a user would
// have left the sliders after fitting.
void SetFittedParameters(zx::ModelParams& p) {
  p.Re_A_m = 1.2e9;
  p.Sigma_2 = 0.08;
  p.Re_Gamma = 0.75;
  p.Re_m = 2.6;
  p.Re_g_2 = 2.4;
}

class Noise {
 public:
  double Factor() {
    const double u1 = (static_cast<double>(gen_()) + 0.5) / 4294967296.0;
    const double u2 = (static_cast<double>(gen_()) + 0.5) / 4294967296.0;
    const double z = std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * 3.141592653589793 * u2);
    return std::exp(kNoise * z);
  }

 private:
  std::mt19937 gen_{kSeed};
};

std::string ParameterLines(const zx::ModelParams& p) {
  using zx::FormatLe;
  std::string s;
  s += "# Pinning parameters: Am = " + FormatLe(p.Re_A_m) +
       " A/m^2, sigma^2 = " + FormatLe(p.Sigma_2) + ", gamma = " + FormatLe(p.Re_Gamma) +
       ", m = " + FormatLe(p.Re_m) + ", g^2 = " + FormatLe(p.Re_g_2) + "\n";
  s += "# Sample: Tc = " + FormatLe(p.T_c) + " K, rho_n(0) = " + FormatLe(p.Rho_n_0) +
       " Ohm m, Bc2(0) = " + FormatLe(p.B_c2_0) + " T, zeta = " + FormatLe(p.Re_Zeta) +
       ", thickness = " + FormatLe(p.Thickness) + " m, Tcn = " + std::to_string(p.Tcn) +
       ", Bcn = " + std::to_string(p.Bcn) + ", IntStepNum = " + std::to_string(p.IntStepNum) + "\n";
  return s;
}

std::string Header(const std::string& what, const zx::ModelParams& p, const std::string& extra) {
  std::string s;
  s += "# SYNTHETIC DATA, not a measurement: " + what + "\n";
  s += "# Made by zentrix2-make-examples (examples/generate_examples.cpp) from the flux\n";
  s += "# creep-flow model of the program; rerun it to regenerate this file.\n";
  s += ParameterLines(p);
  s += "# Noise: every value multiplied by exp(" + zx::FormatLe(kNoise) +
       " * z), z standard normal (mt19937 seed " + std::to_string(kSeed) + ", Box-Muller)\n";
  s += extra;
  return s;
}

bool Write(const std::filesystem::path& path, const std::string& text) {
  if (!zx::WriteFileAtomically(path.string(), text)) {
    std::fprintf(stderr, "zentrix2-make-examples: cannot write %s\n", path.string().c_str());
    return false;
  }
  std::printf("%s\n", path.string().c_str());
  return true;
}

bool WriteProject(const zx::Project& project, const std::filesystem::path& path) {
  if (!zx::WriteSettings(project, path.string())) {
    std::fprintf(stderr, "zentrix2-make-examples: cannot write %s\n", path.string().c_str());
    return false;
  }
  std::printf("%s\n", path.string().c_str());
  return true;
}

// The J at which the model gives field e, by bisection on log J.
double JAtField(const zx::ModelParams& p, double t, double b, double e) {
  double lo = 4.0, hi = 13.0;
  for (int i = 0; i < 60; ++i) {
    const double mid = 0.5 * (lo + hi);
    (zx::ModelE(p, std::pow(10.0, mid), t, b) < e ? lo : hi) = mid;
  }
  return std::pow(10.0, 0.5 * (lo + hi));
}

std::string TemperatureName(double t) { return std::to_string(static_cast<int>(t)) + "K"; }

bool WriteEjExample(const std::filesystem::path& folder, Noise& noise) {
  const double temps[] = {20.0, 25.0, 30.0};
  const double field = 1.0;
  zx::Project project;
  project.Params = Truth();
  SetFittedParameters(project.Params);
  project.Settings.Mode = zx::CalcMode::EJ;
  double jMin = 1e300, jMax = 0;
  int fileNo = 0;
  for (double t : temps) {
    const zx::ModelParams p = Truth();
    const double j0 = JAtField(p, t, field, kEBottom), j1 = JAtField(p, t, field, kETop);
    jMin = std::min(jMin, j0);
    jMax = std::max(jMax, j1);
    std::string text = Header("E-J curve of an MgB2-like sample", p,
                              "# T = " + zx::FormatLe(t) + " K, B = " + zx::FormatLe(field) +
                                  " T, " + std::to_string(kPoints) +
                                  " current densities evenly spaced in log J\n"
                                  "# J (A/m^2)\tE (V/m)\n");
    for (int i = 0; i < kPoints; ++i) {
      const double j = j0 * std::pow(j1 / j0, static_cast<double>(i) / (kPoints - 1));
      const double e = zx::ModelE(p, j, t, field) * noise.Factor();
      text += zx::FormatLe(j) + "\t" + zx::FormatLe(e) + "\n";
    }
    const std::string name = "mgb2-" + TemperatureName(t) + "-1T.dat";
    if (!Write(folder / name, text)) return false;
    zx::AddDataFile(project, name);
    zx::AddCalcCond(project, fileNo++, t, field, "results/calc-" + TemperatureName(t) + "-1T.dat");
  }
  // The full calculation covers every data file's span, in whole decades.
  project.Settings.JIni = std::pow(10.0, std::floor(std::log10(jMin)));
  project.Settings.JFin = std::pow(10.0, std::ceil(std::log10(jMax)));
  project.Settings.JStepLevel = 5;
  return WriteProject(project, folder / "mgb2-ej.zx2");
}

bool WriteJcbExample(const std::filesystem::path& folder, Noise& noise) {
  const double temps[] = {20.0, 25.0};
  zx::Project project;
  project.Params = Truth();
  SetFittedParameters(project.Params);
  project.Settings.Mode = zx::CalcMode::JcB;
  project.Settings.BIni = 1.0;
  // Above about 6.6 T the 25 K sample no longer carries the 1e5 A/m^2 at
  // the bottom of the Jc search bracket.
  project.Settings.BFin = 6.0;
  project.Settings.BStepLevel = 4;
  zx::ApplyBStepLevel(project.Params, project.Settings.BStepLevel);
  int fileNo = 0;
  for (double t : temps) {
    zx::ModelParams p = Truth();
    p.E_cAllowableError = project.Params.E_cAllowableError;
    zx::CalcCondEntry cond;
    cond.Temp = t;
    std::string text =
        Header("Jc-B curve of an MgB2-like sample", p,
               "# T = " + zx::FormatLe(t) + " K, criterion E_c = " + zx::FormatLe(p.E_c) +
                   " V/m (tolerance " + zx::FormatLe(p.E_cAllowableError) + " %), " +
                   std::to_string(kJcbPoints) + " fields from 1 T to 6 T\n# B (T)\tJc (A/m^2)\n");
    for (int i = 0; i < kJcbPoints; ++i) {
      const double b = 1.0 + 5.0 * i / (kJcbPoints - 1);
      const double jc = zx::EvaluateCurvePoint(p, project.Settings, cond, b);
      text += zx::FormatLe(b) + "\t" + zx::FormatLe(jc * noise.Factor()) + "\n";
    }
    const std::string name = "mgb2-" + TemperatureName(t) + "-jcb.dat";
    if (!Write(folder / name, text)) return false;
    zx::AddDataFile(project, name);
    // The field of a Jc-B condition is not used; the B range of the project is.
    zx::AddCalcCond(project, fileNo++, t, 0.0, "results/calc-" + TemperatureName(t) + "-jcb.dat");
  }
  return WriteProject(project, folder / "mgb2-jcb.zx2");
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path root = argc > 1 ? argv[1] : "examples";
  std::error_code ec;
  for (const char* sub : {"ej/results", "jcb/results"})
    std::filesystem::create_directories(root / sub, ec);
  Noise noise;
  if (!WriteEjExample(root / "ej", noise)) return 1;
  if (!WriteJcbExample(root / "jcb", noise)) return 1;
  return 0;
}
