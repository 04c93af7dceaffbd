#pragma once
// What the plot of a unit's dates shows: one point per result of the geochronology query at its age
// with its 95% error bars, grouped by isotope system, the current row of the grid highlighted, and
// the unit's own age range behind them. Kept apart from the chart so that it can be checked without
// painting.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace engine {
class Dataset;
}

namespace vorl {

struct PlottedDate {
  std::size_t row;  // the result's row in the query (and the grid)
  double position;  // along the horizontal axis: systems side by side, grid order within each
  double age;       // Age
  double upper;     // Age + AgePError
  double lower;     // Age - AgeMError
};

struct IsotopeSystemDates {
  std::string name;  // IsoSystemName
  std::vector<PlottedDate> dates;
  double first() const { return dates.front().position; }
  double last() const { return dates.back().position; }
};

struct AgeRange {
  double minimum;  // Ma
  double maximum;
};

class DatePlotModel {
 public:
  // Every row of the results, grouped by system in order of first appearance; an inactive dataset
  // (the link closed) gives none. Reads the current row too.
  void readResults(const engine::Dataset& results);
  void readCurrentRow(const engine::Dataset& results);
  // AgeMinimum to AgeMaximum of the unit's current row, converted from its AgeUnits to Ma.
  void readUnit(const engine::Dataset& unit);

  bool linkOpen() const { return linkOpen_; }
  const std::vector<IsotopeSystemDates>& systems() const { return systems_; }
  const PlottedDate* highlighted() const;  // the date of the current row; nullptr when none
  const std::optional<AgeRange>& unitRange() const { return unitRange_; }
  const std::string& unitName() const { return unitName_; }
  // The horizontal extent that holds every position with a margin of one on each side.
  double extent() const;

 private:
  bool linkOpen_ = false;
  std::vector<IsotopeSystemDates> systems_;
  std::optional<std::size_t> currentRow_;
  std::optional<AgeRange> unitRange_;
  std::string unitName_;
};

}  // namespace vorl
