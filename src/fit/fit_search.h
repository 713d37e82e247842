// The pieces of the multi-start search (fit_solver.cpp) that its files
// share: the start's bounds, the ends of local fits, how they group into
// minima. Internal to src/fit.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "fit/fit_data.h"
#include "fit/fit_local.h"
#include "fit/fit_relay.h"
#include "fit/fit_residuals.h"
#include "fit/fit_types.h"

namespace zx {
namespace fit_search {

// Ends whose cost is more than this times the best are not fitted further.
constexpr double kPolishedCostRatio = 2.0;
constexpr int kMaxPolished = 3;
// Two ends of exploring fits reached one minimum when every free coordinate
// agrees to this, relative; two polished ends to kSameMinimum.
constexpr double kExploreSame = 1e-2;
constexpr double kSameMinimum = 1e-3;

// What every order shares: bounds, the free parameters, the first start.
struct Common {
  FitValues lower{}, upper{};  // values
  FitValues qLo{}, qHi{};      // coordinates
  FitFlags free{};
  FitValues start{};  // values, clamped into the ranges
  std::vector<FitWarning> warnings;
};

// Where one local fit ended.
struct LocalEnd {
  LocalFitResult fit;
  int exploreIterations = 0;
  double cost = NAN;  // on the project's grid
  int start = 0;
};

// What every local fit of one order shares.
struct StartFits {
  Relay& relay;
  const LocalFitSetup& setup;  // the final fits' settings and bounds
  int threads = 1;
  std::atomic<long long> evaluations{0};
};

// The ends of the starts and how they group.
struct Explored {
  std::vector<LocalEnd> ends;  // by start
  std::vector<int> clusterOf;  // the representative of each start
  std::vector<int> reps;       // one start per cluster, lowest cost first
  bool capped = false;         // the cap on starts ended the search
};

struct Minima {
  std::vector<FitMinimum> list;
  std::vector<int> rep;  // position in reps of each minimum's first cluster
  std::vector<bool> polished;
};

// Bounds, free parameters and start of a fit (fit_bounds.cpp).
Common StartingPoint(const FitInput& input, const FitOptions& options);
// The fitted values into out, marked where on a bound; returns the
// parameters whose errors are estimated.
FitFlags MarkValuesOnBounds(FitOutcome& out, const Common& common, const FitFlags& moving,
                            const LocalFitSetup& setup, const FitValues& q);

// The starts of a multi-start search (fit_starts.cpp).
std::vector<FitValues> Starts(int count, const FitValues& q0, const LocalFitSetup& setup);

// Exploring the starts and polishing the best ends (fit_explore.cpp).
Explored ExploreStarts(StartFits& fits, const FitInput& used, const FitValues& q0, int wanted);
Explored SingleStart();
void ReportCancelledExploration(FitOutcome& out, const Explored& ex, long long evaluations);
int MembersOf(const Explored& ex, int rep);
int PolishCount(const Explored& ex, bool multiStart);
void PolishEnds(StartFits& fits, const FitInput& used, const Explored& ex,
                const FitValues& firstStart, const std::vector<int>& which, bool multiStart,
                std::vector<LocalEnd>& polished, std::vector<bool>& done);

// Telling minima apart (fit_minima.cpp).
bool SameMinimum(const FitValues& a, const FitValues& b, const FitFlags& free, const FitValues& lo,
                 const FitValues& hi, double tol);
double RmsAt(FitResiduals& all, const FitValues& q, const FitFlags& free);
Minima DistinctMinima(FitResiduals& all, const FitInput& used, const LocalFitSetup& setup,
                      const Explored& ex, const std::vector<LocalEnd>& polished,
                      const std::vector<bool>& done);

}  // namespace fit_search
}  // namespace zx
