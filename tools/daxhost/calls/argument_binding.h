// Turns the arguments of a call line into the machine words of the call, after
// checking each against the kind its signature asks for.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "calls/native_call.h"
#include "calls/object_array.h"
#include "calls/signature.h"
#include "calls/variant_argument.h"
#include "script/script_line.h"
#include "script/variables.h"

namespace daxhost {

struct Binding {
    std::vector<Word> words;
    // The output texts, at the positions of their arguments; each starts null.
    std::array<char *, kMaxArguments> outputs{};
    std::vector<size_t> output_positions;
    // The VARIANTs passed (not the null ones), at the positions of their arguments;
    // cleared when the binding goes.
    std::array<HostVariant, kMaxArguments> variants;
    std::vector<size_t> variant_positions;
    // The object arrays the call stores, at the positions of their arguments;
    // destroyed when the binding goes.
    std::array<HostObjectArray, kMaxArguments> object_arrays;
    std::vector<size_t> object_array_positions;
};

// Fills `binding` (whose words then point into `arguments` and `variables`, which
// must outlive the call); false with `error` set when an argument does not fit.
bool BindArguments(const Signature &signature, const std::vector<Argument> &arguments,
                   const Variables &variables, Binding &binding, std::string *error);

}  // namespace daxhost
