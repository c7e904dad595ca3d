#include "work_list.h"

#include <array>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string_view>

#include "tavrel/automation/variant.h"
#include "tavrel/directory.h"
#include "tavrel/encoding.h"
#include "tavrel/service.h"

namespace tavrel::stress {
namespace {

using automation::Bstr;
using automation::DispatchObject;
using automation::Variant;

constexpr std::array<std::string_view, 12> kSearchTexts = {
    "volksbank,chemnitz", "bank",     "sparda", "sparda,", "bbk berlin", "BBk Berlin",
    "bank, sparda",       "hh, kiel", ",bank",  "spk",     "info:",      "raiffeisenbank,\xF6"};

class Generator {
 public:
  Generator(const std::vector<std::string>& bankCodes, unsigned seed)
      : bankCodes_(bankCodes), random_(seed) {}

  WorkItem Next(Kind kind) {
    switch (kind) {
      case Kind::Check:
      case Kind::Nummprobe:
        return {kind, Account(), BankCode()};
      case Kind::BankName:
      case Kind::LookupName:
        return {kind, BankCode(), {}};
      case Kind::Search:
        return {kind, SearchText(), {}};
      case Kind::ErrorMessage:
        return {kind, {}, {}, Uniform(-10, 2)};
    }
    throw std::logic_error("unknown kind");
  }

 private:
  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  std::string Digits(int count) {
    std::string digits;
    for (int i = 0; i < count; ++i) digits += static_cast<char>('0' + Uniform(0, 9));
    return digits;
  }

  // Mostly well-formed accounts, with every input fault now and then.
  std::string Account() {
    switch (Uniform(0, 15)) {
      case 0:
        return "";
      case 1:
        return Digits(11);
      case 2:
        return Digits(4) + "x" + Digits(3);
      case 3:
        return "0000000000";
      case 4:
        return " " + Digits(Uniform(1, 10)) + "\t";
      default:
        return Digits(Uniform(1, 10));
    }
  }

  std::string BankCode() {
    switch (Uniform(0, 19)) {
      case 0:
        return Digits(8);
      case 1:
        return Digits(7);
      case 2:
        return " " + Known() + " ";
      default:
        return Known();
    }
  }

  std::string Known() {
    return bankCodes_[static_cast<std::size_t>(
        Uniform(0, static_cast<int>(bankCodes_.size()) - 1))];
  }

  std::string SearchText() {
    if (Uniform(0, 1) == 0) return Known().substr(0, static_cast<std::size_t>(Uniform(1, 8)));
    return std::string(kSearchTexts[static_cast<std::size_t>(Uniform(0, kSearchTexts.size() - 1))]);
  }

  const std::vector<std::string>& bankCodes_;
  std::mt19937 random_;
};

Variant Wide(std::string_view cp1252) { return Bstr(encoding::Cp1252ToUtf16(cp1252)); }

std::string Describe(const Variant& value) {
  switch (value.Type()) {
    case automation::VarType::Int32:
      return std::to_string(value.AsInt32());
    case automation::VarType::String:
      return automation::ToCp1252(value.AsString());
    default:
      return "type " + std::to_string(static_cast<int>(value.Type()));
  }
}

std::string Call(DispatchObject& object, std::u16string_view name, std::vector<Variant> args) {
  automation::DispId id = automation::DISPID_UNKNOWN;
  automation::HRESULT hr = object.GetIDsOfNames(name, &id);
  Variant result;
  if (automation::Succeeded(hr)) hr = object.Invoke(id, automation::DISPATCH_METHOD, args, &result);
  return "hr " + std::to_string(hr) + ": " + Describe(result);
}

std::string Search(std::string_view text) {
  const directory::SearchResult result = directory::BankSearch(text, false);
  std::string description = std::to_string(result.nameSearchMode) + " " +
                            std::to_string(result.fieldLimit) + " " +
                            std::to_string(result.openAboutBox);
  for (const std::string& hit : result.hits) description += "\n" + hit;
  return description;
}

}  // namespace

std::vector<std::string> ReadBankCodes() {
  std::ifstream file(TAVREL_BANKS_TSV);
  std::vector<std::string> codes;
  for (std::string line; std::getline(file, line);)
    codes.push_back(line.substr(0, line.find('\t')));
  if (codes.empty()) throw std::runtime_error("no bank codes in " TAVREL_BANKS_TSV);
  return codes;
}

std::vector<WorkItem> MakeWorkList(const std::vector<std::string>& bankCodes, std::size_t count,
                                   unsigned seed) {
  constexpr std::array kTurns = {Kind::Check,        Kind::BankName,  Kind::Check,
                                 Kind::Search,       Kind::Nummprobe, Kind::Check,
                                 Kind::ErrorMessage, Kind::LookupName};
  Generator generator(bankCodes, seed);
  std::vector<WorkItem> items;
  for (std::size_t i = 0; i < count; ++i)
    items.push_back(generator.Next(kTurns[i % kTurns.size()]));
  return items;
}

std::string Run(const WorkItem& item, DispatchObject& qxcompute) {
  switch (item.kind) {
    case Kind::Check:
      return std::to_string(service::CheckAccount(item.first, item.second));
    case Kind::BankName: {
      std::string name = "(none)";
      directory::LookupBankName(item.first, name);
      return name;
    }
    case Kind::Search:
      return Search(item.first);
    case Kind::Nummprobe:
      return Call(qxcompute, u"Nummprobe", {Wide(item.first), Wide(item.second)});
    case Kind::ErrorMessage:
      return Call(qxcompute, u"GetErrorMessage", {Variant(std::int32_t{item.value})});
    case Kind::LookupName:
      return Call(qxcompute, u"LookupName", {Wide(item.first)});
  }
  throw std::logic_error("unknown kind");
}

}  // namespace tavrel::stress
