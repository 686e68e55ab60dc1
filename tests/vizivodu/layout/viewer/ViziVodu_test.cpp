// The viewer control and its root document: defaults, formatting with no window shown and when
// the window appears, reformatting on a resize, painting (the document, or the message without
// a style sheet), the Add family, extra documents, layout records, events and handler lists,
// the checkpoint-visible event while scrolling, vertical placement of a short document.
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDRazavIrezIzir.h"
#include "vizivodu/layout/viewer/VDVDData.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vizivodu;
using vizivodu::test::DarkPixels;
using vizivodu::test::DumpDrawItems;

namespace {

class Viewer : public ::testing::Test {
protected:
    Viewer() : Form(nullptr) {
        Form.SetClientWidth(400);
        Form.SetClientHeight(300);
    }

    // A viewer of 120 x 100 pixels on the form (window made, not shown).
    TViziVodu *MakeView() {
        auto *v = new TViziVodu(&Form);
        v->SetStyle(&Style);
        v->SetBounds(0, 0, 120, 100);
        v->SetParent(&Form);
        return v;
    }

    test::TLayoutStyle Style;
    ui::TForm Form;
};

} // namespace

TEST(ViziVodu, CreationGivesTheDocumentedDefaults) {
    TViziVodu v(nullptr);
    EXPECT_EQ(v.GetWidth(), 100);
    EXPECT_EQ(v.GetHeight(), 40);
    EXPECT_EQ(v.GetColor(), gfx::clNone);
    EXPECT_EQ(v.GetBorderStyle(), ui::bsSingle);
    EXPECT_EQ(v.LeftMargin, 5);
    EXPECT_EQ(v.BottomMargin, 5);
    EXPECT_TRUE(v.WordWrap);
    EXPECT_EQ(v.NoteText, u"?");
    EXPECT_EQ(v.GetTabNavigation(), vdtnTab);
    EXPECT_EQ(v.GetWheelStep(), 2);
    EXPECT_TRUE(v.GetAllowSelection());
    EXPECT_FALSE(v.GetSingleClick());
    const TVDOptions o = v.GetOptions();
    for (TVDOption on :
         {vdoAllowSelection, vdoScrollToEnd, vdoShowPageBreaks, vdoAutoCopyUnicodeText,
          vdoAutoCopyVDF, vdoAutoCopyImage, vdoAutoCopyRTF, vdoFormatInvalidate,
          vdoDblClickSelectsWord, vdoRClickDeselects, vdoShowGridLines, vdoFastFormatting}) {
        EXPECT_TRUE(o.Contains(on)) << int(on);
    }
    for (TVDOption off :
         {vdoSingleClick, vdoClientTextWidth, vdoShowCheckpoints, vdoShowSpecialCharacters,
          vdoShowHiddenText, vdoTagsArePChars, vdoAutoCopyText, vdoDisallowDrag, vdoShowItemHints,
          vdoPercentEncodedURL}) {
        EXPECT_FALSE(o.Contains(off)) << int(off);
    }
    EXPECT_EQ(v.Flags, (TVDFlags{vdflUseJumps, vdflTrim, vdflRoot, vdflCanUseCustomPPI,
                                 vdflCanProcessGetText}));
    EXPECT_EQ(v.GetDelimiters().size(), 31u);
    EXPECT_EQ(v.GetDelimiters().substr(0, 5), u" .;,:");
    EXPECT_EQ(v.GetDelimiters().back(), u'\u2026');
    // The root data reads the control's settings.
    EXPECT_EQ(v.GetVDData().GetDelimiters(), v.GetDelimiters());
    EXPECT_EQ(v.GetVDData().GetLeftMargin(), 5);
    EXPECT_TRUE(v.GetVDData().GetFlags().Contains(vdflRoot));
    EXPECT_EQ(v.GetVDData().GetParentControl(), &v);
}

