#include "calc/model.h"

namespace zx {

CreepFlowInputs ToCreepFlowInputs(const ModelParams& p) {
  CreepFlowInputs in;
  in.Am = p.Re_A_m;
  in.sigma2 = p.Sigma_2;
  in.gamma = p.Re_Gamma;
  in.m = p.Re_m;
  in.g2 = p.Re_g_2;
  in.Tc = p.T_c;
  in.Bc20 = p.B_c2_0;
  in.rhon0 = p.Rho_n_0;
  in.zeta = p.Re_Zeta;
  in.d = p.Thickness;
  in.tcExponent = p.Tcn == 0 ? 1 : 2;
  in.bcExponent = p.Bcn == 0 ? 1 : 2;
  in.intervals = p.IntStepNum;
  return in;
}

double ModelE(const ModelParams& p, double J, double T, double B) {
  return CreepFlowE(ToCreepFlowInputs(p), J, T, B);
}

}  // namespace zx
