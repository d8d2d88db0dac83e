#include "tstore/nodes/t_child_run.h"

#include <vector>

#include "frame/error_model.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

namespace {

void AddOrRaise(VekTreeNode &group, VekTreeNode *node, int32_t index) {
    if (group.AddChild(node, index) < 0)
        RethrowThreadError();
}

// Children lifted off one side of a group; whatever happens, they go back to that
// side when the run is in (or when inserting it failed).
class LiftedSide {
  public:
    enum class Side { kFront, kBack };

    LiftedSide(VekTreeNode &group, Side side, int32_t count) : group_(group), side_(side) {
        lifted_.reserve(static_cast<size_t>(count));
        for (int32_t i = 0; i < count; ++i) {
            VekTreeNode *child = side == Side::kFront ? group.FirstChild() : group.LastChild();
            child->Remove();
            lifted_.push_back(child);
        }
    }
    LiftedSide(const LiftedSide &) = delete;
    LiftedSide &operator=(const LiftedSide &) = delete;

    // Lifted in order from the side inwards, so putting them back in reverse order
    // at that side restores the group. Neither insertion can fail: the group had
    // room for them before.
    ~LiftedSide() {
        for (auto child = lifted_.rbegin(); child != lifted_.rend(); ++child)
            group_.AddChild(*child, side_ == Side::kFront ? 0 : -1);
    }

  private:
    VekTreeNode &group_;
    Side side_;
    std::vector<VekTreeNode *> lifted_;
};

}  // namespace

void Insert_Children(VekTreeNode &group, int32_t index, std::span<VekTreeNode *const> run) {
    const int32_t count = group.ChildCount();
    if (index < 0 || index == count) {
        for (VekTreeNode *node : run)
            AddOrRaise(group, node, -1);
        return;
    }
    if (run.size() == 1) {
        AddOrRaise(group, run.front(), index);  // one walk from the nearer end
        return;
    }
    if (index <= count - index) {
        // The run goes to the front, last node first, before the lifted front.
        const LiftedSide front(group, LiftedSide::Side::kFront, index);
        for (auto node = run.rbegin(); node != run.rend(); ++node)
            AddOrRaise(group, *node, 0);
        return;
    }
    const LiftedSide back(group, LiftedSide::Side::kBack, count - index);
    for (VekTreeNode *node : run)
        AddOrRaise(group, node, -1);
}

}  // namespace Ostrel::Zam::tstore
