// Several threads adding, deleting, moving and searching in one tree at once: every
// valid call succeeds, and at the end the tree holds exactly what each thread's own
// record of its calls says, node by node.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "dax/tstore_test_support.h"

namespace {

using namespace tstore_test;

constexpr int kThreads = 4;
constexpr auto kRunTime = std::chrono::seconds(3);

// One thread's work in its own group Main.G<n>: items added at the end of A, every
// third round the oldest item of A deleted, every fifth the newest moved to the end
// of B and its attribute Value set to its name; counts, searches and look-ups checked against the
// record on the way.
class Worker {
  public:
    explicit Worker(int index) : group_("Main.G" + std::to_string(index)) {}

    void Run(std::chrono::steady_clock::time_point until) {
        for (int round = 0; std::chrono::steady_clock::now() < until || round < 300; ++round) {
            Add("N" + std::to_string(round));
            if (round % 3 == 2)
                DeleteOldest();
            if (round % 5 == 4)
                MoveNewest();
            if (round % 7 == 6)
                Check_Reads();
            if (round % 11 == 10)
                Read_Whole_Tree();
        }
    }

    const std::deque<std::string> &InA() const { return in_a_; }
    const std::deque<std::string> &InB() const { return in_b_; }
    const std::vector<std::string> &Failures() const { return failures_; }
    int Calls() const { return calls_; }

  private:
    std::string A(const std::string &name) const { return group_ + ".A." + name; }
    std::string B(const std::string &name) const { return group_ + ".B." + name; }

    // A call that must succeed: a negative result is recorded with the thread's
    // error information, which must describe it.
    void Expect(int32_t result, const std::string &what) {
        ++calls_;
        if (result >= 0)
            return;
        const ThreadError error = LastError();
        std::string failure = what + " failed with " + std::to_string(result);
        if (error.code != result)
            failure += " but the thread's error is " + std::to_string(error.code);
        failures_.push_back(failure + ": " + error.description.value_or(""));
    }
    void ExpectEqual(int64_t actual, int64_t expected, const std::string &what) {
        ++calls_;
        if (actual != expected)
            failures_.push_back(what + ": " + std::to_string(actual) + " instead of " +
                                std::to_string(expected));
    }

    void Add(const std::string &name) {
        Expect(T_AddNodeA(A(name).c_str(), 0, -1, 11), "adding " + A(name));
        in_a_.push_back(name);
    }
    void DeleteOldest() {
        if (in_a_.empty())
            return;
        Expect(T_DeleteNodeA(A(in_a_.front()).c_str(), 7, 25), "deleting " + A(in_a_.front()));
        in_a_.pop_front();
    }
    void MoveNewest() {
        if (in_a_.empty())
            return;
        Expect(T_MoveNodeA(A(in_a_.back()).c_str(), (group_ + ".B").c_str(), -1, 53),
               "moving " + A(in_a_.back()));
        const std::string moved = B(in_a_.back()) + "!Value";
        Expect(T_SetA(moved.c_str(), in_a_.back().c_str(), 0x33), "setting " + moved);
        in_b_.push_back(in_a_.back());
        in_a_.pop_back();
    }
    void Check_Reads() {
        ExpectEqual(T_CountNodesA((group_ + ".A.*").c_str(), 0), static_cast<int64_t>(in_a_.size()),
                    "count of " + group_ + ".A");
        if (in_b_.empty())
            return;
        ExpectEqual(T_ExistsA(B(in_b_.back()).c_str()), 1, "existence of " + B(in_b_.back()));
        const std::string &sought = in_b_.front();
        const std::optional<std::string> found =
            Take(T_SearchA((group_ + ".B.N+!Value").c_str(), sought.c_str(), "", 0x33, 1, 0));
        ++calls_;
        const std::string expected = group_ + "[1].B[1]." + sought + "[1]";
        if (found != expected)
            failures_.push_back("search for " + sought + " found " + found.value_or("<null>") +
                                ": " + LastError().description.value_or(""));
    }
    // Reads across every thread's groups: whatever the others are doing, the calls
    // succeed.
    void Read_Whole_Tree() {
        Expect(T_CountNodesA("Main.*", 1), "counting the whole tree");
        Take(T_SearchNextA());
        Take(T_Present_T_Table());
    }

