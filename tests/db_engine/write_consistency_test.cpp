// What a write leaves behind: rows cached under the right keys, a failed store undone whole, rows
// gone through another connection, rollback of pending edits, bounded retries, and the views of
// one table that follow each other's writes.
#include <sqlite3.h>

#include <functional>
#include <random>

#include "engine_fixture.h"

namespace engine_test {
namespace {

using engine::DatasetState;
using engine::EngineError;
using engine::PostErrorAction;
namespace code = engine::code;

// Runs an action once, at the start of the first statement whose text begins with prefix (after
// one that begins with after, when given).
class StatementTrap {
 public:
  StatementTrap(sqlite3* connection, std::string prefix, std::function<void()> action, std::string after = {})
      : connection_(connection), prefix_(std::move(prefix)), after_(std::move(after)), action_(std::move(action)) {
    sqlite3_trace_v2(connection_, SQLITE_TRACE_STMT, &StatementTrap::trace, this);
  }
  ~StatementTrap() { sqlite3_trace_v2(connection_, 0, nullptr, nullptr); }
  bool sprung() const { return sprung_; }

 private:
  static int trace(unsigned, void* context, void*, void* text) {
    auto& trap = *static_cast<StatementTrap*>(context);
    const std::string sql = static_cast<const char*>(text);
    if (!trap.after_.empty()) {
      if (sql.rfind(trap.after_, 0) == 0) trap.after_.clear();
    } else if (!trap.sprung_ && sql.rfind(trap.prefix_, 0) == 0) {
      trap.sprung_ = true;
      trap.action_();
    }
    return 0;
  }

