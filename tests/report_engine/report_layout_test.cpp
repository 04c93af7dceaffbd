// Laying reports out: master-detail nesting, memos over pages, page bands, page numbers, groups,
// aggregates, a missing connection, and the connections restored on every way out of a run.
#include <gtest/gtest.h>

#include <QBuffer>
#include <map>

#include "memory_connection.h"
#include "report_engine/project_file_reader.h"
#include "report_engine/report_error.h"
#include "report_engine/report_generator.h"
#include "report_engine/text_metrics.h"
#include "report_engine/value_format.h"
#include "report_windows_support.h"

namespace {

using enginetest::MemoryConnection;
using reporting::DataType;

reporting::ReportDefinition definition(const QString& body, const QString& page = {}) {
  QByteArray bytes = QStringLiteral("<ReportProject><Report Name=\"T\">%1%2</Report></ReportProject>")
                         .arg(page.isEmpty() ? QStringLiteral("<Page Size=\"100x100\" MarginTop=\"10\" MarginBottom=\"10\""
                                                              " MarginLeft=\"10\" MarginRight=\"10\"/>")
                                             : page,
                              body)
                         .toUtf8();
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  return std::move(reporting::readProject(buffer, "test.rpd").front());
}

QStringList textsOf(const reporting::ReportDocument& document) {
  QStringList texts;
  for (const auto& page : document.pages) {
    for (const auto& text : page.texts) texts.append(text.text);
  }
  return texts;
}

// Units as a tree: code, parent, name; the root connection serves the top-level ones.
std::vector<std::vector<QVariant>> unitTree() {
  return {{1, 0, "Karoo"}, {2, 1, "Beaufort"}, {3, 2, "Adelaide"}, {4, 3, "Teekloof"}, {5, 4, "Poortjie"},
          {6, 1, "Ecca"},  {7, 0, "Cape"},     {8, 7, "Table Mountain"}, {9, 4, "Hoedemaker"}};
}
const std::vector<reporting::FieldInfo> kUnitFields{
    {"Code", DataType::dtInteger}, {"LParent", DataType::dtInteger}, {"Name", DataType::dtString}};

class LayoutTest : public windowtest::WindowTest {
 protected:
  std::vector<std::unique_ptr<MemoryConnection>> levels;
  void addUnitLevels() {
    std::vector<std::vector<QVariant>> roots;
    for (const auto& row : unitTree()) {
      if (row[1].toInt() == 0) roots.push_back(row);
    }
    levels.push_back(std::make_unique<MemoryConnection>("Roots", kUnitFields, roots));
    for (int level = 2; level <= 5; ++level) {
      levels.push_back(std::make_unique<MemoryConnection>(QStringLiteral("Level%1").arg(level), kUnitFields, unitTree()));
    }
  }
  static QString views() {
    QString text = QStringLiteral("<DataView Name=\"L1\" Connection=\"roots\"/>");
    for (int level = 2; level <= 5; ++level) text += QStringLiteral("<DataView Name=\"L%1\" Connection=\"LEVEL%1\"/>").arg(level);
    return text;
  }
  static QString nameBand() {
    return QStringLiteral("<Band Height=\"5\"><Field X=\"0\" Y=\"0\" Width=\"70\" Height=\"5\" Field=\"Name\"/></Band>");
  }
};

TEST_F(LayoutTest, NestsDetailsFourLevelsDeepWithIndents) {
  addUnitLevels();
  QString nested;
  for (int level = 5; level >= 2; --level) {
    nested = QStringLiteral("<Detail DataView=\"L%1\" LinkFields=\"LParent\" MasterFields=\"Code\" Indent=\"4\">%2%3</Detail>")
                 .arg(level).arg(nameBand(), nested);
  }
  const auto report = definition(views() + "<Detail DataView=\"L1\">" + nameBand() + nested + "</Detail>");
  const auto document = reporting::generateReport(report);
  ASSERT_TRUE(document);
  EXPECT_EQ(textsOf(*document), (QStringList{"Karoo", "Beaufort", "Adelaide", "Teekloof", "Poortjie", "Hoedemaker",
                                             "Ecca", "Cape", "Table Mountain"}));
  const auto& texts = document->pages[0].texts;
  EXPECT_DOUBLE_EQ(texts[0].baseline.x(), 10);  // the left margin
  EXPECT_DOUBLE_EQ(texts[4].baseline.x(), 26);  // four levels of 4 mm
  // One pass over each view, however many master rows asked for its rows.
  for (const auto& level : levels) {
    EXPECT_EQ(level->begun, 1);
    EXPECT_EQ(level->restored, 1);
  }
  EXPECT_EQ(levels[1]->served, static_cast<int>(unitTree().size()));
}

TEST_F(LayoutTest, SortsWithinTheRowsOfEachMaster) {
  addUnitLevels();
  const auto report = definition(views() + "<Detail DataView=\"L1\" Sort=\"Name\">" + nameBand() +
                                 "<Detail DataView=\"L2\" LinkFields=\"LParent\" MasterFields=\"Code\" Sort=\"Name\">" +
                                 nameBand() + "</Detail></Detail>");
  EXPECT_EQ(textsOf(*reporting::generateReport(report)),
            (QStringList{"Cape", "Table Mountain", "Karoo", "Beaufort", "Ecca"}));
}

TEST_F(LayoutTest, MemoLongerThanAPageContinuesOnTheNextPages) {
  QStringList paragraphs;
  for (int line = 1; line <= 60; ++line) paragraphs.append(QStringLiteral("Line %1").arg(line));
  MemoryConnection notes("Notes", {{"Text", DataType::dtMemo}}, {{paragraphs.join('\n')}});
  const auto report = definition(
      "<DataView Name=\"N\" Connection=\"Notes\"/>"
      "<PageHeader Height=\"6\"><Text X=\"0\" Y=\"0\" Text=\"Header\"/></PageHeader>"
      "<PageFooter Height=\"6\"><PageNumber X=\"0\" Y=\"1\"/></PageFooter>"
      "<Detail DataView=\"N\"><Band Height=\"5\" CanGrow=\"true\">"
      "<Memo X=\"0\" Y=\"0\" Width=\"80\" Height=\"5\" Field=\"Text\"/></Band></Detail>");
  const auto document = reporting::generateReport(report);
  ASSERT_TRUE(document);
  ASSERT_GE(document->pages.size(), 3u);
  QStringList lines;
  const int pages = static_cast<int>(document->pages.size());
  for (int page = 0; page < pages; ++page) {
    const auto& texts = document->pages[page].texts;
    EXPECT_EQ(texts.front().text, "Header");
    EXPECT_EQ(texts.back().text, QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages));
    for (const auto& text : texts) {
      if (!text.text.startsWith("Line")) continue;
      lines.append(text.text);
      EXPECT_GT(text.baseline.y(), 16);   // below the header
      EXPECT_LT(text.baseline.y(), 84);   // above the footer
    }
  }
  EXPECT_EQ(lines, paragraphs);
}

