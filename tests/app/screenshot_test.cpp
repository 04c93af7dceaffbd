// Pictures of the main window on every tab and of the About box, over the sample lexicon, saved
// under the build folder (screenshots/) for a person to look at.
#include <QCoreApplication>
#include <QDir>
#include <QPushButton>

#include "app/about_box.h"
#include "app/page_control.h"
#include "app/vorl_varb.h"
#include "app_test_support.h"

namespace apptest {
namespace {

constexpr int kRustenburgLayeredSuite = 1601;  // sub-units, sub-sub-units and dating results

class ScreenshotTest : public MainWindowTest {
 protected:
  QString folder() const {
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath("../screenshots");
    QDir().mkpath(path);
    return QDir::cleanPath(path);
  }
  void save(QWidget& widget, const QString& name) {
    const QImage picture = widget.grab().toImage();
    EXPECT_EQ(picture.size(), widget.size() * widget.devicePixelRatio()) << name.toStdString();
    EXPECT_TRUE(picture.save(QDir(folder()).filePath(name + ".png"))) << name.toStdString();
  }
};

TEST_F(ScreenshotTest, MainWindowOnEveryTabAndTheAboutBox) {
  writeSettingsFile("[Other links]\nAmbrell=1\nSequence=1\n");
  dialogs.answer = typePassword("BoxFern");
  createProgram(copySampleDatabases(directory.filePath("sample")));
  showWindow();
  ASSERT_TRUE(dmVORL->VORLList.locate("Code", std::to_string(kRustenburgLayeredSuite)));
  ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages[0].text.toStdString();

  vorl::PageControl& tabs = outerTabs();
  for (int index = 0; index < tabs.count(); ++index) {
    QWidget* page = tabs.page(index);
    showTab(page->objectName().toUtf8().constData());
    if (page->objectName() == "tsGeochronology") find<QPushButton>("bOpen")->click();
    save(*window, QString("main-%1-%2").arg(index + 1).arg(page->objectName()));
  }
  showTab("tsUnits");
  for (const char* inner : {"tsComments2", "tsOccurrence2", "tsCorrelatives2"}) {
    showTab(inner);
    save(*window, QString("main-1-tsUnits-") + inner);
  }
  TAboutBox about(window.get());
  about.show();
  save(about, "about");
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace apptest
