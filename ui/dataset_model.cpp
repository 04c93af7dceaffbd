#include "ui/dataset_model.h"

#include <QWidget>
#include <algorithm>
#include <exception>

#include "db_engine/dataset.h"
#include "db_engine/field.h"
#include "ui/handler_guard.h"

namespace ui {
namespace {

bool isNumeric(engine::FieldType type) {
  return type == engine::FieldType::SmallInt || type == engine::FieldType::Integer || type == engine::FieldType::Float;
}

// The row indicator of the vertical header: where the cursor stands and what it is doing.
QString indicator(engine::DatasetState state) {
  switch (state) {
    case engine::DatasetState::Edit: return QStringLiteral("I");
    case engine::DatasetState::Insert: return QStringLiteral("*");
    default: return QString(QChar(0x25B8));  // small right-pointing triangle
  }
}

}  // namespace

DatasetModel::DatasetModel(engine::DataSource* source, std::vector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), allFields_(columns.empty()), columns_(std::move(columns)) {
  follow(source);
  bindColumns();
  rows_ = datasetRows();
  current_ = datasetCurrent();
}


void DatasetModel::setColumnWidth(int column, int width) { columns_.at(column).width = width; }

void DatasetModel::setColumnVisible(int column, bool visible) { columns_.at(column).visible = visible; }

void DatasetModel::setReadOnly(bool readOnly) { readOnly_ = readOnly; }

int DatasetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int DatasetModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
  const engine::Field* field = fieldOf(index.column());
  if (!field || index.row() >= datasetRows()) {
    return {};
  }
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(Qt::AlignVCenter | (isNumeric(field->dataType()) ? Qt::AlignRight : Qt::AlignLeft));
  }
  if (role != Qt::DisplayRole && role != Qt::EditRole) {
    return {};
  }
  try {
    const engine::Row& row = dataset()->rowAt(static_cast<std::size_t>(index.row()));
    return QString::fromStdString(field->format(row.at(field->index()), role == Qt::DisplayRole));
  } catch (const std::exception&) {
    return {};  // a row that cannot be read paints empty; painting is no place for a message box
  }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) {
    if (role == Qt::DisplayRole && section == current_) {
      return indicator(dataset()->state());
    }
    return {};
  }
  if (section < 0 || section >= columnCount()) {
    return {};
  }
  const GridColumn& column = columns_[static_cast<std::size_t>(section)];
  if (role == Qt::DisplayRole) {
    return column.title.isEmpty() ? column.fieldName : column.title;
  }
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(column.titleAlignment);
  }
  return {};
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
  if (!readOnly_ && fieldOf(index.column()) && dataset()->canModify()) {
    flags |= Qt::ItemIsEditable;
  }
  return flags;
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  engine::Field* field = fieldOf(index.column());
  if (role != Qt::EditRole || !field || !(flags(index) & Qt::ItemIsEditable)) {
    return false;
  }
  bool written = false;
  guarded(widget(), [&] {
    startEditing(index.row());
    field->setAsString(value.toString().toStdString());
    written = true;
  });
  return written;
}

void DatasetModel::startEditing(int row) {
  engine::Dataset* data = dataset();
  if (data->recNo() != static_cast<std::size_t>(row)) {
    data->moveTo(static_cast<std::size_t>(row));
  }
  if (data->state() == engine::DatasetState::Browse) {
    data->edit();
  }
}

void DatasetModel::dataEvent(engine::DataEvent event, const engine::Field*) {
  if (event == engine::DataEvent::UpdateData) {
    emit updateDataRequested();
    return;
  }
  if (event == engine::DataEvent::ActiveChanged || datasetRows() != rows_) {
    reload();
    return;
  }
  if (event == engine::DataEvent::DataSetChanged) {
    repaintAll();  // as many rows as before: a reset would only cost a pass over them in the view
    return;
  }
  if (event == engine::DataEvent::Scrolled) {
    followCursor();
    return;
  }
  repaintRow(current_);  // a field changed, or the state (and with it the row indicator)
}

void DatasetModel::sourceLost() {
  reload();
}

void DatasetModel::reload() {
  beginResetModel();
  bindColumns();
  rows_ = datasetRows();
  current_ = datasetCurrent();
  endResetModel();
  emit currentRowChanged(current_);
}

void DatasetModel::bindColumns() {
  engine::Dataset* data = dataset();
  if (allFields_) {
    std::vector<GridColumn> columns;
    if (data) {
      for (const auto& field : data->fields()) {
        const QString name = QString::fromStdString(field->fieldName());
        auto kept =
            std::find_if(columns_.begin(), columns_.end(), [&](const GridColumn& c) { return c.fieldName == name; });
        if (kept != columns_.end()) {
          columns.push_back(*kept);
        } else {
          GridColumn column;
          column.fieldName = name;
          columns.push_back(column);
        }
      }
    }
    columns_ = std::move(columns);
  }
  fields_.clear();
  for (const GridColumn& column : columns_) {
    fields_.push_back(data ? data->findField(column.fieldName.toStdString()) : nullptr);
  }
}

void DatasetModel::followCursor() {
  const int previous = current_;
  current_ = datasetCurrent();
  if (previous == current_) {
    repaintRow(current_);
    return;
  }
  emit currentRowChanged(current_);
}

void DatasetModel::repaintAll() {
  current_ = datasetCurrent();
  if (rows_ > 0 && !columns_.empty()) {
    emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
  }
  emit currentRowChanged(current_);
}

void DatasetModel::repaintRow(int row) {
  if (row < 0 || row >= rows_ || columns_.empty()) {
    return;
  }
  emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

int DatasetModel::datasetRows() const {
  engine::Dataset* data = dataset();
  return data && data->active() ? static_cast<int>(data->recordCount()) : 0;
}

int DatasetModel::datasetCurrent() const {
  engine::Dataset* data = dataset();
  if (!data || !data->active() || data->recordCount() == 0) {
    return -1;
  }
  return static_cast<int>(data->recNo());
}

engine::Field* DatasetModel::fieldOf(int column) const {
  if (column < 0 || column >= static_cast<int>(fields_.size()) || rows_ == 0) {
    return nullptr;
  }
  return fields_[static_cast<std::size_t>(column)];
}

QWidget* DatasetModel::widget() const { return qobject_cast<QWidget*>(QObject::parent()); }

}  // namespace ui
