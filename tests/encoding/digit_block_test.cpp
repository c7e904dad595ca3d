// The block readers load 16 bytes around a text: these tests put texts at the
// edges of a page whose neighbours are inaccessible, so a read outside the
// page the text lies in would crash, and compare every answer with a plain
// byte loop.
#include "tavrel/digit_block.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// One readable page between two inaccessible ones.
class GuardedPage {
 public:
  GuardedPage() : size_(static_cast<std::size_t>(sysconf(_SC_PAGESIZE))) {
    void* all = mmap(nullptr, 3 * size_, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (all == MAP_FAILED) return;
    base_ = static_cast<char*>(all);
    mprotect(base_ + size_, size_, PROT_READ | PROT_WRITE);
  }
  ~GuardedPage() {
    if (base_ != nullptr) munmap(base_, 3 * size_);
  }
  bool ok() const { return base_ != nullptr; }
  char* begin() const { return base_ + size_; }
  char* end() const { return base_ + 2 * size_; }

 private:
  std::size_t size_;
  char* base_ = nullptr;
};

struct Expected {
  std::array<std::uint8_t, 16> value{};
  bool digits = true;
  bool nonZero = false;
};

Expected Reference(std::string_view text) {
  Expected expected;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto value = static_cast<std::uint8_t>(static_cast<unsigned char>(text[i]) - '0');
    expected.digits &= value <= 9;
    expected.nonZero |= value != 0;
    expected.value[16 - text.size() + i] = value <= 9 ? value : 0;
  }
  return expected;
}

const std::vector<std::string> kTexts = {"0",
                                         "7",
                                         "0000000000",
                                         "0000000001",
                                         "9290701",
                                         "12030000",
                                         "1234567890",
                                         "123456789012345",
                                         "1234567890123456",
                                         "12a4",
                                         " 123",
                                         "123\xFC",
                                         "\x80",
                                         "00000x0000",
                                         "9999999999"};

TEST(DigitBlock, ReadsTextsAtEveryPlaceOfAPageAsAByteLoopDoes) {
  GuardedPage page;
  ASSERT_TRUE(page.ok());
  std::memset(page.begin(), 'x', page.end() - page.begin());
  for (const std::string& text : kTexts) {
    // At the page's start, at its end, and across the 16 bytes after the start.
    std::vector<char*> places = {page.begin(), page.end() - text.size()};
    for (std::size_t shift = 1; shift < 20; ++shift) places.push_back(page.begin() + shift);
    for (char* place : places) {
      std::memcpy(place, text.data(), text.size());
      const std::string_view view(place, text.size());
      const tavrel::DigitBlock block = tavrel::ReadDigitBlock(view);
      const Expected expected = Reference(text);
      EXPECT_EQ(block.digits, expected.digits) << text;
      if (expected.digits) {
        EXPECT_EQ(block.value, expected.value) << text;
        EXPECT_EQ(block.nonZero, expected.nonZero) << text;
      }
      EXPECT_EQ(tavrel::IsAsciiText(view), text.find_first_of("\x80\xFC") == std::string::npos)
          << text;
    }
  }
}

TEST(DigitBlock, ReadsCStringsUpToTheirEndAtEveryAlignment) {
  GuardedPage page;
  ASSERT_TRUE(page.ok());
  const std::vector<std::string> texts = {"",
                                          "1",
                                          "12030000",
                                          "1234567890123456789012345",
                                          "abc\xC3\xBC",
                                          std::string(40, '7') + "\x80"};
  for (const std::string& text : texts) {
    for (std::size_t shift = 0; shift < 17; ++shift) {
      for (char* place : {page.begin() + shift, page.end() - text.size() - 1 - shift}) {
        std::memset(page.begin(), '\xFF', page.end() - page.begin());
        std::memcpy(place, text.c_str(), text.size() + 1);
        const tavrel::CText read = tavrel::ReadCText(place);
        EXPECT_EQ(read.length, text.size()) << text << " shifted " << shift;
        EXPECT_EQ(read.ascii, tavrel::IsAsciiText(text)) << text << " shifted " << shift;
      }
    }
  }
}

}  // namespace
