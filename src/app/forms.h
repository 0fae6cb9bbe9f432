#pragma once

#include "platform/window_manager.h"

namespace quorvel::app {

// Registers every window of the program with the window manager.
void registerForms(platform::WindowManager& windows);

}  // namespace quorvel::app
