// zentrix2-calc: the command-line companion of the window program.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace {

// clang-format off
const char kUsage[] =
    "usage: zentrix2-calc [--threads N] PROJECT.zx2        full calculation: write every result file\n"
    "       zentrix2-calc [--threads N] --preview PROJECT.zx2\n"
    "                                                     correlation of every calculation condition\n"
    "       zentrix2-calc [--scale N] --plot OUT.png|OUT.svg PROJECT.zx2\n"
    "                                                     draw the graph as the window shows it\n"
    "       zentrix2-calc --new PROJECT.zx2                 write a new project with default settings\n"
    "       zentrix2-calc --import-vi RAW --out OUT.dat --tap-length M --width M --thickness M\n"
    "                     [--columns I,V] [--current-unit A|mA] [--voltage-unit V|mV|uV|nV]\n"
    "                     [--background-fraction F] [--min-field E]\n"
    "                                                     measured V-I table to an E-J data file\n"
    "       zentrix2-calc --import-icb RAW --out OUT.dat --width M --thickness M\n"
    "                     [--columns B,I] [--current-unit A|mA]\n"
    "                                                     measured Ic-B table to a Jc-B data file\n"
    "       zentrix2-calc --help | --version\n";
// clang-format on

int Usage(const char* why) {
  if (why) std::fprintf(stderr, "zentrix2-calc: %s\n", why);
  std::fputs(kUsage, stderr);
  return 2;
}

bool ParsePositive(const char* text, double& out) {
  char* end = nullptr;
  out = std::strtod(text, &end);
  return end != text && *end == '\0' && out > 0;
}

}  // namespace

int main(int argc, char** argv) {
  zx::cli::Options opt;
  std::string mode;
  std::vector<std::string> rest;
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--import-vi") == 0 || std::strcmp(argv[i], "--import-icb") == 0)
      return zx::cli::CmdImport(argc, argv);
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a == "--version") {
      std::puts("zentrix2-calc 2.0.0");
      return 0;
    } else if (a == "--threads" || a == "--scale") {
      if (i + 1 >= argc) return Usage((a + " needs a value").c_str());
      double v = 0;
      if (!ParsePositive(argv[++i], v)) return Usage((a + " needs a positive number").c_str());
      if (a == "--threads") {
        if (v != static_cast<int>(v) || v > 1024) return Usage("--threads needs a whole number");
        opt.threads = static_cast<int>(v);
      } else {
        if (v > 16) return Usage("--scale must be at most 16");
        opt.scale = v;
      }
    } else if (a == "--new" || a == "--preview" || a == "--plot") {
      if (!mode.empty()) return Usage("only one command at a time");
      mode = a;
    } else if (a.size() > 1 && a[0] == '-') {
      return Usage(("unknown option " + a).c_str());
    } else {
      rest.push_back(a);
    }
  }
  if (mode == "--plot") {
    if (rest.size() != 2) return Usage("--plot needs an image file and a project");
    return zx::cli::CmdPlot(rest[0], rest[1], opt);
  }
  if (rest.size() != 1) return Usage(rest.empty() ? "no project given" : "too many arguments");
  if (mode == "--new") return zx::cli::CmdNew(rest[0]);
  if (mode == "--preview") return zx::cli::CmdPreview(rest[0], opt);
  return zx::cli::CmdCalc(rest[0], opt);
}
