// A document standing as its own root over a style sheet, for the document benchmarks.
#pragma once

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

} // namespace wbbench
