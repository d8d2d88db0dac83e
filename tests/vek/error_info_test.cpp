// Error-information objects, message tables and the per-thread current error.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/com.h"
#include "platform/kernel.h"
#include "vek64.h"
#include "vek64_com.h"

namespace {

using Ostrel::Zam::IErrorInfoExA;
using Ostrel::Zam::kIID_IErrorInfoExA;
using platform::ComPtr;

// A counted text handed out by the library, or nullopt for null.
std::optional<std::string> Take(char *text) {
    if (text == nullptr)
        return std::nullopt;
    std::string value(text, static_cast<size_t>(VekTextLength(text)));
    VekTextFree(text);
    return value;
}

ComPtr<IErrorInfoExA> Create(uint32_t code, const char *source, const char *description,
                             IErrorInfoExA *inner = nullptr) {
    ComPtr<IErrorInfoExA> info;
    EXPECT_EQ(ZamCreateErrorInfoA(static_cast<int32_t>(code), source, description, nullptr, nullptr,
                                  0, inner, &kIID_IErrorInfoExA, info.OutVoid()),
              S_OK);
    return info;
}

std::optional<std::string> DescriptionOf(const ComPtr<IErrorInfoExA> &info) {
    char *text = nullptr;
    EXPECT_EQ(info->GetDescriptionA(&text), S_OK);
    return Take(text);
}

TEST(ErrorInfo, CreateKeepsEveryField) {
    const unsigned char dump[] = {1, 2, 0, 255};
    ComPtr<IErrorInfoExA> info;
    ASSERT_EQ(ZamCreateErrorInfoA(0x12345, "Vek.Test", "Something failed", "help://topic", dump,
                                  sizeof dump, nullptr, &kIID_IErrorInfoExA, info.OutVoid()),
              S_OK);
    int32_t code = 0;
    info->GetNumber(&code);
    EXPECT_EQ(code, 0x12345);  // stored as given: only a raise adds the top bits
    char *text = nullptr;
    info->GetSourceA(&text);
    EXPECT_EQ(Take(text), "Vek.Test");
    EXPECT_EQ(DescriptionOf(info), "Something failed");
    const void *data = nullptr;
    uint32_t size = 0;
    info->GetDump(&data, &size);
    ASSERT_EQ(size, sizeof dump);
    EXPECT_NE(data, static_cast<const void *>(dump));  // a copy owned by the object
    EXPECT_EQ(std::memcmp(data, dump, sizeof dump), 0);

    // The time stamp is today's automation date (day 0 is 1899-12-30).
    using namespace std::chrono;
    const platform::LocalTime now = platform::CurrentLocalTime();
    const sys_days today{year{static_cast<int>(now.year)} / static_cast<int>(now.month) /
                         static_cast<int>(now.day)};
    double stamp = 0;
    info->GetTimeStamp(&stamp);
    EXPECT_NEAR(std::floor(stamp), (today - sys_days{year{1899} / 12 / 30}).count(), 1.0);

    // Empty texts come back as null.
    ComPtr<IErrorInfoExA> bare = Create(1, nullptr, "");
    bare->GetSourceA(&text);
    EXPECT_EQ(Take(text), std::nullopt);
    EXPECT_EQ(DescriptionOf(bare), std::nullopt);
}

TEST(ErrorInfo, InnerErrorIsKept) {
    ComPtr<IErrorInfoExA> inner = Create(0x22, "Inner", "inner failure");
    ComPtr<IErrorInfoExA> outer = Create(0x11, "Outer", "outer failure", inner.Get());
    const IErrorInfoExA *const inner_object = inner.Get();
    inner = ComPtr<IErrorInfoExA>();  // the outer object holds its own reference
    ComPtr<IErrorInfoExA> got;
    ASSERT_EQ(outer->GetInnerError(got.Out()), S_OK);
    EXPECT_EQ(got.Get(), inner_object);
    EXPECT_EQ(DescriptionOf(got), "inner failure");
    Create(0x11, "Outer", "alone")->GetInnerError(got.Out());
    EXPECT_FALSE(got);
}

TEST(ErrorInfo, StandardErrorInfoView) {
    ComPtr<IErrorInfoExA> info = Create(0x7, "Vek.View", "Seen through IErrorInfo");
    ComPtr<IErrorInfo> standard;
    ASSERT_EQ(info->QueryInterface(platform::kIID_IErrorInfo, standard.OutVoid()), S_OK);
    platform::Bstr source, description;
    EXPECT_EQ(standard->GetSource(source.Out()), S_OK);
    EXPECT_EQ(standard->GetDescription(description.Out()), S_OK);
    EXPECT_EQ(source.Text(), "Vek.View");
    EXPECT_EQ(SysStringLen(source.Get()), 8u);
    EXPECT_EQ(description.Text(), "Seen through IErrorInfo");
}

// The wide twins read and write the same fields as the 8-bit interfaces: a text
// written wide reads back 8-bit and the other way round, the help link's parts
// included, and the inner chain is reachable from either side.
TEST(ErrorInfo, WideTwinsShareTheFields) {
    using Ostrel::Zam::ICreateErrorInfoExB;
    using Ostrel::Zam::IErrorInfoExB;
    ComPtr<IErrorInfoExA> inner = Create(0x22, "Inner", "inner failure");
    ComPtr<IErrorInfoExA> info = Create(0x7, "Vek.Wide", "first", inner.Get());
    ComPtr<ICreateErrorInfoExB> writer;
    ComPtr<IErrorInfoExB> reader;
    ASSERT_EQ(info->QueryInterface(Ostrel::Zam::kIID_ICreateErrorInfoExB, writer.OutVoid()), S_OK);
    ASSERT_EQ(info->QueryInterface(Ostrel::Zam::kIID_IErrorInfoExB, reader.OutVoid()), S_OK);

    platform::Bstr description(platform::BstrFromText("written wide"));
    platform::Bstr link(platform::BstrFromText("guide.chm#Ports"));
    EXPECT_EQ(writer->SetDescriptionB(description.Get()), S_OK);
    EXPECT_EQ(writer->SetHelpLinkB(link.Get()), S_OK);
    EXPECT_EQ(writer->SetNumber(0x1234), S_OK);
    EXPECT_EQ(DescriptionOf(info), "written wide");
    platform::Bstr source, keyword, file;
    reader->GetSourceB(source.Out());
    reader->GetHelpKeywordB(keyword.Out());
    reader->GetHelpFileB(file.Out());
    EXPECT_EQ(source.Text(), "Vek.Wide");
    EXPECT_EQ(keyword.Text(), "Ports");
    EXPECT_EQ(file.Text(), "guide.chm");
    int32_t code = 0;
    info->GetNumber(&code);
    EXPECT_EQ(code, 0x1234);

    ComPtr<IErrorInfoExB> chained;
    ASSERT_EQ(reader->GetInnerError(chained.Out()), S_OK);
    ASSERT_TRUE(chained);
    platform::Bstr inner_description;
    chained->GetDescriptionB(inner_description.Out());
    EXPECT_EQ(inner_description.Text(), "inner failure");

    // A null or empty wide text clears the field.
    EXPECT_EQ(writer->SetDescriptionB(nullptr), S_OK);
    EXPECT_EQ(DescriptionOf(info), std::nullopt);
    EXPECT_EQ(reader->GetSourceB(nullptr), E_POINTER);
}

TEST(ErrorMessages, NullDescriptionTakesRegisteredFamilyText) {
    const char *const texts[] = {"First made-up failure", "Second made-up failure"};
    {
        // A family no library of the system uses.
        vek::DenseErrorMessages table(0x23450000u, 0xE3450001u, texts);
        EXPECT_EQ(DescriptionOf(Create(0xE3450001u, "S", nullptr)), "First made-up failure");
        EXPECT_EQ(DescriptionOf(Create(0xE3450002u, "S", nullptr)), "Second made-up failure");
        EXPECT_EQ(DescriptionOf(Create(0xE3450003u, "S", nullptr)), std::nullopt);
        EXPECT_EQ(DescriptionOf(Create(0xE3460001u, "S", nullptr)), std::nullopt);
        EXPECT_EQ(DescriptionOf(Create(0xE3450001u, "S", "Own")), "Own");

        // A raise adds the top bits before the table is asked.
        EXPECT_EQ(ZamSetErrorInfoA(0x23450002, "Vek.Raise", nullptr, nullptr, nullptr, 0, nullptr),
                  static_cast<int32_t>(0xE3450002u));
        EXPECT_EQ(Take(ZamGetLastErrorDescriptionA()), "Second made-up failure");
    }
    // Unregistered when the table went away.
    EXPECT_EQ(DescriptionOf(Create(0xE3450001u, "S", nullptr)), std::nullopt);
    ZamSetErrorInfo(nullptr);
}

TEST(ThreadError, SetGetAndClear) {
    ZamSetErrorInfo(nullptr);
    void *object = &object;
    EXPECT_EQ(ZamGetErrorInfo(nullptr, &object), S_FALSE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(ZamGetLastError(), 0);
    EXPECT_EQ(ZamGetLastErrorSourceA(), nullptr);

    EXPECT_EQ(ZamSetErrorInfoA(0x22090003, "Vek.Set", "Set here", nullptr, nullptr, 0, nullptr),
              static_cast<int32_t>(0xE2090003u));
    EXPECT_EQ(ZamGetLastError(), static_cast<int32_t>(0xE2090003u));
    EXPECT_EQ(Take(ZamGetLastErrorSourceA()), "Vek.Set");
    EXPECT_EQ(Take(ZamGetLastErrorDescriptionA()), "Set here");

    // The thread keeps a reference of its own to what it was given.
    ZamSetErrorInfo(Create(0xC0001111u, "Made", "by hand").Get());
    EXPECT_EQ(ZamGetLastError(), static_cast<int32_t>(0xC0001111u));
    ComPtr<IErrorInfoExA> current;
    ASSERT_EQ(ZamGetErrorInfo(nullptr, current.OutVoid()), S_OK);
    EXPECT_EQ(DescriptionOf(current), "by hand");

    EXPECT_EQ(ZamSetErrorInfo(nullptr), 0);
    EXPECT_EQ(ZamGetLastError(), 0);
    EXPECT_EQ(ZamGetErrorInfo(&kIID_IErrorInfoExA, current.OutVoid()), S_FALSE);
}

TEST(ThreadError, EachThreadHasItsOwn) {
    ZamSetErrorInfoA(0x1000, "Vek.Main", "main thread", nullptr, nullptr, 0, nullptr);
    struct Seen {
        int32_t before = -1, after = -1;
        std::optional<std::string> source;
    } seen[2];
    // A rendezvous of the two workers. A mutex and condition variable rather than
    // std::latch: MinGW's libstdc++ 12 builds atomic waits on a proxy that can miss
    // a wake-up, which left this test hanging under Wine now and then.
    std::mutex mutex;
    std::condition_variable arrived;
    int waiting = 2;
    auto both_set = [&] {
        std::unique_lock lock(mutex);
        if (--waiting == 0)
            arrived.notify_all();
        else
            arrived.wait(lock, [&] { return waiting == 0; });
    };
    auto work = [&both_set](Seen &out, int32_t code, const char *source) {
        out.before = ZamGetLastError();
        ZamSetErrorInfoA(code, source, "worker", nullptr, nullptr, 0, nullptr);
        both_set();  // the other thread has set its own by now
        out.after = ZamGetLastError();
        out.source = Take(ZamGetLastErrorSourceA());
        ZamSetErrorInfo(nullptr);
    };
    std::thread first(work, std::ref(seen[0]), 0x2001, "Vek.First");
    std::thread second(work, std::ref(seen[1]), 0x2002, "Vek.Second");
    first.join();
    second.join();

    EXPECT_EQ(seen[0].before, 0);
    EXPECT_EQ(seen[1].before, 0);
    EXPECT_EQ(seen[0].after, static_cast<int32_t>(0xC0002001u));
    EXPECT_EQ(seen[1].after, static_cast<int32_t>(0xC0002002u));
    EXPECT_EQ(seen[0].source, "Vek.First");
    EXPECT_EQ(seen[1].source, "Vek.Second");
    EXPECT_EQ(ZamGetLastError(), static_cast<int32_t>(0xC0001000u));
    ZamSetErrorInfo(nullptr);
}

}  // namespace
