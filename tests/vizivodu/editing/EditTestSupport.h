// Test support for the editable document: a viewer whose root document is an editable
// document (the editor control's stand-in), on the fixed-metrics style sheet of the layout
// tests (characters 10 pixels wide, lines 20 high), with helpers that read the document as
// text, as native-format bytes and as caret positions.
#pragma once

#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/editing/data/VDEVDData.h"
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Classes.h"
#include "platform/ui/Forms.h"

#include <memory>
#include <string>
#include <vector>

namespace vizivodu::test {

class TTestEditor : public TCustomViziVodu {
public:
    explicit TTestEditor(ui::TComponent *owner) : TCustomViziVodu(owner, &MakeData) {}
    TVDEditVDData &Doc() { return static_cast<TVDEditVDData &>(GetVDData()); }

private:
    static std::unique_ptr<TViziVoduVDData> MakeData(TCustomViziVodu &control);
};

// An editor of width x height pixels on a form; text style 0 is Unicode so that Russian text
// can be typed, style 1 (twice as large) is 8-bit.
class TEditFixture {
public:
    explicit TEditFixture(int32_t width = 400, int32_t height = 300);
    TVDEditVDData &Doc() { return Editor->Doc(); }
    void Format() { Editor->Format(); }

    // The items as "text|text" with "¶" before each paragraph start but the first, "↵" before
    // a line break, "[pic]" for pictures and "[br]" for breaks.
    std::string Dump();

    std::string VDFBytes();

    // The caret as "item:offset".
    std::string Caret();

    // Puts the caret at an item position with no selection.
    void SetCaret(int32_t itemNo, int32_t offs);

    // The undo types of the undo list's groups, oldest first, as numbers.
    std::vector<int> UndoTypes();

    void UndoAll();

    void RedoAll();

    void Type(const std::u16string &text);

    TLayoutStyle Style;
    ui::TForm Form;
    TTestEditor *Editor;
};

} // namespace vizivodu::test
