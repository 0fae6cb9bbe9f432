#pragma once

#include <nlohmann/json.hpp>
#include <optional>

#include "astro/ether_wind.h"
#include "platform/form.h"

namespace quorvel::app {

// The main window: program start, navigation, the date timer, and the Earth's position.
class Form1 : public platform::Form {
 public:
  explicit Form1(platform::App& app);

  void load() override;
  void activate() override;
  // The moment shown and the values behind the fields (the CLI dump and the tests).
  nlohmann::json data() const override;
  // The moment, place and ephemeris of the date fields, for a window that computes the
  // apparatus velocity itself (the ether at rest with the Sun); nothing, after the date's
  // message, when the fields do not read. Nothing on the window changes.
  std::optional<astro::EtherWindQuery> etherWindQuery();

  // Navigation and the date timer.
  platform::CommandButton Command1;
  platform::CommandButton Command9;
  platform::CommandButton Command18;
  platform::CommandButton Command2;
  platform::CommandButton Command16;
  platform::CommandButton Command10;
  platform::CommandButton Command8;
  platform::CommandButton Command3;
  platform::TextBox Text20;
  platform::Timer Timer1;

  // Date, time and place.
  platform::Label Label2;
  platform::TextBox Text2;
  platform::Label Label3;
  platform::TextBox Text3;
  platform::Label Label5;
  platform::TextBox Text5;
  platform::Label Label6;
  platform::TextBox Text6;
  platform::Label Label7;
  platform::TextBox Text7;
  platform::Label Label4;
  platform::TextBox Text4;
  platform::CheckBox Check1;
  platform::TextBox Text8;

  // The Earth's position and the apparatus velocity.
  platform::Label Label9;
  platform::TextBox Text9;
  platform::Label Label10;
  platform::TextBox Text10;
  platform::Label Label18;
  platform::TextBox Text18;
  platform::Label Label19;
  platform::TextBox Text19;
  platform::Label Label12;
  platform::TextBox Text12;
  platform::Label Label22;
  platform::TextBox Text22;
  platform::Label Label30;
  platform::TextBox Text30;
  platform::Label Label32;
  platform::TextBox Text32;
  platform::Label Label29;
  platform::TextBox Text29;
  platform::Label Label31;
  platform::TextBox Text31;
  platform::Label Label41;  // column captions: orbital + rotation = total
  platform::Label Label42;
  platform::Label Label43;
  platform::Label Label13;
  platform::TextBox Text13;
  platform::TextBox Text23;
  platform::TextBox Text33;
  platform::Label Label14;
  platform::TextBox Text14;
  platform::TextBox Text24;
  platform::TextBox Text34;
  platform::Label Label15;
  platform::TextBox Text15;
  platform::TextBox Text25;
  platform::TextBox Text35;

  // The ephemeris, the ether's frame and the ether wind at the place.
  platform::CheckBox Check3;
  platform::Frame Frame1;
  platform::OptionButton Option1;
  platform::OptionButton Option2;
  platform::Label Label44;  // caption of the wind's row
  platform::Label Label36;
  platform::TextBox Text36;
  platform::Label Label37;
  platform::TextBox Text37;
  platform::Label Label38;
  platform::TextBox Text38;

  // Drawing and motion.
  platform::CommandButton Command4;
  platform::CommandButton Command11;
  platform::TextBox Text16;
  platform::Label Label16;
  platform::CommandButton Command12;
  platform::CommandButton Command13;
  platform::CommandButton Command5;
  platform::CommandButton Command6;
  platform::TextBox Text21;
  platform::CheckBox Check2;
  platform::PictureBox Picture1;

 private:
  void layout();
  void setTimerInterval();
  void timerTick();
  void openWindow(const char* name);
  void exitProgram();
  void clearPicture();

  // Reads the date, time, zone and place fields into JDut, writes Text4 and sets
  // JDcur = JDut. False (after its message) when the fields do not read; the timer's
  // reading shows that message once until the fields read again.
  bool readDateFields(bool byTimer = false);
  // Text18 and Text19: the UT date and time of JDut.
  void showUtDateTime();
  // Computes the moment JDut for the place, writes the fields and the shared arrays and
  // draws the position. Throws common::ArithmeticError when a result is not finite.
  void computeAndDraw();
  void showPosition();
  // Check3, Option1, Option2: the choice shows at once on the moment already shown.
  void choiceChanged();
  // The tooltips of the Earth's fields name the ephemeris behind them.
  void showEphemerisToolTips(bool outsideCenturies);
  // The motion: JDut advances by the step of Text16 (hours) until stopped.
  void runMotion();
  void motionLoop();
  void continueMotion();
  void savePicture();

  // The moment: Julian dates (days), ET − UT (s), sidereal times (hours).
  double JDut = 0.0;
  double JDcur = 0.0;
  double JDlast = 0.0;
  double DeltaT = 0.0;
  double GMST = 0.0;
  double LMST = 0.0;
  // The zone (hours east) and the place (degrees east, degrees north) last read.
  double TimeZone = 0.0;
  double LonObs = 0.0;
  double LatObs = 0.0;
  // The Earth's orbital speed and the rotation speed of the place, m/s. They are kept
  // here: the shared table's elements 31 and 32 hold the angular rates.
  double Vgeo = 0.0;
  double Vobs = 0.0;
  // The apparatus velocity against the ether in the horizon of the place, m/s.
  double WindEast = 0.0;
  double WindNorth = 0.0;
  double WindUp = 0.0;

  bool dateRead_ = false;         // JDut has been read from the fields at least once
  bool timerFaultShown_ = false;  // the timer's reading has reported the fields once
  bool moving_ = false;           // the motion loop runs
  bool shown_ = false;            // a position has been shown
};

}  // namespace quorvel::app
