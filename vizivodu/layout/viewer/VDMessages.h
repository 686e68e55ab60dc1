// The viewer's own window messages: the events the documents post to the control (raised when
// the message arrives, after the documents' own handling), the drag start, and the edit-control
// messages of linear character positions.
#pragma once

#include "vizivodu/document/VDUnicode.h"

#include "platform/ui/Messages.h"

#include <cstdint>
#include <utility>

namespace vizivodu {

// WParam 0, LParam: the TVDMessageData, which the control frees after handling.
constexpr uint32_t WM_VDEVENT = ui::WM_USER + 15;
// The root data starts dragging the selection.
constexpr uint32_t WM_VDDRAG = ui::WM_USER + 16;

// Edit-control messages by their numbers; EM_GETTEXTRANGE takes a TVDTextRange.
constexpr uint32_t EM_GETSEL = 0x00B0;
constexpr uint32_t EM_SETSEL = 0x00B1;
constexpr uint32_t EM_GETTEXTRANGE = ui::WM_USER + 75;

struct TVDTextRange {
    int32_t cpMin = 0, cpMax = 0;
    // Receives the characters and a terminating zero; the caller makes it large enough.
    char16_t *lpstrText = nullptr;
};

enum TVDEventType : uint8_t {
    vdetVDDblClick,
    vdetJump,
    vdetVDMouseUp,
    vdetVDMouseDown,
    vdetClick,
    vdetDblClick,
    vdetTripleClick,
    vdetMouseMove,
    vdetDragDrop,
    vdetEndDrag
};

class TVDMessageData {
public:
    explicit TVDMessageData(TVDEventType event) : Event(event) {}
    virtual ~TVDMessageData() = default;
    TVDEventType Event;
};

class TVDClickMessageData : public TVDMessageData {
public:
    TVDClickMessageData() : TVDMessageData(vdetClick) {}
};

class TVDTripleClickMessageData : public TVDMessageData {
public:
    TVDTripleClickMessageData() : TVDMessageData(vdetTripleClick) {}
};

class TVDDblClickMessageData : public TVDMessageData {
public:
    TVDDblClickMessageData(TVDRawByteString clickedWord, int32_t styleNo)
        : TVDMessageData(vdetVDDblClick), ClickedWord(std::move(clickedWord)), StyleNo(styleNo) {}
    TVDRawByteString ClickedWord;
    int32_t StyleNo;
};

class TVDJumpMessageData : public TVDMessageData {
public:
    explicit TVDJumpMessageData(int32_t anId) : TVDMessageData(vdetJump), id(anId) {}
    int32_t id;
};

class TVDMouseMoveMessageData : public TVDMessageData {
public:
    TVDMouseMoveMessageData(TVDEventType event, int32_t x, int32_t y, int32_t itemNo,
                            ui::TShiftState shift)
        : TVDMessageData(event), X(x), Y(y), ItemNo(itemNo), Shift(shift) {}
    int32_t X, Y, ItemNo;
    ui::TShiftState Shift;
};

class TVDMouseUpDownMessageData : public TVDMouseMoveMessageData {
public:
    TVDMouseUpDownMessageData(TVDEventType event, int32_t x, int32_t y, int32_t itemNo,
                              ui::TShiftState shift, ui::TMouseButton button)
        : TVDMouseMoveMessageData(event, x, y, itemNo, shift), Button(button) {}
    ui::TMouseButton Button;
};

class TVDDNDMessageData : public TVDMessageData {
public:
    TVDDNDMessageData(TVDEventType event, int32_t x, int32_t y, void *obj)
        : TVDMessageData(event), X(x), Y(y), Obj(obj) {}
    int32_t X, Y;
    void *Obj; // the drag source or target
};

} // namespace vizivodu
