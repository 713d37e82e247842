#include "model/project.h"

namespace zx {

const Rgb DataPalette[6] = {{255, 0, 0},   {0, 0, 255},   {0, 255, 0},
                            {120, 0, 120}, {255, 120, 0}, {0, 0, 0}};
const Rgb CurvePalette[6] = {{255, 150, 150}, {150, 150, 255}, {120, 200, 120},
                             {200, 150, 200}, {255, 200, 100}, {150, 150, 150}};

int PaletteIndex(int no) { return no < 0 ? 5 : no % 6; }

std::string CurveFilePath(const std::string& programFolder, int no) {
  return programFolder + "tmp" + std::to_string(no) + ".dat";
}

SeriesEntry MakeDataSeries(int no, const std::string& path) {
  SeriesEntry s;
  s.No = no;
  s.MarkerColor = s.LineColor = DataPalette[PaletteIndex(no)];
  s.Path = path;
  return s;
}

SeriesEntry MakeCurveSeries(int no, int relatedDatFileNo, const std::string& path) {
  SeriesEntry s;
  s.No = no;
  s.MarkerColor = s.LineColor = CurvePalette[PaletteIndex(relatedDatFileNo)];
  s.MarkerSize = 3;
  s.LineWidth = 1;
  s.Marker = MarkerShape::FilledCircle;
  s.LineStyle = LinePattern::Dot;
  s.Path = path;
  return s;
}

RegistryEntry& AddDataFile(Project& p, const std::string& path) {
  RegistryEntry e;
  e.RelatedDatFileNo = 0;
  e.Path = path;
  e.Uid = p.NextUid++;
  RegistryEntry& added = p.DataFiles.Add(e);
  p.Modified = true;
  return added;
}

RegistryEntry& AddCalcCond(Project& p, int relatedDatFileNo, double temp, double magField,
                           const std::string& outpFilePath) {
  RegistryEntry e;
  e.RelatedDatFileNo = relatedDatFileNo;
  e.Temp = temp;
  e.MagField = magField;
  e.OutpFilePath = outpFilePath;
  e.Path = CurveFilePath(p.ProgramFolder, p.CalcConds.HeadNo() + 1);
  e.Uid = p.NextUid++;
  RegistryEntry& added = p.CalcConds.Add(e);
  p.Modified = true;
  return added;
}

void ClearRegistries(Project& p, const RowDeletedHook& rowDeleted) {
  for (int k = p.DataFiles.HeadNo(); k >= 0; --k) {
    if (rowDeleted) rowDeleted(ListKind::DataFiles, k);
    RemoveEntry(p.DataFiles, k);
  }
  for (int k = p.CalcConds.HeadNo(); k >= 0; --k) {
    if (rowDeleted) rowDeleted(ListKind::CalcConds, k);
    RemoveEntry(p.CalcConds, k);
  }
}

void RenumberCurvePaths(Project& p) {
  for (RegistryEntry& e : p.CalcConds.items) e.Path = CurveFilePath(p.ProgramFolder, e.No);
}

void ApplyBStepLevel(ModelParams& m, int level) {
  static const double kTolerance[] = {1.0, 0.5, 0.01, 0.005, 0.001};
  if (level >= 1 && level <= 5) m.E_cAllowableError = kTolerance[level - 1];
}

}  // namespace zx
