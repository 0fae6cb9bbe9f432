#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "app/forms.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"
#include "platform/qt/form_view.h"
#include "platform/qt/view_manager.h"
#include "viewer/form6.h"

namespace quorvel::viewer {
namespace {

// The viewer on the desktop: one widget per control, the picture inside its frame, the
// options inside their frames, and every control inside the window.
TEST(Form6View, WidgetsForEveryControl) {
  platform::HeadlessHost host;
  platform::App app(host);
  app::registerForms(app.windows());
  auto views = std::make_unique<platform::ViewManager>(app.windows());
  app.windows().show("Form6");
  QApplication::processEvents();
  auto& form = *static_cast<Form6*>(app.windows().find("Form6"));
  platform::FormView* view = views->view(form);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->windowTitle(), QString("Quorvel1  Form6  Просмотр фото и видео файлов"));
  for (const platform::Control* control : form.controls()) {
    if (control->kind() == platform::ControlKind::Timer) continue;
    auto* widget = view->findChild<QWidget*>(QString::fromStdString(control->name()));
    ASSERT_NE(widget, nullptr) << control->name();
    const QRect inWindow(widget->mapTo(view, QPoint(0, 0)), widget->size());
    if (control->container().empty()) {
      EXPECT_TRUE(view->rect().contains(inWindow)) << control->name();
    }
  }
  auto* picture = view->findChild<QWidget*>("Picture2");
  EXPECT_EQ(picture->parentWidget()->objectName(), "Picture4");
  EXPECT_EQ(view->findChild<QRadioButton*>("Option2")->parentWidget()->objectName(), "Frame1");
  view->findChild<QRadioButton*>("Option2")->click();
  EXPECT_TRUE(form.Option2.value());
  for (auto* open : app.windows().openForms()) app.windows().unload(open->name());
  views.reset();
  QApplication::processEvents();
}

}  // namespace
}  // namespace quorvel::viewer
