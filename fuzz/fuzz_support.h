// What the harnesses share: a broken invariant ends the run as a finding, and the files a
// harness writes go to a folder of the process's own, removed when it exits.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace quorvel::fuzz {

inline void require(bool condition) {
  if (!condition) std::abort();
}

inline const std::filesystem::path& scratchFolder() {
  static const std::filesystem::path path = [] {
    const auto p =
        std::filesystem::temp_directory_path() / ("quorvel_fuzz_" + std::to_string(getpid()));
    std::filesystem::create_directories(p);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(scratchFolder(), ignored);
    });
    return p;
  }();
  return path;
}

}  // namespace quorvel::fuzz
