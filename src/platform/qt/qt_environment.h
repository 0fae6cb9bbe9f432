#pragma once

namespace quorvel::platform {

// Settles what Qt wants from the environment before the application object is made: the
// offscreen platform when there is no screen, and a private runtime folder when the
// session has none (so Qt does not warn about it on every start).
void prepareQtEnvironment(bool offscreen);

}  // namespace quorvel::platform
