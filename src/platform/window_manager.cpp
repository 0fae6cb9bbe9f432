#include "platform/window_manager.h"

#include <algorithm>

#include "common/shared.h"
#include "platform/app.h"

namespace quorvel::platform {

void WindowManager::registerForm(std::string name, Factory factory) {
  factories_[std::move(name)] = std::move(factory);
}

bool WindowManager::isRegistered(std::string_view name) const {
  return factories_.find(name) != factories_.end();
}

std::vector<std::string> WindowManager::registeredNames() const {
  std::vector<std::string> names;
  for (const auto& [name, factory] : factories_) names.push_back(name);
  return names;
}

Form* WindowManager::find(std::string_view name) const {
  for (const Entry& entry : forms_) {
    if (entry.form->name() == name) return entry.form.get();
  }
  return nullptr;
}

bool WindowManager::show(std::string_view name) {
  auto factory = factories_.find(name);
  if (factory == factories_.end()) return false;
  Form* form = find(name);
  if (!form) {
    forms_.push_back({factory->second(app_), false});
    recount();
    form = forms_.back().form.get();
    form->runEvent([form] { form->load(); });
    if (listener_) listener_->formShown(*form);
  }
  for (Entry& entry : forms_) {
    if (entry.form.get() == form) entry.pendingUnload = false;
  }
  recount();
  activate(name);
  return true;
}

void WindowManager::activate(std::string_view name) {
  Form* form = find(name);
  if (!form || form == active_) return;
  active_ = form;
  form->runEvent([form] { form->activate(); });
}

void WindowManager::unload(std::string_view name) {
  auto entry = std::find_if(forms_.begin(), forms_.end(),
                            [name](const Entry& e) { return e.form->name() == name; });
  if (entry == forms_.end()) return;
  if (entry->form->busy()) {
    entry->pendingUnload = true;
    recount();
    return;
  }
  destroy(name);
}

void WindowManager::requestClose(std::string_view name) {
  Form* form = find(name);
  if (!form) return;
  if (form->busy()) common::shared().StopRequested = 1;
  unload(name);
}

void WindowManager::processPendingUnloads() {
  if (unloading_) return;
  std::vector<std::string> ready;
  for (const Entry& entry : forms_) {
    if (entry.pendingUnload && !entry.form->busy()) ready.push_back(entry.form->name());
  }
  for (const std::string& name : ready) destroy(name);
}

void WindowManager::destroy(std::string_view name) {
  auto entry = std::find_if(forms_.begin(), forms_.end(),
                            [name](const Entry& e) { return e.form->name() == name; });
  if (entry == forms_.end()) return;
  if (unloading_) {
    // Asked from another window's unload event: done right after it.
    entry->pendingUnload = true;
    recount();
    return;
  }
  unloading_ = true;
  entry->pendingUnload = false;
  Form* form = entry->form.get();
  form->runEvent([form] { form->unloading(); });
  if (listener_) listener_->formUnloading(*form);
  entry = std::find_if(forms_.begin(), forms_.end(),
                       [form](const Entry& e) { return e.form.get() == form; });
  std::unique_ptr<Form> doomed = std::move(entry->form);
  forms_.erase(entry);
  recount();
  const bool wasActive = active_ == doomed.get();
  if (wasActive) active_ = nullptr;
  doomed.reset();
  unloading_ = false;
  // The window shown last among those left becomes the active one.
  if (wasActive) {
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) {
      if (!it->pendingUnload) {
        activate(it->form->name());
        break;
      }
    }
  }
  processPendingUnloads();
}

std::vector<Form*> WindowManager::openForms() const {
  std::vector<Form*> result;
  for (const Entry& entry : forms_) result.push_back(entry.form.get());
  return result;
}

void WindowManager::recount() {
  openCount_ = static_cast<int>(std::count_if(forms_.begin(), forms_.end(),
                                              [](const Entry& e) { return !e.pendingUnload; }));
}

}  // namespace quorvel::platform
