// Each thread reads only its own error information, however often other threads
// fail at the same time.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "dax64.h"
#include "imports/vek_imports.h"
#include "platform/com.h"
#include "support/taken_text.h"

namespace {

using test_support::Take;

struct Failing_Call {
    std::function<int32_t()> call;  // the failure's code
    int32_t code = 0;               // as seen when the call ran alone
    std::string source;
};

// Four failures with four different codes and sources: the T store, the IString
// and NumStr services and the support library.
std::vector<Failing_Call> Failing_Calls() {
    return {
        {[] { return T_AddNodeA("Main..Bad", 0, -1, 11); }},
        {[] { return Str_IStr_LenA("abc#4"); }},
        {[] { return Str_NumStr_CmpA("1", "PLUS", "2", 10); }},
        {[] {
            return ZamSetErrorInfoA(0x1234, "thread four", "own failure", nullptr, nullptr, 0,
                                    nullptr);
        }},
    };
}

TEST(ErrorInfoThreads, EveryThreadReadsItsOwnFailure) {
    std::vector<Failing_Call> calls = Failing_Calls();
    // Each thread expects what its call gave when it ran alone.
    for (Failing_Call &c : calls) {
        ZamSetErrorInfo(nullptr);
        const int32_t result = c.call();
        ASSERT_LT(result, 0);
        c.code = ZamGetLastError();
        c.source = Take(ZamGetLastErrorSourceA()).value_or("");
        ASSERT_EQ(result, c.code);
    }
    for (size_t i = 0; i < calls.size(); ++i)
        for (size_t j = i + 1; j < calls.size(); ++j)
            ASSERT_NE(calls[i].code, calls[j].code) << i << " and " << j;
    ZamSetErrorInfo(nullptr);

    constexpr int kRounds = 5000;
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (const Failing_Call &c : calls) {
        threads.emplace_back([&c, &mismatches] {
            for (int round = 0; round < kRounds; ++round) {
                const int32_t result = c.call();
                const std::optional<std::string> source = Take(ZamGetLastErrorSourceA());
                if (result != c.code || ZamGetLastError() != c.code ||
                    source.value_or("") != c.source)
                    ++mismatches;
                // A success leaves the thread's error information as it was.
                if (T_CheckNodeNameA("Plain") != 1 || ZamGetLastError() != c.code)
                    ++mismatches;
            }
            ZamSetErrorInfo(nullptr);
        });
    }
    for (std::thread &t : threads)
        t.join();
    EXPECT_EQ(mismatches.load(), 0);
    // The main thread's information was never touched by the others.
    EXPECT_EQ(ZamGetLastError(), 0);
}

// An error object that counts its live references, to see when a thread's error
// information is given up.
class CountedError final : public IErrorInfo {
  public:
    explicit CountedError(std::atomic<int> &live) : live_(live) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        if (!(iid == platform::kIID_IUnknown) && !(iid == platform::kIID_IErrorInfo))
            return E_NOINTERFACE;
        AddRef();
        *object = static_cast<IErrorInfo *>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++live_); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--live_); }
    HRESULT STDMETHODCALLTYPE GetGUID(GUID *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSource(BSTR *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDescription(BSTR *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetHelpFile(BSTR *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetHelpContext(DWORD *) override { return E_NOTIMPL; }

  private:
    std::atomic<int> &live_;
};

// A thread that ends with error information set gives it up as it ends, and a
// thread that replaces its information gives up the old one at once.
TEST(ErrorInfoThreads, EndingThreadReleasesItsErrorInformation) {
    std::atomic<int> live{0};
    CountedError first(live), second(live);
    std::thread worker([&] {
        ZamSetErrorInfo(&first);
        ZamSetErrorInfo(&second);
        EXPECT_EQ(live.load(), 1);  // only `second` is held
    });
    worker.join();
    EXPECT_EQ(live.load(), 0);
    EXPECT_EQ(ZamGetLastError(), 0);  // the main thread saw none of it
}

}  // namespace
