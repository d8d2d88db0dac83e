// Syntax of node paths, attribute paths and identifiers, and T_CheckNodeNameA.
#include <gtest/gtest.h>

#include <string>

#include "tstore/paths/t_syntax.h"
#include "tstore_test_support.h"

namespace {

using namespace Ostrel::Zam::tstore;
using tstore_test::Code;
using tstore_test::LastError;
using tstore_test::ThreadError;

// The thread's error after a check that must fail; a check that passes gives code 0.
template <class Check>
ThreadError Failure(Check check, const std::string &text) {
    ZamSetErrorInfo(nullptr);
    try {
        check(text);
    } catch (const std::exception &) {
        return LastError();
    }
    return {};
}

ThreadError PathFault(const std::string &path) {
    return {Code(0xE204000B), "T.Check_Node_Path_Syntax", "Node path is invalid: '" + path + "'"};
}

ThreadError IdentifierFault(const std::string &identifier) {
    return {Code(0xE2040009), "T.Check_Node_Identifier_Syntax",
            "Node identifier is invalid: '" + identifier + "'"};
}

TEST(TStorePathSyntax, AcceptsNamesWithTwinIndexes) {
    for (const char *path : {"Root", "Root.A[-1]", "Root.A[12]", "Root.A[007].B", "R/x.a b:c,'d'",
                             "Root[2].A", "Root.(x)-y_z"})
        EXPECT_EQ(Failure(Check_Node_Path_Syntax, path).code, 0) << path;
}

TEST(TStorePathSyntax, RefusesEachMalformedPath) {
    EXPECT_EQ(Failure(Check_Node_Path_Syntax, ""),
              (ThreadError{Code(0xE204000B), "T.Check_Node_Path_Syntax",
                           "Node path is invalid (empty)"}));
    for (const char *path :
         {".Root",       "Root.",        "Root..A",      "Root.A[0]",  "Root.A[]",    "Root.A[x]",
          "Root.A[1]b",  "Root.A]",      "Root.[1]",     "Root.A[-2]", "Root.A[1]]",  "Root.A[[1]",
          "Root.A[#]",   "Root.A*",      "Root!x",       "Root.A[+1]", ".",           "Root.A[1].",
          "Root.A]x[1]", "Root.A[1]x.B", "Root.A[1][2]", "Ro!t.A[1]",  "Root.A[1].B!"})
        EXPECT_EQ(Failure(Check_Node_Path_Syntax, path), PathFault(path)) << path;
}

TEST(TStorePathSyntax, CutsTheQuotedPathToItsPrecision) {
    const std::string path = "Root." + std::string(300, 'a') + "#";
    EXPECT_EQ(Failure(Check_Node_Path_Syntax, path), PathFault(path.substr(0, 231)));
}

TEST(TStoreIdentifierSyntax, AcceptsWildcards) {
    for (const char *identifier : {"Root.A[#]", "Root.*", "Root.A?.B*", "Root.+[2]", "Ro*t.A[-1]",
                                   "Root.*.+", "R+.A+.B+[#]"})
        EXPECT_EQ(Failure(Check_Node_Identifier_Syntax, identifier).code, 0) << identifier;
}

TEST(TStoreIdentifierSyntax, RefusesMisplacedWildcards) {
    for (const char *identifier :
         {"", "Root.A+B+", "Root.A+*", "Root.?+", "Root..*", "Root.A[##]", "Root.A[0]", "Root.A!",
          "Root.[#]", "Root.+[#]+", "Root.*.+?", "Root+.B+C+"})
        EXPECT_EQ(Failure(Check_Node_Identifier_Syntax, identifier), IdentifierFault(identifier))
            << identifier;
}

TEST(TStoreAttributeSyntax, ChecksTheNodePartAndTheName) {
    EXPECT_EQ(Failure(Check_Attribute_Path_Syntax, "Root.A!Speed (max)").code, 0);
    EXPECT_EQ(Failure(Check_Attribute_Path_Syntax, "Root.A!Sp.eed"),
              (ThreadError{Code(0xE2040005), "T.Check_Attribute_Path_Syntax",
                           "Attribute path is invalid: 'Root.A!Sp.eed'"}));
    EXPECT_EQ(Failure(Check_Attribute_Path_Syntax, "Root..A!Speed"), PathFault("Root..A"));
    // Nothing after the mark: the whole text is a node path.
    EXPECT_EQ(Failure(Check_Attribute_Path_Syntax, "Root.A!"), PathFault("Root.A!"));
    EXPECT_EQ(Failure(Check_Attribute_Identifier_Syntax, "Root.*!Speed").code, 0);
    EXPECT_EQ(Failure(Check_Attribute_Identifier_Syntax, "Root.*!Sp*"),
              (ThreadError{Code(0xE2040009), "T.Check_Attribute_Identifier_Syntax",
                           "Attribute identifier is invalid: 'Root.*!Sp*'"}));
    EXPECT_EQ(Failure(Check_Attribute_Identifier_Syntax, "Root.A+*!x"),
              IdentifierFault("Root.A+*"));
}

TEST(TStoreCheckNodeName, AnswersWithoutRaising) {
    for (const char *name : {"Port", "a/b", "with blank", "it's", "(x),-_:"})
        EXPECT_EQ(T_CheckNodeNameA(name), 1) << name;
    ZamSetErrorInfo(nullptr);
    EXPECT_EQ(T_CheckNodeNameA(""), 0);
    EXPECT_EQ(T_CheckNodeNameA(nullptr), 0);
    EXPECT_EQ(ZamGetLastError(), 0);
    for (const char *name : {"a.b", "a!", "a[1]", "#"})
        EXPECT_EQ(T_CheckNodeNameA(name), 0) << name;
    EXPECT_EQ(T_CheckNodeNameA("x.y#z"), 0);
    EXPECT_EQ(LastError().description, "Invalid character: '#' at position 4");
}

}  // namespace
