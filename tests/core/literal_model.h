// A second, independent reading of the flux creep-flow model, written
// straight from the formulas for the tests. It shares no code with the
// program's model, so agreeing with it bit for bit means the program
// evaluates every formula in the written order.
#pragma once

#include <cmath>

namespace zx::literal {

struct LiteralInputs {
  double Am = 1.0e9, sigma2 = 0.1, gamma = 0.8, m = 3.0, g2 = 1.0;
  double Tc = 39.0, Bc20 = 9.0, rhon0 = 1.5e-6, zeta = 6.2831852, d = 1e-6;
  int Tcn = 1, Bcn = 1, N = 900;
  double J = 0, B = 0, T = 0;
  double Ec = 1e-4, EcError = 0.01;
};

// Which branches an evaluation went through.
struct LiteralBranches {
  long creep = 0, flow = 0, thin = 0, bulk = 0;
};

class LiteralModel {
 public:
  explicit LiteralModel(const LiteralInputs& in) : in_(in) {}
  LiteralBranches branches;

  double E(double J, double B, double T) {
    J_ = J;
    B_ = B;
    T_ = T;
    norm_ = 1.0;
    const double xm = std::log10(in_.Am);
    const double s = std::sqrt(in_.sigma2);
    const double I0 = Rule(&LiteralModel::Omega, xm - 10 * s, xm + 10 * s);
    norm_ = 1.0 / I0;
    const double Jcm = Jc0(in_.Am);
    const double w = 4 * s;
    double h = (std::log10(Jcm) - w) - std::log10(J);
    if (!(h >= 0)) h = 0;
    double o = std::log10(J) - (std::log10(Jcm) + w);
    if (!(o >= 0)) o = 0;
    return Rule(&LiteralModel::Local, xm - w - h, xm + w + o);
  }

  // Bisection of the Jc search, stopping after 200 halvings.
  double Jc(double B, double T, double Jlo, double Jhi) {
    double Elo = E(Jlo, B, T), Ehi = E(Jhi, B, T);
    double mid = 0;
    for (int i = 0; i < 200; ++i) {
      mid = std::pow(10.0, (std::log10(Jlo) + std::log10(Jhi)) / 2);
      double e = E(mid, B, T);
      if (std::fabs(in_.Ec - e) < in_.Ec * in_.EcError / 100) return mid;
      if (Elo <= in_.Ec && e >= in_.Ec) {
        Jhi = mid;
        Ehi = e;
      } else if (e < in_.Ec && Ehi >= in_.Ec) {
        Jlo = mid;
        Elo = e;
      } else {
        return 1.0;
      }
    }
    return mid;
  }

 private:
  static constexpr double pi = 3.141592654;
  static constexpr double kB = 1.380662e-23;
  static constexpr double phi0 = 2.0679e-15;

  double nT() const { return in_.Tcn == 1 ? 2.0 : 1.0; }
  double nB() const { return in_.Bcn == 1 ? 2.0 : 1.0; }

  double Jc0(double A) const {
    double t = 1 - std::pow(T_ / in_.Tc, nT());
    double Bc2 = in_.Bc20 * t;
    if (!(T_ < in_.Tc && B_ < Bc2)) return 0;
    double re = A * std::pow(t, in_.m) * std::pow(B_, in_.gamma - 1) * std::pow(1 - B_ / Bc2, nB());
    double im = 0;
    return std::sqrt(re * re + im * im);
  }

  double Omega(double x) {
    double diff = x - std::log10(in_.Am);
    return std::exp(diff * diff * -1.0 / (2.0 * in_.sigma2)) * norm_ * std::log(10.0) *
           std::pow(10.0, x);
  }

  double Local(double x) {
    const double mu0 = 4.0 * pi * std::pow(10.0, -7.0);
    double Jc = Jc0(std::pow(10.0, x));
    double j = J_ / Jc;
    double af = std::sqrt(2 * phi0 / (std::sqrt(3.0) * B_));
    double L = std::sqrt(af * B_) / std::sqrt(mu0 * in_.zeta * Jc);
    double U0;
    if (L > in_.d) {
      ++branches.thin;
      U0 = 4.23 * in_.g2 * kB * Jc * in_.d / (in_.zeta * std::sqrt(B_));
    } else {
      ++branches.bulk;
      U0 = 0.835 * in_.g2 * kB * std::sqrt(Jc) / (std::pow(in_.zeta, 1.5) * std::pow(B_, 0.25));
    }
    U0 = std::fabs(U0);
    double rhon = in_.rhon0 * T_ / in_.Tc;
    double Bc2 = in_.Bc20 * (1 - std::pow(T_ / in_.Tc, nT()));
    double rhof = rhon * B_ / Bc2;
    double nu0 = rhof * in_.zeta * Jc / (2 * pi * af * B_);
    double w = Omega(x);
    double kT = kB * T_;
    double Ecr, Eff;
    if (j < 1) {
      ++branches.creep;
      Ecr = B_ * af * nu0 * std::exp(-U0 * (std::sqrt(1 - j * j) - j * std::acos(j)) / kT) *
            (1 - std::exp(-pi * U0 * j / kT));
      Eff = 0;
    } else {
      ++branches.flow;
      Ecr = B_ * af * nu0 * (1 - std::exp(-pi * U0 / kT));
      Eff = rhof * (J_ - Jc);
    }
    return std::sqrt(w * Ecr * (w * Ecr) + w * Eff * (w * Eff));
  }

  double Rule(double (LiteralModel::*g)(double), double a, double b) {
    const int N = in_.N;
    double h = (b - a) / N;
    double S3 = 0, S2 = 0;
    for (int k = 1; k <= N - 2; k += 3) {
      double first = (this->*g)(k * h + a);
      double second = (this->*g)((k + 1) * h + a);
      S3 += first + second;
    }
    for (int k = 3; k <= N - 3; k += 3) S2 += (this->*g)(k * h + a);
    double ga = (this->*g)(a);
    double gb = (this->*g)(b);
    return (ga + gb + 3 * S3 + 2 * S2) * h * 3 / 8;
  }

  LiteralInputs in_;
  double J_ = 0, B_ = 0, T_ = 0, norm_ = 1.0;
};

}  // namespace zx::literal
