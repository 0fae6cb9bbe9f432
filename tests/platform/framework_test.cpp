#include <gtest/gtest.h>

#include "common/shared.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"

namespace quorvel::platform {
namespace {

// A small window with one control of every kind, counting its events.
class TestForm : public Form {
 public:
  explicit TestForm(App& app)
      : Form(app, "TestForm", "Проба", 300, 200),
        Text1(*this, "Text1", "начало"),
        Label1(*this, "Label1", "подпись"),
        Command1(*this, "Command1", "Пуск"),
        Command2(*this, "Command2", "Закрыть"),
        Check1(*this, "Check1", "флажок"),
        Frame1(*this, "Frame1", "рамка"),
        Option1(*this, "Option1", "первый", true),
        Option2(*this, "Option2", "второй"),
        Option3(*this, "Option3", "вне рамки"),
        Picture1(*this, "Picture1", 40, 30, 0),
        Picture2(*this, "Picture1", 40, 30, 1),
        Timer1(*this, "Timer1", 100, true),
        HScroll1(*this, "HScroll1", true, 0, 10) {
    Option1.setContainer("Frame1");
    Option2.setContainer("Frame1");
    Command1.onClick = [this] {
      ++clicks;
      if (nested) nested();
    };
    Command2.onClick = [this] { this->app().windows().unload(name()); };
    Check1.onClick = [this] { ++checkClicks; };
    Option1.onClick = [this] { ++option1Clicks; };
    Option2.onClick = [this] { ++option2Clicks; };
    Timer1.onTick = [this] { ++ticks; };
    Text1.onChange = [this] { ++changes; };
    Picture1.onMouseDown = [this](MouseButton button, double x, double y) {
      lastButton = button;
      lastX = x;
      lastY = y;
    };
  }
  void load() override { ++loads; }
  void activate() override { ++activations; }

  TextBox Text1;
  Label Label1;
  CommandButton Command1;
  CommandButton Command2;
  CheckBox Check1;
  Frame Frame1;
  OptionButton Option1;
  OptionButton Option2;
  OptionButton Option3;
  PictureBox Picture1;
  PictureBox Picture2;
  Timer Timer1;
  ScrollBar HScroll1;

  int loads = 0, activations = 0, clicks = 0, checkClicks = 0, option1Clicks = 0,
      option2Clicks = 0, ticks = 0, changes = 0;
  MouseButton lastButton = MouseButton::Left;
  double lastX = 0, lastY = 0;
  std::function<void()> nested;
};

class FrameworkTest : public testing::Test {
 protected:
  FrameworkTest() : app(host) {
    app.windows().registerForm("TestForm", [](App& a) { return std::make_unique<TestForm>(a); });
    app.windows().registerForm("Other", [](App& a) {
      return std::make_unique<Form>(a, "Other", "Другое окно", 100, 100);
    });
    common::shared().StopRequested = 0;
  }
  TestForm& form() { return *static_cast<TestForm*>(app.windows().find("TestForm")); }