TEST_F(LayoutTest, SummaryThatOpensAPageHasThePageBands) {
  std::vector<std::vector<QVariant>> rows;
  for (int row = 1; row <= 15; ++row) rows.push_back({row, 0, QStringLiteral("Unit %1").arg(row)});
  MemoryConnection units("Units", kUnitFields, rows);
  const auto report = definition(
      "<DataView Name=\"U\" Connection=\"Units\"/>"
      "<PageHeader Height=\"6\"><Text X=\"0\" Y=\"0\" Text=\"Lexicon\"/></PageHeader>"
      "<PageFooter Height=\"6\"><PageNumber X=\"0\" Y=\"1\" Width=\"80\" Align=\"Right\" Template=\"%p/%P\"/></PageFooter>"
      "<Detail DataView=\"U\">" + nameBand() + "</Detail>"
      "<Summary Height=\"10\"><Text X=\"0\" Y=\"0\" Text=\"Units:\"/><Count X=\"20\" Y=\"0\" Over=\"Report\"/></Summary>");
  const auto document = reporting::generateReport(report);
  ASSERT_EQ(document->pages.size(), 2u);  // 13 rows fill the 68 mm between header and footer
  const auto& last = document->pages[1].texts;
  ASSERT_GE(last.size(), 4u);
  EXPECT_EQ(last.front().text, "Lexicon");
  EXPECT_EQ(last.back().text, "2/2");
  // Aligned as filled in, not as the template was.
  reporting::TextMetrics metrics;
  EXPECT_NEAR(last.back().baseline.x() + metrics.width(report.font, "2/2"), 10 + 80, 0.01);
  EXPECT_TRUE(textsOf(*document).contains("15"));
}

