// TSpeedButton: a flat tool button that can stay pressed, alone or in a group.
#pragma once

#include "platform/ui/Control.h"

namespace ui {

// Buttons with the same non-zero GroupIndex under one parent form a group: at most one is
// down; clicking an up button presses it and raises the others; clicking the down button
// raises it only with AllowAllUp. With GroupIndex 0, Down cannot be set.
class TSpeedButton : public TControl {
public:
    explicit TSpeedButton(TComponent *owner);

    int32_t GetGroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int32_t v);
    bool GetDown() const { return FDown; }
    void SetDown(bool v);
    bool GetAllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool v);
    bool GetFlat() const { return FFlat; }
    void SetFlat(bool v);

    void Click() override;

protected:
    void TextChanged() override;

private:
    void ApplyDown();
    void RaiseGroupPeers();
    int32_t FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    bool FFlat = false;
};

} // namespace ui
