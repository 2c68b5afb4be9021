// Connections through the network protocol, to a Firebird server on
// loopback that the test script starts (scripts/test.sh exports the SYSDBA
// password as QELT_SERVER_PASSWORD).
#include <cstdlib>

#include <gtest/gtest.h>

#include "firebird.h"
#include "qelt.h"

namespace {

class ServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* password = std::getenv("QELT_SERVER_PASSWORD");
    if (!password || !*password) GTEST_SKIP() << "no server: run through scripts/test.sh";
    password_ = password;
    CreateDatabase(local_path_, "CREATE TABLE T (ID INTEGER);\n");
    // The server runs as its own user.
    std::string command = "chown firebird:firebird '" + local_path_ + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }

  TempDir data_;
  ProgramDir program_;
  std::string local_path_ = data_.File("server.fdb");
  std::string database_ = "localhost:" + local_path_;
  std::string password_;
};

TEST_F(ServerTest, AWrongPasswordEndsAfterTheFirstInitLine) {
  const std::string sql = "insert into t values (1)";
  ProcessResult r = program_.Run({database_, "SYSDBA", "wrong", sql});
  EXPECT_EQ(r.exit_status, 1);
  EXPECT_EQ(Masked(r.output),
            Head(database_, "SYSDBA", "wrong", sql) + Lines({"> Init IBDatabase"}) +
                Report("EIBInterBaseError",
                       "Your user name and password are not defined. Ask your database "
                       "administrator to set up a Firebird login."));
}

TEST_F(ServerTest, ACommandThroughTheServerIsCommitted) {
  const std::string sql = "insert into t values (1)";
  ProcessResult r = program_.Run({database_, "SYSDBA", password_, sql});
  EXPECT_EQ(r.exit_status, 0) << r.output;
  EXPECT_EQ(r.output, Head(database_, "SYSDBA", password_, sql) + InitLines() +
                          SqlEcho(sql + "\r\n") + Lines({"> Ready.", ""}));
  EXPECT_EQ(QueryValue(local_path_, "select count(*) from t"), "1");
}

}  // namespace
