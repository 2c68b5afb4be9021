#include "db/parameter_blocks.h"

#include <gtest/gtest.h>

#include "db/ib_errors.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

TEST(ConnectionParameterBlockTest, HoldsVersionUserAndPasswordOnly) {
  struct Case {
    std::string user, password, expected;
  };
  const Case cases[] = {
      {"SYSDBA", "masterkey",
       Bytes({1, 28, 6}) + "SYSDBA" + Bytes({29, 9}) + "masterkey"},  // 20 bytes
      {"a=bc", "p", Bytes({1, 28, 4}) + "a=bc" + Bytes({29, 1}) + "p"},
      {"MiXeD", "Case Pw", Bytes({1, 28, 5}) + "MiXeD" + Bytes({29, 7}) + "Case Pw"},
      {std::string(255, 'u'), std::string(255, 'p'),
       Bytes({1, 28, 255}) + std::string(255, 'u') + Bytes({29, 255}) + std::string(255, 'p')},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ConnectionParameterBlock(c.user, c.password), c.expected);
  }
  EXPECT_EQ(ConnectionParameterBlock("SYSDBA", "masterkey").size(), 20u);
}

TEST(ConnectionParameterBlockTest, RefusesValuesTheLengthByteCantCarry) {
  for (const auto& [user, password, message] :
       {std::make_tuple(std::string(256, 'u'), std::string("p"),
                        std::string("User name is longer than 255 bytes")),
        std::make_tuple(std::string("u"), std::string(256, 'p'),
                        std::string("Password is longer than 255 bytes"))}) {
    try {
      ConnectionParameterBlock(user, password);
      ADD_FAILURE() << "no error";
    } catch (const EIBClientError& e) {
      EXPECT_EQ(e.message(), message);
    }
  }
}

TEST(TransactionParameterBlockTest, IsReadCommittedRecordVersionNoWait) {
  EXPECT_EQ(TransactionParameterBlock(), Bytes({3, 15, 17, 7}));
}

}  // namespace
