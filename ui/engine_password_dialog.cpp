#include "ui/engine_password_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <algorithm>

#include "ui/dialog_seam.h"

namespace ui {
namespace {

// The list never shows a password in clear: the session may hold one the program registered itself.
const QString kMask(8, QChar(0x2022));

QPushButton* makeButton(QDialog* dialog, const QString& caption, const char* objectName, int top) {
  auto* button = new QPushButton(caption, dialog);
  button->setObjectName(QString::fromLatin1(objectName));
  button->setGeometry(216, top, 88, 25);
  return button;
}

}  // namespace

EnginePasswordDialog::EnginePasswordDialog(QWidget* parent, const QString& alias, std::vector<std::string> passwords)
    : QDialog(parent), passwords_(std::move(passwords)) {
  setWindowTitle(QStringLiteral("Enter password"));
  setFixedSize(312, 196);

  auto* database = new QLabel(QStringLiteral("Database: %1").arg(alias), this);
  database->setGeometry(8, 8, 200, 17);
  auto* label = new QLabel(QStringLiteral("&Password:"), this);
  label->setGeometry(8, 30, 200, 17);
  password_ = new QLineEdit(this);
  password_->setObjectName(QStringLiteral("ePassword"));
  password_->setEchoMode(QLineEdit::Password);
  password_->setGeometry(8, 48, 200, 22);
  label->setBuddy(password_);
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("lbPasswords"));
  list_->setGeometry(8, 78, 200, 110);

  add_ = makeButton(this, QStringLiteral("&Add"), "bAdd", 46);
  remove_ = makeButton(this, QStringLiteral("&Remove"), "bRemove", 76);
  removeAll_ = makeButton(this, QStringLiteral("Re&move all"), "bRemoveAll", 106);
  QPushButton* ok = makeButton(this, QStringLiteral("&OK"), "bOK", 136);
  QPushButton* cancel = makeButton(this, QStringLiteral("Cancel"), "bCancel", 166);
  ok->setDefault(true);

  connect(add_, &QPushButton::clicked, this, &EnginePasswordDialog::add);
  connect(remove_, &QPushButton::clicked, this, &EnginePasswordDialog::remove);
  connect(removeAll_, &QPushButton::clicked, this, &EnginePasswordDialog::removeAll);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(password_, &QLineEdit::textChanged, this, &EnginePasswordDialog::updateButtons);
  connect(list_, &QListWidget::currentRowChanged, this, &EnginePasswordDialog::updateButtons);
  showList();
}

std::vector<std::string> EnginePasswordDialog::passwords() const {
  std::vector<std::string> result = passwords_;
  const std::string typed = password_->text().toStdString();
  if (!typed.empty() && std::find(result.begin(), result.end(), typed) == result.end()) {
    result.push_back(typed);
  }
  return result;
}

void EnginePasswordDialog::add() {
  passwords_ = passwords();
  password_->clear();
  showList();
  password_->setFocus();
}

void EnginePasswordDialog::remove() {
  const int row = list_->currentRow();
  if (row >= 0 && row < static_cast<int>(passwords_.size())) {
    passwords_.erase(passwords_.begin() + row);
    showList();
  }
}

void EnginePasswordDialog::removeAll() {
  passwords_.clear();
  showList();
}

void EnginePasswordDialog::showList() {
  list_->clear();
  for (std::size_t entry = 0; entry < passwords_.size(); ++entry) {
    list_->addItem(kMask);
  }
  updateButtons();
}

void EnginePasswordDialog::updateButtons() {
  add_->setEnabled(!password_->text().isEmpty());
  remove_->setEnabled(list_->currentRow() >= 0);
  removeAll_->setEnabled(list_->count() > 0);
}

engine::PasswordPrompt enginePasswordPrompt(QWidget* parent) {
  QPointer<QWidget> owner(parent);
  return [owner](const std::string& alias,
                 const std::vector<std::string>& passwords) -> std::optional<std::vector<std::string>> {
    EnginePasswordDialog dialog(owner.data(), QString::fromStdString(alias), passwords);
    if (dialogs().exec(dialog) != QDialog::Accepted) {
      return std::nullopt;
    }
    return dialog.passwords();
  };
}

}  // namespace ui
