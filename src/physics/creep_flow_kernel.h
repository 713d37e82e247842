// Which kernel CreepFlowE runs, for the whole process. Benchmarks time the
// calculation passes with the reference kernel through this switch; the
// results are the same either way, and the program never turns it.
#pragma once

namespace zx {

enum class CreepFlowKernel { Cached, Reference };
void SelectCreepFlowKernel(CreepFlowKernel kernel);

}  // namespace zx
