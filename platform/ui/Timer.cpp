// TTimer on a native timer.
#include "platform/ui/Timer.h"

#include "platform/gfx/QtBridge_p.h"
#include "platform/ui/QtBridge_p.h"

#include <QTimer>

namespace ui {

struct TTimer::Impl {
    QTimer timer;
};

TTimer::TTimer(TComponent *owner) : TComponent(owner), FImpl(std::make_unique<Impl>()) {
    gfx::qt::EnsureApplication();
    QObject::connect(&FImpl->timer, &QTimer::timeout, [this] { FireForTesting(); });
    Update();
}

TTimer::~TTimer() = default;

void TTimer::SetInterval(uint32_t ms) {
    FInterval = ms;
    Update();
}

void TTimer::SetEnabled(bool value) {
    FEnabled = value;
    Update();
}

void TTimer::Update() {
    if (FEnabled && FInterval > 0) {
        FImpl->timer.start(int(FInterval));
    } else {
        FImpl->timer.stop();
    }
}

void TTimer::FireForTesting() {
    if (OnTimer) {
        qt::CallSafely([this] { OnTimer(this); });
    }
}

} // namespace ui