TEST_F(Viewer, AHiddenViewerWithoutAWindowFormats) {
    TViziVodu v(nullptr);
    v.SetStyle(&Style);
    v.SetBounds(0, 0, 120, 100);
    v.AddNL(u"aaaa bbbb cccc", 0, 0);
    v.Format();
    // Text width 110: eleven characters of 10 pixels; the space at the line end is swallowed.
    EXPECT_EQ(DumpDrawItems(v.GetVDData()), "0:1+9@5,5 90x20 / 0:11+4@5,25 40x20");
    EXPECT_EQ(v.DocumentHeight(), 50);
    EXPECT_EQ(v.YSize, 0); // no scroll bars without a window
}

TEST_F(Viewer, WithoutAStyleSheetNothingIsFormatted) {
    TViziVodu v(nullptr);
    v.AddNL(u"aaaa", 0, 0);
    v.Format();
    EXPECT_EQ(v.GetVDData().DrawItems.Count(), 0);
}

TEST_F(Viewer, TheWindowAppearingWithItemsFormatsAsOnlyResized) {
    auto *v = new TViziVodu(&Form);
    v->SetStyle(&Style);
    v->SetBounds(0, 0, 120, 100);
    for (int i = 0; i < 30; ++i) {
        v->AddNL(u"ab", 0, 0);
    }
    v->Format();
    EXPECT_EQ(v->YSize, 0);
    v->SetParent(&Form);
    EXPECT_EQ(v->GetVSmallStep(), 10);
    EXPECT_EQ(v->DocumentHeight(), 610);
    EXPECT_EQ(v->YSize, 61);
}

TEST_F(Viewer, AResizeReformatsForTheNewWidth) {
    TViziVodu *v = MakeView();
    v->AddNL(u"aaaa bbbb cccc", 0, 0);
    v->Format();
    EXPECT_EQ(v->GetVDData().DrawItems.Count(), 2);
    v->SetWidth(200);
    EXPECT_EQ(DumpDrawItems(v->GetVDData()), "0:1+14@5,5 140x20");
}

// A resize that keeps the text width measures nothing: the minimum document width of the last
// formatting is kept while the items are those formatted; added items are measured again.
TEST_F(Viewer, AResizeKeepingTheTextWidthMeasuresNothing) {
    TViziVodu *v = MakeView();
    v->MaxTextWidth = 60;
    for (int i = 0; i < 20; ++i) {
        v->AddNL(u"aaaa bbbb", 0, 0);
    }
    v->Format();
    const std::string before = DumpDrawItems(v->GetVDData());
    Style.GI->MeasureCalls = 0;
    v->SetWidth(200);
    v->SetWidth(150);
    EXPECT_EQ(Style.GI->MeasureCalls, 0);
    EXPECT_EQ(DumpDrawItems(v->GetVDData()), before);
    // A longer word added without formatting widens the document at the next resize.
    v->AddNL(u"cccccccccccccccccccc", 0, 0); // 200 pixels
    v->SetWidth(120);
    EXPECT_GT(Style.GI->MeasureCalls, 0);
    EXPECT_EQ(v->GetVDData().DocumentWidth, 200);
}

// The top item is noted before formatting reserves the vertical bar (which clamps the position
// to two window heights).
TEST_F(Viewer, AResizeKeepsTheTopVisibleItemFarDownTheDocument) {
    TViziVodu *v = MakeView();
    for (int i = 0; i < 40; ++i) {
        v->AddNL(u"aaaa bbbb cccc", 0, 0);
    }
    v->Format();
    v->SetVPos(40, true); // 400 pixels: inside paragraph 9 (two lines of 20 from 5)
    const int32_t top = v->GetFirstItemVisible();
    EXPECT_EQ(top, 9);
    v->SetWidth(200);
    EXPECT_EQ(v->GetFirstItemVisible(), top);
    v->SetWidth(120);
    v->Reformat();
    EXPECT_EQ(v->GetFirstItemVisible(), top);
}

