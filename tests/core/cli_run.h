// Runs zentrix2-calc as a user would and catches what it prints.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "model/text_file.h"

namespace zx::test {

struct CliRun {
  int code = -1;
  std::string out, err;
};

// `env` stands before the program ("ZX_LANG=en_US.UTF-8 "). Messages follow
// the locale: the tests read English unless `locale` names another. The
// output is caught beside the test's folders, so that none of them holds
// more files.
inline CliRun RunCli(const std::string& args, const std::string& env = {},
                     const std::string& locale = "en_US.UTF-8") {
  const std::string base =
      (std::filesystem::temp_directory_path() / ("zx-cli-run-" + std::to_string(getpid())))
          .string();
  const std::string out = base + ".out", err = base + ".err";
  const std::string cmd =
      "env -u LC_ALL -u LC_MESSAGES LANG=" + locale + " " + env + std::string(ZX_CLI_PATH) + " " +
      args + " >'" + out + "' 2>'" + err + "'";
  CliRun r;
  const int status = std::system(cmd.c_str());
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  ReadWholeFile(out, r.out);
  ReadWholeFile(err, r.err);
  std::remove(out.c_str());
  std::remove(err.c_str());
  return r;
}

}  // namespace zx::test
