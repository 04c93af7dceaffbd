#pragma once
// The rows of one data view, read once per run through its connection and kept in memory: only
// the fields the report uses, each as its value and, where the report prints it as it is, its
// display text. Details find their rows through an index on their link fields, built once, so a
// master row never makes a detail scan its view.
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

#include "report_engine/data_connection.h"

namespace reporting {

class ViewRows {
 public:
  // The fields the report needs of the view; texts: those it prints without a format.
  struct Needs {
    QStringList fields;
    QStringList texts;
  };
  // Reads every row the connection serves for the condition and restores the connection after.
  // Raises ReportError for a field the connection does not have.
  ViewRows(DataConnection& connection, const QString& viewName, const QString& condition, const Needs& needs);

  int rowCount() const { return rowCount_; }
  int column(const QString& field) const;  // -1 when the report did not ask for it
  const QVariant& value(int row, int column) const { return columns_[column].values[row]; }
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
    bool keepsText = false;
    std::vector<QVariant> values;
    std::vector<QString> texts;
  };
  void sortRows(RowList& rows, const std::vector<int>& sortColumns) const;

  std::vector<Column> columns_;
  int rowCount_ = 0;
  struct Index {
    std::vector<int> columns, sortColumns;
    QHash<QString, RowList> rows;
  };
  std::vector<Index> indexes_;
  RowList none_;
};

}  // namespace reporting
