#include "ui/text_editing.h"

#include "db_engine/dataset.h"

namespace ui {

TextEditing::TextEditing(engine::DataSource* source, const QString& fieldName, View view)
    : link_(source, fieldName,
            [this](engine::DataEvent event, const engine::Field* field) { onDataEvent(event, field); }),
      view_(std::move(view)) {
  load();
}

void TextEditing::userEdited() {
  if (loading_ || pending_) {
    return;
  }
  pending_ = true;
  try {
    link_.startEditing();
  } catch (...) {
    load();
    throw;
  }
}

void TextEditing::commit() {
  if (!pending_) {
    return;
  }
  pending_ = false;
  try {
    link_.setText(view_.text());
  } catch (...) {
    pending_ = true;  // the user's text stays for correction
    throw;
  }
}

void TextEditing::revert() {
  if (link_.editing()) {
    link_.dataset()->cancel();
  }
  load();
}

void TextEditing::load() {
  pending_ = false;
  loading_ = true;
  view_.setReadOnly(!link_.canModify());
  view_.show(view_.focused() ? link_.text() : link_.displayText());
  loading_ = false;
}

void TextEditing::showField() {
  if (!pending_) {
    load();
  }
}

void TextEditing::onDataEvent(engine::DataEvent event, const engine::Field* field) {
  switch (event) {
    case engine::DataEvent::UpdateData: commit(); return;
    case engine::DataEvent::RecordChanged:
      if (field && field != link_.field()) {
        return;  // another field of the row
      }
      if (!field && pending_) {
        return;
      }
      break;
    case engine::DataEvent::StateChanged:
      if (pending_ && link_.editing()) {
        return;  // the edit the user's typing started
      }
      break;
    default: break;
  }
  load();
}

}  // namespace ui
