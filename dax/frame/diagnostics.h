// Diagnostics: the debug level from the environment, the time-stamped debug log,
// internal errors, and the texts of O.S. exceptions.
//
// The debug log goes to an attached debugger, or is appended to a file beside the
// host program: its path with the extension of the file name replaced by "log"
// (C:\Tools\runner.exe gives C:\Tools\runner.log). A file name without an
// extension gets ".log" appended (/usr/bin/runner gives /usr/bin/runner.log), so
// that the log never lands in whatever folder happens to be current and a dot in
// a folder name is never taken for an extension.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "platform/kernel.h"

namespace Ostrel::Zam {

namespace Debug {
class EDebugError : public std::exception {
  public:
    explicit EDebugError(std::string message) : message_(std::move(message)) {}
    const char *what() const noexcept override { return message_.c_str(); }

  private:
    std::string message_;
};
}  // namespace Debug

// The level from "DEBUG", read once per process; bit 0 switches on the module's
// start-up and shut-down lines.
uint32_t DebugLevel();
// The parse of a "DEBUG" text: decimal, or hexadecimal with a "0x" prefix, an 'h'
// suffix or a hexadecimal letter anywhere; anything else gives 0.
uint32_t ParseDebugLevel(std::string_view text);

// Writes one log line (at most 544 characters) to the debugger or the log file.
void DebugLog(const char *format, ...) __attribute__((format(printf, 1, 2)));
// The line for a message: time stamp, host program name, message, cut to 544.
std::string FormatLogLine(const platform::LocalTime &time, std::string_view host_path,
                          std::string_view message);
// The log file for a host program path.
std::string LogFilePathFor(std::string_view host_path);

// Never returns: throws Debug::EDebugError with "Internal error: " and the message,
// after stopping at a breakpoint when a debugger is attached.
[[noreturn]] void InternalError(const char *file, int line, const char *format, ...)
    __attribute__((format(printf, 3, 4)));

// "O.S. exception <code>h at address <address>: <text>", cut to `limit` characters.
std::string FormatOSException(uint32_t code, const void *address, size_t limit);
const char *OSExceptionText(uint32_t code);

}  // namespace Ostrel::Zam
