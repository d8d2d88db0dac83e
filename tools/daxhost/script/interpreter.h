// Runs a script line by line: passes comments and blank lines through, echoes each
// call line ("> " and the line), calls the export and adds its outcome. A line the
// host cannot run adds "? " and the reason; the run goes on with the next line.
#pragma once

#include <string_view>

#include "calls/export_libraries.h"
#include "calls/signature.h"
#include "script/script_line.h"
#include "script/transcript.h"
#include "script/variables.h"

namespace daxhost {

class Interpreter {
  public:
    Interpreter(const ExportLibraries &libraries, Transcript &transcript)
        : libraries_(libraries), transcript_(transcript) {}

    void RunLine(std::string_view line, int line_number);

  private:
    void RunCall(const CallLine &call, int line_number);
    // The export's address, or null after adding the reason it cannot be called.
    void *Resolve(const CallLine &call, const Signature &signature, int line_number);

    const ExportLibraries &libraries_;
    Transcript &transcript_;
    Variables variables_;
};

}  // namespace daxhost
