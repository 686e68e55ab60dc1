// The RTF halves of notes: footnotes and endnotes with their documents, note references.
#include "vizivodu/document/VDNotes.h"

#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDSeqItem.h"
#include "vizivodu/formats/common/VDFuncs_RTF.h"
#include "vizivodu/formats/rtf/VDRTFWriter_p.h"
#include "vizivodu/styles/VDStyle.h"

namespace vizivodu {

void TCustomVDNoteItemInfo::FillRTFTables(TCustomVDRTFTables *rtfTables,
                                          TVDIntegerList *listOverrideCountList,
                                          TCustomVDData *vdData) {
    TVDSeqItemInfo::FillRTFTables(rtfTables, listOverrideCountList, vdData);
    GetDocument().FillRTFTables(rtfTables, listOverrideCountList);
}

void TVDFootOrEndnoteItemInfo::SaveRTF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                                       int32_t level, TVDRTFSavingData &savingData,
                                       TVDRTFDocType docType, bool hiddenParent) {
    if (docType != vdrtfdtMain) {
        return;
    }
    const bool hidden = hiddenParent || Hidden;
    if (hidden) {
        RTFWrite(stream, "{\\v");
    }
    if (FormatString.size() == 1) {
        TVDLabelItemInfo::SaveRTF(stream, vdData, itemNo, level, savingData, docType, hiddenParent);
    } else {
        RTFWrite(stream, "\\chftn");
    }
    RTFWrite(stream, "{\\footnote");
    if (StyleNo == StyleNoFootnote) {
        RTFWrite(stream, "{}");
    } else if (StyleNo == StyleNoEndnote) {
        RTFWrite(stream, "\\ftnalt ");
    } else {
        RTFWrite(stream, " ");
    }
    GetDocument().SaveRTFToStream(stream, false, 0, gfx::clNone, nullptr, savingData, vdrtfdtNote,
                                  false, hidden, nullptr, nullptr, nullptr, nullptr, nullptr,
                                  nullptr);
    RTFWrite(stream, "}");
    if (hidden) {
        RTFWrite(stream, "}");
    }
}

void TVDNoteReferenceItemInfo::SaveRTF(rtl::TStream &stream, TCustomVDData *vdData, int32_t,
                                       int32_t, TVDRTFSavingData &, TVDRTFDocType docType,
                                       bool hiddenParent) {
    const bool hidden = hiddenParent || Hidden;
    if (docType == vdrtfdtNote) {
        RTFWrite(stream, hidden ? "{\\v\\chftn}" : "\\chftn ");
        return;
    }
    TCustomVDNoteItemInfo *owner = GetOwnerNote();
    if (docType != vdrtfdtSidenote || !owner) {
        return;
    }
    TCustomVDData *parent = owner->GetDocument().MainVDData;
    const int32_t index = owner->GetIndexInList(parent ? parent->GetSeqList(false) : nullptr);
    std::string field = "{\\field{\\*\\fldinst REF _sidenote" + std::to_string(index) +
                        "}{\\fldrslt " +
                        UnicodeToRTF(owner->GetNoteText(), vdData->GetVDStyle()->GetDefCodePage(),
                                     vdData->GetRTFOptions().Contains(vdrtfDuplicateUnicode)) +
                        "}}";
    RTFWrite(stream, hidden ? "{\\v" + field + "}" : field);
}

} // namespace vizivodu
