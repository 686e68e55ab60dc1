// The line wrapper: places one item of a formatting run on lines (text cut at line ends,
// inline objects, tabs, full-width items, floating boxes) and opens new lines.
#pragma once

#include "vizivodu/layout/formatting/CVDFData_p.h"

namespace vizivodu {

class TVDWrapper {
public:
    TVDWrapper(TCustomVDFormattedData &doc, TVDFormattingState &state,
               const TVDScreenAndDevice &sad, gfx::TCanvas &canvas);

    void FormatItem(const TVDRawByteString *text, int32_t length, int32_t itemNo);
    void FinishTab();

    // Shared with partial reformatting and line finishing.
    void PlaceFloatingBox(int32_t &y, int32_t dItemNo);

private:
    struct TFragment {
        int32_t N = 0;      // characters
        int32_t Width = 0;  // measured width (device pixels)
        int32_t Height = 0; // measured height
        bool Measured = false;
    };

    // Text items.
    void FormatText(const TVDRawByteString &text, int32_t length);
    void FormatEmptyText();
    bool PrepareTextLine(bool newLine, int32_t &offs, int32_t &remaining);
    int32_t CountFittingChars(int32_t width, int32_t offs, int32_t remaining, TFragment &frag);
    int32_t OwnFitSearch(int32_t width, int32_t offs, int32_t upper, TFragment &frag);
    int32_t FitUpperBound(int32_t remaining) const;
    gfx::TSize MeasureRun(int32_t offs, int32_t count);
    void MeasureFragment(int32_t offs, TFragment &frag);
    int32_t ExtendToCluster(int32_t offs, int32_t n, int32_t remaining) const;
    int32_t FindBreak(int32_t offs, int32_t n, int32_t remaining) const;
    bool FollowingItemsFit(int32_t room, int32_t charsOnLine);
    bool BreakAllowedBefore(int32_t itemNo);
    bool FollowsListMarker(int32_t itemNo);
    void AddTextDrawItem(int32_t offs, int32_t len, int32_t width, int32_t height,
                         bool fromNewLine);

    // Non-text items.
    void FormatNonText();
    void FormatFullWidth();
    std::unique_ptr<TVDDrawLineInfo> MakeDrawItem(int32_t itemNo);
    void SizeNonText(TVDDrawLineInfo &d, int32_t docWidth, int32_t &hShift, int32_t &desc,
                     TCustomVDItemInfo &item, bool &actualSize);
    int32_t VerticalShift(TCustomVDItemInfo &item, int32_t height);
    int32_t NonTextWidth(int32_t itemNo);
    int32_t InsertDrawItem(std::unique_ptr<TVDDrawLineInfo> d, bool setItemDrawItemNo);
    void NextTab(int32_t x, TVDNextTab &tab);

    // Lines.
    void StartNewLine(int32_t itemNo, bool withinPara);
    void TrimTrailingSpace();
    void AddSoftHyphenWidth();
    void GetParaIndents(int32_t itemNo, bool newPara, int32_t &firstIndent, int32_t &rightIndent,
                        int32_t &leftIndent);
    void FitLineBesideFloats(int32_t itemNo);
    void RaiseLine(int32_t ascent);
    void ApplyFixedAscent(int32_t ascent, int32_t &top);
    bool FloatsActive() const;
    bool FirstIndentApplies(int32_t itemNo, bool newPara);

    // Styles.
    void SetCurrentTextStyle(int32_t styleNo);
    TVDBiDiMode ParaBiDiMode();
    const TParaInfo &Para() const;
    int32_t SpaceAfterOf(int32_t itemNo);
    int32_t SpaceBeforeOf(int32_t paraNo);
    bool WrapOn();
    bool Printing();

    TCustomVDFormattedData &FDoc;
    TVDFormattingState &FState;
    const TVDScreenAndDevice &FSaD;
    gfx::TCanvas &FCanvas;
    TVDStyle &FStyle;
    TVDGraphicInterface &FGI;
    int32_t FItemNo = -1;
    TCustomVDItemInfo *FItem = nullptr;
    // The run of the current text item: its text as drawn, in storage form, and as UTF-16.
    TVDRawByteString FDrawText;
    std::u16string FUnits;
    bool FUnicode = false;
    int32_t FTextStyleNo = 0;
};

} // namespace vizivodu
