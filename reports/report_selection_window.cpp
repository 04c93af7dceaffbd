#include "reports/report_selection_window.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

#include "report_engine/report_form_support.h"
#include "report_engine/report_glyphs.h"
#include "ui/handler_guard.h"
#include "ui/scaling/form_events.h"
#include "ui/scaling/gt_form.h"
#include "ui/window_placement.h"

using reporting::place;

namespace reports {
namespace {

constexpr int kItemHeight = 14;

QLabel* addLabel(QWidget* parent, const QString& text, const char* name, int left, int top, int width, int height) {
  return place(new QLabel(text, parent), name, left, top, width, height);
}

}  // namespace

TfmRep1::TfmRep1(engine::Session& session, engine::DataSource& unitSource, ReportSettings settings, QWidget* owner)
    : QDialog(owner), settings_(std::move(settings)), data_(session, unitSource), system_(this) {
  setObjectName(QStringLiteral("fmRep1"));
  setWindowTitle(QStringLiteral("Report selection"));
  setFont(reporting::designFont(QStringLiteral("Arial"), 8));
  setWindowModality(Qt::ApplicationModal);  // the main window waits behind it however it is shown
  project_.setEngine(&system_);

  Label1 = addLabel(this, QStringLiteral("Available Reports"), "Label1", 8, 8, 85, 14);
  ReportLB = place(new QListWidget(this), "ReportLB", 8, 24, 169, 257);
  ReportLB->setSelectionMode(QAbstractItemView::SingleSelection);
  ReportLB->setUniformItemSizes(true);
  Label3 = addLabel(this, QStringLiteral("Report details in file "), "Label3", 184, 24, 95, 13);
  lReportFileName = addLabel(this, QString(), "lReportFileName", 284, 24, 229, 17);
  lReportFileName->setFont(reporting::designFont(QStringLiteral("Arial"), 8));
  Label2 = addLabel(this, QStringLiteral("Report Description"), "Label2", 312, 48, 89, 14);
  // These two size themselves to their text; the other labels keep their size.
  Label1->adjustSize();
  Label2->adjustSize();
  DescMemo = place(new QPlainTextEdit(this), "DescMemo", 184, 64, 329, 169);
  DescMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  DescMemo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  DescMemo->setTabChangesFocus(true);
  const QIcon printer = reporting::previewGlyph(reporting::PreviewGlyph::Print);  // disabled look drawn from it
  bbPrint = place(new QPushButton(printer, QStringLiteral("Select"), this), "bbPrint", 220, 248, 109, 25);
  bbPrint->setIconSize(QSize(16, 16));
  bbClose = place(new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("&Close"), this),
                  "bbClose", 364, 248, 109, 25);
  setTabOrder(ReportLB, DescMemo);
  setTabOrder(DescMemo, bbPrint);
  setTabOrder(bbPrint, bbClose);

  connect(ReportLB, &QListWidget::currentRowChanged, this, [this] { ui::guarded(this, [this] { ReportLBClick(); }); });
  connect(bbPrint, &QPushButton::clicked, this, [this] { ui::guarded(this, [this] { bbPrintClick(); }); });
  connect(bbClose, &QPushButton::clicked, this, [this] { ui::guarded(this, [this] { bbCloseClick(); }); });
  bbPrint->setFocus();
  buildScaling();
  ui::placeFrame(this, {165, 117});
}

// The component rescales the window, then runs FormShow; it runs FormDestroy when the window goes.
// A failure of FormShow is reported and the window stays up, empty, for the user to close.
void TfmRep1::buildScaling() {
  auto* scaling = new ui::GTForm(this);
  scaling->setObjectName("GTForm1");
  scaling->setGTDesignW("800-8");
  scaling->setGTDesignH("600-7");
  scaling->setGTClientWidth(521);
  scaling->setGTClientHeight(288);
  scaling->GTOnShow = [this](QObject*) { FormShow(); };
  scaling->GTOnDestroy = [this](QObject*) { FormDestroy(); };
}

TfmRep1::~TfmRep1() { ui::sendDestroyEvent(this); }

void TfmRep1::FormShow() {
  project_.setProjectFile(settings_.reportFileName);
  lReportFileName->setText(project_.projectFile());
  project_.open();
  const QString categories = settings_.sequenceLink ? QStringLiteral("DeveloperUser") : QStringLiteral("User");
  {
    const QSignalBlocker quiet(ReportLB);  // the first entry is chosen below, once
    ReportLB->clear();
    for (const QString& name : project_.listNames(categories)) {
      auto* item = new QListWidgetItem(name, ReportLB);
      item->setSizeHint(QSize(0, kItemHeight));
    }
    if (ReportLB->count() > 0) ReportLB->setCurrentRow(0);
  }
  if (ReportLB->count() > 0) ReportLBClick();
}

void TfmRep1::ReportLBClick() {
  const QListWidgetItem* selected = ReportLB->currentItem();
  if (!selected) return;
  project_.chooseReport(selected->text());
  DescMemo->setPlainText(project_.description());
}

void TfmRep1::bbPrintClick() {
  // Nothing is chosen when the file did not open or listed no report: then Select does nothing.
  if (!project_.activeReport()) return;
  project_.run();
}

void TfmRep1::bbCloseClick() { close(); }

void TfmRep1::FormDestroy() { project_.close(); }

}  // namespace reports
