#pragma once
// The "Report selection" window (fmRep1): lists the reports of the report definition file, shows
// the description of the chosen one and runs it, as often as the user likes, until Close. Made for
// one print command: it owns the report datasets and their connections (registered while it
// exists), the report project and the output system.
#include <QDialog>
#include <QString>

#include "report_engine/report_project.h"
#include "report_engine/report_system.h"
#include "reports/report_data.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace reports {

// The shared settings the window reads when it is shown.
struct ReportSettings {
  QString reportFileName;  // as stored: the window applies the ".rpd" rule
  bool sequenceLink = false;  // maintenance mode: the developer reports are listed too
};

class TfmRep1 : public QDialog {
  Q_OBJECT
 public:
  // unitSource: the main window's current unit, which the root query of Print follows.
  TfmRep1(engine::Session& session, engine::DataSource& unitSource, ReportSettings settings,
          QWidget* owner = nullptr);
  ~TfmRep1() override;

  // Handlers, named after the control and the event. Raised by the window they run inside the
  // handler guard; called directly, a failure reaches the caller.
  void FormShow();
  void ReportLBClick();
  void bbPrintClick();
  void bbCloseClick();
  void FormDestroy();

  TReportData& data() { return data_; }
  reporting::TReportProject& ReportProject1() { return project_; }
  reporting::TReportSystem& ReportSystem1() { return system_; }

  QLabel* Label1;
  QListWidget* ReportLB;
  QLabel* Label3;
  QLabel* lReportFileName;
  QLabel* Label2;
  QPlainTextEdit* DescMemo;
  QPushButton* bbPrint;
  QPushButton* bbClose;

 private:
  void buildScaling();

  ReportSettings settings_;
  TReportData data_;  // first of the components, so it goes last: a run never outlives its connections
  reporting::TReportSystem system_;
  reporting::TReportProject project_;
};

}  // namespace reports
