#include "cli/cli_runner.h"

#include <algorithm>
#include <cmath>
#include <ostream>

#include "app/forms.h"
#include "cli/usage.h"
#include "common/numbers.h"
#include "platform/qt/form_view.h"
#include "platform/qt/plot_rendering.h"
#include "platform/results.h"

namespace quorvel::cli {

using nlohmann::json;
using platform::Control;
using platform::ControlKind;
using platform::Form;

namespace {

json controlJson(const Control& control) {
  json item = {{"name", control.name()},
               {"kind", std::string(platform::kindName(control.kind()))},
               {"enabled", control.enabled()},
               {"visible", control.visible()}};
  if (!control.toolTip().empty()) item["toolTip"] = control.toolTip();
  switch (control.kind()) {
    case ControlKind::TextBox:
      item["text"] = static_cast<const platform::TextBox&>(control).text();
      break;
    case ControlKind::Label:
      item["caption"] = static_cast<const platform::Label&>(control).caption();
      break;
    case ControlKind::CommandButton:
      item["caption"] = static_cast<const platform::CommandButton&>(control).caption();
      break;
    case ControlKind::Frame:
      item["caption"] = static_cast<const platform::Frame&>(control).caption();
      break;
    case ControlKind::CheckBox: {
      const auto& box = static_cast<const platform::CheckBox&>(control);
      item["caption"] = box.caption();
      item["value"] = box.value();
      break;
    }
    case ControlKind::OptionButton: {
      const auto& option = static_cast<const platform::OptionButton&>(control);
      item["caption"] = option.caption();
      item["value"] = option.value() ? 1 : 0;
      break;
    }
    case ControlKind::PictureBox: {
      const auto& box = static_cast<const platform::PictureBox&>(control);
      item["width"] = box.picture().width();
      item["height"] = box.picture().height();
      break;
    }
    case ControlKind::Plot: {
      const auto& plot = static_cast<const platform::Plot&>(control);
      item["width"] = plot.geometry().width;
      item["height"] = plot.geometry().height;
      item["plot"] = platform::plotModelJson(plot.model());
      break;
    }
    case ControlKind::Timer: {
      const auto& timer = static_cast<const platform::Timer&>(control);
      item["interval"] = timer.interval();
      item["timerEnabled"] = timer.timerEnabled();
      break;
    }
    case ControlKind::HScrollBar:
    case ControlKind::VScrollBar: {
      const auto& bar = static_cast<const platform::ScrollBar&>(control);
      item["value"] = bar.value();
      item["min"] = bar.min();
      item["max"] = bar.max();
      break;
    }
  }
  return item;
}

json formJson(const Form& form) {
  json controls = json::array();
  for (const Control* control : form.controls()) controls.push_back(controlJson(*control));
  return {{"name", form.name()},
          {"caption", form.caption()},
          {"controls", std::move(controls)},
          {"data", form.data()}};
}

bool isCommandWord(const std::string& word) {
  static const char* words[] = {"open",       "close",      "set",    "click", "mouse",
                                "answer",     "file",       "wait",   "save",  "dump",
                                "stop-after", "screenshot", "export", "menu",
                                 "activate"};
  return std::any_of(std::begin(words), std::end(words),
                     [&word](const char* w) { return word == w; });
}

bool endsWith(std::string text, const std::string& suffix) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

CliRunner::CliRunner(std::ostream& out, std::ostream& err) : out_(out), err_(err), app_(host_) {
  host_.setProgramFolder(platform::executableFolder());
  host_.onMessage = [this](const platform::MessageRecord& message) {
    err_ << "message [" << message.title << "]: " << message.text;
    if (message.buttons == platform::Buttons::YesNo) {
      err_ << " -> " << (message.yes ? "yes" : "no");
    }
    err_ << '\n';
  };
  app::registerForms(app_.windows());
}

CliRunner::~CliRunner() {
  // Windows go before the host they talk to.
  for (Form* form : app_.windows().openForms()) app_.windows().unload(form->name());
}

json CliRunner::dump(const std::string& formName) const {
  json forms = json::array();
  for (const Form* form : const_cast<platform::App&>(app_).windows().openForms()) {
    if (formName.empty() || form->name() == formName) forms.push_back(formJson(*form));
  }
  json messages = json::array();
  for (const auto& message : host_.messages()) {
    const bool yesNo = message.buttons == platform::Buttons::YesNo;
    messages.push_back({{"text", message.text},
                        {"title", message.title},
                        {"buttons", yesNo ? "YesNo" : "OK"},
                        {"answer", yesNo ? (message.yes ? "yes" : "no") : "ok"}});
  }
  return {{"forms", std::move(forms)}, {"messages", std::move(messages)}};
}

int CliRunner::run(const std::vector<std::string>& args) {
  // --help and --version are options of their own, before any command (a command's own
  // argument, such as a path, may be spelt like them).
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    out_ << usageText();
    return 0;
  }
  if (!args.empty() && args[0] == "--version") {
    out_ << versionText();
    return 0;
  }
  std::vector<std::string> commands;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--program-folder") {
      if (i + 1 >= args.size()) {
        err_ << "quorvel-cli: --program-folder needs a folder\n";
        return 2;
      }
      host_.setProgramFolder(args[++i]);
    } else {
      commands.push_back(args[i]);
    }
  }
  if (commands.empty()) {
    err_ << usageText();
    return 2;
  }
  app_.windows().show("Form1");
  return runCommands(commands);
}

