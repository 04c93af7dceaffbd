#pragma once
// Offers one dataset of the program to the report engine. A run leaves the dataset as it found it:
// open or closed, on the same row, with its own filter.
#include <memory>
#include <string>
#include <vector>

#include "db_engine/dataset.h"
#include "db_engine/filter_expression.h"
#include "report_engine/data_connection.h"

namespace reports {

class DatasetConnection : public reporting::DataConnection {
 public:
  // With local filtering a run's condition is tested row by row on top of the dataset's own
  // filter; without it the condition becomes the dataset's filter for the run.
  DatasetConnection(QString name, engine::Dataset& dataset, bool localFiltering);

  engine::Dataset& dataset() const { return dataset_; }

  std::vector<reporting::FieldInfo> fields() const override;
  reporting::FieldValue value(int field) const override;
  QVariant rawValue(int field) const override;

 protected:
  void remember() override;
  void restore() override;
  void applyCondition(const QString& condition) override;
  void moveFirst() override;
  void moveNext() override;
  bool atEnd() const override;
  bool meetsCondition() const override;

 private:
  struct Remembered {
    bool open = false;
    std::size_t position = 0;
    std::string filter;
    bool filtered = false;
  };
  void restoreFilter();

  engine::Dataset& dataset_;
  bool localFiltering_;
  Remembered remembered_;
  std::unique_ptr<engine::FilterExpression> condition_;  // local filtering, while a run has one
};

}  // namespace reports
