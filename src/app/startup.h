// Start-up rules of the program: the command line, the executable's name,
// the program folder and the single running instance.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace zx {

// The settings-file path of the command line (arguments joined with single
// spaces, as one command line); empty when there is none.
QString SettingsPathFromArguments(const QStringList& argsWithoutProgram);
bool IsSettingsFileName(const QString& path);
// No argument, or exactly one that names a settings file: several
// arguments (an unquoted path with blanks, or more than one file) are
// refused rather than joined into a path nobody meant.
bool CommandLineAccepted(const QStringList& argsWithoutProgram);
// The program must run under its own name.
bool IsOwnExecutableName(const QString& executablePath);
// The executable's folder with a trailing '/', or the per-user data folder
// when the executable's folder is not a writable folder (an installed copy).
QString ProgramFolderFor(const QString& executablePath, const QString& perUserFolder);

// The whole start-up and message loop; returns the exit code.
int RunProgram(int argc, char** argv);

}  // namespace zx
