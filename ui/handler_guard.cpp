#include "ui/handler_guard.h"

#include <QString>
#include <exception>

#include "db_engine/errors.h"
#include "ui/dialog_seam.h"

namespace ui {

void guarded(QWidget* parent, const std::function<void()>& handler) {
  try {
    handler();
  } catch (const engine::SilentAbort&) {
    // The one who aborted has already told the user, or chose to say nothing.
  } catch (const std::exception& error) {
    showError(parent, QString::fromUtf8(error.what()));
  } catch (...) {
    showError(parent, QStringLiteral("Unknown error"));
  }
}

}  // namespace ui
