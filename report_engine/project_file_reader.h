#pragma once
// Reads a report project file (XML, documented in docs/report-format.md). Any fault raises one
// ReportError that names the file, the line and the column; nothing is returned half-read.
#include <QString>
#include <vector>

#include "report_engine/report_definition.h"

class QIODevice;

namespace reporting {

std::vector<ReportDefinition> readProjectFile(const QString& path);
// fileName only names the source in messages.
std::vector<ReportDefinition> readProject(QIODevice& device, const QString& fileName);

}  // namespace reporting
