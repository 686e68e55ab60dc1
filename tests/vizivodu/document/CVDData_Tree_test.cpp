// What documents below the top ask of the documents above them: a table cell in a viewer
// reaches the viewer's settings and raises its events; a document that is its own root answers
// itself.
#include "vizivodu/document/CVDData.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/document/VDItem_Control.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/layout/viewer/ViziVodu.h"
#include "vizivodu/tables/VDTable.h"

#include "platform/gfx/Bitmap.h"
#include "platform/ui/Button.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace vizivodu;

namespace {

class CellInViewer : public ::testing::Test {
protected:
    CellInViewer() : Viewer(nullptr) {
        Viewer.SetStyle(&Style);
        auto table = std::make_unique<TVDTableItemInfo>(1, 1, &Viewer.GetVDData());
        Table = table.get();
        Viewer.AddItem(u"", std::move(table));
        Cell = Table->GetCells(0, 0);
        Cell->Clear();
        Cell->AddNL(u"link", 0, 0);
    }

    test::TLayoutStyle Style;
    TViziVodu Viewer;
    TVDTableItemInfo *Table = nullptr;
    TVDTableCellData *Cell = nullptr;
};

} // namespace

// Each callback asked of the cell reaches the viewer's event, with the cell as the document
// where the event names one.
TEST_F(CellInViewer, ACellsHyperlinksAndPicturesRaiseTheViewersEvents) {
    std::vector<std::string> raised;
    TCustomVDData *named = nullptr;
    Viewer.OnURLNeeded = [&](ui::TComponent *, int32_t id, rtl::UnicodeString &url) {
        raised.push_back("url " + std::to_string(id));
        url = u"http://x";
    };
    Viewer.OnWriteHyperlink = [&](ui::TComponent *, int32_t id, TCustomVDData *vdData, int32_t,
                                  TVDSaveFormat, rtl::UnicodeString &target, rtl::UnicodeString &) {
        raised.push_back("write " + std::to_string(id));
        named = vdData;
        target = u"t";
    };
    Viewer.OnVDFPictureNeeded = [&](ui::TComponent *, const rtl::UnicodeString &,
                                    TCustomVDItemInfo *, int32_t, int32_t,
                                    std::unique_ptr<gfx::TGraphic> &gr) {
        raised.push_back("vdf picture");
        gr = std::make_unique<gfx::TBitmap>(2, 2);
    };
    Viewer.OnImportPicture = [&](ui::TComponent *, const rtl::UnicodeString &, int32_t, int32_t,
                                 std::unique_ptr<gfx::TGraphic> &gr) {
        raised.push_back("import");
        gr = std::make_unique<gfx::TBitmap>(3, 3);
    };
    Viewer.OnHTMLSaveImage = [&](ui::TComponent *, TCustomVDData *vdData, int32_t,
                                 const rtl::UnicodeString &, gfx::TColor, rtl::UnicodeString &,
                                 bool &doDefault) {
        raised.push_back("html image");
        named = vdData;
        doDefault = false;
    };
    Viewer.OnSaveParaToHTML = [&](ui::TComponent *, TCustomVDData *vdData, int32_t, bool, bool,
                                  rtl::UnicodeString &code) {
        raised.push_back("para html");
        named = vdData;
        code = u"<p>";
    };
    struct Case {
        std::string Event;
        std::function<void()> Ask;
        bool NamesTheCell;
    };
    rtl::UnicodeString target, extras, location;
    bool invalid = false, doDefault = true;
    const std::vector<Case> cases = {
        {"url 3", [&] { EXPECT_EQ(Cell->GetURL(3), u"http://x"); }, false},
        {"write 4",
         [&] {
             Cell->WriteHyperlink(4, Cell, 0, vdsfHTML, target, extras);
             EXPECT_EQ(target, u"t");
         },
         true},
        {"vdf picture", [&] { EXPECT_NE(Cell->VDFPictureNeeded(u"p", nullptr, -1, -1), nullptr); },
         false},
        {"import", [&] { EXPECT_NE(Cell->ImportPicture(u"a.png", 0, 0, invalid), nullptr); },
         false},
        {"html image",
         [&] {
             Cell->HTMLSaveImage(Cell, 0, u"", gfx::clNone, location, doDefault);
             EXPECT_FALSE(doDefault);
         },
         true},
        {"para html", [&] { EXPECT_EQ(Cell->GetParaHTMLCode(Cell, 0, true, false), u"<p>"); },
         true},
    };
    for (const Case &c : cases) {
        raised.clear();
        named = nullptr;
        c.Ask();
        EXPECT_EQ(raised, std::vector<std::string>{c.Event});
        if (c.NamesTheCell) {
            EXPECT_EQ(named, Cell) << c.Event;
        }
    }
}

