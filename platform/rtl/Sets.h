// TSet: the class library's small sets of enumeration values, as a bit mask.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace rtl {

// A set of values of the enumeration E, whose ordinals must lie in 0..Count-1 (at most 64).
// Bits() shows member n as bit n, the form in which sets are stored (FromBits takes it back;
// bits beyond the enumeration are kept as given). All() is the set of the Count members.
template <typename E, int Count = 64> class TSet {
    static_assert(Count > 0 && Count <= 64, "a set holds 1 to 64 members");

public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items) {
        for (E e : items) {
            FBits |= Bit(e);
        }
    }
    static constexpr TSet FromBits(uint64_t bits) {
        TSet s;
        s.FBits = bits;
        return s;
    }
    static constexpr TSet All() {
        return FromBits(Count == 64 ? ~uint64_t(0) : (uint64_t(1) << Count) - 1);
    }
    constexpr uint64_t Bits() const { return FBits; }
    constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TSet &Include(E e) {
        FBits |= Bit(e);
        return *this;
    }
    constexpr TSet &Exclude(E e) {
        FBits &= ~Bit(e);
        return *this;
    }
    // Includes e when on, excludes it otherwise.
    constexpr TSet &Set(E e, bool on) { return on ? Include(e) : Exclude(e); }
    constexpr TSet operator+(TSet other) const { return FromBits(FBits | other.FBits); }
    constexpr TSet operator-(TSet other) const { return FromBits(FBits & ~other.FBits); }
    constexpr TSet operator*(TSet other) const { return FromBits(FBits & other.FBits); }
    constexpr TSet &operator+=(TSet other) { return *this = *this + other; }
    constexpr TSet &operator-=(TSet other) { return *this = *this - other; }
    constexpr TSet &operator*=(TSet other) { return *this = *this * other; }
    friend constexpr bool operator==(TSet, TSet) = default;

private:
    static constexpr uint64_t Bit(E e) { return uint64_t(1) << unsigned(e); }
    uint64_t FBits = 0;
};

} // namespace rtl
