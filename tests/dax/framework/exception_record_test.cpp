// The exception records of failed calls: every source form and every row of the
// description table, with the full code in scode.
#include <gtest/gtest.h>

#include "dax/frame_test_support.h"
#include "dax/framework/script_host.h"
#include "dax/framework/test_port.h"

namespace dax_test {
namespace {

const ScriptHost kHost(Language::kVBScript);

struct Failure {
    uint32_t scode;
    std::string source;
    std::string description;
};

Failure Fail(IDispatch *object, DISPID id, WORD flags, const std::vector<Value> &arguments,
             const std::vector<DISPID> &named = {}) {
    const Outcome outcome = kHost.InvokeRaw(object, id, flags, arguments, named);
    EXPECT_EQ(outcome.result, DISP_E_EXCEPTION);
    EXPECT_EQ(outcome.wcode, 0);
    return {static_cast<uint32_t>(outcome.scode), outcome.source, outcome.description};
}

DISPID IdOf(const char *name) {
    return TestPort::Class().FindMember(name)->DispId();
}

class ExceptionRecord : public testing::Test {
  protected:
    platform::ComPtr<TestPort> port = NewPort();
    IDispatch *o = port->AsDispatch();
};

TEST_F(ExceptionRecord, MemberNotFoundByCallKind) {
    const Failure method = Fail(o, IdOf("Baud"), DISPATCH_METHOD, {});
    EXPECT_EQ(method.scode, 0x80020003u);
    EXPECT_EQ(method.source, "Dax.TestPort.Invoke(\"Baud\",...)");
    EXPECT_EQ(method.description, "'Baud' is not a callable method of class 'Dax.TestPort'");
    EXPECT_EQ(Fail(o, IdOf("Open"), DISPATCH_PROPERTYGET, {}).description,
              "'Open' is not a readable property of class 'Dax.TestPort'");
    const WORD puts[] = {DISPATCH_PROPERTYPUT, DISPATCH_PROPERTYPUTREF, 0xC};
    for (WORD put : puts) {
        EXPECT_EQ(Fail(o, IdOf("Open"), put, {Value::Object(o)}, {DISPID_PROPERTYPUT}).description,
                  "'Open' is not a settable property of class 'Dax.TestPort'");
    }
    EXPECT_EQ(Fail(o, IdOf("Open"), 0x40, {}).description, "Unknown property or method: 'Open'");
    const Failure unknown = Fail(o, 777, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {});
    EXPECT_EQ(unknown.source, "Dax.TestPort.Invoke(777,...)");
    EXPECT_EQ(unknown.description, "Unknown property or method: '#777'");
    // A construct call of a class without _CreateInstance.
    auto bare = MakeObject<InstanceOf>(
        MakeObject<CIComponentDescriptorImpl>("Dax.Bare", platform::kGUID_NULL, 0));
    EXPECT_EQ(Fail(bare->AsDispatch(), 0, DISPATCH_CONSTRUCT, {}).description,
              "Cannot create instance of class Dax.Bare");
}

TEST_F(ExceptionRecord, RefusedPropertyAccess) {
    const Failure set =
        Fail(o, IdOf("Id"), DISPATCH_PROPERTYPUT, {Value::I4(1)}, {DISPID_PROPERTYPUT});
    EXPECT_EQ(set.scode, 0x80020003u);
    EXPECT_EQ(set.source, "Ostrel.Zam.Zam.PropertyDescriptor._Invoke");
    EXPECT_EQ(set.description, "Cannot set property 'Dax.TestPort.Id': Property cannot be set");
    EXPECT_EQ(Fail(o, IdOf("Secret"), DISPATCH_PROPERTYGET, {}).description,
              "Cannot get property 'Dax.TestPort.Secret': Property cannot be read");
}

TEST_F(ExceptionRecord, MissingValuesAndParameters) {
    const Failure put = Fail(o, IdOf("Baud"), DISPATCH_PROPERTYPUT, {});
    EXPECT_EQ(put.scode, 0x80020004u);
    EXPECT_EQ(put.source, "Dax.TestPort.Invoke(\"Baud\",...)");
    EXPECT_EQ(put.description, "Missing value in property 'Dax.TestPort.Baud' assignment");
    EXPECT_EQ(Fail(o, IdOf("Peer"), DISPATCH_PROPERTYPUTREF, {}).description,
              "Missing value in property 'Dax.TestPort.Peer' assignment");
    EXPECT_EQ(Fail(o, IdOf("Open"), DISPATCH_METHOD, {Value::I4(1)}, {-9}).description,
              "Missing parameter in call to 'Dax.TestPort.Open'");
}

TEST_F(ExceptionRecord, ParameterRowsNameTheParameter) {
    const Failure mismatch =
        Fail(o, IdOf("Open"), DISPATCH_METHOD, {Value::Text("r"), Value::Text("soon")});
    EXPECT_EQ(mismatch.scode, 0x80020005u);
    EXPECT_EQ(mismatch.description,
              "Type mismatch in parameter 2 (Timeout) of 'Dax.TestPort.Open'");
    EXPECT_EQ(Fail(o, IdOf("Open"), DISPATCH_METHOD, {Value::Missing(), Value::I4(3)}).description,
              "Argument 1 (Mode) of 'Dax.TestPort.Open' is not optional");
    EXPECT_EQ(
        Fail(o, IdOf("Baud"), DISPATCH_PROPERTYPUT, {Value::Text("fast")}, {DISPID_PROPERTYPUT})
            .description,
        "Type mismatch in parameter 1 of 'Dax.TestPort.Baud'");
    EXPECT_EQ(Fail(o, IdOf("Open"), DISPATCH_METHOD, {Value::Text("r"), Value::I4(1), Value::I4(2)})
                  .description,
              "Invalid number of parameters in call to 'Dax.TestPort.Open'");
    EXPECT_EQ(Fail(o, IdOf("Bits"), DISPATCH_PROPERTYGET, {Value::I4(1), Value::I4(2)}).scode,
              0x8002000Eu);  // one index only
    UINT argument = 99;
    EXCEPINFO record{};
    ParameterBlock block({Value::Text("r"), Value::Text("soon")}, {}, true);
    EXPECT_EQ(o->Invoke(IdOf("Open"), platform::kGUID_NULL, 0, DISPATCH_METHOD, block.Get(),
                        nullptr, &record, &argument),
              DISP_E_EXCEPTION);
    EXPECT_EQ(argument, 0u);  // the second argument is the first in the block
    SysFreeString(record.bstrSource);
    SysFreeString(record.bstrDescription);
}

TEST_F(ExceptionRecord, CodesRaisedByMembers) {
    const Failure lcid = Fail(o, IdOf("Fail"), DISPATCH_METHOD, {Value::I4(0x8002000C)});
    EXPECT_EQ(lcid.description, "Unsupported locale id (409h) invoking 'Dax.TestPort.Fail'");
    const Failure other = Fail(o, IdOf("Fail"), DISPATCH_METHOD, {Value::I4(0x80004005)});
    EXPECT_EQ(other.scode, 0x80004005u);
    EXPECT_EQ(other.description, "Cannot invoke 'Dax.TestPort.Fail': Unspecified error");
    // A framework-facility code reaches scode in full, as script hosts read it.
    const Failure framework = Fail(o, IdOf("Fail"), DISPATCH_METHOD, {Value::I4(0x220F0012)});
    EXPECT_EQ(framework.scode, 0xA20F0012u);
    EXPECT_EQ(framework.source, "Dax.TestPort.Fail");
    EXPECT_EQ(framework.description, "Framework failure");
}

TEST_F(ExceptionRecord, NamelessClassAndMember) {
    auto nameless = MakeObject<CIComponentDescriptorImpl>("", platform::kGUID_NULL, 0);
    auto member = MakeObject<CIPropertyDescriptorImpl>("", VT_I4, PropertyAccessors{}, 5);
    nameless->AddMember(member.Get());
    auto instance = MakeObject<InstanceOf>(nameless);
    const Failure failure = Fail(instance->AsDispatch(), 5, DISPATCH_PROPERTYGET, {});
    EXPECT_EQ(failure.source, "Ostrel.Zam.Zam.PropertyDescriptor._Invoke");
    EXPECT_EQ(failure.description, "Cannot get property '.#5': Property cannot be read");
    const Failure unknown = Fail(instance->AsDispatch(), 6, DISPATCH_PROPERTYGET, {});
    EXPECT_EQ(unknown.source, "IDispatch.Invoke(6,...)");
    const Failure unnamed = Fail(instance->AsDispatch(), 5, DISPATCH_METHOD, {});
    EXPECT_EQ(unnamed.source, "IDispatch.Invoke(\"(unnamed)\",...)");
}

TEST_F(ExceptionRecord, MissingInstance) {
    auto &c = TestPort::Class();
    OwnedVariant result;
    const struct {
        const char *member;
        WORD flags;
        const char *text;
    } cases[] = {
        {"Open", 0x100, "Cannot invoke method 'Dax.TestPort.Open': Instance is Null"},
        {"Baud", 0x1000, "Cannot get property 'Dax.TestPort.Baud': Instance is Null"},
        {"Baud", 0x2000, "Cannot set property 'Dax.TestPort.Baud': Instance is Null"},
    };
    Value value = Value::I4(1);
    for (const auto &row : cases) {
        try {
            c.FindMember(row.member)
                ->Invoke(nullptr, row.flags,
                         row.flags == 0x2000 || row.flags == 0x100
                             ? ParameterBlock({value}, {}, false).Get()
                             : nullptr,
                         result.Get());
            ADD_FAILURE() << row.member;
        } catch (const EZamError &error) {
            EXPECT_EQ(ErrorCodeOf(error), Code(0xC0004003));
            EXPECT_EQ(LastDescription(), row.text);
        }
    }
}

}  // namespace
}  // namespace dax_test