TEST_F(Viewer, TheAddFamilyOnlyForwards) {
    TViziVodu *v = MakeView();
    v->Add(u"a", 0);
    v->AddCenterLine(u"b", 0);
    v->AddFromNewLine(u"c", 0);
    v->AddNL(u"d", 1, -1);
    v->AddBreak();
    v->AddPicture(std::make_unique<gfx::TBitmap>(4, 4));
    EXPECT_EQ(v->ItemCount(), 6);
    EXPECT_EQ(v->GetVDData().DrawItems.Count(), 0); // nothing formatted yet
    TViziVoduVDData &d = v->GetVDData();
    EXPECT_TRUE(d.IsParaStart(1));
    EXPECT_EQ(d.GetItem(1)->ParaNo, 1);
    EXPECT_TRUE(d.IsParaStart(2));
    EXPECT_EQ(d.GetItem(2)->ParaNo, 0);
    EXPECT_FALSE(d.IsParaStart(3));
    EXPECT_TRUE(d.IsParaStart(5));
    EXPECT_EQ(d.GetItem(5)->ParaNo, 1);
    EXPECT_EQ(v->AddCheckpoint(), 0);
    v->Clear();
    EXPECT_EQ(v->ItemCount(), 0);
}

TEST_F(Viewer, ClearAllAndFormatAllReachTheExtraDocuments) {
    TViziVodu *a = MakeView();
    TViziVodu *b = MakeView();
    a->GetVDData().ExtraDocumentsList().push_back(&b->GetVDData());
    a->AddNL(u"a", 0, 0);
    b->AddNL(u"b", 0, 0);
    a->FormatAll();
    EXPECT_EQ(b->GetVDData().DrawItems.Count(), 1);
    int cleared = 0;
    b->RegisterClearHandler(&Form, [&](ui::TComponent *) { ++cleared; });
    a->ClearAll();
    EXPECT_EQ(a->ItemCount(), 0);
    EXPECT_EQ(b->ItemCount(), 0);
    EXPECT_EQ(cleared, 1);
    b->UnregisterClearHandler(&Form);
}

TEST_F(Viewer, ApplyingALayoutRecordChangesTheDirectionWithoutFormatting) {
    TViziVodu *v = MakeView();
    v->LeftMargin = 7;
    v->MaxTextWidth = 300;
    std::unique_ptr<TVDLayoutInfo> layout = v->CreateLayoutInfo();
    EXPECT_EQ(layout->LeftMargin, 7);
    EXPECT_EQ(layout->MaxTextWidth, 300);
    layout->TopMargin = 9;
    layout->BiDiMode = vdbdRightToLeft;
    v->AddNL(u"a", 0, 0);
    v->ApplyLayoutInfo(*layout);
    EXPECT_EQ(v->TopMargin, 9);
    EXPECT_EQ(v->GetBiDiMode(), vdbdRightToLeft);
    EXPECT_EQ(v->GetVDData().DrawItems.Count(), 0);
    EXPECT_FALSE(v->GetVDData().State.Contains(vdstSkipFormatting));
    v->SetBiDiMode(vdbdLeftToRight); // formats
    EXPECT_EQ(v->GetVDData().DrawItems.Count(), 1);
}

TEST(ViziVoduHandlers, AHandlerRegisteredTwiceIsKeptOnceWithTheNewerEvent) {
    TVDEventHandlerList list;
    ui::TComponent a(nullptr), b(nullptr);
    std::string calls;
    list.RegisterHandler(&a, [&](ui::TComponent *) { calls += "a1"; });
    list.RegisterHandler(&b, [&](ui::TComponent *) { calls += "b"; });
    list.RegisterHandler(&a, [&](ui::TComponent *) { calls += "a2"; });
    EXPECT_EQ(list.Count(), 2);
    list.Execute(nullptr);
    EXPECT_EQ(calls, "ba2"); // from the last to the first
    list.UnregisterHandler(&b);
    EXPECT_EQ(list.Find(&b), -1);
    EXPECT_EQ(list.Find(&a), 0);
}

TEST(ViziVoduHandlers, TheDestroyInformerOutlivesItsControl) {
    auto *v = new TViziVodu(nullptr);
    TVDDestroyInformer *informer = v->GetDestroyInformer();
    informer->AddRef();
    EXPECT_FALSE(informer->ControlDestroyed);
    delete v;
    EXPECT_TRUE(informer->ControlDestroyed);
    informer->Release();
}

