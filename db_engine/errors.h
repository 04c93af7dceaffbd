#pragma once
// Errors raised by the engine. A refused operation raises EngineError, whose entries carry
// numeric codes; the integrity codes are the ones the data modules' post-error rules examine.
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

namespace engine {

namespace code {
// Integrity category (mapped from SQLite constraint results and from our trigger and constraint names).
inline constexpr int Integrity = 9728;      // general integrity error (CHECK rules, anything else)
inline constexpr int KeyViolation = 9729;   // a row with the same key exists
inline constexpr int MinimumValue = 9730;   // value below the field's minimum
inline constexpr int MaximumValue = 9731;   // value above the field's maximum
inline constexpr int RequiredField = 9732;  // a required field has no value
inline constexpr int MasterMissing = 9733;  // the master row the row refers to is missing
inline constexpr int DetailsExist = 9734;   // detail rows forbid the change
inline constexpr int LookupValue = 9736;    // value not in its lookup table
// Everything else the engine refuses.
inline constexpr int General = 11000;
inline constexpr int UnknownDatabase = 11001;   // alias or database name not configured
inline constexpr int DirectoryMissing = 11002;  // the alias' directory does not exist
inline constexpr int NotADatabase = 11003;      // the file is not one of ours / not SQLite
inline constexpr int PasswordRequired = 11004;  // no password fits and the prompt was cancelled
inline constexpr int TableNotFound = 11005;
inline constexpr int FieldNotFound = 11006;
inline constexpr int IndexNotFound = 11007;
inline constexpr int ReadOnly = 11008;          // edit of a read-only dataset
inline constexpr int NotEditing = 11009;        // field write or post outside edit/insert
inline constexpr int DatasetClosed = 11010;     // operation needs an open dataset
inline constexpr int DatasetOpen = 11011;       // operation refused on an open dataset (Prepare)
inline constexpr int SqlError = 11012;          // SQL text the engine cannot run
inline constexpr int Conversion = 11013;        // text that is not a valid value of the field's type
inline constexpr int Storage = 11014;           // I/O, lock, full disk and other SQLite failures
inline constexpr int RecordGone = 11015;        // the row was deleted through another connection
}  // namespace code

struct ErrorEntry {
  int code = code::General;
  std::string message;
};

// what() is the message of the first entry; messages name the table, dataset or alias at fault.
class EngineError : public std::runtime_error {
 public:
  explicit EngineError(std::vector<ErrorEntry> entries);
  EngineError(int code, const std::string& message);
  const std::vector<ErrorEntry>& errors() const { return entries_; }
  int code() const { return entries_.front().code; }  // code of the first (top) entry

 private:
  std::vector<ErrorEntry> entries_;
};

// Ends an operation without any message: the application's error display ignores it.
class SilentAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

}  // namespace engine