int CliRunner::runCommands(const std::vector<std::string>& commands) {
  try {
    std::size_t pos = 0;
    while (pos < commands.size()) execute(commands, pos);
  } catch (const Failure& failure) {
    err_ << "quorvel-cli: " << failure.message << '\n';
    return 2;
  } catch (const std::exception& e) {
    err_ << "quorvel-cli: " << e.what() << '\n';
    return 2;
  }
  return 0;
}

const std::string& CliRunner::need(const std::vector<std::string>& args, std::size_t pos,
                                   const char* what) {
  if (pos >= args.size()) throw Failure{std::string("missing ") + what};
  return args[pos];
}

Form& CliRunner::openForm(const std::string& name) {
  if (!app_.windows().isRegistered(name)) throw Failure{"unknown form '" + name + "'"};
  Form* form = app_.windows().find(name);
  if (!form) throw Failure{"form '" + name + "' is not open"};
  return *form;
}

Control& CliRunner::control(const std::string& target, Form*& form) {
  const auto dot = target.find('.');
  if (dot == std::string::npos || dot == 0 || dot + 1 == target.size()) {
    throw Failure{"expected FormN.Control, got '" + target + "'"};
  }
  form = &openForm(target.substr(0, dot));
  const std::string name = target.substr(dot + 1);
  Control* found = form->find(name);
  if (!found) throw Failure{"unknown control '" + name + "' of " + form->name()};
  // Acting on a window makes it the active one, as a click into it would.
  app_.windows().activate(form->name());
  return *found;
}

