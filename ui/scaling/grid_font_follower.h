#pragma once
// A grid's rows and columns follow its font: when the scaling component changes the font (or the
// grid takes a changed font from its window), row height, row header width and column widths
// change in the same proportion, so the larger text still fits its cells.
#include <QObject>

class QTableView;

namespace ui {

class GridFontFollower : public QObject {
  Q_OBJECT
 public:
  // Attaches a follower to grid unless it has one.
  static void attach(QTableView* grid);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit GridFontFollower(QTableView* grid);
  void follow();

  QTableView* grid_;
  int fontHeight_;
};

}  // namespace ui
