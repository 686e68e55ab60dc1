// Test support for the editable document: the editor stand-in and the editing fixture.
#include "tests/vizivodu/editing/EditTestSupport.h"

namespace vizivodu::test {

std::unique_ptr<TViziVoduVDData> TTestEditor::MakeData(TCustomViziVodu &control) {
    return std::make_unique<TVDEditVDData>(&control);
}

TEditFixture::TEditFixture(int32_t width, int32_t height) : Form(nullptr) {
    Style.GetTextStyles().GetItem(0).SetUnicode(true);
    Style.GetTextStyles().GetItem(1).SetUnicode(false);
    Editor = new TTestEditor(&Form);
    Editor->SetStyle(&Style);
    Editor->SetBounds(0, 0, width, height);
    Editor->SetParent(&Form);
    // Showing the editor formatted it, which gave the empty document its empty line.
    Doc().Clear();
}

std::string TEditFixture::Dump() {
    std::string out;
    TVDEditVDData &doc = Doc();
    for (int32_t i = 0; i < doc.ItemCount(); ++i) {
        TCustomVDItemInfo &item = *doc.GetItem(i);
        if (i > 0) {
            out += item.GetSameAsPrev() ? "|" : (item.GetBR() ? "↵" : "¶");
        }
        if (item.IsText()) {
            out += rtl::Utf16ToUtf8(doc.GetItemTextW(i));
        } else if (item.StyleNo == StyleNoBreak) {
            out += "[br]";
        } else if (item.StyleNo == StyleNoTab) {
            out += "[tab]";
        } else {
            out += "[pic]";
        }
    }
    return out;
}

std::string TEditFixture::VDFBytes() {
    rtl::TMemoryStream stream;
    Doc().SaveVDFToStream(stream, false, 0x1FFFFFFF, nullptr, nullptr, true);
    const uint8_t *p = stream.GetMemory();
    return p ? std::string(reinterpret_cast<const char *>(p), static_cast<size_t>(stream.GetSize()))
             : std::string();
}

std::string TEditFixture::Caret() {
    return std::to_string(Doc().GetCurItemNo()) + ":" + std::to_string(Doc().GetOffsetInCurItem());
}

void TEditFixture::SetCaret(int32_t itemNo, int32_t offs) {
    Doc().Deselect(nullptr, false);
    Doc().SetCaretToItem(itemNo, offs);
    Doc().ChangeCaret(false, false, false, false);
}

std::vector<int> TEditFixture::UndoTypes() {
    std::vector<int> types;
    for (int32_t i = 0; i < Doc().UndoList->Count(); ++i) {
        types.push_back(Doc().UndoList->GetItem(i)->UndoType);
    }
    return types;
}

void TEditFixture::UndoAll() {
    while (Doc().UndoList->Count() > 0) {
        Doc().UndoList->Undo(Doc());
    }
}

void TEditFixture::RedoAll() {
    while (Doc().RedoList->Count() > 0) {
        Doc().RedoList->Redo(Doc());
    }
}

void TEditFixture::Type(const std::u16string &text) {
    for (char16_t c : text) {
        Doc().KeyPress(c);
    }
}

} // namespace vizivodu::test
