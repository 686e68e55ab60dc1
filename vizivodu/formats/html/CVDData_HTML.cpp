// The pieces both HTML writers share: the file forms, hyperlink start tags, checkpoint anchors,
// the HTML text of an item, the background picture, and which text styles may be written.
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/formats/common/VDFuncs_HTML.h"
#include "vizivodu/formats/common/VDFuncs_Symbol.h"
#include "vizivodu/formats/common/VDFuncs_URL.h"
#include "vizivodu/formats/html/VDHTMLSave.h"
#include "vizivodu/formats/html/VDStyle_CSS_p.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/SafeSave.h"
#include "platform/rtl/StrUtils.h"

namespace vizivodu {

bool StyleCanBeSavedAs(const TCustomVDFontInfo &style) {
    const TVDTextOptions options = style.GetOptions();
    return !options.Contains(vdteoRTFCode) && !options.Contains(vdteoDocXCode) &&
           !options.Contains(vdteoDocXInRunCode);
}

namespace {

using SaveToStreamMethod = bool (TCustomVDData::*)(rtl::TStream &, TVDHTMLSaveParams &);

// The whole file or nothing: a failed save keeps the old file and removes the pictures it
// wrote, so that no half export stays beside it.
bool SaveHTMLFile(TCustomVDData &data, const rtl::UnicodeString &fileName,
                  TVDHTMLSaveParams &params, SaveToStreamMethod save) {
    std::vector<rtl::UnicodeString> pictures;
    std::vector<rtl::UnicodeString> *outer = data.SavedPictureFiles;
    data.SavedPictureFiles = &pictures;
    params.Path = rtl::ExtractFilePath(fileName);
    bool ok = false;
    try {
        rtl::SaveFileSafely(fileName, [&](rtl::TStream &stream) {
            if (!(data.*save)(stream, params)) {
                throw EViziVoduError(u"HTML export failed");
            }
        });
        ok = true;
    } catch (const rtl::Exception &) {
        for (const rtl::UnicodeString &picture : pictures) {
            rtl::DeleteFile(picture);
        }
    }
    data.SavedPictureFiles = outer;
    if (ok && outer) {
        outer->insert(outer->end(), pictures.begin(), pictures.end());
    }
    return ok;
}

bool IsSymbolFontName(const rtl::UnicodeString &name) {
    return rtl::SameText(name, u"Symbol") || rtl::SameText(name, u"Wingdings");
}

} // namespace

bool TCustomVDData::SaveHTML(const rtl::UnicodeString &fileName, TVDHTMLSaveParams &params) {
    params.Bullets = nullptr;
    return SaveHTMLFile(*this, fileName, params, &TCustomVDData::SaveHTMLToStream);
}

bool TCustomVDData::SaveHTMLEx(const rtl::UnicodeString &fileName, TVDHTMLSaveParams &params) {
    params.Bullets = nullptr;
    params.ListBullets = nullptr;
    return SaveHTMLFile(*this, fileName, params, &TCustomVDData::SaveHTMLToStreamEx);
}

bool TCustomVDData::NextItemFromSpace(int32_t itemNo) {
    if (itemNo + 1 >= ItemCount() || IsFromNewLine(itemNo + 1)) {
        return false;
    }
    TCustomVDItemInfo *next = GetItem(itemNo + 1);
    if (!next->IsText()) {
        return false;
    }
    const TVDUnicodeString text = GetItemTextW(itemNo + 1);
    return !text.empty() && text[0] == u' ';
}

TVDAnsiString TCustomVDData::GetHTMLLinkOpenTag(int32_t itemNo, const TVDAnsiString &classAttr,
                                                TVDSaveOptions options) {
    rtl::UnicodeString target, extras;
    WriteHyperlink(GetItem(itemNo)->JumpID + FFirstJumpNo, this, itemNo, vdsfHTML, target, extras);
    if (target.empty() && extras.empty()) {
        return {};
    }
    const bool utf8 = options.Contains(vdsoUTF8);
    const TVDAnsiString ex =
        extras.empty() ? "" : " " + UnicodeToHTMLEncoding(extras, utf8, GetVDStyle());
    const TVDAnsiString cls = classAttr.empty() ? "" : " " + classAttr;
    if (target.empty()) {
        return "<a" + cls + ex + ">";
    }
    rtl::UnicodeString href = EscapeHTMLAttrUnicode(target);
    if (!GetOptions().Contains(vdoPercentEncodedURL)) {
        href = PercentEncodeURL(href);
    }
    return "<a" + cls + " href=\"" + UnicodeToHTMLEncoding(href, utf8, GetVDStyle()) + "\"" + ex +
           ">";
}

void TCustomVDData::WriteHTMLCheckpoint(rtl::TStream &stream, const TVDCPInfo *checkpoint,
                                        TVDSaveOptions options, bool lineBefore,
                                        const rtl::UnicodeString &prefix, int32_t &count) {
    if (!checkpoint) {
        return;
    }
    if (lineBefore) {
        WriteCSSText(stream, "\r\n");
    }
    rtl::UnicodeString name;
    if (options.Contains(vdsoUseCheckpointsNames) && !checkpoint->Name.empty()) {
        name = checkpoint->Name;
    } else {
        name = prefix + rtl::IntToStr(count);
    }
    // A name is the document's text: escaped, so that a quote cannot end the attribute.
    WriteCSSText(stream, "<a name=\"" +
                             UnicodeToHTMLEncoding(EscapeHTMLAttrUnicode(name),
                                                   options.Contains(vdsoUTF8), GetVDStyle()) +
                             "\"></a>\r\n");
    ++count;
}

TVDRawByteString TCustomVDData::GetItemTextForHTML(const rtl::UnicodeString &path, int32_t itemNo,
                                                   TVDSaveOptions options, bool useCSS) {
    const bool utf8 = options.Contains(vdsoUTF8);
    TVDRawByteString text;
    if (SaveItemToFile(path, this, itemNo, vdsfHTML, utf8, text)) {
        return utf8 ? rtl::Utf16ToUtf8(RawUnicodeToString(text)) : text;
    }
    TCustomVDItemInfo *item = GetItem(itemNo);
    if (item->ItemText.empty() && IsFromNewLine(itemNo) &&
        (itemNo + 1 == ItemCount() || IsParaStart(itemNo + 1))) {
        return "<br" + GetXHTMLTagEnd(options) + ">";
    }
    const TFontInfo &style = GetVDStyle()->GetTextStyles().GetItem(GetActualStyle(*item));
    const bool code = style.GetOptions().Contains(vdteoHTMLCode);
    const bool spaceFollows = NextItemFromSpace(itemNo);
    if (useCSS && !code && IsSymbolFontName(style.GetFontName())) {
        const TVDUnicodeString w = GetItemTextW(itemNo);
        return rtl::SameText(style.GetFontName(), u"Symbol")
                   ? SymbolUnicodeToHTML(w, utf8, spaceFollows)
                   : WingdingsUnicodeToHTML(w, utf8, spaceFollows);
    }
    if (item->ItemOptions.Contains(vdioUnicode)) {
        return utf8 ? RawUnicodeToHTMLUTF8(item->ItemText, code, spaceFollows)
                    : RawUnicodeToHTMLWithEntities(item->ItemText, code, spaceFollows);
    }
    const TVDAnsiString escaped = EscapeHTMLTextAnsi(item->ItemText, code, spaceFollows);
    return utf8 ? AnsiToUTF8(GetStyleCodePage(GetActualStyle(*item)), escaped) : escaped;
}

rtl::UnicodeString TCustomVDData::SaveBackgroundToHTML(const gfx::TGraphic &bmp, TColor color,
                                                       TVDHTMLSaveParams &params) {
    rtl::UnicodeString location;
    bool doDefault = true;
    HTMLSaveImage(this, -1, params.Path, color, location, doDefault);
    if (doDefault) {
        location =
            DoSavePicture(vdsfHTML, this, -1, params.ImagesPrefix, params.Path, params.ImgSaveNo,
                          params.Options.Contains(vdsoOverrideImages), color, bmp);
    }
    return BackslashesToSlashes(location);
}

} // namespace vizivodu
