// Published-property tables and the registry of classes by name.
#include "platform/rtl/TypInfo.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace rtl {

namespace {

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}

std::string LowerName(std::string_view name) {
    std::string s(name);
    std::transform(s.begin(), s.end(), s.begin(), AsciiLower);
    return s;
}

struct TRegistry {
    std::mutex Lock;
    std::map<std::string, const TClassInfo *> Classes; // by lower-case name
};

TRegistry &Registry() {
    static TRegistry registry;
    return registry;
}

} // namespace

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

bool IntToIdent(int32_t value, std::string &ident, TIdentMap map) {
    for (const TIdentMapEntry &e : map) {
        if (e.Value == value) {
            ident = e.Name;
            return true;
        }
    }
    return false;
}

bool IdentToInt(std::string_view ident, int32_t &value, TIdentMap map) {
    for (const TIdentMapEntry &e : map) {
        if (SameName(ident, e.Name)) {
            value = e.Value;
            return true;
        }
    }
    return false;
}

const TPropInfo *TClassInfo::FindProperty(std::string_view name) const {
    for (const TClassInfo *c = this; c; c = c->Parent) {
        for (const TPropInfo &p : c->Properties) {
            if (SameName(p.Name, name)) {
                return &p;
            }
        }
    }
    return nullptr;
}

std::vector<const TPropInfo *> TClassInfo::AllProperties() const {
    std::vector<const TClassInfo *> chain;
    for (const TClassInfo *c = this; c; c = c->Parent) {
        chain.push_back(c);
    }
    std::vector<const TPropInfo *> all;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        for (const TPropInfo &p : (*it)->Properties) {
            all.push_back(&p);
        }
    }
    return all;
}

bool TClassInfo::InheritsFrom(const TClassInfo &ancestor) const {
    for (const TClassInfo *c = this; c; c = c->Parent) {
        if (c == &ancestor) {
            return true;
        }
    }
    return false;
}

void RegisterClass(const TClassInfo &info) {
    TRegistry &r = Registry();
    std::lock_guard guard(r.Lock);
    auto [it, inserted] = r.Classes.emplace(LowerName(info.Name), &info);
    if (!inserted && it->second != &info) {
        throw EFilerError("A class named " + info.Name + " already exists");
    }
}

void UnRegisterClass(const TClassInfo &info) {
    TRegistry &r = Registry();
    std::lock_guard guard(r.Lock);
    auto it = r.Classes.find(LowerName(info.Name));
    if (it != r.Classes.end() && it->second == &info) {
        r.Classes.erase(it);
    }
}

const TClassInfo *GetClass(std::string_view name) {
    TRegistry &r = Registry();
    std::lock_guard guard(r.Lock);
    auto it = r.Classes.find(LowerName(name));
    return it == r.Classes.end() ? nullptr : it->second;
}

const TClassInfo &FindClass(std::string_view name) {
    if (const TClassInfo *info = GetClass(name)) {
        return *info;
    }
    throw EClassNotFound("Class " + std::string(name) + " not found");
}

namespace detail {

void ThrowInvalidPropertyValue() {
    throw EReadError(std::string_view("Invalid property value"));
}

} // namespace detail

} // namespace rtl
