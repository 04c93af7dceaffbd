#pragma once
// Shared by the tests of the report windows: the application, a dialog seam that answers each
// dialog by its name, printers that record what they are sent, a data connection over rows held
// in memory, and reports and documents to run and show.
#include <gtest/gtest.h>

#include <QDialog>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <vector>

#include "report_engine/data_connection.h"
#include "report_engine/printers.h"
#include "report_engine/report_definition.h"
#include "report_engine/report_document.h"
#include "ui/dialog_seam.h"

class QWidget;

namespace windowtest {

void ensureApplication();

// The base of window tests: the application exists before the fixture's own windows.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest() { ensureApplication(); }
};

struct Message {
  ui::MessageKind kind;
  QString caption;
  QString text;
};

// Runs each dialog through the answer queued under its object name instead of a modal loop; the
// dialog is shown meanwhile, as it would be. A dialog without an answer is closed as cancelled.
class ScriptedDialogs : public ui::DialogSeam {
 public:
  using Answer = std::function<void(QDialog&)>;
  ScriptedDialogs() { ui::setDialogs(this); }
  ~ScriptedDialogs() override { ui::setDialogs(nullptr); }

  void message(QWidget*, ui::MessageKind kind, const QString& caption, const QString& text) override {
    messages.push_back({kind, caption, text});
  }
  int exec(QDialog& dialog) override;
  void on(const QString& dialogName, Answer answer) { answers[dialogName].push_back(std::move(answer)); }

  std::vector<Message> messages;
  QStringList shown;  // object names, in order
  std::map<QString, std::deque<Answer>> answers;
};

// Answers for the setup dialog.
ScriptedDialogs::Answer pressOk();
ScriptedDialogs::Answer pressCancel();
ScriptedDialogs::Answer chooseDestination(const char* option, const QString& fileName = {});

struct SentJob {
  reporting::PrintJob job;
  std::vector<int> pages;
  QStringList statusTexts;  // of the status window as each page went out
};

// Printers that print nothing: they keep the jobs they were sent.
class FakePrinters : public reporting::PrinterSeam {
 public:
  explicit FakePrinters(std::vector<reporting::PrinterInfo> printers = {{"Laser", "LPT1:", true, {}}});
  ~FakePrinters() override;

  std::optional<reporting::PrinterInfo> current() override;
  void setup(QWidget* parent) override;
  bool print(const reporting::PrintJob& job, const reporting::ReportDocument& document, const std::vector<int>& pages,
             const reporting::PageProgress& progress) override;

  std::vector<reporting::PrinterInfo> installed;
  std::size_t chosen = 0;
  int setups = 0;
  std::function<void()> onSetup;
  std::function<void(int page)> whilePrinting;  // before each page is told to the progress
  std::vector<SentJob> jobs;                    // finished ones only
};

// The text of the visible "Report Status" window, empty when there is none.
QString statusText();
// Clicks Cancel in the visible "Report Status" window; false when there is none.
bool cancelStatusWindow();

// A connection named "TestUnits" over rows of fields "Code" and "Name" ("Unit 1", "Unit 2", ...).
class RowsConnection : public reporting::DataConnection {
 public:
  explicit RowsConnection(int rows);

  std::vector<reporting::FieldInfo> fields() const override;
  reporting::FieldValue value(int field) const override;

  int begun = 0, restored = 0;
  std::function<void(int row)> onRow;  // as the layout reaches each row

 protected:
  void remember() override { ++begun; }
  void restore() override { ++restored; }
  void applyCondition(const QString&) override {}
  void moveFirst() override;
  void moveNext() override;
  bool atEnd() const override { return row_ >= rows_; }
  bool meetsCondition() const override { return true; }

 private:
  void reached();
  int rows_;
  int row_ = 0;
};

// "Unit list": a title, a page header, one line per row of "TestUnits" and "Page %p of %P" below.
reporting::ReportDefinition unitListReport();

// A document of pages with about sixty lines of text each, "Page N line M".
reporting::ReportDocument denseDocument(int pages, int linesPerPage = 60);

}  // namespace windowtest

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
