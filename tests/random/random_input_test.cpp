// The random-input test of every window: seeded sequences of what a user can do (texts,
// clicks, options, mouse presses, dialog answers, file paths, waits and stops) driven
// through quorvel-cli's command runner, without a screen.
//
// Invariants of every sequence: the program does not crash (nor trip a sanitizer when built
// with them); every handler ends within a bounded number of event yields (the host raises
// the stop as a user's "Остановить" after a budget, and a loop still running past a hard
// cap fails the sequence); every message shown is the program's own Russian text; and the
// windows stay usable: a run of the defaults afterwards gives the defaults' results.
//
// QUORVEL_RANDOM_SEQUENCES    sequences per window (default 30; `make check` runs 300)
// QUORVEL_RANDOM_DEFAULT_RUNS full runs of the defaults checked per window, spread over the
//                             sequences (default 1; each takes a few seconds today)
// QUORVEL_RANDOM_SEED         run only this seed (its commands are printed)
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/forms.h"
#include "cli/cli_runner.h"
#include "common/numbers.h"
#include "common/shared.h"
#include "platform/app.h"
#include "random/program_messages.h"
#include "viewer/video/demo_video.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#define QUORVEL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/common_interface_defs.h>
#define QUORVEL_ASAN 1
#endif
#endif

namespace quorvel::random_input {
namespace {

namespace fs = std::filesystem;
using platform::Control;
using platform::ControlKind;

// The yields a handler may take before the stop is raised, and the yields after which a
// loop that has not heard it fails the sequence.
constexpr long long kStopAtYields = 100;
constexpr long long kGiveUpAtYields = 100000;

long long envCount(const char* name, long long fallback) {
  const char* text = std::getenv(name);
  if (!text || !*text) return fallback;
  return std::strtoll(text, nullptr, 10);
}

// ---- what is remembered when the program dies, so the failing seed is named ----

char gCrashNote[160] = "";

void noteSequence(const std::string& window, std::uint64_t seed) {
  std::snprintf(gCrashNote, sizeof gCrashNote,
                "\nrandom-input: the program died in the sequence of %s with seed %llu "
                "(QUORVEL_RANDOM_SEED=%llu reruns it)\n",
                window.c_str(), static_cast<unsigned long long>(seed),
                static_cast<unsigned long long>(seed));
}

void writeCrashNote() {
  if (gCrashNote[0]) {
    const ssize_t ignored = write(STDERR_FILENO, gCrashNote, std::strlen(gCrashNote));
    (void)ignored;
  }
}

extern "C" void onFatalSignal(int signal) {
  writeCrashNote();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void installCrashNote() {
  for (int signal : {SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL}) std::signal(signal, onFatalSignal);
#ifdef QUORVEL_ASAN
  __sanitizer_set_death_callback(writeCrashNote);
#endif
}

// ---- messages ----

bool validUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    if (c >= 0xF0 && c < 0xF8) {
      extra = 3;
    } else if (c >= 0xE0) {
      extra = 2;
    } else if (c >= 0xC2) {
      extra = 1;
    } else if (c >= 0x80) {
      return false;
    }
    if (c >= 0xF8 || i + extra >= text.size() + (extra == 0)) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

bool hasCyrillic(std::string_view text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == 0xD0 || c == 0xD1) return true;
  }
  return false;
}

// A message is the program's own when it is one of its list (program_messages.h), with its
// title and buttons, and is readable Russian text with nothing of a library's fault leaking
// through the parts the program fills in (the generator's typed texts never hold the marks
// below).
std::string whyNotOwnMessage(std::string_view text, std::string_view title,
                             platform::Buttons buttons = platform::Buttons::Ok) {
  if (text.empty()) return "an empty message";
  if (!validUtf8(text)) return "a message that is not UTF-8";
  if (!hasCyrillic(text)) return "a message without Russian text";
  if (title.empty()) return "a message box without a title";
  static constexpr std::string_view kLeaks[] = {"std::",
                                                "basic_string",
                                                "_M_",
                                                "out_of_range",
                                                "invalid_argument",
                                                "bad_alloc",
                                                "bad_optional",
                                                "bad_variant",
                                                "json.exception",
                                                "filesystem error",
                                                "stoi",
                                                "stod",
                                                "непредвиденная ошибка"};
  for (std::string_view leak : kLeaks) {
    if (text.find(leak) != std::string_view::npos) {
      return "a library's fault leaking into a message (" + std::string(leak) + ")";
    }
  }
  if (!findProgramMessage(text, title, buttons)) {
    return "a message that is not in the program's list (title «" + std::string(title) + "»)";
  }
  return {};
}

// ---- the generator ----

// Texts of every kind a user may type.
class TextMaker {
 public:
  explicit TextMaker(std::mt19937_64& random) : random_(random) {}

