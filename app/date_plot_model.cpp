#include "app/date_plot_model.h"

#include <algorithm>
#include <variant>

#include "db_engine/dataset.h"

namespace vorl {

namespace {

std::optional<double> numberIn(const engine::Row& row, const engine::Field& field) {
  const engine::Value& value = row[field.index()];
  if (const auto* real = std::get_if<double>(&value)) return *real;
  if (const auto* whole = std::get_if<std::int64_t>(&value)) return static_cast<double>(*whole);
  return std::nullopt;
}

std::string textIn(const engine::Row& row, const engine::Field& field) {
  const auto* text = std::get_if<std::string>(&row[field.index()]);
  return text ? *text : std::string();
}

// Millions of years in one of the unit's AgeUnits; the lexicon gives ages in Ma unless it says otherwise.
double millionsOfYearsIn(const std::string& units) {
  if (units == "Ga") return 1000.0;
  if (units == "ka" || units == "Ka") return 0.001;
  return 1.0;
}

}  // namespace

void DatePlotModel::readResults(const engine::Dataset& results) {
  systems_.clear();
  linkOpen_ = results.active();
  readCurrentRow(results);
  if (!linkOpen_) return;
  const engine::Field& age = results.fieldByName("Age");
  const engine::Field& plus = results.fieldByName("AgePError");
  const engine::Field& minus = results.fieldByName("AgeMError");
  const engine::Field& system = results.fieldByName("IsoSystemName");
  for (std::size_t index = 0; index < results.recordCount(); ++index) {
    const engine::Row& row = results.rowAt(index);
    const std::optional<double> value = numberIn(row, age);
    if (!value) continue;  // a result without an age has no place on the axis
    const std::string name = textIn(row, system);
    auto group = std::find_if(systems_.begin(), systems_.end(), [&](const auto& dates) { return dates.name == name; });
    if (group == systems_.end()) group = systems_.insert(systems_.end(), {name, {}});
    group->dates.push_back(
        {index, 0.0, *value, *value + numberIn(row, plus).value_or(0.0), *value - numberIn(row, minus).value_or(0.0)});
  }
  // One empty place between two systems keeps their bars apart.
  double position = 1.0;
  for (IsotopeSystemDates& group : systems_) {
    for (PlottedDate& date : group.dates) date.position = position++;
    position += 1.0;
  }
}

void DatePlotModel::readCurrentRow(const engine::Dataset& results) {
  currentRow_.reset();
  if (results.active() && !results.isEmpty()) currentRow_ = results.recNo();
}

void DatePlotModel::readUnit(const engine::Dataset& unit) {
  unitRange_.reset();
  unitName_.clear();
  if (!unit.active() || unit.isEmpty()) return;
  unitName_ = unit.fieldByName("Name").asString();
  const engine::Field& minimum = unit.fieldByName("AgeMinimum");
  const engine::Field& maximum = unit.fieldByName("AgeMaximum");
  if (minimum.isNull() && maximum.isNull()) return;
  // One bound alone is the unit's age: a range of no width.
  const double from = minimum.isNull() ? maximum.asFloat() : minimum.asFloat();
  const double to = maximum.isNull() ? minimum.asFloat() : maximum.asFloat();
  const double scale = millionsOfYearsIn(unit.fieldByName("AgeUnits").asString());
  unitRange_ = AgeRange{std::min(from, to) * scale, std::max(from, to) * scale};
}

const PlottedDate* DatePlotModel::highlighted() const {
  if (!currentRow_) return nullptr;
  for (const IsotopeSystemDates& group : systems_) {
    for (const PlottedDate& date : group.dates) {
      if (date.row == *currentRow_) return &date;
    }
  }
  return nullptr;
}

double DatePlotModel::extent() const { return systems_.empty() ? 2.0 : systems_.back().last() + 1.0; }

}  // namespace vorl
