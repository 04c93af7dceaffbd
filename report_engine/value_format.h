#pragma once
// Display formats of report items: number patterns ("###0.00", "#,##0") and date and time patterns.
#include <QString>

#include "report_engine/data_connection.h"

namespace reporting {

QString formatNumber(double value, const QString& pattern);
// A field's value with the item's format; without a format, the field's own display text.
QString formatValue(const FieldValue& field, const QString& pattern);

}  // namespace reporting
