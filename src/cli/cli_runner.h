#pragma once

#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/app.h"
#include "platform/headless/headless_host.h"

namespace quorvel::cli {

// Runs quorvel-cli's commands, in order, on the program's windows without a screen.
//
//   open FormN | close FormN
//   activate FormN               (makes an open window the active one, as a click into it)
//   set FormN.Control=VALUE      (text as typed; check box 0/1 and option button 1 act as
//                                 the user's click; scroll bar its value)
//   click FormN.Control
//   mouse FormN.Control left|right X Y
//   answer yes|no | file PATH    (queue the next Yes/No answer or file dialog path)
//   wait MS                      (timers and events for MS milliseconds)
//   stop-after N                 (the running loop is stopped, as by its stop button, after
//                                 N more steps: for loops that run until stopped)
//   save FormN.Control PATH      (a picture box .bmp or .png, a plot .png or .svg)
//   screenshot FormN PATH        (the whole window as the desktop program shows it)
//   export FormN PATH            (the window's results, .csv or .json)
//   menu FormN.Control ENTRY     (an entry of the control's context menu)
//   dump [FormN]                 (JSON on stdout)
//   --program-folder DIR         (anywhere before the commands)
//
// Form1 is open at start. Every message box is printed on the error stream as it appears.
// A malformed command, an unknown form or control ends the run with status 2. --help (-h)
// prints the usage on the output stream; without a command it goes to the error stream
// with status 2; --version prints the version.
class CliRunner {
 public:
  CliRunner(std::ostream& out, std::ostream& err);
  ~CliRunner();

  int run(const std::vector<std::string>& args);
  // Runs commands on the windows as they are (without the start's options and without
  // showing Form1 first): 0, or 2 when a command is refused (its reason on the error stream).
  int runCommands(const std::vector<std::string>& commands);

  platform::HeadlessHost& host() { return host_; }
  platform::App& app() { return app_; }
  // The JSON of `dump` for all open forms, or for one.
  nlohmann::json dump(const std::string& formName = {}) const;

 private:
  struct Failure {
    std::string message;
  };
  void execute(const std::vector<std::string>& args, std::size_t& pos);
  platform::Form& openForm(const std::string& name);
  platform::Control& control(const std::string& target, platform::Form*& form);
  static const std::string& need(const std::vector<std::string>& args, std::size_t pos,
                                 const char* what);

  std::ostream& out_;
  std::ostream& err_;
  platform::HeadlessHost host_;
  platform::App app_;
};

}  // namespace quorvel::cli
