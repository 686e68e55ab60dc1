// Shared helpers of the ui tests: a recording dialog handler and pixel checks.
#pragma once

#include "platform/gfx/Bitmap.h"
#include "platform/ui/DialogHandler.h"
#include "tests/support/Pixels.h"

#include <string>
#include <vector>

namespace uitest {

struct ShownMessage {
    rtl::UnicodeString text, caption;
    uint32_t flags;
};

// Records every message box (answering OK) and fails on any other dialog unless told.
struct RecordingHandler {
    std::vector<ShownMessage> messages;
    ui::TDialogHandlerScope scope{ui::TDialogHandler{
        [this](const rtl::UnicodeString &t, const rtl::UnicodeString &c, uint32_t f) {
            messages.push_back({t, c, f});
            return 1;
        },
        nullptr, nullptr}};
};

using wbtest::DarkPixels;
using wbtest::IsDark;

} // namespace uitest
