#include "report_engine/data_connection.h"

#include <algorithm>

namespace reporting {

DataConnection::DataConnection(QString name) : name_(std::move(name)) { connections().add(*this); }

DataConnection::~DataConnection() { connections().remove(*this); }

void DataConnection::begin(const QString& condition) {
  remember();
  remembered_ = true;
  applyCondition(condition);
  first();
}

void DataConnection::end() {
  if (!remembered_) return;
  remembered_ = false;
  restore();
}

void DataConnection::first() {
  moveFirst();
  skipRefused();
}

void DataConnection::next() {
  moveNext();
  skipRefused();
}

bool DataConnection::eof() const { return atEnd(); }

void DataConnection::skipRefused() {
  while (!atEnd()) {
    bool accept = meetsCondition();
    if (accept && onValidateRow) onValidateRow(*this, accept);
    if (accept) return;
    moveNext();
  }
}

void ConnectionRegistry::add(DataConnection& connection) { connections_.push_back(&connection); }

void ConnectionRegistry::remove(DataConnection& connection) { std::erase(connections_, &connection); }

DataConnection* ConnectionRegistry::find(const QString& name) const {
  const auto found = std::find_if(connections_.begin(), connections_.end(), [&](const DataConnection* connection) {
    return connection->name().compare(name, Qt::CaseInsensitive) == 0;
  });
  return found == connections_.end() ? nullptr : *found;
}

ConnectionRegistry& connections() {
  static ConnectionRegistry registry;
  return registry;
}

}  // namespace reporting
