#include "app/main_window.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <memory>
#include <utility>

#include "app/about_box.h"
#include "app/dated_unit_check.h"
#include "app/export_command.h"
#include "app/form_builder.h"
#include "app/page_control.h"
#include "app/vorl_varb.h"
#include "data/dm_vorl.h"
#include "data/sample_database.h"
#include "db_engine/query.h"
#include "platform/profile_file.h"
#include "reports/print_commands.h"
#include "reports/report_definition_dialog.h"
#include "ui/data_controls.h"
#include "ui/dialog_seam.h"
#include "ui/handler_guard.h"
#include "ui/scaling/gt_form.h"
#include "ui/window_placement.h"

using vorl::Bevel;
using vorl::makeLabel;
using vorl::makePanel;
using vorl::place;

namespace {

constexpr int kClientWidth = 695;
constexpr int kClientHeight = 511;
constexpr int kStatusBarHeight = 19;

const char* flagText(bool flag) { return flag ? "1" : "0"; }

}  // namespace

TfmVORL1::TfmVORL1(QWidget* parent) : QMainWindow(parent) {
  setObjectName("fmVORL1");
  setWindowTitle("Stratigraphic units");
  QFont font("Arial");
  font.setPixelSize(11);
  setFont(font);

  auto* client = new QWidget(this);
  client->setObjectName("client");
  setCentralWidget(client);
  buildMenus();
  buildToolBar(client);
  buildFindBox(client);
  buildFrames(client);

  auto* statusBar = new QStatusBar(this);
  statusBar->setObjectName("StatusBar1");
  statusBar->setFixedHeight(kStatusBarHeight);
  StatusBar1Text = new QLabel(statusBar);
  StatusBar1Text->setObjectName("StatusBar1Text");
  statusBar->addWidget(StatusBar1Text, 1);
  setStatusBar(statusBar);
  buildScaling();
  ui::placeFrame(this, {10, 3});
}

// The window fits itself to the screen and rescales with the user's resizing; it shows and
// closes through the component's handlers.
void TfmVORL1::buildScaling() {
  GTForm1 = new ui::GTForm(this);
  GTForm1->setObjectName("GTForm1");
  GTForm1->setGTDesignH("600-0");
  GTForm1->setGTDesignW("800-0");
  GTForm1->setGTClientHeight(kClientHeight);
  GTForm1->setGTClientWidth(kClientWidth);
  // Runs before the window reaches the screen, so the password prompt comes first.
  GTForm1->GTOnShow = [this](QObject*) {
    if (!std::exchange(formShown_, true)) handle(&TfmVORL1::FormShow);
  };
  // A failed write has been reported; the program still ends.
  GTForm1->GTOnClose = [this](QObject*, QCloseEvent*) { handle(&TfmVORL1::FormClose); };
}

TfmVORL1::~TfmVORL1() = default;

void TfmVORL1::handle(void (TfmVORL1::*handler)()) {
  ui::guarded(this, [this, handler] { (this->*handler)(); });
}

void TfmVORL1::buildMenus() {
  auto addItem = [this](QMenu* menu, const char* name, const QString& caption, void (TfmVORL1::*handler)()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, handler] { handle(handler); });
    return action;
  };
  auto addMenu = [this](const char* name, const QString& caption) {
    QMenu* menu = menuBar()->addMenu(caption);
    menu->setObjectName(name);
    return menu;
  };
  menuBar()->setObjectName("MainMenu1");
  QMenu* file = addMenu("File1", "&File");
  for (auto [name, caption] : {std::pair{"Print1", "&Print"}, std::pair{"Printall1", "Print &all"}}) {
    QAction* print = file->addAction(caption);
    print->setObjectName(name);
    connect(print, &QAction::triggered, this,
            [this, print] { ui::guarded(this, [this, print] { Print1Click(print); }); });
  }
  addItem(file, "Export1", "E&xport...", &TfmVORL1::Export1Click);
  file->addSeparator()->setObjectName("N1");
  addItem(file, "Exit1", "E&xit", &TfmVORL1::bbExitClick);
  Edit1 = addMenu("Edit1", "&Edit");
  addItem(Edit1, "Checkfordatedunits1", "Check for &dated units", &TfmVORL1::Checkfordatedunits1Click);
  Edit1->menuAction()->setVisible(false);
  addItem(addMenu("Options1", "&Options"), "Reportdefinitionfile1", "&Report definition file",
          &TfmVORL1::Reportdefinitionfile1Click);
  addItem(addMenu("Help1", "&Help"), "About1", "&About", &TfmVORL1::About1Click);
}

