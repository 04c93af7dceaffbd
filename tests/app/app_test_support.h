#pragma once
// Shared ground for the main window tests: the offscreen application, a scripted dialog seam,
// small databases built through the engine, and a fixture that creates the program's objects.
#include <gtest/gtest.h>

#include <QDialog>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/edit_password_dialog.h"
#include "app/main_window.h"
#include "data/dm_ab_results.h"
#include "data/dm_unit_dated.h"
#include "data/dm_vorl.h"
#include "db_engine/session.h"
#include "ui/dialog_seam.h"

namespace apptest {

void ensureApplication();

// Records every message and answers every modal dialog through `answer`.
class ScriptedDialogs : public ui::DialogSeam {
 public:
  struct Message {
    ui::MessageKind kind;
    QString caption;
    QString text;
  };
  void message(QWidget* parent, ui::MessageKind kind, const QString& caption, const QString& text) override;
  int exec(QDialog& dialog) override;

  std::vector<Message> messages;
  std::vector<QString> shownDialogs;  // object names, in order
  std::function<int(QDialog&)> answer = [](QDialog&) { return int(QDialog::Rejected); };
};

// Types text into the editing password dialog and closes it with result.
std::function<int(QDialog&)> typePassword(const QString& text, int result = QDialog::Accepted);

// Rows given as text, one string per field; an empty string leaves the field empty.
using Rows = std::vector<std::vector<std::string>>;
void appendRows(engine::Session& session, const std::string& database, const std::string& table,
                const std::vector<std::string>& fields, const Rows& rows);

// Creates the three databases under root with the program's schemas and returns the engine
// configuration. The lexicon and results are filled by fill (may be empty).
std::string createDatabases(const QString& root, const std::function<void(engine::Session&)>& fill);
// The small lexicon and results that most tests browse (see the .cpp for its units).
void fillSmallLexicon(engine::Session& session, bool withSouthAfrica = true);
void fillSmallResults(engine::Session& session);
// A private copy of the bundled sample databases under root.
std::string copySampleDatabases(const QString& root);
// Runs SQL straight on an alias' database file (to damage it for failure tests).
void executeOn(const std::string& configuration, const std::string& alias, const std::string& sql);

// Unit codes of the small lexicon.
namespace unit {
inline constexpr int Karoo = 100, Dwyka = 110, Elandsvlei = 111, Mbizane = 112, Ecca = 120, Collingham = 121,
                     Matjiesfontein = 1211, Withdrawn = 130, Aranos = 150, Kalkrand = 220, Nama = 200, Kuibis = 210;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  void writeSettingsFile(const std::string& text);
  std::string readSettingsFile() const;
  // Builds the five objects over configuration (the small databases unless told otherwise).
  void createProgram(const std::string& configuration);
  void createProgram() { createProgram(smallDatabases()); }
  std::string smallDatabases();
  // Shows the window: the show handler runs.
  void showWindow();

  template <typename Widget>
  Widget* find(const char* name) const {
    auto* widget = window->findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  vorl::PageControl& outerTabs() const;
  vorl::PageControl& innerTabs() const;
  void showTab(const char* name);  // a tab of either page control, as a click would
  int currentCode() const;
  std::vector<QString> messageTexts() const;

  QTemporaryDir directory;
  ScriptedDialogs dialogs;
  std::unique_ptr<engine::Session> session;
  std::unique_ptr<data::TdmVORL> dmVORL;
  std::unique_ptr<TfmGetEditPassword> fmGetEditPassword;
  std::unique_ptr<data::TdmABResults> dmABResults;
  std::unique_ptr<data::TdmUnitDated> dmUnitDated;
  std::unique_ptr<TfmVORL1> window;
};

}  // namespace apptest
