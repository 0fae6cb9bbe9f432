#include "common/shared.h"

namespace quorvel::common {

Shared& shared() {
  static Shared instance;
  return instance;
}

}  // namespace quorvel::common
