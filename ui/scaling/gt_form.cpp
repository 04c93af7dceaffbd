#include "ui/scaling/gt_form.h"

#include <QEvent>
#include <QMainWindow>
#include <QStackedWidget>
#include <QTableView>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "ui/scaling/busy_scope.h"
#include "ui/scaling/design_strings.h"
#include "ui/scaling/form_controls.h"
#include "ui/scaling/grid_font_follower.h"
#include "ui/scaling/label_attachment.h"
#include "ui/scaling/pixel_rounding.h"
#include "ui/scaling/screen_metrics.h"

namespace ui {
namespace {

// Shared by every window that carries the component.
struct UnitState {
  bool resizeGuard = false;
  int extentRight = 0;  // the controls' largest right and bottom edges, last measured
  int extentBottom = 0;
  bool initialFitDone = false;
  bool firstLayoutPending = false;
  bool restoreAfterMaximizePending = false;
};
UnitState unit;

constexpr int kThreshold = 100;  // a client height below it is not scaled
constexpr qsizetype kDesignStringLength = 15;
constexpr long double kSameSizeShrink = 0.9L;

// Sets a flag for a scope and clears it on every way out.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

int rightOf(const QRect& bounds) { return bounds.left() + bounds.width(); }
int bottomOf(const QRect& bounds) { return bounds.top() + bounds.height(); }

}  // namespace

GTForm::GTForm(QWidget* window) : QObject(window), window_(window), client_(window) {
  IgnoreTag = 1;
  if (FormEvents* own = FormEvents::of(window)) {
    handlers_ = std::move(own->handlers);
    delete own;
  }
  // The menu bar belongs to the frame: it keeps its font when the window's font is scaled.
  if (auto* main = qobject_cast<QMainWindow*>(window); main && main->menuWidget())
    main->menuWidget()->setFont(main->menuWidget()->font());
  window->installEventFilter(this);
  unit.initialFitDone = false;
  unit.firstLayoutPending = false;
  GTUpdate = false;
}

GTForm::~GTForm() {
  if (enabled_) setEnabled(false);
  window_->removeEventFilter(this);
  // Deleted with its window, the component is no longer among the window's children by now.
  const bool windowGoes = destroying_ || !window_->children().contains(this);
  if (!windowGoes) new FormEvents(window_, handlers_);
}

void GTForm::setSameSize(bool sameSize) {
  sameSize_ = sameSize;
  record();
}

void GTForm::setGTDesignH(const QString& text) {
  if (designH_.isEmpty()) designH_ = text.left(kDesignStringLength);
}

void GTForm::setGTDesignW(const QString& text) {
  if (designW_.isEmpty()) designW_ = text.left(kDesignStringLength);
}

void GTForm::setGTClientHeight(int height) {
  clientHeight_ = height;
  client_.setHeight(height);
}

void GTForm::setGTClientWidth(int width) {
  clientWidth_ = width;
  client_.setWidth(width);
}

void GTForm::setEnabled(bool enabled) {
  enabled_ = enabled;
  if (!inResizeStep_) resizeHandler_ = enabled ? ResizeHandler::ResizeStep : ResizeHandler::None;
}

bool GTForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched != window_) return false;
  switch (event->type()) {
    case QEvent::Polish:
      if (!std::exchange(created_, true)) creationFit();
      return false;
    case QEvent::WindowActivate:
      activationStep();
      callHandler(GTOnActivate, window_);
      return false;
    case QEvent::WindowDeactivate:
      callHandler(GTOnDeactivate, window_);
      setEnabled(false);
      return false;
    case QEvent::Show:
      if (event->spontaneous()) return false;
      showCheck();
      callHandler(GTOnShow, window_);
      return false;
    case QEvent::Resize:
      if (resizeHandler_ == ResizeHandler::Recording) record();
      if (resizeHandler_ == ResizeHandler::ResizeStep) resizeStep();
      return false;
    default:
      if (event->type() == destroyEventType()) destroying_ = true;
      return dispatchFormEvent(handlers_, window_, event);
  }
}