  std::string make(std::string_view current) {
    switch (pick(12)) {
      case 0:
        return junk();
      case 1:
        return "";
      case 2:
        return choose({"1E30", "-1E30", "1E300", "-1E300", "1E308", "1,7E+308", "1E400", "9E15",
                       "123456789012345678901234567890", "1E9", "-1E9"});
      case 3:
        return choose(
            {"1E-300", "-1E-300", "1E-30", "4,9E-324", "1E-400", "1E-12", "0", "-0", "0,0000001"});
      case 4:
        return negative(decimal());
      case 5:
        return choose({"NaN", "nan", "inf", "-inf", "Infinity", "1.#INF", "-1.#IND"});
      case 6:
        return decimal();
      case 7:
        return longText();
      case 8:
        return choose(
            {"привет", "десять", "ноль,5", "Ёж", "5 м", "١٢٣", "½", "пять E3", "Quorvel_Дата"});
      case 9:
        return choose({" ", "\t1", " 1 ", "1,2,3", "1..2", "--1", "+5", "1e", "E5", "0x10", "1 000",
                       ",5", "5,", ".", ",", "1E+", "1E-5,5", "1;2"});
      default:
        return near(current);
    }
  }

  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  double uniform(double a, double b) {
    return std::uniform_real_distribution<double>(a, b)(random_);
  }

 private:
  std::string choose(std::initializer_list<const char*> texts) {
    return *(texts.begin() + pick(static_cast<int>(texts.size())));
  }

  std::string junk() {
    static constexpr std::string_view kChars =
        "abcXYZ0123456789,.-+eE !?#%&*()[]{}<>/\\|'\"`~^_=;@$";
    std::string text;
    for (int n = 1 + pick(12); n > 0; --n) text += kChars[pick(static_cast<int>(kChars.size()))];
    return text;
  }

  static std::string negative(std::string text) {
    text.insert(text.begin(), '-');
    return text;
  }

  std::string decimal() {
    const double magnitude = std::pow(10.0, uniform(-8, 8));
    std::string text = common::numberText(uniform(0, 1) * magnitude);
    if (pick(2) == 0) std::replace(text.begin(), text.end(), ',', '.');
    return text;
  }

  std::string longText() {
    static constexpr std::string_view kPieces[] = {"a", "Я", ",", "1", " "};
    std::string text;
    const int length = 200 + pick(4000);
    const int kind = pick(3);
    for (int i = 0; i < length; ++i) {
      text += kind == 0   ? std::string(1, static_cast<char>('0' + pick(10)))
              : kind == 1 ? std::string(kPieces[pick(static_cast<int>(std::size(kPieces)))])
                          : std::string("x");
    }
    return text;
  }

  // A value near the field's own, so that runs go somewhere.
  std::string near(std::string_view current) {
    const auto value = common::parseNumber(current);
    if (!value) return decimal();
    std::string text = common::numberText(*value * uniform(0.5, 1.5));
    if (pick(3) == 0) std::replace(text.begin(), text.end(), ',', '.');
    return text;
  }