TEST_F(Viewer, AJumpIsPostedAndRaisedWhenTheMessageArrives) {
    TViziVodu *v = MakeView();
    int32_t jumped = -1;
    v->OnJump = [&](ui::TComponent *, int32_t id) { jumped = id; };
    v->GetVDData().DoJump(7);
    EXPECT_EQ(jumped, -1);
    ui::ProcessPostedMessagesForTesting();
    EXPECT_EQ(jumped, 7);
}

TEST_F(Viewer, AnItemWithoutHintGivesTheEnclosingDocumentsHint) {
    TViziVodu *v = MakeView();
    v->AddNL(u"a", 0, 0);
    TViziVoduVDData &d = v->GetVDData();
    EXPECT_EQ(d.GetItemHint(d, 0, u"upper"), u"upper");
    d.GetItem(0)->Hint = u"own";
    EXPECT_EQ(d.GetItemHint(d, 0, u"upper"), u"own");
    v->OnItemHint = [](ui::TComponent *, TCustomVDData &, int32_t, rtl::UnicodeString &h) {
        h += u"!";
    };
    EXPECT_EQ(d.GetItemHint(d, 0, u"upper"), u"own!");
}

TEST_F(Viewer, AShortDocumentIsPlacedByVAlign) {
    TViziVodu *v = MakeView();
    v->AddNL(u"a", 0, 0);
    v->Format(); // 30 pixels tall in a client 100 tall
    EXPECT_EQ(v->GetVDData().GetVDDataExtraVOffs(), 0);
    v->VAlign = tlBottom;
    EXPECT_EQ(v->GetVDData().GetVDDataExtraVOffs(), 70);
    EXPECT_EQ(v->GetVDData().GetVOffs(), -70);
    v->VAlign = tlCenter;
    EXPECT_EQ(v->GetVDData().GetVDDataExtraVOffs(), 35);
    for (int i = 0; i < 10; ++i) {
        v->AddNL(u"a", 0, 0);
    }
    v->Format();
    v->VAlign = tlBottom;
    EXPECT_EQ(v->GetVDData().GetVDDataExtraVOffs(), 0); // taller than the window
}

TEST_F(Viewer, TheEffectiveColourIsTheControlsTheStyleSheetsOrTheWindows) {
    TViziVodu v(nullptr);
    EXPECT_EQ(v.EffectiveColor(), gfx::clWindow);
    v.SetStyle(&Style);
    Style.SetColor(gfx::clYellow);
    EXPECT_EQ(v.EffectiveColor(), gfx::clYellow);
    EXPECT_EQ(v.GetVDData().GetColor(), uint32_t(gfx::clYellow));
    v.SetColor(gfx::clRed);
    EXPECT_EQ(v.EffectiveColor(), gfx::clRed);
}

TEST_F(Viewer, PaintingDrawsTheTextWhereItsDrawItemsAre) {
    Style.GI->DrawGlyphBoxes = true;
    Style.SetColor(gfx::clWhite);
    TViziVodu *v = MakeView();
    v->AddNL(u"aa b", 0, 0);
    v->Format();
    gfx::TBitmap shot = v->GrabForTesting();
    ASSERT_EQ(shot.GetWidth(), 120);
    // "aa" at 5..25, the space at 25..35, "b" at 35..45; the em is 20 tall from 5.
    EXPECT_EQ(DarkPixels(shot, gfx::Rect(5, 5, 25, 25)), 2 * 9 * 20);
    EXPECT_EQ(DarkPixels(shot, gfx::Rect(25, 5, 35, 25)), 0);
    EXPECT_EQ(DarkPixels(shot, gfx::Rect(35, 5, 45, 25)), 9 * 20);
    EXPECT_EQ(DarkPixels(shot, gfx::Rect(45, 0, 120, 100)), 0);
    EXPECT_EQ(DarkPixels(shot, gfx::Rect(0, 25, 120, 100)), 0);
    // After scrolling, the text moves up with the view.
    for (int i = 0; i < 20; ++i) {
        v->AddNL(u"a", 0, 0);
    }
    v->Format();
    v->SetVPos(1, true);
    shot = v->GrabForTesting();
    EXPECT_EQ(DarkPixels(shot, gfx::Rect(5, 0, 25, 15)), 2 * 9 * 15);
}

