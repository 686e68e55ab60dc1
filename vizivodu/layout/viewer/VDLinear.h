// Linear character positions: the document tree of a viewer as one flat run of UTF-16
// characters (a line break before each item that starts a line, one character for each object,
// sub-documents in place), mapped to and from (document, item, offset), for the edit-control
// messages.
#pragma once

#include "vizivodu/document/CVDData.h"

namespace vizivodu {

class TCustomViziVodu;

// The conventions: a line break counts as LinearLineBreakLength characters ("\r" for 1,
// "\r\n" otherwise); an object shows as LinearObjectChar.
extern int32_t LinearLineBreakLength;
extern char16_t LinearObjectChar;

// One item, its leading line break included.
int32_t GetItemLinearLength(TCustomVDData &vdData, int32_t itemNo);
int32_t GetDocLinearLength(TCustomVDData &vdData);
// pos grows by the linear position of (targetVDData, itemNo, itemOffs), searched from vdData
// down; false when targetVDData is not in the tree.
bool ViziVoduToLinear(TCustomViziVodu &viziVodu, TCustomVDData &vdData, TCustomVDData *targetVDData,
                      int32_t &pos, int32_t itemOffs, int32_t itemNo);
bool LinearToViziVodu(TCustomViziVodu &viziVodu, TCustomVDData &vdData, int32_t &pos,
                      int32_t &itemOffs, int32_t &itemNo, TCustomVDData *&resultVDData);
// The selection of the innermost chosen document; a moving end before the anchor gives a
// negative length; 0 and 0 without a selection.
void GetLinearSelection(TCustomViziVodu &viziVodu, int32_t &selStart, int32_t &selLength);
// Nothing when an end cannot be resolved or the ends lie in different documents.
void SetLinearSelection(TCustomViziVodu &viziVodu, int32_t selStart, int32_t selLength);
// length 0: empty; below 0: up to the end.
void GetLinearRangeText(TCustomViziVodu &viziVodu, int32_t start, int32_t length,
                        rtl::UnicodeString &text);
int32_t ItemOffsToLinear(TCustomVDData &vdData, int32_t itemNo, int32_t itemOffs);
int32_t LinearToItemOffs(TCustomVDData &vdData, int32_t itemNo, int32_t count);

} // namespace vizivodu
