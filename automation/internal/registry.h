// The module's classes by identifier and programmatic identifier, standing in for
// self-registration: hosts create objects by name and ask whether the module can
// be unloaded.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "tavrel/automation/dispatch.h"

namespace tavrel::automation {

inline constexpr Guid LIBID_tavrelLib{
    0x24CBFC0B, 0xFD3A, 0x4D28, {0xBE, 0x65, 0x82, 0x07, 0x00, 0x5C, 0x0D, 0x01}};

struct TypeLibraryInfo {
  std::string_view name;
  Guid libid;
  std::uint16_t majorVersion;
  std::uint16_t minorVersion;
};

enum class ThreadingModel : std::uint8_t { Apartment, Both };

struct ClassInfo {
  std::string_view className;
  Guid clsid;
  std::string_view progId;
  std::string_view versionIndependentProgId;  // empty when the class has none
  std::string_view description;               // the registry's default value
  ThreadingModel threading;
  bool programmable;
  bool isControl;
  std::uint32_t miscStatus;  // OLEMISC flags of a control, 0 otherwise
  DispatchObject* (*create)();
};

const TypeLibraryInfo& TypeLibrary();
std::span<const ClassInfo> RegisteredClasses();

// Resolves a programmatic identifier, versioned or version-independent, ignoring
// ASCII case. Null when no class has it.
const ClassInfo* FindClass(std::string_view progId);
const ClassInfo* FindClass(const Guid& clsid);

// Creates an object of the class, holding one reference for the caller. Unknown
// identifiers give CLASS_E_CLASSNOTAVAILABLE (by class identifier) or
// REGDB_E_CLASSNOTREG (by programmatic identifier); `*object` is then null.
HRESULT CreateInstance(const Guid& clsid, DispatchObject** object);
HRESULT CreateInstance(std::string_view progId, DispatchObject** object);

// S_OK when no object of the module is alive, S_FALSE otherwise.
HRESULT DllCanUnloadNow();

}  // namespace tavrel::automation
