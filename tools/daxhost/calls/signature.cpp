#include "calls/signature.h"

#include <algorithm>

namespace daxhost {

std::string_view LibraryBaseName(Library library) {
    switch (library) {
        case Library::kVek:
            return "vek64";
        case Library::kMorph:
            return "morph64";
        case Library::kDax:
            break;
    }
    return "dax64";
}

bool IsArgumentLetter(char letter) {
    return letter == kTextLetter || letter == kInt32Letter || letter == kPointerLetter ||
           letter == kOutTextLetter || letter == kVariantLetter || letter == kObjectsLetter;
}

ArgumentKind Signature::ArgumentAt(size_t index) const {
    switch (arguments[index]) {
        case kTextLetter:
            return ArgumentKind::kText;
        case kPointerLetter:
            return ArgumentKind::kPointer;
        case kOutTextLetter:
            return ArgumentKind::kOutText;
        case kVariantLetter:
            return ArgumentKind::kVariant;
        case kObjectsLetter:
            return ArgumentKind::kOutObjects;
        default:
            return ArgumentKind::kInt32;
    }
}

const Signature *FindSignature(std::string_view name) {
    const auto all = AllSignatures();
    const auto found =
        std::find_if(all.begin(), all.end(), [name](const Signature &s) { return s.name == name; });
    return found != all.end() ? &*found : nullptr;
}

}  // namespace daxhost
