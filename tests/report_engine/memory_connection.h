#pragma once
// A data connection over rows held in memory, with any fields, that counts its runs.
#include <QString>
#include <QVariant>
#include <vector>

#include "report_engine/data_connection.h"

namespace enginetest {

class MemoryConnection : public reporting::DataConnection {
 public:
  MemoryConnection(QString name, std::vector<reporting::FieldInfo> fields, std::vector<std::vector<QVariant>> rows)
      : DataConnection(std::move(name)), fields_(std::move(fields)), rows_(std::move(rows)) {}

  std::vector<reporting::FieldInfo> fields() const override { return fields_; }
  reporting::FieldValue value(int field) const override {
    const QVariant& value = rows_[row_][field];
    return {value, value.toString()};
  }

  int begun = 0, restored = 0;
  QString condition;
  int served = 0;  // rows read, over all runs

 protected:
  void remember() override { ++begun; }
  void restore() override { ++restored; }
  void applyCondition(const QString& text) override { condition = text; }
  void moveFirst() override { row_ = 0; count(); }
  void moveNext() override { ++row_; count(); }
  bool atEnd() const override { return row_ >= rows_.size(); }
  bool meetsCondition() const override { return true; }

 private:
  void count() { if (!atEnd()) ++served; }
  std::vector<reporting::FieldInfo> fields_;
  std::vector<std::vector<QVariant>> rows_;
  std::size_t row_ = 0;
};

}  // namespace enginetest