TEST_F(Viewer, OnPaintFollowsEachPaint) {
    TViziVodu *v = MakeView();
    int painted = 0;
    v->OnPaint = [&](ui::TComponent *, gfx::TCanvas &, bool prepaint) {
        EXPECT_FALSE(prepaint);
        ++painted;
    };
    v->GrabForTesting();
    EXPECT_EQ(painted, 1);
}

TEST_F(Viewer, WithoutAStyleSheetTheMessageIsPaintedInstead) {
    auto *v = new TViziVodu(&Form);
    v->SetName(u"rv");
    v->SetBounds(0, 0, 300, 100);
    v->SetParent(&Form);
    gfx::TBitmap shot = v->GrabForTesting();
    EXPECT_GT(DarkPixels(shot, gfx::Rect(0, 0, 300, 40)), 20);
    EXPECT_EQ(DarkPixels(shot, gfx::Rect(0, 60, 300, 100)), 0);
}

namespace {

// Paragraphs of one 20-pixel line each; the checkpoints named "cp<n>" raise events.
struct CheckpointViewer : Viewer {
    TViziVodu *V = nullptr;
    std::vector<std::string> Events;

    void Build(std::initializer_list<int> checkpointParas, TCPEventKind kind) {
        V = MakeView();
        V->CPEventKind = kind;
        V->OnCheckpointVisible = [this](ui::TComponent *, TCheckpointData cp) {
            Events.push_back(cp ? rtl::Utf16ToUtf8(cp->Name) : "nil");
        };
        for (int i = 0; i < 30; ++i) {
            for (int p : checkpointParas) {
                if (p == i) {
                    V->AddNamedCheckpointEx(u"cp" + rtl::IntToStr(i), true);
                }
            }
            V->AddNL(u"a", 0, 0);
        }
        V->Format();
    }
};

} // namespace

TEST_F(CheckpointViewer, WhenVisibleReportsTheFirstCheckpointOnScreenOnce) {
    Build({2, 12}, cpeWhenVisible);
    // Paragraph n is at 5 + 20 n; the view is 100 tall.
    V->SetVPos(1, true); // 10..110: cp2 (45) on screen
    V->SetVPos(2, true);
    V->SetVPos(6, true); // 60..160: cp12 (245) below, none
    V->SetVPos(7, true);
    V->SetVPos(20, true); // 200..300: cp12
    V->SetVPos(26, true); // 260..360: all above, none
    EXPECT_EQ(Events, (std::vector<std::string>{"cp2", "nil", "cp12", "nil"}));
}

TEST_F(CheckpointViewer, AsSectionStartReportsTheSectionTheViewIsIn) {
    Build({2, 12}, cpeAsSectionStart);
    V->SetVPos(1, true);  // cp2 on screen
    V->SetVPos(6, true);  // cp12 below: the one before it, cp2, again (nothing new)
    V->SetVPos(20, true); // cp12 on screen
    V->SetVPos(26, true); // all above: the last one, cp12 (nothing new)
    V->SetVPos(0, true);  // cp2 on screen
    EXPECT_EQ(Events, (std::vector<std::string>{"cp2", "cp12", "cp2"}));
}

TEST_F(CheckpointViewer, NoEventKindRaisesNothing) {
    Build({2}, cpeNone);
    V->SetVPos(1, true);
    EXPECT_TRUE(Events.empty());
}

// The viewer asks to be told when its style sheet goes: formatting and painting afterwards
// find no style sheet instead of a freed one.
TEST_F(Viewer, AStyleSheetDestroyedFirstLeavesTheViewerWithoutOne) {
    auto style = std::make_unique<test::TLayoutStyle>();
    TViziVodu *v = MakeView();
    v->SetStyle(style.get());
    v->AddNL(u"a", 0, 0);
    v->Format();
    style.reset();
    EXPECT_EQ(v->GetStyle(), nullptr);
    EXPECT_EQ(v->GetVDData().GetVDStyle(), nullptr);
    v->AddNL(u"b", 0, 0);
    v->Format();
    v->GrabForTesting(); // the message instead of the document
    v->SetStyle(&Style);
    v->Format();
    EXPECT_EQ(v->GetVDData().DrawItems.Count(), 2);
}

