// The debug level, the log line and the log file's place.
#include <gtest/gtest.h>

#include <string>

#include "frame/diagnostics.h"
#include "platform/kernel.h"

namespace {

using namespace Ostrel::Zam;

bool WindowsPaths() {
    return platform::IsPathSeparator('\\');
}

TEST(Diagnostics, ParseDebugLevel) {
    struct Case {
        const char *text;
        uint32_t level;
    };
    const Case cases[] = {
        {"11", 11}, {"0x11", 17}, {"0X11", 17},  {"11h", 17},  {"11H", 17}, {"1A", 26},
        {"1G", 0},  {"FFh", 255}, {"ff", 255},   {"1 ", 0},    {"", 0},     {"0", 0},
        {"-1", 0},  {"1h1", 0},   {"0x1Fh", 31}, {"a1h", 161},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\"");
        EXPECT_EQ(ParseDebugLevel(c.text), c.level);
    }
}

TEST(Diagnostics, FormatLogLine) {
    const platform::LocalTime time{2024, 3, 5, 7, 8, 9, 45};
    EXPECT_EQ(FormatLogLine(time, "/usr/bin/runner", "started"),
              "2024-03-05 07:08:09.045 - runner - started");
    EXPECT_EQ(FormatLogLine(time, "runner", "m"), "2024-03-05 07:08:09.045 - runner - m");
    EXPECT_EQ(FormatLogLine(time, "", "no host"), "2024-03-05 07:08:09.045 - no host");
    if (WindowsPaths()) {
        EXPECT_EQ(FormatLogLine(time, "C:\\Tools\\runner.exe", "x"),
                  "2024-03-05 07:08:09.045 - runner.exe - x");
    }

    const std::string long_message(1000, 'm');
    const std::string line = FormatLogLine(time, "/bin/host", long_message);
    EXPECT_EQ(line.size(), 544u);
    EXPECT_EQ(line.substr(0, 33), "2024-03-05 07:08:09.045 - host - ");
    EXPECT_EQ(line.find_first_not_of('m', 33), std::string::npos);

    const std::string long_name = "/bin/" + std::string(700, 'n');
    EXPECT_EQ(FormatLogLine(time, long_name, "msg").size(), 544u);
}

TEST(Diagnostics, LogFilePathFor) {
    struct Case {
        const char *host;
        const char *log;
    };
    const Case posix_cases[] = {
        {"/usr/bin/runner", "/usr/bin/runner.log"},
        {"/a/b.c/runner", "/a/b.c/runner.log"},
        {"/x/runner.exe", "/x/runner.log"},
        {"/x/runner.tar.gz", "/x/runner.tar.log"},
        {"runner", "runner.log"},
    };
    for (const Case &c : posix_cases) {
        SCOPED_TRACE(c.host);
        EXPECT_EQ(LogFilePathFor(c.host), c.log);
    }
    if (WindowsPaths()) {
        const Case windows_cases[] = {
            {"C:\\Tools\\runner.exe", "C:\\Tools\\runner.log"},
            {"C:\\a.b\\runner", "C:\\a.b\\runner.log"},
            {"D:runner.exe", "D:runner.log"},
        };
        for (const Case &c : windows_cases) {
            SCOPED_TRACE(c.host);
            EXPECT_EQ(LogFilePathFor(c.host), c.log);
        }
    }
}

}  // namespace
