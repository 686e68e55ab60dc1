// Sets of enumeration values, as the class library's set types: up to 64 members, the member
// with ordinal n held in bit n.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace rtl {

// E is an enumeration whose members have the ordinals 0 .. Count - 1.
template <class E, int Count> class TSet {
    static_assert(Count > 0 && Count <= 64, "a set holds 1 to 64 members");

public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> members) {
        for (E m : members) {
            Include(m);
        }
    }

    // The set of every member.
    static constexpr TSet All() { return FromBits(AllBits); }
    // The members whose bits are set in bits (bits beyond Count are dropped).
    static constexpr TSet FromBits(uint64_t bits) {
        TSet s;
        s.FBits = bits & AllBits;
        return s;
    }
    constexpr uint64_t Bits() const { return FBits; }

    constexpr bool Contains(E m) const { return (FBits >> Ordinal(m)) & 1u; }
    constexpr TSet &Include(E m) {
        FBits |= uint64_t(1) << Ordinal(m);
        return *this;
    }
    constexpr TSet &Exclude(E m) {
        FBits &= ~(uint64_t(1) << Ordinal(m));
        return *this;
    }
    // Includes m when on is true, excludes it otherwise.
    constexpr TSet &Set(E m, bool on) { return on ? Include(m) : Exclude(m); }
    constexpr bool Empty() const { return FBits == 0; }

    friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.FBits | b.FBits); }
    friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.FBits & ~b.FBits); }
    friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.FBits & b.FBits); }
    constexpr TSet &operator+=(TSet b) { return *this = *this + b; }
    constexpr TSet &operator-=(TSet b) { return *this = *this - b; }
    constexpr TSet &operator*=(TSet b) { return *this = *this * b; }
    friend constexpr bool operator==(TSet, TSet) = default;

private:
    static constexpr uint64_t AllBits = Count == 64 ? ~uint64_t(0) : (uint64_t(1) << Count) - 1;
    static constexpr int Ordinal(E m) { return static_cast<int>(m); }

    uint64_t FBits = 0;
};

} // namespace rtl
