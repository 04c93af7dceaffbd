#pragma once
// What the report project renders its active report through (its Engine): the output system of the
// report windows, or a plain file writer for batch use.
#include "report_engine/report_definition.h"

namespace reporting {

class ReportOutput {
 public:
  virtual ~ReportOutput() = default;
  // Runs one report to its destination; returns when the run is over.
  virtual void run(const ReportDefinition& report) = 0;
};

}  // namespace reporting
