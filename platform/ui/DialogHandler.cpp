// The process-wide dialog handler.
#include "platform/ui/DialogHandler.h"

namespace ui {

namespace {

TDialogHandler &Current() {
    static TDialogHandler handler;
    return handler;
}

} // namespace

void SetDialogHandler(TDialogHandler handler) {
    Current() = std::move(handler);
}

const TDialogHandler &GetDialogHandler() {
    return Current();
}

TDialogHandlerScope::TDialogHandlerScope(TDialogHandler handler) : FPrevious(Current()) {
    Current() = std::move(handler);
}

TDialogHandlerScope::~TDialogHandlerScope() {
    Current() = std::move(FPrevious);
}

} // namespace ui
