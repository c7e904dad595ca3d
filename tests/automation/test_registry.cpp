// The class registry: creation by identifier, the registration data hosts read,
// and the unload query.
#include <gtest/gtest.h>

#include "automation/internal/qxcompute.h"
#include "automation/internal/registry.h"
#include "tavrel/automation/tavrel_ctrl.h"

namespace tavrel::automation {
namespace {

TEST(Registry, CreatesEachClassByItsIdentifiers) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"tavrel.QXcompute.1", "IQXcompute"}, {"tavrel.QXcompute", "IQXcompute"},
      {"TAVREL.QXCOMPUTE", "IQXcompute"},   {"TAVREL.tavrelCtrl.1", "_Dtavrel"},
      {"tavrel.tavrelctrl.1", "_Dtavrel"},  {"TAVREL.tavrelPropPage.1", "CtavrelPropPage"},
  };
  for (const auto& [progId, interfaceName] : cases) {
    DispatchObject* object = nullptr;
    ASSERT_EQ(CreateInstance(progId, &object), S_OK) << progId;
    EXPECT_EQ(object->Interface().name, interfaceName);
    EXPECT_EQ(object->Release(), 0u);

    const ClassInfo* info = FindClass(progId);
    ASSERT_NE(info, nullptr);
    ASSERT_EQ(CreateInstance(info->clsid, &object), S_OK);
    EXPECT_EQ(object->Interface().name, interfaceName);
    object->Release();
  }
}

TEST(Registry, UnknownIdentifiersCreateNothing) {
  DispatchObject* object = reinterpret_cast<DispatchObject*>(0x1);
  EXPECT_EQ(CreateInstance(std::string_view("tavrel.QXcompute.2"), &object), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(CreateInstance(std::string_view(""), &object), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(CreateInstance(LIBID_tavrelLib, &object), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(CreateInstance(std::string_view("tavrel.QXcompute"), nullptr), E_POINTER);
}

TEST(Registry, RegistrationDataAsHostsExpect) {
  const ClassInfo* compute = FindClass("tavrel.QXcompute");
  ASSERT_NE(compute, nullptr);
  EXPECT_EQ(compute->progId, "tavrel.QXcompute.1") << "the current version";
  EXPECT_EQ(compute->description, "QXcompute Class");
  EXPECT_EQ(compute->threading, ThreadingModel::Both);
  EXPECT_TRUE(compute->programmable);
  EXPECT_EQ(compute->clsid, CLSID_QXcompute);

  const ClassInfo* control = FindClass(CLSID_tavrelCtrl);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->progId, "TAVREL.tavrelCtrl.1");
  EXPECT_EQ(control->description, "tavrel Control");
  EXPECT_EQ(control->threading, ThreadingModel::Apartment);
  EXPECT_EQ(control->miscStatus, 0x20191u);
  EXPECT_TRUE(control->isControl);

  EXPECT_EQ(FindClass("TAVREL.tavrelPropPage.1")->description, "tavrel Property Page");
  EXPECT_EQ(TypeLibrary().name, "tavrelLib");
  EXPECT_EQ(TypeLibrary().majorVersion, 1);
  EXPECT_EQ(TypeLibrary().minorVersion, 0);
}

TEST(Registry, IdentifiersAreDistinct) {
  const auto classes = RegisteredClasses();
  for (std::size_t i = 0; i < classes.size(); ++i) {
    EXPECT_NE(classes[i].clsid, LIBID_tavrelLib);
    for (std::size_t j = i + 1; j < classes.size(); ++j)
      EXPECT_NE(classes[i].clsid, classes[j].clsid);
  }
}

TEST(Registry, CanUnloadOnlyWhenNoObjectIsAlive) {
  ASSERT_EQ(DllCanUnloadNow(), S_OK);
  DispatchObject* compute = nullptr;
  DispatchObject* control = nullptr;
  CreateInstance(std::string_view("tavrel.QXcompute"), &compute);
  CreateInstance(std::string_view("TAVREL.tavrelCtrl.1"), &control);
  EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
  compute->Release();
  EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
  control->AddRef();
  control->Release();
  EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
  control->Release();
  EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace tavrel::automation
