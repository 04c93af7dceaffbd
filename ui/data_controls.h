#pragma once
// Data-aware controls. Each follows its data source through DataSource notifications only, edits
// through it, and turns read-only when the dataset cannot be modified. The control's objectName
// is the design name ("DBEdit1").
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>
#include <QTableView>
#include <QWidget>
#include <memory>
#include <vector>

namespace engine {
class DataSource;
class Field;
}  // namespace engine

namespace ui {

class FieldLink;    // the DataLink shared by the single-field controls
class TextEditing;  // the edit cycle of the edit box and the memo

// Edit box bound to one field; writes its text into the field when editing ends or a post asks.
class DataEdit : public QLineEdit {
  Q_OBJECT
 public:
  DataEdit(QWidget* parent, engine::DataSource* source, const QString& fieldName);
  ~DataEdit() override;

 signals:
  void doubleClicked();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;  // Escape cancels the dataset's pending edit

 private:
  std::unique_ptr<TextEditing> editing_;
};

// Memo bound to a (formatted) memo field, with a vertical scroll bar.
class DataMemo : public QPlainTextEdit {
  Q_OBJECT
 public:
  DataMemo(QWidget* parent, engine::DataSource* source, const QString& fieldName);
  ~DataMemo() override;

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  std::unique_ptr<TextEditing> editing_;
};

// Check box bound to a field; stores "True" when checked and "False" when not.
class DataCheckBox : public QCheckBox {
  Q_OBJECT
 public:
  DataCheckBox(QWidget* parent, engine::DataSource* source, const QString& fieldName, const QString& caption);
  ~DataCheckBox() override;

 protected:
  void nextCheckState() override;  // writes the field; the box shows what the field then holds

 private:
  void load();
  std::unique_ptr<FieldLink> link_;
};

// Display-only text of a field.
class DataText : public QLabel {
  Q_OBJECT
 public:
  DataText(QWidget* parent, engine::DataSource* source, const QString& fieldName);
  ~DataText() override;

 private:
  std::unique_ptr<FieldLink> link_;
};

struct GridColumn {
  QString fieldName;
  QString title = {};  // empty: the field name
  int width = 0;       // 0: as wide as its title and the values in view need (see DataGrid)
  bool visible = true;
  Qt::Alignment titleAlignment = Qt::AlignLeft | Qt::AlignVCenter;
};

class DatasetModel;

// Grid over a dataset: one row per row of the range, the current row selected; selecting a row
// moves the dataset; cells edit through the dataset unless it or the grid is read-only. A column
// given no width is fitted to its title and the values in view, and when it is the last column
// it also takes the room left, so no scroll bar shows where the columns fit; a user's drag
// gives it a width of its own.
class DataGrid : public QTableView {
  Q_OBJECT
 public:
  DataGrid(QWidget* parent, engine::DataSource* source, std::vector<GridColumn> columns);
  ~DataGrid() override;
  void setColumnVisible(int column, bool visible);
  bool columnVisible(int column) const;
  void setReadOnly(bool readOnly);
  DatasetModel* datasetModel() const { return model_; }

 signals:
  void doubleClicked();  // anywhere on the grid; the handler acts on the current row

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  // Opening a cell editor puts the dataset into edit mode first, as typing in an edit box does.
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  // Escape in a cell editor also ends an edit of the row that changed nothing.
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  class EditorTracker;
  void followDataset(int row);
  void moveDataset(int row);
  void commitOpenEditor();
  void applyColumns();
  void fitColumns();
  int fittedWidth(int column, int firstRow, int rows) const;
  int rowsInView() const;
  int viewWidth(int rows) const;

  DatasetModel* model_;
  EditorTracker* editors_;
  bool following_ = false;
  bool fitting_ = false;
};

enum class NavigatorButton { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };

// Bar of buttons over a data source; enabled state follows the dataset (position, state).
class DataNavigator : public QWidget {
  Q_OBJECT
 public:
  DataNavigator(QWidget* parent, engine::DataSource* source, std::vector<NavigatorButton> buttons);
  ~DataNavigator() override;
  QWidget* button(NavigatorButton which) const;  // nullptr when the bar lacks it
  void click(NavigatorButton which);             // as a user click, inside the handler guard

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  class Link;
  std::unique_ptr<Link> link_;
};

// Drop-down list of a list source's rows, showing displayField and keyed by keyField, bound to no
// field: choosing an entry moves the list source's cursor to that row.
class DataLookupList : public QComboBox {
  Q_OBJECT
 public:
  DataLookupList(QWidget* parent, engine::DataSource* listSource, const QString& keyField, const QString& displayField);
  ~DataLookupList() override;
  QString keyValue() const;
  // Moves the list source to the row with this key; when none has it, to the first row.
  void setKeyValue(const QString& key);
  void hidePopup() override;  // also emits closeUp

 signals:
  void closeUp();  // the drop-down closed (with or without a new choice)

 private:
  class Link;
  void emitPendingCloseUp();
  std::unique_ptr<Link> link_;
  bool closeUpPending_ = false;
};

}  // namespace ui
