// The creep-flow model evaluated at a project's parameters.
#pragma once

#include "model/project.h"
#include "physics/creep_flow.h"

namespace zx {

// The model's inputs among the project's parameters; the orders Tcn and Bcn
// become the exponents 1 (order 0) and 2 (any other order).
CreepFlowInputs ToCreepFlowInputs(const ModelParams& p);

// E (V/m) at (J, T, B). Writes nothing the caller can see, so any number of
// parameter sets may be evaluated side by side.
double ModelE(const ModelParams& p, double J, double T, double B);

}  // namespace zx
