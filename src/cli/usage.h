#pragma once

#include <string>

namespace quorvel::cli {

// What `quorvel-cli --help` prints: how to call it and every command, as the README's table
// of commands has them.
std::string usageText();

// What `quorvel-cli --version` prints: the program's name and version, one line.
std::string versionText();

}  // namespace quorvel::cli