    std::string group_;
    std::deque<std::string> in_a_;
    std::deque<std::string> in_b_;
    std::vector<std::string> failures_;
    int calls_ = 0;
};

// The names of a node's children in order.
std::vector<std::string> ChildNames(const VekTreeNode &node) {
    std::vector<std::string> names;
    for (const VekTreeNode *child = node.FirstChild(); child != nullptr;
         child = child->GetNextSib())
        names.emplace_back(child->GetName());
    return names;
}

const VekTreeNode *Child(const VekTreeNode &node, const std::string &name) {
    for (const VekTreeNode *child = node.FirstChild(); child != nullptr;
         child = child->GetNextSib())
        if (name == child->GetName())
            return child;
    return nullptr;
}

class StoreThreads : public TStoreTest {};

TEST_F(StoreThreads, ConcurrentChangesLeaveEachThreadsNodesAsItMadeThem) {
    HostTree tree("Main");
    Props config = RootConfig(tree.Handle());
    VekPropsSetTextA(config.get(), "Attribute 1", "Value");
    ASSERT_EQ(T_Declare(config.get()), 0);
    for (int n = 0; n < kThreads; ++n) {
        const std::string group = "Main.G" + std::to_string(n);
        ASSERT_GE(T_AddNodeA((group + ".A").c_str(), 128, -1, 11), 0);
        ASSERT_GE(T_AddNodeA((group + ".B").c_str(), 128, -1, 11), 0);
    }

    std::vector<Worker> workers;
    for (int n = 0; n < kThreads; ++n)
        workers.emplace_back(n);
    const auto until = std::chrono::steady_clock::now() + kRunTime;
    std::vector<std::thread> threads;
    for (Worker &worker : workers)
        threads.emplace_back([&worker, until] { worker.Run(until); });
    for (std::thread &t : threads)
        t.join();

    ASSERT_EQ(ChildNames(tree.Root()).size(), static_cast<size_t>(kThreads));
    for (int n = 0; n < kThreads; ++n) {
        const Worker &worker = workers[static_cast<size_t>(n)];
        SCOPED_TRACE("thread " + std::to_string(n) + " after " + std::to_string(worker.Calls()) +
                     " calls");
        EXPECT_EQ(worker.Failures(), std::vector<std::string>{});
        const VekTreeNode *group = Child(tree.Root(), "G" + std::to_string(n));
        ASSERT_NE(group, nullptr);
        ASSERT_EQ(ChildNames(*group), (std::vector<std::string>{"A", "B"}));
        const std::vector<std::string> expected_a(worker.InA().begin(), worker.InA().end());
        const std::vector<std::string> expected_b(worker.InB().begin(), worker.InB().end());
        EXPECT_EQ(ChildNames(*Child(*group, "A")), expected_a);
        EXPECT_EQ(ChildNames(*Child(*group, "B")), expected_b);
    }
}

// Declaring, removing and aliasing trees while other threads use the store: the
// table and the alias list stay whole.
TEST_F(StoreThreads, TablesAndAliasesChangeSafelyUnderUse) {
    constexpr int kRounds = 400;
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int n = 0; n < kThreads; ++n) {
        threads.emplace_back([n, &failures] {
            const std::string name = "Tree" + std::to_string(n);
            const std::string alias = "Alias" + std::to_string(n);
            for (int round = 0; round < kRounds; ++round) {
                HostTree tree(name.c_str());
                if (Declare(tree.Handle()) != 0 ||
                    T_SetAliasA(alias.c_str(), (name + ".X").c_str()) < 0 ||
                    T_AddNodeA((alias + ".Y").c_str(), 0, -1, 11) < 0 ||
                    T_ExistsA((name + ".X.Y").c_str()) != 1 ||
                    Take(T_GetAliasA(alias.c_str())) != name + ".X" ||
                    T_DeleteAliasA(alias.c_str()) < 0 || T_RemoveA(name.c_str()) < 0)
                    ++failures;
            }
        });
    }
    for (std::thread &t : threads)
        t.join();
    EXPECT_EQ(failures.load(), 0);
}

}  // namespace
