// The records the HTML writers pass to the document and its items: the writer's parameters,
// an item's share of them, the pictures already written; and the small shared pieces of both
// writers (which text styles may be written, hints and encodings).
#pragma once

#include "platform/gfx/Colors.h"
#include "platform/rtl/System.h"
#include "vizivodu/layout/viewer/VDOptions.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include <cstdint>
#include <vector>

namespace gfx {
class TCustomImageList;
class TGraphic;
} // namespace gfx

namespace vizivodu {

class TVDBackground;
class TVDHTMLListCSSList;
class TCustomVDFontInfo;

// A picture already written during one export, so that an image list picture is saved once.
struct TVDHTMLBulletInfo {
    rtl::UnicodeString FileName;
    gfx::TCustomImageList *ImageList = nullptr;
    int32_t ImageIndex = -1;
    TColor BackColor = gfx::clNone;
    const gfx::TGraphic *Graphic = nullptr;
};
using TVDHTMLBulletList = std::vector<TVDHTMLBulletInfo>;

// What an item's SaveToHTML receives from the writer. ImgSaveNo advances with every picture
// written; the writer reads it back after the call.
struct TVDHTMLSaveArgs {
    rtl::UnicodeString Path;          // folder of the HTML file, for picture files
    rtl::UnicodeString ImgSavePrefix; // file-name prefix of saved pictures
    int32_t ImgSaveNo = 0;
    TColor CurrentFileColor = gfx::clNone; // the colour behind the item
    TVDSaveOptions SaveOptions;
    bool UseCSS = false;
    TVDHTMLBulletList *Bullets = nullptr;
    TVDHTMLListCSSList *ListBullets = nullptr;
};

// The writers' parameters (SaveHTML, SaveHTMLToStream and their CSS forms); ExtraStyles,
// ExternalCSS, CPPrefix and ListBullets are read by the CSS writer only. ImgSaveNo and
// CurrentFileColor are in-out. Bullets and ListBullets: nullptr makes the writer keep its own
// for the call.
struct TVDHTMLSaveParams {
    rtl::UnicodeString Path;
    rtl::UnicodeString Title;
    rtl::UnicodeString ImagesPrefix;
    rtl::UnicodeString ExtraStyles;
    rtl::UnicodeString ExternalCSS;
    rtl::UnicodeString CPPrefix;
    TVDSaveOptions Options;
    TColor Color = gfx::clNone;
    TColor CurrentFileColor = gfx::clNone;
    int32_t ImgSaveNo = 0;
    int32_t LeftMargin = 0;
    int32_t TopMargin = 0;
    int32_t RightMargin = 0;
    int32_t BottomMargin = 0;
    const TVDBackground *Background = nullptr;
    TVDHTMLBulletList *Bullets = nullptr;
    TVDHTMLListCSSList *ListBullets = nullptr;
};

// A text style is written only when its code options are none, or exactly vdteoHTMLCode.
bool StyleCanBeSavedAs(const TCustomVDFontInfo &style);

} // namespace vizivodu
