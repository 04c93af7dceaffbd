#pragma once
// A window's own handlers of its twenty events, each called with the window as sender and the
// event's own arguments, and the dispatcher that runs them from the window's events. A window
// that carries the scaling component hands the table over to it for the component's lifetime.
#include <QObject>
#include <functional>

class QCloseEvent;
class QDragMoveEvent;
class QDropEvent;
class QKeyEvent;
class QMouseEvent;
class QWidget;

namespace ui {

using FormHandler = std::function<void(QObject* Sender)>;
template <typename Event>
using FormEventHandler = std::function<void(QObject* Sender, Event* event)>;

struct FormHandlers {
  FormHandler OnActivate;
  FormHandler OnClick;
  FormEventHandler<QCloseEvent> OnClose;
  FormEventHandler<QCloseEvent> OnCloseQuery;  // ignoring the event refuses the close
  FormHandler OnCreate;
  FormHandler OnDblClick;
  FormHandler OnDeactivate;
  FormHandler OnDestroy;
  FormEventHandler<QDropEvent> OnDragDrop;
  FormEventHandler<QDragMoveEvent> OnDragOver;
  FormHandler OnHide;
  FormEventHandler<QKeyEvent> OnKeyDown;
  FormEventHandler<QKeyEvent> OnKeyPress;
  FormEventHandler<QKeyEvent> OnKeyUp;
  FormEventHandler<QMouseEvent> OnMouseDown;
  FormEventHandler<QMouseEvent> OnMouseMove;
  FormEventHandler<QMouseEvent> OnMouseUp;
  FormHandler OnPaint;
  FormHandler OnResize;
  FormHandler OnShow;
};

// The event type a window sends itself first thing in its destructor, while its members still
// live, so that its destroy handler can use them.
int destroyEventType();
void sendDestroyEvent(QWidget* window);
// The event type of a window's create step: the window's first polish, when its controls exist.
bool isCreateEvent(const QEvent* event);

// Calls a handler inside the handler guard, with the window as sender.
void callHandler(const FormHandler& handler, QWidget* window);

// Runs one window event through the handlers; true when the event is consumed (a refused close).
// The window is the sender. create, activate, deactivate, show and resize are the caller's: the
// scaling component takes its own steps there.
bool dispatchFormEvent(const FormHandlers& handlers, QWidget* window, QEvent* event);

// The window's handlers while no component holds them: an event filter on the window.
class FormEvents : public QObject {
  Q_OBJECT
 public:
  FormEvents(QWidget* window, FormHandlers handlers);
  // The dispatcher of window, nullptr when it has none.
  static FormEvents* of(QWidget* window);

  FormHandlers handlers;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  bool created_ = false;
};

}  // namespace ui
