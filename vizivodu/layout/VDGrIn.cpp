// The base graphic interface: the operations it implements itself, and the abstract ones.
#include "vizivodu/layout/VDGrIn.h"

#include "platform/rtl/Exceptions.h"

namespace vizivodu {

namespace {

[[noreturn]] void RaiseAbstractError() {
    throw rtl::EAbstractError("Abstract Error");
}

} // namespace

void TVDGraphicInterface::SetTextAlign(gfx::TCanvas &, uint32_t) {
    RaiseAbstractError();
}

uint32_t TVDGraphicInterface::GetTextAlign(gfx::TCanvas &) {
    RaiseAbstractError();
}

int32_t TVDGraphicInterface::GetTextCharacterExtra(gfx::TCanvas &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::SetTextCharacterExtra(gfx::TCanvas &, int32_t) {
    RaiseAbstractError();
}

void TVDGraphicInterface::FillRect(gfx::TCanvas &canvas, const rtl::TRect &r) {
    canvas.FillRect(r);
}

void TVDGraphicInterface::FillRectAlpha(gfx::TCanvas &, const rtl::TRect &, gfx::TColor, uint8_t) {
    RaiseAbstractError();
}

} // namespace vizivodu
