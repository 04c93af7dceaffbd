#pragma once
// An SQL query with :Name parameters, always bound (never spliced into the text). Bound to a data
// source, a parameter takes the same-named field of its current row, and an open query runs again
// whenever that row changes.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db_engine/dataset.h"
#include "db_engine/result_window.h"

namespace engine {

struct Param {
  std::string name;
  FieldType type = FieldType::String;
  Value value;  // empty: bound as NULL
  void setAsString(std::string text) { value = std::move(text); }
};

class Query : public Dataset {
 public:
  Query(Session& session, std::string name);
  ~Query() override;

  // SQL text in lines; setting it closes the query and unprepares it. Parameters are created
  // from the :Name markers of the text, keeping declared types and values of known names.
  void setSql(std::vector<std::string> lines);
  const std::vector<std::string>& sql() const { return sql_; }
  std::vector<Param>& params() { return params_; }
  Param& paramByName(std::string_view name);  // ignores case; raises when missing
  void declareParam(Param param);             // type and default value of a parameter

  void setDataSource(DataSource* source);
  DataSource* dataSource() const;

  // Parses a closed query; refused (DatasetOpen) on an open one. open() prepares when needed.
  void prepare();
  void unprepare();
  bool prepared() const;

  // A live result can be edited where the engine can write it back (a single table whose primary
  // key is in the result); otherwise the result is read-only.
  void setRequestLive(bool live);
  bool requestLive() const { return requestLive_; }

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
  bool writable() const override;

 private:
  struct Result;
  Value parameterValue(const Param& param) const;
  Bindings bindings() const;  // the parameter values a run binds
  // Runs the query again; unless forced, only when the parameter values or the database changed.
  void execute(bool force);
  void findWriteBack();
  std::vector<Value> keyOf(const Row& row) const;
  std::size_t positionOf(const std::optional<std::vector<Value>>& key, std::size_t fallback) const;
  void runWrite(const std::string& sql, const std::vector<Value>& values, bool oneRow);
  std::string keyCondition() const;

  std::vector<std::string> sql_;
  std::vector<Param> params_;
  bool requestLive_ = false;
  std::unique_ptr<Result> result_;
  class SourceLink;
  std::unique_ptr<SourceLink> sourceLink_;
};

}  // namespace engine