// Sixteen top-level units of 5 mm fill the 80 mm body; only the last has a sub-unit.
TEST_F(LayoutTest, KeepWithNextTakesAUnitOverWithItsFirstSubUnit) {
  std::vector<std::vector<QVariant>> units;
  for (int row = 1; row <= 15; ++row) units.push_back({row, 0, QStringLiteral("Unit %1").arg(row)});
  units.push_back({16, 0, "Karoo"});
  MemoryConnection roots("Roots", kUnitFields, units);
  units.push_back({17, 16, "Beaufort"});
  MemoryConnection subUnits("Level2", kUnitFields, units);
  const auto pages = [&](const QString& attributes) {
    const auto report = definition(
        "<DataView Name=\"L1\" Connection=\"Roots\"/><DataView Name=\"L2\" Connection=\"Level2\"/>"
        "<Detail DataView=\"L1\"><Band Height=\"5\"" + attributes +
        "><Field X=\"0\" Y=\"0\" Width=\"70\" Height=\"5\" Field=\"Name\"/></Band>"
        "<Detail DataView=\"L2\" LinkFields=\"LParent\" MasterFields=\"Code\">" + nameBand() + "</Detail></Detail>");
    const auto document = reporting::generateReport(report);
    std::map<QString, std::size_t> pageOf;
    for (std::size_t page = 0; page < document->pages.size(); ++page) {
      for (const auto& text : document->pages[page].texts) pageOf[text.text] = page;
    }
    return pageOf;
  };
  auto apart = pages("");
  EXPECT_EQ(apart["Karoo"], 0u);
  EXPECT_EQ(apart["Beaufort"], 1u);
  // Units without sub-units keep nothing with them, so only Karoo moves.
  auto together = pages(" KeepWithNext=\"true\"");
  EXPECT_EQ(together["Unit 15"], 0u);
  EXPECT_EQ(together["Karoo"], 1u);
  EXPECT_EQ(together["Beaufort"], 1u);
}

TEST_F(LayoutTest, GroupsWithCountsAndSums) {
  MemoryConnection areas("Areas", {{"Area", DataType::dtString}, {"Thickness", DataType::dtFloat}},
                         {{"Bushveld", 10.5}, {"Bushveld", 2.0}, {"Karoo", 7.0}, {"Bushveld", 1.0}});
  const auto report = definition(
      "<DataView Name=\"A\" Connection=\"Areas\"/>"
      "<Detail DataView=\"A\"><Group Field=\"Area\">"
      "<GroupHeader Height=\"5\"><Field X=\"0\" Y=\"0\" Field=\"Area\"/><Count X=\"40\" Y=\"0\" Over=\"Group\"/></GroupHeader>"
      "<GroupFooter Height=\"5\"><Sum X=\"0\" Y=\"0\" Field=\"Thickness\" Over=\"Group\" Format=\"###0.00\"/></GroupFooter>"
      "</Group><Band Height=\"5\"><Field X=\"0\" Y=\"0\" Field=\"Thickness\" Format=\"0.0\"/></Band></Detail>"
      "<Summary Height=\"5\"><Sum X=\"0\" Y=\"0\" Field=\"Thickness\" DataView=\"A\" Over=\"Report\"/></Summary>");
  EXPECT_EQ(textsOf(*reporting::generateReport(report)),
            (QStringList{"Bushveld", "2", "10.5", "2.0", "12.50", "Karoo", "1", "7.0", "7.00", "Bushveld", "1", "1.0",
                         "1.00", "20.5"}));
}

TEST_F(LayoutTest, OnlyWithRowsAndDetailCounts) {
  addUnitLevels();
  const auto report = definition(
      views() + "<Detail DataView=\"L1\">" + nameBand() +
      "<Band Height=\"5\" OnlyWithRows=\"L2\"><Text X=\"0\" Y=\"0\" Text=\"Sub-units:\"/>"
      "<Count X=\"30\" Y=\"0\" DataView=\"L2\"/></Band>"
      "<Detail DataView=\"L2\" LinkFields=\"LParent\" MasterFields=\"Code\">" + nameBand() + "</Detail>"
      "<Detail DataView=\"L3\" LinkFields=\"Code\" MasterFields=\"LParent\">" + nameBand() + "</Detail></Detail>");
  // Cape has one sub-unit, so its heading prints; no unit has the code 0 that L3 looks for.
  EXPECT_EQ(textsOf(*reporting::generateReport(report)),
            (QStringList{"Karoo", "Sub-units:", "2", "Beaufort", "Ecca", "Cape", "Sub-units:", "1", "Table Mountain"}));
}

