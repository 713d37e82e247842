#include "app/startup.h"

int main(int argc, char** argv) { return zx::RunProgram(argc, argv); }
