// The "Geochronology" tab: the accepted dating results of the current unit, read from the Ambrell
// database by the window's own query.
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/date_plot_window.h"
#include "app/form_builder.h"
#include "app/main_window.h"
#include "app/vorl_varb.h"
#include "data/dm_vorl.h"
#include "data/sample_database.h"
#include "data/schema_fields.h"
#include "db_engine/query.h"
#include "ui/data_controls.h"
#include "ui/dialog_seam.h"

using vorl::place;

namespace {

// Seventeen lines, exactly as the installation's query has them (trailing and leading blanks included).
const std::vector<std::string> kResultsQuery = {
    "select * from Isorgr20, Interpretation, Technique, Suite, IsoSystem, Lithol, Material, Approach",
    "where IsoRgr20.UnitName=Suite.UnitName",
    "and IsoRgr20.InterpAbr=Interpretation.InterpAbr",
    "and IsoRgr20.IsotopeSystem=IsoSystem.IsoSystem",
    "and IsoRgr20.TechAbr=Technique.TechAbr",
    "and IsoRgr20.Lithology=Lithol.Lithology",
    "and IsoRgr20.MaterialAbr=Material.MaterialAbr",
    "and IsoRgr20.ApproachAbr=Approach.ApproachAbr",
    "and IsoRgr20.MethodAbr='R'",
    "and Isorgr20.PrefLevel > 0",
    "and Isorgr20.Confidential < 1",
    "and (isorgr20.InterpAbr='Empl' ",
    "    or isorgr20.InterpAbr='Extr' ",
    "    or isorgr20.InterpAbr='Depos')",
    "and Suite.GISID=:Code",
    "order by MaterialDescription, IsoSystemName, ApproachDescription,",
    "  Interpretation, PrefLevel, IAge, Technique",
};

std::vector<engine::FieldDef> resultFields() {
  const data::DisplayFormats ages = {{"Age", "###0.00"}, {"AgePError", "###0.00"}, {"AgeMError", "###0.00"}};
  return data::withFormats(
      {data::stringField("UnitName", 50), data::stringField("InterpAbr", 5), data::smallIntField("PrefLevel"),
       data::floatField("Age"), data::floatField("AgePError"), data::floatField("AgeMError"),
       data::stringField("Lithology", 50), data::stringField("Interpretation", 30),
       data::stringField("Technique", 40), data::stringField("IsoSystemName", 30),
       data::stringField("MaterialDescription", 50), data::stringField("ApproachDescription", 50)},
      ages);
}

struct DetailBox {
  const char* label;
  const char* name;
  const char* field;
};

constexpr DetailBox kDetailBoxes[] = {
    {"Unit", "DBEdit25", "UnitName"},
    {"Lithology", "DBEdit30", "Lithology"},
    {"Material analysed", "DBEdit22", "MaterialDescription"},
    {"Isotope system", "DBEdit28", "IsoSystemName"},
    {"Approach", "DBEdit31", "ApproachDescription"},
    {"Technique", "DBEdit29", "Technique"},
    {"Interpretation", "DBEdit11", "Interpretation"},
};

}  // namespace

void TfmVORL1::createGeochronologyQuery() {
  ABQuery_ = std::make_unique<engine::Query>(dm().session(), "ABQuery");
  ABQuery_->setDatabaseName("ABResults");
  ABQuery_->setSql(kResultsQuery);
  ABQuery_->declareParam({"Code", engine::FieldType::Integer, {}});
  ABQuery_->setDataSource(&dm().dsVORLList);
  ABQuery_->setReadOnly(true);
  ABQuery_->setFieldDefs(resultFields());
  dsABQuery_ = std::make_unique<engine::DataSource>("dsABQuery", ABQuery_.get());
}

void TfmVORL1::buildGeochronologyTab() {
  auto* panel = vorl::makePanel(tsGeochronology, "Panel12", {4, 2, 661, 253}, vorl::Bevel::Raised);
  using Button = ui::NavigatorButton;
  place(new ui::DataNavigator(panel, dsABQuery_.get(), {Button::First, Button::Prior, Button::Next, Button::Last}),
        "DBNavigator11", 120, 4, 364, 23);
  auto* open = place(new QPushButton("Open", panel), "bOpen", 500, 4, 75, 23);
  auto* close = place(new QPushButton("Close", panel), "bClose", 580, 4, 75, 23);
  connect(open, &QPushButton::clicked, this, [this] { handle(&TfmVORL1::bOpenClick); });
  connect(close, &QPushButton::clicked, this, [this] { handle(&TfmVORL1::bCloseClick); });
  // The plot of the dates has no room beside the grid: it opens in a window of its own.
  auto* plot = place(new QPushButton("Plot...", panel), "bPlot", 8, 4, 75, 23);
  connect(plot, &QPushButton::clicked, this, [this] { handle(&TfmVORL1::bPlotClick); });

  const auto centred = Qt::AlignHCenter | Qt::AlignVCenter;
  auto* grid = new ui::DataGrid(panel, dsABQuery_.get(),
                                {{"InterpAbr", "Interp Abr", 0, true, centred},
                                 {"Age", "Date (Ma)", 0, true, centred},
                                 {"AgePError", "+95%", 0, true, centred},
                                 {"AgeMError", "-95%", 0, true, centred}});
  grid->setObjectName("DBGrid11");
  grid->setGeometry(8, 32, 285, 217);
  grid->setReadOnly(true);

  int top = 32;
  for (const DetailBox& detail : kDetailBoxes) {
    vorl::makeLabel(panel, detail.label, 312, top + 3);
    auto* box = place(new ui::DataEdit(panel, dsABQuery_.get(), detail.field), detail.name, 408, top, 217,
                      vorl::kEditHeight);
    box->setReadOnly(true);
    top += 24;
  }
  auto* level = place(new ui::DataEdit(panel, dsABQuery_.get(), "PrefLevel"), "DBEdit32", 627, top - 24, 21,
                      vorl::kEditHeight);
  level->setReadOnly(true);

  auto* note = place(new QPlainTextEdit(panel), "Memo1", 312, top + 4, 317, 41);
  note->setPlainText("Geochronological information extracted from Ambrell \n"
                     "database compilation of R. G. Ambrell (2024)");
  note->setReadOnly(true);
  note->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  note->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  vorl::skipOnTab(note);
  vorl::setBackground(note, palette().color(QPalette::Button));
}

void TfmVORL1::tsGeochronologyShow() {}  // showing the tab neither opens nor closes the query

void TfmVORL1::bOpenClick() {
  if (!AmbrellLink) return;
  // An open query already follows the unit; preparing it again would be refused and taken for a
  // broken link.
  if (ABQuery_->active()) return;
  try {
    dm().session().addPassword(data::kTablePassword);
    ABQuery_->prepare();
    ABQuery_->open();
  } catch (...) {
    ui::showWarning(this, "Link to Ambrell database either incorrect or not available");
    AmbrellLink = false;
  }
}

void TfmVORL1::bCloseClick() { ABQuery_->close(); }

void TfmVORL1::bPlotClick() {
  if (!fmDatePlot_) fmDatePlot_ = new TfmDatePlot(this, *dsABQuery_, dm().dsVORLList);
  fmDatePlot_->show();
  fmDatePlot_->raise();
  fmDatePlot_->activateWindow();
}
