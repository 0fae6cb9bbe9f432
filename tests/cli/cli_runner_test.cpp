#include "cli/cli_runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/usage.h"
#include "common/shared.h"

namespace quorvel::cli {
namespace {

using nlohmann::json;

struct CliRun {
  int status;
  std::string out;
  std::string err;
  json dump;  // the state after the run
};

CliRun run(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  CliRunner runner(out, err);
  runner.host().setLocalTime({2026, 12, 7, 10, 0, 0});
  CliRun result{runner.run(args), out.str(), err.str(), {}};
  result.dump = runner.dump();
  return result;
}

const json* findForm(const json& dump, const std::string& name) {
  for (const json& form : dump["forms"]) {
    if (form["name"] == name) return &form;
  }
  return nullptr;
}

const json* findControl(const json& dump, const std::string& form, const std::string& name) {
  const json* f = findForm(dump, form);
  if (!f) return nullptr;
  for (const json& control : (*f)["controls"]) {
    if (control["name"] == name) return &control;
  }
  return nullptr;
}

TEST(CliTest, DumpListsControlsOfTheMainWindow) {
  CliRun r = run({"dump", "Form1"});
  ASSERT_EQ(r.status, 0) << r.err;
  json out = json::parse(r.out);
  ASSERT_EQ(out["forms"].size(), 1u);
  EXPECT_EQ(out["forms"][0]["caption"], "Quorvel1     form1    Эксперимент Майкельсона-Морли ");
  const json* timer = findControl(out, "Form1", "Timer1");
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ((*timer)["interval"], 100);
  EXPECT_EQ((*timer)["timerEnabled"], true);
  EXPECT_EQ((*timer)["kind"], "Timer");
  const json* text = findControl(out, "Form1", "Text6");
  EXPECT_EQ((*text)["text"], "44,5");
  EXPECT_EQ((*text)["kind"], "TextBox");
  EXPECT_EQ((*text)["enabled"], true);
  EXPECT_EQ((*text)["visible"], true);
  const json* button = findControl(out, "Form1", "Command1");
  EXPECT_EQ((*button)["caption"], "Вычислительный эксперимент на модели");
  const json* check = findControl(out, "Form1", "Check2");
  EXPECT_EQ((*check)["value"], 0);
  EXPECT_TRUE(out["messages"].empty());
}

TEST(CliTest, SetAndClickActAsTheUser) {
  CliRun r = run({"set", "Form1.Text20=0,5", "click", "Form1.Command3"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ((*findControl(r.dump, "Form1", "Timer1"))["interval"], 500);

  r = run({"set", "Form1.Check2=1", "set", "Form1.Check2=1"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ((*findControl(r.dump, "Form1", "Check2"))["value"], 1);

  r = run({"click", "Form1.Check2", "click", "Form1.Check2", "click", "Form1.Check2"});
  EXPECT_EQ((*findControl(r.dump, "Form1", "Check2"))["value"], 1);

  r = run({"click", "Form1.Command8", "wait", "5000", "dump", "Form1"});
  EXPECT_EQ((*findControl(r.dump, "Form1", "Text2"))["text"], "");
  EXPECT_EQ((*findControl(r.dump, "Form1", "Timer1"))["timerEnabled"], false);
}

TEST(CliTest, StopAfterEndsAMotionThatRunsUntilStopped) {
  CliRun r = run({"click", "Form1.Command8", "set", "Form1.Text2=01.01.2000", "set",
                  "Form1.Text3=12:00:00", "set", "Form1.Text5=0", "click", "Form1.Command4", "set",
                  "Form1.Text16=24", "stop-after", "4", "click", "Form1.Command11"});
  ASSERT_EQ(r.status, 0) << r.err;
  // The stop is seen at the next pass after the fourth step: five passes of a day each.
  EXPECT_EQ((*findControl(r.dump, "Form1", "Text18"))["text"], "06.01.2000");
  EXPECT_EQ(common::shared().StopRequested, 1);
  common::shared().StopRequested = 0;
  r = run({"stop-after", "x"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("stop-after takes a whole count of steps"), std::string::npos);
}

TEST(CliTest, TextsThatAreNotUtf8AreDumpedNotFatal) {
  CliRun r = run({"set", "Form1.Text5=\xff+3", "dump", "Form1"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\"text\": \"\xef\xbf\xbd+3\""), std::string::npos);
}

TEST(CliTest, WaitWithEndlessTicksStopsWithAnError) {
  CliRun r = run({"set", "Form1.Text20=0,001", "click", "Form1.Command3", "click", "Form1.Command8",
                  "click", "Form1.Command10", "wait", "1000000000"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("wait stopped after 100000 timer ticks"), std::string::npos);
}

TEST(CliTest, WaitRunsTimers) {
  CliRun r = run({"wait", "250"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ((*findControl(r.dump, "Form1", "Text2"))["text"], "07.12.2026");
  EXPECT_EQ((*findControl(r.dump, "Form1", "Text3"))["text"], "10:00:00");
}

TEST(CliTest, OpenCloseAndAboutWindow) {
  CliRun r = run({"open", "Form2", "dump", "Form2"});
  ASSERT_EQ(r.status, 0) << r.err;
  json out = json::parse(r.out);
  ASSERT_EQ(out["forms"].size(), 1u);
  const std::string text = (*findControl(out, "Form2", "Text1"))["text"];
  EXPECT_EQ(text.rfind("                 ОПИСАНИЕ ДЕЙСТВИЙ КНОПОК ПРОГРАММЫ QUORVEL1\r\n", 0), 0u);

  r = run({"open", "Form2", "close", "Form2"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(findForm(r.dump, "Form2"), nullptr);
  EXPECT_NE(findForm(r.dump, "Form1"), nullptr);

  r = run({"open", "Form2", "click", "Form2.Command1", "open", "Form9"});
  EXPECT_EQ(findForm(r.dump, "Form2"), nullptr);
  EXPECT_NE(findForm(r.dump, "Form9"), nullptr);

  r = run({"click", "Form1.Command16"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.dump["forms"].empty());
  common::shared().StopRequested = 0;
}

TEST(CliTest, MessagesAreDumpedAndPrinted) {
  CliRun r = run({"set", "Form1.Text20=abc", "click", "Form1.Command3", "dump"});
  ASSERT_EQ(r.status, 0) << r.err;
  json out = json::parse(r.out);
  ASSERT_EQ(out["messages"].size(), 1u);
  EXPECT_EQ(out["messages"][0]["title"], "Quorvel");
  EXPECT_EQ(out["messages"][0]["buttons"], "OK");
  EXPECT_EQ(out["messages"][0]["answer"], "ok");
  EXPECT_NE(r.err.find("message [Quorvel]: Интервал таймера не изменен"), std::string::npos);
}

TEST(CliTest, SaveWritesPicturesByExtension) {
  const auto folder = std::filesystem::temp_directory_path() / "quorvel_cli_save";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string bmp = (folder / "earth.bmp").string();
  const std::string png = (folder / "earth.png").string();
  CliRun r = run({"save", "Form1.Picture1", bmp, "save", "Form1.Picture1", png});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_GT(std::filesystem::file_size(bmp), 560u * 560u * 3u);
  EXPECT_GT(std::filesystem::file_size(png), 100u);
  r = run({"save", "Form1.Picture1", (folder / "missing" / "x.bmp").string()});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("cannot write"), std::string::npos);
  std::filesystem::remove_all(folder);
}

TEST(CliTest, MousePressOnAPicture) {
  // A press with a decimal comma or point; arrays of pictures are named with their index.
  CliRun r = run({"mouse", "Form1.Picture1", "left", "1,5", "-2", "mouse", "Form1.Picture1",
                  "right", "0.5", "3"});
  EXPECT_EQ(r.status, 0) << r.err;
  r = run({"mouse", "Form1.Picture1(2)", "left", "1", "2"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("unknown control 'Picture1(2)' of Form1"), std::string::npos);
}

// --help and -h print the usage on stdout; no command at all prints it on stderr with
// status 2; --version its one line. Only as the first argument: after a command it is a word
// of that command.
TEST(CliTest, HelpVersionAndNoCommand) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out;
    std::string err;
  };
  const Case cases[] = {
      {{"--help"}, 0, usageText(), ""},
      {{"-h", "open", "Form77"}, 0, usageText(), ""},
      {{}, 2, "", usageText()},
      {{"--program-folder", "/tmp/quorvel-folder"}, 2, "", usageText()},
      {{"--version"}, 0, "quorvel-cli " QUORVEL_TEST_VERSION "\n", ""},
      {{"open", "Form2", "--help"}, 2, "", "quorvel-cli: unknown command '--help'\n"},
      {{"help"}, 2, "", "quorvel-cli: unknown command 'help'\n"},
  };
  for (const auto& c : cases) {
    std::ostringstream out, err;
    CliRunner runner(out, err);
    EXPECT_EQ(runner.run(c.args), c.status) << testing::PrintToString(c.args);
    EXPECT_EQ(out.str(), c.out) << testing::PrintToString(c.args);
    EXPECT_EQ(err.str(), c.err) << testing::PrintToString(c.args);
  }
}

// The usage holds every command of the README's table, as the table writes it.
TEST(CliTest, UsageHasTheReadmeCommands) {
  std::ifstream readme(QUORVEL_README);
  ASSERT_TRUE(readme) << "README.md not found";
  const std::string usage = usageText();
  int rows = 0;
  bool inTable = false;
  for (std::string line; std::getline(readme, line);) {
    if (line.rfind("| command |", 0) == 0) inTable = true;
    if (!inTable) continue;
    if (line.rfind("| `", 0) != 0) {
      if (rows > 0) break;
      continue;
    }
    ++rows;
    const std::string cell = line.substr(2, line.find(" | ") - 2);
    // `open FormN`, `close FormN`: each command between backticks, "\|" for a "|".
    for (std::size_t open = cell.find('`'); open != std::string::npos;) {
      const std::size_t close = cell.find('`', open + 1);
      std::string command = cell.substr(open + 1, close - open - 1);
      for (std::size_t bar; (bar = command.find("\\|")) != std::string::npos;) {
        command.erase(bar, 1);
      }
      EXPECT_NE(usage.find(command), std::string::npos) << command;
      open = cell.find('`', close + 1);
    }
  }
  EXPECT_EQ(rows, 14);
}

TEST(CliTest, ProgramFolderOption) {
  std::ostringstream out, err;
  CliRunner runner(out, err);
  EXPECT_EQ(runner.run({"--program-folder", "/tmp/quorvel-folder", "dump"}), 0);
  EXPECT_EQ(runner.host().programFolder(), "/tmp/quorvel-folder");
  EXPECT_EQ(runner.run({"--program-folder"}), 2);
}

// Every malformed command, unknown form or control ends with status 2 and a clear error.
TEST(CliTest, ErrorsEndWithStatusTwo) {
  struct Case {
    std::vector<std::string> args;
    const char* error;
  };
  const Case cases[] = {
      {{"open", "Form77"}, "unknown form 'Form77'"},
      {{"open"}, "missing form name after 'open'"},
      {{"close", "Form2"}, "form 'Form2' is not open"},
      {{"close", "Form77"}, "unknown form 'Form77'"},
      {{"dump", "Form2"}, "form 'Form2' is not open"},
      {{"set", "Form1.Text20"}, "expected FormN.Control=VALUE"},
      {{"set", "Form1.Nothing=1"}, "unknown control 'Nothing' of Form1"},
      {{"set", "Form8.Text1=1"}, "unknown form 'Form8'"},
      {{"set", "Text1=1"}, "expected FormN.Control"},
      {{"set", "Form1.Check2=2"}, "a check box is set to 0 or 1"},
      {{"set", "Form1.Command1=1"}, "cannot be set"},
      {{"set", "Form1.Label2=x"}, "cannot be set"},
      {{"click", "Form1.Text2"}, "cannot be clicked"},
      {{"click"}, "missing FormN.Control after 'click'"},
      {{"mouse", "Form1.Picture1", "middle", "1", "2"}, "mouse button is left or right"},
      {{"mouse", "Form1.Picture1", "left", "a", "2"}, "mouse coordinates must be numbers"},
      {{"mouse", "Form1.Text2", "left", "1", "2"}, "is not a picture box"},
      {{"mouse", "Form1.Picture1", "left", "1"}, "missing Y"},
      {{"answer", "maybe"}, "answer is yes or no"},
      {{"file"}, "missing a path after 'file'"},
      {{"wait", "-5"}, "wait takes milliseconds"},
      {{"wait", "soon"}, "wait takes milliseconds"},
      {{"save", "Form1.Picture1", "x.gif"}, "save writes .bmp or .png"},
      {{"save", "Form1.Text2", "x.bmp"}, "is not a picture box"},
      {{"frobnicate"}, "unknown command 'frobnicate'"},
  };
  for (const Case& c : cases) {
    CliRun r = run(c.args);
    EXPECT_EQ(r.status, 2) << c.args[0];
    EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
    EXPECT_EQ(r.err.rfind("quorvel-cli: ", 0), 0u) << r.err;
  }
}

TEST(CliTest, DisabledControlsCannotBeUsedAndLaterCommandsDoNotRun) {
  CliRun r = run({"set", "Form1.Text20=abc", "frobnicate", "click", "Form1.Command3"});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(r.dump["messages"].empty());
}

TEST(CliTest, QueuedAnswersAndFiles) {
  std::ostringstream out, err;
  CliRunner runner(out, err);
  ASSERT_EQ(runner.run({"answer", "no", "file", "/tmp/a.dat"}), 0);
  EXPECT_FALSE(runner.host().messageBox("Дальше?", platform::Buttons::YesNo, "Quorvel_Dopler"));
  EXPECT_TRUE(runner.host().messageBox("Дальше?", platform::Buttons::YesNo, "Quorvel_Dopler"));
  EXPECT_EQ(runner.host().openFileDialog({}).value(), "/tmp/a.dat");
  EXPECT_NE(err.str().find("message [Quorvel_Dopler]: Дальше? -> no"), std::string::npos);
  json dump = runner.dump();
  EXPECT_EQ(dump["messages"][0]["answer"], "no");
  EXPECT_EQ(dump["messages"][1]["answer"], "yes");
  EXPECT_EQ(dump["messages"][1]["buttons"], "YesNo");
}

}  // namespace
}  // namespace quorvel::cli
