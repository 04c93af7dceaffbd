// Pictures of the main window on every tab, of the About box and of the report windows reached from
// the menus, over the sample lexicon, saved under the build folder (screenshots/) for a person to
// look at.
#include <QCoreApplication>
#include <QDir>
#include <QAction>
#include <QPushButton>

#include "app/about_box.h"
#include "app/date_plot_window.h"
#include "reports/report_definition_dialog.h"
#include "reports/report_selection_window.h"
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
    QCoreApplication::processEvents();  // the layouts a view defers, as the user sees them
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

TEST_F(ScreenshotTest, ReportWindowsFromTheMenus) {
  writeSettingsFile("[Report setup]\nReport file=" VORL_SAMPLE_DIR "/reports/VORL.rpd\n");
  createProgram(copySampleDatabases(directory.filePath("sample")));
  showWindow();
  ASSERT_TRUE(dmVORL->VORLList.locate("Code", std::to_string(kRustenburgLayeredSuite)));
  QStringList saved;
  // Each window is shown as the modal loop would, pictured, and answered as a user would.
  dialogs.answer = [&](QDialog& dialog) {
    dialog.show();
    QCoreApplication::processEvents();
    const QString name = dialog.objectName();
    if (auto* selection = qobject_cast<reports::TfmRep1*>(&dialog)) {
      save(dialog, SequenceLink ? "report-selection-developer" : "report-selection-user");
      if (!SequenceLink) selection->bbPrint->click();
    } else if (name == "ReportSetupForm") {
      dialog.accept();  // to the preview
    } else if (name == "ReportPreviewForm") {
      save(dialog, "report-preview-unit-sheet");
    } else if (name == "fmReportDef") {
      save(dialog, "report-definition-file");
    }
    saved.append(name);
    dialog.hide();
    return dialog.result();
  };
  find<QAction>("Print1")->trigger();
  SequenceLink = true;
  find<QAction>("Print1")->trigger();
  find<QAction>("Reportdefinitionfile1")->trigger();
  EXPECT_EQ(saved.join(' ').toStdString(), "ReportSetupForm ReportPreviewForm fmRep1 fmRep1 fmReportDef");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ScreenshotTest, PlotOfTheUnitsDates) {
  writeSettingsFile("[Other links]\nAmbrell=1\n");
  createProgram(copySampleDatabases(directory.filePath("sample")));
  showWindow();
  ASSERT_TRUE(dmVORL->VORLList.locate("Code", std::to_string(kRustenburgLayeredSuite)));
  showTab("tsGeochronology");
  find<QPushButton>("bOpen")->click();
  window->ABQuery().next();  // a highlighted row other than the first
  find<QPushButton>("bPlot")->click();
  save(*window->fmDatePlot(), "geochronology-plot");
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace apptest
