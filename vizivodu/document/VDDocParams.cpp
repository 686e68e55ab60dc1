// Document parameters: defaults, units, and their native-format, RTF and DOCX forms.
#include "vizivodu/document/VDDocParams.h"

#include "vizivodu/document/VDError.h"
#include "vizivodu/document/VDFHelpers.h"
#include "vizivodu/formats/common/VDFuncs_OOXML.h"
#include "vizivodu/formats/common/VDFuncs_RTF.h"
#include "vizivodu/styles/VDFuncs.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Rounding.h"
#include "platform/rtl/StrUtils.h"

#include <cmath>

namespace vizivodu {

namespace {

constexpr TVDLength kA4Width = 8.2677165354L;
constexpr TVDLength kA4Height = 11.692913386L;
constexpr TVDLength kSideMargin = 1.25L;
constexpr TVDLength kTopMargin = 1;
constexpr TVDLength kHeaderY = 0.5L;

constexpr std::string_view kNames[19] = {
    "",           "Units",         "Orientation", "ZoomPercent", "ZoomMode",     "PageWidth",
    "PageHeight", "LeftMargin",    "RightMargin", "TopMargin",   "BottomMargin", "HeaderY",
    "FooterY",    "MirrorMargins", "FacingPages", "TitlePage",   "Author",       "Title",
    "Comments"};

// A length counts as stored when it differs from its inch default.
bool Stored(TVDLength value, TVDLength inchDefault) {
    return std::fabs(value - inchDefault) > 1e-20L;
}

rtl::TFormatSettings PointSettings() {
    rtl::TFormatSettings settings = rtl::TFormatSettings::Russian();
    settings.DecimalSeparator = u'.';
    settings.ThousandSeparator = u',';
    return settings;
}

std::string NumberText(TVDLength value) {
    return rtl::Utf16ToUtf8(rtl::FloatToStrF(value, rtl::ffGeneral, 15, 0, PointSettings()));
}

// A text with characters above U+007F goes with an 8-bit alternative in the system code page
// for readers without Unicode ("\upr"); the Unicode form carries its own "\uc" counts, so it
// reads right whatever count the document has in force.
std::string RTFText(const rtl::UnicodeString &s, bool saveAnsi) {
    for (char16_t c : s) {
        if (c > 0x7F) {
            return "{\\upr{" +
                   EscapeRTFAnsi(RawUnicodeToAnsi(0, StringToRawUnicode(s)), false, false, false,
                                 false) +
                   "}{\\*\\ud " + UnicodeToRTF(s, 0, false) + "}}";
        }
    }
    return UnicodeToRTFEx(s, 0, false, saveAnsi, false, false);
}

// Comments for the core properties: line breaks as "_x000d_", and "_x" kept literal.
rtl::UnicodeString PrepareComments(const rtl::UnicodeString &s) {
    rtl::UnicodeString lines;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == u'\r' || s[i] == u'\n') {
            if (s[i] == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n') {
                ++i;
            }
            lines += u"\r\n";
        } else {
            lines += s[i];
        }
    }
    rtl::UnicodeString out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == u'_' && i + 1 < lines.size() && lines[i + 1] == u'x') {
            out += u"_x005f_";
            continue;
        }
        if (lines[i] == u'\r' && i + 1 < lines.size() && lines[i + 1] == u'\n') {
            out += u"_x000d_";
            ++i;
            continue;
        }
        out += lines[i];
    }
    return out;
}

int32_t ReadInteger(const std::string &value) {
    return rtl::StrToInt(rtl::Utf8ToUtf16(value));
}

[[noreturn]] void RaiseInvalidVDF() {
    throw EViziVoduError(rtl::UnicodeString(errmsg::InvalidVDF));
}

} // namespace

int32_t GetDocParameterIndex(std::string_view name) {
    for (int32_t i = 1; i < 19; ++i) {
        if (kNames[i] == name) {
            return i;
        }
    }
    return 0;
}

void TVDDocParameters::Reset() {
    Units = vduInches;
    Orientation = poPortrait;
    ZoomPercent = 100;
    ZoomMode = vdzmCustom;
    Author.clear();
    Title.clear();
    Comments.clear();
    PageWidth = kA4Width;
    PageHeight = kA4Height;
    LeftMargin = RightMargin = kSideMargin;
    TopMargin = BottomMargin = kTopMargin;
    HeaderY = FooterY = kHeaderY;
    MirrorMargins = FacingPages = TitlePage = false;
}

void TVDDocParameters::ResetLayout() {
    const TVDLength k = UnitsPerInch(Units);
    Orientation = poPortrait;
    PageWidth = kA4Width * k;
    PageHeight = kA4Height * k;
    LeftMargin = RightMargin = kSideMargin * k;
    TopMargin = BottomMargin = kTopMargin * k;
    HeaderY = FooterY = kHeaderY * k;
    MirrorMargins = TitlePage = FacingPages = false;
}

