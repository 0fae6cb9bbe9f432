#include "experiment/model/path_report.h"

#include <gtest/gtest.h>

#include "common/shared.h"
#include "experiment/result_printing.h"
#include "platform/headless/headless_host.h"

namespace quorvel::experiment::model {
namespace {

using quorvel::experiment::printMichelsonComparison;
using quorvel::experiment::printPathReport;

// Leg tables whose row 0 exercises every column: truncation, rounding, padding, signs.
PathReportInput knownRun() {
  PathReportInput in;
  in.T1[10] = 1.2345678901234567e-5;
  in.T2[20] = 2.5e-6;
  in.S1[10] = 0.3703703703;
  in.S2[20] = 0.075;
  in.v01 = in.v02 = 1000;
  in.v[10] = 1000.0015;
  in.v[20] = 999.99999999;
  in.V1[10] = 29991.0029;
  in.V2[20] = 30000;
  in.P21[10] = 1.0003;
  in.P21[20] = 1.5;
  in.An[10] = common::Pi / 2;
  in.An[20] = -common::Pi;
  in.Nv[10] = 12.3456789;
  in.Nv[20] = 0.0000009;
  in.Y1at18 = 0.1234567899;
  in.Y2at28 = -0.0000000015;
  in.X1at18 = 0.5;
  in.X2at28 = -0.25;
  return in;
}

TEST(PathReportTest, RowOfKnownRunCharacterForCharacter) {
  const std::string sp7(7, ' '), sp8(8, ' ');
  PathReportInput in = knownRun();
  EXPECT_EQ(reportRow(0, in), "0" + sp7 + "0,000012345678" + sp8 + "0,000002500000" + sp8 +
                                  "000,370370" + sp7 + "000,075000" + sp8 + "1,000001500" + sp7 +
                                  "1,000000000" + sp8 + "29991,0029000" + sp7 + "30000,0000000" +
                                  sp8 + "1,0003000" + sp7 + "1,5000000" + sp8 + "090,000000" + sp7 +
                                  "-180,000000" + sp8 + "12,345678" + sp7 + "0,000000");
  // "Real": times in microseconds, speeds in thousands of km/s; the rest is the same.
  in.real = true;
  EXPECT_EQ(reportRow(0, in), "0" + sp7 + "12,345678901234" + sp8 + "2,500000000000" + sp8 +
                                  "000,370370" + sp7 + "000,075000" + sp8 + "1,000001500" + sp7 +
                                  "1,000000000" + sp8 + "000,0299910" + sp7 + "000,0300000" + sp8 +
                                  "1,0003000" + sp7 + "1,5000000" + sp8 + "090,000000" + sp7 +
                                  "-180,000000" + sp8 + "12,345678" + sp7 + "0,000000");
  // A leg not reached prints the negative of the time before it; an unused leg (its end
  // time equal to the one before) prints zero time and length.
  EXPECT_EQ(reportRow(1, in).substr(0, 32), "1" + sp7 + "-12,345678901234" + sp8);
  in.T1[11] = in.T1[10];
  in.S1[11] = in.S1[10];
  in.T2[21] = in.T2[20];
  in.S2[21] = in.S2[20];
  EXPECT_EQ(reportRow(1, in).rfind(
                "1" + sp7 + "0,000000000000" + sp8 + "0,000000000000" + sp8 + "000,000000", 0),
            0u);
}

TEST(PathReportTest, HeadersOfBothSetups) {
  PathReportInput in = knownRun();
  const std::string beamSplitter = reportHeader(ReportSetup::BeamSplitter, in);
  EXPECT_EQ(beamSplitter.rfind("ii = 10 и jj = 20                                 общий путь до "
                               "стеклянной поверхности наклонного полупрозрачного зеркала\r\n",
                               0),
            0u);
  EXPECT_NE(beamSplitter.find("  ii = 18  свободно вправо до приемника "
                              "___________________________________  jj = 28  свободно вправо до "
                              "приемника\r\n\r\nТ с, v1(i) МГц, V(i) м/с, а если Real то "
                              "T=10^6*T= мкс   v1(i)=v1(i)/10^6= ТГц    V(i)=V(i)/10^6= "
                              "тыс.км/с   Nv= Nv/10^6      Yk1=   0,123456789    Yk2=    "
                              "-0,000000001\r\n\r\ni           T1(i+10)                   "
                              "T2(i+20)  "),
            std::string::npos);
  const std::string end = "Nv(i+10)              Nv(i+20)\r\n";
  EXPECT_EQ(beamSplitter.substr(beamSplitter.size() - end.size()), end);
  const std::string prism = reportHeader(ReportSetup::Prism, in);
  EXPECT_NE(prism.find("Nv= Nv/10^6      Xk1=   0,500000000    Xk2=    -0,250000000\r\n\r\n"),
            std::string::npos);
  EXPECT_NE(prism.find("  ii = 15  нет________________________ "), std::string::npos);
  // Nine leg lines, an empty line, the units line, an empty line, the column head.
  std::size_t lines = 0;
  for (std::size_t at = prism.find("\r\n"); at != std::string::npos;
       at = prism.find("\r\n", at + 2)) {
    ++lines;
  }
  EXPECT_EQ(lines, 13u);
}

TEST(PathReportTest, RowsPrintedBySetup) {
  PathReportInput in;
  const std::vector<int> all = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  auto printed = [&](ReportSetup setup) {
    std::vector<int> rows;
    for (int i = 0; i <= 9; ++i) {
      if (reportPrintsRow(setup, i, in)) rows.push_back(i);
    }
    return rows;
  };
  EXPECT_EQ(printed(ReportSetup::BeamSplitter), all);
  EXPECT_EQ(printed(ReportSetup::Prism), (std::vector<int>{0, 1, 4, 8, 9}));
  in.cylinder = true;
  EXPECT_EQ(printed(ReportSetup::Prism), (std::vector<int>{0, 1, 2, 3, 4, 8, 9}));
}

TEST(PathReportTest, PrintsOnPictureAndStopsAtFault) {
  platform::HeadlessHost host;
  platform::Picture picture(1000, 700);
  picture.scale(0, 10.5, 26, 0);
  PathReportInput in = knownRun();
  ASSERT_TRUE(printPathReport(ReportSetup::BeamSplitter, in, picture, host));
  EXPECT_TRUE(host.messages().empty());
  // Rows 3 to 5 in the title-bar colour, the others in black.
  auto rowHas = [&picture](double y, platform::Rgb colour) {
    const int top = static_cast<int>(picture.toPixelY(y));
    for (int row = top; row < top + 12; ++row) {
      for (int column = 0; column < 400; ++column) {
        if (picture.pixel(column, row) == colour) return true;
      }
    }
    return false;
  };
  const platform::Rgb titleBar = platform::resolve(platform::kActiveTitleBar);
  EXPECT_TRUE(rowHas(5 - 4 / 2.0, titleBar));
  EXPECT_FALSE(rowHas(5 - 7 / 2.0, titleBar));
  EXPECT_TRUE(rowHas(5 - 7 / 2.0, {0, 0, 0}));

  // No initial frequency: the ratio is not finite, the report ends with its message, and
  // the header stays printed.
  platform::Picture empty(1000, 700);
  empty.scale(0, 10.5, 26, 0);
  in.v01 = 0;
  EXPECT_FALSE(printPathReport(ReportSetup::BeamSplitter, in, empty, host));
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(host.messages()[0].text, "Ошибка в отчете ");
  EXPECT_EQ(host.messages()[0].title, "Quorvel");
  auto inkBetween = [&empty](double top, double bottom) {
    for (int row = static_cast<int>(empty.toPixelY(top)); row < empty.toPixelY(bottom); ++row) {
      for (int column = 0; column < 1000; ++column) {
        if (empty.pixel(column, row) != platform::Rgb{255, 255, 255}) return true;
      }
    }
    return false;
  };
  EXPECT_TRUE(inkBetween(10.5, 9));
  EXPECT_FALSE(inkBetween(5, 0));
}

}  // namespace
}  // namespace quorvel::experiment::model
