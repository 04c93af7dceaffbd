#include "ui/field_link.h"

#include "db_engine/dataset.h"
#include "db_engine/field.h"

namespace ui {

FieldLink::FieldLink(engine::DataSource* source, const QString& fieldName, Listener listener)
    : fieldName_(fieldName.toStdString()), listener_(std::move(listener)) {
  follow(source);
}

engine::Field* FieldLink::field() const {
  engine::Dataset* data = dataset();
  if (!data || !data->active()) {
    return nullptr;
  }
  return data->findField(fieldName_);
}

bool FieldLink::canModify() const { return field() && dataset()->canModify(); }

bool FieldLink::editing() const {
  engine::Dataset* data = dataset();
  return data && (data->state() == engine::DatasetState::Edit || data->state() == engine::DatasetState::Insert);
}

void FieldLink::startEditing() {
  engine::Dataset* data = dataset();
  if (data && data->state() == engine::DatasetState::Browse) {
    data->edit();
  }
}

QString FieldLink::text() const {
  engine::Field* current = field();
  return current ? QString::fromStdString(current->asString()) : QString();
}

QString FieldLink::displayText() const {
  engine::Field* current = field();
  return current ? QString::fromStdString(current->displayText()) : QString();
}

void FieldLink::setText(const QString& text) {
  engine::Field* current = field();
  if (!current) {
    return;
  }
  startEditing();
  current->setAsString(text.toStdString());
}

void FieldLink::dataEvent(engine::DataEvent event, const engine::Field* field) { listener_(event, field); }

void FieldLink::sourceLost() {
  listener_(engine::DataEvent::ActiveChanged, nullptr);  // shows nothing from now on
}

}  // namespace ui
