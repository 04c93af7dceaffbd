#pragma once
// The engine's "Enter password" dialog: the user keeps a list of passwords for the session, which
// the engine tries on a protected database.
#include <QDialog>
#include <string>
#include <vector>

#include "db_engine/session.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace ui {

class EnginePasswordDialog : public QDialog {
  Q_OBJECT
 public:
  EnginePasswordDialog(QWidget* parent, const QString& alias, std::vector<std::string> passwords);

  // The list, with a password typed but not added counted as added.
  std::vector<std::string> passwords() const;

 private:
  void add();
  void remove();
  void removeAll();
  void showList();
  void updateButtons();

  std::vector<std::string> passwords_;
  QLineEdit* password_;
  QListWidget* list_;
  QPushButton* add_;
  QPushButton* remove_;
  QPushButton* removeAll_;
};

// The session's password prompt: shows the dialog through the dialog seam; the list on OK,
// nothing on Cancel.
engine::PasswordPrompt enginePasswordPrompt(QWidget* parent);

}  // namespace ui
