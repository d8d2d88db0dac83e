#include "dax/framework/test_port.h"

#include "framework/dispatch/invoke_errors.h"

namespace dax_test {

namespace {

int32_t BitIndex(const VARIANT &index) {
    int64_t position = 0;
    if (!ToIndex(index, &position))
        EInvokeError::Raise(DISP_E_TYPEMISMATCH, nullptr, nullptr, 0);
    if (position < 1 || position > 8)
        RaiseError(DISP_E_BADINDEX, "Dax.TestPort.Bits", "Bit index out of range");
    return static_cast<int32_t>(position - 1);
}

ComponentRef BuildPortClass() {
    using P = TestPort;
    ComponentRef c =
        NewClassDescriptor("Dax.TestPort", kTestPortClsId, kClassCreatable | kClassInstanceFactory);
    c->SetInstanceFactory([] { return platform::ComPtr<IDispatch>(NewPort()->AsDispatch()); });
    CIComponentDescriptorImpl &d = *c.Get();
    AddProperty(
        d, "Name", VT_BSTR,
        {Getter<P>([](P &p, VARIANT *r) { SetText(r, p.name); }),
         Setter<P>([](P &p, const VARIANT &v) { p.name = platform::TextFromBstr(v.bstrVal); })},
        {DISPID_VALUE});
    AddProperty(d, "Baud", VT_I4,
                {Getter<P>([](P &p, VARIANT *r) { SetInt32(r, p.baud); }),
                 Setter<P>([](P &p, const VARIANT &v) { p.baud = v.lVal; })});
    AddProperty(d, "Enabled", VT_BOOL,
                {Getter<P>([](P &p, VARIANT *r) { SetBool(r, p.enabled); }),
                 Setter<P>([](P &p, const VARIANT &v) { p.enabled = v.boolVal != 0; })});
    AddProperty(d, "Id", VT_I4, {Getter<P>([](P &, VARIANT *r) { SetInt32(r, 42); })});
    PropertyAccessors secret;
    secret.set =
        Setter<P>([](P &p, const VARIANT &v) { p.secret = platform::TextFromBstr(v.bstrVal); });
    AddProperty(d, "Secret", VT_BSTR, std::move(secret));
    AddProperty(d, "Peer", VT_VARIANT,
                {Getter<P>([](P &p, VARIANT *r) { SetObject(r, p.peer.Get()); }),
                 Setter<P>([](P &p, const VARIANT &v) {
                     if (v.vt == VT_DISPATCH) {
                         p.peer = platform::ComPtr<IDispatch>(v.pdispVal);
                     } else {
                         p.peer = platform::ComPtr<IDispatch>();
                         p.secret = "peer set to a value";
                     }
                 })});
    PropertyAccessors bits;
    bits.get_indexed = IndexedGetter<P>([](P &p, const VARIANT &i, VARIANT *r) {
        SetInt32(r, p.bits[static_cast<size_t>(BitIndex(i))]);
    });
    bits.set_indexed = IndexedSetter<P>([](P &p, const VARIANT &i, const VARIANT &v) {
        p.bits[static_cast<size_t>(BitIndex(i))] = v.lVal;
    });
    AddProperty(d, "Bits", VT_I4, std::move(bits))->SetIndexParameters({Parameter("Bit", VT_I4)});
    VARIANT timeout;
    VariantInit(&timeout);
    timeout.vt = VT_I4;
    timeout.lVal = 1000;
    AddMethod(d, "Open", MethodOf<P>([](P &p, const ArgumentValues &a, VARIANT *r) {
                  SetText(r, p.name + ":" + platform::TextFromBstr(a[0].bstrVal) + ":" +
                                 std::to_string(a[1].lVal));
              }),
              {Parameter("Mode", VT_BSTR), OptionalParameter("Timeout", VT_I4, timeout)});
    AddMethod(d, "Fail", MethodOf<P>([](P &, const ArgumentValues &a, VARIANT *) {
                  const HRESULT code = a[0].lVal;
                  if ((static_cast<uint32_t>(code) & 0x2FFF0000u) == 0x220F0000u)
                      RaiseError(code, "Dax.TestPort.Fail", "Framework failure");
                  EInvokeError::Raise(code);
              }),
              {Parameter("Code", VT_I4)});
    AddMethod(d, "Sum", MethodOf<P>([](P &, const ArgumentValues &a, VARIANT *r) {
                  int32_t total = 0;
                  for (size_t i = 0; i < a.Count(); ++i)
                      total += a[i].vt == VT_I4 ? a[i].lVal : 0;
                  SetInt32(r, total);
              }));
    return c;
}

}  // namespace

CIComponentDescriptorImpl &TestPort::Class() {
    static const ComponentRef descriptor = BuildPortClass();
    return *descriptor.Get();
}

platform::ComPtr<IDispatch> TestPort::CloneObject() {
    auto copy = NewPort();
    copy->name = name;
    copy->baud = baud;
    return platform::ComPtr<IDispatch>(copy->AsDispatch());
}

}  // namespace dax_test
