// The preview drawing a dense page (sixty lines of text in two columns, a heading box and rules)
// at 200 %: the zoom change with the redraw that follows it, and the redraw alone. Target: the
// page appears in under 50 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QScrollArea>

#include "report_engine/report_preview_form.h"
#include "report_engine/report_system.h"

namespace {

reporting::ReportDocument densePage() {
  reporting::ReportDocument document;
  document.fonts = {reporting::FontSpec{}, reporting::FontSpec{QStringLiteral("Arial"), 12, true, false},
                    reporting::FontSpec{QStringLiteral("Arial"), 8, false, true}};
  reporting::Page page;
  page.boxes.push_back({QRectF(15, 12, 180, 10), 0.25, Qt::black, QColor(Qt::lightGray)});
  page.texts.push_back({QPointF(17, 19), QStringLiteral("Lithostratigraphic units of South Africa"), 1, Qt::black});
  for (int line = 0; line < 60; ++line) {
    const double baseline = 28 + line * 4.3;
    page.texts.push_back(
        {QPointF(15, baseline), QStringLiteral("%1 Formation, Karoo Supergroup, Ecca Group (member %2)").arg(line).arg(line % 7),
         0, Qt::black});
    page.texts.push_back({QPointF(140, baseline), QStringLiteral("Permian"), 2, Qt::black});
    page.texts.push_back({QPointF(178, baseline), QString::number(250.5 + line * 1.25, 'f', 2), 0, Qt::black});
    if (line % 5 == 4) page.lines.push_back({QPointF(15, baseline + 1.2), QPointF(195, baseline + 1.2), 0.2, Qt::black});
  }
  document.pages.push_back(std::move(page));
  return document;
}

struct Preview {
  Preview() : document(densePage()), form(system, document) {
    form.show();
    QApplication::processEvents();
  }
  QImage& canvas() {
    QWidget* page = form.ScrollBox->widget();
    if (image.size() != page->size()) image = QImage(page->size(), QImage::Format_ARGB32_Premultiplied);
    return image;
  }
  void draw() {
    QImage& target = canvas();
    form.ScrollBox->widget()->render(&target);
  }
  reporting::TReportSystem system;
  reporting::ReportDocument document;
  reporting::TReportPreviewForm form;
  QImage image;
};

// Made once and left to the end of the process: the windows must not outlive the application.
Preview& preview() {
  static Preview* instance = new Preview;
  return *instance;
}

void BM_ZoomTo200AndRedraw(benchmark::State& state) {
  Preview& shown = preview();
  bool high = false;
  for (auto _ : state) {
    high = !high;
    shown.form.setZoom(high ? 200 : 190);
    shown.draw();
    benchmark::DoNotOptimize(shown.image.constBits());
  }
}
BENCHMARK(BM_ZoomTo200AndRedraw)->Unit(benchmark::kMillisecond);

void BM_RedrawAt200(benchmark::State& state) {
  Preview& shown = preview();
  shown.form.setZoom(200);
  for (auto _ : state) {
    shown.draw();
    benchmark::DoNotOptimize(shown.image.constBits());
  }
}
BENCHMARK(BM_RedrawAt200)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
