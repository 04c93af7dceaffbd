#pragma once
// The link a single-field control keeps to its data source. The field is looked up on every use,
// because a dataset without persistent fields creates its field objects anew on each open.
#include <QString>
#include <functional>
#include <string>

#include "db_engine/data_source.h"

namespace engine {
class Dataset;
class Field;
}  // namespace engine

namespace ui {

class FieldLink : public engine::SourceFollower {
 public:
  using Listener = std::function<void(engine::DataEvent event, const engine::Field* field)>;

  FieldLink(engine::DataSource* source, const QString& fieldName, Listener listener);
  engine::Field* field() const;      // nullptr while the dataset is inactive or lacks the field
  bool canModify() const;            // an active, writable dataset that has the field
  bool editing() const;              // the dataset is in edit or insert mode
  void startEditing();               // puts a browsing dataset into edit mode

  QString text() const;               // the field's edit text; empty without a field
  QString displayText() const;        // the field's display text; empty without a field
  void setText(const QString& text);  // edits the dataset first when it is browsing

  void dataEvent(engine::DataEvent event, const engine::Field* field) override;

 private:
  void sourceLost() override;

  std::string fieldName_;
  Listener listener_;
};

}  // namespace ui
