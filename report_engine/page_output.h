#pragma once
// Draws laid-out pages: on screen for the preview, to a printer, or into a PDF file.
#include <QString>
#include <vector>

#include "report_engine/report_document.h"
#include "report_engine/report_generator.h"

class QPainter;
class QPagedPaintDevice;

namespace reporting {

// Draws one page (0-based) with its top left at the painter's origin, at the given scale.
void drawPage(QPainter& painter, const ReportDocument& document, int page, double pixelsPerMillimetre);

// Sends the given pages (1-based, in order; empty means all) to a paged device that is set up for
// the document (page size, orientation). progress is told the number of each page sent.
// Returns false when progress cancelled it.
bool paintPages(QPagedPaintDevice& device, const ReportDocument& document, const std::vector<int>& pages = {},
                const PageProgress& progress = {});

// Writes the document as a PDF file (text kept as text, fonts embedded). Raises ReportError when
// the file cannot be written; a cancelled write leaves no file. Returns false when cancelled.
bool writePdf(const ReportDocument& document, const QString& fileName, const PageProgress& progress = {});

}  // namespace reporting
