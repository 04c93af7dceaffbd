// The project file: reading, its errors, and the project's operations on the reports it holds.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "report_engine/project_file_reader.h"
#include "report_engine/report_error.h"
#include "report_engine/report_project.h"
#include "report_windows_support.h"

namespace {

using reporting::ReportError;

std::vector<reporting::ReportDefinition> read(const QString& xml) {
  QByteArray bytes = xml.toUtf8();
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  return reporting::readProject(buffer, QStringLiteral("test.rpd"));
}

QString errorOf(const QString& xml) {
  try {
    read(xml);
  } catch (const ReportError& error) {
    return error.text();
  }
  return QStringLiteral("(no error)");
}

QString report(const QString& body, const QString& attributes = QStringLiteral("Name=\"R\"")) {
  return QStringLiteral("<ReportProject>\n<Report %1>\n%2\n</Report>\n</ReportProject>\n").arg(attributes, body);
}

TEST(ProjectFile, DocumentedExampleReadsCompletely) {
  QFile documentation(QStringLiteral(VORL_SOURCE_DIR "/docs/report-format.md"));
  ASSERT_TRUE(documentation.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(documentation.readAll());
  const auto example = QRegularExpression(QStringLiteral("```xml\\n(.*?)```"),
                                          QRegularExpression::DotMatchesEverythingOption).match(text);
  ASSERT_TRUE(example.hasMatch());
  const auto reports = read(example.captured(1));
  ASSERT_EQ(reports.size(), 1u);
  const auto& unitList = reports[0];
  EXPECT_EQ(unitList.fullName, "Top-level units");
  EXPECT_EQ(unitList.category, "User");
  EXPECT_EQ(unitList.page.marginLeft, 20);
  ASSERT_EQ(unitList.details.size(), 1u);
  const auto& root = unitList.details[0];
  ASSERT_EQ(root.body.size(), 2u);
  ASSERT_TRUE(root.body[1].detail);
  EXPECT_EQ(root.body[1].detail->linkFields, QStringList{"LParent"});
  EXPECT_EQ(root.body[1].detail->indent, 6);
  EXPECT_EQ(root.body[0].band->items[0].font.bold, true);
  EXPECT_EQ(root.body[0].band->items[1].font.size, 9);  // the report's size
  EXPECT_EQ(unitList.pageFooter->items[1].alignment, reporting::Alignment::Right);
}

TEST(ProjectFile, PageSizesAndDefaults) {
  const auto reports = read(report(QStringLiteral("<Page Size=\"Letter\" Orientation=\"Landscape\"/>")) +
                            QString());
  EXPECT_DOUBLE_EQ(reports[0].page.pageWidth(), 279.4);
  EXPECT_DOUBLE_EQ(reports[0].page.pageHeight(), 215.9);
  EXPECT_EQ(reports[0].fullName, "R");  // the name stands in for a missing full name
  const auto custom = read(report(QStringLiteral("<Page Size=\"200x100\"/>")));
  EXPECT_DOUBLE_EQ(custom[0].page.pageHeight(), 100);
}

TEST(ProjectFile, EachFaultNamesFileLineAndColumn) {
  struct Case {
    QString xml;
    QString expected;  // a regular expression of the whole message
  };
  const QString at = QStringLiteral("^Error in report project \"test\\.rpd\", line %1, column \\d+: %2\\.$");
  const std::vector<Case> cases{
      {QStringLiteral("<ReportProject>\n<Report Name=\"R\">\n</ReportProject>"), at.arg(3).arg(".*")},
      {report(QStringLiteral("<Colophon/>")), at.arg(3).arg("unknown element <Colophon> in <Report>")},
      {report(QStringLiteral("<Title Heigth=\"3\"/>")), at.arg(3).arg("unknown attribute \"Heigth\" of <Title>")},
      {report(QStringLiteral("<Title/>")), at.arg(3).arg("<Title> needs the attribute \"Height\"")},
      {report(QStringLiteral("<Detail/>")), at.arg(3).arg("<Detail> needs the attribute \"DataView\"")},
      {report(QStringLiteral("<DataView Name=\"U\" Connection=\"C\"/>\n<Detail DataView=\"Units\"/>")),
       at.arg(4).arg("the report \"R\" has no data view \"Units\"")},
      {report(QStringLiteral("<DataView Name=\"U\" Connection=\"C\"/>\n<Detail DataView=\"U\">\n<Band Height=\"5\">"
                             "<Field X=\"0\" Y=\"0\" Field=\"Name\" DataView=\"Other\"/></Band></Detail>")),
       at.arg(5).arg("the report \"R\" has no data view \"Other\"")},
      {report(QStringLiteral("<Title Height=\"five\"/>")), at.arg(3).arg("\"Height\" must be a number, not \"five\"")},
      {report(QStringLiteral("<Title Height=\"5\" CanGrow=\"yes\"/>")), at.arg(3).arg("\"CanGrow\" must be true or false, not \"yes\"")},
      {report(QStringLiteral("<DataView Name=\"U\" Connection=\"C\"/>\n<Detail DataView=\"U\">\n<Detail DataView=\"U\"/>"
                             "</Detail>")),
       at.arg(5).arg("a nested <Detail> needs \"LinkFields\" and as many \"MasterFields\"")},
      {report(QStringLiteral(""), QStringLiteral("FullName=\"No name\"")), at.arg(2).arg("<Report> needs the attribute \"Name\"")},
  };
  for (const auto& fault : cases) {
    const QString message = errorOf(fault.xml);
    EXPECT_TRUE(QRegularExpression(fault.expected).match(message).hasMatch()) << message.toStdString();
  }
}

class ProjectTest : public windowtest::WindowTest {
 protected:
  QString write(const QString& name, const QString& xml) {
    const QString path = folder.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(xml.toUtf8());
    return path;
  }
  QString categories() {
    QString reports;
    const QStringList list{"User", "user", "Developer", "DeveloperUser", "Use", ""};
    for (int i = 0; i < list.size(); ++i) {
      reports += QStringLiteral("<Report Name=\"r%1\" FullName=\"Report %1\" Category=\"%2\"><Description>about %1"
                                "</Description></Report>\n").arg(i).arg(list[i]);
    }
    return QStringLiteral("<ReportProject>%1<Report Name=\"dup\" FullName=\"Report 0\" Category=\"User\"/>"
                          "</ReportProject>").arg(reports);
  }
  QTemporaryDir folder;
  reporting::TReportProject project;
};

TEST_F(ProjectTest, ExtensionRuleAndMissingFileMessage) {
  project.setProjectFile(QStringLiteral("/srv/reports/lexicon"));
  EXPECT_EQ(project.projectFile(), "/srv/reports/lexicon.rpd");
  project.setProjectFile(QStringLiteral("/srv/reports.old/lexicon"));
  EXPECT_EQ(project.projectFile(), "/srv/reports.old/lexicon");  // the folder's dot counts

  const QString previous = QDir::currentPath();
  QDir::setCurrent(folder.path());
  project.setProjectFile(QStringLiteral("absent"));
  try {
    project.open();
    ADD_FAILURE() << "a missing file opened";
  } catch (const ReportError& error) {
    EXPECT_EQ(error.text(), "The following reporting project does not exist:\n\"" +
                                QDir(folder.path()).absoluteFilePath("absent.rpd") + "\"");
  }
  EXPECT_EQ(project.projectFile(), "absent.rpd");  // kept as given, not expanded
  QDir::setCurrent(previous);
}

TEST_F(ProjectTest, ListsByCategoryInProjectOrder) {
  project.setProjectFile(write("list.rpd", categories()));
  project.open();
  EXPECT_EQ(project.listNames("User"), (QStringList{"Report 0", "Report 1", "Report 4", "Report 0"}));
  EXPECT_EQ(project.listNames("DeveloperUser"),
            (QStringList{"Report 0", "Report 1", "Report 2", "Report 3", "Report 4", "Report 0"}));
  EXPECT_EQ(project.listNames("User", false), (QStringList{"r0", "r1", "r4", "dup"}));
}

TEST_F(ProjectTest, ChoosesTheFirstMatchByFullNameOrName) {
  project.setProjectFile(write("choose.rpd", categories()));
  EXPECT_TRUE(project.chooseReport("report 0"));  // opens the project as needed
  EXPECT_EQ(project.activeReport()->name, "r0");   // not the later duplicate
  EXPECT_EQ(project.description(), "about 0");
  EXPECT_TRUE(project.chooseReport("DUP"));
  EXPECT_EQ(project.activeReport()->name, "dup");
  EXPECT_FALSE(project.chooseReport("Nothing like it"));
  EXPECT_EQ(project.activeReport()->name, "dup");  // unchanged
  project.close();
  EXPECT_EQ(project.activeReport(), nullptr);
  EXPECT_TRUE(project.reports().empty());
}

TEST_F(ProjectTest, ABadFileLeavesTheProjectClosed) {
  project.setProjectFile(write("bad.rpd", QStringLiteral("<ReportProject><Report Name=\"a\"/><Report/></ReportProject>")));
  EXPECT_THROW(project.open(), ReportError);
  EXPECT_FALSE(project.isOpen());
  EXPECT_TRUE(project.reports().empty());
}

}  // namespace

namespace {

TEST(BundledProject, ReadsAndListsByCategory) {
  reporting::TReportProject project;
  project.setProjectFile(QStringLiteral(VORL_SAMPLE_DIR "/reports/VORL"));
  project.open();
  const QStringList user = project.listNames("User");
  const QStringList developer = project.listNames("DeveloperUser");
  EXPECT_GE(user.size(), 3);
  EXPECT_EQ(developer.size(), user.size() + 1);  // the data check
  EXPECT_LT(developer.size(), static_cast<int>(project.reports().size()));  // one report is never listed
  for (const auto& report : project.reports()) EXPECT_FALSE(report.description.isEmpty()) << report.name.toStdString();
}

}  // namespace
