#include "report_windows_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "report_engine/report_status_form.h"

namespace windowtest {

void ensureApplication() {
  if (QApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "test_report_engine";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);  // lives for the whole test program
}

int ScriptedDialogs::exec(QDialog& dialog) {
  shown.push_back(dialog.objectName());
  std::deque<Answer>& queue = answers[dialog.objectName()];
  if (queue.empty()) return QDialog::Rejected;
  const Answer answer = queue.front();
  queue.pop_front();
  dialog.show();
  QCoreApplication::processEvents();  // as the modal loop would, before the user acts
  answer(dialog);
  dialog.hide();
  return dialog.result();
}

ScriptedDialogs::Answer pressOk() {
  return [](QDialog& dialog) { dialog.findChild<QPushButton*>("OKBB")->click(); };
}

ScriptedDialogs::Answer pressCancel() {
  return [](QDialog& dialog) { dialog.findChild<QPushButton*>("CancelBB")->click(); };
}

ScriptedDialogs::Answer chooseDestination(const char* option, const QString& fileName) {
  return [option = QString::fromLatin1(option), fileName](QDialog& dialog) {
    dialog.findChild<QAbstractButton*>(option)->click();
    if (!fileName.isEmpty()) dialog.findChild<QLineEdit*>("FileNameED")->setText(fileName);
    dialog.findChild<QPushButton*>("OKBB")->click();
  };
}

FakePrinters::FakePrinters(std::vector<reporting::PrinterInfo> printers) : installed(std::move(printers)) {
  reporting::setPrinters(this);
}

FakePrinters::~FakePrinters() { reporting::setPrinters(nullptr); }

std::optional<reporting::PrinterInfo> FakePrinters::current() {
  if (installed.empty()) return std::nullopt;
  return installed[chosen];
}

void FakePrinters::setup(QWidget*) {
  ++setups;
  if (onSetup) onSetup();
}

bool FakePrinters::print(const reporting::PrintJob& job, const reporting::ReportDocument&,
                         const std::vector<int>& pages, const reporting::PageProgress& progress) {
  SentJob sent{job, {}, {}};
  for (const int page : pages) {
    if (whilePrinting) whilePrinting(page);
    if (progress && !progress(page)) return false;
    sent.pages.push_back(page);
    sent.statusTexts.push_back(statusText());
  }
  jobs.push_back(sent);
  return true;
}

namespace {

reporting::TReportStatusForm* visibleStatusWindow() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (auto* status = qobject_cast<reporting::TReportStatusForm*>(window); status && status->isVisible()) {
      return status;
    }
  }
  return nullptr;
}

}  // namespace

QString statusText() {
  reporting::TReportStatusForm* status = visibleStatusWindow();
  return status ? status->StatusLabel->text() : QString();
}

bool cancelStatusWindow() {
  reporting::TReportStatusForm* status = visibleStatusWindow();
  if (!status) return false;
  status->CancelButton->click();
  return true;
}

RowsConnection::RowsConnection(int rows) : DataConnection(QStringLiteral("TestUnits")), rows_(rows) {}

std::vector<reporting::FieldInfo> RowsConnection::fields() const {
  return {{QStringLiteral("Code"), reporting::DataType::dtInteger}, {QStringLiteral("Name"), reporting::DataType::dtString}};
}

reporting::FieldValue RowsConnection::value(int field) const {
  if (field == 0) return {row_ + 1, QString::number(row_ + 1)};
  const QString name = QStringLiteral("Unit %1").arg(row_ + 1);
  return {name, name};
}

void RowsConnection::moveFirst() {
  row_ = 0;
  reached();
}

void RowsConnection::moveNext() {
  ++row_;
  reached();
}

void RowsConnection::reached() {
  if (onRow && row_ < rows_) onRow(row_ + 1);
}

namespace {

reporting::Item textItem(reporting::ItemKind kind, double x, double width, const QString& text,
                         const QString& field = {}) {
  reporting::Item item;
  item.kind = kind;
  item.x = x;
  item.y = 0.5;
  item.width = width;
  item.height = 5;
  item.text = text;
  item.field = field;
  return item;
}

reporting::Band band(double height, std::vector<reporting::Item> items) {
  reporting::Band result;
  result.height = height;
  result.items = std::move(items);
  return result;
}

}  // namespace

reporting::ReportDefinition unitListReport() {
  using reporting::ItemKind;
  reporting::ReportDefinition report;
  report.name = QStringLiteral("UnitList");
  report.fullName = QStringLiteral("Unit list");
  report.category = QStringLiteral("User");
  report.dataViews.push_back({QStringLiteral("Units"), QStringLiteral("TestUnits"), {}});
  reporting::Item heading = textItem(ItemKind::Text, 0, 180, QStringLiteral("Unit list"));
  heading.font.size = 14;
  heading.font.bold = true;
  heading.height = 8;
  report.title = band(12, {heading});
  report.pageHeader = band(8, {textItem(ItemKind::Text, 0, 180, QStringLiteral("Lexicon of stratigraphic units"))});
  report.pageFooter = band(8, {textItem(ItemKind::PageNumber, 0, 180, QStringLiteral("Page %p of %P"))});
  reporting::Detail detail;
  detail.dataView = QStringLiteral("Units");
  reporting::DetailPart row;
  row.band = band(6, {textItem(ItemKind::Field, 0, 20, {}, QStringLiteral("Code")),
                      textItem(ItemKind::Field, 25, 120, {}, QStringLiteral("Name"))});
  detail.body.push_back(std::move(row));
  report.details.push_back(std::move(detail));
  return report;
}

reporting::ReportDocument denseDocument(int pages, int linesPerPage) {
  reporting::ReportDocument document;
  document.title = QStringLiteral("Dense");
  document.fonts = {reporting::FontSpec{}, reporting::FontSpec{QStringLiteral("Arial"), 12, true, false}};
  for (int number = 1; number <= pages; ++number) {
    reporting::Page page;
    page.boxes.push_back({QRectF(15, 12, 180, 10), 0.25, Qt::black, QColor(Qt::lightGray)});
    page.texts.push_back({QPointF(17, 19), QStringLiteral("Dense report, page %1").arg(number), 1, Qt::black});
    for (int line = 1; line <= linesPerPage; ++line) {
      const double baseline = 28 + (line - 1) * 4.2;
      page.texts.push_back({QPointF(15, baseline), QStringLiteral("Page %1 line %2: Formation of the group").arg(number).arg(line),
                            0, Qt::black});
      page.texts.push_back({QPointF(175, baseline), QString::number(number * 1000 + line * 7.5, 'f', 2), 0, Qt::black});
      if (line % 10 == 0) page.lines.push_back({QPointF(15, baseline + 1.2), QPointF(195, baseline + 1.2), 0.2, Qt::black});
    }
    document.pages.push_back(std::move(page));
  }
  return document;
}

}  // namespace windowtest
