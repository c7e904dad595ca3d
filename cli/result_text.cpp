#include "internal/result_text.h"

#include "tavrel/encoding.h"
#include "tavrel/engine.h"
#include "tavrel/service.h"

namespace tavrel::cli {

std::string ResultTextUtf8(int result) {
  std::string text;
  if (result == engine::kValid) {
    text = "g\xFCltig";
  } else if (result == engine::kValidWithoutCheck) {
    text =
        "g\xFCltig (ohne Pr\xFC"
        "fung)";
  } else {
    service::ResultMessage(result, text);
  }
  return encoding::Cp1252ToUtf8(text);
}

}  // namespace tavrel::cli
