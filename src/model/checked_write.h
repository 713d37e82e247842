// Replacing a file only while it still holds what the writer read: of two
// writers that read the same bytes, the second is refused instead of
// silently undoing the first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zx {

// What a writer read of a file (unknown: nothing was read, nothing is
// checked).
struct ReadStamp {
  bool known = false;
  std::size_t size = 0;
  std::uint64_t hash = 0;
  bool operator==(const ReadStamp&) const = default;
};
ReadStamp StampOf(std::string_view bytes);

enum class WriteResult { Written, Failed, ChangedSinceRead };

// WriteFileAtomically, but only while the file still holds the bytes `read`
// was taken of (a known stamp of a file that is gone counts as changed; an
// unknown one writes as WriteFileAtomically does). The check and the
// replacement happen under an advisory lock (flock) on the file, which
// every writer through here takes.
WriteResult WriteFileIfUnchanged(const std::string& path, std::string_view bytes,
                                 const ReadStamp& read);

}  // namespace zx
