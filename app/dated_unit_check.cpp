#include "app/dated_unit_check.h"

#include <QApplication>
#include <exception>
#include <initializer_list>
#include <utility>
#include <vector>

#include "data/dm_unit_dated.h"
#include "db_engine/dataset.h"
#include "db_engine/field.h"
#include "db_engine/transaction.h"
#include "ui/dialog_seam.h"

namespace {

// The walk holds the window until it ends; the cursor says so.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

// The walk moves these datasets itself and reads Interpretation only when it marks a unit, so it
// spares their notifications and with them a re-read of the interpretation at every result.
class ControlsDisabled {
 public:
  explicit ControlsDisabled(std::initializer_list<engine::Dataset*> datasets) : datasets_(datasets) {
    for (engine::Dataset* dataset : datasets_) dataset->disableControls();
  }
  // A detail that fails to follow here is read again when it is next opened.
  ~ControlsDisabled() {
    for (engine::Dataset* dataset : datasets_) {
      try {
        dataset->enableControls();
      } catch (const std::exception&) {
      }
    }
  }
  ControlsDisabled(const ControlsDisabled&) = delete;
  ControlsDisabled& operator=(const ControlsDisabled&) = delete;

 private:
  std::vector<engine::Dataset*> datasets_;
};

}  // namespace

DatedUnitCheck::DatedUnitCheck(data::TdmUnitDated& module, QWidget* parent)
    : module_(module),
      parent_(parent),
      age_(module.IsoResults.fieldByName("Age")),
      resultCode_(module.IsoResults.fieldByName("InterpAbr")),
      acceptedCode_(module.AcpInterp.fieldByName("InterpAbr")),
      interpretationText_(module.Interpretation.fieldByName("Interpretation")),
      dated_(module.VORLList.fieldByName("Dated")),
      unitInterpretation_(module.VORLList.fieldByName("Interpretation")) {}

void DatedUnitCheck::run(bool ambrellLink, bool sequenceLink) {
  if (!ambrellLink || !sequenceLink) return;
  {
    WaitCursor waitCursor;
    // A run that failed earlier left its datasets open, the refused unit still in edit mode:
    // start again from the first unit rather than from that pending edit.
    closeDatasets();
    openDatasets();
    interpretations_.clear();
    walkInTransactions();
    closeDatasets();
  }
  ui::showInformation(parent_, QStringLiteral("Checking for dated units completed"));
}

void DatedUnitCheck::closeDatasets() {
  module_.Interpretation.close();
  module_.IsoResults.close();
  module_.Suite.close();
  module_.AcpInterp.close();
  module_.VORLList.close();
}

void DatedUnitCheck::openDatasets() {
  module_.VORLList.open();
  module_.AcpInterp.open();
  module_.Suite.open();
  module_.IsoResults.open();
  module_.Interpretation.open();
}

// The marks are committed on every way out, so each unit posted before a failure stays posted. A
// commit that fails is rolled back and its error reported in place of the walk's: those marks are
// lost, while a refusal that ended the walk has already shown its warning. The results are read in
// one consistent view that leaves them free for other writers.
void DatedUnitCheck::walkInTransactions() {
  engine::Transaction marks(module_.DBu, engine::Transaction::Kind::Write);
  engine::Transaction results(module_.Database2, engine::Transaction::Kind::Read);
  const auto commit = [&] {
    marks.commit();
    results.commit();
  };
  try {
    walkUnits();
  } catch (...) {
    commit();
    throw;
  }
  commit();
}

// Only the first suite of a unit is examined: the walk never moves Suite itself.
void DatedUnitCheck::walkUnits() {
  ControlsDisabled quiet{&module_.AcpInterp, &module_.IsoResults, &module_.Interpretation};
  engine::Dataset& units = module_.VORLList;
  engine::Dataset& results = module_.IsoResults;
  do {
    do {
      examineResult();
      results.next();
    } while (!results.eof());
    units.next();  // posts a refused edit again; that refusal ends the walk
  } while (!units.eof());
}

// A unit without results reads Age as 0 and is skipped. Every accepted row with the result's code
// marks the unit again, so the last qualifying result of a unit gives its interpretation.
void DatedUnitCheck::examineResult() {
  if (age_.asFloat() <= 0) return;
  const engine::Value code = resultCode_.value();
  engine::Dataset& accepted = module_.AcpInterp;
  for (accepted.first(); !accepted.eof(); accepted.next()) {
    if (acceptedCode_.value() == code) markUnit();
  }
}

// The Interpretation text of the current result. The results are one consistent view for the
// whole walk, so the text that Interpretation shows for a code is read once.
std::string DatedUnitCheck::resultInterpretation() {
  engine::Value code = resultCode_.value();
  if (const auto known = interpretations_.find(code); known != interpretations_.end()) return known->second;
  module_.Interpretation.refresh();  // brought to the current result
  return interpretations_.emplace(std::move(code), interpretationText_.asString()).first->second;
}

// A refused post is swallowed here (the post-error rule has already warned); the unit stays in
// edit mode with its new values until the walk moves on.
void DatedUnitCheck::markUnit() {
  engine::Dataset& units = module_.VORLList;
  try {
    const std::string interpretation = resultInterpretation();
    units.edit();
    dated_.setAsBoolean(true);
    unitInterpretation_.setAsString(interpretation);
    units.post();
  } catch (const std::exception&) {
  }
}
