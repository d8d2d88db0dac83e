// Component descriptors: the member table, dispatch-id allocation, adding members,
// instance creation and the type-information view.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "dax/frame_test_support.h"
#include "dax/framework/script_host.h"
#include "dax/framework/test_port.h"
#include "framework/descriptors/member_table.h"
#include "framework/dispatch/invoke_by_name.h"
#include "framework/dispatch/invoke_errors.h"

namespace dax_test {
namespace {

ComponentRef Bare(const char *name = "Dax.Bare", uint32_t kind = 0) {
    return MakeObject<CIComponentDescriptorImpl>(name, platform::kGUID_NULL, kind);
}

platform::ComPtr<CIPropertyDescriptorImpl> NewProperty(const std::string &name, DISPID id = -1) {
    return MakeObject<CIPropertyDescriptorImpl>(name, VT_I4, PropertyAccessors{}, id);
}

platform::ComPtr<CIMethodDescriptorImpl> NewMethod(const std::string &name, uint32_t attributes,
                                                   DISPID id = -1) {
    return MakeObject<CIMethodDescriptorImpl>(name, nullptr, id, attributes);
}

// Runs `body`, expects it to raise `code`, and returns the raised description.
template <class Body>
std::string RaisedDescription(int32_t code, Body body) {
    try {
        body();
    } catch (const EZamError &error) {
        EXPECT_EQ(ErrorCodeOf(error), code);
        return LastDescription().value_or("");
    }
    ADD_FAILURE() << "nothing raised";
    return "";
}

TEST(ComponentDescriptor, AllocatesIdsFromTheFirstFreeAbove0x40000000) {
    ComponentRef c = Bare();
    EXPECT_EQ(c->AddMember(NewProperty("A").Get()), 0x40000000);
    EXPECT_EQ(c->AddMember(NewProperty("B").Get()), 0x40000001);
    ComponentRef d = Bare();
    EXPECT_EQ(d->AddMember(NewProperty("Explicit", 0x40000001).Get()), 0x40000001);
    EXPECT_EQ(d->AddMember(NewProperty("First").Get()), 0x40000000);
    EXPECT_EQ(d->AddMember(NewProperty("Second").Get()), 0x40000002);
    // AllocateDispId steps the same counter; an empty name is the default member.
    EXPECT_EQ(d->AllocateDispId(""), 0);
    EXPECT_EQ(d->AllocateDispId("second"), 0x40000002);
    EXPECT_EQ(d->Members().NameCount(), 3u);
    EXPECT_EQ(d->AllocateDispId("Third"), 0x40000003);
    EXPECT_TRUE(d->FindMember("THIRD")->IsPlaceholder());
    // Every id taken is passed over, however many follow each other.
    ComponentRef e = Bare();
    e->AddMember(NewProperty("Taken1", 0x40000000).Get());
    e->AddMember(NewProperty("Taken2", 0x40000001).Get());
    e->AddMember(NewProperty("Taken3", 0x40000002).Get());
    EXPECT_EQ(e->AddMember(NewProperty("Free").Get()), 0x40000003);
}

TEST(ComponentDescriptor, RealMemberReplacesPlaceholderKeepingItsId) {
    ComponentRef c = Bare();
    const DISPID reserved = c->AllocateDispId("Speed");
    auto real = NewProperty("Speed");
    EXPECT_EQ(c->AddMember(real.Get()), reserved);
    EXPECT_EQ(c->FindMember("speed"), real.Get());
    EXPECT_EQ(c->FindMember(reserved), real.Get());
    EXPECT_EQ(c->Members().NameCount(), 1u);
    EXPECT_EQ(real->Owner(), c.Get());
}

TEST(ComponentDescriptor, OverloadableMethodsShareNameAndId) {
    ComponentRef c = Bare();
    const DISPID id = c->AddMember(NewMethod("Send", kMemberOverloadable).Get());
    EXPECT_EQ(c->AddMember(NewMethod("send", kMemberOverloadable).Get()), id);
    EXPECT_EQ(c->Members().Sorted().size(), 2u);
    // Without the flag on both, the name is taken.
    const std::string text =
        RaisedDescription(Code(0xC002802D), [&] { c->AddMember(NewMethod("Send", 0).Get()); });
    EXPECT_EQ(text, "Cannot add member 'Dax.Bare.Send': another property or event exists already");
}

TEST(ComponentDescriptor, ClashingNamesAreRefusedAndTableUnchanged) {
    ComponentRef c = Bare("Dax.Clash");
    c->AddMember(NewProperty("Mode", 7).Get());
    auto same_name = NewProperty("MODE");
    EXPECT_EQ(RaisedDescription(Code(0xC002802D), [&] { c->AddMember(same_name.Get()); }),
              "Cannot add member 'Dax.Clash.MODE': another property or event exists already");
    EXPECT_EQ(LastSource(), "Ostrel.Zam.IComponentDescriptorImpl._AddMember");
    auto other_id = NewProperty("Mode", 8);
    EXPECT_EQ(RaisedDescription(Code(0xC002802D), [&] { c->AddMember(other_id.Get()); }),
              "Cannot add member 'Dax.Clash.Mode': another member with the same name but a "
              "different dispatch ID exists already");
    EXPECT_EQ(c->Members().Sorted().size(), 1u);
    EXPECT_EQ(same_name->Owner(), nullptr);
    EXPECT_EQ(other_id->DispId(), 8);
}

TEST(ComponentDescriptor, TableStaysSortedIgnoringCaseAfterEveryInsertion) {
    ComponentRef c = Bare();
    std::mt19937 random(7);
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i) {
        std::string name;
        for (int n = 1 + static_cast<int>(random() % 6); n > 0; --n)
            name.push_back("aBcD_z9["[random() % 8]);
        if (c->FindMember(name) != nullptr)
            continue;
        names.push_back(name);
        c->AddMember(NewProperty(name).Get());
        const auto &sorted = c->Members().Sorted();
        ASSERT_TRUE(std::is_sorted(sorted.begin(), sorted.end(), [](auto *a, auto *b) {
            return NameLess()(a->Name(), b->Name());
        }));
    }
    for (const std::string &name : names) {
        std::string upper = name;
        std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
        ASSERT_NE(c->FindMember(upper), nullptr) << name;
        EXPECT_EQ(c->FindMember(upper)->Name(), name);
        EXPECT_EQ(c->FindMember(c->FindMember(name)->DispId()), c->FindMember(name));
    }
    // '_' (0x5F) sorts after the folded letters, '[' (0x5B) before it.
    EXPECT_TRUE(NameLess()("abc", "ABD"));
    EXPECT_TRUE(NameLess()("Z", "_"));
    EXPECT_TRUE(NameLess()("[", "_"));
    EXPECT_TRUE(NameLess()("ab", "ABC"));
}

TEST(ComponentDescriptor, TableFindsEveryMemberAfterRemovals) {
    ComponentRef c = Bare();
    std::vector<platform::ComPtr<CIPropertyDescriptorImpl>> members;
    for (int i = 0; i < 200; ++i) {
        members.push_back(NewProperty("P" + std::to_string(i * 7919 % 1000)));
        c->AddMember(members.back().Get());
    }
    for (size_t i = 0; i < members.size(); i += 3)
        ASSERT_TRUE(c->RemoveMember(members[i].Get()));
    for (size_t i = 0; i < members.size(); ++i) {
        const bool removed = i % 3 == 0;
        EXPECT_EQ(c->FindMember(members[i]->Name()), removed ? nullptr : members[i].Get()) << i;
        EXPECT_EQ(c->FindMember(members[i]->DispId()), removed ? nullptr : members[i].Get());
        EXPECT_EQ(members[i]->Owner(), removed ? nullptr : c.Get());
    }
    EXPECT_EQ(c->Members().NameCount(), 133u);
    // A removed name can come back, with a new id.
    auto again = NewProperty(members[0]->Name());
    EXPECT_EQ(c->AddMember(again.Get()), 0x40000000 + 200);
}

TEST(ComponentDescriptor, RemovedMemberIsDetachedAndRefusesCalls) {
    auto port = NewPort();
    ComponentRef c = Bare("Dax.Removable");
    auto member = NewProperty("Gone");
    c->AddMember(member.Get());
    EXPECT_TRUE(c->RemoveMember(member.Get()));
    EXPECT_EQ(c->FindMember("Gone"), nullptr);
    EXPECT_FALSE(c->RemoveMember(member.Get()));
    // A call by the id of a member removed after it was called does not reach it.
    auto called = NewProperty("Called");
    const DISPID id = c->AddMember(called.Get());
    EXPECT_THROW(c->Invoke(port.Get(), id, 0x1000, nullptr, nullptr, false), EZamError);
    ASSERT_TRUE(c->RemoveMember(called.Get()));
    EXPECT_EQ(RaisedDescription(Code(0xC0020003),
                                [&] { c->Invoke(port.Get(), id, 0x1000, nullptr, nullptr, true); }),
              "Unknown member: Dax.Removable.#" + std::to_string(id));
    EXPECT_EQ(RaisedDescription(Code(0xC000FFFF),
                                [&] { member->Invoke(port.Get(), 0x1000, nullptr, nullptr); }),
              "Member descriptor is no longer attached to a component descriptor");
}

TEST(ComponentDescriptor, PlaceholderInvokedDirectlyIsNoLongerAvailable) {
    ComponentRef c = Bare("Dax.Holder");
    const DISPID id = c->AllocateDispId("Later");
    EXPECT_EQ(
        RaisedDescription(Code(0xC0020003),
                          [&] { c->FindMember(id)->Invoke(nullptr, 0x1000, nullptr, nullptr); }),
        "Member 'Dax.Holder.Later' is no longer available");
    // An ordinary call does not find it.
    EXPECT_EQ(RaisedDescription(Code(0xC0020003),
                                [&] { c->Invoke(nullptr, id, 0x1000, nullptr, nullptr, true); }),
              "Unknown member: Dax.Holder.#1073741824");
}

TEST(ComponentDescriptor, InternalMembersAreFoundOnlyByLookupsOfAll) {
    auto port = NewPort();
    ComponentRef c = Bare("Dax.Internal");
    PropertyAccessors get;
    get.get = [](DispatchObject &, VARIANT *r) { SetInt32(r, 5); };
    auto hidden = MakeObject<CIPropertyDescriptorImpl>("Inner", VT_I4, get, -1, kMemberInternal);
    const DISPID id = c->AddMember(hidden.Get());
    OwnedVariant value;
    EXPECT_THROW(c->Invoke(port.Get(), id, 0x1000, nullptr, value.Get(), false), EMemberNotFound);
    c->Invoke(port.Get(), id, 0x1000 | 0x20, nullptr, value.Get(), false);
    EXPECT_EQ((*value).lVal, 5);
    // Scripts cannot look the name up either.
    auto instance = MakeObject<InstanceOf>(c);
    platform::Bstr name(platform::BstrFromText("Inner"));
    DISPID found = 0;
    EXPECT_EQ(instance->GetDispID(name.Get(), fdexNameCaseInsensitive, &found), DISP_E_UNKNOWNNAME);
    LPOLESTR names[] = {name.Get()};
    EXPECT_EQ(instance->GetIDsOfNames(platform::kGUID_NULL, names, 1, 0, &found),
              DISP_E_UNKNOWNNAME);
    EXPECT_EQ(found, DISPID_UNKNOWN);
}

TEST(ComponentDescriptor, ParamArrayTakesAnyNumberOfArgumentsEvenNone) {
    auto port = NewPort();
    ComponentRef c = Bare("Dax.Rest");
    const auto method =
        AddMethod(*c.Get(), "Count",
                  [](DispatchObject *, const ArgumentValues &values, VARIANT *result) {
                      SetInt32(result, static_cast<int32_t>(values.Count()));
                  },
                  {Parameter("First", VT_I4, kParamIn | kParamOptional),
                   Parameter("Rest", VT_VARIANT, kParamIn | kParamArray)});
    const auto count = [&](std::vector<Value> arguments) {
        OwnedVariant result;
        std::vector<VARIANT> values;
        for (Value &argument : arguments)
            values.push_back(*argument);
        c->InvokeMember(port.Get(), method->DispId(), 0x100, values.data(), values.size(),
                        result.Get());
        return (*result).lVal;
    };
    EXPECT_NO_THROW(count({}));
    EXPECT_NO_THROW(count({Value::I4(1)}));
    EXPECT_EQ(count({Value::I4(1), Value::Text("a"), Value::I4(3)}), 3);
}

TEST(ComponentDescriptor, CreateInstanceByKind) {
    IClassFactory *factory = &TestPort::Class();
    void *object = reinterpret_cast<void *>(1);
    platform::ComPtr<IUnknown> outer(NewPort()->AsDispatch());
    EXPECT_EQ(factory->CreateInstance(outer.Get(), platform::kIID_IDispatch, &object),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);
    ASSERT_EQ(factory->CreateInstance(nullptr, platform::kIID_IDispatch, &object), S_OK);
    auto made = platform::ComPtr<IDispatch>::Adopt(static_cast<IDispatch *>(object));
    EXPECT_EQ(&FrameworkObjectOf(made.Get())->ClassDescriptor(), &TestPort::Class());

    // Creatable through _CreateInstance (kind 0x02) without a factory: refused.
    ComponentRef no_factory = NewClassDescriptor("Dax.NoFactory", platform::kGUID_NULL, 0x02);
    EXPECT_EQ(no_factory->CreateInstance(nullptr, platform::kIID_IDispatch, &object),
              Code(0xC000FFFF));
    EXPECT_EQ(LastDescription(), "Class Dax.NoFactory cannot be instantiated");
    EXPECT_EQ(LastSource(), "Ostrel.Zam.CreateInstanceMethodDescriptor.DoCall");
    // ...and with one.
    no_factory->SetInstanceFactory(
        [] { return platform::ComPtr<IDispatch>(NewPort()->AsDispatch()); });
    ASSERT_EQ(no_factory->CreateInstance(nullptr, platform::kIID_IUnknown, &object), S_OK);
    static_cast<IUnknown *>(object)->Release();
    // Not creatable at all.
    ComponentRef fixed = NewClassDescriptor("Dax.Fixed", platform::kGUID_NULL, 0);
    EXPECT_EQ(fixed->CreateInstance(nullptr, platform::kIID_IUnknown, &object), Code(0xC000FFFF));
    EXPECT_EQ(LastSource(), "Ostrel.Zam.AbstractIComponentDescriptorImpl.CreateInstance");
    EXPECT_EQ(LastDescription(), "Class Dax.Fixed cannot be instantiated");
    EXPECT_EQ(factory->CreateInstance(nullptr, platform::kIID_IDispatch, nullptr), E_POINTER);
}

TEST(ComponentDescriptor, TypeInformationNamesClassMembersAndParameters) {
    ITypeInfo *info = &TestPort::Class();
    platform::Bstr name;
    platform::Bstr doc;
    ASSERT_EQ(info->GetDocumentation(-1, name.Out(), nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(name.Text(), "Dax.TestPort");
    const DISPID class_id = TestPort::Class().FindMember("Class")->DispId();
    ASSERT_EQ(info->GetDocumentation(class_id, name.Out(), doc.Out(), nullptr, nullptr), S_OK);
    EXPECT_EQ(doc.Text(), "Returns the component descriptor of this object");
    EXPECT_EQ(info->GetDocumentation(12345, name.Out(), nullptr, nullptr, nullptr),
              TYPE_E_ELEMENTNOTFOUND);

    platform::Bstr open(platform::BstrFromText("open"));
    platform::Bstr timeout(platform::BstrFromText("TIMEOUT"));
    LPOLESTR names[] = {open.Get(), timeout.Get()};
    MEMBERID ids[2] = {};
    ASSERT_EQ(info->GetIDsOfNames(names, 2, ids), S_OK);
    EXPECT_EQ(ids[0], TestPort::Class().FindMember("Open")->DispId());
    EXPECT_EQ(ids[1], 1);
    BSTR listed[3] = {};
    UINT count = 0;
    ASSERT_EQ(info->GetNames(ids[0], listed, 3, &count), S_OK);
    ASSERT_EQ(count, 3u);
    EXPECT_EQ(BstrText(listed[0]), "Open");
    EXPECT_EQ(BstrText(listed[2]), "Timeout");
    for (BSTR &text : listed)
        SysFreeString(text);
    EXPECT_EQ(info->GetTypeAttr(nullptr), E_NOTIMPL);

    auto port = NewPort();
    EXPECT_EQ(ComponentDescriptorOf(port->AsDispatch()).Get(), &TestPort::Class());
}

}  // namespace
}  // namespace dax_test
