// The data-aware controls bound to one field: edit box, memo, check box and display text.
#include "ui/data_controls.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include "ui/field_link.h"
#include "ui/handler_guard.h"
#include "ui/text_editing.h"

namespace ui {

// --- DataEdit ---

DataEdit::DataEdit(QWidget* parent, engine::DataSource* source, const QString& fieldName) : QLineEdit(parent) {
  TextEditing::View view{[this] { return text(); },
                         [this](const QString& value) {
                           if (text() != value) {
                             setText(value);
                           }
                           if (!hasFocus()) {
                             home(false);  // a long value shows its beginning
                           }
                         },
                         [this](bool readOnly) { setReadOnly(readOnly); }, [this] { return hasFocus(); }};
  editing_ = std::make_unique<TextEditing>(source, fieldName, std::move(view));
  connect(this, &QLineEdit::textEdited, this, [this] { guarded(this, [this] { editing_->userEdited(); }); });
}

DataEdit::~DataEdit() = default;

void DataEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  QLineEdit::mouseDoubleClickEvent(event);
  emit doubleClicked();
}

void DataEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  guarded(this, [this] { editing_->showField(); });  // the edit text replaces the display text
}

void DataEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  guarded(this, [this] {
    editing_->commit();
    editing_->showField();  // the display text comes back
  });
}

void DataEdit::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: guarded(this, [this] { editing_->commit(); }); break;
    case Qt::Key_Escape:
      if (editing_->pending() || editing_->link().editing()) {
        guarded(this, [this] { editing_->revert(); });
        event->accept();
        return;
      }
      break;
    default: break;
  }
  QLineEdit::keyPressEvent(event);
}

// --- DataMemo ---

DataMemo::DataMemo(QWidget* parent, engine::DataSource* source, const QString& fieldName) : QPlainTextEdit(parent) {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  TextEditing::View view{[this] { return toPlainText(); },
                         [this](const QString& value) {
                           if (toPlainText() != value) {
                             setPlainText(value);
                           }
                         },
                         [this](bool readOnly) { setReadOnly(readOnly); }, [this] { return hasFocus(); }};
  editing_ = std::make_unique<TextEditing>(source, fieldName, std::move(view));
  connect(this, &QPlainTextEdit::textChanged, this, [this] { guarded(this, [this] { editing_->userEdited(); }); });
}

DataMemo::~DataMemo() = default;

void DataMemo::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  guarded(this, [this] { editing_->showField(); });
}

void DataMemo::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  guarded(this, [this] { editing_->commit(); });
}

// --- DataCheckBox ---

DataCheckBox::DataCheckBox(QWidget* parent, engine::DataSource* source, const QString& fieldName,
                           const QString& caption)
    : QCheckBox(caption, parent),
      link_(std::make_unique<FieldLink>(source, fieldName, [this](engine::DataEvent event, const engine::Field*) {
        if (event != engine::DataEvent::UpdateData) {
          load();
        }
      })) {
  load();
}

DataCheckBox::~DataCheckBox() = default;

void DataCheckBox::nextCheckState() {
  guarded(this, [this] {
    if (link_->canModify()) {
      link_->setText(isChecked() ? QStringLiteral("False") : QStringLiteral("True"));
    }
    load();
  });
}

void DataCheckBox::load() { setChecked(link_->text().compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0); }

// --- DataText ---

DataText::DataText(QWidget* parent, engine::DataSource* source, const QString& fieldName) : QLabel(parent) {
  setTextFormat(Qt::PlainText);  // data is shown as written, never as markup
  link_ = std::make_unique<FieldLink>(source, fieldName, [this](engine::DataEvent event, const engine::Field*) {
    if (event != engine::DataEvent::UpdateData) {
      setText(link_->displayText());
    }
  });
  setText(link_->displayText());
}

DataText::~DataText() = default;

}  // namespace ui
