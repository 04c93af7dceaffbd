// The engine's "Enter password" dialog, driven through the dialog seam, also against a protected
// database.
#include "ui/engine_password_dialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "db_engine/errors.h"
#include "db_engine/table.h"
#include "ui_test_support.h"

namespace {

using Passwords = std::vector<std::string>;

QPushButton& button(QDialog& dialog, const char* name) {
  auto* found = dialog.findChild<QPushButton*>(QString::fromLatin1(name));
  EXPECT_NE(found, nullptr) << name;
  return *found;
}
QLineEdit& passwordBox(QDialog& dialog) { return *dialog.findChild<QLineEdit*>("ePassword"); }
QListWidget& list(QDialog& dialog) { return *dialog.findChild<QListWidget*>("lbPasswords"); }

void addPassword(QDialog& dialog, const QString& password) {
  passwordBox(dialog).setText(password);
  button(dialog, "bAdd").click();
}

TEST(EnginePasswordDialog, AddRemoveAndRemoveAllManageTheList) {
  ui::EnginePasswordDialog dialog(nullptr, "VORL", {"pluvek"});
  EXPECT_EQ(dialog.windowTitle(), "Enter password");
  EXPECT_EQ(passwordBox(dialog).echoMode(), QLineEdit::Password);
  ASSERT_EQ(list(dialog).count(), 1);
  EXPECT_FALSE(list(dialog).item(0)->text().contains("pluvek")) << "passwords are never shown in clear";
  EXPECT_FALSE(button(dialog, "bAdd").isEnabled());

  addPassword(dialog, "first");
  addPassword(dialog, "second");
  EXPECT_EQ(list(dialog).count(), 3);
  EXPECT_TRUE(passwordBox(dialog).text().isEmpty());
  EXPECT_EQ(dialog.passwords(), (Passwords{"pluvek", "first", "second"}));

  list(dialog).setCurrentRow(1);
  button(dialog, "bRemove").click();
  EXPECT_EQ(dialog.passwords(), (Passwords{"pluvek", "second"}));

  button(dialog, "bRemoveAll").click();
  EXPECT_EQ(list(dialog).count(), 0);
  EXPECT_TRUE(dialog.passwords().empty());
  EXPECT_FALSE(button(dialog, "bRemoveAll").isEnabled());
}

TEST(EnginePasswordPrompt, OkReturnsTheListWithATypedPasswordAndCancelNothing) {
  test::RecordingDialogs dialogs;
  engine::PasswordPrompt prompt = ui::enginePasswordPrompt(nullptr);
  dialogs.answer = [](QDialog& dialog) {
    addPassword(dialog, "added");
    passwordBox(dialog).setText("typed");
    button(dialog, "bOK").click();
  };
  EXPECT_EQ(prompt("VORL", {"old"}), (Passwords{"old", "added", "typed"}));
  dialogs.answer = [](QDialog& dialog) {
    passwordBox(dialog).setText("typed");
    button(dialog, "bCancel").click();
  };
  EXPECT_EQ(prompt("VORL", {"old"}), std::nullopt);
  EXPECT_EQ(dialogs.executed, 2);
}

TEST(EnginePasswordPrompt, OpensAProtectedDatabaseOrFailsOnCancel) {
  test::RecordingDialogs dialogs;
  test::TestDatabase protectedDatabase("secret");
  engine::Session session;  // knows no password yet
  session.setAlias("TEST", protectedDatabase.directory());
  session.setPasswordPrompt(ui::enginePasswordPrompt(nullptr));

  dialogs.answer = [](QDialog& dialog) { button(dialog, "bCancel").click(); };
  engine::Table refused(session, "Units");
  refused.setDatabaseName("TEST");
  refused.setTableName("UNITS.DB");
  try {
    refused.open();
    FAIL() << "Cancel must fail the open";
  } catch (const engine::EngineError& error) {
    EXPECT_EQ(error.code(), engine::code::PasswordRequired);
  }

  dialogs.answer = [](QDialog& dialog) {
    passwordBox(dialog).setText("secret");
    button(dialog, "bOK").click();
  };
  engine::Table opened(session, "Units");
  opened.setDatabaseName("TEST");
  opened.setTableName("UNITS.DB");
  opened.open();
  EXPECT_TRUE(opened.active());
  EXPECT_EQ(session.passwords(), (Passwords{"secret"}));
}

}  // namespace
