#pragma once
// The unit data module: the lexicon's datasets over the database VORL, chained master to detail so
// that choosing a country, then a unit, moves every dependent view with it. It has no logic of its
// own beyond opening its datasets in the start-up order.
#include <array>
#include <string_view>

#include "data/data_module.h"

namespace data {

class TdmVORL : public DataModule {
 public:
  explicit TdmVORL(engine::Session& session);

  // The datasets the main window opens at start, in this order; a detail comes after its master.
  static constexpr std::array<std::string_view, 25> startupOrder{
      "CountryList", "VORLList",     "VORLList0", "VORLList2",  "VORLList3",     "Status",      "Chrono",
      "WhenUpdated", "Rank",         "Rank0",     "AreaList1",  "AreaList2",     "AreaList3",   "AreaList",
      "CodeArea",    "Synonyms",     "Correlatives", "SynonList", "CorrelList",  "AreaListL2",  "CodeArea2",
      "Synonyms2",   "Correlatives2", "SynonList2", "CorrelList2"};
  // Opens them one after the other; the first failure is raised and the rest stay closed.
  void openStartupDatasets();

  // The database object, never connected: the handle on the session that the table password is
  // registered with.
  engine::Database& DB1 = databaseObject("DB1");

  engine::Table& CountryList = table("CountryList");
  engine::Table& VORLList = table("VORLList");
  engine::Table& VORLList0 = table("VORLList0");
  engine::Table& VORLList2 = table("VORLList2");
  engine::Table& VORLList3 = table("VORLList3");
  engine::Table& Status = table("Status");
  engine::Table& Chrono = table("Chrono");
  engine::Table& WhenUpdated = table("WhenUpdated");
  engine::Table& Rank = table("Rank");
  engine::Table& Rank0 = table("Rank0");
  engine::Table& AreaList1 = table("AreaList1");
  engine::Table& AreaList2 = table("AreaList2");
  engine::Table& AreaList3 = table("AreaList3");
  engine::Table& CodeArea = table("CodeArea");
  engine::Table& AreaList = table("AreaList");
  engine::Table& SynonList = table("SynonList");
  engine::Table& Synonyms = table("Synonyms");
  engine::Table& Correlatives = table("Correlatives");
  engine::Table& CorrelList = table("CorrelList");
  engine::Table& CorrelCtry = table("CorrelCtry");
  engine::Table& CodeArea2 = table("CodeArea2");
  engine::Table& AreaListL2 = table("AreaListL2");
  engine::Table& SynonList2 = table("SynonList2");
  engine::Table& Synonyms2 = table("Synonyms2");
  engine::Table& Correlatives2 = table("Correlatives2");
  engine::Table& CorrelList2 = table("CorrelList2");
  engine::Table& CorrelCtry2 = table("CorrelCtry2");
  engine::Query& QArea1 = query("QArea1");
  engine::Query& QArea2 = query("QArea2");
  engine::Query& QArea3 = query("QArea3");

  engine::DataSource& dsCountryList = dataSource("dsCountryList");
  engine::DataSource& dsVORLList = dataSource("dsVORLList");
  engine::DataSource& dsVORLList0 = dataSource("dsVORLList0");
  engine::DataSource& dsVORLList2 = dataSource("dsVORLList2");
  engine::DataSource& dsVORLList3 = dataSource("dsVORLList3");
  engine::DataSource& dsStatus = dataSource("dsStatus");
  engine::DataSource& dsChrono = dataSource("dsChrono");
  engine::DataSource& dsWhenUpdated = dataSource("dsWhenUpdated");
  engine::DataSource& dsRank = dataSource("dsRank");
  engine::DataSource& dsRank0 = dataSource("dsRank0");
  engine::DataSource& dsAreaList1 = dataSource("dsAreaList1");
  engine::DataSource& dsAreaList2 = dataSource("dsAreaList2");
  engine::DataSource& dsAreaList3 = dataSource("dsAreaList3");
  engine::DataSource& dsCodeArea = dataSource("dsCodeArea");
  engine::DataSource& dsAreaList = dataSource("dsAreaList");
  engine::DataSource& dsSynonList = dataSource("dsSynonList");
  engine::DataSource& dsSynonyms = dataSource("dsSynonyms");
  engine::DataSource& dsCorrelatives = dataSource("dsCorrelatives");
  engine::DataSource& dsCorrelList = dataSource("dsCorrelList");
  engine::DataSource& dsCorrelCtry = dataSource("dsCorrelCtry");
  engine::DataSource& dsCodeArea2 = dataSource("dsCodeArea2");
  engine::DataSource& dsAreaListL2 = dataSource("dsAreaListL2");
  engine::DataSource& dsSynonList2 = dataSource("dsSynonList2");
  engine::DataSource& dsSynonyms2 = dataSource("dsSynonyms2");
  engine::DataSource& dsCorrelatives2 = dataSource("dsCorrelatives2");
  engine::DataSource& dsCorrelList2 = dataSource("dsCorrelList2");
  engine::DataSource& dsCorrelCtry2 = dataSource("dsCorrelCtry2");
  engine::DataSource& dsQArea1 = dataSource("dsQArea1");
  engine::DataSource& dsQArea2 = dataSource("dsQArea2");
  engine::DataSource& dsQArea3 = dataSource("dsQArea3");
};

}  // namespace data
