#pragma once
// Shared by the tests of the report selection window and the print commands: a dialog seam that
// shows each dialog and answers it by its object name, report project files written for a test,
// and the text of a PDF file.
#include <QCoreApplication>
#include <QDialog>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <vector>

#include "report_engine/printers.h"
#include "ui/dialog_seam.h"

namespace reports_test {

struct Message {
  ui::MessageKind kind;
  QString caption;
  QString text;
};

using Answer = std::function<void(QDialog&)>;
using AnswerScript = std::map<QString, std::deque<Answer>>;

// Shows the dialog, as the modal loop would, runs the answer queued under its object name and
// returns its result; a dialog without an answer is closed as cancelled.
inline int answerByName(QDialog& dialog, AnswerScript& script) {
  dialog.show();
  QCoreApplication::processEvents();
  std::deque<Answer>& queue = script[dialog.objectName()];
  if (queue.empty()) {
    dialog.reject();
  } else {
    const Answer answer = queue.front();
    queue.pop_front();
    answer(dialog);
  }
  dialog.hide();
  return dialog.result();
}

// Answers every dialog by its object name and keeps the messages.
class ScriptedWindows : public ui::DialogSeam {
 public:
  ScriptedWindows() { ui::setDialogs(this); }
  ~ScriptedWindows() override { ui::setDialogs(nullptr); }

  void message(QWidget*, ui::MessageKind kind, const QString& caption, const QString& text) override {
    messages.push_back({kind, caption, text});
  }
  int exec(QDialog& dialog) override {
    shown.push_back(dialog.objectName());
    return answerByName(dialog, answers);
  }
  void on(const QString& dialogName, Answer answer) { answers[dialogName].push_back(std::move(answer)); }

  std::vector<Message> messages;
  QStringList shown;
  AnswerScript answers;
};

// One printer that prints nothing, installed while it exists: the setup dialog offers the file
// destination only where a printer is installed.
class OnePrinter : public reporting::PrinterSeam {
 public:
  OnePrinter() { reporting::setPrinters(this); }
  ~OnePrinter() override { reporting::setPrinters(nullptr); }
  std::optional<reporting::PrinterInfo> current() override { return reporting::PrinterInfo{"Laser", {}, true, {}}; }
  void setup(QWidget*) override {}
  bool print(const reporting::PrintJob&, const reporting::ReportDocument&, const std::vector<int>&,
             const reporting::PageProgress&) override {
    ++jobs;
    return true;
  }
  int jobs = 0;
};

// The setup dialog's answer that sends the report into a PDF file.
Answer toFile(const QString& fileName);

struct ReportEntry {
  QString name;
  QString fullName;
  QString category;
  QString description;
};

// A project whose reports print a title "Report <Name>" and the Name of every root unit.
QString projectText(const std::vector<ReportEntry>& reports);
void writeFile(const QString& path, const QString& text);

// What pdftotext reads from a PDF file; empty when it cannot.
QString pdfText(const QString& path);

}  // namespace reports_test

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
