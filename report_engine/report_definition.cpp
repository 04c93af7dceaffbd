#include "report_engine/report_definition.h"

#include <algorithm>

namespace reporting {

const DataView* ReportDefinition::findView(const QString& viewName) const {
  const auto found = std::find_if(dataViews.begin(), dataViews.end(), [&](const DataView& view) {
    return view.name.compare(viewName, Qt::CaseInsensitive) == 0;
  });
  return found == dataViews.end() ? nullptr : &*found;
}

}  // namespace reporting
