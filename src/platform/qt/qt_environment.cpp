#include "platform/qt/qt_environment.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace quorvel::platform {

namespace {

// What the toolkit takes without a word: a folder (not a link) of this user, open to no one
// else.
bool isPrivateFolder(const char* path) {
  struct stat info {};
  return path != nullptr && *path != '\0' && ::lstat(path, &info) == 0 && S_ISDIR(info.st_mode) &&
         info.st_uid == ::geteuid() && (info.st_mode & 07777) == 0700;
}

// /tmp/runtime-UID, made private if it is this user's; if another user holds that name, a
// fresh private folder beside it.
std::string privateRuntimeFolder() {
  const std::string folder = "/tmp/runtime-" + std::to_string(::geteuid());
  ::mkdir(folder.c_str(), 0700);
  struct stat info {};
  if (::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
      info.st_uid == ::geteuid()) {
    ::chmod(folder.c_str(), 0700);
    if (isPrivateFolder(folder.c_str())) return folder;
  }
  std::string fresh = folder + "-XXXXXX";
  return ::mkdtemp(fresh.data()) != nullptr ? fresh : folder;
}

}  // namespace

void prepareQtEnvironment(bool offscreen) {
  if (offscreen) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (!isPrivateFolder(std::getenv("XDG_RUNTIME_DIR"))) {
    setenv("XDG_RUNTIME_DIR", privateRuntimeFolder().c_str(), 1);
  }
}

}  // namespace quorvel::platform