std::vector<QWidget*> GTForm::controls() const { return ownedControls(window_); }

QSize GTForm::screenSize() const { return screenMetrics().screenSize(); }

QSize GTForm::sameSizeConverted(QSize size) const {
  const QSize screen = screenSize();
  return {roundPixels(size.width() * ratio(screen.width(), designScreenWidth_)),
          roundPixels(size.height() * ratio(screen.height(), designScreenHeight_))};
}

bool GTForm::maximized() const { return window_->isMaximized(); }

int GTForm::windowFontHeight() const { return fontHeight(window_->font()); }

void GTForm::setWindowFontHeight(int height) { setFontHeight(window_, height); }

void GTForm::rememberSizeAndFont() {
  target_ = client_.size();
  rememberedFontHeight_ = windowFontHeight();
}

void GTForm::rememberActiveControl() { activeControl_ = window_->focusWidget(); }

void GTForm::giveFocusBack() {
  if (activeControl_ && activeControl_->isVisible()) activeControl_->setFocus();
}

// ---- Measuring and recording

void GTForm::parseMargins() {
  const DesignValues height = parseDesignString(designH_);
  const DesignValues width = parseDesignString(designW_);
  designScreenHeight_ = height.screen;
  designScreenWidth_ = width.screen;
  if (height.margin) bottomMargin_ = *height.margin;
  if (width.margin) rightMargin_ = *width.margin;
}

void GTForm::measureExtent() {
  int right = 0;
  int bottom = 0;
  for (const QWidget* control : controls()) {
    if (control->parentWidget() != window_) continue;
    const QRect bounds = client_.boundsOf(control);
    right = std::max(right, rightOf(bounds));
    bottom = std::max(bottom, bottomOf(bounds));
  }
  unit.extentRight = right;
  unit.extentBottom = bottom;
  rightMargin_ = std::abs(client_.width() - right);
  bottomMargin_ = std::abs(client_.height() - bottom);
}

void GTForm::measure() {
  if (destroying_) return;
  measureExtent();
  if (sameSize_ && settled() && unit.extentRight > client_.width()) {
    parseMargins();
    target_ = {unit.extentRight + rightMargin_, unit.extentBottom + bottomMargin_};
    scaleStep(kThreshold);
    measureExtent();
  }
}

void GTForm::record() {
  target_ = {clientWidth_, clientHeight_};
  measure();
  lastScreenWidth_ = screenSize().width();
}

// ---- Creation

void GTForm::creationFit() {
  loading_ = false;
  client_.setHeight(clientHeight_);
  client_.setWidth(clientWidth_);
  frameHeight_ = client_.windowHeight() - client_.height();
  lastGrowth_ = 0;
  if (maximized()) {
    sameSize_ = false;
    unit.restoreAfterMaximizePending = true;
  }
  measure();
  parseMargins();
  const QSize screen = screenSize();
  auto fitted = [&] {
    return QSize(roundPixels(ratio(rightMargin_, designScreenWidth_) * screen.width()) + unit.extentRight,
                 roundPixels(ratio(bottomMargin_, designScreenHeight_) * screen.height()) + unit.extentBottom);
  };
  client_.setSize(fitted());

  record();
  if (!unit.initialFitDone) unit.firstLayoutPending = true;
  if (!sameSize_) {
    target_ = {unit.extentRight ? rightMargin_ + unit.extentRight : clientWidth_,
               unit.extentBottom ? bottomMargin_ + unit.extentBottom : clientHeight_};
    if (unit.firstLayoutPending && !unit.initialFitDone) takeSnapshot();
  } else {
    sameSizeFit();
  }
  unit.initialFitDone = true;
  rememberSizeAndFont();

  if (settled()) {
    active_ = true;
    setEnabled(true);
  }
  if (!maximized()) {
    measure();
    parseMargins();
    target_ = fitted();
    scaleStep(kThreshold);
  }
  callHandler(GTOnCreate, window_);
  if (!maximized() && RtDisplayWidth != 0 && RtDisplayHeight != 0) {
    const bool wasActive = active_;
    const QSize display(RtDisplayWidth, RtDisplayHeight);
    const QSize size = sameSize_ ? sameSizeConverted(display) : display;
    setGTClientWidth(size.width());
    setGTClientHeight(size.height());
    active_ = wasActive;
  }
  rebuild();
}

