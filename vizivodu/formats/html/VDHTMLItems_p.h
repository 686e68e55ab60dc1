// Internals the items' HTML halves share: the export encoding, the CSS of a rectangular item's
// box, and image-list pictures written once per export.
#pragma once

#include "platform/gfx/Colors.h"
#include "platform/rtl/System.h"
#include "vizivodu/document/VDUnicode.h"

#include <cstdint>

namespace gfx {
class TCustomImageList;
class TGraphic;
} // namespace gfx

namespace vizivodu {

class TCustomVDData;
class TVDRectItemInfo;
class TVDStyle;
struct TVDHTMLSaveArgs;

// s in the export encoding (UTF-8 with vdsoUTF8, else the sheet's code page).
TVDAnsiString HTMLEncode(const rtl::UnicodeString &s, const TVDHTMLSaveArgs &args,
                         TCustomVDData *vdData);
// The CSS declarations of the item's box, joined by single blanks.
TVDAnsiString GetRectItemCSS(TVDRectItemInfo &item, const TVDStyle &vdStyle);
// The location of the image (of an image list, else the graphic) on backColor; an image saved
// earlier in the export (args.Bullets) is not saved again.
rtl::UnicodeString SaveImageListImageToHTML(gfx::TCustomImageList *imageList, int32_t imageIndex,
                                            const gfx::TGraphic *graphic, gfx::TColor backColor,
                                            TCustomVDData *vdData, int32_t itemNo,
                                            TVDHTMLSaveArgs &args);

} // namespace vizivodu