void CliRunner::execute(const std::vector<std::string>& args, std::size_t& pos) {
  const std::string command = args[pos++];
  if (command == "open") {
    const std::string& name = need(args, pos++, "form name after 'open'");
    if (!app_.windows().show(name)) throw Failure{"unknown form '" + name + "'"};
  } else if (command == "activate") {
    const std::string& name = need(args, pos++, "form name after 'activate'");
    openForm(name);
    app_.windows().activate(name);
  } else if (command == "close") {
    const std::string& name = need(args, pos++, "form name after 'close'");
    openForm(name);
    app_.windows().requestClose(name);
  } else if (command == "set") {
    const std::string& assignment = need(args, pos++, "FormN.Control=VALUE after 'set'");
    const auto eq = assignment.find('=');
    if (eq == std::string::npos)
      throw Failure{"expected FormN.Control=VALUE, got '" + assignment + "'"};
    Form* form = nullptr;
    Control& target = control(assignment.substr(0, eq), form);
    const std::string value = assignment.substr(eq + 1);
    if (!target.enabled()) throw Failure{target.name() + " of " + form->name() + " is disabled"};
    switch (target.kind()) {
      case ControlKind::TextBox:
        form->typeText(static_cast<platform::TextBox&>(target), value);
        break;
      case ControlKind::CheckBox: {
        if (value != "0" && value != "1") throw Failure{"a check box is set to 0 or 1"};
        auto& box = static_cast<platform::CheckBox&>(target);
        if (box.value() != std::stoi(value)) form->click(box);
        break;
      }
      case ControlKind::OptionButton:
        if (value != "1")
          throw Failure{"an option button is set to 1 (choose another to clear it)"};
        form->click(target);
        break;
      case ControlKind::HScrollBar:
      case ControlKind::VScrollBar: {
        auto number = common::parseNumber(value);
        if (!number || *number != static_cast<int>(*number)) {
          throw Failure{"a scroll bar is set to a whole number"};
        }
        form->scrollTo(static_cast<platform::ScrollBar&>(target), static_cast<int>(*number));
        break;
      }
      default:
        throw Failure{target.name() + " (" + std::string(platform::kindName(target.kind())) +
                      ") cannot be set"};
    }
  } else if (command == "click") {
    Form* form = nullptr;
    Control& target = control(need(args, pos++, "FormN.Control after 'click'"), form);
    const auto kind = target.kind();
    if (kind != ControlKind::CommandButton && kind != ControlKind::CheckBox &&
        kind != ControlKind::OptionButton) {
      throw Failure{target.name() + " (" + std::string(platform::kindName(kind)) +
                    ") cannot be clicked"};
    }
    if (!target.enabled()) throw Failure{target.name() + " of " + form->name() + " is disabled"};
    form->click(target);
  } else if (command == "mouse") {
    Form* form = nullptr;
    Control& target = control(need(args, pos++, "FormN.Control after 'mouse'"), form);
    const std::string& button = need(args, pos++, "left or right");
    const auto x = common::parseNumber(need(args, pos++, "X"));
    const auto y = common::parseNumber(need(args, pos++, "Y"));
    if (target.kind() != ControlKind::PictureBox)
      throw Failure{target.name() + " is not a picture box"};
    if (button != "left" && button != "right") throw Failure{"mouse button is left or right"};
    if (!x || !y) throw Failure{"mouse coordinates must be numbers"};
    form->mouseDown(static_cast<platform::PictureBox&>(target),
                    button == "left" ? platform::MouseButton::Left : platform::MouseButton::Right,
                    *x, *y);
  } else if (command == "answer") {
    const std::string& answer = need(args, pos++, "yes or no after 'answer'");
    if (answer != "yes" && answer != "no") throw Failure{"answer is yes or no"};
    host_.queueAnswer(answer == "yes");
  } else if (command == "file") {
    host_.queueFile(need(args, pos++, "a path after 'file'"));
  } else if (command == "stop-after") {
    const auto yields = common::parseNumber(need(args, pos++, "a count after 'stop-after'"));
    if (!yields || *yields < 0 || *yields > 1e15 || *yields != std::floor(*yields)) {
      throw Failure{"stop-after takes a whole count of steps"};
    }
    host_.stopAfter(static_cast<long long>(*yields));
  } else if (command == "wait") {
    const auto ms = common::parseNumber(need(args, pos++, "milliseconds after 'wait'"));
    if (!ms || *ms < 0 || *ms > 1e9) throw Failure{"wait takes milliseconds from 0 to 1000000000"};
    if (!host_.wait(app_.windows(), static_cast<long long>(*ms))) {
      throw Failure{"wait stopped after " + std::to_string(platform::HeadlessHost::kMostTicks) +
                    " timer ticks: give a shorter wait"};
    }
  } else if (command == "save") {
    Form* form = nullptr;
    Control& target = control(need(args, pos++, "FormN.Control after 'save'"), form);
    const std::string& path = need(args, pos++, "a path after 'save'");
    if (target.kind() == ControlKind::Plot) {
      if (!endsWith(path, ".png") && !endsWith(path, ".svg"))
        throw Failure{"a plot is saved as .png or .svg"};
      if (!platform::savePlot(static_cast<platform::Plot&>(target), path)) {
        throw Failure{"cannot write '" + path + "'"};
      }
      return;
    }
    if (target.kind() != ControlKind::PictureBox)
      throw Failure{target.name() + " is not a picture box or a plot"};
    if (!endsWith(path, ".bmp") && !endsWith(path, ".png"))
      throw Failure{"save writes .bmp or .png"};
    if (!static_cast<platform::PictureBox&>(target).picture().save(path)) {
      throw Failure{"cannot write '" + path + "'"};
    }
  } else if (command == "screenshot") {
    const std::string& name = need(args, pos++, "form name after 'screenshot'");
    const std::string& path = need(args, pos++, "a path after 'screenshot'");
    Form& form = openForm(name);
    if (!endsWith(path, ".bmp") && !endsWith(path, ".png"))
      throw Failure{"screenshot writes .png or .bmp"};
    if (!platform::saveFormPicture(form, path)) throw Failure{"cannot write '" + path + "'"};
  } else if (command == "export") {
    const std::string& name = need(args, pos++, "form name after 'export'");
    const std::string& path = need(args, pos++, "a path after 'export'");
    Form& form = openForm(name);
    const auto format = platform::resultFormatOf(path);
    if (!format) throw Failure{"export writes .csv or .json"};
    const auto results = form.results();
    if (!results) throw Failure{name + " has no results to export"};
    if (!platform::writeResults(*results, path, *format)) {
      throw Failure{"cannot write '" + path + "'"};
    }
  } else if (command == "menu") {
    Form* form = nullptr;
    Control& target = control(need(args, pos++, "FormN.Control after 'menu'"), form);
    const std::string& caption = need(args, pos++, "a menu entry after 'menu'");
    const auto& items = target.menu();
    const auto found = std::find_if(items.begin(), items.end(), [&caption](const auto& item) {
      return item.caption == caption;
    });
    if (found == items.end()) {
      throw Failure{target.name() + " of " + form->name() + " has no menu entry '" + caption + "'"};
    }
    form->chooseMenuItem(target, static_cast<std::size_t>(found - items.begin()));
  } else if (command == "dump") {
    std::string name;
    if (pos < args.size() && !isCommandWord(args[pos])) {
      name = args[pos++];
      openForm(name);
    }
    // Texts are shown as typed; bytes that are not UTF-8 are replaced, never fatal.
    out_ << dump(name).dump(2, ' ', false, json::error_handler_t::replace) << '\n';
  } else {
    throw Failure{"unknown command '" + command + "'"};
  }
}

}  // namespace quorvel::cli
