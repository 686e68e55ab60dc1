// TTimer: calls OnTimer every Interval milliseconds while Enabled.
#pragma once

#include "platform/ui/Control.h"

#include <memory>

namespace ui {

// Ticks arrive through the message loop; an Interval of 0 stops the timer. Default: 1000 ms,
// enabled.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent *owner);
    ~TTimer() override;

    uint32_t GetInterval() const { return FInterval; }
    void SetInterval(uint32_t ms);
    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool value);
    // Runs one tick now (tests drive timers without waiting).
    void FireForTesting();

    TNotifyEvent OnTimer;

    struct Impl;

private:
    void Update();
    std::unique_ptr<Impl> FImpl;
    uint32_t FInterval = 1000;
    bool FEnabled = true;
};

} // namespace ui
