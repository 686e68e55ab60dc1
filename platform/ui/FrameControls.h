// The system's drawing of control parts on any canvas: 3-D edges (DrawEdge) and frame controls
// (DrawFrameControl), in the classic look with the system colours.
#pragma once

#include "platform/gfx/Graphics.h"

#include <cstdint>

namespace ui {

// Edge kinds and the Windows values of DrawEdge: an edge is an outer and an inner band of one
// pixel each; raised bands are light at the top and left, sunken ones dark.
enum : uint32_t {
    BDR_RAISEDOUTER = 0x0001,
    BDR_SUNKENOUTER = 0x0002,
    BDR_RAISEDINNER = 0x0004,
    BDR_SUNKENINNER = 0x0008,
    EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
    EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
    EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER,
    EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER,
};
enum : uint32_t {
    BF_LEFT = 0x0001,
    BF_TOP = 0x0002,
    BF_RIGHT = 0x0004,
    BF_BOTTOM = 0x0008,
    BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM,
    BF_MIDDLE = 0x0800, // the inside is filled with clBtnFace
    BF_ADJUST = 0x2000, // the rectangle shrinks by the bands drawn
};
// Frame control kinds and states of DrawFrameControl (the push button only).
enum : uint32_t { DFC_BUTTON = 4 };
enum : uint32_t { DFCS_BUTTONPUSH = 0x0010, DFCS_PUSHED = 0x0200 };

// Draws the bands of edge on the sides of rect that flags name: an outer band (raised:
// clBtnHighlight at the top and left, cl3DDkShadow at the bottom and right; sunken: clBtnShadow
// and clBtnHighlight) and inside it an inner band (raised: cl3DLight and clBtnShadow; sunken:
// cl3DDkShadow and cl3DLight). With BF_ADJUST rect shrinks by what was drawn. False for an empty
// rectangle.
bool DrawEdge(gfx::TCanvas &canvas, gfx::TRect &rect, uint32_t edge, uint32_t flags);
// A push button (DFC_BUTTON with DFCS_BUTTONPUSH): rect filled with clBtnFace inside a raised
// edge (sunken with DFCS_PUSHED). False for other kinds, which draw nothing.
bool DrawFrameControl(gfx::TCanvas &canvas, const gfx::TRect &rect, uint32_t type, uint32_t state);

} // namespace ui