void GTForm::sameSizeFit() {
  const QSize design(clientWidth_, clientHeight_);
  rememberSizeAndFont();
  const QSize converted = sameSizeConverted(design);
  const QSize screen = screenSize();
  client_.setSize({roundPixels(screen.width() * ratio(design.width(), designScreenWidth_) * kSameSizeShrink),
                   roundPixels(screen.height() * ratio(design.height(), designScreenHeight_) * kSameSizeShrink)});
  scaleStep(kThreshold);
  if (unit.firstLayoutPending && !unit.initialFitDone) takeSnapshot();
  client_.setSize(converted);
  applyStep();
  if (client_.width() != clientWidth_) {
    for (QWidget* control : controls()) scaleFont(control, kSameSizeShrink, nullptr);
  }
  rebuild();
  rememberSizeAndFont();
}

void GTForm::rebuild() {
  takeSnapshot();
  rememberSizeAndFont();
  computeMinimumSize();
  restoreFromSnapshot();
}

// ---- Snapshot

void GTForm::takeSnapshot() {
  snapshot_ = {};
  snapshot_.client = client_.size();
  snapshot_.fontHeight = windowFontHeight();
  aspectRatio_ = ratio(snapshot_.client.height(), snapshot_.client.width());
  for (QWidget* control : controls()) {
    ControlEntry entry{control, control->geometry()};
    scaleFont(control, kStoreFont, &entry);
    snapshot_.controls.push_back(entry);
    if (auto* grid = qobject_cast<QTableView*>(control)) GridFontFollower::attach(grid);
    if (isLabel(control)) {
      auto* label = static_cast<QLabel*>(control);
      snapshot_.labelAlignments.emplace_back(label, label->alignment());
    }
  }
}

void GTForm::restoreFromSnapshot() {
  if (snapshot_.empty()) return;
  const BusyScope busy(window_);
  bool wasActive = false;
  restoreOnce(wasActive);
  restoreOnce(wasActive);
  if (wasActive) active_ = true;
  setEnabled(true);
}

void GTForm::restoreOnce(bool& wasActive) {
  setEnabled(false);
  if (active_) {
    active_ = false;
    wasActive = true;
  }
  client_.setSize(snapshot_.client);
  setWindowFontHeight(snapshot_.fontHeight);
  for (ControlEntry& entry : snapshot_.controls) {
    if (!entry.control) continue;
    applyBounds(entry.control, entry.bounds);
    scaleFont(entry.control, kRestoreFont, &entry);
    fitAutoSize(entry.control);
  }
  measure();
  rememberSizeAndFont();
  computeMinimumSize();
}

// ---- Minimum size

void GTForm::computeMinimumSize() { minimum_.compute(controls(), target_); }

void GTForm::enforceMinimumSize() {
  const QSize size = minimum_.enforce(client_.size(), minimumHit_);
  if (size != client_.size()) client_.setSize(size);
}

// ---- Resizing

void GTForm::resizeStep() {
  if (unit.resizeGuard) return resizeStepBody();
  unit.resizeGuard = true;
  resizeStepBody();
}

void GTForm::resizeStepBody() {
  struct Release {
    GTForm& form;
    ~Release() {
      form.inResizeStep_ = false;
      form.resizeHandler_ = form.enabled_ ? ResizeHandler::ResizeStep : ResizeHandler::None;
      unit.resizeGuard = false;
    }
  } release{*this};
  inResizeStep_ = true;
  resizeHandler_ = ResizeHandler::None;
  const BusyScope busy(window_);
  if (!enabled_ && !active_) return;
  applyLimits();
  const QSize size = client_.size();
  const QSize minimum(RtMinimumWidth, RtMinimumHeight);
  const QSize maximum(RtMaximumWidth, RtMaximumHeight);
  const bool atLimit = size == (sameSize_ ? sameSizeConverted(minimum) : minimum) ||
                       size == (sameSize_ ? sameSizeConverted(maximum) : maximum);
  if (atLimit || !active_) {
    applyStep();
  } else {
    aspectStep();
  }
}

