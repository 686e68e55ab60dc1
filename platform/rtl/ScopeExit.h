// Scope guards: TScopeExit (an action when a scope ends), TValueScope and TFlagScope (a state
// set for a scope and put back), TUpdateScope (a BeginUpdate/EndUpdate bracket).
//
//     const rtl::TScopeExit restore([&]() noexcept { Unlock(); });
//     const rtl::TValueScope updating(FUpdating, true);
//     const rtl::TFlagScope clearing(State, vdstClearing);
//     const rtl::TUpdateScope update(*tabs);
//
// TScopeExit's action must not throw (checked at compile time): it may run while an exception
// leaves the scope. Cleanup that can throw (a notification that runs the user's handlers) stays
// an explicit catch-and-rethrow, so that its exception is not lost, or is a TUpdateScope.
#pragma once

#include <exception>
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

// Gives a variable (a field, a state member) a value for the scope's life and puts back the
// value it had, however the scope ends.
template <class T> class [[nodiscard]] TValueScope {
    static_assert(std::is_nothrow_move_assignable_v<T>, "putting a value back must not throw");

public:
    template <class U>
    TValueScope(T &variable, U &&value)
        : FVariable(variable), FOld(std::exchange(variable, std::forward<U>(value))) {}
    ~TValueScope() { FVariable = std::move(FOld); }
    TValueScope(const TValueScope &) = delete;
    TValueScope &operator=(const TValueScope &) = delete;

private:
    T &FVariable;
    T FOld;
};

template <class T, class U> TValueScope(T &, U &&) -> TValueScope<T>;

// Includes a flag in a set (TSet, or anything with Contains, Include and Exclude), or excludes
// it when on is false, for the scope's life; then puts back whether it was in, however the
// scope ends. A flag that was already in stays in.
template <class TSetType, class E> class [[nodiscard]] TFlagScope {
public:
    TFlagScope(TSetType &set, E flag, bool on = true)
        : FSet(set), FFlag(flag), FWasIn(set.Contains(flag)) {
        Put(on);
    }
    ~TFlagScope() { Put(FWasIn); }
    TFlagScope(const TFlagScope &) = delete;
    TFlagScope &operator=(const TFlagScope &) = delete;

private:
    void Put(bool in) {
        if (in) {
            FSet.Include(FFlag);
        } else {
            FSet.Exclude(FFlag);
        }
    }

    TSetType &FSet;
    E FFlag;
    bool FWasIn;
};

// Calls BeginUpdate on an object now and EndUpdate when the scope ends, however it ends. An
// exception from EndUpdate passes on, except while another exception already leaves the scope:
// that first one is the one the caller sees.
template <class T> class [[nodiscard]] TUpdateScope {
public:
    explicit TUpdateScope(T &object) : FObject(object), FExceptions(std::uncaught_exceptions()) {
        FObject.BeginUpdate();
    }
    ~TUpdateScope() noexcept(false) {
        if (std::uncaught_exceptions() == FExceptions) {
            FObject.EndUpdate();
            return;
        }
        try {
            FObject.EndUpdate();
        } catch (...) {
            // The exception already leaving the scope is the one the caller sees.
        }
    }
    TUpdateScope(const TUpdateScope &) = delete;
    TUpdateScope &operator=(const TUpdateScope &) = delete;

private:
    T &FObject;
    int FExceptions;
};

} // namespace rtl
