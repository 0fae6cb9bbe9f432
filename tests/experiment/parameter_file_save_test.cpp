#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/forms.h"
#include "common/atomic_file.h"
#include "experiment/form4.h"
#include "platform/app.h"
#include "platform/headless/headless_host.h"

namespace quorvel::experiment {
namespace {

namespace fs = std::filesystem;

// "Сохранить размеры и углы в файле" in a program folder of the test's own.
class ParameterSaveTest : public testing::Test {
 protected:
  ParameterSaveTest() : app(host) {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    folder = fs::temp_directory_path() / ("quorvel_save_" + std::string(info->name()));
    fs::remove_all(folder);
    fs::create_directories(folder / "Dat");
    host.setProgramFolder(folder);
    app::registerForms(app.windows());
    app.windows().show("Form1");
    app.windows().show("Form4");
  }
  ~ParameterSaveTest() override {
    for (auto* f : app.windows().openForms()) app.windows().unload(f->name());
    fs::remove_all(folder);
  }
  Form4& form() { return *static_cast<Form4*>(app.windows().find("Form4")); }
  std::vector<std::string> datFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder / "Dat")) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  void touch(const std::string& name) { std::ofstream(folder / "Dat" / name) << "half"; }

  platform::HeadlessHost host;
  platform::App app;
  fs::path folder;
};

// Names up to the file system's limit are saved whole (the hidden file beside them is cut to
// fit); one byte more is refused with the limits, and nothing is written.
TEST_F(ParameterSaveTest, NameLengthsUpToTheLimit) {
  const std::size_t limit = common::fileNameLimit(folder / "Dat");
  ASSERT_GT(limit, 20u);
  const std::size_t longest = limit - std::string("Quorvel_.dat").size();  // 243 on most
  std::string cyrillic;
  while (cyrillic.size() + 2 <= longest) cyrillic += "ж";  // 242 bytes: its hidden name is cut
  struct Case {
    std::string name;
    bool saved;
  };
  const Case cases[] = {
      {std::string(longest - 8, 'a'), true},
      {std::string(longest - 7, 'b'), true},
      {std::string(longest, 'c'), true},
      {std::string(longest + 1, 'd'), false},
      {std::string(limit + 40, 'e'), false},
      {cyrillic, true},
      {std::string(longest - 1, 'f') + "ж", false},
  };
  Form4& f = form();
  for (const auto& c : cases) {
    const std::size_t before = host.messages().size();
    f.typeText(f.Text39, c.name);
    f.click(f.Command11);
    const std::string file = "Quorvel_" + c.name + ".dat";
    if (c.saved) {
      EXPECT_EQ(host.messages().size(), before)
          << c.name.size() << ": " << host.messages().back().text;
      EXPECT_TRUE(fs::is_regular_file(folder / "Dat" / file)) << c.name.size();
    } else {
      ASSERT_EQ(host.messages().size(), before + 1) << c.name.size();
      EXPECT_EQ(host.messages().back().title, "Quorvel1");
      EXPECT_EQ(host.messages().back().text,
                "Ошибка записи в файл \\Dat\\" + file + ": имя файла длиной " +
                    std::to_string(file.size()) +
                    " байт слишком длинное, файловая система допускает не более " +
                    std::to_string(limit) + " байт (в поле имени — не более " +
                    std::to_string(longest) + " байт, буква кириллицы занимает 2 байта)");
    }
  }
  // Only the saved files are there: no hidden file of any save is left.
  for (const auto& name : datFiles()) EXPECT_NE(name[0], '.') << name;
  EXPECT_EQ(datFiles().size(), 4u);
}

// A save killed between writing its hidden file and renaming it left the hidden file; the
// next save of the same name removes it, but keeps the hidden file of a save still going on
// (it holds a lock) and whatever belongs to other names or is no hidden file of a save.
TEST_F(ParameterSaveTest, RemovesWhatAKilledSaveLeft) {
  const std::size_t limit = common::fileNameLimit(folder / "Dat");
  const std::string longName(limit - std::string("Quorvel_.dat").size(), 'L');
  // The hidden name of the longest name is cut to fit: "." + its first limit − 8 bytes.
  const std::string longStem = ("." + ("Quorvel_" + longName + ".dat")).substr(0, limit - 7);
  for (const char* name : {".Quorvel_m3p3_80.dat.a1B2c3", ".Quorvel_m3p3_80.dat.ZZZZZZ",
                           ".Quorvel_m3p3_800.dat.a1B2c3", ".Quorvel_m3p3_80.dat.a1B2c",
                           ".Quorvel_m3p3_80.dat.a1-2c3", "Quorvel_other.dat"}) {
    touch(name);
  }
  touch(longStem + ".Q1w2E3");
  // A save of another program going on: its hidden file is locked.
  touch(".Quorvel_m3p3_80.dat.Lock3d");
  const int busy = ::open((folder / "Dat" / ".Quorvel_m3p3_80.dat.Lock3d").c_str(), O_RDONLY);
  ASSERT_GE(busy, 0);
  ASSERT_EQ(::flock(busy, LOCK_EX), 0);
  // Not a file: a folder with the hidden name stays.
  fs::create_directory(folder / "Dat" / ".Quorvel_m3p3_80.dat.folder");

  Form4& f = form();
  f.click(f.Command11);
  f.typeText(f.Text39, longName);
  f.click(f.Command11);
  ::close(busy);
  EXPECT_TRUE(host.messages().empty()) << host.messages().back().text;
  const std::vector<std::string> expected = {
      ".Quorvel_m3p3_80.dat.Lock3d",  ".Quorvel_m3p3_80.dat.a1-2c3",
      ".Quorvel_m3p3_80.dat.a1B2c",   ".Quorvel_m3p3_80.dat.folder",
      ".Quorvel_m3p3_800.dat.a1B2c3", "Quorvel_" + longName + ".dat",
      "Quorvel_m3p3_80.dat",          "Quorvel_other.dat"};
  EXPECT_EQ(datFiles(), expected);
}

}  // namespace
}  // namespace quorvel::experiment
