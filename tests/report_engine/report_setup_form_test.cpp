// The "Report Setup" dialog in both modes: its controls, the rules that enable and show them, and
// what OK writes into the output system.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "report_engine/report_setup_form.h"
#include "report_engine/report_system.h"
#include "report_windows_support.h"

namespace windowtest {
namespace {

using reporting::DuplexMode;
using reporting::ReportDest;
using reporting::TReportSetupForm;
using Mode = reporting::TReportSetupForm::Mode;

class SetupFormTest : public WindowTest {
 protected:
  ScriptedDialogs dialogs;
};

TEST_F(SetupFormTest, ControlsSitAtTheirDesignPlacesWithTheirCaptions) {
  FakePrinters printers;
  reporting::TReportSystem system;
  TReportSetupForm form(system, Mode::Destination);
  EXPECT_EQ(form.windowTitle(), "Report Setup");
  EXPECT_EQ(form.size(), QSize(287, 218));
  struct Expected {
    QWidget* control;
    QString caption;
    QRect geometry;
  };
  const Expected controls[] = {
      {form.GroupBox1, "Selected Printer", {8, 3, 270, 36}},   {form.PrinterLabel, {}, {10, 15, 250, 13}},
      {form.DestGB, "Report Destination", {8, 39, 169, 105}},  {form.PrinterRB, "&Printer", {8, 16, 153, 17}},
      {form.PreviewRB, "Pre&view", {8, 36, 153, 17}},          {form.FileRB, "&File", {8, 56, 153, 17}},
      {form.FileNameED, {}, {24, 78, 113, 22}},                {form.FileNameSB, {}, {138, 78, 20, 20}},
      {form.RangeGB, "Print Range", {8, 39, 169, 105}},        {form.AllRB, "All", {8, 16, 153, 17}},
      {form.SelectionRB, "Selection", {8, 36, 153, 17}},       {form.PagesRB, "Pages", {8, 56, 153, 17}},
      {form.SelectionLabel, "Selection", {8, 84, 44, 13}},     {form.SelectionED, {}, {56, 80, 105, 21}},
      {form.FromLabel, "From", {8, 84, 23, 13}},               {form.FromED, {}, {40, 80, 41, 21}},
      {form.ToLabel, "to", {88, 84, 9, 13}},                   {form.ToED, {}, {104, 80, 57, 21}},
      {form.GroupBox2, "Options", {8, 144, 169, 65}},          {form.CopiesLabel, "&Copies", {17, 19, 33, 14}},
      {form.CopiesED, {}, {18, 35, 49, 22}},                   {form.CollateCK, "C&ollate", {99, 17, 51, 17}},
      {form.DuplexCK, "&Duplex", {99, 40, 52, 17}},            {form.OKBB, "   OK   ", {188, 65, 89, 33}},
      {form.CancelBB, "Cancel", {188, 113, 89, 33}},           {form.SetupBB, "&Setup", {188, 161, 89, 33}},
  };
  for (const Expected& expected : controls) {
    const std::string name = expected.control->objectName().toStdString();
    EXPECT_EQ(expected.control->geometry(), expected.geometry) << name;
    if (expected.caption.isEmpty()) continue;
    QString caption;
    if (auto* group = qobject_cast<QGroupBox*>(expected.control)) caption = group->title();
    if (auto* label = qobject_cast<QLabel*>(expected.control)) caption = label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(expected.control)) caption = button->text();
    EXPECT_EQ(caption, expected.caption) << name;
  }
  EXPECT_EQ(form.CopiesLabel->buddy(), form.CopiesED);
  EXPECT_TRUE(form.OKBB->isDefault());
  EXPECT_FALSE(form.CancelBB->isDefault());
  EXPECT_FALSE(form.SetupBB->icon().isNull());
  EXPECT_FALSE(form.FileNameSB->icon().isNull());
}

TEST_F(SetupFormTest, DestinationModeStartsOnPreviewWithThePrinterNamed) {
  FakePrinters printers;
  reporting::TReportSystem system;
  TReportSetupForm form(system, Mode::Destination);
  form.show();
  EXPECT_EQ(form.PrinterLabel->text(), "Laser on LPT1:");
  EXPECT_TRUE(form.DestGB->isVisible());
  EXPECT_FALSE(form.RangeGB->isVisible());
  EXPECT_TRUE(form.PreviewRB->isChecked());
  EXPECT_TRUE(form.PrinterRB->isEnabled());
  EXPECT_TRUE(form.FileRB->isEnabled());
  EXPECT_FALSE(form.FileNameED->isEnabled());
  EXPECT_FALSE(form.FileNameSB->isEnabled());
  EXPECT_EQ(form.CopiesED->text(), "1");
  EXPECT_FALSE(form.CollateCK->isChecked());
  EXPECT_FALSE(form.DuplexCK->isChecked());
  for (QWidget* option : {static_cast<QWidget*>(form.CopiesED), static_cast<QWidget*>(form.CollateCK),
                          static_cast<QWidget*>(form.DuplexCK), static_cast<QWidget*>(form.SetupBB)}) {
    EXPECT_TRUE(option->isEnabled()) << option->objectName().toStdString();
  }

  form.FileRB->click();
  EXPECT_TRUE(form.FileNameED->isEnabled());
  EXPECT_TRUE(form.FileNameSB->isEnabled());
  form.PrinterRB->click();
  EXPECT_FALSE(form.FileNameED->isEnabled());
  EXPECT_FALSE(form.FileNameSB->isEnabled());
  form.FileRB->click();
  form.PreviewRB->click();
  EXPECT_FALSE(form.FileNameED->isEnabled());
}

TEST_F(SetupFormTest, WithoutPrintersOnlyPreviewCanBeChosen) {
  FakePrinters printers{std::vector<reporting::PrinterInfo>{}};
  reporting::TReportSystem system;
  system.DefaultDest = ReportDest::rdPrinter;  // not to be had: Preview is chosen instead
  TReportSetupForm form(system, Mode::Destination);
  EXPECT_EQ(form.PrinterLabel->text(), "No printers installed!");
  EXPECT_FALSE(form.PrinterRB->isEnabled());
  EXPECT_FALSE(form.FileRB->isEnabled());
  EXPECT_TRUE(form.PreviewRB->isEnabled());
  EXPECT_TRUE(form.PreviewRB->isChecked());
  EXPECT_FALSE(form.CopiesED->isEnabled());
  EXPECT_FALSE(form.CollateCK->isEnabled());
  EXPECT_FALSE(form.DuplexCK->isEnabled());
  EXPECT_FALSE(form.SetupBB->isEnabled());
  form.accept();
  EXPECT_EQ(system.ReportDestination, ReportDest::rdPreview);
}

TEST_F(SetupFormTest, DestinationsThatAreNotAllowedAreDisabled) {
  FakePrinters printers;
  reporting::TReportSystem system;
  system.SystemSetups.erase(reporting::SystemSetup::ssAllowDestFile);
  system.SystemSetups.erase(reporting::SystemSetup::ssAllowCopies);
  TReportSetupForm form(system, Mode::Destination);
  EXPECT_FALSE(form.FileRB->isEnabled());
  EXPECT_TRUE(form.PrinterRB->isEnabled());
  EXPECT_FALSE(form.CopiesED->isEnabled());
  EXPECT_TRUE(form.CollateCK->isEnabled());
}

TEST_F(SetupFormTest, OkSetsTheDestinationAndTheFileNameOnlyForFile) {
  FakePrinters printers;
  reporting::TReportSystem system;
  {
    TReportSetupForm form(system, Mode::Destination);
    form.FileRB->click();
    form.FileNameED->setText("/tmp/units.pdf");
    form.OKBB->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
  }
  EXPECT_EQ(system.ReportDestination, ReportDest::rdFile);
  EXPECT_EQ(system.OutputFileName, "/tmp/units.pdf");
  {
    TReportSetupForm form(system, Mode::Destination);
    form.PrinterRB->click();
    form.OKBB->click();
  }
  EXPECT_EQ(system.ReportDestination, ReportDest::rdPrinter);
  EXPECT_TRUE(system.OutputFileName.isEmpty());
}

TEST_F(SetupFormTest, CopiesTakeOnlyAWholeNumber) {
  FakePrinters printers;
  reporting::TReportSystem system;
  const auto typeCopies = [&](const QString& text) {
    TReportSetupForm form(system, Mode::Destination);
    form.CopiesED->setText(text);
    form.accept();
    return system.SystemPrinter.Copies;
  };
  EXPECT_EQ(typeCopies("3"), 3);
  EXPECT_EQ(typeCopies("two"), 3);
  EXPECT_EQ(typeCopies("2.5"), 3);
  EXPECT_EQ(typeCopies(""), 3);
  EXPECT_EQ(typeCopies(" 4 "), 4);
  TReportSetupForm again(system, Mode::Destination);
  EXPECT_EQ(again.CopiesED->text(), "4");  // the dialog shows the copies it was left with
}

TEST_F(SetupFormTest, TheDuplexBoxStartsClearEvenOnATwoSidedPrinter) {
  FakePrinters printers({{"Duplexer", {}, true, DuplexMode::dupHorizontal}});
  reporting::TReportSystem system;
  ASSERT_EQ(system.SystemPrinter.Duplex, DuplexMode::dupHorizontal);  // the printer's own setting
  {
    TReportSetupForm form(system, Mode::Destination);
    EXPECT_FALSE(form.DuplexCK->isChecked());
    form.CollateCK->setChecked(true);
    form.accept();
  }
  EXPECT_EQ(system.SystemPrinter.Duplex, DuplexMode::dupSimplex);
  EXPECT_TRUE(system.SystemPrinter.Collate);
  {
    TReportSetupForm form(system, Mode::Destination);
    form.DuplexCK->setChecked(true);
    form.accept();
  }
  EXPECT_EQ(system.SystemPrinter.Duplex, DuplexMode::dupVertical);
  system.SystemPrinter.Duplex = DuplexMode::dupHorizontal;
  {
    TReportSetupForm form(system, Mode::Destination);
    form.DuplexCK->setChecked(true);
    form.accept();
  }
  EXPECT_EQ(system.SystemPrinter.Duplex, DuplexMode::dupHorizontal);  // a mode already set stays
}

TEST_F(SetupFormTest, EnterIsOkAndEscapeIsCancel) {
  FakePrinters printers;
  reporting::TReportSystem system;
  {
    TReportSetupForm form(system, Mode::Destination);
    form.show();
    form.PrinterRB->setFocus();
    QTest::keyClick(&form, Qt::Key_Return);
    EXPECT_EQ(form.result(), QDialog::Accepted);
  }
  {
    TReportSetupForm form(system, Mode::Destination);
    form.show();
    form.FileRB->click();
    form.FileNameED->setFocus();
    QTest::keyClick(form.FileNameED, Qt::Key_Escape);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_FALSE(form.isVisible());
  }
  EXPECT_EQ(system.ReportDestination, ReportDest::rdPreview);  // the cancelled choice of File is not kept
}

TEST_F(SetupFormTest, SetupOpensThePrinterSetupAndNamesTheNewPrinter) {
  FakePrinters printers({{"Laser", "LPT1:", true, {}}, {"Plotter", {}, true, {}}});
  printers.onSetup = [&] { printers.chosen = 1; };
  reporting::TReportSystem system;
  TReportSetupForm form(system, Mode::Destination);
  form.SetupBB->click();
  EXPECT_EQ(printers.setups, 1);
  EXPECT_EQ(form.PrinterLabel->text(), "Plotter");  // no port known: the name alone
}

class SaveFileTest : public SetupFormTest {
 protected:
  // As the user types a whole path into the dialog's file name box.
  static void typeFileName(QFileDialog& files, const QString& path) {
    auto* name = files.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->setText(path);
  }
  // Browses from a setup dialog with File chosen; the script gets the save-file dialog.
  void browse(const std::function<void(QFileDialog&)>& script) {
    dialogs.on("SaveFileDialog", [script](QDialog& dialog) {
      auto* files = qobject_cast<QFileDialog*>(&dialog);
      ASSERT_NE(files, nullptr);
      script(*files);
    });
    form.FileRB->click();
    form.FileNameSB->click();
  }
  FakePrinters printers;
  reporting::TReportSystem system;
  TReportSetupForm form{system, Mode::Destination};
  QTemporaryDir folder;
};

TEST_F(SaveFileTest, OffersAllFilesAndPutsTheChosenFileIntoTheNameBox) {
  const QString chosen = folder.filePath("units.pdf");
  browse([&](QFileDialog& files) {
    EXPECT_EQ(files.nameFilters(), QStringList{"All Files (*.*)"});
    EXPECT_EQ(files.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(files.testOption(QFileDialog::DontConfirmOverwrite));
    typeFileName(files, chosen);
    static_cast<QDialog&>(files).accept();
  });
  EXPECT_EQ(form.FileNameED->text(), QDir::toNativeSeparators(chosen));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SaveFileTest, RefusesAReadOnlyFileAndAMissingFolder) {
  const QString locked = folder.filePath("locked.pdf");
  {
    QFile file(locked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadUser));
  browse([&](QFileDialog& files) {
    typeFileName(files, locked);
    static_cast<QDialog&>(files).accept();
    EXPECT_NE(files.result(), QDialog::Accepted);
    typeFileName(files, folder.filePath("missing/units.pdf"));
    static_cast<QDialog&>(files).accept();
    EXPECT_NE(files.result(), QDialog::Accepted);
    files.reject();
  });
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[0].caption, "Warning");
  EXPECT_TRUE(dialogs.messages[0].text.contains("read-only")) << dialogs.messages[0].text.toStdString();
  EXPECT_TRUE(dialogs.messages[1].text.contains("does not exist")) << dialogs.messages[1].text.toStdString();
  EXPECT_TRUE(form.FileNameED->text().isEmpty());
}

class RangeModeTest : public SetupFormTest {
 protected:
  FakePrinters printers;
  reporting::TReportSystem system;
  TReportSetupForm form{system, Mode::Range, 7};
  void SetUp() override { form.show(); }
};

TEST_F(RangeModeTest, StartsWithAllPagesAndTheCountInItsBoxes) {
  EXPECT_TRUE(form.RangeGB->isVisible());
  EXPECT_FALSE(form.DestGB->isVisible());
  EXPECT_EQ(form.PrinterLabel->text(), "Laser on LPT1:");
  EXPECT_TRUE(form.AllRB->isChecked());
  EXPECT_EQ(form.FromED->text(), "1");
  EXPECT_EQ(form.ToED->text(), "7");
  EXPECT_EQ(form.SelectionED->text(), "1-7");
  EXPECT_TRUE(form.SelectionLabel->isVisible());
  EXPECT_FALSE(form.SelectionLabel->isEnabled());
  EXPECT_FALSE(form.SelectionED->isEnabled());
  for (QWidget* hidden : {static_cast<QWidget*>(form.FromLabel), static_cast<QWidget*>(form.FromED),
                          static_cast<QWidget*>(form.ToLabel), static_cast<QWidget*>(form.ToED)}) {
    EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
  }
}

TEST_F(RangeModeTest, EachRangeOptionShowsAndEnablesItsOwnFields) {
  const std::vector<QWidget*> selection{form.SelectionLabel, form.SelectionED};
  const std::vector<QWidget*> pages{form.FromLabel, form.FromED, form.ToLabel, form.ToED};
  const auto expect = [](const std::vector<QWidget*>& fields, bool visible, bool enabled, const char* step) {
    for (QWidget* field : fields) {
      EXPECT_EQ(field->isVisible(), visible) << step << " " << field->objectName().toStdString();
      EXPECT_EQ(field->isEnabled(), enabled) << step << " " << field->objectName().toStdString();
    }
  };
  form.SelectionRB->click();
  expect(selection, true, true, "Selection");
  expect(pages, false, false, "Selection");
  form.PagesRB->click();
  expect(selection, false, false, "Pages");
  expect(pages, true, true, "Pages");
  form.AllRB->click();
  expect(pages, true, false, "All");
  expect(selection, false, false, "All");
  form.SelectionRB->click();
  expect(selection, true, true, "Selection again");
}

TEST_F(RangeModeTest, OkTakesTheSelectionOrThePagesAndTheCopies) {
  form.SelectionRB->click();
  form.SelectionED->setText("1-3,5");
  form.CopiesED->setText("2");
  form.accept();
  EXPECT_EQ(form.range().Selection, "1-3,5");
  EXPECT_EQ(form.range().FirstPage, 1);
  EXPECT_EQ(form.range().LastPage, 9999);
  EXPECT_EQ(system.SystemPrinter.Copies, 2);

  TReportSetupForm pages(system, Mode::Range, 7);
  pages.PagesRB->click();
  pages.FromED->setText("2");
  pages.ToED->setText("4");
  pages.accept();
  EXPECT_TRUE(pages.range().Selection.isEmpty());
  EXPECT_EQ(pages.range().FirstPage, 2);
  EXPECT_EQ(pages.range().LastPage, 4);
  EXPECT_EQ(pages.CopiesED->text(), "2");

  TReportSetupForm odd(system, Mode::Range, 7);
  odd.PagesRB->click();
  odd.FromED->setText("3");
  odd.ToED->setText("last");
  odd.accept();
  EXPECT_EQ(odd.range().FirstPage, 3);
  EXPECT_EQ(odd.range().LastPage, 9999);
  EXPECT_EQ(system.ReportDestination, ReportDest::rdPreview);  // range mode leaves the destination alone
}

TEST(PageSelectionTest, NumbersAndRangesWithinThePages) {
  using reporting::parsePageSelection;
  EXPECT_EQ(parsePageSelection("1-3,5", 7), (std::vector<int>{1, 2, 3, 5}));
  EXPECT_EQ(parsePageSelection("6-, -2", 7), (std::vector<int>{1, 2, 6, 7}));
  EXPECT_EQ(parsePageSelection("4,2,4", 7), (std::vector<int>{2, 4}));
  EXPECT_EQ(parsePageSelection("5-3", 7), (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(parsePageSelection("0,8,3-12", 5), (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(parsePageSelection("x,2,a-b,-", 5), (std::vector<int>{2}));
  EXPECT_TRUE(parsePageSelection("", 5).empty());
}

}  // namespace
}  // namespace windowtest
