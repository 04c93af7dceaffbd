#pragma once
// A transaction of one database that always ends: committed, or rolled back when the scope is left
// without a commit, so that no failure leaves it open with its lock.
namespace engine {

class Database;

class Transaction {
 public:
  enum class Kind {
    Write,  // takes the database's write lock at the start
    Read,   // one consistent view from the start, leaving the database free for other writers
  };

  Transaction(Database& database, Kind kind);
  // Rolls back a transaction still open; never throws, so an error on its way out stays the one
  // reported.
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  // A commit that fails rolls back and raises the commit's error.
  void commit();

 private:
  void rollback() noexcept;

  Database& database_;
  bool open_ = true;
};

}  // namespace engine
