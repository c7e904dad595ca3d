#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <string_view>

#include "tavrel/service.h"

namespace tavrel::service {
namespace {

struct MessageCase {
  int value;
  std::string_view text;  // Windows-1252
  bool accountRow;
};

TEST(ResultMessage, GivesTextAndRowForEveryValueWithAText) {
  const MessageCase cases[] = {
      {-2,
       "Pr\xFC"
       "fverfahren nicht gefunden!",
       true},
      {-3,
       "Pr\xFC"
       "fziffer ung\xFCltig!",
       true},
      {-5, "BLZ nicht achtstellig!", false},
      {-6, "BLZ enth\xE4lt ung\xFCltige Zeichen!", false},
      {-7, "Konto hat falsche L\xE4nge!", true},
      {-8, "Konto enth\xE4lt ung\xFCltige Zeichen!", true},
      {-9, "BLZ ung\xFCltig!", false},
  };
  for (const MessageCase& c : cases) {
    std::string message = "previous";
    EXPECT_EQ(ResultMessage(c.value, message), c.accountRow) << c.value;
    EXPECT_EQ(message, c.text) << c.value;
  }
}

TEST(ResultMessage, LeavesOutputAloneForValuesWithoutText) {
  const int values[] = {1, 0, -1, -4, -10, 2, 1000, INT_MIN, INT_MAX};
  for (int value : values) {
    std::string message = "previous";
    EXPECT_TRUE(ResultMessage(value, message)) << value;
    EXPECT_EQ(message, "previous") << value;
    std::string empty;
    ResultMessage(value, empty);
    EXPECT_EQ(empty, "") << value;
  }
}

}  // namespace
}  // namespace tavrel::service
