#include "app/forms.h"

#include "app/form1.h"
#include "app/form2.h"
#include "app/form9.h"
#include "experiment/form4.h"
#include "forecast/form7.h"
#include "interference/form3.h"
#include "viewer/form6.h"

namespace quorvel::app {

void registerForms(platform::WindowManager& windows) {
  windows.registerForm("Form1", [](platform::App& app) { return std::make_unique<Form1>(app); });
  windows.registerForm("Form2", [](platform::App& app) { return std::make_unique<Form2>(app); });
  windows.registerForm(
      "Form3", [](platform::App& app) { return std::make_unique<interference::Form3>(app); });
  windows.registerForm("Form4",
                       [](platform::App& app) { return std::make_unique<experiment::Form4>(app); });
  windows.registerForm("Form6",
                       [](platform::App& app) { return std::make_unique<viewer::Form6>(app); });
  windows.registerForm("Form7",
                       [](platform::App& app) { return std::make_unique<forecast::Form7>(app); });
  windows.registerForm("Form9", [](platform::App& app) { return std::make_unique<Form9>(app); });
}

}  // namespace quorvel::app
