// Ownership: components are freed with their owner, last made first, and leave it when freed.
#include "platform/ui/Component.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace ui;

namespace {

struct Tracked : TComponent {
    Tracked(TComponent *owner, int id, std::vector<int> &log)
        : TComponent(owner), FId(id), FLog(log) {}
    ~Tracked() override { FLog.push_back(FId); }
    int FId;
    std::vector<int> &FLog;
};

} // namespace

TEST(Component, OwnerFreesItsComponentsLastMadeFirst) {
    std::vector<int> log;
    {
        auto owner = std::make_unique<Tracked>(nullptr, 0, log);
        auto *a = new Tracked(owner.get(), 1, log);
        new Tracked(a, 11, log);
        new Tracked(owner.get(), 2, log);
        EXPECT_EQ(owner->GetComponentCount(), 2);
        EXPECT_EQ(a->GetOwner(), owner.get());
    }
    EXPECT_EQ(log, (std::vector<int>{0, 2, 1, 11}));
}

TEST(Component, FreeRemovesFromTheOwner) {
    std::vector<int> log;
    Tracked owner(nullptr, 0, log);
    auto *a = new Tracked(&owner, 1, log);
    auto *b = new Tracked(&owner, 2, log);
    a->SetName(u"pnlTop");
    EXPECT_EQ(owner.FindComponent(u"PNLTOP"), a);
    a->Free();
    EXPECT_EQ(log, (std::vector<int>{1}));
    EXPECT_EQ(owner.GetComponentCount(), 1);
    EXPECT_EQ(owner.GetComponent(0), b);
    EXPECT_EQ(owner.FindComponent(u"pnlTop"), nullptr);
}

TEST(Component, DestroyingAnOwnedComponentDirectlyLeavesNoDanglingEntry) {
    std::vector<int> log;
    Tracked owner(nullptr, 0, log);
    {
        // An owned component whose lifetime someone else ends (a unique_ptr taking it over).
        std::unique_ptr<Tracked> held(new Tracked(&owner, 5, log));
        EXPECT_EQ(owner.GetComponentCount(), 1);
    }
    EXPECT_EQ(owner.GetComponentCount(), 0);
    EXPECT_EQ(log, (std::vector<int>{5}));
}
