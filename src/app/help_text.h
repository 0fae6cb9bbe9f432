#pragma once

#include <string>
#include <vector>

namespace quorvel::app {

// The lines of the about window's help text, in order (a blank line before each window's
// heading), and the text itself: the lines joined by CR LF.
const std::vector<std::string>& helpLines();
std::string helpText();

}  // namespace quorvel::app