void TfmVORL1::buildToolBar(QWidget* client) {
  auto* toolBar = place(new QFrame(client), "ToolBar1", 0, 0, kClientWidth, 29);
  for (int top : {0, 27}) {
    auto* edge = place(new QFrame(toolBar), "", 0, top, kClientWidth, 2);
    edge->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  }
  auto* exit = place(new QToolButton(toolBar), "bbExit", 2, 3, 69, 23);
  exit->setText("E&xit");
  exit->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  exit->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  exit->setAutoRaise(true);
  connect(exit, &QToolButton::clicked, this, [this] { handle(&TfmVORL1::bbExitClick); });
}

void TfmVORL1::buildFindBox(QWidget* client) {
  auto* panel = makePanel(client, "Panel1", {4, 32, 261, 29}, Bevel::RaisedPanel);
  makeLabel(panel, "Find", 8, 8, "Label1");
  auto* clear = place(new QToolButton(panel), "sbLocate", 34, 4, 21, 21);
  clear->setIcon(style()->standardIcon(QStyle::SP_LineEditClearButton));
  clear->setAutoRaise(true);
  clear->setAccessibleName("Clear");  // the hint is kept but not shown
  eLocate = place(new QLineEdit(panel), "eLocate", 60, 4, 189, vorl::kEditHeight);
  connect(clear, &QToolButton::clicked, this, [this] { handle(&TfmVORL1::sbLocateClick); });
  connect(eLocate, &QLineEdit::textChanged, this, [this] { handle(&TfmVORL1::eLocateChange); });
}

void TfmVORL1::buildFrames(QWidget* client) {
  Panel11 = makePanel(client, "Panel11", {352, 32, 337, 29}, Bevel::RaisedPanel);
  makeLabel(Panel11, "Country filter", 8, 8, "Label2");
  auto* separator = place(new QFrame(client), "Bevel1", 4, 56, 685, 10);
  separator->setFrameStyle(QFrame::NoFrame);
  auto* line = place(new QFrame(separator), "", 0, 8, 685, 2);
  line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  separator->lower();
  Panel3 = makePanel(client, "Panel3", {4, 68, 685, 109}, Bevel::RaisedPanel);
  auto* tabArea = makePanel(client, "Panel4", {4, 180, 685, 309}, Bevel::Lowered);
  PageControl2 = place(new vorl::PageControl(tabArea), "PageControl2", 4, 4, 677, 301);
  tsUnits = PageControl2->addPage("tsUnits", "Unit");
  tsArea = PageControl2->addPage("tsArea", "Area");
  tsRecordView = PageControl2->addPage("tsRecordView", "Record View");
  tsAvailableAreas = PageControl2->addPage("tsAvailableAreas", "Available Areas");
  tsGeochronology = PageControl2->addPage("tsGeochronology", "Geochronology");
  tsDescription = PageControl2->addPage("tsDescription", "Description and comments");
  tsSynonyms = PageControl2->addPage("tsSynonyms", "Synonyms and Correlatives");
  tsOccurrence = PageControl2->addPage("tsOccurrence", "Occurrence");
  PageControl2->setPageVisible(tsGeochronology, false);
}

void TfmVORL1::bindDataModules(const DataModules& modules) {
  dmVORL_ = &modules.dmVORL;
  fmGetEditPassword_ = &modules.fmGetEditPassword;
  dmUnitDated_ = &modules.dmUnitDated;
  buildCountryFilter();
  buildUnitPanel();
  buildUnitTab();
  buildSubUnitPages();
  buildRecordAndDescriptionTabs();
  buildSynonymsTab();
  buildOccurrenceTab();
  buildAreaTab();
  buildAvailableAreasTab();
  createGeochronologyQuery();
  buildGeochronologyTab();
  connectTabHandlers();
}

