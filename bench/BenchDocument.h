// A document standing as its own root over a style sheet, for the document benchmarks.
#pragma once

#include "vizivodu/VDStartup.h"
#include "vizivodu/document/CVDData.h"
#include "vizivodu/styles/VDStyle.h"

namespace wbbench {

class TBenchDocument : public vizivodu::TCustomVDData {
public:
    explicit TBenchDocument(vizivodu::TVDStyle *style) : FStyle(style) {}
    ~TBenchDocument() override { Clear(); }
    vizivodu::TVDStyle *GetVDStyle() override { return FStyle; }

private:
    vizivodu::TVDStyle *FStyle;
};

// A style sheet of styleCount text styles: the fonts and sizes of a report.
struct TBenchSheet {
    explicit TBenchSheet(int styleCount) : Style(nullptr) {
        vizivodu::InitializeLibrary();
        const char16_t *fonts[] = {u"Arial", u"Times New Roman", u"Courier New", u"Tahoma"};
        for (int i = Style.GetTextStyles().GetCount(); i < styleCount; ++i) {
            vizivodu::TFontInfo &font = Style.GetTextStyles().Add();
            font.SetFontName(fonts[i % 4]);
            font.SetSize(8 + i);
        }
    }
    vizivodu::TVDStyle Style;
};

} // namespace wbbench
