// Caret movement by keys: left and right by stops and words, home and end, up and down aiming
// at a kept x, page up and down; with Shift the selection end follows the caret.
#include "vizivodu/editing/data/VDEVDData.h"

#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/layout/formatting/DLines.h"

#include <algorithm>

namespace vizivodu {

void TVDEditVDData::UpdateSelectionEnd() {
    const TVDCharPos &stop = CharEnds[static_cast<size_t>(CaretOffs)];
    FSelEndNo = stop.DrawItemNo;
    FSelEndOffs = stop.Offset;
}

void TVDEditVDData::FinishMove(bool shift) {
    if (shift) {
        if (FSelStartNo < 0) {
            GetSelStart(FSelStartNo, FSelStartOffs);
        }
        UpdateSelectionEnd();
    } else {
        FSelStartNo = FSelEndNo = -1;
        FSelStartOffs = FSelEndOffs = 0;
    }
    ChangeCaret(false, true, false, false);
}

// Characters a Ctrl+Left passes from item position p (the characters before the caret).
int32_t TVDEditVDData::WordLeftCount(int32_t itemNo, int32_t p) {
    const TVDRawByteString &text = GetItem(itemNo)->ItemText;
    const TVDItemOptions options = GetItem(itemNo)->ItemOptions;
    const TVDCodePage codePage = GetItemCodePage(itemNo);
    auto delim = [&](int32_t n) { return IsDelimiter(text, n, options, codePage); };
    auto space = [&](int32_t n) { return IsItemTextSpaceAt(text, n, options); };
    int32_t i = 1;
    while (p - i >= 1) {
        const int32_t n = p - i; // the character passed next
        const bool wordStart =
            (delim(n) && !delim(n + 1)) || (!delim(n) && delim(n + 1) && !space(n + 1));
        if (wordStart) {
            break;
        }
        ++i;
    }
    return i;
}

// Characters a Ctrl+Right passes from 1-based position p (before character p).
int32_t TVDEditVDData::WordRightCount(int32_t itemNo, int32_t p) {
    const TVDRawByteString &text = GetItem(itemNo)->ItemText;
    const TVDItemOptions options = GetItem(itemNo)->ItemOptions;
    const TVDCodePage codePage = GetItemCodePage(itemNo);
    const int32_t length = ItemLength(itemNo);
    auto delim = [&](int32_t n) { return IsDelimiter(text, n, options, codePage); };
    auto space = [&](int32_t n) { return IsItemTextSpaceAt(text, n, options); };
    int32_t count = 0;
    while (p <= length) {
        const bool wordStart = (space(p - 1) && !space(p)) || (delim(p - 1) && !delim(p)) ||
                               (!delim(p - 1) && !space(p) && delim(p));
        if (wordStart) {
            break;
        }
        ++p;
        ++count;
    }
    return count;
}

bool TVDEditVDData::OnLeftPress(bool shift, bool ctrl) {
    const TVDCharPos stop = CharEnds[static_cast<size_t>(CaretOffs)];
    const TVDDrawLineInfo &d = *DrawItems[stop.DrawItemNo];
    const int32_t p = stop.Offset + d.Offs - 2;
    if (ctrl && GetItem(d.ItemNo)->IsText() && p > 0) {
        const int32_t i = WordLeftCount(d.ItemNo, p);
        if (i <= CaretOffs &&
            CharEnds[static_cast<size_t>(CaretOffs - i)].DrawItemNo == stop.DrawItemNo) {
            CaretOffs -= i;
        } else {
            SetCaretToItem(d.ItemNo, p - i + 1);
            MoveCaretOffMarker(false);
        }
    } else if (CaretOffs == 0) {
        const int32_t first = CharEnds[0].DrawItemNo;
        if (first == 0) {
            return true;
        }
        const int32_t oldDrawItem = CaretDrawItemNo, oldOffs = CaretOffs;
        CaretDrawItemNo = first - 1;
        if (GetItem(DrawItems[CaretDrawItemNo]->ItemNo)->StyleNo == StyleNoListMarker &&
            CaretDrawItemNo == 0) {
            CaretDrawItemNo = oldDrawItem;
            OnChangeCaretLine(GetOffsBeforeDrawItem(first) - 2);
            CaretOffs = oldOffs;
            return true;
        }
        OnChangeCaretLine(GetOffsAfterDrawItem(CaretDrawItemNo) - 2);
        MoveCaretOffMarker(false);
    } else {
        --CaretOffs;
    }
    FinishMove(shift);
    return false;
}

bool TVDEditVDData::OnRightPress(bool shift, bool ctrl) {
    auto stepRight = [&]() {
        if (CaretOffs + 1 < static_cast<int32_t>(CharEnds.size())) {
            ++CaretOffs;
            return true;
        }
        const int32_t last = CharEnds.back().DrawItemNo;
        if (last + 1 >= DrawItems.Count()) {
            return false;
        }
        CaretDrawItemNo = last + 1;
        OnChangeCaretLine(GetOffsBeforeDrawItem(CaretDrawItemNo) - 2);
        MoveCaretOffMarker(true);
        return true;
    };
    if (!stepRight()) {
        return true;
    }
    if (ctrl) {
        const TVDCharPos &stop = CharEnds[static_cast<size_t>(CaretOffs)];
        const TVDDrawLineInfo &d = *DrawItems[stop.DrawItemNo];
        const int32_t p = d.Offs + stop.Offset - 1;
        if (GetItem(d.ItemNo)->IsText() && p >= 2) {
            const int32_t count = WordRightCount(d.ItemNo, p);
            const int32_t target = CaretOffs + count;
            if (target < static_cast<int32_t>(CharEnds.size()) &&
                CharEnds[static_cast<size_t>(target)].DrawItemNo == stop.DrawItemNo) {
                CaretOffs = target;
            } else if (count > 0) {
                SetCaretToItem(d.ItemNo, p + count);
            }
        }
    }
    FinishMove(shift);
    return false;
}

bool TVDEditVDData::OnHomePress(bool shift, bool ctrl) {
    if (ctrl) {
        CaretDrawItemNo = 0;
        OnChangeCaretLine(GetOffsBeforeDrawItem(0) - 2);
    }
    CaretOffs = 0;
    CaretDrawItemNo = CharEnds[0].DrawItemNo;
    FinishMove(shift);
    return ctrl;
}

bool TVDEditVDData::OnEndPress(bool shift, bool ctrl) {
    if (ctrl) {
        CaretDrawItemNo = DrawItems.Count() - 1;
        OnChangeCaretLine(0);
    }
    CaretOffs = static_cast<int32_t>(CharEnds.size()) - 1;
    CaretDrawItemNo = CharEnds.back().DrawItemNo;
    FinishMove(shift);
    return ctrl;
}

void TVDEditVDData::MoveVertically(int32_t index, bool up, bool shift, bool ctrl) {
    if (ctrl || FUpDownMovingX == INT_MAX) {
        const int32_t x = CharEnds[static_cast<size_t>(CaretOffs)].X;
        if (ctrl) {
            FUpDownMovingX = FUpDownMovingX == INT_MAX ? x : FUpDownMovingX;
        } else {
            FUpDownMovingX = x;
        }
    }
    const int32_t aimX = ctrl ? CharEnds[static_cast<size_t>(CaretOffs)].X : FUpDownMovingX;
    const TVDDrawLineInfo &target = *DrawItems[index];
    int32_t y = GetTransformedDItemTop(index) + (target.Height >= 2 ? 1 : 0);
    if (!up) {
        y -= target.GetExtraSpaceAbove();
    }
    int32_t no = -1, offs = -1;
    FindDrawItemForSel(aimX, y, no, offs, false, true, true, false);
    if (no < 0) {
        return;
    }
    CaretDrawItemNo = no;
    OnChangeCaretLine(offs - 2);
    MoveCaretOffMarker(true);
    FinishMove(shift);
}

void TVDEditVDData::ParagraphJump(bool up, bool shift) {
    int32_t d = CharEnds[static_cast<size_t>(CaretOffs)].DrawItemNo;
    if (up) {
        if (CaretOffs == 0 && d > 0) {
            --d;
            if (d > 0 && GetItem(DrawItems[d]->ItemNo)->StyleNo == StyleNoListMarker) {
                --d;
            }
        }
        while (d > 0 && !IsDrawItemParaStart(d)) {
            --d;
        }
    } else {
        ++d;
        while (d < DrawItems.Count() && !IsDrawItemParaStart(d)) {
            ++d;
        }
        if (d >= DrawItems.Count()) {
            CaretDrawItemNo = DrawItems.Count() - 1;
            OnChangeCaretLine(GetOffsAfterDrawItem(CaretDrawItemNo) - 2);
            FinishMove(shift);
            return;
        }
    }
    CaretDrawItemNo = d;
    OnChangeCaretLine(GetOffsBeforeDrawItem(d) - 2);
    MoveCaretOffMarker(true);
    FinishMove(shift);
}

bool TVDEditVDData::OnUpPress(bool shift, bool ctrl) {
    const int32_t first = CharEnds[0].DrawItemNo;
    const bool firstIsMarkerOnly =
        first == 1 && GetItem(DrawItems[0]->ItemNo)->StyleNo == StyleNoListMarker;
    if (first == 0 || firstIsMarkerOnly) {
        if (shift && CaretOffs != 0) {
            CaretOffs = 0;
            FinishMove(shift);
        } else if (ctrl) {
            ParagraphJump(true, shift);
        } else {
            ScrollTo(0, true);
        }
        return true;
    }
    if (ctrl) {
        ParagraphJump(true, shift);
        return false;
    }
    int32_t index = first - 1;
    if (GetItem(DrawItems[index]->ItemNo)->StyleNo == StyleNoListMarker) {
        index = first - 2;
    }
    MoveVertically(index, true, shift, ctrl);
    return false;
}

bool TVDEditVDData::OnDownPress(bool shift, bool ctrl) {
    const int32_t last = CharEnds.back().DrawItemNo;
    if (last == DrawItems.Count() - 1) {
        if (shift && CaretOffs != static_cast<int32_t>(CharEnds.size()) - 1) {
            CaretOffs = static_cast<int32_t>(CharEnds.size()) - 1;
            FinishMove(shift);
        } else if (ctrl) {
            ParagraphJump(false, shift);
        } else {
            ScrollTo(GetFullDocumentHeight(), true);
        }
        return true;
    }
    if (ctrl) {
        ParagraphJump(false, shift);
        return false;
    }
    MoveVertically(last + 1, false, shift, ctrl);
    return false;
}

bool TVDEditVDData::OnPgUpPress(bool shift) {
    const int32_t h = GetHeight();
    if (FUpDownMovingX == INT_MAX) {
        FUpDownMovingX = CharEnds[static_cast<size_t>(CaretOffs)].X;
    }
    const int32_t caretDI = CharEnds[static_cast<size_t>(CaretOffs)].DrawItemNo;
    for (int32_t y = GetVOffs() - (3 * h) / 4; y > 0; y -= std::max(h / 2, 1)) {
        int32_t no = -1, offs = -1;
        FindDrawItemForSel(FUpDownMovingX, y, no, offs, false, true, true, false);
        if (no >= 0 && no < caretDI) {
            CaretDrawItemNo = no;
            OnChangeCaretLine(offs - 2);
            MoveCaretOffMarker(true);
            FinishMove(shift);
            return false;
        }
    }
    OnHomePress(shift, true);
    return false;
}

bool TVDEditVDData::OnPgDownPress(bool shift) {
    const int32_t h = GetHeight();
    if (FUpDownMovingX == INT_MAX) {
        FUpDownMovingX = CharEnds[static_cast<size_t>(CaretOffs)].X;
    }
    const int32_t caretDI = CharEnds[static_cast<size_t>(CaretOffs)].DrawItemNo;
    for (int32_t y = GetVOffs() + (3 * h) / 4; y < DocumentHeight; y += std::max(h / 2, 1)) {
        int32_t no = -1, offs = -1;
        FindDrawItemForSel(FUpDownMovingX, y, no, offs, false, true, true, false);
        if (no > caretDI) {
            CaretDrawItemNo = no;
            OnChangeCaretLine(offs - 2);
            MoveCaretOffMarker(true);
            FinishMove(shift);
            return false;
        }
    }
    OnEndPress(shift, true);
    return false;
}

} // namespace vizivodu
