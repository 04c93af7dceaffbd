#pragma once
// The main window's two print commands, "&Print" (the current unit) and "Print &all" (every
// top-level unit): the report selection window over report datasets opened for that root.
#include "reports/report_data.h"
#include "reports/report_selection_window.h"

class QWidget;

namespace reports {

// Creates the report selection window, opens its datasets with root as the rows of the root query,
// shows it modally over owner and, once it has closed, closes the datasets and destroys it. The
// clean-up runs on every path; a dataset that cannot be opened is raised after it.
void printReports(TReportData::Root root, engine::Session& session, engine::DataSource& unitSource,
                  const ReportSettings& settings, QWidget* owner);

}  // namespace reports
