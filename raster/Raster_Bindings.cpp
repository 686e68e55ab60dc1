// The routine registries and the global list that owns them.
#include "raster/Raster_Bindings.h"

namespace raster {

namespace {
std::vector<std::unique_ptr<TFunctionRegistry>> &Registries() {
    static std::vector<std::unique_ptr<TFunctionRegistry>> list;
    return list;
}
} // namespace

int32_t DefaultBindingPriority(PFunctionInfo info) {
    const TCPUFeatures have = GetProcessorFeatures();
    return (info->CPUFeatures & ~have) == 0 ? 0 : UnsupportedPriority;
}

void TFunctionRegistry::Clear() {
    FItems.clear();
    FBindings.clear();
}

void TFunctionRegistry::AddProc(int32_t functionID, TProc proc, TCPUFeatures features,
                                int32_t flags) {
    FItems.push_back({functionID, proc, features, flags});
}

TProc TFunctionRegistry::FindFunction(int32_t functionID, TFunctionPriority priority) const {
    if (priority == nullptr) {
        priority = DefaultBindingPriority;
    }
    int32_t best = UnsupportedPriority;
    TProc result = nullptr;
    for (auto it = FItems.rbegin(); it != FItems.rend(); ++it) {
        if (it->FunctionID != functionID) {
            continue;
        }
        const int32_t p = priority(&*it);
        if (p < best) {
            best = p;
            result = it->Proc;
        }
    }
    return result;
}

void TFunctionRegistry::Rebind(int32_t functionID, TFunctionPriority priority) {
    for (const auto &b : FBindings) {
        if (b.FunctionID == functionID) {
            b.Assign(FindFunction(b.FunctionID, priority));
        }
    }
}

void TFunctionRegistry::RebindAll(TFunctionPriority priority) {
    for (const auto &b : FBindings) {
        b.Assign(FindFunction(b.FunctionID, priority));
    }
}

TFunctionRegistry *NewRegistry(const std::string &name) {
    auto registry = std::make_unique<TFunctionRegistry>();
    registry->SetName(name);
    Registries().push_back(std::move(registry));
    return Registries().back().get();
}

const std::vector<std::unique_ptr<TFunctionRegistry>> &RegistryList() {
    return Registries();
}

void RebindAllRegistries() {
    for (const auto &r : Registries()) {
        r->RebindAll();
    }
}

} // namespace raster
