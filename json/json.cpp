#include "tavrel/json.h"

#include "tavrel/encoding.h"

namespace tavrel::json {

std::string ToText(const Json& json) {
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

Json OutcomeJson(Outcome outcome) {
  const OutcomeInfo& info = InfoOf(outcome);
  return Json{{"result", ValueOf(outcome)},
              {"code", info.code},
              {"message", encoding::Cp1252ToUtf8(info.message)}};
}

}  // namespace tavrel::json
