#pragma once

#include <filesystem>
#include <string_view>

namespace quorvel::common {

enum class AtomicWrite { Written, CannotCreate, WriteFailed };

// Writes `bytes` to `path`, replacing a file that is there atomically: a new file beside it,
// synced, then renamed over it. On any failure the old file stays and no new one is left.
AtomicWrite writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace quorvel::common
