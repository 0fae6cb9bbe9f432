#pragma once

#include "platform/form.h"

namespace quorvel::app {

// The report window: a white picture the experiment window prints its reports on. Its
// context menu saves the report as a picture or the experiment's results as CSV or JSON.
class Form9 : public platform::Form {
 public:
  explicit Form9(platform::App& app);
  void load() override;
  // The results of the experiment window whose report this is.
  std::optional<platform::Results> results() const override;

  platform::PictureBox picBox;

 private:
  void saveReport();
};

}  // namespace quorvel::app
