#include "common/atomic_file.h"

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>

namespace quorvel::common {

AtomicWrite writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  const std::filesystem::path folder =
      path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  std::string hidden = ".";
  hidden += path.filename().string();
  hidden += ".XXXXXX";
  std::string temp = (folder / hidden).string();
  const int fd = mkstemp(temp.data());
  if (fd < 0) return AtomicWrite::CannotCreate;
  bool ok = true;
  std::size_t written = 0;
  while (ok && written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    ok = n > 0;
    if (ok) written += static_cast<std::size_t>(n);
  }
  ok = (::fsync(fd) == 0) && ok;
  ok = (::close(fd) == 0) && ok;
  std::error_code error;
  if (ok) {
    std::filesystem::permissions(temp, std::filesystem::perms(0644), error);
    std::filesystem::rename(temp, path, error);
    ok = !error;
  }
  if (!ok) std::filesystem::remove(temp, error);
  return ok ? AtomicWrite::Written : AtomicWrite::WriteFailed;
}

}  // namespace quorvel::common
