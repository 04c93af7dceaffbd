// Record operations: posting, integrity refusals with their codes, post-error actions, read-only
// datasets, new-record defaults.
#include "engine_fixture.h"

namespace engine_test {
namespace {

using engine::DatasetState;
using engine::EngineError;
using engine::PostErrorAction;
namespace code = engine::code;

class EditingTest : public LexiconTest {
 protected:
  void SetUp() override {
    LexiconTest::SetUp();
    units = table("VORLList", "VORLLIST.DB");
    units->setIndexName("UQCode");
    units->onPostError = [this](engine::Dataset& dataset, const std::exception& error, PostErrorAction& action) {
      EXPECT_EQ(&dataset, units.get());
      const auto* engineError = dynamic_cast<const EngineError*>(&error);
      ASSERT_NE(engineError, nullptr);
      codes.push_back(engineError->code());
      messages.push_back(engineError->what());
      if (handle) handle(action);
    };
    units->open();
  }

  // Inserts a unit of ZA with the given code and name; the caller adds values and posts.
  void startUnit(int code, const std::string& name) {
    units->append();
    units->fieldByName("Code").setAsInteger(code);
    units->fieldByName("Name").setAsString(name);
    units->fieldByName("CountryID").setAsString("ZA");
  }

  // Posts and returns the code of the error that reached the caller (0: none).
  int postCode() {
    try {
      units->post();
      return 0;
    } catch (const EngineError& error) {
      return error.code();
    }
  }

  std::size_t storedUnits() {
    auto count = table("Count", "VORLLIST.DB");
    count->open();
    return count->recordCount();
  }

