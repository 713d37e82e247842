#include "calc/model.h"

#include "model/param_table.h"

namespace zx {

CreepFlowInputs ToCreepFlowInputs(const ModelParams& p) {
  CreepFlowInputs in;
  for (const ParamRow& r : ParamTable()) in.*r.modelInput = p.*r.value;
  in.rhon0 = p.Rho_n_0;
  in.zeta = p.Re_Zeta;
  in.d = p.Thickness;
  in.tcExponent = ScalingExponent(p.Tcn);
  in.bcExponent = ScalingExponent(p.Bcn);
  in.intervals = p.IntStepNum;
  return in;
}

double ModelE(const ModelParams& p, double J, double T, double B) {
  return CreepFlowE(ToCreepFlowInputs(p), J, T, B);
}

}  // namespace zx
