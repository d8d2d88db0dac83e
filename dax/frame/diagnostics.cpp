#include "frame/diagnostics.h"

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace Ostrel::Zam {

namespace {

constexpr uint32_t kLevelNotRead = 0x80000000u;
std::atomic<uint32_t> g_debug_level{kLevelNotRead};

constexpr size_t kLogLineLimit = 544;

std::string VFormat(const char *format, va_list arguments) {
    char buffer[1024];
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    return buffer;
}

std::string Format(const char *format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char *format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::string text = VFormat(format, arguments);
    va_end(arguments);
    return text;
}

int HexLetterValue(char c) {
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string_view FileNameOf(std::string_view path) {
    size_t start = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        if (platform::IsPathSeparator(path[i]))
            start = i + 1;
    }
    return path.substr(start);
}

}  // namespace

uint32_t ParseDebugLevel(std::string_view text) {
    std::string_view digits = text;
    uint32_t base = 10;
    if (digits.size() >= 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits.remove_prefix(2);
        base = 16;
    }
    for (;;) {
        uint32_t value = 0;
        bool restart = false;
        for (size_t i = 0; i < digits.size() && !restart; ++i) {
            const char c = digits[i];
            uint32_t digit = 0;
            if ((c == 'h' || c == 'H') && i + 1 == digits.size()) {
                if (base == 16)
                    return value;
                base = 16;
                restart = true;
                continue;
            }
            if (c >= '0' && c <= '9') {
                digit = static_cast<uint32_t>(c - '0');
            } else if (HexLetterValue(c) >= 0) {
                if (base == 10) {
                    base = 16;
                    restart = true;
                    continue;
                }
                digit = static_cast<uint32_t>(HexLetterValue(c));
            } else {
                return 0;
            }
            value = value * base + digit;
        }
        if (!restart)
            return value;
    }
}

uint32_t DebugLevel() {
    const uint32_t cached = g_debug_level.load();
    if ((cached & kLevelNotRead) == 0)
        return cached;
    bool found = false;
    const std::string text = platform::EnvironmentValue("DEBUG", &found);
    const uint32_t level = found ? ParseDebugLevel(text) & ~kLevelNotRead : 0;
    g_debug_level.store(level);
    return level;
}

std::string FormatLogLine(const platform::LocalTime &time, std::string_view host_path,
                          std::string_view message) {
    std::string line = Format("%04u-%02u-%02u %02u:%02u:%02u.%03u - ", time.year, time.month,
                              time.day, time.hour, time.minute, time.second, time.millisecond);
    if (!host_path.empty()) {
        const std::string_view name = FileNameOf(host_path);
        line.append(name.substr(0, std::min(name.size(), 541 - line.size())));
        line.append(" - ");
    }
    line.append(message.substr(0, kLogLineLimit - std::min(kLogLineLimit, line.size())));
    return line.substr(0, kLogLineLimit);
}

std::string LogFilePathFor(std::string_view host_path) {
    if (host_path.empty())
        return platform::IsPathSeparator('\\') ? "c:\\debug.log" : "debug.log";
    const std::string_view name = FileNameOf(host_path);
    const size_t dot = name.rfind('.');
    const size_t keep =
        dot == std::string_view::npos ? host_path.size() : host_path.size() - name.size() + dot;
    return std::string(host_path.substr(0, keep)) + ".log";
}

void DebugLog(const char *format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const std::string message = VFormat(format, arguments);
    va_end(arguments);
    const std::string host = platform::HostExecutablePath();
    const std::string line = FormatLogLine(platform::CurrentLocalTime(), host, message);
    if (platform::IsDebuggerAttached() > 0) {
        platform::DebugOutput(line.c_str());
        return;
    }
    if (FILE *file = std::fopen(LogFilePathFor(host).c_str(), "a")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

void InternalError(const char *file, int line, const char *format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::string text = "Internal error: " + VFormat(format, arguments);
    va_end(arguments);
    if (file != nullptr && *file != '\0') {
        text += line > 0 ? Format(" (file: %.255s; line: %d)", file, line)
                         : Format(" (file: %.255s)", file);
    }
    if (platform::IsDebuggerAttached() > 0) {
        platform::DebugOutput(text.c_str());
        platform::DebugBreak();
    }
    throw Debug::EDebugError(text);
}

const char *OSExceptionText(uint32_t code) {
    switch (code) {
        case 0x80000002:
            return "Alignment error";
        case 0x80000003:
            return "A breakpoint was encountered";
        case 0x80000004:
            return "A trace trap or other single-instruction mechanism signaled that one "
                   "instruction has been executed";
        case 0xC0000005:
            return "Access violation";
        case 0xC0000006:
            return "The thread tried to access a page that was not present, and the system was "
                   "unable to load the page. Possible cause: network error";
        case 0xC000001D:
            return "The thread tried to execute an invalid instruction";
        case 0xC0000025:
            return "The thread tried to continue execution after a noncontinuable exception "
                   "occurred";
        case 0xC0000026:
            return "An exception handler returned an invalid disposition to the exception "
                   "dispatcher";
        case 0xC000008C:
            return "Array index out of bounds";
        case 0xC000008D:
            return "One of the operands in a floating-point operation is denormal (too small)";
        case 0xC000008E:
            return "Floating-point division by 0";
        case 0xC000008F:
            return "The result of a floating-point operation cannot be represented exactly as a "
                   "decimal fraction";
        case 0xC0000090:
            return "Unknown floating-point exception";
        case 0xC0000091:
            return "Floating-point overflow";
        case 0xC0000092:
            return "The floating-point stack overflowed or underflowed";
        case 0xC0000093:
            return "Floating-point stack underflow";
        case 0xC0000094:
            return "Integer division by 0";
        case 0xC0000095:
            return "Integer overflow";
        case 0xC0000096:
            return "The thread tried to execute a privileged instruction";
        case 0xC00000FD:
            return "Stack overflow";
        default:
            return "Win32 exception";
    }
}

std::string FormatOSException(uint32_t code, const void *address, size_t limit) {
    std::string text = Format("O.S. exception %lXh at address %p: %.196s",
                              static_cast<unsigned long>(code), address, OSExceptionText(code));
    if (text.size() > limit)
        text.resize(limit);
    return text;
}

}  // namespace Ostrel::Zam
