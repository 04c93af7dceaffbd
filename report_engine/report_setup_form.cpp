#include "report_engine/report_setup_form.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "report_engine/report_form_support.h"
#include "report_engine/report_glyphs.h"
#include "ui/dialog_seam.h"
#include "ui/handler_guard.h"

namespace reporting {
namespace {

// The save-file dialog of the browse button: it refuses a file in a folder that does not exist
// and a file that is read-only; the toolkit's dialog asks before overwriting.
class SaveFileDialog : public QFileDialog {
 public:
  SaveFileDialog(QWidget* parent, const QString& fileName) : QFileDialog(parent) {
    setObjectName(QStringLiteral("SaveFileDialog"));
    setWindowTitle(QStringLiteral("Save As"));
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setOption(QFileDialog::DontUseNativeDialog);
    setNameFilter(QStringLiteral("All Files (*.*)"));
    if (!fileName.isEmpty()) selectFile(fileName);
  }

  void accept() override {
    const QStringList files = selectedFiles();
    if (!files.isEmpty()) {
      const QFileInfo chosen(files.front());
      if (!chosen.isDir()) {
        if (!chosen.absoluteDir().exists()) {
          ui::showWarning(this, QStringLiteral("The folder \"%1\" does not exist.")
                                    .arg(QDir::toNativeSeparators(chosen.absolutePath())));
          return;
        }
        if (chosen.exists() && !(chosen.permissions() & QFileDevice::WriteOwner)) {
          ui::showWarning(this, QStringLiteral("\"%1\" is read-only. Choose another file name.")
                                    .arg(QDir::toNativeSeparators(chosen.absoluteFilePath())));
          return;
        }
      }
    }
    QFileDialog::accept();
  }
};

template <typename Handler>
auto guard(QWidget* parent, Handler handler) {
  return [parent, handler] { ui::guarded(parent, handler); };
}

}  // namespace

TReportSetupForm::TReportSetupForm(TReportSystem& system, Mode mode, int pageCount, QWidget* parent)
    : QDialog(parent), system_(system), mode_(mode) {
  setObjectName(QStringLiteral("ReportSetupForm"));
  setWindowTitle(system.TitleSetup);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFont(designFont(QStringLiteral("Arial"), 8));
  QPalette black = palette();
  black.setColor(QPalette::WindowText, Qt::black);
  setPalette(black);
  setFixedSize(287, 218);

  GroupBox1 = place(new QGroupBox(QStringLiteral("Selected Printer"), this), "GroupBox1", 8, 3, 270, 36);
  PrinterLabel = place(new QLabel(QStringLiteral("(none)"), GroupBox1), "PrinterLabel", 10, 15, 250, 13);

  DestGB = place(new QGroupBox(QStringLiteral("Report Destination"), this), "DestGB", 8, 39, 169, 105);
  PrinterRB = place(new QRadioButton(QStringLiteral("&Printer"), DestGB), "PrinterRB", 8, 16, 153, 17);
  PreviewRB = place(new QRadioButton(QStringLiteral("Pre&view"), DestGB), "PreviewRB", 8, 36, 153, 17);
  FileRB = place(new QRadioButton(QStringLiteral("&File"), DestGB), "FileRB", 8, 56, 153, 17);
  FileNameED = place(new QLineEdit(DestGB), "FileNameED", 24, 78, 113, 22);
  FileNameSB = place(new QToolButton(DestGB), "FileNameSB", 138, 78, 20, 20);
  FileNameSB->setIcon(browseGlyph());
  FileNameSB->setFocusPolicy(Qt::NoFocus);

  RangeGB = place(new QGroupBox(QStringLiteral("Print Range"), this), "RangeGB", 8, 39, 169, 105);
  AllRB = place(new QRadioButton(QStringLiteral("All"), RangeGB), "AllRB", 8, 16, 153, 17);
  SelectionRB = place(new QRadioButton(QStringLiteral("Selection"), RangeGB), "SelectionRB", 8, 36, 153, 17);
  PagesRB = place(new QRadioButton(QStringLiteral("Pages"), RangeGB), "PagesRB", 8, 56, 153, 17);
  SelectionLabel = place(new QLabel(QStringLiteral("Selection"), RangeGB), "SelectionLabel", 8, 84, 44, 13);
  SelectionED = place(new QLineEdit(RangeGB), "SelectionED", 56, 80, 105, 21);
  FromLabel = place(new QLabel(QStringLiteral("From"), RangeGB), "FromLabel", 8, 84, 23, 13);
  FromED = place(new QLineEdit(RangeGB), "FromED", 40, 80, 41, 21);
  ToLabel = place(new QLabel(QStringLiteral("to"), RangeGB), "ToLabel", 88, 84, 9, 13);
  ToED = place(new QLineEdit(RangeGB), "ToED", 104, 80, 57, 21);

  GroupBox2 = place(new QGroupBox(QStringLiteral("Options"), this), "GroupBox2", 8, 144, 169, 65);
  CopiesLabel = place(new QLabel(QStringLiteral("&Copies"), GroupBox2), "CopiesLabel", 17, 19, 33, 14);
  CopiesED = place(new QLineEdit(GroupBox2), "CopiesED", 18, 35, 49, 22);
  CopiesLabel->setBuddy(CopiesED);
  CollateCK = place(new QCheckBox(QStringLiteral("C&ollate"), GroupBox2), "CollateCK", 99, 17, 51, 17);
  DuplexCK = place(new QCheckBox(QStringLiteral("&Duplex"), GroupBox2), "DuplexCK", 99, 40, 52, 17);

  const QFont buttonFont = systemFont(10, true);
  OKBB = place(new QPushButton(QStringLiteral("   OK   "), this), "OKBB", 188, 65, 89, 33);
  CancelBB = place(new QPushButton(QStringLiteral("Cancel"), this), "CancelBB", 188, 113, 89, 33);
  SetupBB = place(new QPushButton(QStringLiteral("&Setup"), this), "SetupBB", 188, 161, 89, 33);
  SetupBB->setIcon(printerSetupGlyph());
  for (QPushButton* button : {OKBB, CancelBB, SetupBB}) {
    button->setFont(buttonFont);
    button->setAutoDefault(false);
  }
  OKBB->setDefault(true);  // Enter; Escape rejects the dialog as Cancel does

  connect(OKBB, &QPushButton::clicked, this, &TReportSetupForm::accept);
  connect(CancelBB, &QPushButton::clicked, this, &QDialog::reject);
  connect(FileNameSB, &QToolButton::clicked, this, guard(this, [this] { FileNameSBClick(); }));
  connect(SetupBB, &QPushButton::clicked, this, guard(this, [this] { SetupBBClick(); }));
  for (QRadioButton* option : {PrinterRB, PreviewRB, FileRB}) {
    connect(option, &QRadioButton::toggled, this, [this](bool on) {
      if (on) destinationChosen();
    });
  }
  for (QRadioButton* option : {AllRB, SelectionRB, PagesRB}) {
    connect(option, &QRadioButton::toggled, this, [this](bool on) {
      if (on) rangeChosen();
    });
  }

  fillPrinterLabel();
  const bool destination = mode == Mode::Destination;
  DestGB->setVisible(destination);
  RangeGB->setVisible(!destination);

  if (destination) {
    if (!havePrinter_) {
      PrinterRB->setEnabled(false);
      FileRB->setEnabled(false);
      PreviewRB->setChecked(true);
    } else {
      PrinterRB->setEnabled(system.allows(SystemSetup::ssAllowDestPrinter));
      PreviewRB->setEnabled(system.allows(SystemSetup::ssAllowDestPreview));
      FileRB->setEnabled(system.allows(SystemSetup::ssAllowDestFile));
      QRadioButton* preferred = system.DefaultDest == ReportDest::rdPrinter ? PrinterRB
                                : system.DefaultDest == ReportDest::rdFile  ? FileRB
                                                                            : PreviewRB;
      if (!preferred->isEnabled()) {
        for (QRadioButton* option : {PreviewRB, PrinterRB, FileRB}) {
          if (option->isEnabled()) {
            preferred = option;
            break;
          }
        }
      }
      preferred->setChecked(true);
    }
    destinationChosen();
  } else {
    FromED->setText(QStringLiteral("1"));
    ToED->setText(QString::number(pageCount));
    SelectionED->setText(QStringLiteral("1-") + QString::number(pageCount));
    FromLabel->hide();
    FromED->hide();
    ToLabel->hide();
    ToED->hide();
    AllRB->setChecked(true);
    rangeChosen();
  }

  CopiesED->setText(QString::number(system.SystemPrinter.Copies));
  CollateCK->setChecked(false);
  DuplexCK->setChecked(false);  // even when the printer is set to two-sided
  CopiesED->setEnabled(havePrinter_ && system.allows(SystemSetup::ssAllowCopies));
  CopiesLabel->setEnabled(CopiesED->isEnabled());
  CollateCK->setEnabled(havePrinter_ && system.allows(SystemSetup::ssAllowCollate));
  DuplexCK->setEnabled(havePrinter_ && system.allows(SystemSetup::ssAllowDuplex));
  SetupBB->setEnabled(havePrinter_ && system.allows(SystemSetup::ssAllowPrinterSetup));
}

void TReportSetupForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  centreOnScreen(*this);
}

