// Document parameters: page size and orientation, margins, header and footer distances, zoom,
// mirrored margins, facing pages, a title page, author, title and comments; held in one of six
// units and written as native-format lines, RTF document controls and DOCX section, settings
// and core properties.
#pragma once

#include "vizivodu/styles/VDStyle_Types.h"

#include "platform/rtl/System.h"

#include <string>
#include <string_view>

namespace rtl {
class TStream;
}

namespace vizivodu {

enum TPrinterOrientation : uint8_t { poPortrait, poLandscape };
enum TVDZoomMode : uint8_t { vdzmFullPage, vdzmPageWidth, vdzmCustom };

class TVDDocParameters {
public:
    // The defaults: an A4 portrait page in inches, margins 1.25 and 1 inch, header and footer
    // at 0.5 inch, zoom 100 %.
    TVDDocParameters() { Reset(); }

    void Reset();
    // Portrait A4 with the default margins and distances in the current Units; the flags off.
    void ResetLayout();
    // Every length converted to units, then Units := units.
    void ConvertToUnits(TVDUnits units);
    static TVDLength UnitsPerInch(TVDUnits units);
    // Round(value * 1440 / UnitsPerInch(Units)), halves to even.
    int32_t ToTwips(TVDLength value) const;
    TVDLength FromTwips(int32_t value) const;
    void Assign(const TVDDocParameters &source) { *this = source; }
    bool AreAllValuesDefault() const;

    // One "Name=value" line per value that differs from its default; numbers with "." as the
    // decimal separator whatever the locale.
    int32_t GetVDFLineCount() const;
    void SaveToVDF(rtl::TStream &stream) const;
    // Reads one such line; lines without "=" and unknown names change nothing. A malformed
    // number raises EConvertError; a unit, orientation or zoom mode outside its range raises
    // EViziVoduError "Invalid VDF format" (the document read fails).
    void ReadProperyFromString(std::string_view s, bool utf8);

    void SaveToRTF(rtl::TStream &stream, bool saveAnsi) const;
    void SaveOOXMLSectionProperties(rtl::TStream &stream) const;
    void SaveOOXMLDocumentSettings(rtl::TStream &stream) const;
    bool HasOOXMLCoreProperties() const;
    void SaveOOXMLCoreProperties(rtl::TStream &stream) const;

    TVDLength PageWidth;
    TVDLength PageHeight;
    TVDLength LeftMargin;
    TVDLength RightMargin;
    TVDLength TopMargin;
    TVDLength BottomMargin;
    TVDLength HeaderY;
    TVDLength FooterY;
    TVDUnits Units;
    TPrinterOrientation Orientation;
    int32_t ZoomPercent;
    TVDZoomMode ZoomMode;
    bool MirrorMargins;
    bool FacingPages;
    bool TitlePage;
    rtl::UnicodeString Author;
    rtl::UnicodeString Title;
    rtl::UnicodeString Comments;
};

// The index of a property name in the table of names ("Units" 1 ... "Comments" 18); 0 for
// none. Exact and case-sensitive.
int32_t GetDocParameterIndex(std::string_view name);

} // namespace vizivodu
