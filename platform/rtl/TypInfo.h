// Published properties: the small table per class through which the component stream reads and
// writes an object's properties by name (C++ has no run-time type information of that kind),
// and the registry of the classes that a stream may create by name.
//
// A class that stores properties declares its table once, chaining to its parent's:
//
//     const rtl::TClassInfo &TDemo::StaticClassInfo() {
//         static const rtl::TClassInfo info =
//             rtl::TClassBuilder<TDemo>("TDemo", &TComponent::StaticClassInfo())
//                 .Int("Width", &TDemo::GetWidth, &TDemo::SetWidth).Default(16)
//                 .Enum("Align", &TDemo::GetAlign, &TDemo::SetAlign, {"alNone", "alTop"})
//                 .Build();
//         return info;
//     }
//
// and overrides TPersistent::ClassInfo() to return it. Properties keep their declaration order,
// the ancestors' first; that is the order in which they are written.
#pragma once

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IdentMap.h"
#include "platform/rtl/System.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

namespace rtl {

class TPersistent;
class TComponent;
class TCollection;
class TCollectionItem;

enum TTypeKind : uint8_t { tkInteger, tkInt64, tkEnumeration, tkSet, tkFloat, tkString, tkClass };
enum TFloatType : uint8_t { ftSingle, ftDouble, ftExtended, ftCurrency, ftDateTime };
// What an object-valued property holds: an object of its own (its properties are stored under
// "Property.Name", a collection as one collection value), or a reference to a component that
// someone else owns (stored as that component's name and resolved once the whole stream is read).
enum TObjectRole : uint8_t { orOwned, orReference };

// One published property. Ordinal values (integers, enumerations, Booleans, sets with member n
// as bit n) travel as int64_t, floating-point ones as long double (currency as its value, not
// in ten-thousandths), object ones as pointers.
struct TPropInfo {
    std::string Name;
    TTypeKind Kind = tkInteger;
    TFloatType FloatType = ftExtended;
    TObjectRole ObjectRole = orOwned;
    bool IsBoolean = false;
    std::vector<std::string> Names; // enumeration values, or set members, by ordinal
    TIdentMap Idents;
    int64_t MinValue = 0;
    int64_t MaxValue = 0;
    // An ordinal or set property equal to its default is not written; without one it always is.
    // A float is not written when 0, a string when empty, an object reference when nil.
    std::optional<int64_t> Default;
    // When given and false, the property is not written.
    std::function<bool(TPersistent &)> Stored;

    std::function<int64_t(TPersistent &)> GetOrd;
    std::function<void(TPersistent &, int64_t)> SetOrd;
    std::function<long double(TPersistent &)> GetFloat;
    std::function<void(TPersistent &, long double)> SetFloat;
    std::function<UnicodeString(TPersistent &)> GetStr;
    std::function<void(TPersistent &, const UnicodeString &)> SetStr;
    // Object properties: the object held (a component for references); may be nullptr.
    std::function<TPersistent *(TPersistent &)> GetObject;
    // References: EReadError "Invalid property value" for a component of the wrong class.
    std::function<void(TPersistent &, TComponent *)> SetReference;
};

// A class's name, parent, own published properties, and how to make one by name: components
// with their owner, collection items inside their collection (both are owned there).
struct TClassInfo {
    std::string Name;
    const TClassInfo *Parent = nullptr;
    // The C++ class the table was built for.
    const std::type_info *Type = nullptr;
    std::vector<TPropInfo> Properties;
    std::function<TComponent *(TComponent *owner)> CreateComponent;
    std::function<TCollectionItem *(TCollection *collection)> CreateItem;

