// The project: what its settings file stores (sample and model parameters,
// calculation settings, axis settings, the two registries) with its path and
// modified flag. In the program a Document holds it and is its only writer
// (model/document.h); the procedures here are the document's tools and build
// projects for files and tests. What a paint derives from it (series,
// effective ranges, correlations) is a view's (model/view_state.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/calc_mode.h"
#include "model/graph_view.h"
#include "model/plot_style.h"

namespace zx {

// The fields keep the settings file's keys (Re_A_m for "Re(A_m)"); the
// comments give each quantity's physical name and unit. The fitted ones
// have their row in the parameter table (model/param_table.h).
struct ModelParams {
  std::string SampleName = "MgB2SUS";
  double Re_A_m = 1.0e9;            // Am, centre of the pinning-strength distribution (A/m^2)
  double Sigma_2 = 0.1;             // σ², variance of log10 of the pinning strength (1)
  double Re_Gamma = 0.8;            // γ, field dependence of the pinning strength (1)
  double Re_m = 3.0;                // m, temperature dependence of the pinning strength (1)
  double Re_g_2 = 1.0;              // g², flux-bundle size factor of the pinning potential (1)
  double T_c = 39.0;                // Tc, critical temperature (K)
  double B_c2_0 = 9.0;              // Bc2(0), upper critical field at 0 K (T)
  double Rho_n_0 = 1.5e-6;          // ρn, normal-state resistivity (Ω m)
  double Length = 0.002;            // sample length (m)
  double Width = 0.001;             // sample width (m)
  double Thickness = 1e-6;          // sample thickness (m)
  double Re_Zeta = 6.2831852;       // ζ, pin shape constant (1)
  double E_c = 1e-4;                // electric-field criterion of Jc (V/m)
  double E_cAllowableError = 0.01;  // percent of E_c
  // The orders of the scaling law as the file holds them: 0 stands for the
  // exponent 1, any other order for 2 (ScalingExponent).
  int Tcn = 1;
  int Bcn = 1;
  double MiniE = 1e-10;
  double MaxE = 1.0;
  int IntStepNum = 900;
};

struct CalcSettings {
  double JIni = 1e5;  // J range of the E-J curves and of the Jc search (A/m^2)
  double JFin = 1e11;
  int JStepLevel = 3;
  double BIni = 1.0;  // B range of the Jc-B curves (T)
  double BFin = 7.0;
  int BStepLevel = 3;
  // The sliders' ranges of the five pinning parameters, in their units.
  double MiniRe_Am = 1e8, MaxRe_Am = 1e11;
  double MiniSigma_2 = 0.0, MaxSigma_2 = 1.0;
  double MiniRe_Gamma = 0.0, MaxRe_Gamma = 1.0;
  double MiniRe_m = 1.0, MaxRe_m = 10.0;
  double MiniRe_g_2 = 1.0, MaxRe_g_2 = 10.0;
  CalcMode Mode = CalcMode::EJ;
};

// One record for both registries. A data-file entry uses No, Mark and Path.
struct RegistryEntry {
  int No = -1;
  int RelatedDatFileNo = -1;
  int Mark = 0;
  double Temp = 0.0;
  double MagField = 0.0;
  std::string Path;
  std::string OutpFilePath;
  // Stable identity for dialogs that edit an entry while numbers shift.
  std::uint64_t Uid = 0;
};
using CalcCondEntry = RegistryEntry;

struct SeriesEntry {
  int No = -1;
  std::string Path;
  int PointCount = 0;
  double SeriesXMin = 0.0, SeriesXMax = 0.0;
  double SeriesYMin = 0.0, SeriesYMax = 0.0;
  int XColumn = 0;
  int YColumn = 1;
  // PlotStyle
  MarkerShape Marker = MarkerShape::FilledCircle;
  int MarkerSize = 5;
  Rgb MarkerColor{0, 0, 0};
  LinePattern LineStyle = LinePattern::Solid;
  int LineWidth = 1;
  Rgb LineColor{0, 0, 0};
  // The points of this paint's scan, so that the file is read once per paint.
  std::shared_ptr<const struct SeriesPoints> Points;
};

struct SeriesPoints {
  std::string path;  // the file they were read from
  std::vector<double> x, y;
};

// Entries numbered 0..n-1 without gaps; element i carries No == i. The
// newest entry is the highest number (the "head").
template <class Entry>
struct NumberedList {
  std::vector<Entry> items;

  int HeadNo() const { return static_cast<int>(items.size()) - 1; }
  bool Empty() const { return items.empty(); }
  int Count() const { return static_cast<int>(items.size()); }
  Entry* Find(int no) {
    return no >= 0 && no < Count() ? &items[static_cast<std::size_t>(no)] : nullptr;
  }
  const Entry* Find(int no) const {
    return no >= 0 && no < Count() ? &items[static_cast<std::size_t>(no)] : nullptr;
  }
  Entry& Add(Entry e) {
    e.No = HeadNo() + 1;
    items.push_back(std::move(e));
    return items.back();
  }
};

using Registry = NumberedList<RegistryEntry>;
using SeriesList = NumberedList<SeriesEntry>;

// Removes entry k and lowers the numbers of the entries above it.
// False when no entry carries k.
template <class Entry>
bool RemoveEntry(NumberedList<Entry>& list, int k) {
  if (k < 0 || k >= list.Count()) return false;
  list.items.erase(list.items.begin() + k);
  for (int i = k; i < list.Count(); ++i) list.items[static_cast<std::size_t>(i)].No = i;
  return true;
}

extern const Rgb DataPalette[6];
extern const Rgb CurvePalette[6];

// Palette index for a number; -1 (a condition without data file) and other
// negatives map to the grey of index 5.
int PaletteIndex(int no);

struct Project {
  ModelParams Params;
  CalcSettings Settings;
  SavedAxes Axes;
  Registry DataFiles;
  Registry CalcConds;
  std::string SettingsFilePath;
  std::string ProgramFolder;  // ends with '/'
  bool Modified = false;
  std::uint64_t NextUid = 1;
};

// Which list view a row belongs to, for the hooks that mirror registry
// changes in the lists panel.
enum class ListKind { DataFiles, CalcConds };
using RowDeletedHook = std::function<void(ListKind, int row)>;

// Temporary curve file of condition number no.
std::string CurveFilePath(const std::string& programFolder, int no);

// New data file: entry, Modified.
RegistryEntry& AddDataFile(Project& p, const std::string& path);
// New calculation condition: entry with its curve file path, Modified.
RegistryEntry& AddCalcCond(Project& p, int relatedDatFileNo, double temp, double magField,
                           const std::string& outpFilePath);
SeriesEntry MakeDataSeries(int no, const std::string& path);
SeriesEntry MakeCurveSeries(int no, int relatedDatFileNo, const std::string& path);

// Empties both registries from the top down, reporting each deleted row.
void ClearRegistries(Project& p, const RowDeletedHook& rowDeleted = {});
// Gives every condition the curve file of its number.
void RenumberCurvePaths(Project& p);

// The exponent of the scaling law an order (Tcn, Bcn) stands for.
inline int ScalingExponent(int order) { return order == 0 ? 1 : 2; }

// BStepLevel 1..5 selects the Jc search tolerance; other levels leave it.
void ApplyBStepLevel(ModelParams& m, int level);

}  // namespace zx
