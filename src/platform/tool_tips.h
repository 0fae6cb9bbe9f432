#pragma once

#include <string>
#include <utility>
#include <vector>

namespace quorvel::platform {

class Form;

// What each field of a window means: control name, then its tooltip (the quantity, its
// unit and its range).
using ToolTipTable = std::vector<std::pair<std::string, std::string>>;

// Gives every control named in the table its tooltip; returns the names the form does not
// have.
std::vector<std::string> applyToolTips(Form& form, const ToolTipTable& table);

}  // namespace quorvel::platform
