#include "db_engine/dataset.h"

#include <algorithm>
#include <utility>

#include "db_engine/column_types.h"
#include "db_engine/database.h"
#include "db_engine/errors.h"
#include "db_engine/filter_expression.h"
#include "db_engine/session.h"

namespace engine {

Dataset::Dataset(Session& session, std::string name) : session_(session), name_(std::move(name)) {}

Dataset::~Dataset() {
  // Derived classes close in their own destructors, while closeRows() still reaches them.
  const auto sources = sources_;
  for (auto* source : sources) source->setDataset(nullptr);
}

void Dataset::setDatabaseName(std::string databaseName) { databaseName_ = std::move(databaseName); }

void Dataset::setReadOnly(bool readOnly) { readOnly_ = readOnly; }

void Dataset::setFilter(std::string expression) {
  if (expression == filter_) return;
  auto previous = std::exchange(filter_, std::move(expression));
  if (!active() || !filtered_) return;
  try {
    applyFilterChange();
  } catch (...) {
    filter_ = std::move(previous);
    compileFilter();
    throw;
  }
}

void Dataset::setFiltered(bool filtered) {
  if (filtered == filtered_) return;
  filtered_ = filtered;
  if (!active()) return;
  try {
    applyFilterChange();
  } catch (...) {
    filtered_ = !filtered;
    compileFilter();
    throw;
  }
}

void Dataset::setFieldDefs(std::vector<FieldDef> definitions) {
  if (active()) throw EngineError(code::DatasetOpen, "Cannot change the fields of an open dataset: " + name_);
  fieldDefs_ = std::move(definitions);
  fields_.clear();
  for (std::size_t index = 0; index < fieldDefs_.size(); ++index) {
    fields_.push_back(std::make_unique<Field>(*this, fieldDefs_[index], index));
  }
}

Database& Dataset::database() const { return database_ ? *database_ : session_.database(databaseName_); }

Database& Dataset::connection() const {
  if (!database_) throw EngineError(code::DatasetClosed, "Cannot perform this operation on a closed dataset: " + name_);
  return *database_;
}

void Dataset::open() {
  if (active()) return;
  auto& database = session_.database(databaseName_);
  database.open();
  database_ = &database;
  database.openDatasets_.push_back(this);
  try {
    openRows();
  } catch (...) {
    closeRows();
    std::erase(database.openDatasets_, this);
    database_ = nullptr;
    filterExpression_.reset();
    if (fieldDefs_.empty()) fields_.clear();
    throw;
  }
  state_ = DatasetState::Browse;
  modified_ = false;
  current_ = 0;
  bof_ = true;
  eof_ = rowCount() == 0;
  notify(DataEvent::ActiveChanged);
}

void Dataset::close() {
  if (!active()) return;
  state_ = DatasetState::Inactive;
  modified_ = false;
  buffer_.clear();
  closeRows();
  if (database_) std::erase(database_->openDatasets_, this);
  database_ = nullptr;
  filterExpression_.reset();
  if (fieldDefs_.empty()) fields_.clear();
  current_ = 0;
  bof_ = eof_ = true;
  notify(DataEvent::ActiveChanged);
}

void Dataset::setActive(bool active) {
  if (active) open();
  else close();
}

void Dataset::refresh() {
  checkActive();
  settle();
  current_ = reloadRows(current_);
  bof_ = eof_ = rowCount() == 0;
  ++refreshes_;
  notify(DataEvent::DataSetChanged);
}

void Dataset::rowsChangedUnder(std::size_t current) {
  current_ = current;
  if (!editing()) bof_ = eof_ = rowCount() == 0;
  notify(DataEvent::DataSetChanged);
}

void Dataset::rangeChanged() {
  settle();
  reloadRows(0);
  current_ = 0;
  bof_ = true;
  eof_ = rowCount() == 0;
  notify(DataEvent::DataSetChanged);
}

Field* Dataset::findField(std::string_view fieldName) const {
  for (const auto& field : fields_) {
    if (equalIgnoringCase(field->fieldName(), fieldName)) return field.get();
  }
  return nullptr;
}

Field& Dataset::fieldByName(std::string_view fieldName) const {
  if (auto* field = findField(fieldName)) return *field;
  throw EngineError(code::FieldNotFound, "Field " + std::string(fieldName) + " not found in dataset " + name_);
}

void Dataset::first() {
  checkActive();
  settle();
  moveCursor(0, true, rowCount() == 0);
}

void Dataset::last() {
  checkActive();
  settle();
  const auto count = rowCount();
  moveCursor(count ? count - 1 : 0, count == 0, true);
}

void Dataset::next() {
  checkActive();
  settle();
  if (current_ + 1 < rowCount()) {
    moveCursor(current_ + 1, false, false);
  } else {
    eof_ = true;
  }
}

void Dataset::prior() {
  checkActive();
  settle();
  if (current_ > 0) {
    moveCursor(current_ - 1, false, false);
  } else {
    bof_ = true;
  }
}

void Dataset::moveBy(long distance) {
  checkActive();
  settle();
  const auto count = static_cast<long>(rowCount());
  if (distance == 0 || count == 0) return;
  const long wanted = static_cast<long>(current_) + distance;
  const long target = std::clamp(wanted, 0L, count - 1);
  moveCursor(static_cast<std::size_t>(target), wanted < 0, wanted >= count);
}

void Dataset::moveTo(std::size_t row) {
  checkActive();
  settle();
  const auto count = rowCount();
  if (count == 0) return;
  moveCursor(std::min(row, count - 1), false, false);
}

bool Dataset::eof() const { return !active() || eof_; }

bool Dataset::bof() const { return !active() || bof_; }

bool Dataset::isEmpty() const { return recordCount() == 0; }

// A row being inserted counts: grids show it at recNo().
std::size_t Dataset::recordCount() const {
  if (!active()) return 0;
  return rowCount() + (state_ == DatasetState::Insert ? 1 : 0);
}

std::size_t Dataset::recNo() const { return current_; }

const Row& Dataset::rowAt(std::size_t row) const {
  if (row >= recordCount()) {
    throw EngineError(code::General, "Row " + std::to_string(row) + " is out of the range of dataset " + name_);
  }
  if (editing() && row == current_) return buffer_;
  if (state_ == DatasetState::Insert && row > current_) return readRow(row - 1);
  return readRow(row);
}

bool Dataset::locate(std::string_view fieldNames, const std::vector<std::string>& values, LocateOptions options) {
  checkActive();
  const auto names = splitFieldNames(fieldNames);
  if (names.empty() || names.size() != values.size()) {
    throw EngineError(code::General, "Locate on dataset " + name_ + " needs one value for each of: " + std::string(fieldNames));
  }
  std::vector<std::size_t> indexes;
  for (const auto& name : names) indexes.push_back(fieldByName(name).index());
  settle();
  const auto found = findRow(indexes, values, options);
  if (!found) return false;
  moveCursor(*found, false, false);
  return true;
}

bool Dataset::locate(std::string_view fieldName, const std::string& value, LocateOptions options) {
  return locate(fieldName, std::vector<std::string>{value}, options);
}

void Dataset::edit() {
  checkActive();
  if (editing()) return;
  checkModifiable();
  if (rowCount() == 0) {
    insert();
    return;
  }
  buffer_ = readRow(current_);
  state_ = DatasetState::Edit;
  modified_ = false;
  notify(DataEvent::StateChanged);
}

void Dataset::insert() { startInsert(false); }

void Dataset::append() { startInsert(true); }

void Dataset::startInsert(bool atEnd) {
  checkActive();
  checkModifiable();
  settle();
  insertedFrom_ = current_;
  const auto count = rowCount();
  current_ = atEnd ? count : std::min(current_, count);
  buffer_.assign(fields_.size(), Value{});
  fillLinkFields(buffer_);
  state_ = DatasetState::Insert;
  bof_ = eof_ = false;
  notify(DataEvent::StateChanged);
  try {
    if (onNewRecord) onNewRecord(*this);
  } catch (...) {
    cancel();
    throw;
  }
  // Values of the link fields and of the new-record hook are no change of the user's.
  modified_ = false;
  notify(DataEvent::DataSetChanged);
}

void Dataset::post() {
  checkActive();
  if (!editing()) return;
  notify(DataEvent::UpdateData);
  if (onBeforePost) onBeforePost(*this);
  // A handler that answers Retry every time gets this many retries; then the engine's error stands.
  constexpr int kMostRetries = 3;
  std::size_t position = 0;
  for (int retries = 0;; ++retries) {
    try {
      position = state_ == DatasetState::Insert ? storeInsert(buffer_, current_) : storeUpdate(current_, buffer_);
      break;
    } catch (const std::exception& error) {
      if (retries == kMostRetries || !retryAfter(error)) throw;
    }
  }
  state_ = DatasetState::Browse;
  modified_ = false;
  buffer_.clear();
  current_ = position;
  bof_ = eof_ = rowCount() == 0;
  notify(DataEvent::StateChanged);
  notify(DataEvent::DataSetChanged);
  announceWrite();
}

// The post-error hook decides: Retry posts again, Abort ends quietly, Fail lets the error through.
bool Dataset::retryAfter(const std::exception& error) {
  auto action = PostErrorAction::Fail;
  if (onPostError) onPostError(*this, error, action);
  if (action == PostErrorAction::Fail) return false;
  // Nothing is left to retry when the hook has cancelled the row.
  if (action == PostErrorAction::Abort || !editing()) throw SilentAbort();
  return true;
}

void Dataset::cancel() {
  if (!editing()) return;
  const bool wasInsert = state_ == DatasetState::Insert;
  const bool wasModified = modified_;
  state_ = DatasetState::Browse;
  modified_ = false;
  buffer_.clear();
  const auto count = rowCount();
  if (wasInsert) current_ = count ? std::min(insertedFrom_, count - 1) : 0;
  bof_ = eof_ = count == 0;
  notify(DataEvent::StateChanged);
  if (wasInsert || wasModified) notify(DataEvent::DataSetChanged);
}

void Dataset::deleteRecord() {
  checkActive();
  if (state_ == DatasetState::Insert) {
    cancel();
    return;
  }
  checkModifiable();
  if (rowCount() == 0) throw EngineError(code::General, "Cannot delete from an empty dataset: " + name_);
  storeDelete(current_);
  const bool wasEditing = editing();
  state_ = DatasetState::Browse;
  modified_ = false;
  buffer_.clear();
  const auto count = rowCount();
  current_ = count ? std::min(current_, count - 1) : 0;
  bof_ = eof_ = count == 0;
  if (wasEditing) notify(DataEvent::StateChanged);
  notify(DataEvent::DataSetChanged);
  announceWrite();
}

bool Dataset::canModify() const { return !readOnly_ && writable(); }

void Dataset::attach(DataSource* source) {
  if (std::find(sources_.begin(), sources_.end(), source) == sources_.end()) sources_.push_back(source);
}

void Dataset::detach(DataSource* source) { std::erase(sources_, source); }

void Dataset::disableControls() { ++controlsDisabled_; }

void Dataset::enableControls() {
  if (controlsDisabled_ == 0) return;
  if (--controlsDisabled_ == 0) notify(DataEvent::DataSetChanged);
}

void Dataset::notify(DataEvent event, const Field* field) {
  // Pending text of controls must reach the fields even while they are not repainted.
  if (controlsDisabled_ > 0 && event != DataEvent::UpdateData) return;
  const auto sources = sources_;
  for (auto* source : sources) {
    if (std::find(sources_.begin(), sources_.end(), source) != sources_.end()) source->notify(event, field);
  }
}

std::vector<std::size_t> Dataset::bindFields(const std::vector<FieldDef>& available) {
  std::vector<std::size_t> columns;
  if (fieldDefs_.empty()) {
    fields_.clear();
    for (std::size_t index = 0; index < available.size(); ++index) {
      fields_.push_back(std::make_unique<Field>(*this, available[index], index));
      columns.push_back(index);
    }
  } else {
    for (const auto& field : fields_) {
      const auto found = std::find_if(available.begin(), available.end(), [&](const FieldDef& column) {
        return equalIgnoringCase(column.name, field->fieldName());
      });
      if (found == available.end()) {
        throw EngineError(code::FieldNotFound, "Field " + field->fieldName() + " not found in dataset " + name_);
      }
      columns.push_back(static_cast<std::size_t>(found - available.begin()));
    }
  }
  compileFilter();
  return columns;
}

void Dataset::compileFilter() {
  filterExpression_.reset();
  ++filterSerial_;
  if (!filtered_ || filter_.empty() || fields_.empty()) return;
  const auto resolve = [this](std::string_view fieldName) -> std::optional<FilterField> {
    const auto* field = findField(fieldName);
    if (!field) return std::nullopt;
    return FilterField{field->index(), field->fieldName(), field->dataType()};
  };
  filterExpression_ = std::make_unique<FilterExpression>(FilterExpression::parse(filter_, resolve, name_));
}

void Dataset::applyFilterChange() {
  settle();
  compileFilter();
  reloadRows(0);
  current_ = 0;
  bof_ = true;
  eof_ = rowCount() == 0;
  notify(DataEvent::DataSetChanged);
}

void Dataset::checkActive() const {
  if (!active()) throw EngineError(code::DatasetClosed, "Cannot perform this operation on a closed dataset: " + name_);
}

void Dataset::checkModifiable() const {
  if (!canModify()) throw EngineError(code::ReadOnly, "Cannot modify a read-only dataset: " + name_);
}

void Dataset::settle() {
  if (!editing()) return;
  notify(DataEvent::UpdateData);  // text still pending in a control is a change too
  if (modified_) post();
  else cancel();
}

void Dataset::moveCursor(std::size_t row, bool bof, bool eof) {
  const bool moved = row != current_;
  current_ = row;
  bof_ = bof;
  eof_ = eof;
  if (moved) notify(DataEvent::Scrolled);
}

void Dataset::setFieldValue(const Field& field, Value value) {
  checkActive();
  if (!editing()) throw EngineError(code::NotEditing, "Dataset not in edit or insert mode: " + name_);
  buffer_[field.index()] = std::move(value);
  modified_ = true;
  notify(DataEvent::RecordChanged, &field);
}

const Value& Dataset::currentValue(std::size_t index) const {
  static const Value kEmpty;
  if (editing()) return index < buffer_.size() ? buffer_[index] : kEmpty;
  if (!active() || rowCount() == 0) return kEmpty;
  const auto& row = readRow(current_);
  return index < row.size() ? row[index] : kEmpty;
}

}  // namespace engine
