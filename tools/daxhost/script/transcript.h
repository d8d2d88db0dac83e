// The lines a run produces, each with the number of the script line behind it.
// Lines go to a stream as they come (so that a crash still leaves the lines
// before it) or are only collected for comparison with an expected file.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace daxhost {

struct TranscriptLine {
    std::string text;
    int script_line = 0;
};

class Transcript {
  public:
    // `live` receives every line as it is added; null collects only.
    explicit Transcript(std::ostream *live) : live_(live) {}

    void Add(std::string text, int script_line);
    // A line the host could not run: "? " and the message.
    void AddScriptError(std::string_view message, int script_line);

    const std::vector<TranscriptLine> &Lines() const { return lines_; }
    bool HasScriptErrors() const { return has_script_errors_; }

  private:
    std::ostream *live_;
    std::vector<TranscriptLine> lines_;
    bool has_script_errors_ = false;
};

}  // namespace daxhost
