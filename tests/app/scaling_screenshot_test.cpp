// Pictures of the scaled windows over the sample lexicon, saved under the build folder
// (screenshots/) for a person to look at: the main window at its design size, widened by half,
// maximized and shrunk to its minimum, and the About box. Run on a platform screen of
// 1920 by 1080 for the maximized picture.
#include <QCoreApplication>
#include <QDir>
#include <QMenuBar>
#include <QWindow>

#include "app/about_box.h"
#include "app_test_support.h"

namespace apptest {
namespace {

class ScalingScreenshotTest : public MainWindowTest {
 protected:
  void save(QWidget& widget, const QString& name) {
    const QString folder = QDir(QCoreApplication::applicationDirPath()).filePath("../screenshots");
    QDir().mkpath(folder);
    const QImage picture = widget.grab().toImage();
    EXPECT_EQ(picture.size(), widget.size() * widget.devicePixelRatio()) << name.toStdString();
    EXPECT_TRUE(picture.save(QDir(folder).filePath(name + ".png"))) << name.toStdString();
  }
  void settle() {
    for (int round = 0; round < 3; ++round) QCoreApplication::processEvents();
  }
  void userResize(QSize client) {
    window->windowHandle()->resize(client + QSize(0, window->menuBar()->height()));
    settle();
  }
};

TEST_F(ScalingScreenshotTest, MainWindowAtFourSizesAndTheAboutBox) {
  createProgram(copySampleDatabases(directory.filePath("sample")));
  showWindow();
  settle();
  save(*window, "scaled-main-design");
  userResize({1043, 511});
  save(*window, "scaled-main-wider-by-half");
  userResize({695, 767});
  window->setWindowState(Qt::WindowMaximized);
  settle();
  save(*window, "scaled-main-maximized");
  window->setWindowState(Qt::WindowNoState);
  settle();
  userResize({100, 511});
  save(*window, "scaled-main-minimum");
  TAboutBox about(window.get());
  about.show();
  settle();
  save(about, "scaled-about");
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace apptest
