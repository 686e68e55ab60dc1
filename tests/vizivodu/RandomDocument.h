// Random documents for property tests: paragraphs of Russian and Latin text in random text and
// paragraph styles, line breaks, tabs, breaks, pictures, list markers, footnotes and endnotes,
// and tables nested in tables with merged cells. The same seed gives the same document.
#pragma once

#include "vizivodu/document/CVDData.h"
#include "vizivodu/styles/VDStyle.h"

#include <cstdint>

namespace vizivodu::test {

// What a random document may hold besides text, tabs and line breaks.
struct TRandomDocumentKinds {
    bool Breaks = true;
    bool Pictures = true;
    bool Lists = true;
    bool Notes = true;
    bool Tables = true;
};

// Adds the styles the documents use: text styles 1..6, paragraph styles 1..4 (alignments,
// indents, spaces) and one numbered list style of three levels.
void AddRandomDocumentStyles(TVDStyle &style);

// Appends to doc (whose sheet has AddRandomDocumentStyles) some paragraphs made from seed.
// nesting: how deep tables may still nest inside this document.
void FillRandomDocument(TCustomVDData &doc, uint32_t seed, const TRandomDocumentKinds &kinds,
                        int32_t nesting = 2);

} // namespace vizivodu::test
