// The compact shortcut of the batch reader against nlohmann's path: random
// bodies of the compact form, near it and broken, must hand on the same items
// and get the same answers whichever path reads them.
#include "http/internal/batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <vector>

#include "http/internal/api.h"

namespace tavrel::http {
namespace {

// The items and bad items as they were handed on, in order.
class Recorder final : public ItemSink {
 public:
  void Item(std::string_view bankCode, std::string_view account) override {
    events_.push_back("item " + std::string(bankCode) + '\0' + std::string(account));
  }
  void BadItem(std::string_view reason) override {
    events_.push_back("bad " + std::string(reason));
  }
  const std::vector<std::string>& Events() const { return events_; }

 private:
  std::vector<std::string> events_;
};

struct Read {
  bool taken;                       // by the shortcut
  std::vector<std::string> quick;   // what the shortcut handed on
  std::vector<std::string> parsed;  // what nlohmann's path handed on
  bool refused;                     // nlohmann's path refused the whole body
};

Read ReadBoth(std::string_view body, bool ndjson) {
  Recorder quick;
  Recorder parsed;
  const bool taken = ReadCompactItems(body, ndjson, quick);
  const bool refused =
      (ndjson ? ReadNdjsonItems(body, parsed) : ReadJsonItems(body, parsed)) != std::nullopt;
  return {taken, quick.Events(), parsed.Events(), refused};
}

// Field texts: mostly plain digits, sometimes a byte or sequence that the
// shortcut must not take as itself.
std::string RandomText(std::mt19937& random) {
  static const char* const kOdd[] = {"\\\"", "\\\\", "\\u0031", "\\n",  "\xc3\xa9", "\x7f",
                                     "\x1f", " ",    "\t",      "\xff", "\xc3"};
  std::string text;
  const unsigned length = random() % 12;
  for (unsigned i = 0; i < length; ++i) {
    if (random() % 200 == 0) {
      text += kOdd[random() % std::size(kOdd)];
    } else {
      text += static_cast<char>(random() % 8 == 0 ? 'a' + random() % 26 : '0' + random() % 10);
    }
  }
  return text;
}

std::string RandomItem(std::mt19937& random) {
  const std::string bankCode = "\"bank_code\":\"" + RandomText(random) + '"';
  const std::string account = "\"account\":\"" + RandomText(random) + '"';
  return '{' + (random() % 2 ? bankCode + ',' + account : account + ',' + bankCode) + '}';
}

// One small change that leaves the compact form, or may.
void Mutate(std::string& body, std::mt19937& random) {
  static const char* const kInserts[] = {
      " ",   "\n",          "\r",           ",",           "{",    "}",  "[",
      "]",   ":",           "\"",           "\\",          "1",    "x",  "0",
      "\t",  "{}",          ",\"a\":\"b\"", "\"account\"", "null", "12", "\"bank_code\"",
      "[1]", "\xef\xbb\xbf"};
  const std::size_t at = body.empty() ? 0 : random() % (body.size() + 1);
  switch (random() % 4) {
    case 0:
      body.insert(at, kInserts[random() % std::size(kInserts)]);
      break;
    case 1:
      if (at < body.size()) body.erase(at, 1 + random() % 3);
      break;
    case 2:
      body.resize(at);
      break;
    default: {  // a string value becomes a number
      const std::size_t quote = body.find(":\"", at);
      const std::size_t close = quote == std::string::npos ? quote : body.find('"', quote + 2);
      if (close != std::string::npos) body.replace(quote + 1, close - quote, "12030000");
    }
  }
}

TEST(CompactBatchTest, HandsOnWhatNlohmannHandsOnAndAnswersAlike) {
  std::mt19937 random(20091207);
  const Api api;
  std::size_t takenPlain = 0;
  for (int round = 0; round < 3000; ++round) {
    const bool ndjson = round % 2 == 1;
    std::string body = ndjson ? "" : "[";
    const unsigned items = 1 + random() % 12;
    for (unsigned i = 0; i < items; ++i) {
      if (i > 0) body += ndjson ? (random() % 2 ? "\r\n" : "\n") : ",";
      body += RandomItem(random);
    }
    body += ndjson ? (random() % 2 ? "\n" : "") : "]";
    const bool plain = std::all_of(body.begin(), body.end(),
                                   [](char c) { return c >= 0x20 && c < 0x7f && c != '\\'; });
    const unsigned changes = random() % 3;
    for (unsigned i = 0; i < changes; ++i) Mutate(body, random);

    const Read read = ReadBoth(body, ndjson);
    SCOPED_TRACE(body);
    if (changes == 0 && plain) {
      EXPECT_TRUE(read.taken);
      takenPlain += read.taken;
    }
    if (read.taken) {
      EXPECT_FALSE(read.refused);
      EXPECT_EQ(read.quick, read.parsed);
    }
    // A leading blank keeps the shortcut out; where it moves no error position
    // (the first JSON text parses) and there is no byte order mark that it would
    // move from the start, the answer is the same to the byte.
    const std::string_view first =
        ndjson ? std::string_view(body).substr(0, body.find('\n')) : std::string_view(body);
    if (nlohmann::json::accept(first) && !body.starts_with("\xef\xbb\xbf")) {
      const std::string_view type = ndjson ? kNdjsonType : kJsonType;
      const std::string blank = ' ' + body;
      const Response quick = api.Handle({"POST", "/api/v1/check", {}, type, body});
      const Response parsed = api.Handle({"POST", "/api/v1/check", {}, type, blank});
      EXPECT_EQ(quick.status, parsed.status);
      EXPECT_EQ(quick.body, parsed.body);
    }
  }
  EXPECT_GT(takenPlain, 200U);
}

// The item bound holds on the shortcut too: past it nlohmann's path answers 413.
TEST(CompactBatchTest, TakesNoMoreThanTheItemBound) {
  const std::string item = R"({"bank_code":"12030000","account":"9290701"})";
  for (const bool ndjson : {false, true}) {
    for (const std::size_t count : {kMaxBatchItems, kMaxBatchItems + 1}) {
      std::string body = ndjson ? "" : "[";
      for (std::size_t i = 0; i < count; ++i) body += (i > 0 ? (ndjson ? "\n" : ",") : "") + item;
      body += ndjson ? "" : "]";
      const Read read = ReadBoth(body, ndjson);
      EXPECT_EQ(read.taken, count == kMaxBatchItems) << ndjson << count;
      EXPECT_EQ(read.refused, count > kMaxBatchItems) << ndjson << count;
    }
  }
}

}  // namespace
}  // namespace tavrel::http