void TfmVORL1::buildCountryFilter() {
  dblcbCountry = place(new ui::DataLookupList(Panel11, &dm().dsCountryList, "CountryID", "CountryName"),
                       "dblcbCountry", 78, 4, 253, vorl::kEditHeight);
}

void TfmVORL1::connectTabHandlers() {
  connect(PageControl2, &vorl::PageControl::currentChanged, this, [this](QWidget* page) {
    if (page == tsUnits || page == tsOccurrence) handle(&TfmVORL1::tsUnitsShow);
    if (page == tsArea) handle(&TfmVORL1::tsAreaShow);
    if (page == tsGeochronology) handle(&TfmVORL1::tsGeochronologyShow);
    if (page == tsSynonyms) handle(&TfmVORL1::tsSynonymsShow);
  });
  connect(PageControl1, &vorl::PageControl::currentChanged, this, [this](QWidget* page) {
    if (page == tsSynonyms2) return handle(&TfmVORL1::tsSynonyms2Show);
    if (page == tsCorrelatives2) return handle(&TfmVORL1::tsCorrelatives2Show);
    handle(&TfmVORL1::tsList3Show);
  });
}

void TfmVORL1::FormShow() {
  ReadSettings();
  dm().DB1.session().addPassword(data::kTablePassword);
  dm().openStartupDatasets();
  dblcbCountry->setKeyValue("ZA");
  StatusBar1Text->setText(QString::fromStdString(dm().WhenUpdated.fieldByName("Comment").asString()));
  PageControl2->setPageVisible(tsGeochronology, false);
  if (SequenceLink) askEditPassword();
  if (AmbrellLink) {
    PageControl2->setPageVisible(tsGeochronology, true);
    if (SequenceLink) Edit1->menuAction()->setVisible(true);
  }
}

void TfmVORL1::FormClose() { WriteSettings(); }

void TfmVORL1::ReadSettings() {
  const std::string file = vorl::settingsFileName();
  ReportFileName = platform::readProfileString(file, "Report setup", "Report file", vorl::defaultReportFileName());
  AmbrellLink = platform::readProfileInteger(file, "Other links", "Ambrell", 0) != 0;
  SequenceLink = platform::readProfileInteger(file, "Other links", "Sequence", 0) != 0;
}

void TfmVORL1::WriteSettings() {
  const std::string file = vorl::settingsFileName();
  const std::tuple<const char*, const char*, std::string> keys[] = {
      {"Report setup", "Report file", ReportFileName},
      {"Other links", "Ambrell", flagText(AmbrellLink)},
      {"Other links", "Sequence", flagText(SequenceLink)},
  };
  for (const auto& [section, key, value] : keys) {
    if (!platform::writeProfileString(file, section, key, value))
      throw std::runtime_error("Unable to write to " + file);
  }
}

void TfmVORL1::bbExitClick() { close(); }

void TfmVORL1::About1Click() {
  auto box = std::make_unique<TAboutBox>(this);
  ui::dialogs().exec(*box);
}

void TfmVORL1::Checkfordatedunits1Click() {
  DatedUnitCheck(*dmUnitDated_, this).run(AmbrellLink, SequenceLink);
}

void TfmVORL1::Print1Click(QObject* Sender) {
  const bool all = Sender && Sender->objectName() == QLatin1String("Printall1");
  reports::printReports(all ? reports::TReportData::Root::TopLevel : reports::TReportData::Root::CurrentUnit,
                        dm().session(), dm().dsVORLList, {QString::fromStdString(ReportFileName), SequenceLink}, this);
}

void TfmVORL1::Export1Click() {
  exportUnits(dm().VORLList.database(), dm().CountryList.fieldByName("CountryID").asString(),
              QString::fromStdString(dm().CountryList.fieldByName("CountryName").asString()), this);
}

void TfmVORL1::Reportdefinitionfile1Click() {
  auto dialog = std::make_unique<reports::TfmReportDef>(this);
  dialog->eReportFileName->setText(QString::fromStdString(ReportFileName));
  // Taken as typed: an empty name or one without extension is the user's to give.
  if (ui::dialogs().exec(*dialog) == QDialog::Accepted) ReportFileName = dialog->eReportFileName->text().toStdString();
}
