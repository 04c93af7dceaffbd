// A real print: a private CUPS server (its own configuration, spool and socket in a temporary
// folder) with a PDF printer of the cups-pdf driver. The test program prints the unit list to it
// through the setup dialog's Printer destination in a child run of itself, pointed at the private
// server, and reads back the PDF that the printer wrote.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include "report_engine/report_setup_form.h"
#include "report_engine/report_system.h"
#include "report_windows_support.h"

namespace windowtest {
namespace {

constexpr const char* kQueue = "VORL_Test_PDF";
constexpr const char* kChildVariable = "VORL_CUPS_CHILD";
// cups-pdf writes the jobs of a user it does not know into its anonymous folder, not into a home.
constexpr const char* kJobOwner = "vorl-print-test";

QString run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
            int* exitCode = nullptr) {
  QProcess process;
  process.setProcessEnvironment(environment);
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, arguments);
  if (!process.waitForFinished(120000)) {
    process.kill();
    process.waitForFinished();
  }
  if (exitCode) *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  return QString::fromUtf8(process.readAll());
}

bool writeFile(const QString& path, const QString& text) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(text.toUtf8()) == text.toUtf8().size();
}

// cupsd with everything of its own under one folder, listening on a socket there only.
class PrivateCupsServer {
 public:
  explicit PrivateCupsServer(const QString& root) : root_(root) {
    const QString daemon = QStandardPaths::findExecutable("cupsd", {"/usr/sbin", "/usr/local/sbin", "/sbin"});
    if (daemon.isEmpty()) {
      error_ = "cupsd is not installed";
      return;
    }
    for (const char* folder : {"conf", "spool", "cache", "state", "log", "tmp"}) QDir(root).mkpath(folder);
    // The server's user must reach its spool under the folder.
    QFile::setPermissions(root, QFileDevice::Permissions(0x7755));
    // Filters run as the server's user and need a temporary folder they can write.
    QFile::setPermissions(path("tmp"), QFileDevice::Permissions(0x7777));
    const QString files = QStringLiteral(
                              "ServerRoot %1/conf\nRequestRoot %1/spool\nCacheDir %1/cache\nStateDir %1/state\n"
                              "TempDir %1/tmp\nErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
                              "PageLog %1/log/page_log\nPrintcap %1/printcap\nServerBin /usr/lib/cups\n"
                              "DataDir /usr/share/cups\nUser lp\nGroup lp\nSystemGroup root\nFileDevice No\n")
                              .arg(root);
    const QString server = QStringLiteral(
                               "LogLevel debug\nListen %1\nBrowsing Off\nDefaultAuthType None\nWebInterface No\n"
                               "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                               "<Policy default>\n  <Limit All>\n    Order deny,allow\n    Allow all\n  </Limit>\n"
                               "</Policy>\n")
                               .arg(socket());
    if (!writeFile(path("conf/cups-files.conf"), files) || !writeFile(path("conf/cupsd.conf"), server) ||
        !writeFile(path("conf/printers.conf"), {})) {
      error_ = "cannot write the server's configuration under " + root;
      return;
    }
    daemon_.setProcessChannelMode(QProcess::MergedChannels);
    daemon_.start(daemon, {"-f", "-c", path("conf/cupsd.conf"), "-s", path("conf/cups-files.conf")});
    if (!daemon_.waitForStarted(10000)) {
      error_ = "cupsd did not start: " + daemon_.errorString();
      return;
    }
    for (int wait = 0; wait < 100 && !QFileInfo::exists(socket()); ++wait) {
      if (daemon_.waitForFinished(100)) {
        error_ = "cupsd stopped at once: " + QString::fromUtf8(daemon_.readAll()).trimmed();
        return;
      }
    }
    if (!QFileInfo::exists(socket())) error_ = "cupsd opened no socket within ten seconds";
  }

  ~PrivateCupsServer() {
    if (daemon_.state() == QProcess::NotRunning) return;
    daemon_.terminate();
    if (!daemon_.waitForFinished(10000)) {
      daemon_.kill();
      daemon_.waitForFinished();
    }
  }