    // The property of that name here or in an ancestor; nullptr when there is none.
    const TPropInfo *FindProperty(std::string_view name) const;
    // Every published property, the ancestors' first, in declaration order.
    std::vector<const TPropInfo *> AllProperties() const;
    bool InheritsFrom(const TClassInfo &ancestor) const;
};

// The classes a stream can create by name. Registering a second class under a name already
// taken raises EFilerError "A class named %s already exists"; registering the same one again
// does nothing.
void RegisterClass(const TClassInfo &info);
void UnRegisterClass(const TClassInfo &info);
// The registered class of that name, or nullptr.
const TClassInfo *GetClass(std::string_view name);
// The same; EClassNotFound "Class %s not found" when there is none.
const TClassInfo &FindClass(std::string_view name);

namespace detail {

template <class V, class = void> struct THasBits : std::false_type {};
template <class V>
struct THasBits<V, std::void_t<decltype(std::declval<const V &>().Bits())>> : std::true_type {};

// Ordinal values as int64_t: integers, enumerations, Booleans, and sets (anything with Bits()
// and FromBits()).
template <class V> int64_t ToOrdinal(const V &v) {
    if constexpr (std::is_same_v<V, bool>) {
        return v ? 1 : 0;
    } else if constexpr (std::is_enum_v<V> || std::is_integral_v<V>) {
        return static_cast<int64_t>(v);
    } else {
        static_assert(THasBits<V>::value, "not an ordinal or set type");
        return static_cast<int64_t>(v.Bits());
    }
}

template <class V> V FromOrdinal(int64_t n) {
    if constexpr (std::is_same_v<V, bool>) {
        return n != 0;
    } else if constexpr (std::is_enum_v<V> || std::is_integral_v<V>) {
        return static_cast<V>(n);
    } else {
        using TBits = decltype(std::declval<const V &>().Bits());
        return V::FromBits(static_cast<TBits>(static_cast<uint64_t>(n)));
    }
}

[[noreturn]] void ThrowInvalidPropertyValue();

} // namespace detail

// Builds a TClassInfo for class T (derived from TPersistent). Getters are member functions (or
// callables) taking T; setters take the getter's value type. Default, Idents and Stored apply
// to the property added last.
template <class T> class TClassBuilder {
public:
    TClassBuilder(std::string className, const TClassInfo *parent) {
        FInfo.Name = std::move(className);
        FInfo.Parent = parent;
        FInfo.Type = &typeid(T);
    }

    // An integer property; 64-bit types (or unsigned 32-bit) are tkInt64.
    template <class G, class S> TClassBuilder &Int(std::string name, G get, S set) {
        using V = TValue<G>;
        static_assert(std::is_integral_v<V> && !std::is_same_v<V, bool> &&
                      !(std::is_unsigned_v<V> && sizeof(V) == 8));
        TPropInfo &p = AddOrdinal<V>(std::move(name), get, set);
        constexpr bool fits32 = int64_t(std::numeric_limits<V>::min()) >= INT32_MIN &&
                                uint64_t(std::numeric_limits<V>::max()) <= INT32_MAX;
        p.Kind = fits32 ? tkInteger : tkInt64;
        p.MinValue = int64_t(std::numeric_limits<V>::min());
        p.MaxValue = int64_t(std::numeric_limits<V>::max());
        return *this;
    }
    // A Boolean property: stored as vaFalse or vaTrue.
    template <class G, class S> TClassBuilder &Bool(std::string name, G get, S set) {
        TPropInfo &p = AddOrdinal<TValue<G>>(std::move(name), get, set);
        p.Kind = tkEnumeration;
        p.IsBoolean = true;
        p.Names = {"False", "True"};
        p.MaxValue = 1;
        return *this;
    }
    // An enumeration property, stored as the name of its value (names by ordinal from 0).
    template <class G, class S>
    TClassBuilder &Enum(std::string name, G get, S set, std::vector<std::string> names) {
        TPropInfo &p = AddOrdinal<TValue<G>>(std::move(name), get, set);
        p.Kind = tkEnumeration;
        p.MaxValue = int64_t(names.size()) - 1;
        p.Names = std::move(names);
        return *this;
    }
    // A set property, stored as the names of its members (names by ordinal, at most 64).
    template <class G, class S>
    TClassBuilder &Set(std::string name, G get, S set, std::vector<std::string> names) {
        TPropInfo &p = AddOrdinal<TValue<G>>(std::move(name), get, set);
        p.Kind = tkSet;
        p.Names = std::move(names);
        return *this;
    }
    template <class G, class S>
    TClassBuilder &Float(std::string name, G get, S set, TFloatType type = ftExtended) {
        using V = TValue<G>;
        TPropInfo &p = Add(std::move(name), tkFloat);
        p.FloatType = type;
        p.GetFloat = [get](TPersistent &o) {
            return static_cast<long double>(std::invoke(get, Self(o)));
        };
        p.SetFloat = [set](TPersistent &o, long double v) {
            std::invoke(set, Self(o), static_cast<V>(v));
        };
        return *this;
    }
    template <class G, class S> TClassBuilder &Str(std::string name, G get, S set) {
        TPropInfo &p = Add(std::move(name), tkString);
        p.GetStr = [get](TPersistent &o) { return UnicodeString(std::invoke(get, Self(o))); };
        p.SetStr = [set](TPersistent &o, const UnicodeString &v) { std::invoke(set, Self(o), v); };
        return *this;
    }
    // An object the instance holds (getter returns a pointer or a reference to it).
    template <class G> TClassBuilder &Object(std::string name, G get) {
        TPropInfo &p = Add(std::move(name), tkClass);
        p.GetObject = [get](TPersistent &o) -> TPersistent * {
            if constexpr (std::is_pointer_v<std::invoke_result_t<G, T &>>) {
                return std::invoke(get, Self(o));
            } else {
                return &std::invoke(get, Self(o));
            }
        };
        return *this;
    }
    // A reference to a component (getter returns a pointer to a TComponent descendant).
    template <class G, class S> TClassBuilder &Reference(std::string name, G get, S set) {
        using P = TValue<G>;
        static_assert(std::is_pointer_v<P>);
        TPropInfo &p = Add(std::move(name), tkClass);
        p.ObjectRole = orReference;
        p.GetObject = [get](TPersistent &o) -> TPersistent * { return std::invoke(get, Self(o)); };
        p.SetReference = [set](TPersistent &o, TComponent *c) {
            P typed = nullptr;
            if (c) {
                typed = dynamic_cast<P>(c);
                if (!typed) {
                    detail::ThrowInvalidPropertyValue();
                }
            }
            std::invoke(set, Self(o), typed);
        };
        return *this;
    }

    template <class V> TClassBuilder &Default(const V &value) {
        FInfo.Properties.back().Default = detail::ToOrdinal(value);
        return *this;
    }
    TClassBuilder &Idents(TIdentMap map) {
        FInfo.Properties.back().Idents = map;
        return *this;
    }
    template <class P> TClassBuilder &Stored(P stored) {
        FInfo.Properties.back().Stored = [stored](TPersistent &o) {
            return bool(std::invoke(stored, Self(o)));
        };
        return *this;
    }

    // The finished table; it can create a T by name when T is made from an owner component or
    // from a collection.
    TClassInfo Build() {
        if constexpr (std::is_constructible_v<T, TComponent *>) {
            FInfo.CreateComponent = [](TComponent *owner) -> TComponent * {
                return new T(owner); // the owner (or the caller, without one) takes it
            };
        }
        if constexpr (std::is_constructible_v<T, TCollection *>) {
            FInfo.CreateItem = [](TCollection *collection) -> TCollectionItem * {
                return new T(collection); // owned by the collection
            };
        }
        return std::move(FInfo);
    }

private:
    template <class G> using TValue = std::remove_cvref_t<std::invoke_result_t<G, T &>>;

    static T &Self(TPersistent &o) { return static_cast<T &>(o); }

    TPropInfo &Add(std::string name, TTypeKind kind) {
        TPropInfo &p = FInfo.Properties.emplace_back();
        p.Name = std::move(name);
        p.Kind = kind;
        return p;
    }

    template <class V, class G, class S> TPropInfo &AddOrdinal(std::string name, G get, S set) {
        TPropInfo &p = Add(std::move(name), tkInteger);
        p.GetOrd = [get](TPersistent &o) {
            return detail::ToOrdinal<V>(std::invoke(get, Self(o)));
        };
        p.SetOrd = [set](TPersistent &o, int64_t v) {
            std::invoke(set, Self(o), detail::FromOrdinal<V>(v));
        };
        return p;
    }

    TClassInfo FInfo;
};

} // namespace rtl
