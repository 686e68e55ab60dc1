// The DOCX halves of notes: footnote and endnote references with their bodies collected for
// the notes parts, and note references inside notes and boxes.
#include "vizivodu/document/VDNotes.h"

#include "vizivodu/formats/common/VDFuncs_OOXML.h"
#include "vizivodu/formats/ooxml/VDDocXSavingData.h"
#include "vizivodu/formats/ooxml/VDOOXMLItems_p.h"

namespace vizivodu {

void TVDFootOrEndnoteItemInfo::SaveOOXML(rtl::TStream &stream, TCustomVDData *, int32_t,
                                         TVDDocXSavingData &savingData, bool hiddenParent) {
    const bool footnote = StyleNo == StyleNoFootnote;
    if (footnote && (savingData.CurInTextBox ||
                     (savingData.CurPart != vddocxpMain && savingData.CurPart < vddocxpHeader))) {
        return;
    }
    const char *kind = footnote ? "footnote" : "endnote";
    std::unique_ptr<rtl::TMemoryStream> &notes =
        footnote ? savingData.FootnotesStream : savingData.EndnotesStream;
    if (!notes) {
        notes = std::make_unique<rtl::TMemoryStream>();
    }
    const int32_t id = footnote ? ++savingData.FootnoteIndex : ++savingData.EndnoteIndex;
    const bool customMark = FormatString.size() == 1;
    OOXMLWrite(stream, std::string("<w:") + kind + "Reference" +
                           (customMark ? " w:customMarkFollows=\"1\"" : "") + " w:id=\"" +
                           std::to_string(id) + "\"/>");
    if (customMark) {
        OOXMLWrite(stream, "<w:t>" + MakeOOXMLStr(FormatString) + "</w:t>");
    }
    OOXMLWrite(*notes, std::string("<w:") + kind + " w:id=\"" + std::to_string(id) + "\">");
    {
        TVDDocXPartScope scope(savingData, footnote ? vddocxpFootnotes : vddocxpEndnotes);
        GetDocument().SaveOOXMLDocumentToStream(*notes, {}, false, false, false,
                                                hiddenParent || Hidden, gfx::clNone, nullptr,
                                                savingData);
    }
    OOXMLWrite(*notes, std::string("</w:") + kind + ">");
}

void TVDFootOrEndnoteItemInfo::SaveOOXMLBeforeRun(rtl::TStream &, TCustomVDData *, int32_t,
                                                  TVDDocXSavingData &, bool) {}

void TVDFootOrEndnoteItemInfo::SaveOOXMLAfterRun(rtl::TStream &, TCustomVDData *, int32_t,
                                                 TVDDocXSavingData &, bool) {}

namespace {

bool OwnedByBox(const TCustomVDNoteItemInfo *owner) {
    return owner && owner->StyleNo != StyleNoFootnote && owner->StyleNo != StyleNoEndnote;
}

int32_t OwnerIndex(TCustomVDNoteItemInfo &owner) {
    TCustomVDData *parent = owner.GetDocument().MainVDData;
    return owner.GetIndexInList(parent ? parent->GetSeqList(false) : nullptr);
}

} // namespace

void TVDNoteReferenceItemInfo::SaveOOXMLBeforeRun(rtl::TStream &stream, TCustomVDData *, int32_t,
                                                  TVDDocXSavingData &, bool) {
    TCustomVDNoteItemInfo *owner = GetOwnerNote();
    if (OwnedByBox(owner)) {
        OOXMLWrite(stream, "<w:fldSimple w:instr=\" REF _sidenote" +
                               std::to_string(OwnerIndex(*owner)) + "\">");
    }
}

void TVDNoteReferenceItemInfo::SaveOOXML(rtl::TStream &stream, TCustomVDData *, int32_t,
                                         TVDDocXSavingData &, bool) {
    TCustomVDNoteItemInfo *owner = GetOwnerNote();
    if (!owner) {
        return;
    }
    if (OwnedByBox(owner)) {
        OOXMLWrite(stream, "<w:t>" + MakeOOXMLStr(owner->GetNoteText()) + "</w:t>");
    } else {
        OOXMLWrite(stream,
                   owner->StyleNo == StyleNoEndnote ? "<w:endnoteRef/>" : "<w:footnoteRef/>");
    }
}

void TVDNoteReferenceItemInfo::SaveOOXMLAfterRun(rtl::TStream &stream, TCustomVDData *, int32_t,
                                                 TVDDocXSavingData &, bool) {
    if (OwnedByBox(GetOwnerNote())) {
        OOXMLWrite(stream, "</w:fldSimple>");
    }
}

} // namespace vizivodu