// The native-format and RTF settings and warnings are the viewer's.
TEST_F(CellInViewer, ACellReadsAndWritesTheViewersSettings) {
    Viewer.VDFOptions = {vdfoUseStyleNames};
    Viewer.RTFOptions = {vdrtfSaveBitmapDefault};
    Viewer.VDFTextStylesReadMode = vdf_sIgnore;
    Viewer.StyleTemplateInsertMode = vdstimUseSourceFormatting;
    EXPECT_EQ(Cell->GetVDFOptions(), TVDFOptions{vdfoUseStyleNames});
    EXPECT_EQ(Cell->GetRTFOptions(), TVDRTFOptions{vdrtfSaveBitmapDefault});
    EXPECT_EQ(Cell->GetVDFTextStylesReadMode(), vdf_sIgnore);
    EXPECT_EQ(Cell->StyleTemplateInsertMode(), vdstimUseSourceFormatting);
    Cell->SetVDFWarnings({vdfwUnknownCtrls});
    EXPECT_EQ(Viewer.VDFWarnings, TVDFWarnings{vdfwUnknownCtrls});
    // A hyperlink read over a bullet becomes a hotspot; without a handler the tag is the target.
    int32_t styleNo = StyleNoBullet;
    TVDTag tag;
    TVDRawByteString name;
    Cell->ReadHyperlink(u"http://y", u"", vdlfRTF, styleNo, tag, name);
    EXPECT_EQ(styleNo, StyleNoHotspot);
    EXPECT_EQ(tag, u"http://y");
}

// A control inside a cell gets the viewer as its window's parent, and its destruction reaches
// the viewer's handler.
TEST_F(CellInViewer, AControlInACellTellsTheViewerOfItsDestruction) {
    std::vector<TVDControlAction> actions;
    Viewer.OnControlAction = [&](ui::TComponent *, TVDControlAction action, int32_t,
                                 ui::TControl *&) { actions.push_back(action); };
    auto button = std::make_unique<ui::TButton>(nullptr);
    ui::TControl *control = button.get();
    Cell->AddControlEx("", std::move(button), 0, vdvaBaseline);
    EXPECT_EQ(control->GetParent(), &Viewer);
    Cell->Clear();
    EXPECT_EQ(actions, std::vector<TVDControlAction>{vdcaDestroy});
}

// A document that is its own root keeps the settings given to it and answers without events.
TEST(OwnRoot, ADocumentWithoutARootAnswersItself) {
    TVDStyle style(nullptr);
    test::TTestDocument doc(&style);
    EXPECT_EQ(doc.GetVDFOptions(), TVDFOptions{});
    doc.SetVDFOptions({vdfoSaveBinary});
    doc.SetVDFWarnings({vdfwInvalidPicture});
    EXPECT_EQ(doc.GetVDFOptions(), TVDFOptions{vdfoSaveBinary});
    EXPECT_EQ(doc.GetVDFWarnings(), TVDFWarnings{vdfwInvalidPicture});
    int32_t styleNo = StyleNoPicture;
    TVDTag tag;
    TVDRawByteString name;
    doc.ReadHyperlink(u"t", u"", vdlfHTML, styleNo, tag, name);
    EXPECT_EQ(styleNo, StyleNoHotPicture);
    EXPECT_EQ(tag, u"t");
    doc.AddNL(u"a", 0, 0);
    doc.SetItemTag(0, u"target");
    rtl::UnicodeString target, extras;
    doc.WriteHyperlink(0, &doc, 0, vdsfHTML, target, extras);
    EXPECT_EQ(target, u"target");
    bool invalid = true;
    EXPECT_EQ(doc.ImportPicture(u"x", 0, 0, invalid), nullptr);
    EXPECT_TRUE(invalid);
    test::TTestSubDocument sub(doc, 0);
    EXPECT_EQ(sub.GetVDFWarnings(), TVDFWarnings{vdfwInvalidPicture});
}
