#pragma once
// The edit cycle shared by the edit box and the memo. Typing marks the text pending and puts the
// dataset into edit mode; the pending text goes into the field when editing ends or a post asks
// for it. Notifications repaint the text unless the user's own typing is still pending.
#include <QString>
#include <functional>

#include "ui/field_link.h"

namespace ui {

class TextEditing {
 public:
  struct View {
    std::function<QString()> text;
    std::function<void(const QString&)> show;
    std::function<void(bool)> setReadOnly;
    std::function<bool()> focused;
  };

  TextEditing(engine::DataSource* source, const QString& fieldName, View view);

  void userEdited();  // the user changed the text; may raise the engine's refusal to edit
  void commit();      // writes pending text into the field; raises what the field raises
  void revert();      // cancels the dataset's pending edit, or just restores the field's text
  void load();        // shows the field: its edit text while focused, else its display text
  void showField();   // load(), unless the user's typing is still pending
  bool pending() const { return pending_; }
  FieldLink& link() { return link_; }

 private:
  void onDataEvent(engine::DataEvent event, const engine::Field* field);

  FieldLink link_;
  View view_;
  bool pending_ = false;
  bool loading_ = false;
};

}  // namespace ui
