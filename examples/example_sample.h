// The sample and the pinning parameters the example data were made with;
// the tests fit synthetic data of the same sample.
#pragma once

#include "model/project.h"

namespace zx::examples {

inline ModelParams ExampleTruth() {
  ModelParams p;
  p.SampleName = "MgB2-example";
  p.T_c = 39.0;
  p.B_c2_0 = 15.0;
  p.Rho_n_0 = 1.5e-6;
  p.Thickness = 1e-4;
  p.Re_Zeta = 6.2831852;
  p.Tcn = 1;
  p.Bcn = 1;
  p.IntStepNum = 900;
  p.Re_A_m = 1.25e9;
  p.Sigma_2 = 0.08;
  p.Re_Gamma = 0.75;
  p.Re_m = 2.6;
  p.Re_g_2 = 2.5;
  return p;
}

}  // namespace zx::examples
