// What the experiment window saves of its last run: the leg table as the report prints it,
// the result fields as they are shown, the run's own numbers and, for the beam-splitter
// setup, the comparison with Michelson's theory.
#include <string>
#include <tuple>
#include <utility>

#include "common/numbers.h"
#include "common/shared.h"
#include "experiment/form4.h"
#include "experiment/model/engine.h"
#include "experiment/model/michelson_theory.h"
#include "experiment/model/path_report.h"

namespace quorvel::experiment {

namespace {

using platform::ResultCell;
using platform::ResultTable;

ResultTable legTable(const model::ExperimentState& s) {
  ResultTable table{"Таблица путей лучей",
                    {"луч", "участок", "T, с", "S, м", "V, м/с", "направление, град",
                     "частота посланная, Гц", "частота принятая, Гц", "n", "периодов", "пройден"},
                    {}};
  const model::PathReportInput input = model::reportInputOf(s);
  const auto setup = s.options.prism ? model::ReportSetup::Prism : model::ReportSetup::BeamSplitter;
  const auto& legs = s.legs;
  for (int ray = 1; ray <= 2; ++ray) {
    for (int i = 0; i <= 9; ++i) {
      if (!model::reportPrintsRow(setup, i, input)) continue;
      const auto k = static_cast<std::size_t>(ray * 10 + i);
      const bool first = ray == 1;
      // A leg the ray never travelled has no values (the arrival rows 19 and 29 hold the
      // report's running totals, not a leg's).
      auto value = [&](double v) { return legs.done[k] ? ResultCell(v) : ResultCell(std::monostate{}); };
      table.rows.push_back({static_cast<long long>(ray), static_cast<long long>(k),
                            value(first ? legs.T1[k] : legs.T2[k]),
                            value(first ? legs.S1[k] : legs.S2[k]),
                            value(first ? legs.V1[k] : legs.V2[k]),
                            value(legs.An[k] * common::RadToDeg), value(legs.v[k]),
                            value(legs.received[k]), value(legs.P21[k]), value(legs.Nv[k]),
                            static_cast<long long>(legs.done[k] ? 1 : 0)});
    }
  }
  return table;
}

}  // namespace

std::optional<platform::Results> Form4::results() const {
  const model::ExperimentState& s = state_;
  if (!s.started) return std::nullopt;
  platform::Results results;
  results.title = std::string("Quorvel: вычислительный эксперимент, установка ") +
                  (s.options.prism ? "«2- Кестр»" : "«1- Майкельсон»") + ", параметры " +
                  (s.options.realUnits ? "«Real»" : "«Test»");
  results.tables.push_back(legTable(s));

  ResultTable fields{"Поля результата", {"поле", "величина", "значение"}, {}};
  const std::pair<const platform::TextBox*, const char*> shown[] = {
      {&Text17, "T, с"},
      {&Text20, "v01, МГц"},
      {&Text63, "v02, МГц"},
      {&Text13, "X1, м"},
      {&Text15, "Y1, м"},
      {&Text14, "X2, м"},
      {&Text16, "Y2, м"},
      {&Text23, "VX1, м/с"},
      {&Text25, "VY1, м/с"},
      {&Text24, "VX2, м/с"},
      {&Text26, "VY2, м/с"},
      {&Text47, "ii"},
      {&Text48, "jj"},
      {&Text31, "T1, с"},
      {&Text32, "T2, с"},
      {&Text33, "v1/v01"},
      {&Text34, "v2/v02"},
      {&Text35, "S1, м"},
      {&Text36, "S2, м"},
      {&Text37, "V1, м/с"},
      {&Text38, "V2, м/с"},
      {&Text51, "N1"},
      {&Text52, "N2"},
      {&Text61, "A1, град"},
      {&Text62, "A2, град"},
      {&Text71, "v1/v01 на экране"},
      {&Text72, "v2/v01 на экране"},
  };
  for (const auto& [field, quantity] : shown) {
    fields.rows.push_back({field->name(), std::string(quantity), field->text()});
  }
  results.tables.push_back(std::move(fields));

  ResultTable run{"Величины прогона", {"величина", "значение", "единица"}, {}};
  const std::tuple<const char*, double, const char*> quantities[] = {
      {"T", s.T, "с"},
      {"T1", s.T1, "с"},
      {"T2", s.T2, "с"},
      {"S1", s.S1, "м"},
      {"S2", s.S2, "м"},
      {"N1", s.N1, ""},
      {"N2", s.N2, ""},
      {"v01", s.v01, "Гц"},
      {"v02", s.v02, "Гц"},
      {"Vs", s.c, "м/с"},
      {"V", s.V, "м/с"},
      {"AlfaV", s.AlfaV * common::RadToDeg, "град"},
      {"X прихода луча 1", s.arrivalX[1], "м"},
      {"Y прихода луча 1", s.arrivalY[1], "м"},
      {"X прихода луча 2", s.arrivalX[2], "м"},
      {"Y прихода луча 2", s.arrivalY[2], "м"},
  };
  for (const auto& [name, value, unit] : quantities) {
    run.rows.push_back({std::string(name), value, std::string(unit)});
  }
  results.tables.push_back(std::move(run));

  if (!s.options.prism) {
    const model::MichelsonInput input =
        model::michelsonInputOf(model::resultOf(s, common::shared().X, common::shared().Y));
    ResultTable michelson{
        "Сравнение с теорией Майкельсона",
        {"расчет", "T1, с", "T2, с", "T1-T2, с", "N1(t)", "N2(t)", "N1(t) - N2(t)"},
        {}};
    auto row = [&michelson](const char* name, const model::ArmTimes& t) {
      michelson.rows.push_back(
          {std::string(name), t.T1, t.T2, t.T1 - t.T2, t.N1, t.N2, t.N1 - t.N2});
    };
    try {
      row("по теории Майкельсона", model::michelsonTimes(input));
      row(input.comparative ? "эксперимент для сравнения с расчетом Майкельсона"
                            : "эксперимент для всего пути",
          model::measuredTimes(input));
      results.tables.push_back(std::move(michelson));
    } catch (const common::ArithmeticError&) {
      // A run that set no light speed has nothing to compare.
    }
  }
  return results;
}

}  // namespace quorvel::experiment