TVDLength TVDDocParameters::UnitsPerInch(TVDUnits units) {
    return GetUnitsPerInch(units);
}

void TVDDocParameters::ConvertToUnits(TVDUnits units) {
    if (units == Units) {
        return;
    }
    const TVDLength k = UnitsPerInch(units) / UnitsPerInch(Units);
    for (TVDLength *v : {&PageWidth, &PageHeight, &LeftMargin, &RightMargin, &TopMargin,
                         &BottomMargin, &HeaderY, &FooterY}) {
        *v *= k;
    }
    Units = units;
}

int32_t TVDDocParameters::ToTwips(TVDLength value) const {
    return static_cast<int32_t>(rtl::Round(value * 1440 / UnitsPerInch(Units)));
}

TVDLength TVDDocParameters::FromTwips(int32_t value) const {
    return UnitsPerInch(Units) * value / 1440;
}

bool TVDDocParameters::AreAllValuesDefault() const {
    return GetVDFLineCount() == 0;
}

namespace {

struct TLengthField {
    std::string_view Name;
    TVDLength TVDDocParameters::*Field;
    TVDLength Default;
};

const TLengthField kLengths[] = {
    {"PageHeight", &TVDDocParameters::PageHeight, kA4Height},
    {"PageWidth", &TVDDocParameters::PageWidth, kA4Width},
    {"LeftMargin", &TVDDocParameters::LeftMargin, kSideMargin},
    {"RightMargin", &TVDDocParameters::RightMargin, kSideMargin},
    {"TopMargin", &TVDDocParameters::TopMargin, kTopMargin},
    {"BottomMargin", &TVDDocParameters::BottomMargin, kTopMargin},
    {"HeaderY", &TVDDocParameters::HeaderY, kHeaderY},
    {"FooterY", &TVDDocParameters::FooterY, kHeaderY},
};

} // namespace

int32_t TVDDocParameters::GetVDFLineCount() const {
    rtl::TMemoryStream lines;
    SaveToVDF(lines);
    int32_t count = 0;
    const auto *bytes = lines.GetMemory();
    for (int64_t i = 0; i < lines.GetSize(); ++i) {
        count += bytes[i] == '\n';
    }
    return count;
}

void TVDDocParameters::SaveToVDF(rtl::TStream &stream) const {
    auto line = [&stream](std::string_view name, const std::string &value) {
        VDFWriteLine(stream, std::string(name) + "=" + value);
    };
    if (Units != vduInches) {
        line("Units", std::to_string(Units));
    }
    if (Orientation != poPortrait) {
        line("Orientation", std::to_string(Orientation));
    }
    for (const TLengthField &f : kLengths) {
        if (Stored(this->*f.Field, f.Default)) {
            line(f.Name, NumberText(this->*f.Field));
        }
    }
    if (ZoomMode == vdzmCustom) {
        if (ZoomPercent != 100) {
            line("ZoomPercent", std::to_string(ZoomPercent));
        }
    } else {
        line("ZoomMode", std::to_string(ZoomMode));
    }
    for (auto [name, on] :
         {std::pair{"MirrorMargins", MirrorMargins}, std::pair{"FacingPages", FacingPages},
          std::pair{"TitlePage", TitlePage}}) {
        if (on) {
            line(name, "1");
        }
    }
    for (auto [name, text] : {std::pair{"Author", &Author}, std::pair{"Title", &Title},
                              std::pair{"Comments", &Comments}}) {
        if (!text->empty()) {
            line(name, VDFEncodeString(*text));
        }
    }
}

void TVDDocParameters::ReadProperyFromString(std::string_view s, bool utf8) {
    const size_t eq = s.find('=');
    if (eq == std::string_view::npos) {
        return;
    }
    const int32_t index = GetDocParameterIndex(s.substr(0, eq));
    const std::string value(s.substr(eq + 1));
    switch (index) {
    case 0:
        return;
    case 1: {
        const int32_t v = ReadInteger(value);
        if (v < vduInches || v > vduPoints) {
            RaiseInvalidVDF();
        }
        Units = static_cast<TVDUnits>(v);
        return;
    }
    case 2: {
        const int32_t v = ReadInteger(value);
        if (v != poPortrait && v != poLandscape) {
            RaiseInvalidVDF();
        }
        Orientation = static_cast<TPrinterOrientation>(v);
        return;
    }
    case 3:
        ZoomPercent = ReadInteger(value);
        return;
    case 4: {
        const int32_t v = ReadInteger(value);
        if (v < vdzmFullPage || v > vdzmCustom) {
            RaiseInvalidVDF();
        }
        ZoomMode = static_cast<TVDZoomMode>(v);
        return;
    }
    case 13:
        MirrorMargins = value != "0";
        return;
    case 14:
        FacingPages = value != "0";
        return;
    case 15:
        TitlePage = value != "0";
        return;
    case 16:
        Author = VDFDecodeString(value, utf8);
        return;
    case 17:
        Title = VDFDecodeString(value, utf8);
        return;
    case 18:
        Comments = VDFDecodeString(value, utf8);
        return;
    default:
        break;
    }
    const TVDLength number = rtl::StrToFloat(rtl::Utf8ToUtf16(value), PointSettings());
    for (const TLengthField &f : kLengths) {
        if (f.Name == kNames[index]) {
            this->*f.Field = number;
        }
    }
}

