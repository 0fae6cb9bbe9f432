#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>

namespace quorvel::common {

namespace {

constexpr std::size_t kDefaultNameLimit = 255;
constexpr std::string_view kTemporarySuffix = ".XXXXXX";  // mkstemp's six letters

// The hidden name's stem, "." and the file name, cut (on a whole UTF-8 character) so that
// the stem and mkstemp's suffix fit within the file system's limit.
std::string temporaryStem(const std::string& name, std::size_t limit) {
  std::string stem = "." + name;
  const std::size_t room = limit > kTemporarySuffix.size() ? limit - kTemporarySuffix.size() : 1;
  if (stem.size() > room) {
    std::size_t cut = room;
    while (cut > 1 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;
    stem.resize(cut);
  }
  return stem;
}

bool isTemporaryOf(const std::string& candidate, const std::string& stem) {
  if (candidate.size() != stem.size() + kTemporarySuffix.size()) return false;
  if (candidate.compare(0, stem.size(), stem) != 0 || candidate[stem.size()] != '.') return false;
  for (std::size_t i = stem.size() + 1; i < candidate.size(); ++i) {
    const char c = candidate[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!letter) return false;
  }
  return true;
}

// A hidden file of a write that was killed: a regular file that nobody holds locked. It is
// unlinked only while locked here, and only if the name still leads to the file checked.
void removeIfAbandoned(const std::filesystem::path& file) {
  struct stat named {};
  if (::lstat(file.c_str(), &named) != 0 || !S_ISREG(named.st_mode)) return;
  const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return;
  struct stat opened {};
  if (::fstat(fd, &opened) == 0 && opened.st_dev == named.st_dev && opened.st_ino == named.st_ino &&
      ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(file.c_str(), &named) == 0 &&
      named.st_dev == opened.st_dev && named.st_ino == opened.st_ino) {
    ::unlink(file.c_str());
  }
  ::close(fd);
}

void removeAbandonedTemporaries(const std::filesystem::path& folder, const std::string& stem) {
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  if (error) return;
  for (const auto& entry : entries) {
    if (isTemporaryOf(entry.path().filename().string(), stem)) removeIfAbandoned(entry.path());
  }
}

// A new hidden file, locked for as long as it is open. A cleaner of another save may take
// a file in the instant between its making and its lock; then it is made anew.
int createLockedTemporary(std::string& temp, const std::string& pattern) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    temp = pattern;
    const int fd = mkstemp(temp.data());
    if (fd < 0) return -1;
    struct stat info {};
    if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &info) == 0 && info.st_nlink > 0) return fd;
    ::close(fd);
  }
  return -1;
}

}  // namespace

std::size_t fileNameLimit(const std::filesystem::path& folder) {
  const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
  return limit > 0 ? static_cast<std::size_t>(limit) : kDefaultNameLimit;
}

AtomicWrite writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  const std::filesystem::path folder =
      path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  const std::string name = path.filename().string();
  const std::size_t limit = fileNameLimit(folder);
  if (name.size() > limit) return AtomicWrite::NameTooLong;
  const std::string stem = temporaryStem(name, limit);
  removeAbandonedTemporaries(folder, stem);

  std::string temp;
  const int fd =
      createLockedTemporary(temp, (folder / (stem + std::string(kTemporarySuffix))).string());
  if (fd < 0) return AtomicWrite::CannotCreate;
  bool ok = true;
  std::size_t written = 0;
  while (ok && written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    ok = n > 0;
    if (ok) written += static_cast<std::size_t>(n);
  }
  ok = (::fsync(fd) == 0) && ok;
  std::error_code error;
  if (ok) {
    std::filesystem::permissions(temp, std::filesystem::perms(0644), error);
    std::filesystem::rename(temp, path, error);
    ok = !error;
  }
  if (!ok) std::filesystem::remove(temp, error);
  // The lock is let go only once the hidden name is gone; the bytes were synced above, so
  // the close has nothing left to report.
  ::close(fd);
  return ok ? AtomicWrite::Written : AtomicWrite::WriteFailed;
}

}  // namespace quorvel::common
