#include "calls/argument_binding.h"

namespace daxhost {

namespace {

std::string_view KindName(ArgumentKind kind) {
    switch (kind) {
        case ArgumentKind::kText:
            return "a text";
        case ArgumentKind::kInt32:
            return "an int32";
        case ArgumentKind::kPointer:
            return "a pointer";
        case ArgumentKind::kVariant:
            return "a VARIANT description (or out or null)";
        case ArgumentKind::kOutText:
        case ArgumentKind::kOutObjects:
            break;
    }
    return "out (or null)";
}

std::string_view KindName(ValueKind kind) {
    switch (kind) {
        case ValueKind::kInt32:
            return "an int32";
        case ValueKind::kText:
            return "a text";
        case ValueKind::kPointer:
            break;
    }
    return "a pointer";
}

ArgumentKind KindOf(ValueKind kind) {
    switch (kind) {
        case ValueKind::kInt32:
            return ArgumentKind::kInt32;
        case ValueKind::kText:
            return ArgumentKind::kText;
        case ValueKind::kPointer:
            break;
    }
    return ArgumentKind::kPointer;
}

Word WordOf(const Value &value) {
    switch (value.kind) {
        case ValueKind::kInt32:
            return IntegerWord(value.integer);
        case ValueKind::kText:
            return value.text ? reinterpret_cast<Word>(value.text->c_str()) : 0;
        case ValueKind::kPointer:
            break;
    }
    return reinterpret_cast<Word>(value.pointer);
}

bool BindVariable(ArgumentKind kind, const std::string &name, const Variables &variables,
                  Word *word, std::string *error) {
    const auto found = variables.find(name);
    if (found == variables.end()) {
        *error = "$" + name + " is not set";
        return false;
    }
    if (KindOf(found->second.kind) != kind) {
        *error = "$" + name + " holds " + std::string(KindName(found->second.kind)) + ", not " +
                 std::string(KindName(kind));
        return false;
    }
    *word = WordOf(found->second);
    return true;
}

// Whether a literal argument form may stand for an argument of `kind`.
bool FormFits(ArgumentForm form, ArgumentKind kind) {
    switch (form) {
        case ArgumentForm::kText:
            return kind == ArgumentKind::kText || kind == ArgumentKind::kVariant;
        case ArgumentForm::kInteger:
            return kind == ArgumentKind::kInt32;
        case ArgumentForm::kNull:
            return kind != ArgumentKind::kInt32;
        case ArgumentForm::kOut:
            return kind == ArgumentKind::kOutText || kind == ArgumentKind::kVariant ||
                   kind == ArgumentKind::kOutObjects;
        case ArgumentForm::kVariable:
            break;
    }
    return kind != ArgumentKind::kOutText && kind != ArgumentKind::kVariant &&
           kind != ArgumentKind::kOutObjects;
}

// A VARIANT argument: a description builds it, `out` passes it empty, `null` passes
// no VARIANT at all.
bool BindVariant(size_t position, const Argument &argument, Binding &binding, Word *word,
                 std::string *error) {
    if (argument.form == ArgumentForm::kNull)
        return true;
    HostVariant &variant = binding.variants[position];
    if (argument.form == ArgumentForm::kText &&
        !ParseVariantDescription(argument.text, variant, error))
        return false;
    *word = reinterpret_cast<Word>(variant.Get());
    binding.variant_positions.push_back(position);
    return true;
}

bool BindOne(ArgumentKind kind, size_t position, const Argument &argument,
             const Variables &variables, Binding &binding, std::string *error) {
    if (!FormFits(argument.form, kind)) {
        *error = "expected " + std::string(KindName(kind));
        return false;
    }
    Word word = 0;
    if (kind == ArgumentKind::kVariant) {
        if (!BindVariant(position, argument, binding, &word, error))
            return false;
        binding.words.push_back(word);
        return true;
    }
    switch (argument.form) {
        case ArgumentForm::kText:
            word = reinterpret_cast<Word>(argument.text.c_str());
            break;
        case ArgumentForm::kInteger:
            word = IntegerWord(argument.integer);
            break;
        case ArgumentForm::kOut:
            if (kind == ArgumentKind::kOutObjects) {
                word = reinterpret_cast<Word>(binding.object_arrays[position].Slot());
                binding.object_array_positions.push_back(position);
                break;
            }
            word = reinterpret_cast<Word>(&binding.outputs[position]);
            binding.output_positions.push_back(position);
            break;
        case ArgumentForm::kVariable:
            if (!BindVariable(kind, argument.text, variables, &word, error))
                return false;
            break;
        case ArgumentForm::kNull:
            break;
    }
    binding.words.push_back(word);
    return true;
}

}  // namespace

bool BindArguments(const Signature &signature, const std::vector<Argument> &arguments,
                   const Variables &variables, Binding &binding, std::string *error) {
    if (arguments.size() != signature.Arity()) {
        *error = std::string(signature.name) + " takes " + std::to_string(signature.Arity()) +
                 (signature.Arity() == 1 ? " argument" : " arguments") + ", not " +
                 std::to_string(arguments.size());
        return false;
    }
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (!BindOne(signature.ArgumentAt(i), i, arguments[i], variables, binding, error)) {
            *error = "argument " + std::to_string(i + 1) + ": " + *error;
            return false;
        }
    }
    return true;
}

}  // namespace daxhost
