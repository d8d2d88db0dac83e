#include "script/transcript.h"

namespace daxhost {

void Transcript::Add(std::string text, int script_line) {
    if (live_ != nullptr)
        *live_ << text << std::endl;
    lines_.push_back({std::move(text), script_line});
}

void Transcript::AddScriptError(std::string_view message, int script_line) {
    has_script_errors_ = true;
    Add("? " + std::string(message), script_line);
}

}  // namespace daxhost
