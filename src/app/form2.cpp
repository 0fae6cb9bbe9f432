#include "app/form2.h"

#include "app/help_text.h"
#include "platform/app.h"

namespace quorvel::app {

Form2::Form2(platform::App& app)
    : Form(app, "Form2", "About  Quorvel1   form2", 900, 640),
      Text1(*this, "Text1"),
      Label1(*this, "Label1",
             "Авторы: команда разработчиков Quorvel. Вопросы и замечания принимаются через "
             "трекер задач проекта."),
      Label2(*this, "Label2",
             "Программа распространяется свободно, вместе с исходным кодом, без каких-либо "
             "гарантий."),
      Command1(*this, "Command1", "Закрыть") {
  Text1.setMultiLine(true);
  Text1.setReadOnly(true);
  Text1.setGeometry(10, 10, 880, 520);
  Label1.setGeometry(10, 540, 700, 20);
  Label2.setGeometry(10, 565, 700, 20);
  Command1.setGeometry(760, 560, 130, 30);
  Command1.onClick = [this] { this->app().windows().unload(name()); };
}

void Form2::load() {
  Text1.setBackColor(platform::rgb(255, 255, 255));
  Text1.setText(helpText());
}

}  // namespace quorvel::app
