// The rich-document library's shared small types: lengths and units, screen and device
// resolutions, reading order, colour modes, draw states, the style sheet's enumerations, and
// the library's exception.
#pragma once

#include "platform/gfx/Colors.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Sets.h"
#include "platform/rtl/System.h"

#include <cstdint>

namespace vizivodu {

using gfx::TColor;
using rtl::AnsiString;
using rtl::Integer;
using rtl::UnicodeString;

// Includes member in set when on, else excludes it.
template <class E> constexpr void IncludeIf(rtl::TSet<E> &set, E member, bool on) {
    if (on) {
        set.Include(member);
    } else {
        set.Exclude(member);
    }
}

// The exception of the rich-document library; its messages are the library's fixed texts.
class EViziVoduError : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

// A length in a style sheet's units (TVDStyle::Units): screen pixels or twips (1/1440 inch).
using TVDStyleLength = int32_t;
enum TVDStyleUnits : uint8_t { vdstuPixels, vdstuTwips };

// A length set by the user for the page, in one of six units.
using TVDLength = long double;
enum TVDUnits : uint8_t {
    vduInches,
    vduCentimeters,
    vduMillimeters,
    vduPicas,
    vduPixels,
    vduPoints
};

// The screen's and an output device's pixels per inch, and the device margins in device
// pixels. Operations take a pointer to one; null means drawing at screen resolution.
struct TVDScreenAndDevice {
    int32_t ppixScreen = 0;
    int32_t ppiyScreen = 0;
    int32_t ppixDevice = 0;
    int32_t ppiyDevice = 0;
    int32_t LeftMargin = 0;
    int32_t RightMargin = 0;
};
using PVDScreenAndDevice = const TVDScreenAndDevice *;

// Opacity in thousandths of a percent: 100000 is opaque.
using TVDOpacity = int32_t;
using TVDCodePage = uint32_t;
using TVDStyleTemplateId = int32_t;
// A cursor number of the screen's cursor table (101 hand, 106 flip arrow, 107 laying I-beam).
using TCursor = int16_t;

enum TVDBiDiMode : uint8_t { vdbdUnspecified, vdbdLeftToRight, vdbdRightToLeft };

// How a style sheet is written as CSS (TVDStyle::SaveCSSToStream).
enum TVDSaveCSSOption : uint8_t {
    vdcssOnlyDifference,
    vdcssIgnoreLeftAlignment,
    vdcssNoDefCSSStyle,
    vdcssUTF8,
    vdcssDefault0Style,
    vdcssMarkersAsText
};
using TVDSaveCSSOptions = rtl::TSet<TVDSaveCSSOption, 6>;

// How colours are drawn: as they are, resolved for a printer, in grey, or in black and white.
enum TVDColorMode : uint8_t {
    vdcmColor,
    vdcmPrinterColor,
    vdcmGrayScale,
    vdcmBlackAndWhite,
    vdcmBlackOnWhite
};

enum TVDTextDrawState : uint8_t {
    vdtsSelected,
    vdtsHover,
    vdtsItemStart,
    vdtsItemEnd,
    vdtsDrawItemStart,
    vdtsDrawItemEnd,
    vdtsControlFocused,
    vdtsSpecialCharacters,
    vdtstControlDisabled
};
using TVDTextDrawStates = rtl::TSet<TVDTextDrawState>;

// A precomputed height of sub- and superscript text; operations take a nullable pointer.
struct TVDExtraFontInfo {
    int32_t ScriptHeight = 0;
};
using PVDExtraFontInfo = const TVDExtraFontInfo *;

// Which parts of a text an OnApplyStyleColor handler is asked to colour.
enum TVDColoredPart : uint8_t { vdcpBack, vdcpText };
using TVDColoredParts = rtl::TSet<TVDColoredPart>;

enum TVDSeqType : uint8_t {
    vdseqDecimal,
    vdseqLowerAlpha,
    vdseqUpperAlpha,
    vdseqLowerRoman,
    vdseqUpperRoman
};
enum TVDTextEngine : uint8_t { vdteWindows, vdteUniscribe };
enum TVDSelectionMode : uint8_t { vdsmChar, vdsmWord, vdsmParagraph };
enum TVDSelectionStyle : uint8_t { vdssItems, vdssLines };
enum TVDTextBackgroundKind : uint8_t { vdtbkSimple, vdtbkItems, vdtbkLines };
enum TVDFieldHighlightType : uint8_t { vdfhNever, vdfhCurrent, vdfhAlways };
enum TVDLineWrapMode : uint8_t { vdWrapAnywhere, vdWrapSimple, vdWrapNormal };
enum TVDSelectionHandleKind : uint8_t { vdshkWedge, vdshkCircle };
enum TVDPageBreakType : uint8_t { vdpbPageBreak, vdpbSoftPageBreak };
// The platform's font quality codes 0 to 6.
enum TFontQuality : uint8_t {
    fqDefault,
    fqDraft,
    fqProof,
    fqNonAntialiased,
    fqAntialiased,
    fqClearType,
    fqClearTypeNatural
};

// The special-character kinds that are drawn as signs while special characters are shown.
enum TVDSpecialCharacter : uint8_t {
    vdscSpace,          // a middle dot over each space
    vdscNBSP,           // a degree sign over each non-breaking space
    vdscTab,            // the tab arrow
    vdscParagraph,      // line-end signs
    vdscSoftHyphen,     // soft hyphens, also shown as U+00AC
    vdscParagraphAttrs, // paragraph option signs
    vdscPlaceholders,   // placeholders
    vdscFloatingLines   // anchor lines of floating boxes
};
using TVDSpecialCharacters = rtl::TSet<TVDSpecialCharacter>;

} // namespace vizivodu
