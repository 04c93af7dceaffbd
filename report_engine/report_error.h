#pragma once
// A failure of the report engine, with the text shown to the user.
#include <QString>
#include <stdexcept>

namespace reporting {

class ReportError : public std::runtime_error {
 public:
  explicit ReportError(const QString& text) : std::runtime_error(text.toStdString()) {}
  QString text() const { return QString::fromStdString(what()); }
};

}  // namespace reporting