TEST_F(Viewer, TabPassesThroughTheDocumentBetweenItsInsertedControls) {
    auto *before = new ui::TWinControl(&Form);
    before->SetParent(&Form);
    TViziVodu *v = MakeView();
    auto *c1 = new ui::TWinControl(&Form);
    c1->SetParent(v);
    auto *c2 = new ui::TWinControl(&Form);
    c2->SetParent(v);
    std::vector<ui::TWinControl *> list;
    Form.GetTabOrderList(list);
    EXPECT_EQ(list, (std::vector<ui::TWinControl *>{before, v, v, c1, v, c2, v}));
    v->SetTabNavigation(vdtnNone);
    list.clear();
    Form.GetTabOrderList(list);
    EXPECT_EQ(list, (std::vector<ui::TWinControl *>{before, v, c1, c2}));
}

TEST_F(Viewer, NamingTheControlIsNotedInItsDocumentsState) {
    TViziVodu *v = MakeView();
    EXPECT_FALSE(v->GetVDData().State.Contains(vdstNameSet));
    v->SetName(u"Report");
    EXPECT_TRUE(v->GetVDData().State.Contains(vdstNameSet));
    EXPECT_EQ(v->GetName(), u"Report");
}

TEST_F(Viewer, AssigningEventsCopiesTheDocumentsHandlers) {
    TViziVodu *a = MakeView();
    TViziVodu *b = MakeView();
    a->OnURLNeeded = [](ui::TComponent *, int32_t, rtl::UnicodeString &url) { url = u"u"; };
    a->OnReadHyperlink = [](ui::TComponent *, const rtl::UnicodeString &,
                            const rtl::UnicodeString &, TVDLoadFormat, int32_t &, TVDTag &tag,
                            TVDRawByteString &) { tag = u"t"; };
    a->OnSaveImage2 = [](ui::TComponent *, gfx::TGraphic *, TVDSaveFormat,
                         const rtl::UnicodeString &, const rtl::UnicodeString &, int32_t &,
                         rtl::UnicodeString &, bool &) {};
    a->OnVDMouseDown = [](ui::TComponent *, ui::TMouseButton, ui::TShiftState, int32_t, int32_t,
                          int32_t) {};
    IVDRazavIrezIzirInterface layout;
    a->OnGetRazavIrezIzirInterface = [&](ui::TComponent *, IVDRazavIrezIzirInterface *&ifc) {
        ifc = &layout;
    };
    b->AssignEvents(*a);
    // The page-layout component comes along with the other handlers.
    EXPECT_EQ(b->GetRazavIrezIzirInterface(), &layout);
    a->OnGetRazavIrezIzirInterface = b->OnGetRazavIrezIzirInterface = nullptr;
    EXPECT_EQ(b->GetVDData().GetURL(1), u"u");
    int32_t styleNo = 0;
    TVDTag tag;
    TVDRawByteString name;
    b->GetVDData().ReadHyperlink(u"x", u"", vdlfRTF, styleNo, tag, name);
    EXPECT_EQ(tag, u"t");
    EXPECT_TRUE(b->OnSaveImage2);
    EXPECT_TRUE(b->GetVDData().IsAssignedVDMouseDown());
}

