#include "ui/scaling/form_events.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "ui/handler_guard.h"

namespace ui {
namespace {

template <typename Handler, typename... Arguments>
void call(const Handler& handler, QWidget* window, Arguments... arguments) {
  if (handler) guarded(window, [&] { handler(window, arguments...); });
}

// A close runs the close query first; a refusal there ends it.
bool dispatchClose(const FormHandlers& handlers, QWidget* window, QCloseEvent* event) {
  call(handlers.OnCloseQuery, window, event);
  if (event->isAccepted()) call(handlers.OnClose, window, event);
  return !event->isAccepted();
}

bool dispatchMouse(const FormHandlers& handlers, QWidget* window, QMouseEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress: call(handlers.OnMouseDown, window, event); break;
    case QEvent::MouseMove: call(handlers.OnMouseMove, window, event); break;
    case QEvent::MouseButtonDblClick: call(handlers.OnDblClick, window); break;
    case QEvent::MouseButtonRelease:
      call(handlers.OnMouseUp, window, event);
      if (event->button() == Qt::LeftButton && window->rect().contains(event->position().toPoint()))
        call(handlers.OnClick, window);
      break;
    default: break;
  }
  return false;
}

bool dispatchKey(const FormHandlers& handlers, QWidget* window, QKeyEvent* event) {
  if (event->type() == QEvent::KeyRelease) {
    call(handlers.OnKeyUp, window, event);
    return false;
  }
  call(handlers.OnKeyDown, window, event);
  if (!event->text().isEmpty()) call(handlers.OnKeyPress, window, event);
  return false;
}

}  // namespace

int destroyEventType() {
  static const int type = QEvent::registerEventType();
  return type;
}

void sendDestroyEvent(QWidget* window) {
  QEvent event(static_cast<QEvent::Type>(destroyEventType()));
  QCoreApplication::sendEvent(window, &event);
}

void callHandler(const FormHandler& handler, QWidget* window) { call(handler, window); }

bool isCreateEvent(const QEvent* event) { return event->type() == QEvent::Polish; }

bool dispatchFormEvent(const FormHandlers& handlers, QWidget* window, QEvent* event) {
  if (event->type() == destroyEventType()) {
    call(handlers.OnDestroy, window);
    return true;
  }
  switch (event->type()) {
    case QEvent::Close: return dispatchClose(handlers, window, static_cast<QCloseEvent*>(event));
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: return dispatchMouse(handlers, window, static_cast<QMouseEvent*>(event));
    case QEvent::KeyPress:
    case QEvent::KeyRelease: return dispatchKey(handlers, window, static_cast<QKeyEvent*>(event));
    case QEvent::Hide:
      if (!event->spontaneous()) call(handlers.OnHide, window);
      return false;
    case QEvent::Paint: call(handlers.OnPaint, window); return false;
    case QEvent::DragEnter:
    case QEvent::DragMove: call(handlers.OnDragOver, window, static_cast<QDragMoveEvent*>(event)); return false;
    case QEvent::Drop: call(handlers.OnDragDrop, window, static_cast<QDropEvent*>(event)); return false;
    default: return false;
  }
}

FormEvents::FormEvents(QWidget* window, FormHandlers table)
    : QObject(window), handlers(std::move(table)), window_(window) {
  window->installEventFilter(this);
}

FormEvents* FormEvents::of(QWidget* window) { return window->findChild<FormEvents*>({}, Qt::FindDirectChildrenOnly); }

bool FormEvents::eventFilter(QObject* watched, QEvent* event) {
  if (watched != window_) return false;
  switch (event->type()) {
    case QEvent::Polish:
      if (!std::exchange(created_, true)) call(handlers.OnCreate, window_);
      return false;
    case QEvent::WindowActivate: call(handlers.OnActivate, window_); return false;
    case QEvent::WindowDeactivate: call(handlers.OnDeactivate, window_); return false;
    case QEvent::Show:
      if (!event->spontaneous()) call(handlers.OnShow, window_);
      return false;
    case QEvent::Resize: call(handlers.OnResize, window_); return false;
    default: return dispatchFormEvent(handlers, window_, event);
  }
}

}  // namespace ui
