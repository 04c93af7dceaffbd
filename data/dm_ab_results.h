#pragma once
// The results data module: the dating results with their samples, groupings and sources, the
// catalogue and working tables, and the rules applied when a row is posted through them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/data_module.h"
#include "data/post_error_rules.h"

namespace data {

// The age times 1000 as IAge stores it: rounded to the nearest integer, a halfway value to the even
// one. Raises std::range_error "Range check error" when it does not fit 32 signed bits.
std::int32_t ageInThousandths(double age);

class TdmABResults : public DataModule {
 public:
  // The database objects take "PATH=" from the session's alias configuration when it is known at
  // creation; otherwise the alias resolves the directory when they connect.
  explicit TdmABResults(engine::Session& session);

  // Where the post-error rules show their warnings; the program wires the warning box, tests record.
  WarningSeam showWarning;

  enum class RuleKind { Standard, Result, Sample };
  struct PostErrorHandler {
    std::string_view name;  // "SmpRegPostError"
    RuleKind rule;
    std::vector<std::string_view> datasets;
  };
  // The post-error handlers and the datasets they serve; every other dataset has none.
  static const std::vector<PostErrorHandler>& postErrorHandlers();
  static const PostErrorRule& postErrorRule(RuleKind kind);

  // A new result is dated today; its CountryAbr has come from the master already.
  void IsoResultsNewRecord(engine::Dataset& dataset);
  // IAge always holds the stored Age times 1000 (an empty Age counts as 0).
  void IsoResultsBeforePost(engine::Dataset& dataset);

  engine::Database& DB1 = databaseObject("DB1");
  engine::Database& DBtmp = databaseObject("DBtmp");
  engine::Database& DBUser = databaseObject("DBUser");

  engine::Table& Country = table("Country");
  engine::Table& Suite = table("Suite");
  engine::Table& Lithology = table("Lithology");
  engine::Table& Interpretation = table("Interpretation");
  engine::Table& Technique = table("Technique");
  engine::Table& CountryList = table("CountryList");
  engine::Table& SuiteList = table("SuiteList");
  engine::Table& IsoResults = table("IsoResults");
  engine::Table& SmpReg = table("SmpReg");
  engine::Table& IsoSys = table("IsoSys");
  engine::Table& PrefLevel = table("PrefLevel");
  engine::Table& Grouping = table("Grouping");
  engine::Table& TempDataMap = table("TempDataMap");
  engine::Table& TempDataDI = table("TempDataDI");
  engine::Table& TempDataI = table("TempDataI");
  engine::Table& Boundary = table("Boundary");
  engine::Table& GroupLst = table("GroupLst");
  engine::Table& UserCheck = table("UserCheck");
  engine::Table& GroupingFree = table("GroupingFree");
  engine::Table& TempDT = table("TempDT");
  engine::Table& BlockingT = table("BlockingT");
  engine::Table& ImportDet = table("ImportDet");
  engine::Table& Approach = table("Approach");
  engine::Table& Material = table("Material");
  engine::Table& Method = table("Method");
  engine::Table& SourceType = table("SourceType");
  engine::Table& Source = table("Source");
  engine::Table& SourceList = table("SourceList");
  engine::Query& Querydm = query("Querydm");
  engine::Table& QdmSmp = table("QdmSmp");
  engine::Table& MaxRecord = table("MaxRecord");
  engine::Table& QdmGrouping = table("QdmGrouping");
  engine::Table& TempDataDG = table("TempDataDG");

  engine::DataSource& dsCountry = dataSource("dsCountry");
  engine::DataSource& dsSuite = dataSource("dsSuite");
  engine::DataSource& dsLithology = dataSource("dsLithology");
  engine::DataSource& dsInterpretation = dataSource("dsInterpretation");
  engine::DataSource& dsTechnique = dataSource("dsTechnique");
  engine::DataSource& dsCountryList = dataSource("dsCountryList");
  engine::DataSource& dsSuiteList = dataSource("dsSuiteList");
  engine::DataSource& dsIsoResults = dataSource("dsIsoResults");
  engine::DataSource& dsSmpReg = dataSource("dsSmpReg");
  engine::DataSource& dsIsoSys = dataSource("dsIsoSys");
  engine::DataSource& dsPrefLevel = dataSource("dsPrefLevel");
  engine::DataSource& dsGrouping = dataSource("dsGrouping");
  engine::DataSource& dsTempDataMap = dataSource("dsTempDataMap");
  engine::DataSource& dsTempDataDI = dataSource("dsTempDataDI");
  engine::DataSource& dsTempDataI = dataSource("dsTempDataI");
  engine::DataSource& dsBoundary = dataSource("dsBoundary");
  engine::DataSource& dsGroupLst = dataSource("dsGroupLst");
  engine::DataSource& dsUserCheck = dataSource("dsUserCheck");
  engine::DataSource& dsGroupingFree = dataSource("dsGroupingFree");
  engine::DataSource& dsTempDT = dataSource("dsTempDT");
  engine::DataSource& dsBlockingT = dataSource("dsBlockingT");
  engine::DataSource& dsImportDet = dataSource("dsImportDet");
  engine::DataSource& dsApproach = dataSource("dsApproach");
  engine::DataSource& dsMaterial = dataSource("dsMaterial");
  engine::DataSource& dsMethod = dataSource("dsMethod");
  engine::DataSource& dsSourceType = dataSource("dsSourceType");
  engine::DataSource& dsSource = dataSource("dsSource");
  engine::DataSource& dsSourceList = dataSource("dsSourceList");
  engine::DataSource& dsQuerydm = dataSource("dsQuerydm");
  engine::DataSource& dsQdmSmp = dataSource("dsQdmSmp");
  engine::DataSource& dsMaxRecord = dataSource("dsMaxRecord");
  engine::DataSource& dsQdmGrouping = dataSource("dsQdmGrouping");
  engine::DataSource& dsTempDataDG = dataSource("dsTempDataDG");

 private:
  void installPostErrorHandlers();
};

}  // namespace data
