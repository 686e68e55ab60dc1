// RTF fields into field items: page numbers, page counts and sequence numbers, in the text
// style of the text around them.
#include "vizivodu/formats/rtf/VDRTFProps.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDFieldItems.h"
#include "vizivodu/document/VDSeqItem.h"
#include "vizivodu/layout/viewer/VDOptions.h"

#include "platform/rtl/StrUtils.h"

namespace vizivodu {

void TVDRTFReaderProperties::ReaderNewPageField(TVDRTFPosition position, TVDRTFPageNumberType type,
                                                bool count) {
    if (SkipHiddenText && FReader->CharProps().FHidden) {
        return;
    }
    if (LineBreaksAsParagraphs && position == rtf_ts_NewLine) {
        position = rtf_ts_NewPara;
    }
    const int32_t paraNo = GetParaNoForPosition(position);
    const int32_t styleNo = FindOrAddTextStyle(UnicodeMode == vdruOnlyUnicode, paraNo);
    std::unique_ptr<TCustomVDItemInfo> item;
    if (count) {
        item = std::make_unique<TVDPageCountItemInfo>(FCurrentVDData, TVDPageNumberType(type),
                                                      styleNo);
    } else {
        item = std::make_unique<TVDPageNumberItemInfo>(FCurrentVDData, TVDPageNumberType(type),
                                                       styleNo);
    }
    item->ParaNo = paraNo;
    item->BeforeLoading(vdlfRTF);
    InsertRTFItem({}, std::move(item), position);
}

void TVDRTFReaderProperties::ReaderNewSeq(TVDRTFPosition position, const TVDUnicodeString &name,
                                          TVDRTFSeqType type, bool reset, int32_t startFrom) {
    if (SkipHiddenText && FReader->CharProps().FHidden) {
        return;
    }
    if (LineBreaksAsParagraphs && position == rtf_ts_NewLine) {
        position = rtf_ts_NewPara;
    }
    // The names of the note numberings are the notes' own.
    const bool reserved = rtl::SameText(name, u"@footnote@") || rtl::SameText(name, u"@endnote@");
    const int32_t paraNo = GetParaNoForPosition(position);
    const int32_t styleNo = FindOrAddTextStyle(UnicodeMode == vdruOnlyUnicode, paraNo);
    auto item = std::make_unique<TVDSeqItemInfo>(FCurrentVDData, reserved ? u"_" + name : name,
                                                 TVDSeqType(type), styleNo, startFrom, reset);
    item->ParaNo = paraNo;
    item->BeforeLoading(vdlfRTF);
    InsertRTFItem({}, std::move(item), position);
}

} // namespace vizivodu
