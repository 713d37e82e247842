// The cached kernel behind CreepFlowE.
//
// Of the integrand, only j = J / J_c0 and what follows from it depends on
// J. Everything else at an abscissa (J_c0, the bundle length test, U_0,
// nu_0, the weight omega, the j >= 1 creep term) is kept in a table for the
// current parameters, T, B and integration limits, and reused while J moves
// inside the core interval. Every cached value is the exact left-to-right
// prefix of the reference expression, so the results keep their bits.
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "numeric/quadrature.h"
#include "physics/constants.h"
#include "physics/creep_flow.h"
#include "physics/creep_flow_kernel.h"

namespace zx {

using namespace physics;

namespace {

// Beyond this interval count a table per thread would cost more memory than
// the reference evaluation costs time.
constexpr int kMaxTabulatedSteps = 1 << 18;

std::uint64_t Bits(double v) { return std::bit_cast<std::uint64_t>(v); }
std::uint64_t Bits(int v) { return static_cast<std::uint32_t>(v); }

// Keys hold bit patterns: -0.0 and 0.0 differ, a NaN input matches itself.
using NormKey = std::array<std::uint64_t, 3>;
using SetupKey = std::array<std::uint64_t, 15>;
using LimitsKey = std::array<std::uint64_t, 2>;

NormKey MakeNormKey(const CreepFlowInputs& in) {
  return {Bits(in.Am), Bits(in.sigma2), Bits(in.intervals)};
}

// Every input the field integral reads except J.
SetupKey MakeSetupKey(const CreepFlowInputs& in, double T, double B) {
  return {
      Bits(in.Am), Bits(in.sigma2), Bits(in.gamma),      Bits(in.m),          Bits(in.g2),
      Bits(B),     Bits(T),         Bits(in.Tc),         Bits(in.Bc20),       Bits(in.rhon0),
      Bits(in.d),  Bits(in.zeta),   Bits(in.tcExponent), Bits(in.bcExponent), Bits(in.intervals)};
}

// What the integrand and the limits use that depends on neither J nor x.
struct Setup {
  bool superconducting = false;
  double pT = 0, pB = 0, pField = 0;  // the three powers of the scaling law
  double distNorm = 0;
  double B = 0, d = 0, kT = 0;
  double sqrtAfB = 0, mu0Zeta = 0;
  double thinPrefix = 0, thinDenom = 0, bulkPrefix = 0, bulkDenom = 0;
  double rhoF = 0, rhoFZeta = 0, nuDenom = 0, bAf = 0;
  double logAm = 0, twoSigma2 = 0;
  // The bundle-length test L > d decided on mu0 zeta Jc0 alone: clearly
  // below thinBelow the bundle is longer than d, clearly above bulkAbove it
  // is not; in between (and when unusable) L is computed as written.
  bool lengthBounds = false;
  double thinBelow = 0, bulkAbove = 0;
  // Limits: the core interval and the bounds beyond which it is extended.
  double coreLower = 0, coreUpper = 0, extendBelow = 0, extendAbove = 0;
  double jcmRaw = 0;
};

// One abscissa of the field integral.
struct Entry {
  double jc0Raw = 0;   // Jc0 as the scaling law gives it
  double jc0 = 0;      // its magnitude, the value the integrand reads
  double negU0 = 0;    // -U_0
  double negPiU0 = 0;  // -pi * U_0
  double bAfNu0 = 0;   // B * a_f * nu_0
  double omega = 0;
  double flowSq = 0;        // (omega * E_cr)^2 of the j >= 1 branch, once needed
  double vanishBelow = -1;  // for 0 <= j below this the integrand is +0
  bool flowReady = false;
};

struct ThreadCache {
  bool normValid = false;
  NormKey normKey{};
  double norm = 0;

  bool setupValid = false;
  SetupKey setupKey{};
  Setup setup;

  bool tableValid = false;
  LimitsKey limitsKey{};
  std::vector<Entry> table;

