#pragma once
// The main window "Stratigraphic units": unit panel, tabs, menus and status bar. It owns no data:
// its controls are bound to the data sources of the unit data module once that exists.
#include <QMainWindow>
#include <memory>

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;

namespace data {
class TdmVORL;
class TdmUnitDated;
}  // namespace data
namespace engine {
class DataSource;
class Query;
}  // namespace engine
namespace ui {
class DataEdit;
class DataGrid;
class DataLookupList;
}  // namespace ui

class TfmGetEditPassword;
class TfmDatePlot;

namespace vorl {
class PageControl;
}
namespace ui {
class GTForm;
}

// The objects created after the main window that its controls and handlers use.
struct DataModules {
  data::TdmVORL& dmVORL;
  TfmGetEditPassword& fmGetEditPassword;
  data::TdmUnitDated& dmUnitDated;
};

class TfmVORL1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit TfmVORL1(QWidget* parent = nullptr);
  ~TfmVORL1() override;

  // Builds the data-bound controls over the modules; nothing may use them before.
  void bindDataModules(const DataModules& modules);

  // Handlers, named after the control and the event. Each runs inside the handler guard when raised
  // by its control; called directly, a failure reaches the caller.
  void FormShow();
  void FormClose();
  void bbExitClick();
  void About1Click();
  void sbLocateClick();
  void eLocateChange();
  void dbeParentUnitDblClick();
  void dbgSubUnitDblClick();
  void dbgSubSubUnitDblClick();
  void tsUnitsShow();
  void tsList3Show();
  void tsSynonymsShow();
  void tsSynonyms2Show();
  void tsCorrelatives2Show();
  void tsAreaShow();
  void dblcbAreaList3CloseUp(QObject* Sender);
  void tsGeochronologyShow();
  void bOpenClick();
  void bCloseClick();
  void bPlotClick();
  void bbDateStampClick();
  void Checkfordatedunits1Click();
  void Print1Click(QObject* Sender);
  void Export1Click();  // File > Export: units of the lexicon into a CSV or JSON file
  void Reportdefinitionfile1Click();

  void ReadSettings();
  void WriteSettings();

  engine::Query& ABQuery() const { return *ABQuery_; }
  engine::DataSource& dsABQuery() const { return *dsABQuery_; }
  TfmDatePlot* fmDatePlot() const { return fmDatePlot_; }  // nullptr until "Plot..." is first pressed

  ui::GTForm* GTForm1 = nullptr;  // the form scaling component

 private:
  void buildScaling();
  void buildMenus();
  void buildToolBar(QWidget* client);
  void buildFindBox(QWidget* client);
  void buildFrames(QWidget* client);
  void buildCountryFilter();
  void buildUnitPanel();
  void buildUnitTab();
  void buildSubUnitPages();
  void buildRecordAndDescriptionTabs();
  void buildSynonymsTab();
  void buildOccurrenceTab();
  void buildAreaTab();
  void buildAvailableAreasTab();
  void createGeochronologyQuery();
  void buildGeochronologyTab();
  void connectTabHandlers();
  void askEditPassword();
  void revealMaintenanceItems();
  void moveToUnitOf(engine::DataSource& source);

  // Runs a handler inside the guard, as the window's controls do.
  void handle(void (TfmVORL1::*handler)());
  data::TdmVORL& dm() const { return *dmVORL_; }

  data::TdmVORL* dmVORL_ = nullptr;
  TfmGetEditPassword* fmGetEditPassword_ = nullptr;
  data::TdmUnitDated* dmUnitDated_ = nullptr;
  std::unique_ptr<engine::Query> ABQuery_;
  std::unique_ptr<engine::DataSource> dsABQuery_;
  TfmDatePlot* fmDatePlot_ = nullptr;  // a child window, created on demand
  bool formShown_ = false;

  // Regions and controls the handlers reach.
  QMenu* Edit1 = nullptr;
  QLabel* StatusBar1Text = nullptr;
  QWidget* Panel3 = nullptr;
  QWidget* Panel11 = nullptr;
  QLineEdit* eLocate = nullptr;
  ui::DataLookupList* dblcbCountry = nullptr;
  QLabel* lYears = nullptr;
  ui::DataEdit* dbeYears = nullptr;
  QPushButton* bbDateStamp = nullptr;
  ui::DataGrid* dbgSubUnit = nullptr;
  ui::DataGrid* dbgSubSubUnit = nullptr;
  ui::DataLookupList* dblcbAreaList[3] = {};
  vorl::PageControl* PageControl2 = nullptr;
  vorl::PageControl* PageControl1 = nullptr;
  QWidget* tsUnits = nullptr;
  QWidget* tsArea = nullptr;
  QWidget* tsRecordView = nullptr;
  QWidget* tsAvailableAreas = nullptr;
  QWidget* tsGeochronology = nullptr;
  QWidget* tsDescription = nullptr;
  QWidget* tsSynonyms = nullptr;
  QWidget* tsOccurrence = nullptr;
  QWidget* tsList3 = nullptr;
  QWidget* tsDescription2 = nullptr;
  QWidget* tsComments2 = nullptr;
  QWidget* tsOccurrence2 = nullptr;
  QWidget* tsSynonyms2 = nullptr;
  QWidget* tsCorrelatives2 = nullptr;
};