  bool running() const { return error_.isEmpty() && daemon_.state() == QProcess::Running; }
  const QString& error() const { return error_; }
  QString socket() const { return path("cups.sock"); }
  QString log() const {
    QFile file(path("log/error_log"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }

  // The environment of a program that talks to this server only.
  QProcessEnvironment environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("CUPS_SERVER", socket());
    environment.insert("CUPS_USER", kJobOwner);
    return environment;
  }

  QString command(const QString& program, const QStringList& arguments, int* exitCode = nullptr) const {
    return run(program, arguments, environment(), exitCode);
  }

 private:
  QString path(const QString& name) const { return QDir(root_).filePath(name); }
  QString root_;
  QString error_;
  QProcess daemon_;
};

QString cupsPdfAnonymousFolder() {
  QFile config("/etc/cups/cups-pdf.conf");
  if (config.open(QIODevice::ReadOnly)) {
    for (const QString& line : QString::fromUtf8(config.readAll()).split('\n')) {
      const QString setting = line.trimmed();
      if (setting.startsWith("AnonDirName ")) return setting.mid(12).trimmed();
    }
  }
  return "/var/spool/cups-pdf/ANONYMOUS";
}

TEST(CupsPrintTest, TheUnitListPrintedToACupsPdfQueueArrivesAsItsPages) {
  if (qEnvironmentVariableIsSet(kChildVariable)) GTEST_SKIP() << "the child run prints only";
  ensureApplication();
  QTemporaryDir folder("/tmp/vorl-cups-XXXXXX");  // a short path: socket names are limited
  ASSERT_TRUE(folder.isValid());
  const QDateTime started = QDateTime::currentDateTime().addSecs(-2);
  PrivateCupsServer server(folder.path());
  if (!server.running()) GTEST_SKIP() << "no private CUPS server: " << server.error().toStdString();

  const QString ppd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
  ASSERT_TRUE(QFileInfo::exists(ppd)) << "printer-driver-cups-pdf is not installed";
  int exitCode = 0;
  // The queue turns the program's PDF into PostScript with cairo, which keeps text as text for
  // the PDF that cups-pdf writes back.
  const QString added = server.command("lpadmin", {"-p", kQueue, "-E", "-v", "cups-pdf:/", "-P", ppd, "-o",
                                                   "printer-is-shared=false", "-o", "pdftops-renderer-default=pdftocairo"},
                                       &exitCode);
  ASSERT_EQ(exitCode, 0) << added.toStdString();
  server.command("lpadmin", {"-d", kQueue}, &exitCode);
  ASSERT_EQ(exitCode, 0);

  QProcessEnvironment child = server.environment();
  child.insert(kChildVariable, "1");
  child.insert("QT_QPA_PLATFORM", "offscreen");
  const QString output = run(QCoreApplication::applicationFilePath(),
                             {"--gtest_filter=CupsPrintChild.PrintsTheUnitListThroughThePrinterDestination"}, child,
                             &exitCode);
  ASSERT_EQ(exitCode, 0) << output.toStdString();
  ASSERT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();

  // The job leaves the queue once the printer has written its file.
  QString queued;
  for (int wait = 0; wait < 120; ++wait) {
    queued = server.command("lpstat", {"-o", kQueue});
    if (queued.trimmed().isEmpty()) break;
    QThread::msleep(500);
  }
  ASSERT_TRUE(queued.trimmed().isEmpty()) << "still queued: " << queued.toStdString();
  const QString completed = server.command("lpstat", {"-W", "completed", "-o", kQueue});
  const QRegularExpressionMatch job = QRegularExpression(QString("%1-(\\d+)\\s+%2").arg(kQueue, kJobOwner)).match(completed);
  ASSERT_TRUE(job.hasMatch()) << completed.toStdString();

  QDir anonymous(cupsPdfAnonymousFolder());
  QString pdf;
  for (const QFileInfo& file : anonymous.entryInfoList({QString("*job_%1*.pdf").arg(job.captured(1))}, QDir::Files)) {
    if (file.lastModified() >= started) pdf = file.absoluteFilePath();
  }
  ASSERT_FALSE(pdf.isEmpty()) << "no PDF in " << anonymous.path().toStdString() << "\n"
                              << server.log().right(4000).toStdString();
  struct Removal {
    QString file;
    ~Removal() { QFile::remove(file); }
  } removal{pdf};

  const QString info = run("pdfinfo", {pdf}, QProcessEnvironment::systemEnvironment());
  EXPECT_TRUE(info.contains(QRegularExpression("Title:\\s+\\(?VORL Report\\)?"))) << info.toStdString();
  const QRegularExpressionMatch pages = QRegularExpression("Pages:\\s+(\\d+)").match(info);
  ASSERT_TRUE(pages.hasMatch()) << info.toStdString();
  const int pageCount = pages.captured(1).toInt();
  EXPECT_GE(pageCount, 3);

  const QString text = run("pdftotext", {"-layout", pdf, "-"}, QProcessEnvironment::systemEnvironment());
  EXPECT_TRUE(text.contains("Unit list")) << text.left(2000).toStdString();
  EXPECT_TRUE(text.contains("Unit 1 ") || text.contains("Unit 1\n")) << text.left(2000).toStdString();
  EXPECT_TRUE(text.contains("Unit 120")) << text.right(2000).toStdString();
  EXPECT_TRUE(text.contains(QString("Page 1 of %1").arg(pageCount))) << text.left(3000).toStdString();
  EXPECT_TRUE(text.contains(QString("Page %1 of %1").arg(pageCount))) << text.right(3000).toStdString();
  EXPECT_EQ(text.count(QChar(u'\f')), pageCount);  // pdftotext ends each page with a form feed
}

// Run by the test above, inside the private server's environment.
TEST(CupsPrintChild, PrintsTheUnitListThroughThePrinterDestination) {
  if (!qEnvironmentVariableIsSet(kChildVariable)) GTEST_SKIP() << "runs inside the CUPS print test";
  ensureApplication();
  ScriptedDialogs dialogs;
  RowsConnection units(120);
  reporting::TReportSystem system;
  dialogs.on("ReportSetupForm", [](QDialog& dialog) {
    auto& setup = static_cast<reporting::TReportSetupForm&>(dialog);
    EXPECT_EQ(setup.PrinterLabel->text(), kQueue);
    ASSERT_TRUE(setup.PrinterRB->isEnabled());
    setup.PrinterRB->click();
    setup.OKBB->click();
  });
  system.run(unitListReport());
  EXPECT_EQ(dialogs.shown, QStringList{"ReportSetupForm"});
  EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().text.toStdString();
}

}  // namespace
}  // namespace windowtest
