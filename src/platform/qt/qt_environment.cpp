#include "platform/qt/qt_environment.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace quorvel::platform {

void prepareQtEnvironment(bool offscreen) {
  if (offscreen) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (!runtime || !*runtime) {
    const std::string folder = "/tmp/runtime-" + std::to_string(getuid());
    mkdir(folder.c_str(), 0700);
    chmod(folder.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
  }
}

}  // namespace quorvel::platform
