#pragma once
// The maintenance command "Check for dated units": marks every unit of the lexicon that has an
// accepted isotope date in the Ambrell database, walking the datasets of dmUnitDated.
#include <map>
#include <string>

#include "db_engine/value.h"

class QWidget;

namespace data {
class TdmUnitDated;
}
namespace engine {
class Field;
}

class DatedUnitCheck {
 public:
  DatedUnitCheck(data::TdmUnitDated& module, QWidget* parent);

  // Does nothing unless both links are on. A refused post while marking is swallowed; the same
  // refusal met again when the walk moves on ends the command with that error, leaving the
  // datasets open. Rows posted before any failure stay posted; a commit of them that fails is rolled
  // back and its error raised instead.
  void run(bool ambrellLink, bool sequenceLink);

 private:
  void closeDatasets();
  void openDatasets();
  void walkInTransactions();
  void walkUnits();
  void examineResult();
  void markUnit();
  std::string resultInterpretation();

  data::TdmUnitDated& module_;
  QWidget* parent_;
  // Persistent fields of the module, read and written for every result and unit.
  engine::Field& age_;
  engine::Field& resultCode_;
  engine::Field& acceptedCode_;
  engine::Field& interpretationText_;
  engine::Field& dated_;
  engine::Field& unitInterpretation_;
  // Interpretation texts by result code, read during the walk.
  std::map<engine::Value, std::string> interpretations_;
};
