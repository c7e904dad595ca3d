// The message table: one German text per result value that has one, and the row
// flag that tells the control whether the text belongs under the bank-code field
// (false) or the account field (true). Texts are Windows-1252 bytes; "\xFC" "f"
// is split because \xFCf would read as one hex escape.
#include <array>

#include "tavrel/engine.h"
#include "tavrel/service.h"

namespace tavrel::service {
namespace {

struct MessageRow {
  int value;
  std::string_view text;
  bool accountRow;
};

constexpr std::array<MessageRow, 7> kMessages{{
    {engine::kMethodNotFound,
     "Pr\xFC"
     "fverfahren nicht gefunden!",
     true},
    {engine::kInvalid,
     "Pr\xFC"
     "fziffer ung\xFCltig!",
     true},
    {kBankCodeNotEightChars, "BLZ nicht achtstellig!", false},
    {kBankCodeNotDigits, "BLZ enth\xE4lt ung\xFCltige Zeichen!", false},
    {kAccountLength, "Konto hat falsche L\xE4nge!", true},
    {kAccountNotDigits, "Konto enth\xE4lt ung\xFCltige Zeichen!", true},
    {kBankCodeUnknown, "BLZ ung\xFCltig!", false},
}};

}  // namespace

bool ResultMessage(int value, std::string& message) {
  for (const MessageRow& row : kMessages) {
    if (row.value == value) {
      message.assign(row.text);
      return row.accountRow;
    }
  }
  return true;
}

}  // namespace tavrel::service
