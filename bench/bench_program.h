#pragma once
// The program as the window benchmarks run it: its five objects over a given lexicon, the main
// window shown offscreen, messages counted and never shown.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>

#include "app/edit_password_dialog.h"
#include "app/main_window.h"
#include "app/vorl_varb.h"
#include "data/dm_ab_results.h"
#include "data/dm_unit_dated.h"
#include "data/dm_vorl.h"
#include "db_engine/session.h"
#include "ui/dialog_seam.h"

namespace bench {

// Any message during the run is a failure of the setup; it is counted, never shown.
class QuietDialogs : public ui::DialogSeam {
 public:
  void message(QWidget*, ui::MessageKind, const QString&, const QString&) override { ++messages; }
  int exec(QDialog&) override { return 0; }
  int messages = 0;
};

struct Program {
  QTemporaryDir directory;
  QuietDialogs dialogs;
  engine::Session session{"Bench"};
  std::unique_ptr<TfmVORL1> window;
  std::unique_ptr<data::TdmVORL> dmVORL;
  std::unique_ptr<TfmGetEditPassword> fmGetEditPassword;
  std::unique_ptr<data::TdmABResults> dmABResults;
  std::unique_ptr<data::TdmUnitDated> dmUnitDated;

  // createDatabases makes the lexicon in the directory it is given and returns its configuration.
  Program(const QByteArray& settings, const std::function<std::string(const std::string&)>& createDatabases) {
    ui::setDialogs(&dialogs);
    QFile file(directory.filePath("VORL.INI"));
    if (file.open(QIODevice::WriteOnly)) file.write(settings);
    file.close();
    vorl::setSettingsFileName(file.fileName().toStdString());
    session.loadConfiguration(createDatabases(directory.filePath("db").toStdString()));
    window = std::make_unique<TfmVORL1>();
    dmVORL = std::make_unique<data::TdmVORL>(session);
    fmGetEditPassword = std::make_unique<TfmGetEditPassword>();
    dmABResults = std::make_unique<data::TdmABResults>(session);
    dmUnitDated = std::make_unique<data::TdmUnitDated>(session);
    window->bindDataModules({*dmVORL, *fmGetEditPassword, *dmUnitDated});
    window->show();
    QApplication::processEvents();
  }
  ~Program() {
    window.reset();
    ui::setDialogs(nullptr);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
};

// A benchmark program's main: the benchmarks run inside an offscreen application; done runs
// before the application goes.
inline int runInApplication(int argc, char** argv, const std::function<void()>& done = {}) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  if (done) done();
  benchmark::Shutdown();
  return 0;
}

}  // namespace bench
