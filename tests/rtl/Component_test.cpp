// Ownership: components are freed with their owner, last made first, and leave it when freed.
#include "platform/rtl/Component.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace rtl;

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

TEST(Component, NamesAreIdentifiersUniqueInTheOwner) {
    std::vector<int> log;
    Tracked owner(nullptr, 0, log);
    auto *a = new Tracked(&owner, 1, log);
    auto *b = new Tracked(&owner, 2, log);
    a->SetName(u"btnOk_2");
    struct Case {
        const char16_t *name;
        const char *message;
    };
    const Case cases[] = {
        {u"1st", "'1st' is not a valid component name"},
        {u"has space", "'has space' is not a valid component name"},
        {u"\u0438\u043c\u044f", "'\u0438\u043c\u044f' is not a valid component name"},
        {u"BTNOK_2", "A component named BTNOK_2 already exists"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        try {
            b->SetName(c.name);
            ADD_FAILURE() << "accepted";
        } catch (const EComponentError &e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_EQ(b->GetName(), u"");
    }
    b->SetName(u"_other");
    b->SetName(u"");
    a->SetName(u"BTNOK_2"); // its own name in another case
    EXPECT_EQ(a->GetName(), u"BTNOK_2");
}

namespace {

struct Watcher : TComponent {
    using TComponent::TComponent;
    void Notification(TComponent *component, TOperation operation) override {
        seen.push_back({reinterpret_cast<uintptr_t>(component), operation,
                        dynamic_cast<Tracked *>(component) != nullptr});
    }
    struct Seen {
        uintptr_t component; // compared only: it may be gone
        TOperation operation;
        bool whole; // still of its own class when told
    };
    std::vector<Seen> seen;
};

} // namespace

TEST(Component, FreeNotificationTellsWhicheverOfTheTwoOutlivesTheOther) {
    std::vector<int> log;
    Tracked owner(nullptr, 0, log);
    Watcher watcher(nullptr);
    auto *owned = new Tracked(&owner, 1, log);
    const auto ownedAddress = reinterpret_cast<uintptr_t>(owned);
    owned->FreeNotification(&watcher);
    owned->FreeNotification(&watcher);
    owned->Free();
    ASSERT_EQ(watcher.seen.size(), 1u);
    EXPECT_EQ(watcher.seen[0].component, ownedAddress);
    EXPECT_EQ(watcher.seen[0].operation, opRemove);
    EXPECT_TRUE(watcher.seen[0].whole);

    // Destroyed directly, it tells from its TComponent part: only the pointer is left.
    auto held = std::make_unique<Tracked>(nullptr, 2, log);
    watcher.FreeNotification(held.get());
    const auto gone = reinterpret_cast<uintptr_t>(held.get());
    held.reset();
    ASSERT_EQ(watcher.seen.size(), 2u);
    EXPECT_EQ(watcher.seen[1].component, gone);
    EXPECT_FALSE(watcher.seen[1].whole);

    // The watcher going first is told to the other side, which then tells nobody.
    auto other = std::make_unique<Watcher>(nullptr);
    auto *subject = new Tracked(&owner, 3, log);
    subject->FreeNotification(other.get());
    other.reset();
    subject->Free();
    EXPECT_EQ(watcher.seen.size(), 2u);
}
