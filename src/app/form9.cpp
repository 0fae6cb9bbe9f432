#include "app/form9.h"

namespace quorvel::app {

Form9::Form9(platform::App& app)
    : Form(app, "Form9", " Quorvel1      Отчет            form9", 1580, 740),
      picBox(*this, "picBox", 1560, 720) {
  picBox.setGeometry(10, 10, 1560, 720);
}

void Form9::load() {
  picBox.picture().setBackColor(platform::rgb(255, 255, 255));
}

}  // namespace quorvel::app
