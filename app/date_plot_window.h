#pragma once
// The window with the plot of the current unit's dates, opened from the "Geochronology" tab (the tab
// has no room beside its grid). While shown it follows the tab's query, so the unit and the grid's
// current row; hidden, it follows nothing and reads everything again when shown.
#include <QWidget>
#include <memory>

#include "app/date_plot_model.h"

class QChart;
class QChartView;
class QScatterSeries;

namespace engine {
class DataSource;
enum class DataEvent;
}  // namespace engine

class TfmDatePlot : public QWidget {
  Q_OBJECT
 public:
  // results: the geochronology query's source; unit: the source of the current unit.
  TfmDatePlot(QWidget* parent, engine::DataSource& results, engine::DataSource& unit);
  ~TfmDatePlot() override;

  const vorl::DatePlotModel& model() const { return model_; }
  QChart* chart() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  class Follower;
  void resultsEvent(engine::DataEvent event);
  void unitEvent(engine::DataEvent event);
  void readAll();
  void drawAll();
  void drawAxes();
  void drawUnitRange();
  void drawSystem(const vorl::IsotopeSystemDates& system, const QColor& color);
  void drawHighlight();

  vorl::DatePlotModel model_;
  std::unique_ptr<Follower> results_;
  std::unique_ptr<Follower> unit_;
  QChartView* view_;
  QScatterSeries* highlight_ = nullptr;
};
