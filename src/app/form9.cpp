#include "app/form9.h"

namespace quorvel::app {

Form9::Form9(platform::App& app)
    : Form(app, "Form9", " Quorvel1      Отчет            form9", 1020, 720),
      picBox(*this, "picBox", 1000, 700) {
  picBox.setGeometry(10, 10, 1000, 700);
}

void Form9::load() {
  picBox.picture().setBackColor(platform::rgb(255, 255, 255));
}

}  // namespace quorvel::app