void TReportSetupForm::fillPrinterLabel() {
  const std::optional<PrinterInfo> printer = printers().current();
  havePrinter_ = printer.has_value();
  if (!printer) {
    PrinterLabel->setText(QStringLiteral("No printers installed!"));
  } else if (printer->port.isEmpty()) {
    PrinterLabel->setText(printer->name);
  } else {
    PrinterLabel->setText(
        QString::asprintf("%s on %s", printer->name.toUtf8().constData(), printer->port.toUtf8().constData()));
  }
}

void TReportSetupForm::destinationChosen() {
  const bool toFile = FileRB->isChecked();
  FileNameED->setEnabled(toFile);
  FileNameSB->setEnabled(toFile);
}

void TReportSetupForm::rangeChosen() {
  if (AllRB->isChecked()) {
    for (QWidget* field : {static_cast<QWidget*>(SelectionLabel), static_cast<QWidget*>(SelectionED),
                           static_cast<QWidget*>(FromLabel), static_cast<QWidget*>(FromED),
                           static_cast<QWidget*>(ToLabel), static_cast<QWidget*>(ToED)}) {
      field->setEnabled(false);
    }
    return;
  }
  const bool selection = SelectionRB->isChecked();
  for (QWidget* field : {static_cast<QWidget*>(FromLabel), static_cast<QWidget*>(FromED),
                         static_cast<QWidget*>(ToLabel), static_cast<QWidget*>(ToED)}) {
    field->setVisible(!selection);
    field->setEnabled(!selection);
  }
  for (QWidget* field : {static_cast<QWidget*>(SelectionLabel), static_cast<QWidget*>(SelectionED)}) {
    field->setVisible(selection);
    field->setEnabled(selection);
  }
}

