#include "reports/dataset_connection.h"

#include <QByteArray>
#include <QDate>

namespace reports {

namespace {

QString fromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QVariant variantOf(const engine::Field& field) {
  const engine::Value& stored = field.value();
  if (engine::isEmptyValue(stored)) return {};
  switch (field.dataType()) {
    case engine::FieldType::SmallInt:
    case engine::FieldType::Integer:
      return QVariant::fromValue(static_cast<qlonglong>(field.asInteger()));
    case engine::FieldType::Float:
      return field.asFloat();
    case engine::FieldType::Boolean:
      return field.asBoolean();
    case engine::FieldType::Date: {
      const auto* text = std::get_if<std::string>(&stored);
      return text ? QVariant(QDate::fromString(fromUtf8(*text), Qt::ISODate)) : QVariant();
    }
    case engine::FieldType::Memo:
    case engine::FieldType::FormattedMemo:
    case engine::FieldType::Blob:
      return QByteArray::fromStdString(field.asString());
    case engine::FieldType::String:
      break;
  }
  // A stored text is what the field shows; anything else goes through the field's own text.
  if (const auto* text = std::get_if<std::string>(&stored)) return fromUtf8(*text);
  return fromUtf8(field.asString());
}

reporting::DataType reportType(engine::FieldType type) {
  switch (type) {
    case engine::FieldType::SmallInt:
    case engine::FieldType::Integer: return reporting::DataType::dtInteger;
    case engine::FieldType::Boolean: return reporting::DataType::dtBoolean;
    case engine::FieldType::Float: return reporting::DataType::dtFloat;
    case engine::FieldType::Date: return reporting::DataType::dtDate;
    case engine::FieldType::Memo: return reporting::DataType::dtMemo;
    case engine::FieldType::FormattedMemo:
    case engine::FieldType::Blob: return reporting::DataType::dtBlob;
    case engine::FieldType::String: break;
  }
  return reporting::DataType::dtString;
}

// A condition names the dataset's fields, as its own filter does.
engine::FilterExpression::Resolver fieldsOf(const engine::Dataset& dataset) {
  return [&dataset](std::string_view fieldName) -> std::optional<engine::FilterField> {
    const engine::Field* field = dataset.findField(fieldName);
    if (field == nullptr) return std::nullopt;
    return engine::FilterField{field->index(), field->fieldName(), field->dataType()};
  };
}

}  // namespace

DatasetConnection::DatasetConnection(QString name, engine::Dataset& dataset, bool localFiltering)
    : DataConnection(std::move(name)), dataset_(dataset), localFiltering_(localFiltering) {}

std::vector<reporting::FieldInfo> DatasetConnection::fields() const {
  std::vector<reporting::FieldInfo> infos;
  for (const auto& field : dataset_.fields()) infos.push_back({fromUtf8(field->fieldName()), reportType(field->dataType())});
  return infos;
}

reporting::FieldValue DatasetConnection::value(int field) const {
  const engine::Field& chosen = *dataset_.fields().at(static_cast<std::size_t>(field));
  return {variantOf(chosen), fromUtf8(chosen.displayText())};
}

QVariant DatasetConnection::rawValue(int field) const {
  return variantOf(*dataset_.fields().at(static_cast<std::size_t>(field)));
}

void DatasetConnection::remember() {
  condition_.reset();
  remembered_ = {dataset_.active(), dataset_.recNo(), dataset_.filter(), dataset_.filtered()};
  dataset_.open();
  // Followers (the area queries run again on every move) need not follow a run's walk.
  dataset_.disableControls();
}

// Also runs after a run that failed half-way, so it assumes nothing about the dataset's state.
void DatasetConnection::restore() {
  condition_.reset();
  if (!remembered_.open) {
    dataset_.close();  // first, so the filter goes back without reading rows
    restoreFilter();
  } else {
    restoreFilter();
    dataset_.open();
    dataset_.moveTo(remembered_.position);
  }
  dataset_.enableControls();
}

// A filter text that was kept switched off need not compile, so it only goes back while off.
void DatasetConnection::restoreFilter() {
  if (remembered_.filtered) {
    dataset_.setFilter(remembered_.filter);
    dataset_.setFiltered(true);
  } else {
    dataset_.setFiltered(false);
    dataset_.setFilter(remembered_.filter);
  }
}

void DatasetConnection::applyCondition(const QString& condition) {
  if (condition.isEmpty()) return;
  if (!localFiltering_) {
    dataset_.setFilter(condition.toStdString());
    dataset_.setFiltered(true);
    return;
  }
  condition_ = std::make_unique<engine::FilterExpression>(
      engine::FilterExpression::parse(condition.toStdString(), fieldsOf(dataset_), dataset_.name()));
}

void DatasetConnection::moveFirst() { dataset_.first(); }

void DatasetConnection::moveNext() { dataset_.next(); }

bool DatasetConnection::atEnd() const { return dataset_.eof(); }

bool DatasetConnection::meetsCondition() const {
  return !condition_ || condition_->matches(dataset_.rowAt(dataset_.recNo()));
}

}  // namespace reports
