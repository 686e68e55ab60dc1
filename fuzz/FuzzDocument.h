// A bare document over a style sheet, for the targets that read into documents.
#pragma once

#include "vizivodu/document/CVDData.h"
#include "vizivodu/styles/VDStyle.h"

namespace wbfuzz {

class TFuzzDocument : public vizivodu::TCustomVDData {
public:
    explicit TFuzzDocument(vizivodu::TVDStyle *style) : FStyle(style) {}
    ~TFuzzDocument() override { Clear(); }
    vizivodu::TVDStyle *GetVDStyle() override { return FStyle; }

private:
    vizivodu::TVDStyle *FStyle;
};

} // namespace wbfuzz
