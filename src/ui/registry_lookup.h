// Finding a registry entry by its stable identity, for dialogs that keep
// editing an entry while numbers shift under them.
#pragma once

#include <cstdint>

#include "model/project.h"

namespace zx {

inline const RegistryEntry* FindByUid(const Registry& registry, std::uint64_t uid) {
  for (const RegistryEntry& e : registry.items)
    if (e.Uid == uid) return &e;
  return nullptr;
}

}  // namespace zx
