// Synthetic fit problems: data made by the model itself at known
// parameters, optionally with multiplicative noise.
#pragma once

#include <cmath>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "calc/model.h"
#include "calc/model_jc.h"
#include "example_sample.h"
#include "fit/fit_data.h"
#include "model/format.h"
#include "model/project.h"

namespace zx::fit_test {

// The example sample, with a coarser integration grid to keep tests quick.
inline ModelParams TruthParams() {
  ModelParams p = examples::ExampleTruth();
  p.IntStepNum = 150;
  return p;
}

// The pinning parameters scaled by `factor`; Tc and Bc2(0) kept.
inline FitValues Scaled(const FitValues& v, double factor) {
  FitValues s = v;
  for (std::size_t k = 0; k < kPinningParamCount; ++k) s[k] *= factor;
  return s;
}

// One condition per (T, B): `points` current densities evenly spaced in
// log J between the model's E = 1e-8 and E = 1e-2 V/m.
inline FitInput MakeEJInput(const ModelParams& truth,
                            const std::vector<std::pair<double, double>>& tb, int points,
                            double noise = 0.0, unsigned seed = 7) {
  FitInput in;
  in.mode = CalcMode::EJ;
  in.params = truth;
  std::mt19937 rng(seed);
  std::normal_distribution<double> z(0.0, 1.0);
  int no = 0;
  for (auto [T, B] : tb) {
    ConditionData c;
    c.no = no++;
    c.temp = T;
    c.field = B;
    c.status = DataStatus::Used;
    const double lo = std::log10(ModelJc(truth, T, B, 1e-8, 1e-9, 1e5, 1e11));
    const double hi = std::log10(ModelJc(truth, T, B, 1e-2, 1e-9, 1e5, 1e11));
    for (int k = 0; k < points; ++k) {
      const double J = std::pow(10.0, lo + (hi - lo) * k / (points - 1));
      c.x.push_back(J);
      c.y.push_back(ModelE(truth, J, T, B) * std::exp(noise * z(rng)));
    }
    in.conditions.push_back(c);
  }
  return in;
}

// Jc against B at each temperature, `points` fields from 1 T to 5 T.
inline FitInput MakeJcBInput(const ModelParams& truth, const std::vector<double>& temps,
                             int points) {
  FitInput in;
  in.mode = CalcMode::JcB;
  in.params = truth;
  int no = 0;
  for (double T : temps) {
    ConditionData c;
    c.no = no++;
    c.temp = T;
    c.status = DataStatus::Used;
    for (int k = 0; k < points; ++k) {
      const double B = 1.0 + 4.0 * k / (points - 1);
      c.x.push_back(B);
      c.y.push_back(ModelJc(truth, T, B, truth.E_c, 1e-13, 1e5, 1e11));
    }
    in.conditions.push_back(c);
  }
  return in;
}

// Writes each condition's points to folder + "d<no>.dat" and registers the
// file with its condition (result file `result`) in the project.
inline void AddConditionFiles(Project& p, const FitInput& in, const std::string& folder,
                              const std::string& result) {
  for (const ConditionData& c : in.conditions) {
    const std::string data = folder + "d" + std::to_string(c.no) + ".dat";
    std::ofstream f(data, std::ios::binary);
    f << "# J E\r\n";
    for (std::size_t i = 0; i < c.x.size(); ++i)
      f << FormatLe(c.x[i]) << "\t" << FormatLe(c.y[i]) << "\r\n";
    f.close();
    AddDataFile(p, data);
    AddCalcCond(p, c.no, c.temp, c.field, result);
  }
}

}  // namespace zx::fit_test
