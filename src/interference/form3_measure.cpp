#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "common/numbers.h"
#include "common/shared.h"
#include "interference/form3.h"
#include "platform/app.h"

namespace quorvel::interference {

using common::numberText;
using platform::Buttons;

namespace {

constexpr char kTitle[] = "Quorvel";

// A number as the runtime shows a single-precision value: 7 significant digits.
std::string singleText(double v) {
  char digits[32];
  std::snprintf(digits, sizeof digits, "%.6e", static_cast<double>(static_cast<float>(v)));
  return numberText(std::strtod(digits, nullptr));
}

}  // namespace

void Form3::markWidth(platform::MouseButton button, double x) {
  platform::Picture& picture = Picture7.picture();
  if (!std::isfinite(x)) {
    host().messageBox("Не могу найти эту точку", Buttons::Ok, kTitle);
    return;
  }
  // From the bottom of the picture (y = 0) to its top (y = B).
  const double top = picture.scaleTop();
  picture.line(x, top + picture.scaleHeight(), x, top, platform::rgb(0, 0, 250));
  (button == platform::MouseButton::Left ? Text59 : Text60).setText(numberText(x * 1e6));
}

void Form3::findWidth() {
  const auto Xn = common::parseNumber(Text59.text());
  const auto Xk = common::parseNumber(Text60.text());
  if (!Xn || !Xk) {
    host().messageBox("Поставьте две точки на рисунке № 3", Buttons::Ok, kTitle);
    return;
  }
  Text42.setText(numberText(common::Fix((*Xk - *Xn) * 1e6) / 1e6));
}

void Form3::markTime(platform::MouseButton button, double x, double y) {
  if (!std::isfinite(x) || !std::isfinite(y)) {
    host().messageBox("Не могу найти эту точку", Buttons::Ok, kTitle);
    return;
  }
  Picture10.picture().circle(x, y, 0.2, platform::Color{1});
  if (button == platform::MouseButton::Left) {
    Tn_ = x * halfMT_;
    Text17.setText(singleText(y));
  } else {
    Tk_ = x * halfMT_;
    Text53.setText(singleText(y));
  }
}

void Form3::findSpeed() {
  const auto Yn = common::parseNumber(Text17.text());
  const auto Yk = common::parseNumber(Text53.text());
  const auto lo = common::parseNumber(Text43.text());
  const auto hi = common::parseNumber(Text44.text());
  double Vf = NAN;
  if (Yn && Yk && lo && hi && run_ && Tk_ != Tn_) {
    const double B = run_->start().B;
    const double Vs = run_->parameters().Vs;
    Vf = (*Yk - *Yn) * (*hi - *lo) * B / (Tk_ - Tn_) / Vs;
  }
  if (!std::isfinite(Vf)) {
    host().messageBox("Поставьте две точки на графике", Buttons::Ok, kTitle);
    return;
  }
  Text71.setText(numberText(Vf));
}

void Form3::savePicture() {
  platform::PictureBox* box = interferencePicture(picture_);
  if (!box) return;
  const std::string number = Text21.text();
  if (picture_ == 3 && run_) {
    const model::ComputationParameters& p = run_->parameters();
    platform::Picture& picture = box->picture();
    picture.setForeColor(platform::kActiveTitleBar);
    picture.setCurrentX(-p.N * run_->start().B / 2);
    picture.setCurrentY(run_->start().B);
    picture.print("A1= " + numberText(p.A1e * common::RadToDeg) + "\r\nA2= " +
                  numberText(p.A2e * common::RadToDeg) + "\r\nv1/v0= " + numberText(p.nu1 / p.v01) +
                  "\r\nv2/v0= " + numberText(p.nu2 / p.v01));
    picture.setForeColor(platform::kWindowText);
  }
  const bool plainName = number.find_first_of("/\\") == std::string::npos;
  const auto path = std::filesystem::current_path() / ("Quorvel_3_" + number + ".bmp");
  if (!plainName || !box->picture().save(path.string())) {
    host().messageBox("Ошибка записи в файл", Buttons::Ok, kTitle);
  }
}

}  // namespace quorvel::interference
