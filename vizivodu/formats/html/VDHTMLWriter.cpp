// The state and helpers both HTML writers share, and the notes sections after the content.
#include "vizivodu/formats/html/VDHTMLWriter_p.h"

#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/document/VDNotes.h"
#include "vizivodu/document/VDSidenotes.h"
#include "vizivodu/formats/common/VDFuncs_HTML.h"
#include "vizivodu/formats/html/VDStyle_CSS_p.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Exceptions.h"

namespace vizivodu {

namespace {

TVDStyle &SheetOf(TCustomVDData &data) {
    TVDStyle *style = data.GetVDStyle();
    if (!style) {
        throw EViziVoduError(u"HTML export needs a style sheet");
    }
    return *style;
}

} // namespace

TVDHTMLWriterBase::TVDHTMLWriterBase(TCustomVDData &data, rtl::TStream &stream,
                                     TVDHTMLSaveParams &params, bool useCSS)
    : FData(data), FStream(stream), FParams(params), FStyle(SheetOf(data)), FUseCSS(useCSS),
      FUTF8(params.Options.Contains(vdsoUTF8)),
      FBullets(params.Bullets ? params.Bullets : &FOwnBullets) {}

void TVDHTMLWriterBase::Write(std::string_view s) {
    WriteCSSText(FStream, s);
}

void TVDHTMLWriterBase::WriteLine(std::string_view s) {
    WriteCSSLine(FStream, s);
}

TVDAnsiString TVDHTMLWriterBase::Encode(const rtl::UnicodeString &s) const {
    return UnicodeToHTMLEncoding(s, FUTF8, &FStyle);
}

void TVDHTMLWriterBase::WriteExtra(TVDHTMLSaveArea area) {
    const rtl::UnicodeString code = FData.GetExtraHTMLCode(area, FUseCSS);
    if (!code.empty()) {
        Write(Encode(code));
    }
}

void TVDHTMLWriterBase::WriteParaExtra(int32_t itemNo, bool paraStart) {
    const rtl::UnicodeString code = FData.GetParaHTMLCode(&FData, itemNo, paraStart, FUseCSS);
    if (!code.empty()) {
        Write(Encode(code));
    }
}

TVDHTMLSaveArgs TVDHTMLWriterBase::ItemArgs() const {
    TVDHTMLSaveArgs args;
    args.Path = FParams.Path;
    args.ImgSavePrefix = FParams.ImagesPrefix;
    args.ImgSaveNo = FParams.ImgSaveNo;
    args.CurrentFileColor = FUseCSS ? FParams.CurrentFileColor : FParams.Color;
    args.SaveOptions = FParams.Options;
    args.UseCSS = FUseCSS;
    args.Bullets = FBullets;
    args.ListBullets = FUseCSS ? FParams.ListBullets : nullptr;
    return args;
}

void TVDHTMLWriterBase::SaveNonTextItem(int32_t itemNo) {
    TVDRawByteString text;
    if (FData.SaveItemToFile(FParams.Path, &FData, itemNo, vdsfHTML, FUTF8, text)) {
        Write(FUTF8 ? rtl::Utf16ToUtf8(RawUnicodeToString(text)) : text);
        return;
    }
    TVDHTMLSaveArgs args = ItemArgs();
    TCustomVDItemInfo *item = FData.GetItem(itemNo);
    item->SaveToHTML(FStream, &FData, itemNo, item->ItemText, args);
    FParams.ImgSaveNo = args.ImgSaveNo;
}

void TVDHTMLWriterBase::CloseLists() {
    if (FPrevMarker) {
        FPrevMarker->HTMLOpenOrCloseTags(FStream, FPrevMarker->Level, -1, FStyle, FParams.Options,
                                         FUseCSS, FParams.ListBullets,
                                         FData.GetParaBiDiMode(FPrevMarker->ParaNo));
        FPrevMarker = nullptr;
    }
}

bool TVDHTMLWriterBase::IsHeading(int32_t paraNo, int32_t &level) const {
    const TParaInfo &para = FStyle.GetParaStyles().GetItem(paraNo);
    level = para.GetOutlineLevel();
    return para.IsHeading(6);
}

void TVDHTMLWriterBase::SaveAllNotes() {
    if (!FData.GetFlags().Contains(vdflRoot) || dynamic_cast<TVDNoteData *>(&FData)) {
        return;
    }
    SaveNotes(&TVDFootnoteItemInfo::ClassInfo, -1);
    SaveNotes(&TVDEndnoteItemInfo::ClassInfo, -1);
    SaveNotes(&TVDSidenoteItemInfo::ClassInfo, StyleNoSidenote);
}

void TVDHTMLWriterBase::SaveNotes(TVDItemClass noteClass, int32_t styleFilter) {
    auto next = [&](const TCustomVDNoteItemInfo *note) {
        do {
            note = FindNextNote(&FData, note, noteClass, true);
        } while (note && styleFilter >= 0 && note->StyleNo != styleFilter);
        return const_cast<TCustomVDNoteItemInfo *>(note);
    };
    TCustomVDNoteItemInfo *note = next(nullptr);
    if (!note) {
        return;
    }
    const TVDAnsiString color = ColorToHTMLStrAnsi(0xC0C0C0, false);
    const bool css = FUseCSS || FParams.Options.Contains(vdsoForceNonTextCSS);
    WriteLine(
        "<hr " + GetHTMLBoolAttr("noshade", FParams.Options) + " " +
        (css ? "style= \"color: " + color + "; border-width: 0px\"" : "color=\"" + color + "\"") +
        " width=\"30%\" align=\"left\" size=\"2\" " + GetXHTMLTagEnd(FParams.Options) + ">");
    for (; note; note = next(note)) {
        Write("<a name=\"" + Encode(note->GetHTMLAnchorName(&FData)) + "\"></a>");
        TVDHTMLSaveParams sub = FParams;
        sub.Title.clear();
        sub.LeftMargin = sub.TopMargin = sub.RightMargin = sub.BottomMargin = 0;
        sub.Background = nullptr;
        sub.Bullets = FBullets;
        sub.Options.Exclude(vdsoFirstOnly);
        sub.Options.Exclude(vdsoLastOnly);
        sub.Options.Include(vdsoMiddleOnly);
        const bool ok = FUseCSS ? note->GetDocument().SaveHTMLToStreamEx(FStream, sub)
                                : note->GetDocument().SaveHTMLToStream(FStream, sub);
        if (!ok) {
            throw EViziVoduError(u"HTML export of a note failed");
        }
        FParams.ImgSaveNo = sub.ImgSaveNo;
    }
}

} // namespace vizivodu
