// What a call returned, owned by the host, and how a transcript shows it:
//
//   = 3                         int32 result (decimal)
//   = 0xE2090003                error code (ZamGetLastError); 0 stays 0
//   = "text"   = null           text result, with C escapes; null without an error
//   = pointer  = null           pointer result (its value varies, so it is not shown)
//   = void                      no result
//   = 0, out = "6141"           each output text follows the result
//   = 0, v = i4:12              then each VARIANT passed (variant_argument.h)
//   = 2, objects = [{A=i4:1}, {}]   then each object array stored (object_array.h)
//   ! 0xE2100001 [source] description        a failure, from the thread's error
//   ! 0xFFFFFFFB without error information   a negative status that set no error
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "calls/argument_binding.h"
#include "calls/native_call.h"
#include "calls/signature.h"
#include "script/variables.h"
#include "text/host_text.h"

namespace daxhost {

struct CallOutcome {
    Word result = 0;
    OwnedText text;                          // the result, for text exports
    std::vector<OwnedText> outputs;          // the output texts, in argument order
    std::vector<std::string> variants;       // the VARIANTs after the call, as shown
    std::vector<std::string> object_arrays;  // the object arrays stored, as shown
    int32_t error_code = 0;                  // the thread's error code after the call
};

// Takes ownership of the texts that a call returned or wrote to its outputs.
CallOutcome CollectOutcome(const Signature &signature, Word result, const Binding &binding,
                           const HostFunctions &host);

// Whether the call failed, by the rule of its result kind.
bool IsFailure(const Signature &signature, const CallOutcome &outcome);

std::string FormatSuccess(const Signature &signature, const CallOutcome &outcome);
std::string FormatFailure(const Signature &signature, const CallOutcome &outcome,
                          const ThreadError &error);

// The result as a variable keeps it (for every result kind but void).
Value ResultValue(const Signature &signature, const CallOutcome &outcome);

}  // namespace daxhost
