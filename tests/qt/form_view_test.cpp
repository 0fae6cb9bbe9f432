#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/form1.h"
#include "app/forms.h"
#include "common/shared.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"
#include "platform/qt/form_view.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/view_manager.h"

namespace quorvel::platform {
namespace {

// The desktop view on the offscreen platform: widgets named after the controls, edits and
// clicks reach the form, and what the form changes shows in the widgets.
class FormViewTest : public testing::Test {
 protected:
  FormViewTest() : app(host) {
    app::registerForms(app.windows());
    views = std::make_unique<ViewManager>(app.windows());
    app.windows().show("Form1");
    QApplication::processEvents();
  }
  ~FormViewTest() override {
    for (auto* form : app.windows().openForms()) app.windows().unload(form->name());
    views.reset();
    QApplication::processEvents();
  }
  template <class W>
  W* widget(const Form& form, const char* name) {
    FormView* view = views->view(form);
    return view ? view->findChild<W*>(name) : nullptr;
  }
  app::Form1& form1() { return *static_cast<app::Form1*>(app.windows().find("Form1")); }

  HeadlessHost host;
  App app;
  std::unique_ptr<ViewManager> views;
};

TEST_F(FormViewTest, EditFieldAndClickButtonByObjectName) {
  auto* field = widget<QLineEdit>(form1(), "Text20");
  auto* button = widget<QPushButton>(form1(), "Command3");
  ASSERT_NE(field, nullptr);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(field->text(), "1");
  EXPECT_EQ(button->text(), QString("Задать интервал таймеру, с"));
  EXPECT_EQ(views->view(form1())->windowTitle(),
            QString("Quorvel1     form1    Эксперимент Майкельсона-Морли "));

  field->selectAll();
  QTest::keyClicks(field, "0,5");
  EXPECT_EQ(form1().Text20.text(), "0,5");
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(form1().Timer1.interval(), 500);
  auto* timer = views->view(form1())->findChild<QTimer*>("Timer1");
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->interval(), 500);
  EXPECT_TRUE(timer->isActive());

  QTest::mouseClick(widget<QPushButton>(form1(), "Command8"), Qt::LeftButton);
  EXPECT_FALSE(timer->isActive());
}

TEST_F(FormViewTest, ModelChangesShowInWidgets) {
  form1().Text2.setText("01.01.2000");
  EXPECT_EQ(widget<QLineEdit>(form1(), "Text2")->text(), "01.01.2000");
  form1().Command4.setEnabled(false);
  EXPECT_FALSE(widget<QPushButton>(form1(), "Command4")->isEnabled());
  auto* check = widget<QCheckBox>(form1(), "Check2");
  ASSERT_NE(check, nullptr);
  QTest::mouseClick(check, Qt::LeftButton);
  EXPECT_EQ(form1().Check2.value(), 1);
  EXPECT_TRUE(check->isChecked());
  EXPECT_EQ(widget<QLabel>(form1(), "Label4")->text(), QString("JDut (юлианская дата)"));
  EXPECT_NE(widget<PictureWidget>(form1(), "Picture1"), nullptr);
}

TEST_F(FormViewTest, AboutWindowOpensAndClosesThroughItsWidgets) {
  QTest::mouseClick(widget<QPushButton>(form1(), "Command2"), Qt::LeftButton);
  Form* about = app.windows().find("Form2");
  ASSERT_NE(about, nullptr);
  auto* text = widget<QPlainTextEdit>(*about, "Text1");
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(text->toPlainText().startsWith(
      "                 ОПИСАНИЕ ДЕЙСТВИЙ КНОПОК ПРОГРАММЫ QUORVEL1\n"));
  QTest::mouseClick(widget<QPushButton>(*about, "Command1"), Qt::LeftButton);
  EXPECT_EQ(app.windows().find("Form2"), nullptr);
  QApplication::processEvents();

  // The close box of a window unloads it too.
  app.windows().show("Form2");
  views->view(*app.windows().find("Form2"))->close();
  EXPECT_EQ(app.windows().find("Form2"), nullptr);
}

TEST(QtHostTest, FilterInQtForm) {
  EXPECT_EQ(qtFilter("All Files (*.*)|*.*"), "All Files (*)");
  EXPECT_EQ(qtFilter("Pictures (*.bmp;*.jpg)|*.bmp;*.jpg|All Files (*.*)|*.*"),
            "Pictures (*.bmp *.jpg);;All Files (*)");
}

}  // namespace
}  // namespace quorvel::platform
