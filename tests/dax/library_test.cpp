// The module entry point's driving of the Library hooks, and the 8-bit text class.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "frame/ansi_string.h"
#include "frame/export_frame.h"
#include "frame/library.h"
#include "imports/vek_imports.h"

namespace {

using namespace Ostrel::Zam;
using Calls = std::vector<std::string>;

class RecordingLibrary : public Library {
  public:
    int32_t OnStartProcess() override { return Record("StartProcess", start_process_result); }
    int32_t OnExitProcess() override {
        Record("ExitProcess", 0);
        if (exit_process_throws)
            throw std::runtime_error("exit process failed");
        return 0;
    }
    int32_t OnStartThread() override { return Record("StartThread", start_thread_result); }
    int32_t OnExitThread() override { return Record("ExitThread", 0); }

    int32_t start_process_result = 0;
    int32_t start_thread_result = 0;
    bool exit_process_throws = false;
    Calls calls;

  private:
    int32_t Record(const char *hook, int32_t result) {
        calls.emplace_back(hook);
        return result;
    }
};

void *const kModule = reinterpret_cast<void *>(0x1000);

TEST(EntryPoint, FullLife) {
    RecordingLibrary library;
    EntryPoint entry(library);
    EXPECT_EQ(entry.Run(kModule, kProcessAttach), 1);
    EXPECT_EQ(entry.ModuleHandle(), kModule);
    EXPECT_EQ(entry.StartedFlags(), 3u);
    EXPECT_EQ(entry.Run(kModule, kThreadAttach), 1);
    EXPECT_EQ(entry.Run(kModule, kThreadDetach), 1);
    EXPECT_EQ(library.calls, (Calls{"StartProcess", "StartThread", "StartThread", "ExitThread"}));

    library.calls.clear();
    EXPECT_EQ(entry.Run(kModule, kProcessDetach), 1);
    EXPECT_EQ(library.calls, (Calls{"ExitThread", "ExitProcess"}));
    EXPECT_EQ(entry.StartedFlags(), 0u);
    EXPECT_EQ(entry.Run(kModule, kModuleTermination), 1);
    EXPECT_EQ(library.calls.size(), 2u);  // the exit hooks ran once
}

TEST(EntryPoint, FailedStartRunsNoExitHooksLater) {
    const struct {
        int32_t start_process, start_thread;
        Calls calls;
    } cases[] = {
        {5, 0, {"StartProcess"}},
        // A failed thread start ends the process at once.
        {0, 3, {"StartProcess", "StartThread", "ExitProcess"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.start_process);
        RecordingLibrary library;
        library.start_process_result = c.start_process;
        library.start_thread_result = c.start_thread;
        EntryPoint entry(library);
        EXPECT_EQ(entry.Run(kModule, kProcessAttach), 0);
        EXPECT_EQ(entry.StartedFlags(), 0u);
        EXPECT_EQ(entry.Run(kModule, kProcessDetach), 1);
        EXPECT_EQ(entry.Run(kModule, kModuleTermination), 1);
        EXPECT_EQ(library.calls, c.calls);
    }
}

TEST(EntryPoint, ThrowingHookFailsOnce) {
    RecordingLibrary library;
    library.exit_process_throws = true;
    EntryPoint entry(library);
    ASSERT_EQ(entry.Run(kModule, kProcessAttach), 1);
    EXPECT_EQ(entry.Run(kModule, kProcessDetach), 0);  // reported on stderr
    EXPECT_EQ(library.calls, (Calls{"StartProcess", "StartThread", "ExitThread", "ExitProcess"}));
    EXPECT_EQ(entry.Run(kModule, kModuleTermination), 1);
    EXPECT_EQ(library.calls.size(), 4u);
}

int32_t CountWord(const char *text) {
    int32_t count = 0;
    std::memcpy(&count, text - sizeof count, sizeof count);
    return count;
}

TEST(AnsiString, OwnershipAndArguments) {
    char *const raw = VekTextNewA("adopted", -1);
    AnsiString text = AnsiString::Adopt(raw);
    EXPECT_EQ(text.View(), "adopted");
    EXPECT_EQ(text.Release(), raw);
    EXPECT_TRUE(text.Empty());
    EXPECT_STREQ(text.CStr(), "");
    VekTextFree(raw);
    EXPECT_TRUE(AnsiString::Adopt(nullptr).Empty());
    { const AnsiString owned = AnsiString::Adopt(VekTextNewA("freed by the string", -1)); }

    EXPECT_TRUE(AnsiString::FromArgument(nullptr).Empty());
    EXPECT_TRUE(AnsiString::FromArgument("").Empty());
    const char argument[] = "argument";
    const AnsiString copy = AnsiString::FromArgument(argument);
    EXPECT_NE(copy.CStr(), argument);
    EXPECT_EQ(CountWord(copy.CStr()), 8);  // a counted text, ready to hand out
}

// Arguments are copied into the frame's own buffer up to its size, and into a heap
// block beyond it; either way the body reads a copy, never the caller's text.
TEST(ArgumentText, CopiesShortAndLongTexts) {
    EXPECT_TRUE(TextArgument(nullptr).Empty());
    EXPECT_TRUE(TextArgument("").Empty());
    for (size_t size : {size_t{1}, ArgumentText::kInlineBytes - 1, ArgumentText::kInlineBytes,
                        ArgumentText::kInlineBytes + 1, size_t{5000}}) {
        std::string caller(size, 'x');
        caller.back() = 'y';
        const ArgumentText argument = TextArgument(caller.c_str());
        caller.assign(size, 'z');  // the caller's text changes under the call
        EXPECT_EQ(argument.View().size(), size);
        EXPECT_EQ(argument.View().back(), 'y') << size;
        EXPECT_NE(argument.View().data(), caller.data());
        const AnsiString kept = argument;  // as a counted text, for bodies that keep it
        EXPECT_EQ(kept.View(), argument.View());
    }
}

TEST(AnsiString, AppendCopyAndMove) {
    AnsiString text;
    std::string expected;
    for (int i = 0; i < 500; ++i) {
        text += "ab";
        expected += "ab";
    }
    EXPECT_EQ(text.View(), expected);
    EXPECT_EQ(CountWord(text.CStr()), 1000);
    EXPECT_EQ(text.CStr()[1000], '\0');
    text += text.View();  // from its own buffer
    EXPECT_EQ(text.View(), expected + expected);

    AnsiString copy(text);
    EXPECT_NE(copy.CStr(), text.CStr());
    EXPECT_EQ(copy.View(), text.View());
    const AnsiString moved(std::move(copy));
    EXPECT_TRUE(copy.Empty());  // NOLINT(bugprone-use-after-move): the moved-from string is empty
    EXPECT_EQ(moved.Length(), 2000u);
    ASSERT_EQ(VekArrayCopy_(reinterpret_cast<void **>(copy.Out()), "out", -1, 1), 3);
    EXPECT_EQ(copy.View(), "out");
}

}  // namespace
