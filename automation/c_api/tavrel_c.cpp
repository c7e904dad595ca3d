// The C library: UTF-8 in and out, no exception ever crosses the boundary, and
// every pointer argument may be NULL.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "internal/account_texts.h"
#include "internal/registry.h"
#include "library_support.h"
#include "tavrel.h"
#include "tavrel/directory.h"
#include "tavrel/encoding.h"
#include "tavrel/json.h"
#include "tavrel/outcome.h"
#include "tavrel/service.h"
#include "tavrel/version.h"

namespace {

namespace automation = tavrel::automation;
namespace encoding = tavrel::encoding;

std::string_view ViewOf(const char* text) {
  return text == nullptr ? std::string_view() : std::string_view(text);
}

std::string Cp1252From(const char* utf8) { return encoding::Utf8ToCp1252Lossy(ViewOf(utf8)); }

using tavrel::c_api::NewCopy;

// The same of a Windows-1252 string, converted.
char* NewUtf8(std::string_view cp1252) { return NewCopy(encoding::Cp1252ToUtf8(cp1252)); }

// Runs `body`, turning any exception (only memory exhaustion is expected) into
// `failure`.
template <typename T, typename Body>
T Guarded(T failure, Body body) {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

automation::Bstr BstrFrom(const char* utf8) {
  return utf8 == nullptr ? automation::Bstr() : automation::FromCp1252(Cp1252From(utf8));
}

automation::Font FontFrom(const tavrel_value& value) {
  return automation::Font{std::u16string(BstrFrom(value.string).View()), value.font_size,
                          value.font_bold != 0, value.font_italic != 0};
}

automation::Variant ToVariant(const tavrel_value& value) {
  switch (value.type) {
    case TAVREL_BOOL:
      return value.number != 0;
    case TAVREL_INT16:
      return static_cast<std::int16_t>(value.number);
    case TAVREL_INT32:
      return value.number;
    case TAVREL_STRING:
      return BstrFrom(value.string);
    case TAVREL_COLOUR:
      return automation::Colour{value.colour};
    case TAVREL_FONT:
      return FontFrom(value);
    default:
      return {};
  }
}

char* NewUtf8OrNull(const automation::Bstr& text) {
  if (text.IsNull()) return nullptr;
  char* copy = NewUtf8(automation::ToCp1252(text));
  if (copy == nullptr) throw std::bad_alloc();
  return copy;
}

tavrel_value FromVariant(const automation::Variant& variant) {
  using automation::VarType;
  tavrel_value value{};
  switch (variant.Type()) {
    case VarType::Empty:
      value.type = TAVREL_EMPTY;
      break;
    case VarType::Bool:
      value.type = TAVREL_BOOL;
      value.number = variant.AsVariantBool();
      break;
    case VarType::Int16:
      value.type = TAVREL_INT16;
      value.number = variant.AsInt16();
      break;
    case VarType::Int32:
      value.type = TAVREL_INT32;
      value.number = variant.AsInt32();
      break;
    case VarType::String:
      value.type = TAVREL_STRING;
      value.string = NewUtf8OrNull(variant.AsString());
      break;
    case VarType::Colour:
      value.type = TAVREL_COLOUR;
      value.colour = variant.AsColour().value;
      break;
    case VarType::Font:
      value.type = TAVREL_FONT;
      value.string = NewUtf8OrNull(automation::Bstr(variant.AsFont().name));
      value.font_size = variant.AsFont().pointSize;
      value.font_bold = variant.AsFont().bold ? 1 : 0;
      value.font_italic = variant.AsFont().italic ? 1 : 0;
      break;
  }
  return value;
}

// The compiled-in directory of that name, or the file at that path; the
// message says why there is neither.
std::shared_ptr<const tavrel::service::Directory> OpenDirectory(std::string_view pathOrName,
                                                                std::string& message) {
  if (pathOrName.empty()) {
    message = "no directory named: give 2009, current or the path of a Bundesbank file";
    return nullptr;
  }
  if (auto compiled = tavrel::service::FindCompiledDirectory(pathOrName)) return compiled;
  const std::string path(pathOrName);
  tavrel::service::DirectoryLoad load = tavrel::service::LoadDirectory(path);
  if (load.directory) return std::move(load.directory);
  message = tavrel::service::DescribeUtf8(*load.error);
  if (!load.unreadable) message = path + ": " + message;
  return nullptr;
}

char* NewJson(const tavrel::json::Json& json) { return NewCopy(tavrel::json::ToText(json)); }

char* NewError(std::string_view code, const std::string& message) {
  return NewJson({{"error", code}, {"message", message}});
}

// The rule set `rules` names (NULL: the 2009 rules), or nullptr.
const tavrel::service::RuleSet* RulesNamed(const char* rules) {
  return rules == nullptr ? &tavrel::service::DefaultRules()
                          : tavrel::service::FindRules(ViewOf(rules));
}

char* UnknownRules(const char* rules) {
  return NewError("unknown_rules",
                  "unknown rules '" + std::string(ViewOf(rules)) + "' (known: 2009, current)");
}

char* NoDirectory() {
  return NewError("invalid_argument", "no directory: open one with tavrel_open_directory");
}

// `directory` by `rules` (NULL: the directory's own); rules null when unknown.
tavrel::service::CheckSource SourceIn(const tavrel_directory& directory, const char* rules) {
  tavrel::service::CheckSource source = directory.source;
  if (rules != nullptr) source.rules = tavrel::service::FindRules(ViewOf(rules));
  return source;
}

char* ExplainJson(const tavrel::service::CheckSource& source, const char* bank_code,
                  const char* account) {
  const std::string bankCode = Cp1252From(bank_code);
  const std::string accountText = Cp1252From(account);
  return NewJson(tavrel::json::ExplanationJson(
      tavrel::service::ExplainAccount({bankCode, accountText}, source)));
}

char* SuggestJson(const tavrel::service::CheckSource& source, const char* bank_code,
                  const char* account, int max) {
  const std::string bankCode = Cp1252From(bank_code);
  const std::string accountText = Cp1252From(account);
  const std::size_t cap = max < 1 ? 5 : std::min(max, 1000);
  return NewJson(tavrel::json::SuggestionsJson(
      tavrel::service::SuggestCorrections({bankCode, accountText}, source, {cap, true}), true));
}

// The numbers tavrel_generate_json takes besides its texts.
struct GenerateNumbers {
  int count;
  uint64_t seed;
  int length;
  int invalid;
};

char* GenerateJson(const tavrel::service::CheckSource& source, const char* bank_code,
                   const char* method, const GenerateNumbers& numbers) {
  if ((bank_code == nullptr) == (method == nullptr)) {
    return NewError("invalid_argument", "give one of bank_code and method, the other NULL");
  }
  if (numbers.count < 1 || numbers.count > 100000) {
    return NewError("invalid_argument", "count is 1 to 100000");
  }
  if (numbers.length < 0 || numbers.length > 10) {
    return NewError("invalid_argument", "length is 0 (six to ten digits) or 1 to 10");
  }
  const std::string bankCode = Cp1252From(bank_code);
  const std::string key = Cp1252From(method);
  tavrel::service::GenerateRequest request{bankCode,
                                           key,
                                           static_cast<std::size_t>(numbers.count),
                                           numbers.seed,
                                           numbers.length,
                                           numbers.invalid != 0};
  return NewJson(tavrel::json::GeneratedJson(tavrel::service::GenerateAccounts(request, source)));
}

// "BANKCODE | short name\n" for each hit, in UTF-8.
char* NewHitLines(const std::vector<std::string>& hits) {
  std::string lines;
  for (const std::string& hit : hits) {
    lines += hit;
    lines += '\n';
  }
  return NewUtf8(lines);
}

automation::DispatchObject* ObjectOf(tavrel_object* object) {
  return reinterpret_cast<automation::DispatchObject*>(object);
}

int32_t InvokeByName(automation::DispatchObject& object, const char* member, int flags,
                     const tavrel_value* args, int nargs, tavrel_value* result) {
  automation::DispId id = automation::DISPID_UNKNOWN;
  const automation::HRESULT found =
      object.GetIDsOfNames(encoding::Cp1252ToUtf16(Cp1252From(member)), &id);
  if (automation::Failed(found)) return found;
  std::vector<automation::Variant> arguments;
  for (int i = 0; i < nargs; ++i) arguments.push_back(ToVariant(args[i]));
  automation::Variant value;
  const automation::HRESULT hr =
      object.Invoke(id, static_cast<std::uint16_t>(flags), arguments, &value);
  if (automation::Succeeded(hr) && result != nullptr) *result = FromVariant(value);
  return hr;
}

}  // namespace

char* tavrel::c_api::NewCopy(std::string_view utf8) {
  auto* copy = static_cast<char*>(std::malloc(utf8.size() + 1));
  if (copy == nullptr) return nullptr;
  std::memcpy(copy, utf8.data(), utf8.size());
  copy[utf8.size()] = '\0';
  return copy;
}

extern "C" {

const char* tavrel_version(void) { return TAVREL_VERSION; }

void tavrel_free(void* memory) { std::free(memory); }

int tavrel_check(const char* bank_code, const char* account) {
  return tavrel::c_api::CheckCStrings(bank_code, account, tavrel::service::DefaultRules());
}

int tavrel_check_rules(const char* bank_code, const char* account, const char* rules) {
  const tavrel::service::RuleSet* ruleSet = rules == nullptr
                                                ? &tavrel::service::DefaultRules()
                                                : tavrel::service::FindRules(ViewOf(rules));
  if (ruleSet == nullptr) return tavrel::ValueOf(tavrel::Outcome::kMethodNotFound);
  return tavrel::c_api::CheckCStrings(bank_code, account, *ruleSet);
}

tavrel_directory* tavrel_open_directory(const char* path_or_name, char** error) {
  if (error != nullptr) *error = nullptr;
  return Guarded<tavrel_directory*>(nullptr, [&]() -> tavrel_directory* {
    std::string message;
    std::shared_ptr<const tavrel::service::Directory> directory =
        OpenDirectory(ViewOf(path_or_name), message);
    if (directory == nullptr) {
      if (error != nullptr) *error = NewCopy(message);
      return nullptr;
    }
    return new tavrel_directory{tavrel::service::SourceOf(std::move(directory))};
  });
}

int tavrel_check_in(const tavrel_directory* directory, const char* bank_code, const char* account) {
  if (directory == nullptr) return tavrel::ValueOf(tavrel::Outcome::kBankCodeUnknown);
  return tavrel::c_api::CheckCStrings(bank_code, account, directory->source);
}

void tavrel_close_directory(tavrel_directory* directory) { delete directory; }
char* tavrel_explain_json(const char* bank_code, const char* account, const char* rules) {
  return Guarded<char*>(nullptr, [&] {
    const tavrel::service::RuleSet* ruleSet = RulesNamed(rules);
    if (ruleSet == nullptr) return UnknownRules(rules);
    return ExplainJson(tavrel::service::DefaultSourceWith(*ruleSet), bank_code, account);
  });
}

char* tavrel_explain_json_in(const tavrel_directory* directory, const char* bank_code,
                             const char* account, const char* rules) {
  return Guarded<char*>(nullptr, [&] {
    if (directory == nullptr) return NoDirectory();
    const tavrel::service::CheckSource source = SourceIn(*directory, rules);
    if (source.rules == nullptr) return UnknownRules(rules);
    return ExplainJson(source, bank_code, account);
  });
}

char* tavrel_suggest_json(const char* bank_code, const char* account, const char* rules, int max) {
  return Guarded<char*>(nullptr, [&] {
    const tavrel::service::RuleSet* ruleSet = RulesNamed(rules);
    if (ruleSet == nullptr) return UnknownRules(rules);
    return SuggestJson(tavrel::service::DefaultSourceWith(*ruleSet), bank_code, account, max);
  });
}

char* tavrel_suggest_json_in(const tavrel_directory* directory, const char* bank_code,
                             const char* account, const char* rules, int max) {
  return Guarded<char*>(nullptr, [&] {
    if (directory == nullptr) return NoDirectory();
    const tavrel::service::CheckSource source = SourceIn(*directory, rules);
    if (source.rules == nullptr) return UnknownRules(rules);
    return SuggestJson(source, bank_code, account, max);
  });
}

char* tavrel_generate_json(const char* bank_code, const char* method, const char* rules, int count,
                           uint64_t seed, int length, int invalid) {
  return Guarded<char*>(nullptr, [&] {
    const tavrel::service::RuleSet* ruleSet = RulesNamed(rules);
    if (ruleSet == nullptr) return UnknownRules(rules);
    return GenerateJson(tavrel::service::DefaultSourceWith(*ruleSet), bank_code, method,
                        {count, seed, length, invalid});
  });
}

char* tavrel_generate_json_in(const tavrel_directory* directory, const char* bank_code,
                              const char* method, const char* rules, int count, uint64_t seed,
                              int length, int invalid) {
  return Guarded<char*>(nullptr, [&] {
    if (directory == nullptr) return NoDirectory();
    const tavrel::service::CheckSource source = SourceIn(*directory, rules);
    if (source.rules == nullptr) return UnknownRules(rules);
    return GenerateJson(source, bank_code, method, {count, seed, length, invalid});
  });
}

const char* tavrel_result_code(int result) {
  // The codes are ASCII string literals, so their views are NUL-terminated.
  const tavrel::OutcomeInfo* info = tavrel::FindOutcome(result);
  return info == nullptr ? nullptr : info->code.data();
}

const char* tavrel_result_field(int result) {
  // The field names are string literals, so their views are NUL-terminated;
  // so are the rule generations' names below.
  const tavrel::OutcomeInfo* info = tavrel::FindOutcome(result);
  return info == nullptr ? nullptr : tavrel::FieldName(info->field).data();
}

const char* tavrel_rules_name(int index) {
  const auto generations = tavrel::service::RuleGenerations();
  if (index < 0 || static_cast<std::size_t>(index) >= generations.size()) return nullptr;
  return generations[static_cast<std::size_t>(index)].name.data();
}

char* tavrel_message(int result) {
  return Guarded<char*>(nullptr, [&] {
    // The automation objects know the account results only; the IBAN results
    // come from the outcome table.
    const tavrel::OutcomeInfo* info = tavrel::FindOutcome(result);
    if (info != nullptr && info->field == tavrel::Field::kIban) return NewUtf8(info->message);
    return NewUtf8(automation::MessageText(result));
  });
}

char* tavrel_bank_name_in(const tavrel_directory* directory, const char* bank_code) {
  return Guarded<char*>(nullptr, [&]() -> char* {
    if (directory == nullptr) return nullptr;
    const std::optional<tavrel::service::Bank> bank =
        tavrel::service::FindBank(*directory->source.directory, Cp1252From(bank_code));
    return bank ? NewUtf8(bank->shortName) : nullptr;
  });
}

char* tavrel_bank_name(const char* bank_code) {
  return Guarded<char*>(nullptr, [&]() -> char* {
    std::string name;
    if (!tavrel::directory::LookupBankName(Cp1252From(bank_code), name)) return nullptr;
    return NewUtf8(name);
  });
}

char* tavrel_search(const char* text) {
  return Guarded<char*>(nullptr, [&] {
    return NewHitLines(tavrel::directory::BankSearch(Cp1252From(text), false).hits);
  });
}

char* tavrel_search_in(const tavrel_directory* directory, const char* text) {
  return Guarded<char*>(nullptr, [&] {
    if (directory == nullptr) return NewCopy("");
    return NewHitLines(
        tavrel::service::SearchBanks(*directory->source.directory, Cp1252From(text)).hits);
  });
}

void tavrel_value_clear(tavrel_value* value) {
  if (value == nullptr) return;
  std::free(value->string);
  *value = tavrel_value{};
}

tavrel_object* tavrel_create(const char* prog_id) {
  automation::DispatchObject* object = nullptr;
  if (automation::Failed(automation::CreateInstance(ViewOf(prog_id), &object))) return nullptr;
  return reinterpret_cast<tavrel_object*>(object);
}

int32_t tavrel_invoke(tavrel_object* object, const char* member, int flags,
                      const tavrel_value* args, int nargs, tavrel_value* result) {
  if (object == nullptr || (args == nullptr && nargs > 0)) return TAVREL_E_POINTER;
  if (nargs < 0) return TAVREL_E_INVALIDARG;
  return Guarded(TAVREL_E_OUTOFMEMORY, [&] {
    return InvokeByName(*ObjectOf(object), member, flags, args, nargs, result);
  });
}

void tavrel_release(tavrel_object* object) {
  if (object != nullptr) ObjectOf(object)->Release();
}

int tavrel_can_unload(void) { return automation::DllCanUnloadNow() == automation::S_OK ? 1 : 0; }

}  // extern "C"