  CreepFlowCacheStats stats;
};

thread_local ThreadCache tCache;

std::atomic<CreepFlowKernel> gKernel{CreepFlowKernel::Cached};

double RawJc0(const Setup& s, double a) { return a * s.pT * s.pB * s.pField; }

// Jc0Magnitude, sqrt(Jc0^2). In binary floating point the root of a
// correctly rounded square is the magnitude itself while the square neither
// overflows nor underflows, so the root is only taken outside that.
double AbsJc0(double raw) {
  const double m = std::fabs(raw);
  if (m > 0x1p-500 && m < 0x1p500) return m;
  return Jc0Magnitude(raw);
}

Setup MakeSetup(const CreepFlowInputs& in, double T, double B, double distNorm) {
  Setup s;
  const double t = ReducedTemperature(in, T);
  const double Bc2 = in.Bc20 * t;
  s.superconducting = T < in.Tc && B < Bc2;
  s.pT = std::pow(t, in.m);
  s.pB = std::pow(B, in.gamma - 1);
  s.pField = std::pow(1 - B / Bc2, static_cast<double>(in.bcExponent));
  s.distNorm = distNorm;
  s.B = B;
  s.d = in.d;
  s.kT = kBoltzmann * T;

  const double zeta = in.zeta;
  const double af = std::sqrt(2 * kFluxQuantum / (std::sqrt(3.0) * B));
  s.sqrtAfB = std::sqrt(af * B);
  s.mu0Zeta = kMu0 * zeta;
  s.thinPrefix = kThinPotentialCoefficient * in.g2 * kBoltzmann;
  s.thinDenom = zeta * std::sqrt(B);
  s.bulkPrefix = kBulkPotentialCoefficient * in.g2 * kBoltzmann;
  s.bulkDenom = std::pow(zeta, 1.5) * std::pow(B, 0.25);
  // L > d  <=>  mu0 zeta Jc0 < (sqrt(a_f B) / d)^2; a relative margin of
  // 1e-9 dwarfs the rounding of the handful of operations on either side.
  const double r = s.sqrtAfB / in.d;
  const double r2 = r * r;
  if (std::isnormal(r2) && s.sqrtAfB > 0 && in.d > 0 && std::isfinite(s.sqrtAfB)) {
    s.lengthBounds = true;
    s.thinBelow = r2 * (1 - 1e-9);
    s.bulkAbove = r2 * (1 + 1e-9);
  }
  const double rhoN = in.rhon0 * T / in.Tc;
  s.rhoF = rhoN * B / UpperCriticalField(in, T);
  s.rhoFZeta = s.rhoF * zeta;
  s.nuDenom = 2 * kPi * af * B;
  s.bAf = B * af;
  s.logAm = std::log10(in.Am);
  s.twoSigma2 = 2.0 * in.sigma2;

  const double xm = std::log10(in.Am);
  const double sd = std::sqrt(in.sigma2);
  s.jcmRaw = s.superconducting ? RawJc0(s, in.Am) : 0;
  const double jcm = s.superconducting ? AbsJc0(s.jcmRaw) : 0;
  const double w = 4 * sd;
  s.extendBelow = std::log10(jcm) - w;
  s.extendAbove = std::log10(jcm) + w;
  s.coreLower = xm - w;
  s.coreUpper = xm + w;
  return s;
}

// An integer above log2 |v|, for finite v other than 0.
int Log2Above(double v) {
  const int biased = static_cast<int>((std::bit_cast<std::uint64_t>(v) >> 52) & 0x7ff);
  return biased != 0 ? biased - 1022 : std::ilogb(v) + 1;
}

// The j below which the creep field is so small that its square, and so
// the integrand, is exactly +0, decided without arccos and exponentials.
// For 0 <= j <= 0.5 the barrier factor sqrt(1-j^2) - j acos j is at least
// 1 - (pi/2) j >= 0.21 and is computed to within a few units in the last
// place, so the computed exponent -U_0 (...) / kT is at most k (1 - (pi/2) j)
// (1 - 1e-6) with k = -U_0 / kT. omega B a_f nu_0 exp(...) (1 - exp(...))
// then stays below 2^(scale + log2(e) k (...)); its square rounds to +0 once
// that is below 2^-537.5. The threshold asks for 2^-545.
double VanishingJ(const Setup& s, const Entry& e) {
  if (!(std::isfinite(e.negU0) && s.kT > 0 && std::isfinite(s.kT))) return -1;
  if (!(std::isfinite(e.omega) && e.omega != 0 && std::isfinite(e.bAfNu0) && e.bAfNu0 != 0))
    return -1;
  const int scale = Log2Above(e.omega) + Log2Above(e.bAfNu0);
  // A huge prefactor could lift even the rounding error of a subnormal exp.
  if (scale > 400) return -1;
  const double k = e.negU0 / s.kT;
  if (!(k < 0)) return -1;
  const double t = (-545.0 - scale) / (1.4426950408889634 * k * (1 - 1e-6));
  const double j = (1 - t) / 1.5707963268;
  return j < 0.5 ? j : 0.5;
}

Entry MakeEntry(const Setup& s, double x) {
  Entry e;
  const double a = std::pow(10, x);
  if (s.superconducting) {
    e.jc0Raw = RawJc0(s, a);
    e.jc0 = AbsJc0(e.jc0Raw);
  }
  const double jc0 = e.jc0;
  const double q = s.mu0Zeta * jc0;
  bool thin;
  if (s.lengthBounds && q < s.thinBelow) {
    thin = true;
  } else if (s.lengthBounds && q > s.bulkAbove) {
    thin = false;
  } else {
    const double L = s.sqrtAfB / std::sqrt(q);
    thin = L > s.d;
  }
  double u0;
  if (thin) {
    u0 = s.thinPrefix * jc0 * s.d / s.thinDenom;
  } else {
    u0 = s.bulkPrefix * std::sqrt(jc0) / s.bulkDenom;
  }
  u0 = std::fabs(u0);
  e.negU0 = -u0;
  e.negPiU0 = -kPi * u0;
  const double nu0 = s.rhoFZeta * jc0 / s.nuDenom;
  e.bAfNu0 = s.bAf * nu0;

  double v = x - s.logAm;
  v = v * v;
  v = v * -1.0;
  v = v / s.twoSigma2;
  v = std::exp(v);
  v = v * s.distNorm;
  v = v * kLn10;
  v = v * a;
  e.omega = v;
  e.vanishBelow = VanishingJ(s, e);
  return e;
}

double FieldIntegrand(const Setup& s, Entry& e, double J) {
  const double jc0 = e.jc0;
  const double j = J / jc0;
  if (j < 1) {
    if (j < e.vanishBelow && j >= 0) return 0.0;
    const double hop = e.negPiU0 * j / s.kT;
    // Below -38, exp is under 2^-54 and 1 - exp rounds to exactly 1.
    const double notBack = hop < -38 ? 1.0 : 1 - std::exp(hop);
    const double eCr =
        e.bAfNu0 * std::exp(e.negU0 * (std::sqrt(1 - j * j) - j * std::acos(j)) / s.kT) * notBack;
    const double eFf = 0;
    return std::sqrt((e.omega * eCr) * (e.omega * eCr) + (e.omega * eFf) * (e.omega * eFf));
  }
  if (!e.flowReady) {
    const double eCr = e.bAfNu0 * (1 - std::exp(e.negPiU0 / s.kT));
    e.flowSq = (e.omega * eCr) * (e.omega * eCr);
    e.flowReady = true;
  }
  const double eFf = s.rhoF * (J - jc0);
  return std::sqrt(e.flowSq + (e.omega * eFf) * (e.omega * eFf));
}

}  // namespace

double CreepFlowE(const CreepFlowInputs& in, double J, double T, double B, CreepFlowTrace* trace) {
  const int n = in.intervals;
  if (n > kMaxTabulatedSteps ||
      gKernel.load(std::memory_order_relaxed) == CreepFlowKernel::Reference)
    return CreepFlowEReference(in, J, T, B, trace);
  ThreadCache& c = tCache;
  ++c.stats.evaluations;

  const NormKey normKey = MakeNormKey(in);
  if (!c.normValid || c.normKey != normKey) {
    const double xm = std::log10(in.Am);
    const double s = std::sqrt(in.sigma2);
    c.norm = ThreeEighths([&](std::size_t, double x) { return PinningWeight(in, 1.0, x); },
                          xm - 10 * s, xm + 10 * s, n);
    c.normKey = normKey;
    c.normValid = true;
    ++c.stats.normBuilds;
  }
  const double distNorm = 1.0 / c.norm;

  const SetupKey setupKey = MakeSetupKey(in, T, B);
  if (!c.setupValid || c.setupKey != setupKey) {
    c.setup = MakeSetup(in, T, B, distNorm);
    c.setupKey = setupKey;
    c.setupValid = true;
    c.tableValid = false;
    ++c.stats.setupBuilds;
  }
  const Setup& s = c.setup;

  const double logJ = std::log10(J);
  const double below = s.extendBelow - logJ;
  const double above = logJ - s.extendAbove;
  const double lowerExt = below >= 0 ? below : 0;
  const double upperExt = above >= 0 ? above : 0;
  const double lower = s.coreLower - lowerExt;
  const double upper = s.coreUpper + upperExt;

  const LimitsKey limitsKey = {Bits(lower), Bits(upper)};
  double e;
  if (c.tableValid && c.limitsKey == limitsKey) {
    Entry* table = c.table.data();
    e = ThreeEighths([&](std::size_t i, double) { return FieldIntegrand(s, table[i], J); }, lower,
                     upper, n);
  } else {
    c.tableValid = false;
    c.table.clear();
    c.table.reserve(static_cast<std::size_t>(n > 0 ? n : 0) + 2);
    e = ThreeEighths(
        [&](std::size_t, double x) {
          c.table.push_back(MakeEntry(s, x));
          return FieldIntegrand(s, c.table.back(), J);
        },
        lower, upper, n);
    c.limitsKey = limitsKey;
    c.tableValid = true;
    ++c.stats.tableBuilds;
  }
  if (trace) {
    // The last abscissa is the upper limit.
    const Entry& last = c.table.back();
    trace->distNorm = distNorm;
    trace->jc0 = last.jc0Raw;
    trace->jc0Magnitude = last.jc0;
  }
  return e;
}

void SelectCreepFlowKernel(CreepFlowKernel kernel) {
  gKernel.store(kernel, std::memory_order_relaxed);
}

CreepFlowCacheStats ThreadCreepFlowCacheStats() { return tCache.stats; }

void ClearThreadCreepFlowCache() {
  ThreadCache& c = tCache;
  c.normValid = c.setupValid = c.tableValid = false;
  c.table.clear();
}

}  // namespace zx
