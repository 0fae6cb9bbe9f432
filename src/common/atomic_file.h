#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>

namespace quorvel::common {

enum class AtomicWrite { Written, CannotCreate, WriteFailed, NameTooLong };

// The longest file name, in bytes, that the file system of `folder` takes (255 on the usual
// ones, and when the folder cannot tell).
std::size_t fileNameLimit(const std::filesystem::path& folder);

// Writes `bytes` to `path`, replacing a file that is there atomically: a new hidden file
// beside it (".NAME.XXXXXX"), synced, then renamed over it. On any failure the old file
// stays and no new one is left. A name longer than the file system takes is NameTooLong,
// and nothing is written. The hidden files of the same name that a killed write left behind
// are removed first; a write still going on holds a lock on its hidden file and keeps it.
AtomicWrite writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace quorvel::common
