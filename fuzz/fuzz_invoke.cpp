// The dispatch layer as a hostile automation host drives it: one object of a
// registered class (created by its programmatic identifier), then a fuzzed series
// of name lookups, interface queries and calls with fuzzed identifiers, flags and
// arguments of every variant type. Any HRESULT is acceptable; a name lookup must
// agree with the interface's member table, and once the host has released its
// references no object may be left alive.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "automation/internal/registry.h"
#include "fuzz_assert.h"
#include "tavrel/automation/dispatch.h"

namespace {

using namespace tavrel::automation;

constexpr std::size_t kMaxTextLength = 40;
constexpr std::size_t kMaxArguments = 3;

std::u16string ConsumeWideText(FuzzedDataProvider& input) {
  const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, kMaxTextLength);
  std::u16string text;
  for (std::size_t i = 0; i < length && input.remaining_bytes() > 0; ++i) {
    text.push_back(input.ConsumeIntegral<char16_t>());
  }
  return text;
}

Variant ConsumeVariant(FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange(0, 7)) {
    case 0:
      return {};
    case 1:
      return input.ConsumeBool();
    case 2:
      return input.ConsumeIntegral<std::int16_t>();
    case 3:
      return input.ConsumeIntegral<std::int32_t>();
    case 4:
      return Bstr();
    case 5:
      return Colour{input.ConsumeIntegral<std::uint32_t>()};
    case 6: {
      Font font;
      font.name = ConsumeWideText(input);
      font.pointSize = input.ConsumeFloatingPoint<double>();
      font.bold = input.ConsumeBool();
      font.italic = input.ConsumeBool();
      return font;
    }
    default:
      return Bstr(ConsumeWideText(input));
  }
}

// A member's name in mixed case or arbitrary text; the lookup must find exactly
// the members whose names match without regard to ASCII case.
void LookUpName(DispatchObject& object, FuzzedDataProvider& input) {
  const auto members = object.Interface().members;
  std::u16string name;
  if (input.ConsumeBool() && !members.empty()) {
    const MemberInfo& member =
        members[input.ConsumeIntegralInRange<std::size_t>(0, members.size() - 1)];
    for (char c : member.name) {
      const bool upper = input.ConsumeBool() && c >= 'a' && c <= 'z';
      name.push_back(static_cast<char16_t>(upper ? c - 'a' + 'A' : c));
    }
  } else {
    name = ConsumeWideText(input);
  }
  DispId id = 0;
  const HRESULT hr = object.GetIDsOfNames(name, &id);
  if (hr == S_OK) {
    FUZZ_ASSERT(object.Interface().FindMember(id) != nullptr);
  } else {
    FUZZ_ASSERT(hr == DISP_E_UNKNOWNNAME && id == DISPID_UNKNOWN);
  }
}

void Call(DispatchObject& object, FuzzedDataProvider& input) {
  const auto members = object.Interface().members;
  DispId id = input.ConsumeIntegral<DispId>();
  if (input.ConsumeBool() && !members.empty()) {
    id = members[input.ConsumeIntegralInRange<std::size_t>(0, members.size() - 1)].id;
  }
  const auto flags = input.ConsumeIntegral<std::uint16_t>();
  std::vector<Variant> args(input.ConsumeIntegralInRange<std::size_t>(0, kMaxArguments));
  for (Variant& arg : args) arg = ConsumeVariant(input);
  Variant result;
  object.Invoke(id, flags, args, input.ConsumeBool() ? &result : nullptr);
}

void QueryInterface(DispatchObject& object, FuzzedDataProvider& input) {
  const Guid candidates[] = {IID_IUnknown, IID_IDispatch, object.Interface().iid, Guid{}};
  const Guid& iid = candidates[input.ConsumeIntegralInRange<std::size_t>(0, 3)];
  DispatchObject* other = nullptr;
  if (Succeeded(object.QueryInterface(iid, &other))) {
    FUZZ_ASSERT(other == &object);
    other->Release();
  } else {
    FUZZ_ASSERT(other == nullptr);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const auto classes = RegisteredClasses();
  const ClassInfo& info = classes[input.ConsumeIntegralInRange<std::size_t>(0, classes.size() - 1)];
  const std::size_t aliveBefore = DispatchObject::LiveObjectCount();
  {
    DispatchObject* created = nullptr;
    FUZZ_ASSERT(CreateInstance(info.progId, &created) == S_OK && created != nullptr);
    const Ref<DispatchObject> object(created);
    while (input.remaining_bytes() > 0) {
      switch (input.ConsumeIntegralInRange(0, 2)) {
        case 0:
          LookUpName(*object, input);
          break;
        case 1:
          Call(*object, input);
          break;
        default:
          QueryInterface(*object, input);
          break;
      }
    }
  }
  FUZZ_ASSERT(DispatchObject::LiveObjectCount() == aliveBefore);
  return 0;
}
