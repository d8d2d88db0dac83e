// The error model and what the exported-call frame makes of each kind of failure.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "dax64.h"
#include "frame/error_model.h"
#include "frame_test_support.h"

namespace {

using namespace Ostrel::Zam;
using dax_test::Code;
using dax_test::LastDescription;
using dax_test::LastSource;

struct FailureCase {
    int32_t kind;
    int32_t code;
    std::optional<std::string> source;
    std::optional<std::string> description;
};

const FailureCase kFailures[] = {
    {3, Code(0xC0000000), std::nullopt, "Standard exception from the test export"},
    {4, Code(0xC0000000), std::nullopt, std::nullopt},
    {5, Code(0xE2090003), "Test.DaxTestFault", "Data is invalid"},
    {6, Code(0xE2090004), "Test.Fault.With.Colons", "Family code without raise bits"},
    {7, Code(0xC0000000), std::nullopt,
     "Internal error: Assertion failed: kind != 7 (file: dax/test_exports; line: 40)"},
    {8, Code(0xC0000008), std::nullopt, std::nullopt},
};

TEST(ExportFrame, IntegerExportFailures) {
    EXPECT_EQ(DaxTestFault(5), -502726653);
    for (const FailureCase &c : kFailures) {
        SCOPED_TRACE(c.kind);
        ZamSetErrorInfo(nullptr);
        EXPECT_EQ(DaxTestFault(c.kind), c.code);
        EXPECT_EQ(ZamGetLastError(), c.code);
        EXPECT_EQ(LastSource(), c.source);
        EXPECT_EQ(LastDescription(), c.description);
    }
    ZamSetErrorInfo(nullptr);
}

TEST(ExportFrame, TextExportFailuresReturnNull) {
    for (const FailureCase &c : kFailures) {
        SCOPED_TRACE(c.kind);
        ZamSetErrorInfo(nullptr);
        EXPECT_EQ(DaxTestFaultText("argument", c.kind), nullptr);
        EXPECT_EQ(ZamGetLastError(), c.code);
        EXPECT_EQ(LastDescription(), c.description);
    }
    ZamSetErrorInfo(nullptr);
}

TEST(ExportFrame, SuccessLeavesEarlierErrorInPlace) {
    EXPECT_EQ(DaxTestFault(5), Code(0xE2090003));
    EXPECT_EQ(DaxTestFault(0), 0);
    EXPECT_EQ(DaxTestFault(42), 42);

    char *text = DaxTestFaultText("copied", 0);
    ASSERT_NE(text, nullptr);
    int32_t count_word = 0;
    std::memcpy(&count_word, text - sizeof count_word, sizeof count_word);
    EXPECT_EQ(count_word, 6);
    EXPECT_STREQ(text, "copied");
    VekTextFree(text);

    // An empty result is null, and is no failure.
    EXPECT_EQ(DaxTestFaultText("", 0), nullptr);
    EXPECT_EQ(DaxTestFaultText(nullptr, 0), nullptr);

    EXPECT_EQ(ZamGetLastError(), Code(0xE2090003));
    EXPECT_EQ(LastDescription(), "Data is invalid");
    ZamSetErrorInfo(nullptr);
}

EZamError Caught(int32_t code, const char *source, const char *description) {
    try {
        RaiseError(code, source, description);
    } catch (const EZamError &error) {
        return error;
    }
    ADD_FAILURE() << "RaiseError returned";
    return EZamError(ErrorInfoRef());
}

TEST(ErrorModel, ExcepInfoFromRecord) {
    struct Case {
        uint32_t code;
        WORD w_code;
        uint32_t scode;
    };
    const Case cases[] = {
        {0xE2040005, 0, 0xA2040005},  // bit 30 cleared
        {0xE20F0012, 0, 0xA20F0012},  // framework codes too: hosts read only scode
        {0x80070057, 0, 0x80070057},  // a COM code comes back as it was
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        const EZamError error = Caught(Code(c.code), "Src::Name", "What happened");
        EXCEPINFO record;
        std::memset(&record, 0xA5, sizeof record);
        EXPECT_EQ(ErrorToExcepInfo(error, &record), DISP_E_EXCEPTION);
        EXPECT_EQ(record.wCode, c.w_code);
        EXPECT_EQ(static_cast<uint32_t>(record.scode), c.scode);
        EXPECT_EQ(platform::TextFromBstr(record.bstrSource), "Src.Name");
        EXPECT_EQ(platform::TextFromBstr(record.bstrDescription), "What happened");
        EXPECT_EQ(record.bstrHelpFile, nullptr);
        SysFreeString(record.bstrSource);
        SysFreeString(record.bstrDescription);
    }
}

TEST(ErrorModel, ExcepInfoWithoutRecordSetsThreadError) {
    const EZamError error = Caught(Code(0xE20F0012), "Frame", "No record");
    ZamSetErrorInfo(nullptr);
    EXPECT_EQ(ErrorToExcepInfo(error, nullptr), Code(0xE20F0012));
    EXPECT_EQ(ZamGetLastError(), Code(0xE20F0012));
    EXPECT_EQ(LastDescription(), "No record");
    ZamSetErrorInfo(nullptr);
}

TEST(ErrorModel, WhatAndCopies) {
    const EZamError described = Caught(Code(0xE2040001), "S", "Described");
    EXPECT_STREQ(described.what(), "Described");
    EXPECT_STREQ(Caught(Code(0xE3990001), "S", nullptr).what(), "Unknown error");
    EXPECT_STREQ(EZamError(ErrorInfoRef()).what(), "Unknown error");
    EXPECT_EQ(ErrorCodeOf(EZamError(ErrorInfoRef())), kUnknownFailure);

    const EZamError copy(described);
    EXPECT_EQ(copy.Info(), described.Info());
    EXPECT_STREQ(copy.what(), "Described");

    EZamError assigned = Caught(Code(0xE2040002), "S", "Other");
    EXPECT_STREQ(assigned.what(), "Other");
    assigned = described;
    EXPECT_EQ(assigned.Info(), described.Info());
    EXPECT_STREQ(assigned.what(), "Described");
    ZamSetErrorInfo(nullptr);
}

}  // namespace
