#pragma once
// Shared by the ui tests: a dialog seam that records messages and answers dialogs by script, and
// a small database in a temporary directory with a unit table and a country table.
#include <QDialog>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "db_engine/data_source.h"
#include "db_engine/session.h"
#include "db_engine/table.h"
#include "ui/dialog_seam.h"

namespace test {

struct RecordedMessage {
  ui::MessageKind kind;
  QString caption;
  QString text;
};

class RecordingDialogs : public ui::DialogSeam {
 public:
  RecordingDialogs() { ui::setDialogs(this); }
  ~RecordingDialogs() override { ui::setDialogs(nullptr); }

  void message(QWidget*, ui::MessageKind kind, const QString& caption, const QString& text) override {
    messages.push_back({kind, caption, text});
  }
  // Runs the script on the dialog instead of a modal loop; the dialog's result is the answer.
  int exec(QDialog& dialog) override {
    ++executed;
    if (answer) {
      answer(dialog);
    }
    return dialog.result();
  }

  std::vector<RecordedMessage> messages;
  std::function<void(QDialog&)> answer;
  int executed = 0;
};

struct UnitRow {
  int code;
  std::string name;
  std::string rank;
  std::string dated;
  std::string years;
  std::string notes;
};

// Tables "UNITS.DB" (Code key, Name of 10 characters, Rank, Dated, Years "###0.00", Notes memo)
// and "COUNTRY.DB" (CountryID key, CountryName) under the alias "TEST".
class TestDatabase {
 public:
  explicit TestDatabase(const std::string& password = {});
  engine::Session& session() { return session_; }
  const std::string& directory() const { return directory_; }
  // A closed table of the database, with its data source "ds" + name.
  std::unique_ptr<engine::Table> table(const std::string& name, const std::string& tableName);
  void addUnits(const std::vector<UnitRow>& rows);
  void addCountries(const std::vector<std::pair<std::string, std::string>>& countries);

 private:
  QTemporaryDir temporary_;
  std::string directory_;
  engine::Session session_;
};

// An open unit table with its data source: rows 1 "Alpha", 2 "Beta", 3 "Gamma".
struct UnitsFixture {
  explicit UnitsFixture(bool readOnly = false);
  TestDatabase database;
  std::unique_ptr<engine::Table> units;
  engine::DataSource source{"dsUnits"};
};

}  // namespace test

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