TEST_F(LayoutTest, MissingConnectionShowsTheErrorAndRunsNothing) {
  windowtest::ScriptedDialogs dialogs;
  MemoryConnection units("Units", kUnitFields, unitTree());
  const auto report = definition("<DataView Name=\"U\" Connection=\"Units\"/><DataView Name=\"X\" Connection=\"RPdscLost\"/>"
                                 "<Detail DataView=\"U\">" + nameBand() + "</Detail>");
  EXPECT_FALSE(reporting::generateReport(report));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].caption, "Error");
  EXPECT_EQ(dialogs.messages[0].text, "Error!  Could not open data connection \"RPdscLost\".  Aborting report.");
  EXPECT_EQ(units.begun, 0);
}

TEST_F(LayoutTest, ConnectionsAreRestoredAfterFailureAndCancel) {
  MemoryConnection units("Units", kUnitFields, unitTree());
  MemoryConnection more("More", kUnitFields, unitTree());
  const auto failing = definition("<DataView Name=\"U\" Connection=\"Units\"/><DataView Name=\"M\" Connection=\"More\"/>"
                                  "<Detail DataView=\"U\">" + nameBand() + "</Detail>"
                                  "<Detail DataView=\"M\"><Band Height=\"5\"><Field X=\"0\" Y=\"0\" Field=\"Nope\"/></Band></Detail>");
  EXPECT_THROW(reporting::generateReport(failing), reporting::ReportError);
  EXPECT_EQ(units.restored, units.begun);
  EXPECT_EQ(more.begun, 1);
  EXPECT_EQ(more.restored, 1);

  const auto fine = definition("<DataView Name=\"U\" Connection=\"Units\" Filter=\"Code&gt;2\"/>"
                               "<Detail DataView=\"U\"><Band Height=\"50\"/></Detail>");
  int told = 0;
  EXPECT_FALSE(reporting::generateReport(fine, [&](int page) { told = page; return page < 2; }));
  EXPECT_EQ(told, 2);  // stopped at the page that cancelled
  EXPECT_EQ(units.condition, "Code>2");
  EXPECT_EQ(units.restored, units.begun);
}

// A text is cut exactly when its laid-out width exceeds the room, whatever path the answer takes.
TEST_F(LayoutTest, TextsAreCutOnlyWhenWiderThanTheirRoom) {
  reporting::TextMetrics metrics;
  const reporting::FontSpec fonts[] = {{}, {"Arial", 8, true, false}, {"Arial", 9, false, true}};
  const QString texts[] = {"Rustenburg Layered Suite", "WWWWWWWW", "Öhningen-Formation", "ZA", "2055.5",
                           "Μεσοζωικό"};
  for (const auto& font : fonts) {
    for (const QString& text : texts) {
      const double exact = metrics.width(font, text);
      for (const double room : {exact * 0.9, exact * 0.995, exact + 0.001, exact * 1.2}) {
        const bool fits = room >= exact;
        EXPECT_EQ(metrics.elided(font, text, room) == text, fits) << text.toStdString() << " in " << room;
      }
    }
  }
}

TEST(ValueFormat, NumberPatterns) {
  using reporting::formatNumber;
  EXPECT_EQ(formatNumber(2061, "###0.00"), "2061.00");
  EXPECT_EQ(formatNumber(2055.1, "###0.00"), "2055.10");
  EXPECT_EQ(formatNumber(12345.6, "#,##0"), "12,346");
  EXPECT_EQ(formatNumber(-0.004, "0.00"), "0.00");
  EXPECT_EQ(formatNumber(-3.5, "0.0 Ma"), "-3.5 Ma");
  EXPECT_EQ(formatNumber(0.5, "#.##"), ".5");
  EXPECT_EQ(formatNumber(1234567, "Total #,##0.##"), "Total 1,234,567");
}

}  // namespace
