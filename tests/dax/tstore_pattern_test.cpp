// Identifiers as patterns, and matching nodes against them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tstore/paths/t_node_path.h"
#include "tstore/paths/t_pattern.h"
#include "tstore_test_support.h"

namespace {

using namespace Ostrel::Zam::tstore;
using tstore_test::Add;
using tstore_test::HostTree;

constexpr const char kOne[] = "{0-9a-zA-Z_()/, :'-}";
constexpr const char kRun[] = "<0-9a-zA-Z_()/, :'->";

TEST(TStorePatterns, WriteWildcardsAsClassesAndCompleteIndexes) {
    EXPECT_EQ(Identifier_To_Pattern("Root.?"), std::string("Root.") + kOne + "[1]");
    EXPECT_EQ(Identifier_To_Pattern("Root.P+[#]"), std::string("Root.P") + kRun + "[#]");
    EXPECT_EQ(Identifier_To_Pattern("Root.*"), "Root.*");
    EXPECT_EQ(Identifier_To_Pattern("Root.A*.B"), "Root.A*.B[1]");
    EXPECT_EQ(Identifier_To_Pattern("R?"), std::string("R") + kOne);
    EXPECT_EQ(Identifier_Fixed_Prefix("Root.A.B?.C"), "Root.A");
    EXPECT_EQ(Identifier_Fixed_Prefix("Root.A[#].B"), "Root");
    EXPECT_EQ(Identifier_Fixed_Prefix("Root.A.B"), "Root.A.B");
    EXPECT_EQ(Identifier_Fixed_Prefix("*.A"), "");
}

TEST(TStorePatterns, DescriptorNamesTheStoresWildcards) {
    const auto *bytes = static_cast<const char *>(Wildcard_Descriptor());
    EXPECT_EQ(std::string(bytes + 5, 11), std::string("?*\0{~-}#\0<>", 11));
    for (int i : {0, 4, 16, 35})
        EXPECT_EQ(bytes[i], 0) << i;
}

// Root: A, A (with X, X), B (with C).
class TStoreMatching : public ::testing::Test {
  protected:
    TStoreMatching()
        : a1_(Add(tree_.Root(), "A")),
          a2_(Add(tree_.Root(), "A")),
          b_(Add(tree_.Root(), "B")),
          x1_(Add(a2_, "X")),
          x2_(Add(a2_, "X")),
          c_(Add(b_, "C")) {}

    bool Matches(const VekTreeNode &node, const char *identifier) const {
        return Match_Identifier(Full_Path_Of_Node(node, nullptr), Identifier_To_Pattern(identifier),
                                node);
    }

    HostTree tree_{"Root"};
    VekTreeNode &a1_, &a2_, &b_, &x1_, &x2_, &c_;
};

TEST_F(TStoreMatching, QuestionMarkAndPlusStayInOneName) {
    EXPECT_TRUE(Matches(b_, "Root.?"));
    EXPECT_TRUE(Matches(a1_, "Root.?"));
    EXPECT_FALSE(Matches(a2_, "Root.?"));  // only first twins without [#]
    EXPECT_TRUE(Matches(a2_, "Root.?[#]"));
    EXPECT_FALSE(Matches(c_, "Root.+"));
    EXPECT_TRUE(Matches(c_, "Root.+.+"));
    EXPECT_TRUE(Matches(c_, "Root.*"));
    EXPECT_TRUE(Matches(x2_, "root.a[2].x[2]"));
}

TEST_F(TStoreMatching, MinusOneMatchesOnlyLastTwins) {
    EXPECT_TRUE(Matches(a2_, "Root.A[-1]"));
    EXPECT_FALSE(Matches(a1_, "Root.A[-1]"));
    EXPECT_TRUE(Matches(x2_, "Root.A[-1].X[-1]"));
    EXPECT_TRUE(Matches(x2_, "Root.A[2].X[-1]"));
    EXPECT_FALSE(Matches(x1_, "Root.A[-1].X[-1]"));
    EXPECT_TRUE(Matches(c_, "Root.B[-1].C[-1]"));
    EXPECT_FALSE(Matches(c_, "Root.B[-1]"));
}

TEST_F(TStoreMatching, MinusOneAcrossStars) {
    EXPECT_TRUE(Matches(a2_, "Root.*[-1]"));
    EXPECT_FALSE(Matches(a1_, "Root.*[-1]"));
    EXPECT_TRUE(Matches(x2_, "Root*[-1].X[-1]"));
    EXPECT_FALSE(Matches(x1_, "Root*[-1].X[-1]"));
    EXPECT_TRUE(Matches(c_, "Ro*[-1].C[-1]"));
    EXPECT_TRUE(Matches(x2_, "*[-1]*[-1]"));
    EXPECT_FALSE(Matches(x1_, "*[-1]*[-1]"));
}

// A walk keeps one compiled pattern for all its nodes: every answer must be the
// one a pattern made afresh for that node gives, whatever was matched before.
TEST_F(TStoreMatching, AKeptPatternAnswersAsAFreshOne) {
    const std::vector<const VekTreeNode *> nodes = {&tree_.Root(), &a1_, &a2_, &x1_,
                                                    &x2_,          &b_,  &c_};
    for (const char *identifier :
         {"Root.?", "Root.?[#]", "Root.*", "Root.A[-1].X[-1]", "Root.A[2].X[-1]", "Root*[-1].X[-1]",
          "*[-1]*[-1]", "Root.+.+", "ROOT.b[-1].c"}) {
        const std::string pattern = Identifier_To_Pattern(identifier);
        const Identifier_Pattern kept(pattern);
        for (int round = 0; round < 2; ++round) {
            for (const VekTreeNode *node : nodes) {
                const std::string path = Full_Path_Of_Node(*node, nullptr);
                EXPECT_EQ(Match_Identifier(path, kept, *node),
                          Match_Identifier(path, Identifier_Pattern(pattern), *node))
                    << identifier << " " << path;
            }
        }
    }
}

TEST_F(TStoreMatching, FullPathsCountTwinsFromTheStopNode) {
    EXPECT_EQ(Full_Path_Of_Node(x2_, nullptr), "Root.A[2].X[2]");
    EXPECT_EQ(Full_Path_Of_Node(x2_, &a2_), "A.X[2]");
    EXPECT_EQ(Full_Path_Of_Node(tree_.Root(), nullptr), "Root");
    EXPECT_EQ(Twin_Index(tree_.Root()), 1);
    EXPECT_EQ(Twin_Count(tree_.Root()), 0);
    EXPECT_EQ(Twin_Count(a1_), 2);
}

}  // namespace