void TReportSetupForm::FileNameSBClick() {
  SaveFileDialog dialog(this, FileNameED->text());
  if (ui::dialogs().exec(dialog) != QDialog::Accepted) return;
  const QStringList files = dialog.selectedFiles();
  if (!files.isEmpty()) FileNameED->setText(QDir::toNativeSeparators(files.front()));
}

void TReportSetupForm::SetupBBClick() {
  printers().setup(this);
  fillPrinterLabel();
}

void TReportSetupForm::applyPrinterOptions() {
  SystemPrinterSettings& printer = system_.SystemPrinter;
  if (CopiesED->isEnabled()) {
    bool whole = false;
    const int copies = CopiesED->text().trimmed().toInt(&whole);
    if (whole && copies >= 1) printer.Copies = copies;
  }
  if (CollateCK->isEnabled()) printer.Collate = CollateCK->isChecked();
  if (DuplexCK->isEnabled()) {
    if (!DuplexCK->isChecked()) {
      printer.Duplex = DuplexMode::dupSimplex;
    } else if (printer.Duplex == DuplexMode::dupSimplex) {
      printer.Duplex = DuplexMode::dupVertical;
    }
  }
}

void TReportSetupForm::accept() {
  if (mode_ == Mode::Destination) {
    if (PrinterRB->isChecked()) {
      system_.ReportDestination = ReportDest::rdPrinter;
      system_.OutputFileName.clear();
    } else if (FileRB->isChecked()) {
      system_.ReportDestination = ReportDest::rdFile;
      system_.OutputFileName = FileNameED->text();
    } else {
      system_.ReportDestination = ReportDest::rdPreview;
      system_.OutputFileName.clear();
    }
  } else {
    range_ = PrintRange{};
    if (SelectionRB->isChecked()) {
      range_.Selection = SelectionED->text();
    } else if (PagesRB->isChecked()) {
      // A page number that is no whole number leaves that end of the range open.
      bool whole = false;
      const int first = FromED->text().trimmed().toInt(&whole);
      if (whole) range_.FirstPage = first;
      const int last = ToED->text().trimmed().toInt(&whole);
      if (whole) range_.LastPage = last;
    }
  }
  applyPrinterOptions();
  QDialog::accept();
}

}  // namespace reporting
