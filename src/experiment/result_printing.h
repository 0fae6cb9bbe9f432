#pragma once

#include "experiment/model/michelson_theory.h"
#include "experiment/model/path_report.h"
#include "platform/host.h"
#include "platform/picture.h"

// The model's results printed on the window's pictures.
namespace quorvel::experiment {

// Prints the report on the report window's picture (scale (0, 10.5)-(26, 0)). A fault ends
// it with the message "Ошибка в отчете " and false; what was printed stays.
bool printPathReport(model::ReportSetup setup, const model::PathReportInput& input,
                     platform::Picture& picture, platform::Host& host);

// Clears the text area of the scheme picture and prints the theory and the measured lines.
// Throws common::ArithmeticError on a fault; what was printed before it stays.
model::ArmTimes printMichelsonComparison(platform::Picture& picture,
                                         const model::MichelsonInput& input);

}  // namespace quorvel::experiment