  std::mt19937_64& random_;
};

struct Sequence {
  std::vector<std::vector<std::string>> commands;  // as quorvel-cli takes them
};

std::string quoted(const std::string& word) {
  if (!word.empty() && word.find_first_of(" \t\"'\\$`;|&<>()*?!#") == std::string::npos) {
    return word;
  }
  std::string text = "'";
  for (char c : word) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return text + "'";
}

std::string commandLine(const std::vector<std::vector<std::string>>& commands) {
  std::string line = "quorvel-cli";
  for (const auto& command : commands) {
    for (const auto& word : command) {
      line += ' ';
      line += quoted(word.size() > 60 ? word.substr(0, 60) + "…" : word);
    }
  }
  return line;
}

// One user's session: starts by opening its window and acts mostly on it.
class Session {
 public:
  Session(cli::CliRunner& runner, std::string window, std::uint64_t seed, const fs::path& files)
      : runner_(runner),
        window_(std::move(window)),
        random_(seed),
        texts_(random_),
        files_(files) {}

  // The next command, chosen from what is open now.
  std::vector<std::string> next() {
    auto& windows = runner_.app().windows();
    std::vector<platform::Form*> open = windows.openForms();
    const int roll = texts_.pick(100);
    if (open.empty() || roll < 4) {
      const auto names = windows.registeredNames();
      const std::string& name =
          texts_.pick(3) ? window_ : names[texts_.pick(static_cast<int>(names.size()))];
      return {"open", name};
    }
    if (roll < 7) return {"close", open[texts_.pick(static_cast<int>(open.size()))]->name()};
    if (roll < 11) return {"answer", texts_.pick(2) ? "yes" : "no"};
    if (roll < 15) {
      // The viewer opens what it is given at once, half the time as a photo, half as a video.
      if (window_ == "Form6" && texts_.pick(2) == 0) {
        return {"file", filePath(), "click", texts_.pick(2) ? "Form6.Command1" : "Form6.Command7"};
      }
      return {"file", filePath()};
    }
    if (roll < 17) return {"wait", std::to_string(texts_.pick(1000))};
    if (roll < 19) return {"stop-after", std::to_string(texts_.pick(5000))};
    platform::Form* form = nullptr;
    for (platform::Form* f : open) {
      if (f->name() == window_) form = f;
    }
    if (!form || texts_.pick(10) < 3) form = open[texts_.pick(static_cast<int>(open.size()))];
    std::vector<Control*> usable;
    for (Control* control : form->controls()) {
      if (control->enabled() && control->kind() != ControlKind::Label &&
          control->kind() != ControlKind::Frame && control->kind() != ControlKind::Timer &&
          control->kind() != ControlKind::Plot) {
        usable.push_back(control);
      }
    }
    if (usable.empty()) return {"dump", form->name()};
    Control* control = usable[texts_.pick(static_cast<int>(usable.size()))];
    const std::string target = form->name() + "." + control->name();
    switch (control->kind()) {
      case ControlKind::TextBox: {
        const auto& box = static_cast<const platform::TextBox&>(*control);
        std::string text = texts_.make(box.text());
        return {"set", target + "=" + text};
      }
      case ControlKind::HScrollBar:
      case ControlKind::VScrollBar: {
        const auto& bar = static_cast<const platform::ScrollBar&>(*control);
        const int value = bar.min() + texts_.pick(std::max(1, bar.max() - bar.min() + 1));
        return {"set", target + "=" + std::to_string(value)};
      }
      case ControlKind::PictureBox: {
        const auto& picture = static_cast<const platform::PictureBox&>(*control).picture();
        double x = picture.scaleLeft() + texts_.uniform(-0.2, 1.2) * picture.scaleWidth();
        double y = picture.scaleTop() + texts_.uniform(-0.2, 1.2) * picture.scaleHeight();
        if (texts_.pick(8) == 0) x = texts_.pick(2) ? 1e30 : -1e300;
        if (texts_.pick(8) == 0) y = texts_.pick(2) ? -1e30 : 1e300;
        return {"mouse", target, texts_.pick(2) ? "left" : "right", common::numberText(x),
                common::numberText(y)};
      }
      default:
        return {"click", target};
    }
  }

