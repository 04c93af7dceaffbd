#include "report_window_support.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <stdexcept>

namespace reports_test {

Answer toFile(const QString& fileName) {
  return [fileName](QDialog& dialog) {
    dialog.findChild<QAbstractButton*>("FileRB")->click();
    dialog.findChild<QLineEdit*>("FileNameED")->setText(fileName);
    dialog.findChild<QAbstractButton*>("OKBB")->click();
  };
}

QString projectText(const std::vector<ReportEntry>& reports) {
  QString text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ReportProject>\n";
  for (const ReportEntry& report : reports) {
    text += QString("  <Report Name=\"%1\" FullName=\"%2\" Category=\"%3\">\n"
                    "    <Description>%4</Description>\n"
                    "    <DataView Name=\"Root\" Connection=\"RPQueryConnection1\"/>\n"
                    "    <Title Height=\"10\">\n"
                    "      <Text X=\"0\" Y=\"0\" Width=\"150\" Height=\"6\" Text=\"Report %1\"/>\n"
                    "    </Title>\n"
                    "    <Detail DataView=\"Root\" Sort=\"Name\">\n"
                    "      <Band Height=\"6\">\n"
                    "        <Field X=\"0\" Y=\"0\" Width=\"150\" Height=\"5\" Field=\"Name\"/>\n"
                    "      </Band>\n"
                    "    </Detail>\n"
                    "  </Report>\n")
                .arg(report.name, report.fullName, report.category, report.description);
  }
  return text + "</ReportProject>\n";
}

void writeFile(const QString& path, const QString& text) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write " + path.toStdString());
  file.write(text.toUtf8());
}

QString pdfText(const QString& path) {
  QProcess process;
  process.start("pdftotext", {"-layout", path, "-"});
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace reports_test
