#pragma once
// The common base of tables and queries: state, typed fields, a cursor over the rows of the
// dataset's range, record operations, locate, and the events the data modules hook.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db_engine/data_source.h"
#include "db_engine/field.h"
#include "db_engine/schema.h"
#include "db_engine/value.h"

namespace engine {

class Database;
class FilterExpression;
class Session;

enum class DatasetState { Inactive, Browse, Edit, Insert };
enum class PostErrorAction { Fail, Abort, Retry };

struct LocateOptions {
  bool caseInsensitive = false;
  bool partialKey = false;
};

class Dataset {
 public:
  using Hook = std::function<void(Dataset&)>;
  // Receives the dataset, the error the engine raised (an EngineError) and the action, which starts
  // as Fail. Abort ends the post with SilentAbort, Retry posts again, Fail rethrows the error.
  // The handler may itself throw (SilentAbort) or cancel the dataset.
  using PostErrorHook = std::function<void(Dataset&, const std::exception&, PostErrorAction&)>;

  Dataset(Session& session, std::string name);
  virtual ~Dataset();
  Dataset(const Dataset&) = delete;
  Dataset& operator=(const Dataset&) = delete;

  const std::string& name() const { return name_; }
  Session& session() const { return session_; }

  // --- Configuration (while closed) ---
  // An alias ("VORL") or the database name of a Database object ("DBunits").
  void setDatabaseName(std::string databaseName);
  const std::string& databaseName() const { return databaseName_; }
  void setReadOnly(bool readOnly);
  bool readOnly() const { return readOnly_; }
  // Filter expression: comparisons of a field with a constant, joined by and / or, with
  // parentheses and not ("Years<4600000000", "Name='X' or Code>=3"). An empty value counts as
  // lower than every constant. Takes effect at once on an open dataset when filtered.
  void setFilter(std::string expression);
  const std::string& filter() const { return filter_; }
  void setFiltered(bool filtered);
  bool filtered() const { return filtered_; }
  // Persistent fields, in order; without them every column of the table or result becomes a field.
  void setFieldDefs(std::vector<FieldDef> definitions);

  // The database object the dataset uses (resolved through the session; connects on first open).
  Database& database() const;

  // --- Open and close ---
  void open();   // opening an open dataset does nothing
  void close();  // closing a closed one does nothing; a pending edit is discarded
  void setActive(bool active);
  bool active() const { return state_ != DatasetState::Inactive; }
  DatasetState state() const { return state_; }
  // Re-reads the rows of the range, staying on the current row where it is still there.
  void refresh();
  // How often refresh() read the rows afresh; details of the dataset read theirs again with it.
  unsigned refreshes() const { return refreshes_; }

  // --- Fields ---
  const std::vector<std::unique_ptr<Field>>& fields() const { return fields_; }
  Field* findField(std::string_view fieldName) const;  // ignores case; nullptr when missing
  Field& fieldByName(std::string_view fieldName) const;  // raises FieldNotFound naming the dataset

  // --- Cursor ---
  // Every move first settles a pending edit: a modified row is posted, an unmodified one cancelled.
  void first();
  void last();
  void next();   // past the last row sets eof() and stays on the last row
  void prior();  // before the first row sets bof() and stays on the first row
  void moveBy(long distance);
  void moveTo(std::size_t row);  // 0-based position in the range
  bool eof() const;
  bool bof() const;
  bool isEmpty() const;
  std::size_t recordCount() const;  // rows in the range (after the filter)
  std::size_t recNo() const;        // 0-based position of the current row

  // Values of any row of the range, aligned with fields() (for grids); the current row while
  // editing or inserting is the pending buffer.
  const Row& rowAt(std::size_t row) const;

  // Moves to the first visible row (range and filter) whose fields equal the values given as
  // text, in the order of the dataset. fieldNames is "Name" or "CountryAbr;UnitName".
  // A miss returns false and leaves the cursor where it was.
  bool locate(std::string_view fieldNames, const std::vector<std::string>& values, LocateOptions options = {});
  bool locate(std::string_view fieldName, const std::string& value, LocateOptions options = {});

