// Pictures of the report windows over the unit list, saved under the build folder (screenshots/)
// for a person to look at: the setup dialog in both modes, the status window while the preview
// prints and the preview at full size and at page width.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "report_engine/report_preview_form.h"
#include "report_engine/report_setup_form.h"
#include "report_engine/report_status_form.h"
#include "report_engine/report_system.h"
#include "report_windows_support.h"

namespace windowtest {
namespace {

QString screenshotFolder() {
  const QString path = QDir(QCoreApplication::applicationDirPath()).filePath("../screenshots");
  QDir().mkpath(path);
  return QDir::cleanPath(path);
}

void save(QWidget& window, const QString& name) {
  QCoreApplication::processEvents();
  const QImage picture = window.grab().toImage();
  EXPECT_EQ(picture.size(), window.size() * window.devicePixelRatio()) << name.toStdString();
  EXPECT_TRUE(picture.save(QDir(screenshotFolder()).filePath(name + ".png"))) << name.toStdString();
}

TEST(ReportWindowsScreenshotTest, SetupStatusAndPreviewOverTheUnitList) {
  ensureApplication();
  ScriptedDialogs dialogs;
  FakePrinters printers({{"Laser", "LPT1:", true, {}}});
  RowsConnection units(400);
  reporting::TReportSystem system;
  bool statusSaved = false;
  printers.whilePrinting = [&](int page) {
    if (page != 5) return;
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* status = qobject_cast<reporting::TReportStatusForm*>(window); status && status->isVisible()) {
        save(*status, "report-status");
        statusSaved = true;
      }
    }
  };
  dialogs.on("ReportSetupForm", [](QDialog& dialog) {
    auto& setup = static_cast<reporting::TReportSetupForm&>(dialog);
    save(setup, "report-setup-destination");
    setup.OKBB->click();
  });
  dialogs.on("ReportPreviewForm", [&](QDialog& dialog) {
    auto& preview = static_cast<reporting::TReportPreviewForm&>(dialog);
    save(preview, "report-preview-100");
    preview.SBZoomPageWidth->click();
    save(preview, "report-preview-page-width");
    dialogs.on("ReportSetupForm", [](QDialog& range) {
      auto& setup = static_cast<reporting::TReportSetupForm&>(range);
      setup.SelectionRB->click();
      save(setup, "report-setup-range");
      setup.AllRB->click();
      setup.OKBB->click();
    });
    preview.SBPrint->click();
    preview.SBDone->click();
  });
  system.run(unitListReport());
  EXPECT_TRUE(statusSaved);
  ASSERT_EQ(printers.jobs.size(), 1u);
  EXPECT_EQ(printers.jobs[0].pages.size(), 10u);
  EXPECT_EQ(dialogs.shown, (QStringList{"ReportSetupForm", "ReportPreviewForm", "ReportSetupForm"}));
}

}  // namespace
}  // namespace windowtest
