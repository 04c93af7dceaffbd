#pragma once
// A data connection offers one of the program's datasets to the report engine under a name. It
// registers itself when created and withdraws when destroyed; the engine finds it by name without
// regard to case.
#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

namespace reporting {

enum class DataType {
  dtString, dtInteger, dtFloat, dtCurrency, dtBCD, dtBoolean, dtDate, dtTime, dtDateTime,
  dtMemo, dtGraphic, dtBlob
};

struct FieldInfo {
  QString name;
  DataType type = DataType::dtString;
};

// A field of the current row: the value (null when empty; memos and blobs as their bytes) and the
// text the dataset displays for it.
struct FieldValue {
  QVariant value;
  QString displayText;
};

class DataConnection {
 public:
  // Receives the row-validation flag, set to true; clearing it keeps the row from the report.
  using ValidateRow = std::function<void(DataConnection&, bool& accept)>;

  explicit DataConnection(QString name);
  virtual ~DataConnection();
  DataConnection(const DataConnection&) = delete;
  DataConnection& operator=(const DataConnection&) = delete;

  const QString& name() const { return name_; }
  ValidateRow onValidateRow;

  // One run. begin() remembers the dataset's state and opens it on its first row; condition (may be
  // empty) asks for only the rows that meet it. end() restores what begin() remembered, and is
  // safe to call after a begin() that failed half-way.
  void begin(const QString& condition);
  void end();

  // The rows that pass the condition and the row-validation handler, in the dataset's order.
  void first();
  void next();
  bool eof() const;
  virtual std::vector<FieldInfo> fields() const = 0;
  virtual FieldValue value(int field) const = 0;
  // The value alone, for fields the report only compares, sorts or adds up.
  virtual QVariant rawValue(int field) const { return value(field).value; }

 protected:
  virtual void remember() = 0;
  virtual void restore() = 0;
  virtual void applyCondition(const QString& condition) = 0;
  virtual void moveFirst() = 0;
  virtual void moveNext() = 0;
  virtual bool atEnd() const = 0;
  // Whether the current row meets the condition where the connection filters locally.
  virtual bool meetsCondition() const = 0;

 private:
  void skipRefused();
  QString name_;
  bool remembered_ = false;
};

// The connections of the running program, by name.
class ConnectionRegistry {
 public:
  void add(DataConnection& connection);
  void remove(DataConnection& connection);
  DataConnection* find(const QString& name) const;  // ignores case
 private:
  std::vector<DataConnection*> connections_;
};

ConnectionRegistry& connections();

}  // namespace reporting
