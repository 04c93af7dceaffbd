#pragma once
// The form scaling component: placed on a window, it fits the window's client area to the screen
// when the window is created and rescales every control, positions, sizes and fonts, when the
// user resizes the window, keeping the window's aspect ratio. It takes the window's events over
// (an event filter) and runs the window's own handlers, held in its GTOn... properties, with the
// window as sender; destroyed, it hands them back.
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>

#include "ui/scaling/client_area.h"
#include "ui/scaling/form_events.h"
#include "ui/scaling/form_snapshot.h"
#include "ui/scaling/minimum_size.h"

namespace ui {

class GTForm : public QObject {
  Q_OBJECT
 public:
  // The window is the owner. Its handlers (its FormEvents, if it has one) move into GTOn...
  explicit GTForm(QWidget* window);
  ~GTForm() override;

 private:
  FormHandlers handlers_;  // first: the GTOn... references below name its members

 public:
  // Published properties.
  bool GTUpdate = false;  // a layout-time trigger; always false at run time
  int RtMinimumWidth = 0;
  int RtMinimumHeight = 0;
  int RtMaximumWidth = 0;
  int RtMaximumHeight = 0;
  int RtDisplayWidth = 0;
  int RtDisplayHeight = 0;
  int IgnoreTag = 1;

  bool SameSize() const { return sameSize_; }
  void setSameSize(bool sameSize);  // re-records the window
  // Taken only while empty, cut to 15 characters.
  QString GTDesignH() const { return designH_; }
  QString GTDesignW() const { return designW_; }
  void setGTDesignH(const QString& text);
  void setGTDesignW(const QString& text);
  int GTClientHeight() const { return clientHeight_; }
  int GTClientWidth() const { return clientWidth_; }
  void setGTClientHeight(int height);  // also sets the window's client height
  void setGTClientWidth(int width);
  bool Enabled() const { return enabled_; }
  void setEnabled(bool enabled);  // attaches the resize step to the window's resize event or detaches it

  // The window's own handlers, called with the window as sender.
  FormHandler& GTOnActivate = handlers_.OnActivate;
  FormHandler& GTOnClick = handlers_.OnClick;
  FormEventHandler<QCloseEvent>& GTOnClose = handlers_.OnClose;
  FormEventHandler<QCloseEvent>& GTOnCloseQuery = handlers_.OnCloseQuery;
  FormHandler& GTOnCreate = handlers_.OnCreate;
  FormHandler& GTOnDblClick = handlers_.OnDblClick;
  FormHandler& GTOnDeactivate = handlers_.OnDeactivate;
  FormHandler& GTOnDestroy = handlers_.OnDestroy;
  FormEventHandler<QDropEvent>& GTOnDragDrop = handlers_.OnDragDrop;
  FormEventHandler<QDragMoveEvent>& GTOnDragOver = handlers_.OnDragOver;
  FormHandler& GTOnHide = handlers_.OnHide;
  FormEventHandler<QKeyEvent>& GTOnKeyDown = handlers_.OnKeyDown;
  FormEventHandler<QKeyEvent>& GTOnKeyPress = handlers_.OnKeyPress;
  FormEventHandler<QKeyEvent>& GTOnKeyUp = handlers_.OnKeyUp;
  FormEventHandler<QMouseEvent>& GTOnMouseDown = handlers_.OnMouseDown;
  FormEventHandler<QMouseEvent>& GTOnMouseMove = handlers_.OnMouseMove;
  FormEventHandler<QMouseEvent>& GTOnMouseUp = handlers_.OnMouseUp;
  FormHandler& GTOnPaint = handlers_.OnPaint;
  FormHandler& GTOnResize = handlers_.OnResize;
  FormHandler& GTOnShow = handlers_.OnShow;

  // The layout it returns to: the snapshot's client size, and the size it scales from.
  QSize snapshotClientSize() const { return snapshot_.client; }
  QSize targetSize() const { return target_; }
  bool active() const { return active_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class ResizeHandler { Recording, ResizeStep, None };

  // The steps, named as the component's documentation names them.
  void creationFit();
  void sameSizeFit();
  void resizeStep();
  void resizeStepBody();
  void aspectStep();
  void applyStep();
  void scaleStep(int threshold);
  void reposition(long double factor);
  void activationStep();
  void showCheck();
  void screenCheck();
  void record();
  void measure();
  void measureExtent();
  void parseMargins();
  void takeSnapshot();
  void rebuild();
  void restoreFromSnapshot();
  void restoreOnce(bool& wasActive);
  void computeMinimumSize();
  void enforceMinimumSize();
  void equalisePages();
  void rememberSizeAndFont();
  void rememberActiveControl();
  void giveFocusBack();
  void applyLimits();

  QSize screenSize() const;
  QSize sameSizeConverted(QSize size) const;  // by the ratio of screen to design screen
  bool maximized() const;
  bool settled() const { return !loading_ && !destroying_; }  // neither loading nor being destroyed
  int windowFontHeight() const;
  void setWindowFontHeight(int height);
  std::vector<QWidget*> controls() const;

  QWidget* window_;
  ClientArea client_;

  bool sameSize_ = false;
  QString designH_;
  QString designW_;
  int clientHeight_ = 0;
  int clientWidth_ = 0;
  bool enabled_ = false;
  ResizeHandler resizeHandler_ = ResizeHandler::Recording;

  QSize target_;
  int rememberedFontHeight_ = 0;
  Snapshot snapshot_;
  long double aspectRatio_ = 0;
  int designScreenWidth_ = 0;
  int designScreenHeight_ = 0;
  int rightMargin_ = 0;
  int bottomMargin_ = 0;
  int lastScreenWidth_ = 0;  // the screen width last seen; a change of it re-lays the window out
  int frameHeight_ = 0;
  int lastGrowth_ = 0;
  MinimumSize minimum_;
  QRect lastFirstPage_;  // the bounds last taken from a first page, for a page control without one

  bool loading_ = true;
  bool destroying_ = false;
  bool created_ = false;
  bool inResizeStep_ = false;  // the window's resize handler is detached meanwhile
  bool active_ = false;
  bool aspectRunning_ = false;
  bool applyRunning_ = false;
  bool maximizedPass_ = false;
  bool forcedRelayout_ = false;
  bool maximizedToggle_ = false;
  bool minimumHit_ = false;
  QPointer<QWidget> activeControl_;
};

}  // namespace ui
