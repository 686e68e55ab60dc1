// The scope guards run once, when the scope ends normally or by an exception: the action, the
// value and flag put back, the update bracket closed.
#include "platform/rtl/ScopeExit.h"

#include "platform/rtl/Sets.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

TEST(ScopeExit, RunsItsActionOnceWhenTheScopeEndsHoweverItEnds) {
    std::vector<const char *> log;
    {
        const rtl::TScopeExit done([&]() noexcept { log.push_back("normal"); });
        log.push_back("body");
    }
    try {
        const rtl::TScopeExit done([&]() noexcept { log.push_back("unwound"); });
        throw std::runtime_error("leaves the scope");
    } catch (const std::runtime_error &) {
        log.push_back("caught");
    }
    EXPECT_EQ(log, (std::vector<const char *>{"body", "normal", "unwound", "caught"}));
}

TEST(ValueScope, PutsBackThePreviousValueAlsoWhenAnExceptionLeavesTheScope) {
    std::string field = "old";
    {
        const rtl::TValueScope scope(field, "new");
        EXPECT_EQ(field, "new");
    }
    EXPECT_EQ(field, "old");
    EXPECT_THROW(
        {
            const rtl::TValueScope scope(field, "new");
            throw std::runtime_error("leaves the scope");
        },
        std::runtime_error);
    EXPECT_EQ(field, "old");
}

enum TState { stClearing, stFormatting };
using TStates = rtl::TSet<TState>;

TEST(FlagScope, SetsTheFlagForTheScopeAndPutsBackWhetherItWasIn) {
    struct TCase {
        bool WasIn, On;
    };
    for (const TCase c :
         {TCase{false, true}, TCase{true, true}, TCase{false, false}, TCase{true, false}}) {
        SCOPED_TRACE(::testing::Message() << "was in " << c.WasIn << ", on " << c.On);
        for (const bool raise : {false, true}) {
            TStates states{stFormatting};
            states.Set(stClearing, c.WasIn);
            try {
                const rtl::TFlagScope scope(states, stClearing, c.On);
                EXPECT_EQ(states.Contains(stClearing), c.On);
                if (raise) {
                    throw std::runtime_error("leaves the scope");
                }
            } catch (const std::runtime_error &) {
            }
            EXPECT_EQ(states.Contains(stClearing), c.WasIn) << "raised " << raise;
            EXPECT_TRUE(states.Contains(stFormatting)) << "another flag changed";
        }
    }
}

// Records the bracket's calls; EndUpdate throws on request.
struct TUpdatable {
    std::vector<std::string> Log;
    bool EndThrows = false;
    void BeginUpdate() { Log.push_back("begin"); }
    void EndUpdate() {
        Log.push_back("end");
        if (EndThrows) {
            throw std::logic_error("end failed");
        }
    }
};

TEST(UpdateScope, EndsTheUpdateAlsoWhenAnExceptionLeavesTheScope) {
    TUpdatable object;
    {
        const rtl::TUpdateScope update(object);
        object.Log.push_back("body");
    }
    EXPECT_THROW(
        {
            const rtl::TUpdateScope update(object);
            throw std::runtime_error("leaves the scope");
        },
        std::runtime_error);
    EXPECT_EQ(object.Log, (std::vector<std::string>{"begin", "body", "end", "begin", "end"}));
}

TEST(UpdateScope, AnErrorOfEndUpdatePassesOnButNeverReplacesTheErrorLeavingTheScope) {
    TUpdatable object;
    object.EndThrows = true;
    EXPECT_THROW({ const rtl::TUpdateScope update(object); }, std::logic_error);
    EXPECT_THROW(
        {
            const rtl::TUpdateScope update(object);
            throw std::runtime_error("leaves the scope");
        },
        std::runtime_error);
    EXPECT_EQ(object.Log, (std::vector<std::string>{"begin", "end", "begin", "end"}));
}

} // namespace
