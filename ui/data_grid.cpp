#include <QHeaderView>
#include <QPointer>
#include <QStyledItemDelegate>
#include <algorithm>

#include "db_engine/dataset.h"
#include "ui/data_controls.h"
#include "ui/dataset_model.h"
#include "ui/handler_guard.h"

namespace ui {

// Knows the cell editor that is open, so a post can take its text first.
class DataGrid::EditorTracker : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* openEditor() const { return editor_; }

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    editor_ = QStyledItemDelegate::createEditor(parent, option, index);
    return editor_;
  }

 private:
  mutable QPointer<QWidget> editor_;
};

DataGrid::DataGrid(QWidget* parent, engine::DataSource* source, std::vector<GridColumn> columns)
    : QTableView(parent),
      model_(new DatasetModel(source, std::move(columns), this)),
      editors_(new EditorTracker(this)) {
  setModel(model_);
  setItemDelegate(editors_);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
  setWordWrap(false);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  verticalHeader()->setFixedWidth(fontMetrics().height());
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setHighlightSections(false);

  connect(model_, &QAbstractItemModel::modelReset, this, &DataGrid::applyColumns);
  connect(model_, &DatasetModel::currentRowChanged, this, &DataGrid::followDataset);
  connect(model_, &DatasetModel::currentRowChanged, verticalHeader()->viewport(), qOverload<>(&QWidget::update));
  connect(model_, &QAbstractItemModel::dataChanged, verticalHeader()->viewport(), qOverload<>(&QWidget::update));
  connect(model_, &DatasetModel::updateDataRequested, this, &DataGrid::commitOpenEditor);
  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) { moveDataset(current.row()); });
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
    if (width > 0) {  // hiding a column resizes it to nothing; its width stays
      model_->setColumnWidth(column, width);
    }
  });
  applyColumns();
  followDataset(model_->currentRow());
}

DataGrid::~DataGrid() = default;

void DataGrid::setColumnVisible(int column, bool visible) {
  model_->setColumnVisible(column, visible);
  setColumnHidden(column, !visible);
}

bool DataGrid::columnVisible(int column) const {
  return model_->columns().at(static_cast<std::size_t>(column)).visible;
}

void DataGrid::setReadOnly(bool readOnly) { model_->setReadOnly(readOnly); }

void DataGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  QTableView::mouseDoubleClickEvent(event);
  emit doubleClicked();
}

bool DataGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  const bool opensEditor = state() != QAbstractItemView::EditingState && index.isValid() &&
                           (model_->flags(index) & Qt::ItemIsEditable) &&
                           (trigger == QAbstractItemView::AllEditTriggers || (editTriggers() & trigger));
  if (opensEditor) {
    bool editing = false;
    guarded(this, [&] {
      model_->startEditing(index.row());
      editing = true;
    });
    if (!editing) {
      return false;
    }
  }
  return QTableView::edit(index, trigger, event);
}

void DataGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  QTableView::closeEditor(editor, hint);
  engine::Dataset* data = model_->dataset();
  if (hint == QAbstractItemDelegate::RevertModelCache && data && !data->modified()) {
    guarded(this, [data] { data->cancel(); });
  }
}

// The view stands where the dataset stands.
void DataGrid::followDataset(int row) {
  following_ = true;
  if (row < 0) {
    selectionModel()->clearCurrentIndex();
    clearSelection();
  } else {
    int column = currentIndex().column();
    if (column < 0 || isColumnHidden(column)) {
      column = horizontalHeader()->logicalIndexAt(0);
    }
    setCurrentIndex(model_->index(row, std::max(column, 0)));
  }
  following_ = false;
}

// The user chose a row: the dataset moves there, or the view returns to where the dataset stayed.
void DataGrid::moveDataset(int row) {
  engine::Dataset* data = model_->dataset();
  if (following_ || row < 0 || !data || !data->active()) {
    return;
  }
  guarded(this, [&] { data->moveTo(static_cast<std::size_t>(row)); });
  if (model_->currentRow() != row) {
    followDataset(model_->currentRow());
  }
}

void DataGrid::commitOpenEditor() {
  if (QWidget* editor = editors_->openEditor()) {
    commitData(editor);
  }
}

// A reset of the model forgets widths and hidden columns; they are put back from the columns.
void DataGrid::applyColumns() {
  const std::vector<GridColumn> columns = model_->columns();  // a copy: resizing writes widths back
  for (std::size_t column = 0; column < columns.size(); ++column) {
    const int section = static_cast<int>(column);
    setColumnWidth(section, columns[column].width);
    setColumnHidden(section, !columns[column].visible);
  }
}

}  // namespace ui
