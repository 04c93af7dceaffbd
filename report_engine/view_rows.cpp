#include "report_engine/view_rows.h"

#include <algorithm>
#include <cmath>

#include "report_engine/report_error.h"

namespace reporting {

namespace {

bool isTextual(DataType type) { return type == DataType::dtString || type == DataType::dtMemo || type == DataType::dtBlob; }

QVariant stored(const QVariant& value, DataType type) {
  if (value.isNull() || !isTextual(type) || value.typeId() == QMetaType::QString) return value;
  return QString::fromUtf8(value.toByteArray());
}

bool isNumber(const QVariant& value) {
  const auto type = value.typeId();
  return type == QMetaType::Double || type == QMetaType::LongLong || type == QMetaType::Int || type == QMetaType::Bool;
}

QString keyPart(const QVariant& value) {
  if (!isNumber(value)) return value.toString();
  const double number = value.toDouble();
  if (std::nearbyint(number) == number && std::fabs(number) < 9e15) return QString::number(static_cast<qlonglong>(number));
  return QString::number(number, 'g', 17);
}

int compare(const QVariant& left, const QVariant& right) {
  if (left.isNull() || right.isNull()) return left.isNull() == right.isNull() ? 0 : (left.isNull() ? -1 : 1);
  if (isNumber(left) && isNumber(right)) {
    const double a = left.toDouble(), b = right.toDouble();
    return a < b ? -1 : (a > b ? 1 : 0);
  }
  return left.toString().compare(right.toString(), Qt::CaseInsensitive);
}

}  // namespace

ViewRows::ViewRows(DataConnection& connection, const QString& viewName, const QString& condition, const Needs& needs) {
  try {
    connection.begin(condition);
    const auto fields = connection.fields();
    std::vector<int> sources;
    std::vector<DataType> types;
    for (const QString& wanted : needs.fields) {
      const auto found = std::find_if(fields.begin(), fields.end(), [&](const FieldInfo& field) {
        return field.name.compare(wanted, Qt::CaseInsensitive) == 0;
      });
      if (found == fields.end()) {
        throw ReportError(QStringLiteral("The data view \"%1\" (connection \"%2\") has no field \"%3\".")
                              .arg(viewName, connection.name(), wanted));
      }
      sources.push_back(static_cast<int>(found - fields.begin()));
      types.push_back(found->type);
      Column column;
      column.name = wanted;
      column.keepsText = needs.texts.contains(wanted, Qt::CaseInsensitive) && !isTextual(found->type);
      column.keepsValue = !column.keepsText || needs.values.contains(wanted, Qt::CaseInsensitive);
      columns_.push_back(std::move(column));
    }
    for (; !connection.eof(); connection.next(), ++rowCount_) readRow(connection, sources, types);
  } catch (...) {
    connection.end();
    throw;
  }
  connection.end();
}

void ViewRows::readRow(DataConnection& connection, const std::vector<int>& sources, const std::vector<DataType>& types) {
  for (std::size_t index = 0; index < columns_.size(); ++index) {
    Column& target = columns_[index];
    if (!target.keepsText) {
      QVariant value = stored(connection.rawValue(sources[index]), types[index]);
      if (value.typeId() == QMetaType::QString) value = target.pool.shared(value.toString());
      target.values.push_back(std::move(value));
      continue;
    }
    FieldValue field = connection.value(sources[index]);
    if (target.keepsValue) target.values.push_back(stored(field.value, types[index]));
    target.texts.push_back(target.pool.shared(std::move(field.displayText)));
  }
}

QString QStringPool::shared(QString text) {
  // After this many texts a pool holding more than half of them as distinct ones is given up.
  constexpr int kTrial = 1024;
  if (!pooling_) return text;
  ++offered_;
  const auto found = texts_.constFind(text);
  if (found != texts_.constEnd()) return *found;
  if (offered_ >= kTrial && texts_.size() * 2 > offered_) {
    pooling_ = false;
    texts_.clear();
    return text;
  }
  texts_.insert(text);
  return text;
}

int ViewRows::column(const QString& field) const {
  const auto found = std::find_if(columns_.begin(), columns_.end(), [&](const Column& column) {
    return column.name.compare(field, Qt::CaseInsensitive) == 0;
  });
  return found == columns_.end() ? -1 : static_cast<int>(found - columns_.begin());
}

const QVariant& ViewRows::value(int row, int column) const {
  static const QVariant kNone;
  const Column& source = columns_[column];
  return source.keepsValue ? source.values[row] : kNone;
}

QString ViewRows::text(int row, int column) const {
  const Column& source = columns_[column];
  return source.keepsText ? source.texts[row] : source.values[row].toString();
}

QString ViewRows::keyOf(const std::vector<QVariant>& values) {
  QString key;
  for (const QVariant& value : values) {
    if (value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isEmpty())) return QString();
    if (!key.isNull()) key += u'\x1f';
    key += keyPart(value);
  }
  return key;
}