// Multi-line text goes in the form of the style it ends up in: the 8-bit text of a Cyrillic
// style, the UTF-16 of a Unicode one; continuing a paragraph in its default style asks that
// paragraph's style.
TEST_F(Viewer, MultiLineTextTakesTheFormOfItsActualStyle) {
    TFontInfo &cyrillic = Style.GetTextStyles().Add();
    cyrillic.Assign(Style.GetTextStyles().GetItem(0));
    cyrillic.SetUnicode(false);
    cyrillic.SetCharset(204);
    TViziVodu *v = MakeView();
    v->AddNL(u"x", 0, 0);
    v->AddText(u"Да\nнет", cyrillic.GetIndex());
    v->AddTextFromNewLine(u"ok", 0);
    TViziVoduVDData &d = v->GetVDData();
    ASSERT_EQ(d.ItemCount(), 4);
    EXPECT_FALSE(d.IsParaStart(1));           // continues "x"
    EXPECT_EQ(d.GetItemTextR(1), "\xC4\xE0"); // code page 1251
    EXPECT_FALSE(d.GetItem(1)->ItemOptions.Contains(vdioUnicode));
    EXPECT_TRUE(d.IsParaStart(2));
    EXPECT_EQ(d.GetItemTextW(2), u"нет");
    EXPECT_TRUE(d.IsParaStart(3));
    EXPECT_TRUE(d.GetItem(3)->ItemOptions.Contains(vdioUnicode));
    v->AddTextNLW(u"a\nb", 0, 0, 0, true); // one paragraph of line breaks
    EXPECT_TRUE(d.IsParaStart(4));
    EXPECT_FALSE(d.IsParaStart(5));
    EXPECT_TRUE(d.IsFromNewLine(5));
}

namespace {

// Records what the viewer tells an outside page-layout component.
class TRecordingPageLayout : public IVDRazavIrezIzirInterface {
public:
    void BeforeSaving(ui::TControl *) override { Calls.push_back("saving"); }
    void FormattingStarts(TCustomVDData *) override { Calls.push_back("formatting"); }
    void AllDue(bool formatting) override {
        Calls.push_back(formatting ? "all:format" : "all:clear");
    }
    void Cleared(ui::TControl *) override { Calls.push_back("cleared"); }
    void NoteRead(TCustomVDData *, int32_t itemNo) override {
        Calls.push_back("note " + std::to_string(itemNo));
    }
    gfx::TCanvas *GetCanvas() override { return Canvas; }
    void DrawBackground(gfx::TCanvas &, TCustomVDData *, bool, const rtl::TRect &) override {
        Calls.push_back("background");
    }

    std::vector<std::string> Calls;
    gfx::TCanvas *Canvas = nullptr;
};

} // namespace

TEST_F(Viewer, AnOutsidePageLayoutComponentIsToldAndPaints) {
    TViziVodu *v = MakeView();
    v->AddNL(u"text", 0, 0);
    TRecordingPageLayout layout;
    gfx::TBitmap own(10, 10);
    layout.Canvas = &own.GetCanvas();
    v->OnGetRazavIrezIzirInterface = [&](ui::TComponent *, IVDRazavIrezIzirInterface *&ifc) {
        ifc = &layout;
    };
    EXPECT_EQ(v->GetFormatCanvas(&v->GetCanvas()), &own.GetCanvas());
    v->FormatAll();
    EXPECT_EQ(layout.Calls, (std::vector<std::string>{"all:format", "formatting"}));
    // The component paints: the viewer leaves its window alone.
    layout.Calls.clear();
    int32_t paints = 0;
    v->OnPaint = [&](ui::TComponent *, gfx::TCanvas &, bool) { ++paints; };
    v->GrabForTesting();
    EXPECT_EQ(paints, 0);
    // Documents of the tree reach it through the absolute root.
    v->GetVDData().DrawBackground(own.GetCanvas(), rtl::Rect(0, 0, 10, 10),
                                  Style.GetGraphicInterface(), false, false);
    v->GetVDData().AfterReadNote(&v->GetVDData(), 0);
    rtl::TMemoryStream stream;
    v->SaveTextToStream(u"", stream, 80, false, false, 0);
    v->ClearAll();
    EXPECT_EQ(layout.Calls,
              (std::vector<std::string>{"background", "note 0", "saving", "all:clear", "cleared"}));
    // Without a component the viewer measures and paints itself.
    v->OnGetRazavIrezIzirInterface = nullptr;
    EXPECT_EQ(v->GetFormatCanvas(&v->GetCanvas()), &v->GetCanvas());
    v->GrabForTesting();
    EXPECT_EQ(paints, 1);
}

