// The RTF halves of the simple items: breaks, tabs, labels, page fields, sequence labels and
// list markers.
#include "vizivodu/document/VDItem.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDFieldItems.h"
#include "vizivodu/document/VDItem_BreakTab.h"
#include "vizivodu/document/VDLabelItem.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/document/VDSeqItem.h"
#include "vizivodu/formats/common/VDFuncs_RTF.h"
#include "vizivodu/formats/rtf/VDRTFWriter_p.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Lists.h"

namespace vizivodu {

namespace {

std::string Num(int64_t value) {
    return std::to_string(value);
}

bool IsHidden(const TCustomVDItemInfo &item, bool hiddenParent) {
    return hiddenParent || static_cast<const TVDNonTextItemInfo &>(item).Hidden;
}

// "{\v" ... "}" around what body writes when the item is hidden.
template <class Body> void WriteMaybeHidden(rtl::TStream &stream, bool hidden, Body body) {
    if (hidden) {
        RTFWrite(stream, "{\\v");
    }
    body();
    if (hidden) {
        RTFWrite(stream, "}");
    }
}

bool DuplicateUnicode(TCustomVDData *vdData) {
    return vdData->GetRTFOptions().Contains(vdrtfDuplicateUnicode);
}

} // namespace

void TCustomVDItemInfo::SaveRTF(rtl::TStream &, TCustomVDData *, int32_t, int32_t,
                                TVDRTFSavingData &, TVDRTFDocType, bool) {}

void TCustomVDItemInfo::FillRTFTables(TCustomVDRTFTables *, TVDIntegerList *, TCustomVDData *) {}

// ---- Breaks and tabs ----

void TVDBreakItemInfo::FillRTFTables(TCustomVDRTFTables *rtfTables, TVDIntegerList *,
                                     TCustomVDData *) {
    if (rtfTables) {
        rtfTables->AddColor(Color);
    }
}

void TVDBreakItemInfo::SaveRTF(rtl::TStream &stream, TCustomVDData *vdData, int32_t, int32_t level,
                               TVDRTFSavingData &savingData, TVDRTFDocType, bool hiddenParent) {
    const int32_t colorIndex = Color == gfx::clNone || !savingData.RTFTables
                                   ? 0
                                   : savingData.RTFTables->GetColorIndex(Color);
    const std::string cell = level == 0   ? std::string()
                             : level == 1 ? std::string("\\intbl\\itap1")
                                          : "\\itap" + Num(level);
    const int32_t width = vdData->GetVDStyle()->GetAsTwips(LineWidth);
    WriteMaybeHidden(stream, IsHidden(*this, hiddenParent), [&] {
        RTFWrite(stream, "\\pard" + cell + "\\plain\\fs6\\brdrb\\brdrs\\brdrw" + Num(width) +
                             "\\brdrcf" + Num(colorIndex) + "\\par\\pard" + cell);
    });
}

void TVDTabItemInfo::SaveRTF(rtl::TStream &stream, TCustomVDData *, int32_t, int32_t,
                             TVDRTFSavingData &, TVDRTFDocType, bool hiddenParent) {
    RTFWrite(stream, IsHidden(*this, hiddenParent) ? "{\\v\\tab}" : "\\tab ");
}

// ---- Labels and fields ----

void TVDLabelItemInfo::SaveRTF(rtl::TStream &stream, TCustomVDData *vdData, int32_t, int32_t,
                               TVDRTFSavingData &, TVDRTFDocType, bool hiddenParent) {
    const int32_t styleNo = GetActualTextStyleNo(vdData);
    WriteMaybeHidden(stream, IsHidden(*this, hiddenParent), [&] {
        RTFWrite(stream, UnicodeToRTFEx(GetText(), vdData->GetStyleCodePage(styleNo),
                                        DuplicateUnicode(vdData), false, false, false));
    });
}

void TCustomVDPageNumberItemInfo::SaveRTF(rtl::TStream &stream, TCustomVDData *, int32_t, int32_t,
                                          TVDRTFSavingData &, TVDRTFDocType, bool hiddenParent) {
    SaveRTF(stream, hiddenParent);
}

void TVDSeqItemInfo::SaveRTF(rtl::TStream &stream, TCustomVDData *vdData, int32_t, int32_t,
                             TVDRTFSavingData &, TVDRTFDocType, bool hiddenParent) {
    static constexpr const char *kNumberSwitch[] = {"", "alphabetic", "ALPHABETIC", "roman",
                                                    "ROMAN"};
    const TVDCodePage cp = vdData->GetVDStyle()->GetDefCodePage();
    const bool fallback = DuplicateUnicode(vdData);
    const auto type = static_cast<uint32_t>(GetNumberType() & 0x7F);
    const std::string numberSwitch =
        type == 0 || type > 4 ? std::string() : " \\\\* " + std::string(kNumberSwitch[type]);
    const std::string resetSwitch = Reset ? " \\\\r " + Num(StartFrom) : std::string();
    WriteMaybeHidden(stream, IsHidden(*this, hiddenParent), [&] {
        RTFWrite(stream, "{\\field{\\*\\fldinst {SEQ " + UnicodeToRTF(SeqName, cp, fallback) +
                             numberSwitch + resetSwitch + " \\\\* MERGEFORMAT }}{\\fldrslt {" +
                             UnicodeToRTF(GetText(), cp, fallback) + "}}}");
    });
}

// ---- List markers ----

void TVDMarkerItemInfo::FillRTFTables(TCustomVDRTFTables *, TVDIntegerList *listOverrideCountList,
                                      TCustomVDData *vdData) {
    const TVDListLevel *level = GetLevelInfo(vdData->GetVDStyle());
    if (!listOverrideCountList || !Reset || Level < 0 || !level || !level->HasNumbering() ||
        level->GetListType() == vdlstImageListCounter ||
        ListNo >= listOverrideCountList->GetCount()) {
        return;
    }
    listOverrideCountList->Put(ListNo, listOverrideCountList->Get(ListNo) + 1);
}

void TVDMarkerItemInfo::SaveRTF(rtl::TStream &stream, TCustomVDData *vdData, int32_t, int32_t,
                                TVDRTFSavingData &savingData, TVDRTFDocType, bool) {
    TVDStyle &style = *vdData->GetVDStyle();
    auto *info = const_cast<TVDListLevel *>(GetLevelInfo(&style));
    if (!info) {
        return;
    }
    if (info->GetListType() == vdlstPicture || info->GetListType() == vdlstImageList ||
        info->GetListType() == vdlstImageListCounter) {
        // Pictures of markers go out through the picture writers, which this writer lacks.
        return;
    }
    const bool lists = savingData.ListOverrideOffsetsList1 && savingData.ListOverrideOffsetsList2;
    AnsiString s = lists ? "{\\listtext\\pard\\plain" : "{\\pard\\plain";
    if (savingData.RTFTables) {
        s += RTFMarkerFontWords(info->GetFont(), style, *savingData.RTFTables);
    }
    const rtl::UnicodeString text =
        info->GetListType() == vdlstUnicodeBullet ? info->GetFormatStringW() : DisplayString;
    s += " " + UnicodeToRTF(text, style.GetDefCodePage(), DuplicateUnicode(vdData)) + "\\tab}";
    if (lists && ListNo >= 0 && ListNo < savingData.ListOverrideOffsetsList1->GetCount() &&
        ListNo < savingData.ListOverrideOffsetsList2->GetCount()) {
        int32_t ls = savingData.ListOverrideOffsetsList2->Get(ListNo);
        if (Reset && info->HasNumbering() && info->GetListType() != vdlstImageListCounter) {
            TVDIntegerList &offsets = *savingData.ListOverrideOffsetsList1;
            offsets.Put(ListNo, offsets.Get(ListNo) + 1);
            ls = offsets.Get(ListNo);
        }
        s += "\\ls" + Num(ls) + "\\ilvl" + Num(Level) + " ";
    }
    RTFWrite(stream, s);
}

} // namespace vizivodu
