#include "app/date_plot_window.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <array>
#include <functional>
#include <limits>

#include "db_engine/data_source.h"
#include "db_engine/dataset.h"

namespace {

// Colours told apart at a glance, one per isotope system in the order the grid lists them.
constexpr std::array<QRgb, 8> kSystemColors = {0x1f77b4, 0xd62728, 0x2ca02c, 0x9467bd,
                                               0xff7f0e, 0x8c564b, 0xe377c2, 0x17becf};
constexpr double kCapHalfWidth = 0.15;  // of the bars' end caps, in places of the horizontal axis

// Ages the vertical axis must show: every bar and the unit's range, with a margin.
std::pair<double, double> ageSpan(const vorl::DatePlotModel& model) {
  double low = std::numeric_limits<double>::max();
  double high = std::numeric_limits<double>::lowest();
  for (const auto& system : model.systems()) {
    for (const auto& date : system.dates) {
      low = std::min(low, date.lower);
      high = std::max(high, date.upper);
    }
  }
  if (const auto& range = model.unitRange()) {
    low = std::min(low, range->minimum);
    high = std::max(high, range->maximum);
  }
  if (low > high) return {0.0, 1.0};
  const double margin = std::max((high - low) * 0.08, 1.0);
  return {low - margin, high + margin};
}

}  // namespace

class TfmDatePlot::Follower : public engine::SourceFollower {
 public:
  Follower(engine::DataSource& source, std::function<void(engine::DataEvent)> react) : react_(std::move(react)) {
    follow(&source);
  }
  void dataEvent(engine::DataEvent event, const engine::Field*) override { react_(event); }

 private:
  std::function<void(engine::DataEvent)> react_;
};

TfmDatePlot::TfmDatePlot(QWidget* parent, engine::DataSource& results, engine::DataSource& unit)
    : QWidget(parent, Qt::Window),
      results_(std::make_unique<Follower>(results, [this](engine::DataEvent event) { resultsEvent(event); })),
      unit_(std::make_unique<Follower>(unit, [this](engine::DataEvent event) { unitEvent(event); })),
      view_(new QChartView(new QChart, this)) {
  setObjectName("fmDatePlot");
  setWindowTitle("Geochronology plot");
  resize(800, 480);
  view_->setObjectName("DatePlotView");
  view_->setRenderHint(QPainter::Antialiasing);
  // A column of entries on the right holds any number of systems; a row below would cut their names.
  chart()->legend()->setAlignment(Qt::AlignRight);
}

TfmDatePlot::~TfmDatePlot() = default;

QChart* TfmDatePlot::chart() const { return view_->chart(); }

void TfmDatePlot::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  readAll();
}

void TfmDatePlot::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  view_->setGeometry(rect());
}

void TfmDatePlot::resultsEvent(engine::DataEvent event) {
  if (!isVisible()) return;
  if (event == engine::DataEvent::Scrolled && results_->dataset()) {
    model_.readCurrentRow(*results_->dataset());
    drawHighlight();
  } else if (event == engine::DataEvent::ActiveChanged || event == engine::DataEvent::DataSetChanged) {
    readAll();
  }
}

void TfmDatePlot::unitEvent(engine::DataEvent event) {
  // A move of the unit also runs the query again, which redraws; here only the unit's own fields.
  if (isVisible() && event == engine::DataEvent::RecordChanged) readAll();
}

void TfmDatePlot::readAll() {
  if (const engine::Dataset* results = results_->dataset()) model_.readResults(*results);
  if (const engine::Dataset* unit = unit_->dataset()) model_.readUnit(*unit);
  drawAll();
}

