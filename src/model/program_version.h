// The program's version, as `zentrix2-calc --version` and the about box show it.
#pragma once

namespace zx {

inline constexpr char kProgramName[] = "ZENTRIX II";
inline constexpr char kProgramVersion[] = "2.0.0";

}  // namespace zx