 private:
  std::string filePath() {
    // The viewer is also given hostile media: an empty file, videos cut short, headers that
    // declare huge pictures, many frames.
    if (window_ == "Form6" && texts_.pick(2) == 0) {
      static constexpr const char* kMedia[] = {"empty.avi", "cut.avi",  "h264.avi", "many.avi",
                                               "huge.gif",  "huge.bmp", "wide.gif"};
      return (files_ / kMedia[texts_.pick(static_cast<int>(std::size(kMedia)))]).string();
    }
    switch (texts_.pick(7)) {
      case 0:
        return (files_ / "missing.dat").string();
      case 1:
        return (files_ / "junk.dat").string();
      case 2:
        return files_.string();
      case 3:
        return (files_ / "good.dat").string();
      case 4:
        return (files_ / "short.dat").string();
      case 5:
        return (files_ / "Данные_ёж.dat").string();
      default:
        return "";
    }
  }

  cli::CliRunner& runner_;
  std::string window_;
  std::mt19937_64 random_;
  TextMaker texts_;
  fs::path files_;
};

// ---- the test ----

// A folder for the sequences' files: the program folder (with Dat/), the files the dialogs
// are answered with, and the current directory where saved pictures go.
struct Workspace {
  fs::path root;
  Workspace() {
    root = fs::temp_directory_path() /
           ("quorvel_random_input_" + std::to_string(static_cast<long long>(getpid())));
    fs::remove_all(root);
    fs::create_directories(root / "program" / "Dat");
    fs::create_directories(root / "files");
    std::ofstream(root / "files" / "junk.dat") << "\x01\x02garbage, 1, 2, три\n\xff\xfe";
    std::ofstream(root / "files" / "good.dat")
        << "-450000000,0,450000000,0,121703239200,58296760800,90000000000,135000000000,"
           "500000000,-300000000,10000000\n";
    std::ofstream(root / "files" / "short.dat") << "1,2,3\n";
    std::ofstream(root / "files" / "Данные_ёж.dat") << "1E400,0,0,0,0,0,0,0,0,0,0\n";
    previous = fs::current_path();
    fs::current_path(root);
  }
  ~Workspace() {
    std::error_code ignored;
    fs::current_path(previous, ignored);
    fs::remove_all(root, ignored);
  }
  fs::path previous;
};

// The hostile media of the viewer's sequences (see Session::filePath), small and quick to make.
void writeHostileMedia(const fs::path& files) {
  namespace video = viewer::video;
  std::ofstream(files / "empty.avi").close();
  const auto write = [&files](const char* name, video::DemoCodec codec, int frames, int group) {
    video::DemoVideo demo;
    demo.path = (files / name).string();
    demo.codec = codec;
    demo.frames = frames;
    demo.groupOfFrames = group;
    demo.width = 32;
    demo.height = 32;
    if (video::encoderAvailable(codec)) {
      ASSERT_TRUE(video::writeDemoVideo(demo)) << name;
    }
  };
  write("cut.avi", video::DemoCodec::Mpeg4, 60, 10);
  if (fs::exists(files / "cut.avi")) {
    fs::resize_file(files / "cut.avi", fs::file_size(files / "cut.avi") / 2);
  }
  write("h264.avi", video::DemoCodec::H264, 30, 10);
  write("many.avi", video::DemoCodec::Mjpeg, 3000, 1);
  // A GIF whose screen is 65535 × 65535 pixels and one of 8192 × 4320, each holding one
  // 1 × 1 picture; a 24-bit BMP that declares 8192 × 8192 pixels and brings none.
  const auto gif = [&files](const char* name, int width, int height) {
    std::string bytes = "GIF89a";
    const auto put16 = [&bytes](int value) {
      bytes.push_back(static_cast<char>(value & 0xFF));
      bytes.push_back(static_cast<char>((value >> 8) & 0xFF));
    };
    put16(width), put16(height);
    bytes += std::string("\x80\x00\x00\xff\x00\x00\x00\x00\x00,", 10);
    put16(0), put16(0), put16(1), put16(1);
    bytes += std::string("\x00\x02\x02\x44\x01\x00;", 7);
    std::ofstream(files / name, std::ios::binary) << bytes;
  };
  gif("huge.gif", 65535, 65535);
  gif("wide.gif", 8192, 4320);
  std::string bmp = "BM";
  const auto put32 = [&bmp](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) bmp.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  };
  put32(54, 4), put32(0, 4), put32(54, 4), put32(40, 4), put32(8192, 4), put32(8192, 4);
  put32(1, 2), put32(24, 2), put32(0, 4), put32(0, 4), put32(2835, 4), put32(2835, 4);
  put32(0, 4), put32(0, 4);
  std::ofstream(files / "huge.bmp", std::ios::binary) << bmp;
}

