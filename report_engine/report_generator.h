#pragma once
// Runs a report's definition against the registered data connections and lays it out into pages in
// memory. Lays out first and counts the pages, so templates such as "Page %p of %P" are right.
#include <functional>
#include <optional>

#include "report_engine/data_connection.h"
#include "report_engine/report_definition.h"
#include "report_engine/report_document.h"

namespace reporting {

// Told after each finished page with its number (from 1); returning false cancels the run.
using PageProgress = std::function<bool(int page)>;

// Gives no document when the run is cancelled, or when a data view names a connection that is not
// registered (reported first in the "Error" box through the dialog seam). Every connection the
// report used is restored to its state before the run, also when it fails.
std::optional<ReportDocument> generateReport(const ReportDefinition& report, const PageProgress& progress = {},
                                             const ConnectionRegistry& registry = connections());

// "Error!  Could not open data connection "NAME".  Aborting report."
QString missingConnectionMessage(const QString& connection);

}  // namespace reporting
