#pragma once
// The datasets the printed reports read, and the connections that offer them to the report engine.
// The root of a report is either the main window's current unit or every top-level unit; the other
// datasets give the units and areas the report bands go down to. Needs no window, so a tool can
// print with it too.
#include "data/data_module.h"
#include "reports/dataset_connection.h"

namespace reports {

class TReportData : public data::DataModule {
 public:
  enum class Root { CurrentUnit, TopLevel };

  // unitSource: where the current unit comes from (the main window's dsVORLList).
  TReportData(engine::Session& session, engine::DataSource& unitSource);

  // Opens every dataset of a print run, the root query for root; the first failure is raised.
  void open(Root root);
  void closeAfterRun();

  // Every row of the root query goes into the report.
  void RPQueryConnection1ValidateRow(reporting::DataConnection& connection, bool& accept) const;

  engine::Query& ReportQuery1 = query("ReportQuery1");
  engine::Table& tVORLList2 = table("tVORLList2");
  engine::Table& tVORLList3 = table("tVORLList3");
  engine::Table& tVORLList4 = table("tVORLList4");
  engine::Table& tVORLList5 = table("tVORLList5");
  engine::Query& tQCodeArea = query("tQCodeArea");
  engine::Query& tQCodeArea2 = query("tQCodeArea2");
  engine::Query& tQCodeArea3 = query("tQCodeArea3");
  engine::Query& tQCodeArea4 = query("tQCodeArea4");
  engine::Query& tQCodeArea5 = query("tQCodeArea5");
  engine::Table& tAreaList = table("tAreaList");

  engine::DataSource& dsReportQuery1 = dataSource("dsReportQuery1");
  engine::DataSource& dstVORLList2 = dataSource("dstVORLList2");
  engine::DataSource& dstVORLList3 = dataSource("dstVORLList3");
  engine::DataSource& dstVORLList4 = dataSource("dstVORLList4");
  engine::DataSource& dstVORLList5 = dataSource("dstVORLList5");

  DatasetConnection RPQueryConnection1{"RPQueryConnection1", ReportQuery1, false};
  DatasetConnection RPdscList2{"RPdscList2", tVORLList2, true};
  DatasetConnection RPdscList3{"RPdscList3", tVORLList3, true};
  DatasetConnection RPdscList4{"RPdscList4", tVORLList4, true};
  DatasetConnection RPdscList5{"RPdscList5", tVORLList5, true};
  DatasetConnection RPdscCodeArea{"RPdscCodeArea", tQCodeArea, true};
  DatasetConnection RPdscCodeArea2{"RPdscCodeArea2", tQCodeArea2, true};
  DatasetConnection RPdscCodeArea3{"RPdscCodeArea3", tQCodeArea3, true};
  DatasetConnection RPdscCodeArea4{"RPdscCodeArea4", tQCodeArea4, true};
  DatasetConnection RPdscCodeArea5{"RPdscCodeArea5", tQCodeArea5, true};
  DatasetConnection RPdscAreaList{"RPdscAreaList", tAreaList, true};
  // The module's base closes every dataset still open when it goes.
};

}  // namespace reports