// A fixed clock, so that the main window (and the Earth's velocity it gives the experiment)
// is the same in every sequence.
constexpr platform::LocalTime kClock{2026, 12, 8, 10, 30, 0};

std::unique_ptr<cli::CliRunner> makeRunner(std::ostream& out, std::ostream& err,
                                           const fs::path& programFolder) {
  auto runner = std::make_unique<cli::CliRunner>(out, err);
  runner->host().setLocalTime(kClock);
  runner->host().setProgramFolder(programFolder);
  runner->app().windows().show("Form1");
  return runner;
}

// The experiment window's fields and data after a run of its defaults, in fresh windows.
nlohmann::json defaultRun(const fs::path& programFolder) {
  std::ostringstream out;
  std::ostringstream err;
  auto runner = makeRunner(out, err, programFolder);
  runner->host().setYieldBudget(-1, -1);
  common::shared().StopRequested = 0;
  const int status = runner->runCommands({"click", "Form1.Command1", "click", "Form4.Command7"});
  EXPECT_EQ(status, 0) << err.str();
  nlohmann::json form = runner->dump("Form4")["forms"][0];
  form["messages"] = runner->dump()["messages"];
  return form;
}

std::vector<std::string> registeredWindows() {
  std::ostringstream sink;
  cli::CliRunner runner(sink, sink);
  return runner.app().windows().registeredNames();
}

class RandomInput : public testing::TestWithParam<std::string> {};

