// One run of the output system: the setup dialog, the status window while pages are generated or
// printed, the preview, the printer and the file, and a cancel at each stage.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "report_engine/report_preview_form.h"
#include "report_engine/report_setup_form.h"
#include "report_engine/report_status_form.h"
#include "report_engine/report_system.h"
#include "report_windows_support.h"

namespace windowtest {
namespace {

using reporting::DuplexMode;

// Keeps the text of a label each time it is painted: what the user saw.
class PaintedTexts : public QObject {
 public:
  PaintedTexts(QStringList* texts, QLabel* label) : QObject(label), texts_(texts), label_(label) {
    label->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) texts_->push_back(label_->text());
    return false;
  }

 private:
  QStringList* texts_;
  QLabel* label_;
};

reporting::TReportStatusForm* visibleStatusForm() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (auto* status = qobject_cast<reporting::TReportStatusForm*>(window); status && status->isVisible()) {
      return status;
    }
  }
  return nullptr;
}

class ReportRunTest : public WindowTest {
 protected:

  // Answers the preview with what it shows, then Done.
  void seePreview() {
    dialogs.on("ReportPreviewForm", [this](QDialog& dialog) {
      auto& preview = static_cast<reporting::TReportPreviewForm&>(dialog);
      previewPages = preview.pageCount();
      previewLabel = preview.PageLabel->text();
      preview.SBDone->click();
    });
  }
  // Records the texts the status window shows while the report is generated, from the moment
  // the report's rows are read.
  void watchStatus() {
    units.onRow = [this](int) {
      if (watched) return;
      watched = visibleStatusForm();
      if (!watched) return;
      new PaintedTexts(&painted, watched->StatusLabel);
      const reporting::TReportStatusForm& status = *watched;
      statusLooks = {status.windowTitle(), status.size(), status.windowFlags(), status.StatusLabel->alignment(),
                     status.CancelButton->text()};
    };
  }
  // The painted texts, each once, in order.
  QStringList seen() const {
    QStringList distinct;
    for (const QString& text : painted) {
      if (distinct.isEmpty() || distinct.back() != text) distinct.push_back(text);
    }
    return distinct;
  }

  ScriptedDialogs dialogs;
  FakePrinters printers;
  RowsConnection units{120};
  reporting::ReportDefinition report = unitListReport();
  reporting::TReportSystem system;
  int previewPages = 0;
  QString previewLabel;
  reporting::TReportStatusForm* watched = nullptr;  // closed and gone after the run
  struct {
    QString title;
    QSize size;
    Qt::WindowFlags flags;
    Qt::Alignment alignment;
    QString cancel;
  } statusLooks;
  QStringList painted;
};