  sqlite3* connection_;
  std::string prefix_;
  std::string after_;
  std::function<void()> action_;
  bool sprung_ = false;
};

std::vector<std::int64_t> codes(engine::Dataset& dataset) {
  std::vector<std::int64_t> result;
  for (std::size_t row = 0; row < dataset.recordCount(); ++row) {
    result.push_back(std::get<std::int64_t>(dataset.rowAt(row)[dataset.fieldByName("Code").index()]));
  }
  return result;
}

class WriteConsistencyTest : public LexiconTest {
 protected:
  std::unique_ptr<engine::Table> units(const std::string& index = "UQCode") {
    auto created = table("Units", "VORLLIST.DB");
    created->setIndexName(index);
    return created;
  }
  sqlite3* handle() {
    auto& database = session.database("VORL");
    database.open();
    return database.handle();
  }
  std::size_t stored(const std::string& where) {
    auto count = engine::Query(session, "Count");
    count.setDatabaseName("VORL");
    count.setSql({"select count(*) as N from vorllist where " + where});
    count.open();
    return static_cast<std::size_t>(count.fieldByName("N").asInteger());
  }
};

TEST_F(WriteConsistencyTest, RowsReadWithTheRangeAreCachedUnderTheirOwnKeys) {
  // Exactly as many rows as the first read returns, so the keys are read a second time.
  std::string values;
  for (int code = 100; code < 126; ++code) values += (values.empty() ? "" : ",") + ("(" + std::to_string(code) + ",'7')");
  runSql(directory.path(), "INSERT INTO CodeArea VALUES " + values);
  auto areas = table("CodeArea", "CodeArea.DB");
  areas->setIndexName("CodeIndex");
  // Another user adds a row that sorts first, between the two reads.
  StatementTrap trap(handle(), "SELECT rowid FROM", [this] { runSql(directory.path(), "INSERT INTO CodeArea VALUES (0,'0')"); });
  areas->open();
  ASSERT_TRUE(trap.sprung());
  ASSERT_EQ(areas->recordCount(), 33u);
  EXPECT_EQ(areas->fieldByName("Code").asInteger(), 0);
  EXPECT_EQ(areas->fieldByName("Area").asString(), "0");
  areas->next();
  EXPECT_EQ(areas->fieldByName("Code").asInteger(), 2);
  EXPECT_EQ(areas->fieldByName("Area").asString(), "7");
}

TEST_F(WriteConsistencyTest, AFailedReloadAfterAnInsertUndoesTheInsertAndARetryStoresOnce) {
  auto view = units("CountryIndex");
  view->open();
  view->append();
  view->fieldByName("Code").setAsInteger(50);
  view->fieldByName("Name").setAsString("Twice");
  view->fieldByName("CountryID").setAsString("ZA");
  {
    // The read that places the new row in the view is interrupted, as a busy database would.
    StatementTrap trap(handle(), "SELECT", [this] { sqlite3_interrupt(handle()); }, "INSERT");
    EXPECT_THROW(view->post(), EngineError);
    ASSERT_TRUE(trap.sprung());
  }
  EXPECT_EQ(view->state(), DatasetState::Insert);
  EXPECT_EQ(stored("Code = 50"), 0u);
  view->post();
  EXPECT_EQ(stored("Code = 50"), 1u);
  EXPECT_EQ(view->recordCount(), 10u);
  EXPECT_EQ(view->fieldByName("Name").asString(), "Twice");
}

TEST_F(WriteConsistencyTest, WritesToARowAnotherConnectionDeletedAreRefused) {
  auto view = units();
  view->open();
  ASSERT_TRUE(view->locate("Code", "10"));
  runSql(directory.path(), "DELETE FROM VORLLIST WHERE Code = 10");
  view->edit();
  view->fieldByName("Name").setAsString("Ghost");
  try {
    view->post();
    ADD_FAILURE() << "the update of a deleted row reported success";
  } catch (const EngineError& error) {
    EXPECT_EQ(error.code(), code::RecordGone);
  }
  EXPECT_EQ(view->state(), DatasetState::Edit);
  view->cancel();
  EXPECT_THROW(view->deleteRecord(), EngineError);
}

TEST_F(WriteConsistencyTest, RollbackCancelsPendingEditsInsteadOfPostingThem) {
  auto view = units();
  view->open();
  auto& database = view->database();
  database.startTransaction();
  view->edit();
  view->fieldByName("Name").setAsString("Pending");
  database.rollback();
  EXPECT_EQ(view->state(), DatasetState::Browse);
  EXPECT_FALSE(database.inTransaction());
  EXPECT_EQ(stored("Name = 'Pending'"), 0u);
  EXPECT_EQ(view->fieldByName("Name").asString(), "Karoo");
}

TEST_F(WriteConsistencyTest, AHandlerThatAlwaysRetriesEndsWithTheEnginesError) {
  auto view = units();
  view->open();
  int asked = 0;
  view->onPostError = [&](engine::Dataset&, const std::exception&, PostErrorAction& action) {
    ++asked;
    action = PostErrorAction::Retry;
  };
  view->append();
  view->fieldByName("Code").setAsInteger(1);  // the key of Karoo
  view->fieldByName("Name").setAsString("Again");
  try {
    view->post();
    ADD_FAILURE() << "a refused post reported success";
  } catch (const EngineError& error) {
    EXPECT_EQ(error.code(), code::KeyViolation);
  }
  EXPECT_EQ(asked, 3);
}

// Views of the area list, as the three choosers and the editing grid use it.
TEST_F(WriteConsistencyTest, ViewsOfOneTableFollowEachOthersWrites) {
  auto editor = table("Editor", "CodeArea.DB");
  auto byCode = table("ByCode", "CodeArea.DB");
  byCode->setIndexName("CodeIndex");
  editor->open();
  byCode->open();
  ASSERT_TRUE(byCode->locate("Code", "5"));
  const auto before = byCode->recNo();
  editor->append();
  editor->fieldByName("Code").setAsInteger(1);
  editor->fieldByName("Area").setAsString("9");
  editor->post();
  EXPECT_EQ(byCode->recordCount(), 7u);
  EXPECT_EQ(byCode->fieldByName("Code").asInteger(), 5) << "the current row stays current";
  EXPECT_EQ(byCode->recNo(), before + 1);
  EXPECT_EQ(codes(*byCode).front(), 1);

  editor->edit();
  editor->fieldByName("Code").setAsInteger(99);
  editor->post();
  EXPECT_EQ(codes(*byCode).back(), 99);
  EXPECT_EQ(byCode->fieldByName("Code").asInteger(), 5);
  editor->deleteRecord();
  EXPECT_EQ(byCode->recordCount(), 6u);
  EXPECT_EQ(codes(*byCode).back(), 6);
}

// Inserts, edits and deletes at random through one view; every other view, with its own order,
// filter and master, must list exactly what a fresh read of it lists.
TEST_F(WriteConsistencyTest, RandomWritesKeepEveryViewInTheOrderAFreshReadGives) {
  engine::DataSource countrySource("dsCountry");
  auto countries = table("Countries", "CountryList.db");
  countrySource.setDataset(countries.get());
  countries->open();
  ASSERT_TRUE(countries->locate("CountryID", "ZA"));
  const auto configure = [&](engine::Table& view, int variant) {
    view.setIndexName(variant % 2 ? "CountryIndex" : "LParentIndex");
    if (variant >= 2) {
      view.setFilter("Years<4600000000");
      view.setFiltered(true);
    }
    if (variant == 3) {
      view.setMasterSource(&countrySource);
      view.setMasterFields("CountryID");
    }
  };
  std::vector<std::unique_ptr<engine::Table>> views;
  for (int variant = 0; variant < 4; ++variant) {
    views.push_back(table("View" + std::to_string(variant), "VORLLIST.DB"));
    configure(*views.back(), variant);
    views.back()->open();
  }
  auto writer = units();
  writer->open();
  std::mt19937 random(7);
  const std::vector<std::string> namesUsed{"Alpha", "beta", "Gamma", "Karoo", "zeta", "Zeta"};
  const std::vector<std::string> countriesUsed{"ZA", "NA", "BW"};
  int nextCode = 200;
  for (int step = 0; step < 60; ++step) {
    const auto action = random() % 3;
    if (action == 0 || writer->isEmpty()) {
      writer->append();
      writer->fieldByName("Code").setAsInteger(nextCode++);
    } else {
      writer->moveTo(random() % writer->recordCount());
      if (action == 2) {
        writer->deleteRecord();
        continue;
      }
      writer->edit();
    }
    writer->fieldByName("Name").setAsString(namesUsed[random() % namesUsed.size()]);
    writer->fieldByName("CountryID").setAsString(countriesUsed[random() % countriesUsed.size()]);
    writer->fieldByName("LParent").setAsInteger(static_cast<std::int64_t>(random() % 3));
    if (random() % 4 == 0) writer->fieldByName("Years").setAsFloat(4.6e9);
    else writer->fieldByName("Years").setAsFloat(static_cast<double>(random() % 1000) * 1e6);
    writer->post();
    for (int variant = 0; variant < 4; ++variant) {
      auto fresh = table("Fresh", "VORLLIST.DB");
      configure(*fresh, variant);
      fresh->open();
      ASSERT_EQ(codes(*views[static_cast<std::size_t>(variant)]), codes(*fresh)) << "view " << variant << ", step " << step;
    }
  }
}

}  // namespace
}  // namespace engine_test
