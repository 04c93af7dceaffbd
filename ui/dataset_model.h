#pragma once
// A table model over a dataset: one row per row of the dataset's range, read on demand through
// Dataset::rowAt, so only the rows a view shows are ever read. Follows the dataset through its
// data source and edits through it.
#include <QAbstractTableModel>
#include <vector>

#include "db_engine/data_source.h"
#include "ui/data_controls.h"

namespace engine {
class Dataset;
class Field;
}  // namespace engine

namespace ui {

class DatasetModel : public QAbstractTableModel, private engine::SourceFollower {
  Q_OBJECT
 public:
  // No columns: one column for every field of the dataset, in field order.
  DatasetModel(engine::DataSource* source, std::vector<GridColumn> columns, QObject* parent = nullptr);

  using engine::SourceFollower::dataset;
  const std::vector<GridColumn>& columns() const { return columns_; }
  void setColumnWidth(int column, int width);
  void setColumnVisible(int column, bool visible);
  void setReadOnly(bool readOnly);
  bool readOnly() const { return readOnly_; }
  int currentRow() const { return current_; }  // -1 when there is none
  // Moves the dataset to row and puts it into edit mode; raises what the engine raises.
  void startEditing(int row);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

 signals:
  // The dataset's cursor moved or the rows were read anew. The row indicator (vertical header
  // data) changes with it and with dataChanged of the current row; views repaint their header
  // then, since headerDataChanged costs a pass over every row in QHeaderView.
  void currentRowChanged(int row);
  void updateDataRequested();  // a post is about to happen: open editors write their text

 private:
  void dataEvent(engine::DataEvent event, const engine::Field* field) override;
  void sourceLost() override;
  void reload();
  void bindColumns();
  void followCursor();
  void repaintAll();
  void repaintRow(int row);
  int datasetRows() const;
  int datasetCurrent() const;
  engine::Field* fieldOf(int column) const;
  QWidget* widget() const;

  bool allFields_;
  std::vector<GridColumn> columns_;
  std::vector<engine::Field*> fields_;  // per column; nullptr when the dataset lacks it
  int rows_ = 0;
  int current_ = -1;
  bool readOnly_ = false;
};

}  // namespace ui