namespace {

// Records the repaint, BiDi and rectangle notices; may forbid the hyperlink events.
class TRepaintRecordingPageLayout : public IVDRazavIrezIzirInterface {
public:
    void ControlRepainted(ui::TControl *control, int32_t kind) override {
        Calls.push_back((control == Expected ? "repaint " : "other ") + std::to_string(kind));
    }
    void BiDiModeChanged(ui::TControl *control) override {
        Calls.push_back(control == Expected ? "bidi" : "bidi other");
    }
    void RectInvalidated(TCustomVDData *, const rtl::TRect &r, bool fromLiveSpelling) override {
        Calls.push_back("rect " + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," +
                        std::to_string(r.Right) + "," + std::to_string(r.Bottom) +
                        (fromLiveSpelling ? " spelling" : ""));
    }
    bool AllowsHyperlinkEvents() override { return AllowHyperlinks; }

    std::vector<std::string> Calls;
    ui::TControl *Expected = nullptr;
    bool AllowHyperlinks = true;
};

} // namespace

TEST_F(Viewer, ThePageLayoutComponentHearsOfRepaintsBiDiModeAndRectangles) {
    TViziVodu *v = MakeView();
    v->AddNL(u"text", 0, 0);
    v->Format();
    TRepaintRecordingPageLayout layout;
    layout.Expected = v;
    v->OnGetRazavIrezIzirInterface = [&](ui::TComponent *, IVDRazavIrezIzirInterface *&ifc) {
        ifc = &layout;
    };
    v->Invalidate();
    v->Update();
    v->GetVDData().InvalidateRect(rtl::Rect(1, 2, 30, 40), true);
    EXPECT_EQ(layout.Calls,
              (std::vector<std::string>{"repaint 0", "repaint 2", "rect 1,2,30,40 spelling"}));
    layout.Calls.clear();
    v->SetBiDiMode(vdbdRightToLeft);
    v->SetBiDiMode(vdbdRightToLeft); // unchanged: nothing
    ASSERT_FALSE(layout.Calls.empty());
    EXPECT_EQ(layout.Calls.front(), "bidi");
    EXPECT_EQ(std::count(layout.Calls.begin(), layout.Calls.end(), "bidi"), 1);
    EXPECT_EQ(v->GetBiDiMode(), vdbdRightToLeft);
    v->OnGetRazavIrezIzirInterface = nullptr; // the component goes before the viewer
}

TEST_F(Viewer, ThePageLayoutComponentMayForbidTheHyperlinkEvents) {
    TViziVodu *v = MakeView();
    TRepaintRecordingPageLayout layout;
    v->OnGetRazavIrezIzirInterface = [&](ui::TComponent *, IVDRazavIrezIzirInterface *&ifc) {
        ifc = &layout;
    };
    int32_t reads = 0, writes = 0;
    v->OnReadHyperlink = [&](ui::TComponent *, const rtl::UnicodeString &,
                             const rtl::UnicodeString &, TVDLoadFormat, int32_t &, TVDTag &tag,
                             TVDRawByteString &) {
        ++reads;
        tag = u"from event";
    };
    v->OnWriteHyperlink = [&](ui::TComponent *, int32_t, TCustomVDData *, int32_t, TVDSaveFormat,
                              rtl::UnicodeString &target, rtl::UnicodeString &) {
        ++writes;
        target = u"from event";
    };
    v->AddNLTag(u"link", 0, 0, u"tag target");
    const struct {
        bool allow;
        const char16_t *readTag, *writeTarget;
    } cases[] = {{true, u"from event", u"from event"}, {false, u"http://x", u"tag target"}};
    for (const auto &c : cases) {
        layout.AllowHyperlinks = c.allow;
        int32_t styleNo = 0;
        TVDTag tag;
        TVDRawByteString name;
        v->GetVDData().ReadHyperlink(u"http://x", u"", vdlfRTF, styleNo, tag, name);
        EXPECT_EQ(tag, c.readTag) << c.allow;
        rtl::UnicodeString target, extras;
        v->GetVDData().WriteHyperlink(0, &v->GetVDData(), 0, vdsfHTML, target, extras);
        EXPECT_EQ(target, c.writeTarget) << c.allow;
    }
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(writes, 1);
    v->OnGetRazavIrezIzirInterface = nullptr;
}
