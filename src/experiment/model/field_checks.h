#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "experiment/model/experiment_state.h"
#include "experiment/model/run_fields.h"

namespace quorvel::experiment::model {

// A field a run reads and the name its messages give it.
struct RunFieldName {
  double RunFields::*field;
  const char* name;
};

// Every field a run reads, in the order the start reads them; the screen's name follows
// the setup ("X6, м" or "Y6, м").
std::vector<RunFieldName> runFieldNames(const Options& options);
const char* fieldName(double RunFields::*field, const Options& options);

// The first field whose value gives no sensible run, and the message that says why. Where
// the message quotes the value as it was typed, it holds kTypedText in its place.
struct FieldError {
  double RunFields::*field;
  std::string message;
};
inline constexpr std::string_view kTypedText = "{typed}";

std::optional<FieldError> checkFields(const RunFields& fields, const Options& options);

// The message with the typed text put in its place.
std::string fieldErrorText(const FieldError& error, std::string_view typed);

}  // namespace quorvel::experiment::model
