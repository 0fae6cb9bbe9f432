#include "platform/qt/view_manager.h"

#include <QApplication>
#include <QGuiApplication>
#include <QTimer>

#include "platform/qt/form_view.h"

namespace quorvel::platform {

ViewManager::ViewManager(WindowManager& windows) : windows_(windows) {
  windows_.setListener(this);
  for (Form* form : windows_.openForms()) formShown(*form);
}

ViewManager::~ViewManager() {
  windows_.setListener(nullptr);
  for (auto& [form, view] : views_) {
    view->detach();
  }
}

void ViewManager::formShown(Form& form) {
  auto* view = new FormView(form);
  views_[&form] = view;
  view->show();
  if (QGuiApplication::platformName() != "offscreen") {
    view->raise();
    view->activateWindow();
  }
}

void ViewManager::formUnloading(Form& form) {
  auto found = views_.find(&form);
  if (found == views_.end()) return;
  found->second->detach();
  views_.erase(found);
  QTimer::singleShot(0, this, [this] {
    if (windows_.openForms().empty()) QApplication::quit();
  });
}

FormView* ViewManager::view(const Form& form) const {
  auto found = views_.find(&form);
  return found == views_.end() ? nullptr : found->second;
}

}  // namespace quorvel::platform
