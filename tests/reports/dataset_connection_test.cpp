// Connections over the report datasets: field types and values, the two ways of applying a run's
// condition, row validation, and the dataset left as it was found however the run ended.
#include <QDate>
#include <map>
#include <stdexcept>

#include "report_fixture.h"

namespace reports_test {
namespace {

using reporting::DataType;
using Root = reports::TReportData::Root;

std::map<QString, DataType> typesOf(const reporting::DataConnection& connection) {
  std::map<QString, DataType> types;
  for (const reporting::FieldInfo& field : connection.fields()) types[field.name] = field.type;
  return types;
}

reporting::FieldValue valueOf(const reporting::DataConnection& connection, const QString& name) {
  const auto fields = connection.fields();
  for (std::size_t index = 0; index < fields.size(); ++index) {
    if (fields[index].name == name) return connection.value(static_cast<int>(index));
  }
  throw std::out_of_range("no field " + name.toStdString());
}

struct DatasetState {
  bool open;
  std::size_t position;
  std::string filter;
  bool filtered;
  bool operator==(const DatasetState&) const = default;
};

DatasetState stateOf(const engine::Dataset& dataset) {
  return {dataset.active(), dataset.recNo(), dataset.filter(), dataset.filtered()};
}

class ConnectionTest : public ReportDataTest {
 protected:
  reports::TReportData report{databases.session, dsVORLList};
};

TEST_F(ConnectionTest, FieldsCarryTheReportTypes) {
  const auto units = typesOf(report.RPQueryConnection1);
  EXPECT_EQ(units.size(), 18u);
  EXPECT_EQ(units.at("Years"), DataType::dtFloat);
  EXPECT_EQ(units.at("Code"), DataType::dtInteger);
  EXPECT_EQ(units.at("Description"), DataType::dtBlob);
  EXPECT_EQ(units.at("Comments"), DataType::dtMemo);
  EXPECT_EQ(units.at("DateModified"), DataType::dtDate);
  EXPECT_EQ(units.at("Dated"), DataType::dtBoolean);
  EXPECT_EQ(units.at("Name"), DataType::dtString);
  EXPECT_EQ(typesOf(report.RPdscList4), units);

  const std::map<QString, DataType> areas{
      {"Code", DataType::dtInteger}, {"Area", DataType::dtString}, {"AreaName", DataType::dtString}};
  EXPECT_EQ(typesOf(report.RPdscCodeArea), areas);
  EXPECT_EQ(typesOf(report.RPdscCodeArea5), areas);
}

TEST_F(ConnectionTest, ValuesComeTypedWithTheirDisplayText) {
  chooseUnit("111");
  report.open(Root::CurrentUnit);
  report.RPQueryConnection1.begin({});
  ASSERT_FALSE(report.RPQueryConnection1.eof());
  const auto code = valueOf(report.RPQueryConnection1, "Code");
  EXPECT_EQ(code.value.typeId(), QMetaType::LongLong);
  EXPECT_EQ(code.value.toLongLong(), 111);
  EXPECT_EQ(code.displayText, "111");
  EXPECT_EQ(valueOf(report.RPQueryConnection1, "Years").value, QVariant(285000000.0));
  EXPECT_EQ(valueOf(report.RPQueryConnection1, "Name").value, QVariant(QString("Prince Albert Formation")));
  EXPECT_EQ(valueOf(report.RPQueryConnection1, "Dated").value, QVariant(true));
  EXPECT_EQ(valueOf(report.RPQueryConnection1, "Dated").displayText, "True");
  EXPECT_EQ(valueOf(report.RPQueryConnection1, "DateModified").value, QVariant(QDate(2024, 5, 17)));
  EXPECT_EQ(valueOf(report.RPQueryConnection1, "Description").value, QVariant(QByteArray("Shale {\\b dark}")));
  EXPECT_EQ(valueOf(report.RPQueryConnection1, "Comments").value, QVariant(QByteArray("Revised")));
  const auto empty = valueOf(report.RPQueryConnection1, "Interpretation");
  EXPECT_TRUE(empty.value.isNull());
  EXPECT_TRUE(empty.displayText.isEmpty());
  report.RPQueryConnection1.end();
}

TEST_F(ConnectionTest, LocalConditionWorksWithinTheDatasetsFilter) {
  report.open(Root::TopLevel);
  EXPECT_EQ(runCodes(report.RPdscList2, "Code>=100 and Code<=102"), (Codes{100, 102})) << "101 stays filtered";
  report.RPdscList3.begin("Code=111");
  EXPECT_EQ(report.tVORLList3.filter(), "Years<4600000000");
  EXPECT_TRUE(report.tVORLList3.filtered());
  EXPECT_EQ(report.tVORLList3.recordCount(), 6u) << "the condition does not narrow the dataset";
  report.RPdscList3.end();
  EXPECT_EQ(runCodes(report.RPdscCodeArea, "Area='1'"), (Codes{100, 111}));
  EXPECT_EQ(runCodes(report.RPdscList5), (Codes{100, 102, 103, 104, 110, 111}));
}

TEST_F(ConnectionTest, QueryConditionBecomesTheFilterForTheRun) {
  report.open(Root::TopLevel);
  report.ReportQuery1.setFilter("Bogus=1");  // switched off, so it need not compile
  report.RPQueryConnection1.begin("Code=102");
  EXPECT_EQ(report.ReportQuery1.filter(), "Code=102");
  EXPECT_TRUE(report.ReportQuery1.filtered());
  EXPECT_EQ(report.ReportQuery1.recordCount(), 1u);
  report.RPQueryConnection1.end();
  EXPECT_EQ(report.ReportQuery1.filter(), "Bogus=1");
  EXPECT_FALSE(report.ReportQuery1.filtered());
  EXPECT_EQ(report.ReportQuery1.recordCount(), 2u);
}

TEST_F(ConnectionTest, ValidationHandlerSeesEveryRootRow) {
  report.open(Root::TopLevel);
  Codes seen;
  report.RPQueryConnection1.onValidateRow = [&](reporting::DataConnection& connection, bool& accept) {
    report.RPQueryConnection1ValidateRow(connection, accept);
    EXPECT_TRUE(accept);
    seen.push_back(valueOf(connection, "Code").value.toLongLong());
  };
  EXPECT_EQ(runCodes(report.RPQueryConnection1), (Codes{100, 102}));
  EXPECT_EQ(seen, (Codes{100, 102}));
}

TEST_F(ConnectionTest, RunLeavesAnOpenDatasetAsItWas) {
  report.open(Root::TopLevel);
  report.tVORLList2.moveTo(3);
  const DatasetState before = stateOf(report.tVORLList2);
  EXPECT_EQ(runCodes(report.RPdscList2, "Code=110"), (Codes{110}));
  EXPECT_EQ(stateOf(report.tVORLList2), before);

  report.ReportQuery1.last();
  const DatasetState query = stateOf(report.ReportQuery1);
  ASSERT_EQ(query.position, 1u);
  EXPECT_EQ(runCodes(report.RPQueryConnection1, "Code=100"), (Codes{100}));
  EXPECT_EQ(stateOf(report.ReportQuery1), query) << "position kept though the run's filter had one row";
}

TEST_F(ConnectionTest, RunClosesAgainADatasetItOpened) {
  const DatasetState before = stateOf(report.tVORLList4);
  EXPECT_EQ(runCodes(report.RPdscList4, "Code=103"), (Codes{103}));
  EXPECT_EQ(stateOf(report.tVORLList4), before);
}

TEST_F(ConnectionTest, EndAfterAFailedRunRestores) {
  report.open(Root::TopLevel);
  report.tVORLList2.moveTo(2);
  const DatasetState table = stateOf(report.tVORLList2);
  EXPECT_THROW(report.RPdscList2.begin("Unknown=1"), std::exception);
  report.RPdscList2.end();
  EXPECT_EQ(stateOf(report.tVORLList2), table);

  const DatasetState query = stateOf(report.ReportQuery1);
  EXPECT_THROW(report.RPQueryConnection1.begin("Unknown=1"), std::exception);
  report.RPQueryConnection1.end();
  EXPECT_EQ(stateOf(report.ReportQuery1), query);

  report.tVORLList5.close();
  report.RPdscList5.onValidateRow = [](reporting::DataConnection& connection, bool&) {
    if (valueOf(connection, "Code").value.toLongLong() == 103) throw std::runtime_error("cancelled");
  };
  EXPECT_THROW(runCodes(report.RPdscList5), std::runtime_error);
  report.RPdscList5.end();
  EXPECT_FALSE(report.tVORLList5.active()) << "closed again after the cancelled run";
  EXPECT_EQ(report.tVORLList5.filter(), "Years<4600000000");
  EXPECT_TRUE(report.tVORLList5.filtered());
}

}  // namespace
}  // namespace reports_test
