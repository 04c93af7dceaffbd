// Sessions: aliases and their configuration file, database objects, password checks, and the
// errors of missing directories, files and aliases.
#include <fstream>

#include "engine_fixture.h"

namespace engine_test {
namespace {

using engine::EngineError;
namespace code = engine::code;

// Opens dataset and returns the engine error it raised (code 0: none).
EngineError openError(engine::Dataset& dataset) {
  try {
    dataset.open();
  } catch (const EngineError& error) {
    return error;
  }
  return EngineError(0, "opened");
}

class ProtectedLexiconTest : public LexiconTest {
 protected:
  std::string password() const override { return "pluvek"; }
};

TEST_F(ProtectedLexiconTest, SessionPasswordOpensProtectedDatabase) {
  auto units = table("VORLList", "VORLLIST.DB");
  units->open();
  EXPECT_EQ(units->recordCount(), 9u);

  // A second session without the password and without a prompt is refused.
  engine::Session other("other");
  other.setAlias("VORL", directory.path());
  engine::Table refused(other, "VORLList");
  refused.setDatabaseName("VORL");
  refused.setTableName("VORLLIST.DB");
  const auto error = openError(refused);
  EXPECT_EQ(error.code(), code::PasswordRequired);
  EXPECT_NE(std::string(error.what()).find("VORL"), std::string::npos);
}

TEST_F(ProtectedLexiconTest, PromptIsAskedUntilAnAnswerFitsAndCancelFails) {
  engine::Session other("other");
  other.setAlias("VORL", directory.path());
  std::vector<std::vector<std::string>> offered;
  std::vector<std::optional<std::vector<std::string>>> answers{std::vector<std::string>{"wrong"},
                                                               std::vector<std::string>{"wrong", "pluvek"}};
  other.setPasswordPrompt([&](const std::string& alias, const std::vector<std::string>& passwords) {
    EXPECT_EQ(alias, "VORL");
    offered.push_back(passwords);
    auto answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  });
  engine::Table units(other, "VORLList");
  units.setDatabaseName("VORL");
  units.setTableName("VORLLIST.DB");
  units.open();
  EXPECT_EQ(offered, (std::vector<std::vector<std::string>>{{}, {"wrong"}}));
  EXPECT_EQ(other.passwords(), (std::vector<std::string>{"wrong", "pluvek"}));

  // The password now opens other connections without asking.
  engine::Database second(other, "DBunits");
  second.setAliasName("VORL");
  second.setDatabaseName("DBunits");
  second.open();
  EXPECT_TRUE(second.connected());

  engine::Session cancelling("cancelling");
  cancelling.setAlias("VORL", directory.path());
  cancelling.setPasswordPrompt([](const std::string&, const std::vector<std::string>&) { return std::nullopt; });
  engine::Table cancelled(cancelling, "VORLList");
  cancelled.setDatabaseName("VORL");
  cancelled.setTableName("VORLLIST.DB");
  const auto error = openError(cancelled);
  EXPECT_EQ(error.code(), code::PasswordRequired);
  EXPECT_FALSE(cancelled.active());
  EXPECT_FALSE(cancelled.database().connected());
}

TEST_F(LexiconTest, OpenErrorsNameTheAlias) {
  auto units = table("VORLList", "VORLLIST.DB");
  units->setDatabaseName("NOALIAS");
  auto error = openError(*units);
  EXPECT_EQ(error.code(), code::UnknownDatabase);
  EXPECT_STREQ(error.what(), "Unknown database or alias: NOALIAS");

  units->setDatabaseName("Missing");
  session.setAlias("Missing", directory.file("no-such-directory"));
  error = openError(*units);
  EXPECT_EQ(error.code(), code::DirectoryMissing);
  EXPECT_NE(std::string(error.what()).find("Missing"), std::string::npos);

  TemporaryDirectory empty;
  session.setAlias("Empty", empty.path());
  units->setDatabaseName("Empty");
  error = openError(*units);
  EXPECT_EQ(error.code(), code::NotADatabase);
  EXPECT_NE(std::string(error.what()).find("Empty"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(empty.file(engine::kDatabaseFileName))) << "no empty database is made";

  std::ofstream(empty.file(engine::kDatabaseFileName)) << "this is a text file, not a database, of some length...";
  error = openError(*units);
  EXPECT_EQ(error.code(), code::NotADatabase);
  EXPECT_NE(std::string(error.what()).find("Empty"), std::string::npos);
}

TEST(CreateDatabaseTest, RefusesMissingDirectoryAndForeignFileAndIsIdempotent) {
  TemporaryDirectory directory;
  try {
    engine::createDatabase(directory.file("absent"), lexiconSchema(), "");
    FAIL() << "created in a missing directory";
  } catch (const EngineError& error) {
    EXPECT_EQ(error.code(), code::DirectoryMissing);
  }
  TemporaryDirectory foreign;
  std::ofstream(foreign.file(engine::kDatabaseFileName)) << std::string(4096, 'x');
  try {
    engine::createDatabase(foreign.path(), lexiconSchema(), "");
    FAIL() << "wrote into a file that is no database";
  } catch (const EngineError& error) {
    EXPECT_EQ(error.code(), code::NotADatabase);
  }

  engine::createDatabase(directory.path(), lexiconSchema(), "");
  fillLexicon(directory.path());
  engine::createDatabase(directory.path(), lexiconSchema(), "");
  engine::Session session("s");
  session.setAlias("VORL", directory.path());
  engine::Table units(session, "Units");
  units.setDatabaseName("VORL");
  units.setTableName("VORLLIST.DB");
  units.open();
  EXPECT_EQ(units.recordCount(), 9u);
}

TEST(SessionTest, ConfigurationFileRoundTripsAliases) {
  TemporaryDirectory directory;
  const auto file = directory.file("engine.ini");
  engine::Session::writeConfiguration(file, {{"VORL", "/data/vorl"}, {"ABResults", "/data/ab"}});
  engine::Session session("s");
  session.loadConfiguration(file);
  EXPECT_EQ(session.aliasDirectory("vorl"), "/data/vorl");
  EXPECT_EQ(session.aliasDirectory("ABRESULTS"), "/data/ab");
  EXPECT_EQ(session.aliasDirectory("ABtmp"), std::nullopt);
  EXPECT_THROW(engine::Session::writeConfiguration(directory.file("no/such/dir/engine.ini"), {{"A", "b"}}), EngineError);
}

TEST(SessionTest, DatabaseObjectsAreFoundByDatabaseNameAndPathParameterWins) {
  TemporaryDirectory directory;
  engine::createDatabase(directory.path(), lexiconSchema(), "");
  fillLexicon(directory.path());
  engine::Session session("s");
  session.setAlias("ABResults", directory.file("elsewhere"));
  engine::Database database(session, "DB1");
  database.setAliasName("ABResults");
  database.setDatabaseName("DBambrell");
  database.setParams({"PATH=" + directory.path(), "ENABLE BCD=FALSE"});
  EXPECT_EQ(&session.database("dbAMBRELL"), &database);
  EXPECT_EQ(database.directory(), directory.path());

  engine::Table units(session, "Units");
  units.setDatabaseName("DBambrell");
  units.setTableName("VORLLIST");
  units.open();
  EXPECT_EQ(units.recordCount(), 9u);
  // Closing the database closes the datasets on it first.
  database.close();
  EXPECT_FALSE(units.active());
  EXPECT_THROW(session.database("Nothing"), EngineError);
}

}  // namespace
}  // namespace engine_test