void TfmDatePlot::drawAll() {
  QChart* plot = chart();
  plot->removeAllSeries();
  for (QAbstractAxis* axis : plot->axes()) {
    plot->removeAxis(axis);
    delete axis;
  }
  highlight_ = nullptr;
  if (!model_.linkOpen()) {
    plot->setTitle("Press Open on the Geochronology tab to plot the unit's dates");
    return;
  }
  plot->setTitle(model_.systems().empty() ? QString::fromStdString(model_.unitName() + ": no dating results")
                                          : QString::fromStdString(model_.unitName()));
  drawAxes();
  drawUnitRange();
  for (std::size_t index = 0; index < model_.systems().size(); ++index) {
    drawSystem(model_.systems()[index], QColor(kSystemColors[index % kSystemColors.size()]));
  }
  highlight_ = new QScatterSeries;
  highlight_->setName("Current row");
  highlight_->setMarkerSize(18);
  highlight_->setColor(Qt::transparent);
  highlight_->setBorderColor(Qt::black);
  highlight_->setPen(QPen(Qt::black, 2.5));
  plot->addSeries(highlight_);
  for (QAbstractAxis* axis : plot->axes()) highlight_->attachAxis(axis);
  drawHighlight();
}

void TfmDatePlot::drawAxes() {
  auto* places = new QCategoryAxis;
  places->setRange(0.0, model_.extent());
  // The grid lines fall in the gaps between systems; the legend names them, since a system of one
  // or two dates has too little room under it for its name.
  places->setLabelsVisible(false);
  places->setStartValue(0.0);
  for (const auto& system : model_.systems()) places->append(QString::fromStdString(system.name), system.last() + 1.0);
  auto* ages = new QValueAxis;
  ages->setTitleText("Age (Ma)");
  ages->setLabelFormat("%.0f");
  const auto [low, high] = ageSpan(model_);
  ages->setRange(low, high);
  ages->applyNiceNumbers();
  chart()->addAxis(places, Qt::AlignBottom);
  chart()->addAxis(ages, Qt::AlignLeft);
}

void TfmDatePlot::drawUnitRange() {
  const auto& range = model_.unitRange();
  if (!range) return;
  auto* upper = new QLineSeries;
  auto* lower = new QLineSeries;
  upper->append({{0.0, range->maximum}, {model_.extent(), range->maximum}});
  lower->append({{0.0, range->minimum}, {model_.extent(), range->minimum}});
  auto* band = new QAreaSeries(upper, lower);
  band->setName(QString("Age of the unit (%1 to %2 Ma)").arg(range->minimum).arg(range->maximum));
  band->setColor(QColor(0xf2, 0xc1, 0x4e, 90));
  band->setBorderColor(QColor(0xc8, 0x96, 0x20));
  chart()->addSeries(band);
  for (QAbstractAxis* axis : chart()->axes()) band->attachAxis(axis);
}

void TfmDatePlot::drawSystem(const vorl::IsotopeSystemDates& system, const QColor& color) {
  // Each bar an I of one line series: the +95% cap, the bar, the -95% cap.
  for (const auto& date : system.dates) {
    auto* bar = new QLineSeries;
    const double left = date.position - kCapHalfWidth;
    const double right = date.position + kCapHalfWidth;
    bar->append({{left, date.upper}, {right, date.upper}, {date.position, date.upper}, {date.position, date.lower},
                 {left, date.lower}, {right, date.lower}});
    bar->setPen(QPen(color, 1.5));
    chart()->addSeries(bar);
    for (QAbstractAxis* axis : chart()->axes()) bar->attachAxis(axis);
    for (QLegendMarker* marker : chart()->legend()->markers(bar)) marker->setVisible(false);
  }
  auto* points = new QScatterSeries;
  points->setName(QString::fromStdString(system.name));
  points->setColor(color);
  points->setBorderColor(color.darker());
  points->setMarkerSize(9);
  for (const auto& date : system.dates) points->append(date.position, date.age);
  chart()->addSeries(points);
  for (QAbstractAxis* axis : chart()->axes()) points->attachAxis(axis);
}

void TfmDatePlot::drawHighlight() {
  if (!highlight_) return;
  highlight_->clear();
  if (const vorl::PlottedDate* date = model_.highlighted()) highlight_->append(date->position, date->age);
}
