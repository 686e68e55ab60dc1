// Shared helpers of the ui tests: a recording dialog handler and pixel checks.
#pragma once

#include "platform/gfx/Bitmap.h"
#include "platform/ui/DialogHandler.h"

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

inline bool IsDark(gfx::TColor c) {
    const uint32_t v = uint32_t(c);
    return ((v & 0xFF) + ((v >> 8) & 0xFF) + ((v >> 16) & 0xFF)) < 3 * 128;
}

// Number of dark pixels in the rectangle of the image.
inline int DarkPixels(gfx::TBitmap &b, const gfx::TRect &r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y) {
        for (int x = r.Left; x < r.Right; ++x) {
            n += IsDark(b.GetCanvas().GetPixel(x, y)) ? 1 : 0;
        }
    }
    return n;
}

} // namespace uitest