TEST_F(ReportRunTest, SelectThenEnterShowsThePreview) {
  dialogs.on("ReportSetupForm", [](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Report Setup");
    QTest::keyClick(&dialog, Qt::Key_Return);
  });
  seePreview();
  system.run(report);
  EXPECT_EQ(dialogs.shown, (QStringList{"ReportSetupForm", "ReportPreviewForm"}));
  EXPECT_GE(previewPages, 3);
  EXPECT_EQ(previewLabel, QString("Page 1 of %1").arg(previewPages));
  EXPECT_TRUE(printers.jobs.empty());
  EXPECT_EQ(units.begun, 1);
  EXPECT_EQ(units.restored, 1);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ReportRunTest, CancelInTheSetupEndsTheRunBeforeAnythingIsGenerated) {
  dialogs.on("ReportSetupForm", pressCancel());
  system.run(report);
  EXPECT_EQ(dialogs.shown, QStringList{"ReportSetupForm"});
  EXPECT_EQ(units.begun, 0);
  EXPECT_TRUE(printers.jobs.empty());
  // Escape, or closing the dialog, is the same answer.
  dialogs.on("ReportSetupForm", [](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
  system.run(report);
  EXPECT_EQ(units.begun, 0);
}

TEST_F(ReportRunTest, TheStatusWindowCountsTheGeneratedPages) {
  dialogs.on("ReportSetupForm", pressOk());
  seePreview();
  watchStatus();
  system.run(report);
  ASSERT_NE(watched, nullptr);
  EXPECT_EQ(statusLooks.title, "Report Status");
  EXPECT_EQ(statusLooks.size, QSize(361, 113));
  EXPECT_FALSE(statusLooks.flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(statusLooks.flags & Qt::WindowMinMaxButtonsHint);
  EXPECT_FALSE(statusLooks.flags & Qt::WindowSystemMenuHint);
  EXPECT_EQ(statusLooks.alignment, Qt::AlignCenter);
  EXPECT_EQ(statusLooks.cancel, "Cancel");
  ASSERT_GE(previewPages, 3);
  // Repainted for every page while the run held the thread; page 1 was shown as the window
  // opened, before the rows were read.
  QStringList expected;
  for (int page = 2; page <= previewPages; ++page) expected.push_back(QString("Generating page %1").arg(page));
  QStringList shown = seen();
  if (!shown.isEmpty() && shown.front() == "Generating page 1") shown.pop_front();
  EXPECT_EQ(shown, expected);
  EXPECT_TRUE(statusText().isEmpty());  // closed before the preview opened
}

TEST_F(ReportRunTest, CancelInTheStatusWindowStopsTheGeneration) {
  dialogs.on("ReportSetupForm", pressOk());
  seePreview();
  units.onRow = [](int row) {
    if (row == 60) {
      EXPECT_TRUE(cancelStatusWindow());
    }
  };
  system.run(report);
  EXPECT_EQ(dialogs.shown, QStringList{"ReportSetupForm"});  // no preview
  EXPECT_TRUE(printers.jobs.empty());
  EXPECT_EQ(units.restored, units.begun);
  EXPECT_TRUE(statusText().isEmpty());
}

TEST_F(ReportRunTest, ThePrinterGetsTheJobTitleCopiesCollateAndDuplex) {
  dialogs.on("ReportSetupForm", [](QDialog& dialog) {
    auto& setup = static_cast<reporting::TReportSetupForm&>(dialog);
    setup.PrinterRB->click();
    setup.CopiesED->setText("2");
    setup.CollateCK->setChecked(true);
    setup.DuplexCK->setChecked(true);
    setup.OKBB->click();
  });
  watchStatus();
  system.run(report);
  EXPECT_FALSE(dialogs.shown.contains("ReportPreviewForm"));
  ASSERT_EQ(printers.jobs.size(), 1u);
  const SentJob& sent = printers.jobs[0];
  EXPECT_EQ(sent.job.title, "VORL Report");
  EXPECT_EQ(sent.job.printer, "Laser");
  EXPECT_EQ(sent.job.copies, 2);
  EXPECT_TRUE(sent.job.collate);
  EXPECT_EQ(sent.job.duplex, DuplexMode::dupVertical);
  ASSERT_GE(sent.pages.size(), 3u);
  for (std::size_t index = 0; index < sent.pages.size(); ++index) {
    EXPECT_EQ(sent.pages[index], static_cast<int>(index) + 1);
    EXPECT_EQ(sent.statusTexts[index], QString("Printing page %1").arg(index + 1));
  }
  // Printed straight away: the layout counts as printing too.
  ASSERT_FALSE(seen().isEmpty());
  for (const QString& text : seen()) EXPECT_TRUE(text.startsWith("Printing page ")) << text.toStdString();
}

TEST_F(ReportRunTest, OkWithoutTickingDuplexPrintsOneSidedOnATwoSidedPrinter) {
  printers.installed = {{"Duplexer", {}, true, DuplexMode::dupVertical}};
  reporting::TReportSystem twoSided;
  dialogs.on("ReportSetupForm", chooseDestination("PrinterRB"));
  twoSided.run(report);
  ASSERT_EQ(printers.jobs.size(), 1u);
  EXPECT_EQ(printers.jobs[0].job.duplex, DuplexMode::dupSimplex);
}

TEST_F(ReportRunTest, SeveralCopiesOnAPrinterThatCannotCopyAreGeneratedFirstAndSentEach) {
  printers.installed = {{"Dot matrix", "COM1", false, {}}};
  dialogs.on("ReportSetupForm", [](QDialog& dialog) {
    auto& setup = static_cast<reporting::TReportSetupForm&>(dialog);
    setup.PrinterRB->click();
    setup.CopiesED->setText("2");
    setup.OKBB->click();
  });
  watchStatus();
  system.run(report);
  ASSERT_EQ(printers.jobs.size(), 1u);
  const std::vector<int>& pages = printers.jobs[0].pages;
  ASSERT_GE(pages.size(), 6u);
  EXPECT_EQ(printers.jobs[0].job.copies, 1);
  EXPECT_EQ(pages[0], 1);
  EXPECT_EQ(pages[1], 1);
  EXPECT_EQ(pages[2], 2);
  EXPECT_EQ(pages.size() % 2, 0u);
  ASSERT_FALSE(seen().isEmpty());
  EXPECT_TRUE(seen().front().startsWith("Generating page ")) << seen().front().toStdString();
}

TEST_F(ReportRunTest, AlwaysGenerateGeneratesBeforePrinting) {
  report.alwaysGenerate = true;
  dialogs.on("ReportSetupForm", chooseDestination("PrinterRB"));
  watchStatus();
  system.run(report);
  ASSERT_EQ(printers.jobs.size(), 1u);
  ASSERT_FALSE(seen().isEmpty());
  for (const QString& text : seen()) EXPECT_TRUE(text.startsWith("Generating page ")) << text.toStdString();
  EXPECT_EQ(printers.jobs[0].statusTexts.front(), "Printing page 1");
}

TEST_F(ReportRunTest, CancelWhilePrintingPrintsNothing) {
  printers.whilePrinting = [](int page) {
    if (page == 2) cancelStatusWindow();
  };
  dialogs.on("ReportSetupForm", chooseDestination("PrinterRB"));
  system.run(report);
  EXPECT_TRUE(printers.jobs.empty());
  EXPECT_TRUE(statusText().isEmpty());
}

TEST_F(ReportRunTest, FileWithoutANamePrintsToThePrinter) {
  dialogs.on("ReportSetupForm", chooseDestination("FileRB"));
  system.run(report);
  EXPECT_EQ(system.ReportDestination, reporting::ReportDest::rdFile);
  ASSERT_EQ(printers.jobs.size(), 1u);
  EXPECT_EQ(printers.jobs[0].job.title, "VORL Report");
}

TEST_F(ReportRunTest, FileWritesThePagesIntoTheNamedFile) {
  QTemporaryDir folder;
  const QString file = folder.filePath("units.pdf");
  dialogs.on("ReportSetupForm", chooseDestination("FileRB", file));
  system.run(report);
  EXPECT_TRUE(printers.jobs.empty());
  QFile written(file);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  const QByteArray pdf = written.readAll();
  EXPECT_TRUE(pdf.startsWith("%PDF"));
  EXPECT_GE(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 3);
}

TEST_F(ReportRunTest, WithoutPrintersOnlyThePreviewRuns) {
  printers.installed.clear();
  dialogs.on("ReportSetupForm", [](QDialog& dialog) {
    auto& setup = static_cast<reporting::TReportSetupForm&>(dialog);
    EXPECT_FALSE(setup.PrinterRB->isEnabled());
    setup.PrinterRB->click();  // a disabled option takes no click
    setup.OKBB->click();
  });
  seePreview();
  system.run(report);
  EXPECT_EQ(dialogs.shown, (QStringList{"ReportSetupForm", "ReportPreviewForm"}));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ReportRunTest, AMissingConnectionEndsTheRunWithItsMessage) {
  report.dataViews[0].connection = "Nowhere";
  dialogs.on("ReportSetupForm", pressOk());
  seePreview();
  system.run(report);
  EXPECT_EQ(dialogs.shown, QStringList{"ReportSetupForm"});
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].caption, "Error");
  EXPECT_TRUE(statusText().isEmpty());
}

}  // namespace
}  // namespace windowtest
