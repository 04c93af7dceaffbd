#pragma once
// The rows of one data view, read once per run through its connection and kept in memory: only
// the fields the report uses, each as its value and, where the report prints it as it is, its
// display text. Details find their rows through an index on their link fields, built once, so a
// master row never makes a detail scan its view.
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

#include "report_engine/data_connection.h"

namespace reporting {

// Equal texts of a column share one buffer: ranks, countries and units repeat on every row. A
// column whose texts hardly repeat (names, codes) stops pooling, as it would only cost.
class QStringPool {
 public:
  QString shared(QString text);

 private:
  QSet<QString> texts_;
  int offered_ = 0;
  bool pooling_ = true;
};

class ViewRows {
 public:
  // The fields the report needs of the view; texts: those it prints without a format; values:
  // those it links, sorts, groups, sums or formats. A field only printed keeps no value.
  struct Needs {
    QStringList fields;
    QStringList texts;
    QStringList values;
  };
  // Reads every row the connection serves for the condition and restores the connection after.
  // Raises ReportError for a field the connection does not have.
  ViewRows(DataConnection& connection, const QString& viewName, const QString& condition, const Needs& needs);

  int rowCount() const { return rowCount_; }
  int column(const QString& field) const;  // -1 when the report did not ask for it
  // Null for a field the report only prints: it keeps no values.
  const QVariant& value(int row, int column) const;
  QString text(int row, int column) const;

  // Row numbers whose fields (columns) equal key, in the order read, then stably sorted.
  using RowList = std::vector<int>;
  const RowList& rowsWith(const std::vector<int>& columns, const QString& key, const std::vector<int>& sortColumns);
  RowList allRows(const std::vector<int>& sortColumns) const;
  // The key that rowsWith compares; null when a value is empty (an empty link matches nothing).
  static QString keyOf(const std::vector<QVariant>& values);
  QString keyOfRow(int row, const std::vector<int>& columns) const;

 private:
  struct Column {
    QString name;
    bool keepsText = false;   // the display text of a field that is not text itself
    bool keepsValue = true;
    std::vector<QVariant> values;
    std::vector<QString> texts;
    QStringPool pool;
  };
  void readRow(DataConnection& connection, const std::vector<int>& sources, const std::vector<DataType>& types);
  void sortRows(RowList& rows, const std::vector<int>& sortColumns) const;

  std::vector<Column> columns_;
  int rowCount_ = 0;
  struct Index {
    std::vector<int> columns, sortColumns;
    QHash<QString, RowList> rows;
    // A single link of whole numbers (codes, the usual case) is keyed by the number itself.
    bool numeric = false;
    QHash<qlonglong, RowList> numbers;
  };
  Index buildIndex(const std::vector<int>& columns, const std::vector<int>& sortColumns) const;
  std::vector<Index> indexes_;
  RowList none_;
};

}  // namespace reporting
