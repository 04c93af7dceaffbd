#pragma once
// What the scaling component sees of a window's controls: which controls the window owns, how
// they are aligned, their fonts, tags and automatic sizing.
#include <QFont>
#include <QRect>
#include <vector>

class QWidget;

namespace ui {

// A control's tag: an integer kept as this dynamic property.
inline constexpr char kTagProperty[] = "tag";
// Set to true on a custom widget that holds design controls (as a page control holds its pages).
inline constexpr char kContainerProperty[] = "designContainer";

enum class Alignment { None, Top, Bottom, Left };

// The window's controls in creation order: every widget reached from the window through plain
// containers (the widgets' own parts are not the window's), without its menu bar and without
// widgets that are windows of their own.
std::vector<QWidget*> ownedControls(QWidget* window);

// The control is placed by a layout of its parent (the main window's central widget and status
// bar, the sheets of a page control); its bounds are the layout's.
bool isLaidOut(const QWidget* control);
Alignment alignmentOf(const QWidget* control);
// Sets the bounds; a laid-out control keeps them, except an aligned one its height.
void applyBounds(QWidget* control, const QRect& bounds);

int tagOf(const QWidget* control);
bool takesParentFont(const QWidget* control);
int fontHeight(const QFont& font);
void setFontHeight(QWidget* widget, int height);

bool isLabel(const QWidget* control);      // a text label (not a data-bound text, not a picture)
bool isImage(const QWidget* control);      // a label that shows a picture
bool isPlainEdit(const QWidget* control);  // a one-line edit box that is not data-bound
// Automatic sizing: a label fits its text, a plain edit box its font's height.
void setAutoSize(QWidget* control, bool on);
void fitAutoSize(QWidget* control);

}  // namespace ui
