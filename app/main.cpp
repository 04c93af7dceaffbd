// Program start: the application name, the date format, the engine configuration, then the five
// objects in their order and the message loop.
#include <QApplication>
#include <QStandardPaths>
#include <memory>

#include "app/app_objects.h"
#include "app/edit_password_dialog.h"
#include "app/main_window.h"
#include "app/program_start.h"
#include "app/vorl_varb.h"
#include "data/dm_ab_results.h"
#include "data/dm_unit_dated.h"
#include "data/dm_vorl.h"
#include "db_engine/format_settings.h"
#include "db_engine/session.h"
#include "ui/dialog_seam.h"
#include "ui/engine_password_dialog.h"
#include "ui/handler_guard.h"

namespace {

void configureEngine() {
  engine::formatSettings().shortDateFormat = vorl::shortDateFormatFor(QLocale());
  const std::string configuration = vorl::prepareEngineConfiguration(
      QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
      QString::fromStdString(vorl::dataDirectory()), vorl::sampleDirectory());
  engine::Session::defaultSession().loadConfiguration(configuration);
}

// The data modules report their warnings through the window system's message box.
std::function<void(const std::string&)> warningsTo(QWidget* parent) {
  return [parent](const std::string& text) { ui::showWarning(parent, QString::fromStdString(text)); };
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // No display name: the window system would append it to every caption. The application title
  // is the caption of the standard error box (ui::showError).
  QApplication::setApplicationName("VORL");
  engine::Session& session = engine::Session::defaultSession();
  // A configuration that cannot be prepared is reported; the window still opens and says what fails.
  ui::guarded(nullptr, configureEngine);
  session.setPasswordPrompt(ui::enginePasswordPrompt(nullptr));

  auto mainWindow = std::make_unique<TfmVORL1>();
  auto unitModule = std::make_unique<data::TdmVORL>(session);
  auto passwordDialog = std::make_unique<TfmGetEditPassword>();
  auto resultsModule = std::make_unique<data::TdmABResults>(session);
  auto datedModule = std::make_unique<data::TdmUnitDated>(session);
  fmVORL1 = mainWindow.get();
  dmVORL = unitModule.get();
  fmGetEditPassword = passwordDialog.get();
  dmABResults = resultsModule.get();
  dmUnitDated = datedModule.get();
  resultsModule->showWarning = warningsTo(fmVORL1);
  datedModule->showWarning = warningsTo(fmVORL1);
  fmVORL1->bindDataModules({*dmVORL, *fmGetEditPassword, *dmUnitDated});

  fmVORL1->show();
  const int result = application.exec();
  mainWindow.reset();  // its controls follow the modules' data sources: it goes first
  return result;
}
