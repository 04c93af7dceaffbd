#pragma once
// The dated-unit data module: its own connections to the lexicon and to the dating results, one
// cursor over all units, the chain from a unit to its results, the accepted interpretations, and
// the warnings for integrity errors on the unit table.
#include "data/data_module.h"
#include "data/post_error_rules.h"

namespace data {

class TdmUnitDated : public DataModule {
 public:
  explicit TdmUnitDated(engine::Session& session);

  // Where VORLListPostError shows its warnings; the program wires the warning box, tests record.
  WarningSeam showWarning;

  // Integrity errors on a unit post become a short warning followed by a silent abort; every other
  // error, and every error while no warning can be shown, continues unchanged.
  void VORLListPostError(engine::Dataset& dataset, const std::exception& error, engine::PostErrorAction& action);


  engine::Database& DBu = databaseObject("DBu");
  engine::Database& Database2 = databaseObject("Database2");

  engine::Table& VORLList = table("VORLList");
  engine::Table& Suite = table("Suite");
  engine::Table& IsoResults = table("IsoResults");
  engine::Table& Interpretation = table("Interpretation");
  engine::Table& AcpInterp = table("AcpInterp");

  engine::DataSource& dsVORLList = dataSource("dsVORLList");
  engine::DataSource& dsSuite = dataSource("dsSuite");
  engine::DataSource& dsIsoResults = dataSource("dsIsoResults");
  engine::DataSource& dsInterpretation = dataSource("dsInterpretation");
  engine::DataSource& dsAcpInterp = dataSource("dsAcpInterp");
};

}  // namespace data
