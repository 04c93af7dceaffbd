#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>

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
  void destroyEditor(QWidget* editor, const QModelIndex& index) const override {
    if (editor == editor_) {
      editor_ = nullptr;
    }
    QStyledItemDelegate::destroyEditor(editor, index);
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
    // Hiding a column resizes it to nothing; its width stays. A fitted column takes a width of its
    // own only from a user's drag (a mouse button is down), not from the grid or a font change.
    const bool given = model_->columns().at(static_cast<std::size_t>(column)).width > 0;
    if (width > 0 && !fitting_ && (given || QGuiApplication::mouseButtons() != Qt::NoButton)) {
      model_->setColumnWidth(column, width);
    }
  });
  connect(model_, &QAbstractItemModel::dataChanged, this, &DataGrid::fitColumns);
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &DataGrid::fitColumns);
  applyColumns();
  followDataset(model_->currentRow());
}

DataGrid::~DataGrid() = default;

void DataGrid::setColumnVisible(int column, bool visible) {
  model_->setColumnVisible(column, visible);
  setColumnHidden(column, !visible);
  fitColumns();
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

// A post takes the open editor's text and the editor closes: left open, it would write its text
// again, into whatever row stands at its cell once the post has moved the rows.
void DataGrid::commitOpenEditor() {
  if (QWidget* editor = editors_->openEditor()) {
    commitData(editor);
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
}

void DataGrid::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  fitColumns();
}

void DataGrid::changeEvent(QEvent* event) {
  QTableView::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    fitColumns();
  }
}

// A reset of the model forgets widths and hidden columns; they are put back from the columns.
void DataGrid::applyColumns() {
  const std::vector<GridColumn> columns = model_->columns();  // a copy: resizing writes widths back
  for (std::size_t column = 0; column < columns.size(); ++column) {
    const int section = static_cast<int>(column);
    if (columns[column].width > 0) {
      setColumnWidth(section, columns[column].width);
    }
    setColumnHidden(section, !columns[column].visible);
  }
  fitColumns();
}

// The rows in view are those the grid's height holds from its top row; the widths follow them
// rather than every row of the range, which may be many.
void DataGrid::fitColumns() {
  if (fitting_) {
    return;
  }
  fitting_ = true;
  const std::vector<GridColumn>& columns = model_->columns();
  const int rows = rowsInView();
  const int room = viewWidth(rows);
  int used = 0;
  int last = -1;
  for (int column = 0; column < static_cast<int>(columns.size()); ++column) {
    const GridColumn& declared = columns[static_cast<std::size_t>(column)];
    if (!declared.visible) {
      continue;
    }
    if (declared.width == 0) {
      setColumnWidth(column, std::min(fittedWidth(column, std::max(rowAt(0), 0), rows + 1), room));
    }
    used += columnWidth(column);
    last = column;
  }
  if (last >= 0 && columns[static_cast<std::size_t>(last)].width == 0 && used < room) {
    setColumnWidth(last, columnWidth(last) + room - used);
  }
  fitting_ = false;
}

// The title, or the widest of the values from firstRow on, whole: the text at its exact width
// (a fraction of a pixel too little elides it), its margins and the grid line.
int DataGrid::fittedWidth(int column, int firstRow, int rows) const {
  const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 1;
  const QFontMetricsF metrics(font());
  int width = horizontalHeader()->sectionSizeHint(column);
  const int end = std::min(model_->rowCount(), firstRow + rows);
  for (int row = firstRow; row < end; ++row) {
    const QString text = model_->data(model_->index(row, column)).toString();
    width = std::max(width, static_cast<int>(std::ceil(metrics.horizontalAdvance(text))) + margins);
  }
  return width;
}

// Whole rows the grid's height holds below its title row.
int DataGrid::rowsInView() const {
  const int height = this->height() - 2 * frameWidth() - horizontalHeader()->sizeHint().height();
  return std::max(0, height / verticalHeader()->defaultSectionSize());
}

// The width the cells have: the grid's less its frame, the row indicator and, when the rows do
// not all fit, the vertical scroll bar.
int DataGrid::viewWidth(int rows) const {
  int width = this->width() - 2 * frameWidth() - verticalHeader()->width();
  if (model_->rowCount() > rows) {
    width -= style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
  }
  return std::max(width, 0);
}

}  // namespace ui
