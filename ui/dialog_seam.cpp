#include "ui/dialog_seam.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>

namespace ui {
namespace {

QMessageBox::Icon iconOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Information: return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

class WindowSystemDialogs : public DialogSeam {
 public:
  void message(QWidget* parent, MessageKind kind, const QString& caption, const QString& text) override {
    QMessageBox box(iconOf(kind), caption, text, QMessageBox::Ok, parent);
    box.exec();
  }
  int exec(QDialog& dialog) override { return dialog.exec(); }
};

WindowSystemDialogs& windowSystemDialogs() {
  static WindowSystemDialogs seam;
  return seam;
}

DialogSeam* installed = nullptr;

}  // namespace

bool DialogSeam::progress(QProgressDialog& dialog, int value) {
  dialog.setValue(value);  // takes the window system's events, the Cancel button among them
  return !dialog.wasCanceled();
}

DialogSeam& dialogs() { return installed ? *installed : windowSystemDialogs(); }

void setDialogs(DialogSeam* seam) { installed = seam; }

void showWarning(QWidget* parent, const QString& text) {
  dialogs().message(parent, MessageKind::Warning, QStringLiteral("Warning"), text);
}

void showInformation(QWidget* parent, const QString& text) {
  dialogs().message(parent, MessageKind::Information, QStringLiteral("Information"), text);
}

bool confirmed(QWidget* parent, const QString& question) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), question, QMessageBox::Ok | QMessageBox::Cancel,
                  parent);
  box.setDefaultButton(QMessageBox::Cancel);
  box.setEscapeButton(QMessageBox::Cancel);
  dialogs().exec(box);
  return box.clickedButton() == box.button(QMessageBox::Ok);
}

QString askSaveFileName(QWidget* parent, const QString& caption, const QString& fileName, const QList<FileType>& types) {
  QFileDialog dialog(parent, caption);
  dialog.setObjectName(QStringLiteral("SaveFileDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontUseNativeDialog);  // the same dialog under every desktop, and scriptable
  QStringList filters;
  for (const FileType& type : types) filters << QStringLiteral("%1 (*.%2)").arg(type.description, type.suffix);
  dialog.setNameFilters(filters);
  if (!types.isEmpty()) dialog.setDefaultSuffix(types.front().suffix);
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
    if (const auto index = filters.indexOf(filter); index >= 0) dialog.setDefaultSuffix(types[index].suffix);
  });
  if (!fileName.isEmpty()) dialog.selectFile(fileName);
  if (dialogs().exec(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

void showError(QWidget* parent, const QString& text) {
  dialogs().message(parent, MessageKind::Error, QString::fromLatin1(kApplicationTitle), withFullStop(text));
}

QString withFullStop(const QString& text) {
  if (text.isEmpty() || text.back() <= QChar(u'.')) {
    return text;
  }
  return text + u'.';
}

}  // namespace ui
