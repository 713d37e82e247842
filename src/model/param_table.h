// The quantities a fit may move, one row each: how the settings file, the
// command line, the panel, the range dialog, the fit and the model know
// them. Adding a fitted quantity is one row here, its field in ModelParams
// (and CalcSettings for a stored range) and its physics.
#pragma once

#include <span>

#include "model/project.h"
#include "physics/creep_flow.h"

namespace zx {

// The five pinning parameters, then the two sample constants a fit may move too.
enum class FitParam { Am, Sigma2, Gamma, M, G2, Tc, Bc2 };
inline constexpr int kPinningParamCount = 5;
inline constexpr int kFitParamCount = 7;

enum class ParamScale { Linear, Log };

// The values a parameter and the bounds of its range may take: the rule of
// the range dialog, of --set and of the panel's values.
struct ParamLimits {
  double lowest = 0.0;
  double highest = 0.0;
  bool lowestExcluded = false;
};

struct ParamRow {
  FitParam id;
  const char* name;         // on the command line and in reports: "sigma2"
  const char* symbol;       // in windows and messages: "σ^2"
  const char* unit;         // SI, as the fit record writes it: "A/m^2", "1"
  const char* description;  // the panel's tip, Japanese, marked for translation
  const char* controlName;  // the prefix of its controls' names: "sigma2Edit"
  // Settings-file keys of the value and of its stored range; a quantity
  // without a stored range (Tc, Bc2(0)) has nullptr keys and fields.
  const char* valueKey;
  const char* minimumKey;
  const char* maximumKey;
  double ModelParams::*value;
  double CreepFlowInputs::*modelInput;  // where the model reads the value
  double CalcSettings::*minimum;
  double CalcSettings::*maximum;
  ParamScale sliderScale;  // how the panel's slider maps its range
  ParamScale fitScale;     // the coordinate the fit moves
  // Starts are sampled over at most this many decades below the top of the
  // range (0: the whole range): lower, a value has no effect the data show.
  double sampledDecades;
  ParamLimits limits;
};

// Every row, in FitParam order; the first kPinningParamCount have sliders.
std::span<const ParamRow> ParamTable();
const ParamRow& ParamRowOf(FitParam p);
inline const ParamRow& ParamRowOf(int index) { return ParamRowOf(static_cast<FitParam>(index)); }
std::span<const ParamRow> PinningRows();

// The row's name ("Am", "sigma2", ...); "" for an index out of range.
const char* FitParamName(int index);
// The index of a name as above; -1 when unknown.
int FitParamIndex(const std::string& name);

// The stored range of a row that has one.
inline bool HasStoredRange(const ParamRow& r) { return r.minimum != nullptr; }
// The name a refusal of the row's range gives: its symbol, or for a range not
// stored in the project, the key of its value.
const char* RangeName(const ParamRow& r);

// True when v lies within the row's limits (and is finite).
bool WithinLimits(const ParamRow& r, double v);

}  // namespace zx
