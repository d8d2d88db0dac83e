#include "framework/descriptors/parameter_descriptor.h"

#include <cstdio>

namespace Ostrel::Zam {

void CIParameterDescriptorImpl::SetDefaultValue(const VARIANT &value) {
    VariantClear(default_value_.Get());
    CopyValue(default_value_.Get(), value);
    flags_ |= kParamOptional;
}

std::string CITypeDescriptorImpl::ToString() {
    return KindName(vt_);
}

}  // namespace Ostrel::Zam