  HeadlessHost host;
  App app;
};

TEST_F(FrameworkTest, ControlsRegisterByNameAndArraysByIndex) {
  ASSERT_TRUE(app.windows().show("TestForm"));
  TestForm& f = form();
  EXPECT_EQ(f.find("Text1"), &f.Text1);
  EXPECT_EQ(f.find("Picture1(0)"), &f.Picture1);
  EXPECT_EQ(f.find("Picture1(1)"), &f.Picture2);
  EXPECT_EQ(f.Picture2.baseName(), "Picture1");
  EXPECT_EQ(f.Picture2.index(), 1);
  EXPECT_EQ(f.find("Picture1"), nullptr);
  EXPECT_EQ(f.find("Nothing"), nullptr);
  EXPECT_EQ(f.controls().size(), 13u);
  EXPECT_EQ(kindName(f.HScroll1.kind()), "HScrollBar");
}

TEST_F(FrameworkTest, ShowLoadsOnceAndActivates) {
  EXPECT_FALSE(app.windows().show("Missing"));
  ASSERT_TRUE(app.windows().show("TestForm"));
  EXPECT_EQ(form().loads, 1);
  EXPECT_EQ(form().activations, 1);
  ASSERT_TRUE(app.windows().show("Other"));
  EXPECT_EQ(app.windows().active()->name(), "Other");
  ASSERT_TRUE(app.windows().show("TestForm"));
  EXPECT_EQ(form().loads, 1);
  EXPECT_EQ(form().activations, 2);
  // Unloading the active window activates the one shown before it.
  app.windows().unload("TestForm");
  EXPECT_EQ(app.windows().active()->name(), "Other");
  EXPECT_EQ(app.windows().openCount(), 1);
}

TEST_F(FrameworkTest, ReloadRestoresInitialTextsAndSharedValuesSurvive) {
  app.windows().show("TestForm");
  form().Text1.setText("изменено");
  form().Check1.setValue(1);
  common::shared().X[5] = 42.0;
  app.windows().unload("TestForm");
  EXPECT_EQ(app.windows().find("TestForm"), nullptr);
  app.windows().show("TestForm");
  EXPECT_EQ(form().Text1.text(), "начало");
  EXPECT_EQ(form().Check1.value(), 0);
  EXPECT_EQ(form().loads, 1);
  EXPECT_EQ(common::shared().X[5], 42.0);
  common::shared().X[5] = 0.0;
}

TEST_F(FrameworkTest, UserActionsRunHandlers) {
  app.windows().show("TestForm");
  TestForm& f = form();
  EXPECT_TRUE(f.click(f.Command1));
  EXPECT_EQ(f.clicks, 1);

  f.click(f.Check1);
  EXPECT_EQ(f.Check1.value(), 1);
  f.click(f.Check1);
  EXPECT_EQ(f.Check1.value(), 0);
  EXPECT_EQ(f.checkClicks, 2);
  f.Check1.setValue(0);  // no change, no click
  EXPECT_EQ(f.checkClicks, 2);

  // Option buttons exclude each other within their frame only.
  f.Option3.setValue(true);
  f.click(f.Option2);
  EXPECT_FALSE(f.Option1.value());
  EXPECT_TRUE(f.Option2.value());
  EXPECT_TRUE(f.Option3.value());
  EXPECT_EQ(f.option2Clicks, 1);
  f.click(f.Option2);  // a click on the chosen one runs its handler again
  EXPECT_EQ(f.option2Clicks, 2);
  f.Option1.setValue(true);  // chosen by the code: runs its handler, clears the other
  EXPECT_EQ(f.option1Clicks, 1);
  EXPECT_FALSE(f.Option2.value());

  f.typeText(f.Text1, "12,5");
  EXPECT_EQ(f.Text1.text(), "12,5");
  EXPECT_EQ(f.changes, 1);

  f.scrollTo(f.HScroll1, 25);
  EXPECT_EQ(f.HScroll1.value(), 10);

  f.mouseDown(f.Picture1, MouseButton::Right, 1.5, -2.0);
  EXPECT_EQ(f.lastButton, MouseButton::Right);
  EXPECT_DOUBLE_EQ(f.lastX, 1.5);
  EXPECT_DOUBLE_EQ(f.lastY, -2.0);

  // Labels and frames are not clickable; disabled controls do nothing.
  EXPECT_FALSE(f.click(f.Label1));
  f.Command1.setEnabled(false);
  EXPECT_FALSE(f.click(f.Command1));
  EXPECT_EQ(f.clicks, 1);
}

TEST_F(FrameworkTest, RunningHandlerRefusesSecondStartButOthersRun) {
  app.windows().show("TestForm");
  TestForm& f = form();
  bool innerStarted = true;
  f.nested = [&] {
    f.nested = nullptr;
    innerStarted = f.click(f.Command1);  // the same button while its handler runs
    f.click(f.Check1);                   // another control runs
  };
  f.click(f.Command1);
  EXPECT_FALSE(innerStarted);
  EXPECT_EQ(f.clicks, 1);
  EXPECT_EQ(f.checkClicks, 1);
}

TEST_F(FrameworkTest, FaultInsideHandlerBecomesMessageAndWindowStaysUsable) {
  app.windows().show("TestForm");
  TestForm& f = form();
  f.nested = [] { throw std::runtime_error("деление на ноль"); };
  EXPECT_TRUE(f.click(f.Command1));
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(host.messages()[0].text, "Ошибка: деление на ноль");
  EXPECT_EQ(host.messages()[0].title, "Quorvel");
  f.nested = nullptr;
  EXPECT_TRUE(f.click(f.Command1));
  EXPECT_EQ(f.clicks, 2);
}

TEST_F(FrameworkTest, UnloadDuringHandlerWaitsForIt) {
  app.windows().show("TestForm");
  TestForm& f = form();
  f.click(f.Command2);  // the window closes itself from its own handler
  EXPECT_EQ(app.windows().find("TestForm"), nullptr);
  EXPECT_EQ(common::shared().StopRequested, 0);
}

TEST_F(FrameworkTest, ClosingWindowDuringRunStopsRunThenUnloads) {
  app.windows().show("TestForm");
  TestForm& f = form();
  int stepsAfterClose = -1;
  f.nested = [&] {
    // A long run: steps until the stop flag is set, yielding once per step.
    for (int step = 0; step < 1000; ++step) {
      if (step == 10) app.windows().requestClose("TestForm");
      if (common::shared().StopRequested == 1) {
        stepsAfterClose = step - 10;
        break;
      }
      host.doEvents();
      EXPECT_NE(app.windows().find("TestForm"), nullptr);
    }
  };
  f.click(f.Command1);
  EXPECT_EQ(stepsAfterClose, 0);
  EXPECT_EQ(app.windows().find("TestForm"), nullptr);
  common::shared().StopRequested = 0;
}

TEST_F(FrameworkTest, TimersTickOnlyInsideWait) {
  app.windows().show("TestForm");
  TestForm& f = form();
  host.doEvents();
  EXPECT_EQ(f.ticks, 0);
  host.wait(app.windows(), 350);
  EXPECT_EQ(f.ticks, 3);
  host.wait(app.windows(), 50);
  EXPECT_EQ(f.ticks, 4);  // 400 ms in all
  f.Timer1.setInterval(1000);  // a new interval starts a new countdown
  host.wait(app.windows(), 999);
  EXPECT_EQ(f.ticks, 4);
  host.wait(app.windows(), 1);
  EXPECT_EQ(f.ticks, 5);
  f.Timer1.setTimerEnabled(false);
  host.wait(app.windows(), 5000);
  EXPECT_EQ(f.ticks, 5);
  f.Timer1.setInterval(0);
  f.Timer1.setTimerEnabled(true);
  host.wait(app.windows(), 5000);
  EXPECT_EQ(f.ticks, 5);
}

TEST_F(FrameworkTest, TimerThatUnloadsItsWindowEndsTheWait) {
  app.windows().show("TestForm");
  form().Timer1.onTick = [this] { app.windows().unload("TestForm"); };
  host.wait(app.windows(), 1000);
  EXPECT_EQ(app.windows().find("TestForm"), nullptr);
}

TEST_F(FrameworkTest, HeadlessDialogsAnswerFromQueues) {
  EXPECT_TRUE(host.messageBox("Вопрос?", Buttons::YesNo, "Quorvel"));  // empty queue: Yes
  host.queueAnswer(false);
  EXPECT_FALSE(host.messageBox("Вопрос?", Buttons::YesNo, "Quorvel"));
  EXPECT_FALSE(host.messageBox("Сообщение", Buttons::Ok, "Quorvel1"));  // OK is not Yes
  ASSERT_EQ(host.messages().size(), 3u);
  EXPECT_EQ(host.messages()[2].title, "Quorvel1");

  FileDialogRequest request{"All Files (*.*)|*.*", "", "Загрузка", 4100};
  EXPECT_FALSE(host.openFileDialog(request).has_value());  // cancelled
  host.queueFile("/tmp/a.dat");
  EXPECT_EQ(host.openFileDialog(request).value(), "/tmp/a.dat");
  EXPECT_EQ(host.fileDialogs().size(), 2u);
  EXPECT_EQ(host.fileDialogs()[0].flags, 4100);
}

TEST_F(FrameworkTest, ClockTextsAndWindowCount) {
  host.setLocalTime({2026, 3, 7, 9, 5, 3});
  EXPECT_EQ(host.dateText(), "07.03.2026");
  EXPECT_EQ(host.timeText(), "09:05:03");
  EXPECT_EQ(host.doEvents(), 0);
  app.windows().show("TestForm");
  app.windows().show("Other");
  EXPECT_EQ(host.doEvents(), 2);
}

}  // namespace
}  // namespace quorvel::platform
