#include "internal/registry.h"

#include <algorithm>
#include <new>

#include "internal/prop_page.h"
#include "internal/qxcompute.h"
#include "tavrel/ascii.h"
#include "tavrel/automation/tavrel_ctrl.h"

namespace tavrel::automation {
namespace {

// Recompose on resize, cannot link inside, inside-out, activate when visible,
// set client site first.
constexpr std::uint32_t kControlMiscStatus = 0x20191;

template <typename T>
DispatchObject* NewObject() {
  return T::New();
}

constexpr TypeLibraryInfo kTypeLibrary{"tavrelLib", LIBID_tavrelLib, 1, 0};

constexpr ClassInfo kClasses[] = {
    {"QXcompute", CLSID_QXcompute, "tavrel.QXcompute.1", "tavrel.QXcompute", "QXcompute Class",
     ThreadingModel::Both, true, false, 0, &NewObject<CQXcompute>},
    {"CtavrelCtrl", CLSID_tavrelCtrl, "TAVREL.tavrelCtrl.1", "", "tavrel Control",
     ThreadingModel::Apartment, false, true, kControlMiscStatus, &NewObject<CtavrelCtrl>},
    {"CtavrelPropPage", CLSID_tavrelPropPage, "TAVREL.tavrelPropPage.1", "", "tavrel Property Page",
     ThreadingModel::Apartment, false, false, 0, &NewObject<CtavrelPropPage>},
};

HRESULT CreateFrom(const ClassInfo* info, HRESULT notFound, DispatchObject** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (info == nullptr) return notFound;
  try {
    *object = info->create();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

}  // namespace

const TypeLibraryInfo& TypeLibrary() { return kTypeLibrary; }

std::span<const ClassInfo> RegisteredClasses() { return kClasses; }

const ClassInfo* FindClass(std::string_view progId) {
  const auto found = std::ranges::find_if(kClasses, [&](const ClassInfo& info) {
    return EqualIgnoringAsciiCase(info.progId, progId) ||
           (!info.versionIndependentProgId.empty() &&
            EqualIgnoringAsciiCase(info.versionIndependentProgId, progId));
  });
  return found == std::end(kClasses) ? nullptr : found;
}

const ClassInfo* FindClass(const Guid& clsid) {
  const auto found = std::ranges::find(kClasses, clsid, &ClassInfo::clsid);
  return found == std::end(kClasses) ? nullptr : found;
}

HRESULT CreateInstance(const Guid& clsid, DispatchObject** object) {
  return CreateFrom(FindClass(clsid), CLASS_E_CLASSNOTAVAILABLE, object);
}

HRESULT CreateInstance(std::string_view progId, DispatchObject** object) {
  return CreateFrom(FindClass(progId), REGDB_E_CLASSNOTREG, object);
}

HRESULT DllCanUnloadNow() { return DispatchObject::LiveObjectCount() == 0 ? S_OK : S_FALSE; }

}  // namespace tavrel::automation
