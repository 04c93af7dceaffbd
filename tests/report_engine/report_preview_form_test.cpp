// The "Report Preview" window: tool bar, zoom and page rules, the keys of the scroll area, and
// printing from the preview through the setup dialog in range mode.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include "report_engine/report_preview_form.h"
#include "report_engine/report_setup_form.h"
#include "report_engine/report_system.h"
#include "report_windows_support.h"

namespace windowtest {
namespace {

using reporting::TReportPreviewForm;

class PreviewTest : public WindowTest {
 protected:
  void SetUp() override {
    preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
  }
  QString zoomText() const { return preview.ZoomEdit->text(); }
  void typeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
  }
  QScrollBar* down() const { return preview.ScrollBox->verticalScrollBar(); }
  QScrollBar* across() const { return preview.ScrollBox->horizontalScrollBar(); }
  QImage pagePicture() const { return preview.ScrollBox->widget()->grab().toImage(); }

  ScriptedDialogs dialogs;
  FakePrinters printers;
  reporting::TReportSystem system;
  reporting::ReportDocument document = denseDocument(5);
  TReportPreviewForm preview{system, document};
};

TEST_F(PreviewTest, OpensAtFullSizeOnTheFirstPageWithItsToolBar) {
  EXPECT_EQ(preview.windowTitle(), "Report Preview");
  EXPECT_EQ(preview.size(), QSize(615, 450));
  EXPECT_EQ(zoomText(), "100.0");
  EXPECT_EQ(preview.PageEdit->text(), "1");
  EXPECT_EQ(preview.PageLabel->text(), "Page 1 of 5");
  EXPECT_TRUE(preview.PageEdit->hasFocus());
  QTest::keyClick(preview.PageEdit, Qt::Key_Tab);
  EXPECT_TRUE(preview.ZoomEdit->hasFocus());
  EXPECT_EQ(preview.ToolBar->height(), 41);
  EXPECT_EQ(preview.ScrollBox->geometry(), QRect(0, 41, 615, 409));

  struct Button {
    QToolButton* control;
    const char* hint;
    int left;
  };
  const Button buttons[] = {{preview.SBZoomIn, "Zoom In", 8},         {preview.SBZoomOut, "Zoom Out", 32},
                            {preview.SBZoomPageWidth, "Zoom Page Width", 56}, {preview.SBZoomPage, "Zoom Whole Page", 80},
                            {preview.SBPrevPage, "Prev Page", 104},   {preview.SBNextPage, "Next Page", 128},
                            {preview.SBPrint, "Print", 152},          {preview.SBDone, "Done", 176}};
  for (const Button& button : buttons) {
    EXPECT_EQ(button.control->geometry(), QRect(button.left, 8, 25, 25)) << button.hint;
    EXPECT_EQ(button.control->toolTip(), button.hint);
    EXPECT_FALSE(button.control->icon().isNull()) << button.hint;
  }
  EXPECT_EQ(preview.Label1->text(), "Zoom %");
  EXPECT_EQ(preview.Label1->x(), 209);
  EXPECT_EQ(preview.ZoomEdit->geometry().left(), 260);
  EXPECT_EQ(preview.ZoomEdit->width(), 57);
  EXPECT_EQ(preview.Label2->text(), "Page #");
  EXPECT_EQ(preview.Label2->x(), 326);
  EXPECT_EQ(preview.PageEdit->x(), 372);
  EXPECT_EQ(preview.PageEdit->width(), 49);
  EXPECT_EQ(preview.PageLabel->x(), 431);
}

TEST_F(PreviewTest, ZoomStepsStayWithinTenAndTwoHundred) {
  preview.SBZoomIn->click();
  EXPECT_EQ(zoomText(), "110.0");
  for (int step = 0; step < 12; ++step) preview.SBZoomIn->click();
  EXPECT_EQ(zoomText(), "200.0");
  typeInto(preview.ZoomEdit, "15");
  EXPECT_EQ(zoomText(), "15.0");
  preview.SBZoomOut->click();
  EXPECT_EQ(zoomText(), "10.0");
  preview.SBZoomOut->click();
  EXPECT_EQ(zoomText(), "10.0");
  EXPECT_DOUBLE_EQ(preview.zoom(), 10);
}

TEST_F(PreviewTest, ATypedZoomIsKeptInRangeAndOtherTextIgnored) {
  typeInto(preview.ZoomEdit, "250");
  EXPECT_EQ(zoomText(), "200.0");
  typeInto(preview.ZoomEdit, "4");
  EXPECT_EQ(zoomText(), "10.0");
  typeInto(preview.ZoomEdit, "57.25");
  EXPECT_DOUBLE_EQ(preview.zoom(), 57.25);
  EXPECT_EQ(zoomText(), "57.3");
  typeInto(preview.ZoomEdit, "large");
  EXPECT_DOUBLE_EQ(preview.zoom(), 57.25);
  EXPECT_EQ(zoomText(), "57.3");
  // Leaving the box counts as Enter.
  preview.ZoomEdit->setFocus();
  preview.ZoomEdit->setText("80");
  preview.PageEdit->setFocus();
  EXPECT_DOUBLE_EQ(preview.zoom(), 80);
}

TEST_F(PreviewTest, NegativeZoomsFitThePageWidthOrTheWholePage) {
  typeInto(preview.ZoomEdit, "-2");
  const double width = preview.zoom();
  QWidget* page = preview.ScrollBox->widget();
  QWidget* viewport = preview.ScrollBox->viewport();
  EXPECT_LE(page->width(), viewport->width());
  EXPECT_GE(page->width(), viewport->width() - 4);
  EXPECT_EQ(across()->maximum(), 0);
  EXPECT_GT(down()->maximum(), 0);

  typeInto(preview.ZoomEdit, "-1");
  EXPECT_LT(preview.zoom(), width);
  EXPECT_LE(page->height(), viewport->height());
  EXPECT_GE(page->height(), viewport->height() - 4);
  EXPECT_EQ(down()->maximum(), 0);
  EXPECT_EQ(across()->maximum(), 0);

  typeInto(preview.ZoomEdit, "-1.9");
  EXPECT_DOUBLE_EQ(preview.zoom(), width);
  typeInto(preview.ZoomEdit, "-0.5");
  EXPECT_LT(preview.zoom(), width);

  preview.setZoom(100);
  preview.SBZoomPageWidth->click();
  EXPECT_DOUBLE_EQ(preview.zoom(), width);
  preview.SBZoomPage->click();
  EXPECT_LT(preview.zoom(), width);
  EXPECT_EQ(zoomText(), QString::number(preview.zoom(), 'f', 1));
}

TEST_F(PreviewTest, PagesMoveWithinTheDocument) {
  preview.SBPrevPage->click();
  EXPECT_EQ(preview.currentPage(), 1);
  EXPECT_EQ(preview.PageLabel->text(), "Page 1 of 5");
  preview.SBNextPage->click();
  EXPECT_EQ(preview.PageEdit->text(), "2");
  EXPECT_EQ(preview.PageLabel->text(), "Page 2 of 5");
  typeInto(preview.PageEdit, "5");
  EXPECT_EQ(preview.PageLabel->text(), "Page 5 of 5");
  preview.SBNextPage->click();
  EXPECT_EQ(preview.currentPage(), 5);
  EXPECT_EQ(preview.PageEdit->text(), "5");
  preview.SBPrevPage->click();
  EXPECT_EQ(preview.PageLabel->text(), "Page 4 of 5");
  EXPECT_EQ(preview.PageEdit->text(), "4");
  for (const char* ignored : {"two", "2.5", ""}) {
    typeInto(preview.PageEdit, ignored);
    EXPECT_EQ(preview.currentPage(), 4) << ignored;
    EXPECT_EQ(preview.PageEdit->text(), "4") << ignored;
  }
  typeInto(preview.PageEdit, "40");
  EXPECT_EQ(preview.PageLabel->text(), "Page 5 of 5");
}

TEST_F(PreviewTest, EachPageIsDrawnOnItsOwn) {
  preview.setZoom(200);
  const QImage first = pagePicture();
  preview.SBNextPage->click();
  const QImage second = pagePicture();
  EXPECT_NE(first, second);
  preview.SBPrevPage->click();
  EXPECT_EQ(pagePicture(), first);
  // Text lies dark on the white page.
  int dark = 0;
  for (int y = 0; y < first.height(); y += 2) {
    for (int x = 0; x < first.width(); x += 2) dark += qGray(first.pixel(x, y)) < 96;
  }
  EXPECT_GT(dark, 1000);
}

TEST_F(PreviewTest, KeysScrollWithinTheScrollRange) {
  preview.setZoom(200);
  QWidget* viewport = preview.ScrollBox->viewport();
  ASSERT_GT(down()->maximum(), 2 * viewport->height());
  ASSERT_GT(across()->maximum(), 0);
  QWidget* target = preview.PageEdit;

  QTest::keyClick(target, Qt::Key_PageDown);
  EXPECT_EQ(down()->value(), viewport->height());
  QTest::keyClick(target, Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(down()->value(), 2 * viewport->height());
  QTest::keyClick(target, Qt::Key_PageUp);
  EXPECT_EQ(down()->value(), viewport->height());
  QTest::keyClick(target, Qt::Key_Up);
  EXPECT_EQ(down()->value(), viewport->height() - down()->singleStep());
  QTest::keyClick(target, Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(down()->value(), viewport->height());
  QTest::keyClick(target, Qt::Key_End);
  EXPECT_EQ(down()->value(), down()->maximum());
  QTest::keyClick(target, Qt::Key_PageDown);
  EXPECT_EQ(down()->value(), down()->maximum());
  QTest::keyClick(target, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(down()->value(), 0);
  QTest::keyClick(target, Qt::Key_PageUp);
  QTest::keyClick(target, Qt::Key_Up);
  EXPECT_EQ(down()->value(), 0);

  QTest::keyClick(target, Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(across()->value(), across()->singleStep());
  QTest::keyClick(target, Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(across()->value(), 0);
  QTest::keyClick(target, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(across()->value(), std::min(viewport->width(), across()->maximum()));
  QTest::keyClick(target, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
  QTest::keyClick(target, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(across()->value(), across()->maximum());
  QTest::keyClick(target, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(across()->value(), std::max(across()->maximum() - viewport->width(), 0));
  EXPECT_EQ(preview.PageEdit->text(), "1");  // the keys went to the scroll area, not into the box
}

TEST_F(PreviewTest, KeysWorkInTheZoomBoxAndTheWindowAndPlainArrowsStayInTheBoxes) {
  preview.setZoom(200);
  QTest::keyClick(preview.ZoomEdit, Qt::Key_End);
  EXPECT_EQ(down()->value(), down()->maximum());
  QTest::keyClick(&preview, Qt::Key_Home);
  EXPECT_EQ(down()->value(), 0);
  QTest::keyClick(preview.ScrollBox, Qt::Key_PageDown);
  EXPECT_EQ(down()->value(), preview.ScrollBox->viewport()->height());

  preview.ZoomEdit->setFocus();
  preview.ZoomEdit->setCursorPosition(0);
  QTest::keyClick(preview.ZoomEdit, Qt::Key_Right);
  EXPECT_EQ(preview.ZoomEdit->cursorPosition(), 1);
  EXPECT_EQ(across()->value(), 0);
  QTest::keyClick(preview.ZoomEdit, Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(across()->value(), 0);
  EXPECT_EQ(preview.ZoomEdit->selectedText(), "0");
}

TEST_F(PreviewTest, DoneClosesThePreview) {
  preview.SBDone->click();
  EXPECT_FALSE(preview.isVisible());
  EXPECT_EQ(preview.result(), QDialog::Accepted);
}

class PrintFromPreviewTest : public PreviewTest {
 protected:
  // The range-mode setup dialog, answered by the script, then OK.
  void printWith(const std::function<void(reporting::TReportSetupForm&)>& script) {
    dialogs.on("ReportSetupForm", [script](QDialog& dialog) {
      auto& setup = static_cast<reporting::TReportSetupForm&>(dialog);
      ASSERT_EQ(setup.mode(), reporting::TReportSetupForm::Mode::Range);
      script(setup);
    });
    preview.SBPrint->click();
  }
};

TEST_F(PrintFromPreviewTest, ASelectionPrintsExactlyThosePages) {
  printWith([](reporting::TReportSetupForm& setup) {
    EXPECT_EQ(setup.SelectionED->text(), "1-5");
    EXPECT_EQ(setup.ToED->text(), "5");
    setup.SelectionRB->click();
    setup.SelectionED->setText("1-2,4");
    setup.OKBB->click();
  });
  ASSERT_EQ(printers.jobs.size(), 1u);
  EXPECT_EQ(printers.jobs[0].pages, (std::vector<int>{1, 2, 4}));
  EXPECT_EQ(printers.jobs[0].job.title, "VORL Report");
  EXPECT_EQ(printers.jobs[0].job.printer, "Laser");
  EXPECT_EQ(printers.jobs[0].statusTexts, (QStringList{"Printing page 1", "Printing page 2", "Printing page 4"}));
  EXPECT_TRUE(preview.isVisible());  // the preview stays open
}

TEST_F(PrintFromPreviewTest, AllOrFromToWithTheCopiesAsked) {
  printWith([](reporting::TReportSetupForm& setup) {
    setup.CopiesED->setText("3");
    setup.CollateCK->setChecked(true);
    setup.OKBB->click();
  });
  printWith([](reporting::TReportSetupForm& setup) {
    EXPECT_EQ(setup.CopiesED->text(), "3");
    setup.PagesRB->click();
    setup.FromED->setText("2");
    setup.ToED->setText("3");
    setup.OKBB->click();
  });
  ASSERT_EQ(printers.jobs.size(), 2u);
  EXPECT_EQ(printers.jobs[0].pages, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(printers.jobs[0].job.copies, 3);  // the printer makes the copies itself
  EXPECT_TRUE(printers.jobs[0].job.collate);
  EXPECT_EQ(printers.jobs[1].pages, (std::vector<int>{2, 3}));
}

TEST_F(PrintFromPreviewTest, APrinterThatCannotCopyIsSentEachCopy) {
  printers.installed = {{"Dot matrix", "COM1", false, {}}};
  printWith([](reporting::TReportSetupForm& setup) {
    setup.PagesRB->click();
    setup.FromED->setText("2");
    setup.ToED->setText("3");
    setup.CopiesED->setText("2");
    setup.OKBB->click();
  });
  printWith([](reporting::TReportSetupForm& setup) {
    setup.PagesRB->click();
    setup.FromED->setText("2");
    setup.ToED->setText("3");
    setup.CollateCK->setChecked(true);
    setup.OKBB->click();
  });
  ASSERT_EQ(printers.jobs.size(), 2u);
  EXPECT_EQ(printers.jobs[0].pages, (std::vector<int>{2, 2, 3, 3}));
  EXPECT_EQ(printers.jobs[0].job.copies, 1);
  EXPECT_EQ(printers.jobs[1].pages, (std::vector<int>{2, 3, 2, 3}));
  EXPECT_EQ(printers.jobs[1].job.copies, 1);
}

TEST_F(PrintFromPreviewTest, CancelInTheSetupPrintsNothing) {
  printWith([](reporting::TReportSetupForm& setup) { setup.CancelBB->click(); });
  EXPECT_TRUE(printers.jobs.empty());
  EXPECT_TRUE(preview.isVisible());
}

TEST_F(PrintFromPreviewTest, CancelInTheStatusWindowPrintsNothing) {
  printers.whilePrinting = [](int page) {
    if (page == 3) cancelStatusWindow();
  };
  printWith([](reporting::TReportSetupForm& setup) { setup.OKBB->click(); });
  EXPECT_TRUE(printers.jobs.empty());
  EXPECT_TRUE(statusText().isEmpty());  // the status window has closed
}

TEST_F(PrintFromPreviewTest, WithoutPrintersPrintingStopsWithAnError) {
  printers.installed.clear();
  printWith([](reporting::TReportSetupForm& setup) {
    EXPECT_EQ(setup.PrinterLabel->text(), "No printers installed!");
    EXPECT_FALSE(setup.CopiesED->isEnabled());
    setup.OKBB->click();
  });
  EXPECT_TRUE(printers.jobs.empty());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].kind, ui::MessageKind::Error);
  EXPECT_EQ(dialogs.messages[0].caption, "Error");
  EXPECT_EQ(dialogs.messages[0].text, "No printers are defined, aborting print job.");
}

}  // namespace
}  // namespace windowtest
