// Fuzzes the dispatch interface of both automation classes: the input is read as
// a series of calls (object, member number, flags, tagged arguments), and every
// call must return an HRESULT without crashing, whatever the bytes say.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "automation/qxcompute.h"
#include "automation/tavrel_ctrl.h"

namespace {

using namespace tavrel::automation;

// Reads bytes from the front of the input; returns zeros once it is used up.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}
  bool Empty() const { return data_.empty(); }
  std::uint8_t Byte() {
    if (data_.empty()) return 0;
    const std::uint8_t byte = data_.front();
    data_ = data_.subspan(1);
    return byte;
  }
  std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() | (Byte() << 8)); }

 private:
  std::span<const std::uint8_t> data_;
};

Bstr ReadString(Reader& in) {
  const std::uint8_t length = in.Byte();
  if (length == 0xFF) return Bstr();
  std::u16string text;
  for (std::uint8_t i = 0; i < length % 32; ++i) text += static_cast<char16_t>(in.Word());
  return Bstr(text);
}

Variant ReadArgument(Reader& in) {
  switch (in.Byte() % 7) {
    case 1:
      return in.Byte() % 2 == 0;
    case 2:
      return static_cast<std::int16_t>(in.Word());
    case 3:
      return static_cast<std::int32_t>(in.Word() | (in.Word() << 16));
    case 4:
      return ReadString(in);
    case 5:
      return Colour{static_cast<std::uint32_t>(in.Word())};
    case 6:
      return Font{std::u16string(ReadString(in).View()), in.Byte() / 4.0, true, false};
    default:
      return {};
  }
}

// A member of the object most of the time, any number otherwise.
DispId ReadDispId(Reader& in, const DispatchObject& object) {
  const std::uint8_t choice = in.Byte();
  const auto members = object.Interface().members;
  if (choice < 0xF0 && !members.empty()) return members[choice % members.size()].id;
  return static_cast<std::int16_t>(in.Word());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in(std::span(data, size));
  Ref<CQXcompute> compute(CQXcompute::New());
  Ref<CtavrelCtrl> control(CtavrelCtrl::New());
  DispatchObject* objects[] = {compute.get(), control.get()};
  while (!in.Empty()) {
    DispatchObject& object = *objects[in.Byte() % 2];
    const DispId id = ReadDispId(in, object);
    const std::uint16_t flags = in.Byte() % 16;
    std::vector<Variant> args(in.Byte() % 4);
    for (Variant& arg : args) arg = ReadArgument(in);
    Variant result;
    object.Invoke(id, flags, args, &result);
  }
  return 0;
}
