#include "calls/call_outcome.h"

#include <cstdio>

#include "text/text_escape.h"

namespace daxhost {

namespace {

std::string Hex(int32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(code));
    return text;
}

std::string ShowText(const OwnedText &text) {
    if (text.IsNull())
        return "null";
    std::string shown = QuoteText(text.Bytes());
    if (!text.IsCounted())
        shown += " (count word " + std::to_string(text.CountWord()) + " does not fit)";
    return shown;
}

std::string ShowResult(const Signature &signature, const CallOutcome &outcome) {
    const int32_t integer = WordAsInt32(outcome.result);
    switch (signature.result) {
        case ResultKind::kStatus:
        case ResultKind::kNumber:
            return std::to_string(integer);
        case ResultKind::kCode:
            return integer == 0 ? "0" : Hex(integer);
        case ResultKind::kText:
            return ShowText(outcome.text);
        case ResultKind::kPointer:
            return outcome.result == 0 ? "null" : "pointer";
        case ResultKind::kVoid:
            break;
    }
    return "void";
}

}  // namespace

CallOutcome CollectOutcome(const Signature &signature, Word result, const Binding &binding,
                           const HostFunctions &host) {
    CallOutcome outcome;
    outcome.result = result;
    if (signature.result == ResultKind::kText)
        outcome.text = OwnedText(reinterpret_cast<char *>(result), host);
    for (const size_t position : binding.output_positions)
        outcome.outputs.emplace_back(binding.outputs[position], host);
    for (const size_t position : binding.variant_positions)
        outcome.variants.push_back(ShowVariant(binding.variants[position].Value()));
    for (const size_t position : binding.object_array_positions)
        outcome.object_arrays.push_back(ShowObjectArray(binding.object_arrays[position].Array()));
    if (signature.error_use == ErrorUse::kReports)
        outcome.error_code = host.last_error();
    return outcome;
}

bool IsFailure(const Signature &signature, const CallOutcome &outcome) {
    if (signature.error_use == ErrorUse::kInspects)
        return false;
    switch (signature.result) {
        case ResultKind::kStatus:
            return WordAsInt32(outcome.result) < 0;
        case ResultKind::kText:
        case ResultKind::kPointer:
            return outcome.result == 0 && outcome.error_code != 0;
        case ResultKind::kNumber:
        case ResultKind::kCode:
        case ResultKind::kVoid:
            break;
    }
    return outcome.error_code != 0;
}

std::string FormatSuccess(const Signature &signature, const CallOutcome &outcome) {
    std::string line = "= " + ShowResult(signature, outcome);
    for (const OwnedText &output : outcome.outputs)
        line += ", out = " + ShowText(output);
    for (const std::string &variant : outcome.variants)
        line += ", v = " + variant;
    for (const std::string &objects : outcome.object_arrays)
        line += ", objects = " + objects;
    return line;
}

std::string FormatFailure(const Signature &signature, const CallOutcome &outcome,
                          const ThreadError &error) {
    const int32_t status = WordAsInt32(outcome.result);
    if (error.code == 0)
        return "! " + Hex(status) + " without error information";
    std::string line = "! " + Hex(error.code) + " [" + EscapeControls(error.source) + "]";
    if (!error.description.empty())
        line += " " + EscapeControls(error.description);
    if (signature.result == ResultKind::kStatus && status != error.code)
        line += " (returned " + Hex(status) + ")";
    return line;
}

Value ResultValue(const Signature &signature, const CallOutcome &outcome) {
    Value value;
    if (signature.result == ResultKind::kText) {
        value.kind = ValueKind::kText;
        if (!outcome.text.IsNull())
            value.text = std::string(outcome.text.Bytes());
    } else if (signature.result == ResultKind::kPointer) {
        value.kind = ValueKind::kPointer;
        value.pointer = reinterpret_cast<void *>(outcome.result);
    } else {
        value.integer = WordAsInt32(outcome.result);
    }
    return value;
}

}  // namespace daxhost