void GTForm::applyLimits() {
  const QSize minimum = sameSize_ ? sameSizeConverted({RtMinimumWidth, RtMinimumHeight})
                                  : QSize(RtMinimumWidth, RtMinimumHeight);
  const QSize maximum = sameSize_ ? sameSizeConverted({RtMaximumWidth, RtMaximumHeight})
                                  : QSize(RtMaximumWidth, RtMaximumHeight);
  QSize size = client_.size();
  if (minimum.width() != 0 && minimum.width() >= size.width()) size.setWidth(minimum.width());
  if (minimum.height() != 0 && minimum.height() >= size.height()) size.setHeight(minimum.height());
  if (maximum.width() != 0 && size.width() >= maximum.width()) size.setWidth(maximum.width());
  if (maximum.height() != 0 && size.height() >= maximum.height()) size.setHeight(maximum.height());
  if (size != client_.size()) client_.setSize(size);
}

void GTForm::aspectStep() {
  if (aspectRunning_) return;
  const FlagScope running(aspectRunning_);
  screenCheck();
  if (maximized()) {
    active_ = false;
    applyStep();
    maximizedPass_ = true;
  }
  if (!active_) return;
  active_ = false;
  if (roundPixels(snapshot_.client.height() / 3.0L) >= target_.height() ||
      roundPixels(snapshot_.client.width() / 3.0L) >= target_.width())
    restoreFromSnapshot();
  if (client_.width() != target_.width()) {  // the user changed the width: the height follows
    applyStep();
    target_.setHeight(client_.height());
    client_.setHeight(roundPixels(client_.width() * aspectRatio_));
  } else if (!maximizedPass_) {  // the height changed: the width follows
    target_.setWidth(client_.width());
    client_.setWidth(roundPixels(ratio(client_.height(), aspectRatio_)));
  }
  applyStep();
  active_ = true;
}

void GTForm::applyStep() {
  if (settled() && !aspectRunning_ && lastScreenWidth_ != 0 && screenSize().width() != lastScreenWidth_) {
    const bool wasActive = active_;
    active_ = true;
    aspectStep();
    active_ = wasActive;
    return;
  }
  rememberActiveControl();
  if (unit.restoreAfterMaximizePending && !maximized()) {
    unit.restoreAfterMaximizePending = false;
    restoreFromSnapshot();
    return;
  }
  if (applyRunning_) return;
  const FlagScope applying(applyRunning_);
  if (maximized()) maximizedPass_ = true;
  const int growth = client_.windowHeight() - client_.height() - frameHeight_;
  if (growth != lastGrowth_) client_.setHeight(client_.height() + growth - lastGrowth_);
  lastGrowth_ = growth;
  if (!enabled_ && !maximizedPass_) setEnabled(true);
  if (roundPixels(snapshot_.client.height() / 3.0L) >= target_.height()) restoreFromSnapshot();
  if (!unit.firstLayoutPending && client_.height() < kThreshold && !minimumHit_) {
    giveFocusBack();
    if (!maximized()) client_.setSize(client_.size().expandedTo(target_));
    if (active_) aspectStep();
    applyRunning_ = false;
  }
  scaleStep(kThreshold);
  applyRunning_ = false;
  if (unit.firstLayoutPending) {
    unit.firstLayoutPending = false;
  } else {
    giveFocusBack();
  }
  if (maximizedPass_) {
    if (aspectRunning_) active_ = true;
    maximizedPass_ = false;
  }
  reattachLabels(window_, controls(), snapshot_);
  callHandler(GTOnResize, window_);
}

