#include "experiment/model/path_report.h"

#include <cmath>
#include <exception>

#include "common/numbers.h"
#include "common/shared.h"

namespace quorvel::experiment::model {

namespace {

using common::Fix;
using common::formatNumber;

const char* const kBeamSplitterLegs[9] = {
    "ii = 10 и jj = 20                                 общий путь до стеклянной поверхности "
    "наклонного полупрозрачного зеркала",
    "  ii = 11  внутри наклонного полупрозрачного зеркала до отражения ___________  jj = 21  "
    "внутри наклонного полупрозрачного зеркала до преломления",
    "  ii = 12  нет ___________________________________________________________  jj = 22  свободно "
    "ввверх до преломления на прозрачной пластине ",
    "  ii = 13  внутри наклонного полупрозрачного зеркала влево до преломления ___   jj = 23  "
    "внутри прозрачной пластины вверх до преломления ",
    "  ii = 14  свободно влево до левого зеркала ________________________________  jj = 24  "
    "свободно ввверх до верхнего зеркала ",
    "  ii = 15  свободно вправо до преломления _________________________________  jj = 25  "
    "свободно вниз до преломления на прозрачной пластине ",
    "  ii = 16  внутри наклонного полупрозрачного зеркала вправо до преломления __   jj = 26  "
    "внутри прозрачной пластины вниз до преломления ",
    "  ii = 17  нет ___________________________________________________________  jj = 27  свободно "
    "вниз до отражения от полупрозрачного зеркала ",
    "  ii = 18  свободно вправо до приемника ___________________________________  jj = 28  "
    "свободно вправо до приемника",
};

const char* const kPrismLegs[9] = {
    "ii = 10 и jj = 20                             общий путь до переднего торца зеркальной "
    "треугольной призмы",
    "  ii = 11  стандартно нет или мимо призмы до экрана или дополнительного зеркала______  jj = "
    "21  если есть цилиндр, то до его левой стеклянной крышки цилиндра",
    "  ii = 12  нет ___________________________________________________________________  jj = 22  "
    "если есть цилиндр, то сразу в двух (левой и правой) стеклянных крышках ",
    "  ii = 13  нет ___________________________________________________________________  jj = 23  "
    "если есть цилиндр, то внутри него ",
    "  ii = 14  от левой грани призмы или дополнительного зеркала до левого зеркала ________ jj = "
    "24 от правой грани призмы или от правой крышки цилиндра до правого зеркала    ",
    "  ii = 15  нет________________________ ___________________________________________  jj = 25  "
    "нет ",
    "  ii = 16  нет ___________________________________________________________________  jj = 26  "
    "нет ",
    "  ii = 17  нет ___________________________________________________________________  jj = 27  "
    "нет ",
    "  ii = 18  от лазера или от левого зеркала (вариант справа) до поверхности экрана _______  jj "
    "= 28  от правого зеркала до поверхности экрана",
};

const char* const kBeamSplitterUnits =
    "Т с, v1(i) МГц, V(i) м/с, а если Real то T=10^6*T= мкс   v1(i)=v1(i)/10^6= ТГц    "
    "V(i)=V(i)/10^6= тыс.км/с   Nv= Nv/10^6 ";

const char* const kPrismUnits =
    "Т в с, v1(i) в МГц, V(i) в м/с, а если Real то T=10^6*T= мкс   v1(i)=v1(i)/10^12= ТГц    "
    "V(i)=V(i)/10^6= тыс.км/с   Nv= Nv/10^6 ";

const char* const kBeamSplitterHead =
    "i           T1(i+10)                   T2(i+20)                     S1(i+10)              "
    "S2(i+20)             v1(i+10)/v01"
    "          v1(i+20)/v02           V1(i+10)               V2(i+20)              P21(i+10)       "
    "  P21(i+20)"
    "           An(i+10)             An(i+20)               Nv(i+10)              Nv(i+20)";

const char* const kPrismHead =
    "i           T1(i+10)                    T2(i+20)                     S1(i+10)              "
    "S2(i+20)             v1(i+10)/v01"
    "         v1(i+20)/v02            V1(i+10)              V2(i+20)              P21(i+10)        "
    " P21(i+20)"
    "           An(i+10)              An(i+20)               Nv(i+10)              Nv(i+20)";

constexpr char kCrLf[] = "\r\n";

// A value that must be finite before it is printed.
double finite(double v) {
  return common::requireFinite(v, "значение отчета");
}

}  // namespace

PathReportInput reportInputOf(const ExperimentState& s) {
  PathReportInput input;
  input.T1 = s.legs.T1;
  input.T2 = s.legs.T2;
  input.S1 = s.legs.S1;
  input.S2 = s.legs.S2;
  input.v = s.legs.v;
  input.V1 = s.legs.V1;
  input.V2 = s.legs.V2;
  input.P21 = s.legs.P21;
  for (std::size_t k = 0; k < input.An.size(); ++k) input.An[k] = s.legs.An[k];
  input.Nv = s.legs.Nv;
  input.X1at18 = s.arrivalX[1];
  input.Y1at18 = s.arrivalY[1];
  input.X2at28 = s.arrivalX[2];
  input.Y2at28 = s.arrivalY[2];
  input.v01 = s.v01;
  input.v02 = s.v02;
  input.real = s.options.realUnits;
  input.cylinder = s.options.cylinder;
  return input;
}

std::string reportHeader(ReportSetup setup, const PathReportInput& input) {
  const bool prism = setup == ReportSetup::Prism;
  std::string text;
  for (const char* line : prism ? kPrismLegs : kBeamSplitterLegs) {
    text += line;
    text += kCrLf;
  }
  text += kCrLf;
  const double first = finite(prism ? input.X1at18 : input.Y1at18);
  const double second = finite(prism ? input.X2at28 : input.Y2at28);
  text += prism ? kPrismUnits : kBeamSplitterUnits;
  text += prism ? "     Xk1=   " : "     Yk1=   ";
  text += formatNumber(Fix(1e9 * first) / 1e9, "0.000000000");
  text += prism ? "    Xk2=    " : "    Yk2=    ";
  text += formatNumber(Fix(1e9 * second) / 1e9, "0.000000000");
  text += kCrLf;
  text += kCrLf;
  text += prism ? kPrismHead : kBeamSplitterHead;
  text += kCrLf;
  return text;
}

std::string reportRow(int i, const PathReportInput& in) {
  const double real = in.real ? 1e6 : 1.0;
  const auto k1 = static_cast<std::size_t>(i + 10);
  const auto k2 = static_cast<std::size_t>(i + 20);
  const std::string blanks7(7, ' ');
  const std::string blanks8(8, ' ');
  std::string row = std::to_string(i);
  auto add = [&row](const std::string& blanks, double value, const char* pattern) {
    row += blanks;
    row += formatNumber(finite(value), pattern);
  };
  add(blanks7, Fix(1e6 * real * 1e6 * (in.T1[k1] - in.T1[k1 - 1])) / 1e6 / 1e6, "0.000000000000");
  add(blanks8, Fix(1e6 * real * 1e6 * (in.T2[k2] - in.T2[k2 - 1])) / 1e6 / 1e6, "0.000000000000");
  add(blanks8, Fix((in.S1[k1] - in.S1[k1 - 1]) * 1e6) / 1e6, "000.000000");
  add(blanks7, Fix((in.S2[k2] - in.S2[k2 - 1]) * 1e6) / 1e6, "000.000000");
  add(blanks8, in.v[k1] / in.v01, "0.000000000");
  add(blanks7, in.v[k2] / in.v02, "0.000000000");
  add(blanks8, Fix(1e6 * in.V1[k1]) / 1e6 / real, "000.0000000");
  add(blanks7, Fix(1e6 * in.V2[k2]) / 1e6 / real, "000.0000000");
  add(blanks8, in.P21[k1], "0.0000000");
  add(blanks7, in.P21[k2], "0.0000000");
  add(blanks8, in.An[k1] * 180.0 / common::Pi, "000.000000");
  add(blanks7, in.An[k2] * 180.0 / common::Pi, "000.000000");
  add(blanks8, Fix(1e6 * in.Nv[k1]) / 1e6, "0.000000");
  add(blanks7, Fix(1e6 * in.Nv[k2]) / 1e6, "0.000000");
  return row;
}

bool reportPrintsRow(ReportSetup setup, int i, const PathReportInput& input) {
  if (setup == ReportSetup::BeamSplitter) return true;
  if (i >= 5 && i <= 7) return false;
  return !((i == 2 || i == 3) && !input.cylinder);
}

}  // namespace quorvel::experiment::model