QString ViewRows::keyOfRow(int row, const std::vector<int>& columns) const {
  std::vector<QVariant> values;
  values.reserve(columns.size());
  for (int column : columns) values.push_back(value(row, column));
  return keyOf(values);
}

const ViewRows::RowList& ViewRows::rowsWith(const std::vector<int>& columns, const QString& key,
                                            const std::vector<int>& sortColumns) {
  if (key.isNull()) return none_;
  auto index = std::find_if(indexes_.begin(), indexes_.end(), [&](const Index& built) {
    return built.columns == columns && built.sortColumns == sortColumns;
  });
  if (index == indexes_.end()) {
    indexes_.push_back(buildIndex(columns, sortColumns));
    index = indexes_.end() - 1;
  }
  if (index->numeric) {
    bool whole = false;
    const qlonglong number = key.toLongLong(&whole);
    const bool same = whole && QString::number(number) == key;  // "012" is no key of 12
    const auto found = same ? index->numbers.constFind(number) : index->numbers.constEnd();
    return found == index->numbers.constEnd() ? none_ : *found;
  }
  const auto found = index->rows.constFind(key);
  return found == index->rows.constEnd() ? none_ : *found;
}

ViewRows::Index ViewRows::buildIndex(const std::vector<int>& columns, const std::vector<int>& sortColumns) const {
  Index built{columns, sortColumns, {}, false, {}};
  // The numbers that keyPart writes as whole numbers, so that both keys agree.
  const auto wholeNumber = [](const QVariant& value) {
    if (value.isNull()) return true;
    const double number = value.toDouble();
    return isNumber(value) && std::nearbyint(number) == number && std::fabs(number) < 9e15;
  };
  const Column* link = columns.size() == 1 ? &columns_[columns.front()] : nullptr;
  built.numeric = link && link->keepsValue && std::all_of(link->values.begin(), link->values.end(), wholeNumber);
  for (int row = 0; row < rowCount_; ++row) {
    if (built.numeric) {
      const QVariant& link = value(row, columns.front());
      if (!link.isNull()) built.numbers[link.toLongLong()].push_back(row);
      continue;
    }
    const QString rowKey = keyOfRow(row, columns);
    if (!rowKey.isNull()) built.rows[rowKey].push_back(row);
  }
  for (auto& rows : built.rows) sortRows(rows, sortColumns);
  for (auto& rows : built.numbers) sortRows(rows, sortColumns);
  return built;
}

ViewRows::RowList ViewRows::allRows(const std::vector<int>& sortColumns) const {
  RowList rows(rowCount_);
  for (int row = 0; row < rowCount_; ++row) rows[row] = row;
  sortRows(rows, sortColumns);
  return rows;
}

void ViewRows::sortRows(RowList& rows, const std::vector<int>& sortColumns) const {
  if (sortColumns.empty()) return;
  std::stable_sort(rows.begin(), rows.end(), [&](int left, int right) {
    for (int column : sortColumns) {
      if (const int order = compare(value(left, column), value(right, column))) return order < 0;
    }
    return false;
  });
}

}  // namespace reporting
