// Registries of routine variants: each routine id may have several variants that need different
// processor features; binding picks one per routine variable once, at start-up.
#pragma once

#include "raster/Raster_System.h"

#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace raster {

using TProc = void (*)();

struct TFunctionInfo {
    int32_t FunctionID = 0;
    TProc Proc = nullptr;
    TCPUFeatures CPUFeatures = 0;
    int32_t Flags = 0;
};
using PFunctionInfo = const TFunctionInfo *;

// Lower is better; UnsupportedPriority is never chosen.
using TFunctionPriority = int32_t (*)(PFunctionInfo);
constexpr int32_t UnsupportedPriority = INT32_MAX;

// 0 when every feature the variant needs is present, otherwise UnsupportedPriority.
int32_t DefaultBindingPriority(PFunctionInfo info);

class TFunctionRegistry {
public:
    TFunctionRegistry() = default;
    TFunctionRegistry(const TFunctionRegistry &) = delete;
    TFunctionRegistry &operator=(const TFunctionRegistry &) = delete;

    void Clear();
    template <class F>
    void Add(int32_t functionID, F proc, TCPUFeatures features, int32_t flags = 0) {
        AddProc(functionID, reinterpret_cast<TProc>(proc), features, flags);
    }
    // The variable keeps its value until Rebind or RebindAll runs.
    template <class F> void RegisterBinding(int32_t functionID, F *bindVariable) {
        FBindings.push_back(
            {functionID, [bindVariable](TProc p) { *bindVariable = reinterpret_cast<F>(p); }});
    }
    // Walks the variants from the last added to the first; the first strictly best one wins,
    // so among equally good variants the one added last is chosen. Nil when none is supported.
    TProc FindFunction(int32_t functionID, TFunctionPriority priority = nullptr) const;
    void Rebind(int32_t functionID, TFunctionPriority priority = nullptr);
    void RebindAll(TFunctionPriority priority = nullptr);

    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
    PFunctionInfo GetItems(int32_t index) const { return &FItems.at(index); }
    void SetItems(int32_t index, const TFunctionInfo &value) { FItems.at(index) = value; }
    const std::string &GetName() const { return FName; }
    void SetName(std::string name) { FName = std::move(name); }

private:
    struct TBinding {
        int32_t FunctionID;
        std::function<void(TProc)> Assign;
    };
    void AddProc(int32_t functionID, TProc proc, TCPUFeatures features, int32_t flags);

    std::vector<TFunctionInfo> FItems;
    std::vector<TBinding> FBindings;
    std::string FName;
};

// Creates a registry owned by the global registry list.
TFunctionRegistry *NewRegistry(const std::string &name);
// Every registry made by NewRegistry, in creation order.
const std::vector<std::unique_ptr<TFunctionRegistry>> &RegistryList();
// RebindAll with the default priority on every registry, in creation order.
void RebindAllRegistries();

} // namespace raster
