#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "interference/model/interference_run.h"
#include "interference/model/start_values.h"
#include "platform/form.h"
#include "platform/frame_pacer.h"
#include "platform/picture.h"

namespace quorvel::interference {

// The values the interference window keeps between its buttons: those of the last
// screen-frame transform (SI units, angles in radians).
struct TransformValues {
  double Vs = 0, v01 = 0, v02 = 0, nu1 = 0, nu2 = 0;
  double V1e = 0, V2e = 0, Ve1 = 0, Ve2 = 0, X1e = 0, X2e = 0;
  double N10 = 0, N20 = 0, T1 = 0, T2 = 0, dT = 0, A1e = 0, A2e = 0;
};

// The interference window: two rays in the absolute frame, their transform into the frame
// of the moving screen, the computation of the picture they make on it, and the
// measurement of the fringe width and speed.
class Form3 : public platform::Form {
 public:
  explicit Form3(platform::App& app);
  ~Form3() override;

  void load() override;
  void activate() override;
  nlohmann::json data() const override;

  // The rays in the absolute frame.
  platform::TextBox Text24, Text25, Text63, Text67, Text22, Text23, Text1, Text2, Text3, Text4;
  platform::TextBox Text5, Text6, Text9, Text10, Text64, Text65, Text7, Text8, Text26, Text27;
  platform::CheckBox Check1;
  platform::TextBox Text28, Text29, Text45, Text39;
  // The rays in the screen frame.
  platform::TextBox Text11, Text12, Text15, Text16, Text54, Text55, Text36, Text37, Text79;
  platform::TextBox Text20, Text34, Text18;
  platform::CommandButton Command3, Command16;
  // The computation.
  platform::CommandButton Command1, Command2, Command4;
  platform::TextBox Text40, Text33, Text69, Text62, Text68, Text56, Text41, Text32;
  platform::CheckBox Check6, Check5, Check4, Check3;
  platform::TextBox Text30, Text70;
  platform::Frame Frame4;
  platform::OptionButton Option10, Option9;
  platform::CheckBox Check7;
  platform::Frame Frame1;
  platform::OptionButton Option1, Option2, Option3, Option4, Option5;
  platform::CheckBox Check8;
  platform::TextBox Text51, Text46, Text50;
  // The pace of the computation, steps a second (0: as fast as it goes).
  platform::TextBox Text31;
  // Its value when the window opens: the default computation of 2 × 20 000 steps is then
  // watched for about four seconds.
  static constexpr int kDefaultStepsPerSecond = 10000;
  platform::CheckBox Check2;
  platform::TextBox Text19, Text73, Text74, Text57, Text75, Text76, Text38, Text47, Text48;
  platform::TextBox Text80, Text35, Text72, Text77, Text14, Text61, Text49, Text43, Text44;
  platform::TextBox Text58, Text82, Text13;
  platform::CheckBox Check14, Check9;
  // The pictures in their containers, and their scroll bars.
  platform::PictureBox Picture2, Picture3, Picture4, Picture8, Picture11;
  platform::PictureBox Picture5, Picture6, Picture7, Picture9, Picture10;
  platform::ScrollBar HScroll1, HScroll2, HScroll3, HScroll4, HScroll5;
  // The measurements.
  platform::TextBox Text59, Text60;
  platform::CommandButton Command9;
  platform::TextBox Text42, Text17, Text53;
  platform::CommandButton Command8;
  platform::TextBox Text71;
  platform::CommandButton Command6;
  platform::TextBox Text21;

  const TransformValues& values() const { return values_; }
  // The two time marks of the graph, s.
  double Tn() const { return Tn_; }
  double Tk() const { return Tk_; }
  // The last fringe centre found (a point index of the screen).
  double ic() const { return ic_; }
  // The computation of the last start (null before one).
  const model::InterferenceRun* run() const { return run_.get(); }

 private:
  class Observer;
  platform::Label& addCaption(const platform::Control& field, const std::string& text, int left,
                              int top, int width);
  void layout();
  void scrollPicture(platform::PictureBox& picture, const platform::ScrollBar& bar);

  // The transform.
  void transform();
  // The computation.
  void start();
  void stop();
  void goOn();
  void execute(bool continuation);
  // The parameters of a start and the number of its interference picture, or nothing when
  // a field was refused (with its message).
  std::optional<model::ComputationParameters> readParameters(int& picture);
  platform::PictureBox* interferencePicture(int number);
  void drawGraphGrid();
  void drawFringeMarks(platform::Picture& picture, int N, double B);
  void paint(const model::StepReport& report);
  void showStep(const model::StepReport& report);
  void drawGraphPoint(const model::GraphPoint& point);
  // The measurements.
  void markWidth(platform::MouseButton button, double x);
  void findWidth();
  void markTime(platform::MouseButton button, double x, double y);
  void findSpeed();
  void savePicture();

  std::vector<std::unique_ptr<platform::Label>> captions_;
  TransformValues values_;
  double Tn_ = 1, Tk_ = 2;
  double ic_ = 0;
  std::unique_ptr<model::InterferenceRun> run_;
  int picture_ = 3;       // P of the last start
  double halfMT_ = 5e-3;  // MT/2 of the last start, s
  bool running_ = false;
  // The pace of the computation's steps (Text31), and the wait between them.
  bool readStepsPerSecond();
  int stepsPerSecond_ = kDefaultStepsPerSecond;
  platform::FramePacer pacer_;
  std::chrono::steady_clock::time_point lastPaint_{};
  std::optional<double> meanFringePosition_;
  int lastCircleColumn_ = -1, lastCircleRow_ = -1;
  std::vector<int> columnGreen_;  // the green each column of picture P was drawn with
  std::unique_ptr<platform::Picture> fieldMarks_;  // Picture9's fringe marks of this start
};

}  // namespace quorvel::interference