  std::unique_ptr<engine::Table> units;
  std::vector<int> codes;
  std::vector<std::string> messages;
  std::function<void(PostErrorAction&)> handle;
};

TEST_F(EditingTest, EachRuleRefusesWithItsCodeThroughThePostErrorHook) {
  struct Case {
    const char* field;
    const char* value;
    int expected;
    const char* message;
  };
  const Case cases[] = {
      {"Code", "2", code::KeyViolation, "Key violation in table VORLLIST"},
      {"Name", "", code::RequiredField, "Field value required: Name of VORLLIST"},
      {"Rank", "Xx", code::LookupValue, "Field value out of lookup table range: Rank of VORLLIST"},
      {"CountryID", "QQ", code::MasterMissing, "Master record missing: CountryID of VORLLIST"},
      {"Years", "-1", code::MinimumValue, "Field value below minimum: Years of VORLLIST"},
      {"Years", "6000000000", code::MaximumValue, "Field value above maximum: Years of VORLLIST"},
      {"AgeMinimum", "9", code::Integrity, "Integrity check failed: AgeOrder of VORLLIST"},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.field);
    codes.clear();
    messages.clear();
    startUnit(50, "New");
    units->fieldByName("AgeMaximum").setAsFloat(5);
    units->fieldByName(test.field).setAsString(test.value);
    EXPECT_EQ(postCode(), test.expected);
    ASSERT_EQ(codes, std::vector<int>{test.expected});
    EXPECT_EQ(messages.front(), test.message);
    // Refused: nothing stored, still inserting with the user's values.
    EXPECT_EQ(units->state(), DatasetState::Insert);
    EXPECT_EQ(units->fieldByName(test.field).asString(), std::string(test.value) == "9" ? "9" : test.value);
    units->cancel();
  }
  EXPECT_EQ(storedUnits(), 9u);
}

TEST_F(EditingTest, RequiredFieldRefusesNullAndEmptyText) {
  startUnit(50, "x");
  units->fieldByName("Name").clear();
  EXPECT_EQ(postCode(), code::RequiredField);
  units->fieldByName("Name").setValue(std::string());
  EXPECT_EQ(postCode(), code::RequiredField);
  units->fieldByName("Name").setAsString("Ok");
  EXPECT_EQ(postCode(), 0);
  EXPECT_EQ(storedUnits(), 10u);
}

TEST_F(EditingTest, DetailsExistRefusesMasterDeleteAndKeyChange) {
  auto countries = table("CountryList", "CountryList.db");
  countries->open();
  ASSERT_TRUE(countries->locate("CountryID", "ZA"));
  try {
    countries->deleteRecord();
    FAIL() << "deleted a master with details";
  } catch (const EngineError& error) {
    EXPECT_EQ(error.code(), code::DetailsExist);
  }
  countries->edit();
  countries->fieldByName("CountryID").setAsString("ZZ");
  try {
    countries->post();
    FAIL() << "changed a master key with details";
  } catch (const EngineError& error) {
    EXPECT_EQ(error.code(), code::DetailsExist);
  }
  countries->cancel();
  ASSERT_TRUE(countries->locate("CountryID", "BW"));
  countries->deleteRecord();
  EXPECT_EQ(countries->recordCount(), 2u);
}

TEST_F(EditingTest, AbortRetryAndFailActions) {
  // Abort: a silent abort, the row stays in insert mode.
  handle = [](PostErrorAction& action) { action = PostErrorAction::Abort; };
  startUnit(2, "Dup");
  EXPECT_THROW(units->post(), engine::SilentAbort);
  EXPECT_EQ(units->state(), DatasetState::Insert);

  // Retry: the hook corrects the row and the engine is asked again.
  handle = [this](PostErrorAction& action) {
    units->fieldByName("Code").setAsInteger(60);
    action = PostErrorAction::Retry;
  };
  units->post();
  EXPECT_EQ(units->state(), DatasetState::Browse);
  EXPECT_EQ(units->fieldByName("Code").asInteger(), 60);
  EXPECT_EQ(codes.size(), 2u);

  // Fail after the hook discarded the row: the row is gone and the engine's error follows.
  handle = [this](PostErrorAction&) { units->cancel(); };
  startUnit(2, "Dup");
  EXPECT_EQ(postCode(), code::KeyViolation);
  EXPECT_EQ(units->state(), DatasetState::Browse);

  // A hook that throws ends the post with its own exception.
  handle = [](PostErrorAction&) { throw engine::SilentAbort(); };
  startUnit(2, "Dup");
  EXPECT_THROW(units->post(), engine::SilentAbort);
  EXPECT_EQ(units->state(), DatasetState::Insert);
  units->cancel();
  EXPECT_EQ(storedUnits(), 10u);
}

TEST_F(EditingTest, KeyViolationWhileEditingKeepsStoredRow) {
  ASSERT_TRUE(units->locate("Code", "3"));
  units->edit();
  units->fieldByName("Code").setAsInteger(2);
  EXPECT_EQ(postCode(), code::KeyViolation);
  EXPECT_EQ(units->state(), DatasetState::Edit);
  units->cancel();
  EXPECT_EQ(units->fieldByName("Code").asInteger(), 3);
  EXPECT_EQ(units->fieldByName("Name").asString(), "Beaufort");
}

TEST_F(EditingTest, BeforePostCanStopThePost) {
  units->onBeforePost = [](engine::Dataset& dataset) {
    if (dataset.fieldByName("Name").asString() == "Bad") throw std::runtime_error("Range check error");
  };
  startUnit(70, "Bad");
  EXPECT_THROW(units->post(), std::runtime_error);
  EXPECT_EQ(units->state(), DatasetState::Insert);
  EXPECT_TRUE(codes.empty()) << "the post-error hook is not asked";
  units->fieldByName("Name").setAsString("Good");
  units->post();
  EXPECT_EQ(storedUnits(), 10u);
}

TEST_F(EditingTest, MovesSettlePendingEdits) {
  ASSERT_TRUE(units->locate("Code", "3"));
  units->edit();
  units->fieldByName("Rank").setAsString("Fm");
  units->next();  // posts the change
  EXPECT_EQ(units->state(), DatasetState::Browse);
  ASSERT_TRUE(units->locate("Code", "3"));
  EXPECT_EQ(units->fieldByName("Rank").asString(), "Fm");

  units->edit();
  ASSERT_TRUE(units->locate("Code", "1"));  // nothing changed: cancelled
  EXPECT_EQ(units->state(), DatasetState::Browse);
  EXPECT_EQ(units->fieldByName("Name").asString(), "Karoo");

  // Text still pending in a control reaches the field before the move decides.
  struct PendingText : engine::DataLink {
    engine::Field* field = nullptr;
    void dataEvent(engine::DataEvent event, const engine::Field*) override {
      if (event == engine::DataEvent::UpdateData && field->asString() != "Typed") field->setAsString("Typed");
    }
  } control;
  engine::DataSource source("dsVORLList", units.get());
  control.field = &units->fieldByName("Name");
  source.addLink(&control);
  units->edit();
  units->next();
  source.removeLink(&control);
  ASSERT_TRUE(units->locate("Code", "1"));
  EXPECT_EQ(units->fieldByName("Name").asString(), "Typed");
}

TEST_F(EditingTest, DeletingWhileInsertingCancelsTheNewRow) {
  startUnit(80, "Fresh");
  EXPECT_EQ(units->recordCount(), 10u) << "the new row is shown";
  units->deleteRecord();
  EXPECT_EQ(units->state(), DatasetState::Browse);
  EXPECT_EQ(units->recordCount(), 9u);
  EXPECT_EQ(storedUnits(), 9u);
  ASSERT_TRUE(units->locate("Code", "10"));
  units->deleteRecord();
  EXPECT_EQ(storedUnits(), 8u);
}

TEST_F(EditingTest, ReadOnlyAndNotEditingRefusals) {
  auto parent = table("VORLList0", "VORLLIST.DB");
  parent->setReadOnly(true);
  parent->open();
  for (const auto& operation : std::vector<std::function<void()>>{[&] { parent->edit(); }, [&] { parent->insert(); },
                                                                  [&] { parent->deleteRecord(); }}) {
    try {
      operation();
      FAIL() << "modified a read-only dataset";
    } catch (const EngineError& error) {
      EXPECT_EQ(error.code(), code::ReadOnly);
      EXPECT_STREQ(error.what(), "Cannot modify a read-only dataset: VORLList0");
    }
  }
  try {
    units->fieldByName("Name").setAsString("x");
    FAIL() << "wrote a field in browse mode";
  } catch (const EngineError& error) {
    EXPECT_EQ(error.code(), code::NotEditing);
  }
}

TEST_F(EditingTest, NewRecordHookRunsAfterLinkFieldsAreFilled) {
  auto countries = table("CountryList", "CountryList.db");
  engine::DataSource dsCountries("dsCountryList", countries.get());
  auto detail = table("VORLList", "VORLLIST.DB");
  detail->setIndexName("CountryIndex");
  detail->setMasterSource(&dsCountries);
  detail->setMasterFields("CountryID");
  std::string seen;
  detail->onNewRecord = [&](engine::Dataset& dataset) {
    seen = dataset.fieldByName("CountryID").asString();
    dataset.fieldByName("Rank").setAsString("Fm");
  };
  countries->open();
  detail->open();
  ASSERT_TRUE(countries->locate("CountryID", "NA"));
  detail->insert();
  EXPECT_EQ(seen, "NA");
  EXPECT_FALSE(detail->modified()) << "defaults are no change of the user's";
  detail->fieldByName("Code").setAsInteger(90);
  detail->fieldByName("Name").setAsString("Kuiseb");
  detail->post();
  EXPECT_EQ(detail->recordCount(), 2u);
  EXPECT_EQ(detail->fieldByName("Name").asString(), "Kuiseb");
  EXPECT_EQ(detail->fieldByName("Rank").asString(), "Fm");
}

TEST_F(EditingTest, StringsAreCutToTheirSizeInCharacters) {
  startUnit(91, "x");
  units->fieldByName("Name").setAsString("Äöüßéèêëïî and more");
  EXPECT_EQ(units->fieldByName("Name").asString(), "Äöüßéèêëïî");
  units->post();
  EXPECT_EQ(units->fieldByName("Name").asString(), "Äöüßéèêëïî");
  units->edit();
  units->fieldByName("CountryID").setAsString("NAMIBIA");
  EXPECT_EQ(units->fieldByName("CountryID").asString(), "NA");
}

TEST_F(EditingTest, RollbackUndoesPostsAndViewsFollow) {
  auto& database = units->database();
  database.startTransaction();
  EXPECT_TRUE(database.inTransaction());
  startUnit(92, "Gone");
  units->post();
  EXPECT_EQ(units->recordCount(), 10u);
  database.rollback();
  EXPECT_FALSE(database.inTransaction());
  EXPECT_EQ(units->recordCount(), 9u);
  database.startTransaction();
  startUnit(93, "Kept");
  units->post();
  database.commit();
  EXPECT_EQ(storedUnits(), 10u);
}

TEST_F(EditingTest, NotificationsReachLinksAndCanBeSuspended) {
  engine::DataSource source("dsVORLList", units.get());
  EventRecorder recorder(source);
  units->next();
  EXPECT_EQ(recorder.count(engine::DataEvent::Scrolled), 1);
  units->edit();
  units->fieldByName("Rank").setAsString("Fm");
  EXPECT_EQ(recorder.count(engine::DataEvent::StateChanged), 1);
  EXPECT_EQ(recorder.count(engine::DataEvent::RecordChanged), 1);
  units->post();
  EXPECT_EQ(recorder.count(engine::DataEvent::UpdateData), 1);
  recorder.events.clear();
  units->disableControls();
  units->next();
  units->next();
  EXPECT_TRUE(recorder.events.empty());
  units->enableControls();
  EXPECT_EQ(recorder.events, std::vector<engine::DataEvent>{engine::DataEvent::DataSetChanged});
}

}  // namespace
}  // namespace engine_test
