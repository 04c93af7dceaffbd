#include "report_engine/value_format.h"

#include <QDate>
#include <QDateTime>
#include <algorithm>
#include <cmath>

namespace reporting {

namespace {

bool isNumberCharacter(QChar c) { return c == u'#' || c == u'0' || c == u',' || c == u'.'; }

QString groupThousands(const QString& digits) {
  QString grouped;
  for (qsizetype i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += u',';
    grouped += digits[i];
  }
  return grouped;
}

}  // namespace

QString formatNumber(double value, const QString& pattern) {
  qsizetype start = 0;
  while (start < pattern.size() && !isNumberCharacter(pattern[start])) ++start;
  qsizetype end = pattern.size();
  while (end > start && !isNumberCharacter(pattern[end - 1])) --end;
  const QString number = pattern.mid(start, end - start);
  const qsizetype point = number.indexOf(u'.');
  const QString integerPart = point < 0 ? number : number.left(point);
  const QString fraction = point < 0 ? QString() : number.mid(point + 1);
  const int minimumDecimals = static_cast<int>(fraction.count(u'0'));
  const int maximumDecimals = static_cast<int>(fraction.size());
  const int minimumDigits = static_cast<int>(integerPart.count(u'0'));

  QString text = QString::number(std::fabs(value), 'f', maximumDecimals);
  if (maximumDecimals > minimumDecimals) {
    while (text.endsWith(u'0') && text.size() - text.indexOf(u'.') - 1 > minimumDecimals) text.chop(1);
    if (text.endsWith(u'.')) text.chop(1);
  }
  const qsizetype textPoint = text.indexOf(u'.');
  QString digits = textPoint < 0 ? text : text.left(textPoint);
  const QString decimals = textPoint < 0 ? QString() : text.mid(textPoint);
  if (digits == u"0" && minimumDigits == 0) digits.clear();
  while (digits.size() < minimumDigits) digits.prepend(u'0');
  if (integerPart.contains(u',')) digits = groupThousands(digits);
  const QString shown = digits + decimals;
  const bool negative = value < 0 && std::any_of(shown.begin(), shown.end(), [](QChar c) { return c >= u'1' && c <= u'9'; });
  return pattern.left(start) + (negative ? QStringLiteral("-") : QString()) + digits + decimals + pattern.mid(end);
}

QString formatValue(const FieldValue& field, const QString& pattern) {
  if (pattern.isEmpty() || field.value.isNull()) return field.displayText;
  switch (field.value.typeId()) {
    case QMetaType::Double:
    case QMetaType::LongLong:
    case QMetaType::Int:
      return formatNumber(field.value.toDouble(), pattern);
    case QMetaType::QDate:
      return field.value.toDate().toString(pattern);
    case QMetaType::QDateTime:
      return field.value.toDateTime().toString(pattern);
    default:
      return field.displayText;
  }
}

}  // namespace reporting
