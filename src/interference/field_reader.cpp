#include "interference/field_reader.h"

#include <cmath>

#include "common/numbers.h"

namespace quorvel::interference {

using common::numberText;

FieldReader::FieldReader(platform::Host& host, std::string refusal)
    : host_(host), refusal_(std::move(refusal)) {}

void FieldReader::tell(const std::string& text) {
  failed_ = true;
  host_.messageBox(refusal_ + ": " + text, platform::Buttons::Ok, "Quorvel");
}

std::optional<double> FieldReader::parse(const platform::TextBox& box, const char* name,
                                         bool whole) {
  if (failed_) return std::nullopt;
  const auto value = common::parseNumber(box.text());
  if (!value || (whole && std::nearbyint(*value) != *value)) {
    tell(std::string("в поле «") + name + "» должно быть " + (whole ? "целое число" : "число") +
         ", а не «" + box.text() + "»");
    return std::nullopt;
  }
  return value;
}

void FieldReader::refuse(const platform::TextBox& box, const char* name, double least,
                         double most) {
  if (failed_) return;
  tell(std::string("в поле «") + name + "» значение «" + box.text() + "» вне пределов от " +
       numberText(least) + " до " + numberText(most));
}

std::optional<double> FieldReader::number(const platform::TextBox& box, const char* name,
                                          double least, double most) {
  const auto value = parse(box, name, false);
  if (!value) return std::nullopt;
  if (!(*value >= least && *value <= most)) {
    refuse(box, name, least, most);
    return std::nullopt;
  }
  return value;
}

std::optional<double> FieldReader::size(const platform::TextBox& box, const char* name,
                                        double most) {
  const auto value = parse(box, name, false);
  if (!value) return std::nullopt;
  if (!(std::fabs(*value) <= most)) {
    tell(std::string("в поле «") + name + "» значение «" + box.text() + "» по модулю больше " +
         numberText(most));
    return std::nullopt;
  }
  return value;
}

std::optional<double> FieldReader::whole(const platform::TextBox& box, const char* name,
                                         double least, double most) {
  const auto value = parse(box, name, true);
  if (!value) return std::nullopt;
  if (!(*value >= least && *value <= most)) {
    refuse(box, name, least, most);
    return std::nullopt;
  }
  // −0 is 0.
  return *value + 0.0;
}

}  // namespace quorvel::interference
