#pragma once
// A cursor on one table of a database, ordered by a named index or a field list, optionally a
// detail of a master data source: it then shows only the rows whose leading index fields equal
// the master fields of the master's current row, and follows every move of the master.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "db_engine/dataset.h"

namespace engine {

class Statement;

class Table : public Dataset {
 public:
  Table(Session& session, std::string name);
  ~Table() override;

  // "VORLLIST.DB", "Vorllist.DB" and "vorllist" name one table.
  void setTableName(std::string tableName);
  const std::string& tableName() const { return tableName_; }
  // Order by a named index of the table ("CountryIndex") ...
  void setIndexName(std::string indexName);
  // ... or by a field list ("Code", "CountryAbr;UnitName"). Without either: primary key order.
  void setIndexFieldNames(std::string fieldNames);
  // Master-detail link: masterFields ("Code", "CountryAbr;UnitName") of the master's current row
  // are compared with the leading fields of the index. A closed or empty master gives no rows.
  void setMasterSource(DataSource* master);
  void setMasterFields(std::string fieldNames);
  DataSource* masterSource() const;

 protected:
  void openRows() override;
  void closeRows() override;
  std::size_t reloadRows(std::size_t current) override;
  std::size_t rowCount() const override;
  const Row& readRow(std::size_t row) const override;
  std::optional<std::size_t> findRow(const std::vector<std::size_t>& fieldIndexes,
                                     const std::vector<std::string>& values, LocateOptions options) override;
  std::size_t storeInsert(const Row& row, std::size_t position) override;
  std::size_t storeUpdate(std::size_t row, const Row& values) override;
  void storeDelete(std::size_t row) override;
  void fillLinkFields(Row& row) override;
  void announceWrite() override;
  void rowWrittenElsewhere(const std::string& storedTable, std::int64_t key) override;
  bool writable() const override;

 private:
  struct Cursor;  // keyset of the range and prepared statements
  void reconfigure();
  void configureOrder();
  std::optional<std::vector<Value>> masterValues() const;
  unsigned masterRefreshes() const;
  // The loaded range is the master's current one: same link values, master not refreshed since.
  bool rangeStillCurrent() const;
  std::string rangeCondition(const std::string& extra, bool filtered = true) const;
  std::string orderClause() const;
  bool canSeekIgnoringCase(const std::vector<std::size_t>& fieldIndexes, const std::vector<std::string>& values,
                           LocateOptions options) const;
  struct SeekOutcome {
    bool settled;
    std::optional<std::size_t> row;
  };
  SeekOutcome seekIgnoringCase(const Field& field, const std::string& wanted, bool partial,
                               const std::vector<Value>& master);
  int bindRange(Statement& statement, const std::vector<Value>& masterValues) const;
  void loadKeys();
  std::optional<Row> readInLoadedRange(std::int64_t key);
  bool comesBefore(std::int64_t first, std::int64_t second);
  std::size_t insertionPoint(std::int64_t key, std::optional<std::size_t> skip);
  struct Placement {
    std::optional<std::size_t> from;  // position before the write; none: it was not in the range
    std::optional<std::size_t> to;    // position after it; none: it left the range
    std::optional<Row> row;           // its stored values while in the range
  };
  Placement placement(std::int64_t key, std::optional<std::size_t> from, bool orderMayChange);
  void applyPlacement(std::int64_t key, Placement place);
  std::optional<Row> fetchRow(std::int64_t key) const;
  void fetchRows(std::size_t first) const;

  std::string tableName_;
  std::string indexName_;
  std::string indexFieldNames_;
  std::string masterFields_;
  std::unique_ptr<Cursor> cursor_;
  class MasterLink;
  std::unique_ptr<MasterLink> masterLink_;
};

}  // namespace engine