void GTForm::scaleStep(int threshold) {
  if (client_.size() == target_) return;
  rememberActiveControl();
  if (!maximizedPass_) enforceMinimumSize();
  const std::vector<QWidget*> all = controls();
  for (QWidget* control : all)
    if (isLabel(control)) setAutoSize(control, aspectRunning_);
  const QSize size = client_.size();
  long double factor = 1.0L;
  if (!maximizedToggle_ && maximizedPass_) {
    maximizedToggle_ = true;
    factor = ratio(size.width() * aspectRatio_, target_.height());
  } else if (maximizedToggle_) {
    maximizedToggle_ = false;
    factor = ratio(size.height(), target_.width() * aspectRatio_);
  } else if (size.height() >= threshold) {
    factor = ratio(size.height(), target_.height());
  }
  reposition(factor);
  setWindowFontHeight(roundPixels(rememberedFontHeight_ * factor));
  for (QWidget* control : all) fitAutoSize(control);  // labels that size themselves follow the new font
  rememberSizeAndFont();
  giveFocusBack();
}

void GTForm::reposition(long double factor) {
  const QSize now = client_.size();
  const long double width = now.width(), height = now.height();
  const int oldWidth = target_.width(), oldHeight = target_.height();
  if (oldWidth == 0 || oldHeight == 0) return;
  for (QWidget* control : controls()) {
    QRect bounds = control->geometry();
    switch (alignmentOf(control)) {
      case Alignment::Top:
      case Alignment::Bottom: bounds.setHeight(roundPixels(height * ratio(bounds.height(), oldHeight))); break;
      case Alignment::Left: bounds.setWidth(roundPixels(width * ratio(bounds.width(), oldWidth))); break;
      case Alignment::None: {
        int left = bounds.left(), right = rightOf(bounds), top = bounds.top(), bottom = bottomOf(bounds);
        if (now.width() != oldWidth) {
          left = roundPixels(width * ratio(left, oldWidth));
          right = roundPixels(width * ratio(right, oldWidth));
        }
        if (now.height() != oldHeight) {
          top = roundPixels(ratio(top, oldHeight) * height);
          bottom = roundPixels(height * ratio(bottom, oldHeight));
        }
        bounds = QRect(left, top, right - left, bottom - top);
        break;
      }
    }
    applyBounds(control, bounds);
    const bool keepsFont = control->metaObject()->className() == std::string_view("GTStringGrid") ||
                           tagOf(control) == IgnoreTag;
    if (!keepsFont) scaleFont(control, factor, nullptr);
    fitAutoSize(control);
  }
}

// ---- Screen, show and activation

void GTForm::showCheck() {
  if (!settled() || screenSize().width() == lastScreenWidth_) return;
  forcedRelayout_ = true;
  applyStep();
}

void GTForm::screenCheck() {
  if (maximized()) return;
  const QSize screen = screenSize();
  if (lastScreenWidth_ != 0 && lastScreenWidth_ != screen.width()) {
    if (snapshot_.client != client_.size() || forcedRelayout_) {
      setEnabled(false);
      active_ = false;
      client_.setSize(sameSize_ ? sameSizeConverted(snapshot_.client) : snapshot_.client);
      scaleStep(kThreshold);
      forcedRelayout_ = false;
    }
    computeMinimumSize();
    takeSnapshot();
    setEnabled(true);
    active_ = true;
  }
  lastScreenWidth_ = screen.width();
}

void GTForm::activationStep() {
  if (!unit.initialFitDone) return;
  setEnabled(true);
  if (unit.firstLayoutPending && !unit.restoreAfterMaximizePending) restoreFromSnapshot();
  equalisePages();
}

// Every sheet of a page control takes the bounds of its first sheet.
void GTForm::equalisePages() {
  bool zeroWidth = false;
  for (QWidget* control : controls()) {
    auto* pages = qobject_cast<QStackedWidget*>(control);
    if (!pages || pages->count() == 0) continue;
    QRect bounds = pages->widget(0)->geometry();
    if (bounds.width() != 0) {
      lastFirstPage_ = bounds;
    } else {
      bounds = lastFirstPage_;
    }
    for (int index = 0; index < pages->count(); ++index) {
      zeroWidth = zeroWidth || pages->widget(index)->width() == 0;
      pages->widget(index)->setGeometry(bounds);
    }
  }
  if (zeroWidth) takeSnapshot();
}

}  // namespace ui
