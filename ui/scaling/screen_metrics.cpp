#include "ui/scaling/screen_metrics.h"

#include <QGuiApplication>
#include <QScreen>

namespace ui {
namespace {

class PrimaryScreen : public ScreenMetrics {
 public:
  QSize screenSize() const override {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
  }
};

PrimaryScreen primaryScreen;
ScreenMetrics* installed = nullptr;

}  // namespace

ScreenMetrics& screenMetrics() { return installed ? *installed : primaryScreen; }

void setScreenMetrics(ScreenMetrics* metrics) { installed = metrics; }

}  // namespace ui
