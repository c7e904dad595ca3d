#include "tavrel/json.h"

#include <gtest/gtest.h>

namespace tavrel::json {
namespace {

TEST(Json, OutcomeCarriesValueCodeAndUtf8Message) {
  EXPECT_EQ(ToText(OutcomeJson(Outcome::kInvalidCheckDigit)),
            "{\"result\":-3,\"code\":\"invalid_check_digit\",\"message\":\"Pr\u00fcfziffer "
            "ung\u00fcltig!\"}");
  // Windows-1252 bytes that are not UTF-8 never make writing throw.
  EXPECT_EQ(ToText(Json{{"echo", "\xFC"}}), "{\"echo\":\"\xEF\xBF\xBD\"}");
}

}  // namespace
}  // namespace tavrel::json
