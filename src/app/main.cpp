#include <QtCore/qglobal.h>

#include "app/startup.h"

int main(int argc, char** argv) {
  // The resources live in a static library: register them explicitly.
  Q_INIT_RESOURCE(zentrix2);
  return zx::RunProgram(argc, argv);
}
