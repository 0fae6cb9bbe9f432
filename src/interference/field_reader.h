#pragma once

#include <optional>
#include <string>

#include "platform/host.h"
#include "platform/text_box.h"

namespace quorvel::interference {

// Reads the fields a button needs, each checked against its bound before any use. The
// first field that is not a number (not a whole number where one is asked), or lies outside
// its bound, is named in one message box that begins with the button's own refusal; every
// later read gives nothing and shows nothing, so a button reads all its fields and then
// asks failed() once.
class FieldReader {
 public:
  FieldReader(platform::Host& host, std::string refusal);

  // A number in [least, most].
  std::optional<double> number(const platform::TextBox& box, const char* name, double least,
                               double most);
  // A number whose size is at most `most` (either sign).
  std::optional<double> size(const platform::TextBox& box, const char* name, double most);
  // A whole number (a number without a fraction: "3", "3,0", "3E2") in [least, most],
  // returned as a double that converts to an integer of that range exactly.
  std::optional<double> whole(const platform::TextBox& box, const char* name, double least,
                              double most);

  // Refuses a value read before: "… значение «text» вне пределов от least до most".
  void refuse(const platform::TextBox& box, const char* name, double least, double most);

  bool failed() const { return failed_; }

 private:
  std::optional<double> parse(const platform::TextBox& box, const char* name, bool whole);
  void tell(const std::string& text);

  platform::Host& host_;
  std::string refusal_;
  bool failed_ = false;
};

}  // namespace quorvel::interference