void TVDDocParameters::SaveToRTF(rtl::TStream &stream, bool saveAnsi) const {
    std::string out;
    if (Orientation == poLandscape) {
        out += "\\landscape";
    }
    auto twips = [this](TVDLength v) { return std::to_string(ToTwips(v)); };
    out += "\\paperw" + twips(PageWidth) + "\\paperh" + twips(PageHeight) + "\\margl" +
           twips(LeftMargin) + "\\margr" + twips(RightMargin) + "\\margt" + twips(TopMargin) +
           "\\margb" + twips(BottomMargin);
    if (Stored(HeaderY, kHeaderY)) {
        out += "\\headery" + twips(HeaderY);
    }
    if (Stored(FooterY, kHeaderY)) {
        out += "\\footery" + twips(FooterY);
    }
    switch (ZoomMode) {
    case vdzmFullPage:
        out += "\\viewzk1";
        break;
    case vdzmPageWidth:
        out += "\\viewzk2";
        break;
    default:
        out += "\\viewscale" + std::to_string(ZoomPercent) + "\\viewzk0";
        break;
    }
    if (FacingPages) {
        out += "\\facingp";
    }
    if (TitlePage) {
        out += "\\titlepg";
    }
    if (MirrorMargins) {
        out += "\\margmirror";
    }
    if (HasOOXMLCoreProperties()) {
        out += "{\\info";
        if (!Author.empty()) {
            out += "{\\author " + RTFText(Author, saveAnsi) + "}";
        }
        if (!Title.empty()) {
            out += "{\\title " + RTFText(Title, saveAnsi) + "}";
        }
        if (!Comments.empty()) {
            out += "{\\doccomm " + RTFText(Comments, saveAnsi) + "}";
        }
        out += "}";
    }
    VDFWriteLine(stream, out);
}

void TVDDocParameters::SaveOOXMLSectionProperties(rtl::TStream &stream) const {
    auto twips = [this](TVDLength v) { return std::to_string(ToTwips(v)); };
    std::string out = "<w:pgSz w:w=\"" + twips(PageWidth) + "\" w:h=\"" + twips(PageHeight) + "\"";
    if (Orientation == poLandscape) {
        out += " w:orient=\"landscape\"";
    }
    out += "/><w:pgMar w:top=\"" + twips(TopMargin) + "\" w:right=\"" + twips(RightMargin) +
           "\" w:bottom=\"" + twips(BottomMargin) + "\" w:left=\"" + twips(LeftMargin) +
           "\" w:header=\"" + twips(HeaderY) + "\" w:footer=\"" + twips(FooterY) +
           "\" w:gutter=\"0\"/>";
    if (TitlePage) {
        out += "<w:titlePg/>";
    }
    VDFWrite(stream, out);
}

void TVDDocParameters::SaveOOXMLDocumentSettings(rtl::TStream &stream) const {
    std::string out = "<w:zoom";
    if (ZoomMode == vdzmFullPage) {
        out += " w:val=\"fullPage\"";
    } else if (ZoomMode == vdzmPageWidth) {
        out += " w:val=\"bestFit\"";
    }
    out += " w:percent=\"" + std::to_string(ZoomPercent) + "\"/>";
    if (MirrorMargins) {
        out += "<w:mirrorMargins/>";
    }
    if (FacingPages) {
        out += "<w:evenAndOddHeaders/>";
    }
    VDFWrite(stream, out);
}

bool TVDDocParameters::HasOOXMLCoreProperties() const {
    return !Author.empty() || !Title.empty() || !Comments.empty();
}

void TVDDocParameters::SaveOOXMLCoreProperties(rtl::TStream &stream) const {
    std::string out;
    if (!Author.empty()) {
        out += "<dc:creator>" + MakeOOXMLStr(Author) + "</dc:creator>";
    }
    if (!Title.empty()) {
        out += "<dc:title>" + MakeOOXMLStr(Title) + "</dc:title>";
    }
    if (!Comments.empty()) {
        out += "<dc:description>" + MakeOOXMLStr(PrepareComments(Comments)) + "</dc:description>";
    }
    VDFWrite(stream, out);
}

} // namespace vizivodu
