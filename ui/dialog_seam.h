#pragma once
// Every modal interaction goes through this seam, so tests script it instead of waiting on a
// real modal loop.
#include <QList>
#include <QString>

class QDialog;
class QProgressDialog;
class QWidget;

namespace ui {

enum class MessageKind { Error, Warning, Information };

class DialogSeam {
 public:
  virtual ~DialogSeam() = default;
  // A modal message box with one OK button, the kind's icon and the caption.
  virtual void message(QWidget* parent, MessageKind kind, const QString& caption, const QString& text) = 0;
  // Runs a dialog modally and returns its result (QDialog::Accepted or QDialog::Rejected).
  virtual int exec(QDialog& dialog) = 0;
  // Moves a window-modal progress dialog on to value; false once the user has cancelled it.
  virtual bool progress(QProgressDialog& dialog, int value);
};

// The seam in force: the real one unless a test installed its own (nullptr restores the real one).
DialogSeam& dialogs();
void setDialogs(DialogSeam* seam);

// The application title, the caption of the standard error box.
inline constexpr const char* kApplicationTitle = "VORL Database";

void showWarning(QWidget* parent, const QString& text);      // caption "Warning"
void showInformation(QWidget* parent, const QString& text);  // caption "Information"
// A question with OK and Cancel, Cancel the default (Enter) and Escape, caption "Confirm"; its box
// runs through the seam's exec. True only when OK was chosen.
bool confirmed(QWidget* parent, const QString& question);
// A kind of file the save-file question offers: "CSV files" with the suffix "csv".
struct FileType {
  QString description;
  QString suffix;
};
// The toolkit's save-file dialog, run through the seam's exec; it asks before replacing a file, and
// a name typed without an extension gets the suffix of the chosen type. Empty when cancelled.
QString askSaveFileName(QWidget* parent, const QString& caption, const QString& fileName, const QList<FileType>& types);

// The standard error box: caption the application title, error icon, text with the full-stop rule.
void showError(QWidget* parent, const QString& text);

// Appends a full stop unless the last character already sorts at or before it.
QString withFullStop(const QString& text);

}  // namespace ui
