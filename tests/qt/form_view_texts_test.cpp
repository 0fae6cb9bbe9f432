#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "app/forms.h"
#include "experiment/form4.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"
#include "platform/qt/form_view.h"
#include "platform/qt/view_manager.h"

namespace quorvel::platform {
namespace {

class FormViewTextsTest : public testing::Test {
 protected:
  FormViewTextsTest() : app(host) {
    app::registerForms(app.windows());
    views = std::make_unique<ViewManager>(app.windows());
    app.windows().show("Form1");
    app.windows().show("Form4");
    QApplication::processEvents();
  }
  ~FormViewTextsTest() override {
    for (auto* form : app.windows().openForms()) app.windows().unload(form->name());
    views.reset();
    QApplication::processEvents();
  }
  experiment::Form4& form4() {
    return *static_cast<experiment::Form4*>(app.windows().find("Form4"));
  }
  QLineEdit* edit(const char* name) { return views->view(form4())->findChild<QLineEdit*>(name); }

  HeadlessHost host;
  App app;
  std::unique_ptr<ViewManager> views;
};

// A text the program writes shows from its beginning; the user's typing keeps its caret.
TEST_F(FormViewTextsTest, ProgramTextsShowTheirBeginning) {
  QLineEdit* v01 = edit("Text20");
  ASSERT_NE(v01, nullptr);
  form4().Text20.setText("4,61400041526004");
  EXPECT_EQ(v01->text(), "4,61400041526004");
  EXPECT_EQ(v01->cursorPosition(), 0);

  QLineEdit* scale = edit("Text19");
  scale->setFocus();
  scale->end(false);
  QTest::keyClicks(scale, "25");
  EXPECT_EQ(form4().Text19.text(), "0,125");
  EXPECT_EQ(scale->cursorPosition(), 5);
}

// Every field of the experiment window shows its whole text after a run of each setup and
// units, with and without the Doppler models: the longest texts the program writes there.
TEST_F(FormViewTextsTest, EveryFieldShowsItsWholeTextAfterARun) {
  QWidget* view = views->view(form4());
  int checked = 0;
  for (const char* setup : {"Option1", "Option8"}) {
    for (const char* units : {"Option4", "Option7"}) {
      for (int doppler : {1, 0}) {
        form4().click(*dynamic_cast<OptionButton*>(form4().find(setup)));
        form4().click(*dynamic_cast<OptionButton*>(form4().find(units)));
        form4().Check1.setValue(doppler);
        form4().click(form4().Command7);
        ASSERT_TRUE(host.messages().empty()) << host.messages().front().text;
        QApplication::processEvents();
        for (QLineEdit* edit : view->findChildren<QLineEdit*>()) {
          if (!edit->isVisible()) continue;
          // The text, the frame and the line edit's own margins of 2 pixels a side.
          const int needed = edit->fontMetrics().horizontalAdvance(edit->text()) +
                             edit->textMargins().left() + edit->textMargins().right() + 8;
          EXPECT_LE(needed, edit->width())
              << setup << " " << units << " Doppler " << doppler << ": "
              << edit->objectName().toStdString() << " «" << edit->text().toStdString() << "»";
          ++checked;
        }
      }
    }
  }
  EXPECT_GT(checked, 8 * 60);
}

TEST_F(FormViewTextsTest, ToolTipsReachTheWidgets) {
  EXPECT_EQ(edit("Text12")->toolTip(),
            QString("Скорость света в модели Vs0, км/с, больше 0; Test: 30, Real: 300 000"));
  form4().Text12.setToolTip("другое");
  EXPECT_EQ(edit("Text12")->toolTip(), QString("другое"));
}

// A picture of a window that a view already shows leaves that view bound to the form.
TEST_F(FormViewTextsTest, PictureOfAShownWindowKeepsItsView) {
  const std::string path = testing::TempDir() + "quorvel_form4_view.png";
  ASSERT_TRUE(saveFormPicture(form4(), path));
  form4().Text20.setText("12345");
  EXPECT_EQ(edit("Text20")->text(), "12345");
  std::remove(path.c_str());
}

}  // namespace
}  // namespace quorvel::platform
