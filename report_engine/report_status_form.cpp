#include "report_engine/report_status_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

#include "report_engine/report_form_support.h"

namespace reporting {

TReportStatusForm::TReportStatusForm(const QString& caption, const QString& statusFormat, QWidget* parent)
    : QDialog(parent), statusFormat_(statusFormat) {
  setObjectName(QStringLiteral("ReportStatusForm"));
  setWindowTitle(caption);
  // A title bar with no buttons at all.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
  // Other windows take no clicks while the run holds the thread, but the run itself goes on.
  setWindowModality(Qt::ApplicationModal);
  setFont(systemFont(10));
  setFixedSize(361, 113);

  StatusLabel = place(new QLabel(this), "StatusLabel", 8, 16, 345, 49);
  StatusLabel->setAlignment(Qt::AlignCenter);
  CancelButton = place(new QPushButton(QStringLiteral("Cancel"), this), "CancelButton", 136, 72, 89, 33);
  connect(CancelButton, &QPushButton::clicked, this, [this] { cancelled_ = true; });
  StatusLabel->setText(statusText(1));  // the first page is under way as the window opens
}

QString TReportStatusForm::statusText(int page) const {
  QString text = statusFormat_;
  return text.replace(QStringLiteral("%p"), QString::number(page));
}

bool TReportStatusForm::pageDone(int page) {
  StatusLabel->setText(statusText(page));
  // The run keeps the thread: let the label repaint and the Cancel click arrive now.
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  return !cancelled_;
}

void TReportStatusForm::finish() {
  finished_ = true;
  hide();
}

void TReportStatusForm::reject() { cancelled_ = true; }

void TReportStatusForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  centreOnScreen(*this);
}

void TReportStatusForm::closeEvent(QCloseEvent* event) {
  if (!finished_) event->ignore();
}

}  // namespace reporting
