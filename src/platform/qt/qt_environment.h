#pragma once

namespace quorvel::platform {

// Settles what Qt wants from the environment before the application object is made: the
// offscreen platform when there is no screen, and a private runtime folder when the
// session has none or one Qt would refuse (not a folder, another user's, open to others),
// so that Qt does not warn about it on every start. The programs and the test programs
// call it first.
void prepareQtEnvironment(bool offscreen);

}  // namespace quorvel::platform
