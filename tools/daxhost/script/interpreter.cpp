#include "script/interpreter.h"

#include "calls/argument_binding.h"
#include "calls/call_outcome.h"
#include "calls/signature.h"

namespace daxhost {

namespace {

std::string_view TrimRight(std::string_view line) {
    const size_t end = line.find_last_not_of(" \t");
    return end == std::string_view::npos ? std::string_view() : line.substr(0, end + 1);
}

std::string_view TrimLeft(std::string_view line) {
    const size_t start = line.find_first_not_of(" \t");
    return start == std::string_view::npos ? std::string_view() : line.substr(start);
}

}  // namespace

void Interpreter::RunLine(std::string_view line, int line_number) {
    const std::string_view text = TrimRight(line);
    const ParsedLine parsed = ParseScriptLine(text);
    if (parsed.kind == LineKind::kPassThrough) {
        transcript_.Add(std::string(text), line_number);
        return;
    }
    transcript_.Add("> " + std::string(TrimLeft(text)), line_number);
    if (parsed.kind == LineKind::kMalformed)
        transcript_.AddScriptError(parsed.error, line_number);
    else
        RunCall(parsed.call, line_number);
}

void *Interpreter::Resolve(const CallLine &call, const Signature &signature, int line_number) {
    if (!call.target.empty() && signature.result == ResultKind::kVoid) {
        transcript_.AddScriptError(call.export_name + " returns nothing to keep", line_number);
        return nullptr;
    }
    void *function = libraries_.Find(signature.library, signature.name);
    if (function == nullptr)
        transcript_.AddScriptError(call.export_name + " is not exported by " +
                                       std::string(LibraryBaseName(signature.library)),
                                   line_number);
    return function;
}

void Interpreter::RunCall(const CallLine &call, int line_number) {
    const Signature *signature = FindSignature(call.export_name);
    if (signature == nullptr) {
        transcript_.AddScriptError("unknown export " + call.export_name, line_number);
        return;
    }
    Binding binding;
    std::string error;
    if (!BindArguments(*signature, call.arguments, variables_, binding, &error)) {
        transcript_.AddScriptError(error, line_number);
        return;
    }
    void *function = Resolve(call, *signature, line_number);
    if (function == nullptr)
        return;

    const HostFunctions &host = libraries_.Host();
    if (signature->error_use == ErrorUse::kReports && !call.keep_error)
        host.set_error_info(nullptr);
    const Word result = signature->call(function, binding.words);
    const CallOutcome outcome = CollectOutcome(*signature, result, binding, host);

    if (IsFailure(*signature, outcome))
        transcript_.Add(FormatFailure(*signature, outcome, ReadThreadError(host)), line_number);
    else
        transcript_.Add(FormatSuccess(*signature, outcome), line_number);
    if (!call.target.empty())
        variables_[call.target] = ResultValue(*signature, outcome);
}

}  // namespace daxhost
