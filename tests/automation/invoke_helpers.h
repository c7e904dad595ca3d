// Shared helpers for the automation tests: create objects, call members by name.
#pragma once

#include <string>
#include <vector>

#include "tavrel/automation/dispatch.h"

namespace tavrel::automation::testing {

struct Call {
  HRESULT hr;
  Variant result;
};

// Resolves `name` and invokes it; a name that does not resolve gives its error.
inline Call InvokeByName(DispatchObject& object, std::u16string_view name, std::uint16_t flags,
                         std::vector<Variant> args = {}) {
  DispId id = DISPID_UNKNOWN;
  Call call{object.GetIDsOfNames(name, &id), {}};
  if (Failed(call.hr)) return call;
  call.hr = object.Invoke(id, flags, args, &call.result);
  return call;
}

inline Call Get(DispatchObject& object, std::u16string_view name) {
  return InvokeByName(object, name, DISPATCH_PROPERTYGET);
}

inline HRESULT Put(DispatchObject& object, std::u16string_view name, Variant value) {
  return InvokeByName(object, name, DISPATCH_PROPERTYPUT, {std::move(value)}).hr;
}

inline Call Method(DispatchObject& object, std::u16string_view name,
                   std::vector<Variant> args = {}) {
  return InvokeByName(object, name, DISPATCH_METHOD, std::move(args));
}

}  // namespace tavrel::automation::testing
