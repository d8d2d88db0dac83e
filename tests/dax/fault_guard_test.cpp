// Hardware faults inside an export: reported as errors, and the process goes on.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <future>
#include <string>
#include <thread>

#include "dax64.h"
#include "frame/diagnostics.h"
#include "frame_test_support.h"
#include "platform/fault_guard.h"
#include "tstore/table/t_export.h"

namespace {

using dax_test::Code;
using dax_test::LastDescription;
using dax_test::LastSource;
using testing::MatchesRegex;

struct FaultCase {
    int32_t kind;
    int32_t code;
    const char *pattern;
};

const FaultCase kFaults[] = {
    {1, Code(0xC0000005), "^O\\.S\\. exception C0000005h at address .+: Access violation$"},
    {2, Code(0xC0000094), "^O\\.S\\. exception C0000094h at address .+: Integer division by 0$"},
};

TEST(FaultGuard, FaultInsideExportBecomesError) {
    for (const FaultCase &c : kFaults) {
        SCOPED_TRACE(c.kind);
        ZamSetErrorInfo(nullptr);
        EXPECT_EQ(DaxTestFault(c.kind), c.code);
        EXPECT_EQ(ZamGetLastError(), c.code);
        EXPECT_EQ(LastSource(), "dax/test_exports[61]");
        EXPECT_THAT(LastDescription().value_or(""), MatchesRegex(c.pattern));

        // A null argument: the abandoned body holds no text to lose.
        ZamSetErrorInfo(nullptr);
        EXPECT_EQ(DaxTestFaultText(nullptr, c.kind), nullptr);
        EXPECT_EQ(ZamGetLastError(), c.code);
        EXPECT_EQ(LastSource(), "dax/test_exports[66]");
    }
    ZamSetErrorInfo(nullptr);
}

TEST(FaultGuard, ProcessSurvivesRepeatedFaults) {
    int wrong = 0;
    for (int i = 0; i < 100; ++i) {
        const FaultCase &c = kFaults[i % 2];
        if (DaxTestFault(c.kind) != c.code || ZamGetLastError() != c.code)
            ++wrong;
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(DaxTestFault(0), 0);
    EXPECT_EQ(DaxTestFault(17), 17);
    ZamSetErrorInfo(nullptr);
}

TEST(FaultGuard, FaultOnOneThreadLeavesAnotherAlone) {
    int faulting_wrong = 0, raising_wrong = 0;
    int32_t faulting_last = 0, raising_last = 0;
    std::thread faulting([&] {
        for (int i = 0; i < 50; ++i)
            faulting_wrong += DaxTestFault(1) != Code(0xC0000005);
        faulting_last = ZamGetLastError();
        ZamSetErrorInfo(nullptr);
    });
    std::thread raising([&] {
        for (int i = 0; i < 50; ++i) {
            raising_wrong += DaxTestFault(5) != Code(0xE2090003);
            raising_wrong += DaxTestFault(i + 10) != i + 10;
        }
        raising_last = ZamGetLastError();
        ZamSetErrorInfo(nullptr);
    });
    faulting.join();
    raising.join();
    EXPECT_EQ(faulting_wrong, 0);
    EXPECT_EQ(raising_wrong, 0);
    EXPECT_EQ(faulting_last, Code(0xC0000005));
    EXPECT_EQ(raising_last, Code(0xE2090003));
    EXPECT_EQ(ZamGetLastError(), 0);
}

volatile uintptr_t g_unmapped_address = 8;

// Reads from an address that is never mapped (kept free of sanitizer checks, so that
// the hardware fault itself happens).
__attribute__((noinline, no_sanitize("undefined", "address"))) int32_t ReadUnmapped() {
    return *reinterpret_cast<volatile int32_t *>(g_unmapped_address);
}

// A guarded call inside a guarded call: the inner one's fault is the inner one's,
// and once it has been caught the outer guard still catches a fault of its own body.
TEST(FaultGuard, NestedGuardsEachCatchTheirOwnFault) {
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        bool inner_completed = true;
        platform::FaultReport inner_report;
        bool outer_reached_its_fault = false;
        auto outer_body = [&] {
            auto inner_body = [] { ReadUnmapped(); };
            inner_completed = platform::RunGuarded(inner_body, &inner_report);
            // An export called from a guarded body guards itself as well.
            EXPECT_EQ(DaxTestFault(2), Code(0xC0000094));
            outer_reached_its_fault = true;
            ReadUnmapped();
        };
        platform::FaultReport outer_report;
        EXPECT_FALSE(platform::RunGuarded(outer_body, &outer_report));
        EXPECT_FALSE(inner_completed);
        EXPECT_EQ(inner_report.code, 0xC0000005u);
        EXPECT_TRUE(outer_reached_its_fault);
        EXPECT_EQ(outer_report.code, 0xC0000005u);
    }
    // Nothing guarded is left behind: a guard that completes reports success.
    auto quiet = [] {};
    platform::FaultReport report;
    EXPECT_TRUE(platform::RunGuarded(quiet, &report));
    ZamSetErrorInfo(nullptr);
}

// The T store's lock is held around the fault guard, so a fault inside a T export
// still releases it: another thread can take it afterwards.
TEST(FaultGuard, FaultInsideStoreExportReleasesTheStoreLock) {
    // An address in the never-mapped first page, read as the test export reads it.
    static volatile uintptr_t unmapped = 8;
    const int32_t result = Ostrel::Zam::tstore::StoreIntegerExport(
        "test/store_fault",
        []() -> int32_t { return *reinterpret_cast<volatile int32_t *>(unmapped); });
    EXPECT_EQ(result, Code(0xC0000005));
    EXPECT_EQ(LastSource(), "test/store_fault");
    auto taken = std::async(std::launch::async, [] {
        const bool free = Ostrel::Zam::tstore::Store_Lock().try_lock();
        if (free)
            Ostrel::Zam::tstore::Store_Lock().unlock();
        return free;
    });
    EXPECT_TRUE(taken.get());
    EXPECT_EQ(T_ExistsA("Main"), 0);
    ZamSetErrorInfo(nullptr);
}

// The serialised exports' lock: its owner may take it again (an export calling
// another), and only the last unlock lets another thread in.
TEST(SerialLock, RecursiveForItsOwnerExclusiveForOthers) {
    Ostrel::Zam::Serial_Lock lock;
    const auto other_takes_it = [&lock] {
        return std::async(std::launch::async,
                          [&lock] {
                              const bool taken = lock.try_lock();
                              if (taken)
                                  lock.unlock();
                              return taken;
                          })
            .get();
    };
    lock.lock();
    EXPECT_TRUE(lock.try_lock());
    lock.lock();
    lock.unlock();
    lock.unlock();
    EXPECT_FALSE(other_takes_it());
    lock.unlock();
    EXPECT_TRUE(other_takes_it());
}

std::string PointerText(const void *address) {
    char text[40];
    std::snprintf(text, sizeof text, "%p", address);
    return text;
}

TEST(FaultGuard, OSExceptionTexts) {
    struct Case {
        uint32_t code;
        const char *hex;
        const char *text;
    };
    const Case cases[] = {
        {0xC0000005, "C0000005", "Access violation"},
        {0xC0000094, "C0000094", "Integer division by 0"},
        {0xC00000FD, "C00000FD", "Stack overflow"},
        {0x80000003, "80000003", "A breakpoint was encountered"},
        {0x00000001, "1", "Win32 exception"},
    };
    const void *address = &cases;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.hex);
        EXPECT_EQ(Ostrel::Zam::FormatOSException(c.code, address, 255),
                  std::string("O.S. exception ") + c.hex + "h at address " + PointerText(address) +
                      ": " + c.text);
    }

    const std::string full = Ostrel::Zam::FormatOSException(0xC0000006, address, 1000);
    EXPECT_LE(full.size(), 255u);  // the text itself is cut to 196 characters
    for (size_t limit : {size_t{0}, size_t{20}, size_t{60}})
        EXPECT_EQ(Ostrel::Zam::FormatOSException(0xC0000006, address, limit),
                  full.substr(0, limit));
}

// A fault outside every guarded call must reach the handler that was there before
// (by default: the end of the process). Not tested here: it would end this program.

}  // namespace
