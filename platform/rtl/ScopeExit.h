// TScopeExit: an action that runs when a scope ends, however it ends; C++'s form of the class
// library's try/finally where no object owns what has to be undone.
//
//     const rtl::TScopeExit restore([&]() noexcept { Unlock(); });
//
// The action must not throw (checked at compile time): it may run while an exception leaves the
// scope. Cleanup that can throw (a notification that runs the user's handlers) stays an explicit
// catch-and-rethrow, so that its exception is not lost.
#pragma once

#include <type_traits>
#include <utility>

namespace rtl {

template <class F> class [[nodiscard]] TScopeExit {
    static_assert(std::is_nothrow_invocable_v<F &>, "a scope-exit action must not throw");

public:
    explicit TScopeExit(F action) noexcept(std::is_nothrow_move_constructible_v<F>)
        : FAction(std::move(action)) {}
    ~TScopeExit() { FAction(); }
    TScopeExit(const TScopeExit &) = delete;
    TScopeExit &operator=(const TScopeExit &) = delete;

private:
    F FAction;
};

} // namespace rtl