  // --- Record operations ---
  void edit();    // in edit or insert mode already: stays so
  void insert();  // new row before the current one
  void append();  // new row at the end
  void post();    // UpdateData, before-post hook, store; on refusal the post-error hook runs
  void cancel();
  void deleteRecord();  // while inserting: cancels the new row
  bool modified() const { return modified_; }
  bool canModify() const;  // false for read-only datasets and results the engine cannot write back

  // --- Events ---
  Hook onNewRecord;     // after insert/append, once the link fields are filled from the master
  Hook onBeforePost;    // may throw: the post stops before the engine is asked
  PostErrorHook onPostError;

  // --- Data sources (maintained by DataSource) ---
  void attach(DataSource* source);
  void detach(DataSource* source);
  // Suspends notifications during bulk work; on the last enable links get one DataSetChanged.
  void disableControls();
  void enableControls();

 protected:
  // What a table or a query provides to the common base. Positions are 0-based within the range.
  virtual void openRows() = 0;   // bind the fields (bindFields) and read the range
  virtual void closeRows() = 0;
  // Re-reads the range; returns the new position of the row that was at current (clamped when gone).
  virtual std::size_t reloadRows(std::size_t current) = 0;
  virtual std::size_t rowCount() const = 0;
  virtual const Row& readRow(std::size_t row) const = 0;
  virtual std::optional<std::size_t> findRow(const std::vector<std::size_t>& fieldIndexes,
                                             const std::vector<std::string>& values, LocateOptions options) = 0;
  // Each store re-reads the range and returns the position of the stored row (clamped when it is
  // no longer in the range). position is where an inserted row was shown.
  virtual std::size_t storeInsert(const Row& row, std::size_t position) = 0;
  virtual std::size_t storeUpdate(std::size_t row, const Row& values) = 0;
  virtual void storeDelete(std::size_t row) = 0;
  virtual void fillLinkFields(Row& row) { (void)row; }  // a detail copies its master's values
  // After a post or delete: tells the database's other datasets which row of which table changed.
  virtual void announceWrite() {}
  // Another dataset of the database wrote this row: a view of the same table brings it up to date.
  virtual void rowWrittenElsewhere(const std::string& storedTable, std::int64_t key) {
    (void)storedTable;
    (void)key;
  }
  virtual bool writable() const = 0;

  void notify(DataEvent event, const Field* field = nullptr);
  // Creates (or checks) the fields against the columns available; returns, per field, the index of
  // its column in available. Also compiles the filter.
  std::vector<std::size_t> bindFields(const std::vector<FieldDef>& available);
  // The compiled filter while filtered, else nullptr; filterSerial() changes with every compile.
  const FilterExpression* activeFilter() const { return filterExpression_.get(); }
  unsigned filterSerial() const { return filterSerial_; }
  // The rows changed as a whole (master moved, query ran again): settle, re-read, go to the first row.
  void rangeChanged();
  // The rows of the range changed under the cursor, which now stands at current.
  void rowsChangedUnder(std::size_t current);
  Database& connection() const;  // the open database

  Session& session_;
  std::string name_;
  std::string databaseName_;
  bool readOnly_ = false;
  std::string filter_;
  bool filtered_ = false;
  std::vector<FieldDef> fieldDefs_;
  std::vector<std::unique_ptr<Field>> fields_;
  DatasetState state_ = DatasetState::Inactive;
  bool modified_ = false;
  Row buffer_;           // the pending row while editing or inserting
  std::size_t current_ = 0;
  bool eof_ = true;
  bool bof_ = true;
  std::vector<DataSource*> sources_;
  int controlsDisabled_ = 0;
  unsigned refreshes_ = 0;

 private:
  bool editing() const { return state_ == DatasetState::Edit || state_ == DatasetState::Insert; }
  void checkActive() const;
  void checkModifiable() const;
  void settle();  // posts a modified pending row (after UpdateData), cancels an unmodified one
  void moveCursor(std::size_t row, bool bof, bool eof);
  void startInsert(bool atEnd);
  bool retryAfter(const std::exception& error);
  void compileFilter();
  void applyFilterChange();
  void setFieldValue(const Field& field, Value value);
  const Value& currentValue(std::size_t index) const;

  Database* database_ = nullptr;  // while open
  std::unique_ptr<FilterExpression> filterExpression_;
  unsigned filterSerial_ = 0;
  std::size_t insertedFrom_ = 0;  // the current row before an insert, for cancel

  friend class Field;
  friend class Database;
};

}  // namespace engine