TEST_P(RandomInput, EverySequenceEndsUsable) {
  installCrashNote();
  const std::string window = GetParam();
  Workspace workspace;
  const fs::path programFolder = workspace.root / "program";
  const fs::path files = workspace.root / "files";

  const long long only = envCount("QUORVEL_RANDOM_SEED", -1);
  const long long sequences = only >= 0 ? 1 : envCount("QUORVEL_RANDOM_SEQUENCES", 30);
  const long long checkedRuns = std::min(envCount("QUORVEL_RANDOM_DEFAULT_RUNS", 1), sequences);

  if (window == "Form6") writeHostileMedia(files);
  const nlohmann::json reference = checkedRuns > 0 ? defaultRun(programFolder) : nlohmann::json();
  long long refused = 0;
  long long commands = 0;
  long long messages = 0;
  std::set<const ProgramMessage*> listed;  // the entries of the list that were shown
  long long stoppedByBudget = 0;
  long long runsChecked = 0;
  for (long long index = 0; index < sequences; ++index) {
    const std::uint64_t seed =
        only >= 0 ? static_cast<std::uint64_t>(only) : static_cast<std::uint64_t>(index + 1);
    noteSequence(window, seed);
    std::ostringstream out;
    std::ostringstream err;
    auto runner = makeRunner(out, err, programFolder);
    common::shared().StopRequested = 0;
    std::uint64_t mixed = seed * 0x9E3779B97F4A7C15ull;
    for (char c : window) mixed = (mixed ^ static_cast<unsigned char>(c)) * 0x100000001B3ull;
    Session session(*runner, window, mixed, files);
    std::mt19937_64 lengths(mixed);
    const int length = 5 + static_cast<int>(lengths() % 40);
    std::vector<std::vector<std::string>> done{{"open", window}};
    runner->runCommands(done.back());
    // The interference window every other sequence with "+ закончить расчет через" ticked:
    // its computation then ends each interval after M steps and otherwise only when stopped,
    // and both must hear the stop.
    if (window == "Form3" && seed % 2 == 1) {
      done.push_back({"set", "Form3.Check8=1"});
      runner->runCommands(done.back());
    }
    bool stuck = false;
    for (int step = 0; step < length && !stuck; ++step) {
      done.push_back(session.next());
      const long long before = runner->host().doEventsCalls();
      runner->host().setYieldBudget(kStopAtYields, kGiveUpAtYields);
      refused += runner->runCommands(done.back()) != 0;
      ++commands;
      stuck = runner->host().yieldCapReached();
      if (runner->host().doEventsCalls() - before >= kStopAtYields) ++stoppedByBudget;
    }
    runner->host().setYieldBudget(-1, -1);
    if (only >= 0) std::cerr << commandLine(done) << "\n" << err.str();
    ASSERT_FALSE(stuck) << window << ", seed " << seed << ": a loop did not hear the stop within "
                        << kGiveUpAtYields << " yields:\n  " << commandLine(done);
    for (const auto& message : runner->host().messages()) {
      ++messages;
      listed.insert(findProgramMessage(message.text, message.title, message.buttons));
      const std::string why = whyNotOwnMessage(message.text, message.title, message.buttons);
      EXPECT_TRUE(why.empty()) << window << ", seed " << seed << ": " << why << ": «"
                               << message.text << "»\n  " << commandLine(done);
    }
    for (platform::Form* form : runner->app().windows().openForms()) {
      EXPECT_FALSE(form->busy()) << window << ", seed " << seed << ": " << form->name()
                                 << " is still running a handler\n  " << commandLine(done);
    }
    runner.reset();
    // The defaults' run, spread over the sequences (the last one always among them).
    const bool check = checkedRuns > 0 &&
                       ((index + 1) * checkedRuns / sequences != index * checkedRuns / sequences);
    if (check) {
      ++runsChecked;
      const nlohmann::json after = defaultRun(programFolder);
      EXPECT_EQ(after, reference) << window << ", seed " << seed
                                  << ": the defaults' run differs afterwards\n  "
                                  << commandLine(done);
    }
    if (testing::Test::HasFailure()) break;
  }
  gCrashNote[0] = '\0';
  std::cout << window << ": " << sequences << " sequences, " << commands << " commands (" << refused
            << " refused by the command runner, " << stoppedByBudget
            << " stopped by the yield budget), " << messages << " messages ("
            << listed.size() - listed.count(nullptr) << " of the list's "
            << programMessages().size() << " texts), " << runsChecked << " default runs checked\n";
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, RandomInput, testing::ValuesIn(registeredWindows()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

// Every field of the interference window typed with each hostile value, then the transform,
// the start, the continuation and the measurements, with "+ закончить расчет через"
// unticked (the computation runs until stopped) and ticked with the boxes and the option
// whose fields are read only then. Every loop hears the stop raised at the yield budget,
// every message is the program's own and the window ends idle.
TEST(RandomInputForm3, EveryFieldTakesEveryHostileValue) {
  installCrashNote();
  Workspace workspace;
  const fs::path programFolder = workspace.root / "program";
  const std::vector<std::string> hostile = {
      "", "abc", "1E400", "-1", "-2147483648", "2147483648", "2147483647", "0", "1E-300"};
  const std::vector<std::vector<std::string>> variants = {
      {},
      {"set", "Form3.Check8=1", "set", "Form3.Text51=2", "set", "Form3.Check4=1", "set",
       "Form3.Check3=1", "set", "Form3.Check14=1", "set", "Form3.Option2=1"},
  };
  std::vector<std::string> fields;
  {
    std::ostringstream sink;
    auto runner = makeRunner(sink, sink, programFolder);
    runner->runCommands({"open", "Form3"});
    for (const Control* control : runner->app().windows().find("Form3")->controls()) {
      if (control->kind() == ControlKind::TextBox) fields.push_back(control->name());
    }
  }
  ASSERT_EQ(fields.size(), 78u);  // with the pace, Text31
  for (const auto& variant : variants) {
    std::ostringstream out;
    std::ostringstream err;
    auto runner = makeRunner(out, err, programFolder);
    for (const std::string& field : fields) {
      for (const std::string& value : hostile) {
        // A window loaded afresh for each case.
        const std::size_t shown = runner->host().messages().size();
        std::vector<std::string> commands = {"close", "Form3", "open", "Form3"};
        commands.insert(commands.end(), variant.begin(), variant.end());
        const std::string typed = "Form3." + field + "=" + value;
        // Typed before the transform and again after it, which rewrites the screen frame's.
        for (const char* button : {"Command3", "Command1", "Command4", "Command9", "Command8"}) {
          commands.insert(commands.end(), {"set", typed, "click", std::string("Form3.") + button});
        }
        const std::string what = field + "=«" + value + "»" + (variant.empty() ? "" : ", ticked");
        bool stuck = false;
        for (std::size_t i = 0; i + 1 < commands.size() && !stuck; i += 2) {
          runner->host().setYieldBudget(kStopAtYields, kGiveUpAtYields);
          runner->runCommands({commands[i], commands[i + 1]});
          stuck = runner->host().yieldCapReached();
        }
        runner->host().setYieldBudget(-1, -1);
        ASSERT_FALSE(stuck) << what << ": a loop did not hear the stop";
        for (std::size_t i = shown; i < runner->host().messages().size(); ++i) {
          const auto& message = runner->host().messages()[i];
          const std::string why = whyNotOwnMessage(message.text, message.title, message.buttons);
          EXPECT_TRUE(why.empty()) << what << ": " << why << ": «" << message.text << "»";
        }
        EXPECT_FALSE(runner->app().windows().find("Form3")->busy()) << what;
      }
    }
  }
}

// The checks of the test itself: the program's messages are told from everything else.
TEST(RandomInputChecks, Messages) {
  using platform::Buttons;
  struct Case {
    const char* text;
    const char* title;
    Buttons buttons;
    bool own;
  };
  const Case cases[] = {
      {"Задайте правильно данные", "Quorvel", Buttons::Ok, true},
      {"Задайте правильно данные: в поле «Y4, м» значение «1E30» по модулю больше 1000000",
       "Quorvel", Buttons::Ok, true},
      {"пройден участок пути  10\r\nV12=  1\r\n\r\nПРОДОЛЖИТЬ ПОЭТАПНОЕ ДВИЖЕНИЕ?", "Quorvel",
       Buttons::YesNo, true},
      {"Ошибка решения при ii= 10  и jj= 0  AlfaZ=  45", "Quorvel", Buttons::Ok, true},
      {"Ширина картинки не может быть\r\n     больше 32767 пикселей", "Trevan5", Buttons::Ok, true},
      // The wrong title, the wrong buttons, a text cut short or run on.
      {"Ширина картинки не может быть\r\n     больше 32767 пикселей", "Quorvel", Buttons::Ok,
       false},
      {"пройден участок пути  10\r\n\r\nПРОДОЛЖИТЬ ПОЭТАПНОЕ ДВИЖЕНИЕ?", "Quorvel", Buttons::Ok,
       false},
      {"Задайте правильно данные: в поле", "Quorvel", Buttons::Ok, false},
      {"Задайте правильно данные!", "Quorvel", Buttons::Ok, false},
      {"Ошибка решения при ii= 10  AlfaZ=  45", "Quorvel", Buttons::Ok, false},
      // A fault that escaped its handler, and library texts.
      {"Ошибка: ApproachMirror: фронт прошел зеркало", "Quorvel", Buttons::Ok, false},
      {"Ошибка: непредвиденная ошибка", "Quorvel", Buttons::Ok, false},
      {"Эксперимент не начат: stod", "Quorvel", Buttons::Ok, false},
      {"vector::_M_range_check", "Quorvel", Buttons::Ok, false},
      {"", "Quorvel", Buttons::Ok, false},
      {"Ошибка \xD0", "Quorvel", Buttons::Ok, false},
      {"Задайте правильно данные", "", Buttons::Ok, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(whyNotOwnMessage(c.text, c.title, c.buttons).empty(), c.own) << c.text;
  }
  // Every entry of the list is readable Russian text with a title.
  for (const ProgramMessage& message : programMessages()) {
    EXPECT_TRUE(validUtf8(message.text) && hasCyrillic(message.text) && *message.title)
        << message.text;
  }
}

}  // namespace
}  // namespace quorvel::random_input
