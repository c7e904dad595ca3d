// The dispatch layer: strings, argument coercion, name lookup, invoke errors and
// reference counting, exercised through the two real classes.
#include <gtest/gtest.h>

#include <cctype>

#include "automation/internal/qxcompute.h"
#include "invoke_helpers.h"
#include "tavrel/automation/tavrel_ctrl.h"

namespace tavrel::automation {
namespace {

using testing::InvokeByName;

TEST(Bstr, NullDiffersFromEmptyButReadsAsEmpty) {
  const Bstr null;
  const Bstr empty(u"");
  EXPECT_TRUE(null.IsNull());
  EXPECT_FALSE(empty.IsNull());
  EXPECT_NE(null, empty);
  EXPECT_EQ(null.Length(), 0u);
  EXPECT_EQ(ToCp1252(null), "");
  EXPECT_TRUE(Bstr(static_cast<const char16_t*>(nullptr)).IsNull());
}

TEST(Bstr, GermanTextsSurviveTheRoundTrip) {
  const std::u16string texts[] = {u"Prüfziffer ungültig!", u"BLZ enthält ungültige Zeichen!",
                                  u"Konto hat falsche Länge!", u"Straße ÄÖÜ äöü ß €", u""};
  for (const std::u16string& text : texts) {
    const std::string narrow = ToCp1252(Bstr(text));
    EXPECT_EQ(narrow.size(), text.size()) << "one byte per character";
    EXPECT_EQ(FromCp1252(narrow), Bstr(text));
  }
  EXPECT_EQ(ToCp1252(Bstr(u"ü")), "\xFC");
}

TEST(Bstr, CharactersWithoutWindows1252FormBecomeQuestionMarks) {
  EXPECT_EQ(ToCp1252(Bstr(u"a\u03A9b")), "a?b");
  EXPECT_EQ(ToCp1252(Bstr(u"x\U0001F600y")), "x?y");  // a surrogate pair is one character
}

struct CoercionCase {
  Variant argument;
  ValueType type;
  HRESULT hr;
  Variant coerced;
};

TEST(CoerceArgument, FollowsTheHostRules) {
  const CoercionCase cases[] = {
      {Variant(Bstr(u"12")), ValueType::String, S_OK, Variant(Bstr(u"12"))},
      {Variant(Bstr()), ValueType::String, S_OK, Variant(Bstr())},
      {Variant(std::int32_t{12}), ValueType::String, DISP_E_TYPEMISMATCH, {}},
      {Variant(true), ValueType::String, DISP_E_TYPEMISMATCH, {}},
      {Variant(std::int16_t{-5}), ValueType::Long, S_OK, Variant(std::int32_t{-5})},
      {Variant(std::int32_t{70000}), ValueType::Long, S_OK, Variant(std::int32_t{70000})},
      {Variant(Bstr(u"1")), ValueType::Long, DISP_E_TYPEMISMATCH, {}},
      {Variant(std::int32_t{-32768}), ValueType::Short, S_OK, Variant(std::int16_t{-32768})},
      {Variant(std::int32_t{32768}), ValueType::Short, DISP_E_OVERFLOW, {}},
      {Variant(std::int16_t{2}), ValueType::Bool, S_OK, Variant(true)},
      {Variant(std::int32_t{0}), ValueType::Bool, S_OK, Variant(false)},
      {Variant(std::int32_t{0x00C8C8FF}), ValueType::Colour, S_OK, Variant(Colour{0x00C8C8FF})},
      {Variant(std::int32_t{-1}), ValueType::Colour, S_OK, Variant(Colour{0xFFFFFFFF})},
      {Variant(Font{}), ValueType::Font, S_OK, Variant(Font{})},
      {Variant(Colour{1}), ValueType::Font, DISP_E_TYPEMISMATCH, {}},
      {Variant(), ValueType::String, DISP_E_PARAMNOTOPTIONAL, {}},
      {Variant(), ValueType::Long, DISP_E_PARAMNOTOPTIONAL, {}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Variant coerced;
    EXPECT_EQ(CoerceArgument(cases[i].argument, cases[i].type, coerced), cases[i].hr)
        << "case " << i;
    EXPECT_EQ(coerced, cases[i].coerced) << "case " << i;
  }
}

std::u16string Widen(std::string_view ascii, int (*change)(int)) {
  std::u16string wide;
  for (char c : ascii) wide += static_cast<char16_t>(change(static_cast<unsigned char>(c)));
  return wide;
}

int Unchanged(int c) { return c; }
int Upper(int c) { return std::toupper(c); }
int Lower(int c) { return std::tolower(c); }
constexpr int (*kCaseChanges[])(int) = {&Unchanged, &Upper, &Lower};

TEST(GetIDsOfNames, FindsEveryMemberInAnyCase) {
  Ref<CQXcompute> compute(CQXcompute::New());
  Ref<CtavrelCtrl> control(CtavrelCtrl::New());
  for (DispatchObject* object :
       {static_cast<DispatchObject*>(compute.get()), static_cast<DispatchObject*>(control.get())}) {
    for (const MemberInfo& member : object->Interface().members) {
      for (int (*change)(int) : kCaseChanges) {
        DispId id = 0;
        EXPECT_EQ(object->GetIDsOfNames(Widen(member.name, change), &id), S_OK) << member.name;
        EXPECT_EQ(id, member.id) << member.name;
      }
    }
  }
}

TEST(GetIDsOfNames, RejectsUnknownNames) {
  Ref<CtavrelCtrl> control(CtavrelCtrl::New());
  for (std::u16string_view name : {u"", u"blzx", u"bl", u"LookupName", u"checkResult "}) {
    DispId id = 0;
    EXPECT_EQ(control->GetIDsOfNames(name, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
  }
  EXPECT_EQ(control->GetIDsOfNames(u"blz", nullptr), E_POINTER);
}

struct InvokeErrorCase {
  DispId id;
  std::uint16_t flags;
  std::vector<Variant> args;
  HRESULT hr;
};

void ExpectInvokeErrors(DispatchObject& object, const std::vector<InvokeErrorCase>& cases) {
  for (std::size_t i = 0; i < cases.size(); ++i) {
    Variant result(std::int32_t{77});
    EXPECT_EQ(object.Invoke(cases[i].id, cases[i].flags, cases[i].args, &result), cases[i].hr)
        << "case " << i;
    EXPECT_EQ(result, Variant(std::int32_t{77}))
        << "a failed call leaves the result alone, case " << i;
  }
}

TEST(Invoke, ComputeObjectRefusesBadCalls) {
  Ref<CQXcompute> compute(CQXcompute::New());
  const Variant text(Bstr(u"10000000"));
  ExpectInvokeErrors(
      *compute,
      {
          {0, DISPATCH_METHOD, {}, DISP_E_MEMBERNOTFOUND},
          {4, DISPATCH_METHOD, {}, DISP_E_MEMBERNOTFOUND},
          {DISPID_QX_NUMMPROBE, DISPATCH_METHOD, {text}, DISP_E_BADPARAMCOUNT},
          {DISPID_QX_NUMMPROBE, DISPATCH_METHOD, {text, text, text}, DISP_E_BADPARAMCOUNT},
          {DISPID_QX_NUMMPROBE, DISPATCH_METHOD, {std::int32_t{1}, text}, DISP_E_TYPEMISMATCH},
          {DISPID_QX_NUMMPROBE, DISPATCH_METHOD, {text, Variant()}, DISP_E_PARAMNOTOPTIONAL},
          {DISPID_QX_NUMMPROBE, DISPATCH_PROPERTYPUT, {text}, DISP_E_MEMBERNOTFOUND},
          {DISPID_QX_GETERRORMESSAGE, DISPATCH_METHOD, {text}, DISP_E_TYPEMISMATCH},
          {DISPID_QX_GETERRORMESSAGE, DISPATCH_METHOD, {}, DISP_E_BADPARAMCOUNT},
          {DISPID_QX_LOOKUPNAME, DISPATCH_METHOD, {std::int32_t{10000000}}, DISP_E_TYPEMISMATCH},
          {DISPID_QX_LOOKUPNAME, 0, {text}, E_INVALIDARG},
      });
}

TEST(Invoke, ControlRefusesBadCalls) {
  Ref<CtavrelCtrl> control(CtavrelCtrl::New());
  const Variant text(Bstr(u"1"));
  ExpectInvokeErrors(
      *control,
      {
          {8, DISPATCH_PROPERTYGET, {}, DISP_E_MEMBERNOTFOUND},
          {DISPID_CTRL_CHECKRESULT, DISPATCH_PROPERTYPUT, {std::int32_t{0}}, CTL_E_SETNOTSUPPORTED},
          {DISPID_CTRL_BLZ, DISPATCH_PROPERTYGET, {text}, DISP_E_BADPARAMCOUNT},
          {DISPID_CTRL_BLZ, DISPATCH_PROPERTYPUT, {}, DISP_E_BADPARAMCOUNT},
          {DISPID_CTRL_BLZ, DISPATCH_PROPERTYPUT, {std::int32_t{10000000}}, DISP_E_TYPEMISMATCH},
          {DISPID_CTRL_KONTO, DISPATCH_PROPERTYPUT, {std::int16_t{1}}, DISP_E_TYPEMISMATCH},
          {DISPID_CTRL_NUMMPROBE, DISPATCH_METHOD, {text}, DISP_E_BADPARAMCOUNT},
          {DISPID_CTRL_GETERRORMESSAGE, DISPATCH_METHOD, {text}, DISP_E_TYPEMISMATCH},
          {DISPID_CTRL_BLZNUMACHT, DISPATCH_METHOD, {text}, DISP_E_BADPARAMCOUNT},
          {DISPID_CTRL_BLZNUMACHT, DISPATCH_PROPERTYPUT, {true}, DISP_E_MEMBERNOTFOUND},
          {DISPID_ABOUTBOX, DISPATCH_PROPERTYPUT, {true}, DISP_E_MEMBERNOTFOUND},
          {DISPID_BORDERSTYLE, DISPATCH_PROPERTYPUT, {std::int32_t{100000}}, DISP_E_OVERFLOW},
          {DISPID_FONT, DISPATCH_PROPERTYPUTREF, {Colour{0}}, DISP_E_TYPEMISMATCH},
      });
  EXPECT_EQ(control->GetCheckResult(), 0);
  EXPECT_EQ(control->GetBlz(), "");
}

TEST(Invoke, HostsMayCombineMethodAndGet) {
  Ref<CtavrelCtrl> control(CtavrelCtrl::New());
  const std::uint16_t both = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
  EXPECT_EQ(InvokeByName(*control, u"checkResult", both).result, Variant(std::int32_t{0}));
  EXPECT_EQ(InvokeByName(*control, u"BlzNumAcht", DISPATCH_PROPERTYGET).result, Variant(false));
  EXPECT_EQ(control->Invoke(DISPID_CTRL_BLZ, DISPATCH_PROPERTYGET, {}, nullptr), S_OK)
      << "result may be null";
}

TEST(HelpStrings, NameTheMemberKind) {
  Ref<CtavrelCtrl> control(CtavrelCtrl::New());
  Ref<CQXcompute> compute(CQXcompute::New());
  EXPECT_EQ(control->Interface().FindMember(DISPID_CTRL_BLZ)->HelpString(), "Eigenschaft blz");
  EXPECT_EQ(control->Interface().FindMember(DISPID_CTRL_CHECKRESULT)->HelpString(),
            "Eigenschaft checkResult");
  EXPECT_EQ(control->Interface().FindMember(DISPID_CTRL_BLZNUMACHT)->HelpString(),
            "Methode BlzNumAcht");
  EXPECT_EQ(compute->Interface().FindMember(DISPID_QX_LOOKUPNAME)->HelpString(),
            "Methode LookupName");
  EXPECT_EQ(compute->Interface().help, "IQXcompute-Schnittstelle");
  EXPECT_EQ(control->Interface().help, "Dispatchschnittstelle f\xFCr tavrel Control");
  EXPECT_TRUE(DtavrelEventsInterface().members.empty());
}

TEST(ReferenceCounting, LastReleaseDestroysTheObject) {
  const std::size_t before = DispatchObject::LiveObjectCount();
  CQXcompute* compute = CQXcompute::New();
  EXPECT_EQ(DispatchObject::LiveObjectCount(), before + 1);
  EXPECT_EQ(compute->AddRef(), 2u);

  DispatchObject* asDispatch = nullptr;
  EXPECT_EQ(compute->QueryInterface(IID_IDispatch, &asDispatch), S_OK);
  EXPECT_EQ(asDispatch, compute);
  EXPECT_EQ(compute->QueryInterface(DIID_Dtavrel, &asDispatch), E_NOINTERFACE);
  EXPECT_EQ(asDispatch, nullptr);
  EXPECT_EQ(compute->QueryInterface(IID_IQXcompute, nullptr), E_POINTER);

  EXPECT_EQ(compute->Release(), 2u);  // the QueryInterface reference
  EXPECT_EQ(compute->Release(), 1u);
  EXPECT_EQ(compute->Release(), 0u);
  EXPECT_EQ(DispatchObject::LiveObjectCount(), before);
}

TEST(Guid, PrintsInRegistryForm) {
  EXPECT_EQ(IID_IDispatch.ToString(), "{00020400-0000-0000-C000-000000000046}");
}

}  // namespace
}  // namespace tavrel::automation
