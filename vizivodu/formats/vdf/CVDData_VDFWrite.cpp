// The native-format writer of a document: the version, units, background and document
// records, text runs under one header, checkpoints and the items' own records.
#include "vizivodu/document/CVDData.h"

#include "platform/rtl/SafeSave.h"
#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/document/VDDocParams.h"
#include "vizivodu/document/VDFHelpers.h"
#include "vizivodu/document/VDGrHandler.h"
#include "vizivodu/formats/vdf/VDFReader_p.h"
#include "vizivodu/layout/formatting/VDBack.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"

namespace vizivodu {

namespace {

constexpr uint8_t kHeaderOptionMask = 0x3F;

std::string Num(int64_t value) {
    return std::to_string(value);
}

// A run of text items written under one header: whole paragraphs of one text item each after
// the first, in the same styles, options, tag and hint, with no checkpoint.
class TTextRun {
public:
    TTextRun(TCustomVDData &data, rtl::TStream &stream) : FData(data), FStream(stream) {}

    bool CanJoin(const TCustomVDItemInfo &item) const {
        if (FItems.empty()) {
            return false;
        }
        const TCustomVDItemInfo &first = *FItems.front();
        return !item.GetSameAsPrev() && item.IsText() && item.StyleNo == first.StyleNo &&
               item.ParaNo == first.ParaNo &&
               (item.ItemOptions.Bits() & kHeaderOptionMask) ==
                   (first.ItemOptions.Bits() & kHeaderOptionMask) &&
               item.Tag == first.Tag && item.Hint == first.Hint && item.Checkpoint == nullptr;
    }
    void Start(const TCustomVDItemInfo &item) { FItems.assign(1, &item); }
    void Add(const TCustomVDItemInfo &item) { FItems.push_back(&item); }
    // Writes the pending run (nothing when empty).
    void Flush(bool forceSameAsPrev = false) {
        if (FItems.empty()) {
            return;
        }
        const TCustomVDItemInfo &first = *FItems.front();
        std::vector<std::string_view> texts;
        for (const TCustomVDItemInfo *item : FItems) {
            texts.push_back(item->ItemText);
        }
        WriteRecord(first, texts, first.ItemOptions, forceSameAsPrev);
        FItems.clear();
    }
    // One record of the characters [from, to) (1-based, to past the last) of a text item.
    void WritePart(const TCustomVDItemInfo &item, int32_t from, int32_t to);
    void WriteRecord(const TCustomVDItemInfo &first, const std::vector<std::string_view> &texts,
                     TVDItemOptions options, bool forceSameAsPrev);

private:
    TCustomVDData &FData;
    rtl::TStream &FStream;
    std::vector<const TCustomVDItemInfo *> FItems;
};

void TTextRun::WriteRecord(const TCustomVDItemInfo &first,
                           const std::vector<std::string_view> &texts, TVDItemOptions options,
                           bool forceSameAsPrev) {
    const TVDStyle &style = *FData.GetVDStyle();
    const bool names = FData.GetVDFOptions().Contains(vdfoUseStyleNames);
    const bool binary = FData.GetVDFOptions().Contains(vdfoSaveBinary);
    const bool unicode = options.Contains(vdioUnicode);
    const bool sameAsPrev = forceSameAsPrev || first.GetSameAsPrev();
    options = GetVDFItemOptions(options, forceSameAsPrev);
    std::string header = VDFFormatTextStyleRef(style, names, first.StyleNo) + " " +
                         Num(static_cast<int64_t>(texts.size())) + " " +
                         VDFFormatParaStyleRef(style, names, sameAsPrev ? -1 : first.ParaNo) + " " +
                         Num(options.Bits() & kHeaderOptionMask) + " " +
                         Num(unicode && !binary ? 3 : 0) + " " +
                         VDFFormatOptionalString(false, first.Tag);
    if (!first.Hint.empty()) {
        header += " " + VDFFormatOptionalString(false, first.Hint);
    }
    VDFWriteLine(FStream, header);
    for (std::string_view text : texts) {
        VDFWriteTextLine(FStream, text, unicode, !binary);
    }
}

void TTextRun::WritePart(const TCustomVDItemInfo &item, int32_t from, int32_t to) {
    Flush();
    const bool unicode = item.ItemOptions.Contains(vdioUnicode);
    const size_t unit = unicode ? 2 : 1;
    const std::string &text = item.ItemText;
    const size_t length = text.size() / unit;
    const size_t first = std::min(static_cast<size_t>(std::max(from, 1) - 1), length);
    const size_t last = std::clamp(static_cast<size_t>(std::max(to, 1) - 1), first, length);
    const std::string part = text.substr(first * unit, (last - first) * unit);
    WriteRecord(item, {part}, item.ItemOptions, false);
}

void WriteCheckpoint(rtl::TStream &stream, const TVDCPInfo &cp) {
    VDFWriteLine(stream, "-2 1 0 0 0 " + VDFFormatOptionalString(false, cp.Tag) + " " +
                             Num(cp.RaiseEvent ? 1 : 0) + " " + Num(cp.Persistent ? 1 : 0));
    VDFWriteLine(stream, VDFEncodeString(cp.Name));
}

void WriteDocRecordHeader(rtl::TStream &stream, int32_t lines, int32_t readType, int32_t kind) {
    VDFWriteLine(stream, "-9 " + Num(lines) + " 0 0 " + Num(readType) + " 0 " + Num(kind));
}

std::string BytesOf(TVDMemoryStream &stream) {
    const auto *p = reinterpret_cast<const char *>(stream.GetMemory());
    return p ? std::string(p, static_cast<size_t>(stream.GetSize())) : std::string();
}

void WriteBackground(rtl::TStream &stream, bool binary, const TVDBackground &background,
                     uint32_t color) {
    const gfx::TGraphic *image = background.GetImage();
    const int32_t style = static_cast<int32_t>(background.Style);
    if (image == nullptr || image->Empty() || style == 0) {
        VDFWriteLine(stream, "-7 0 -1 0 0 0 " + Num(style) + " " + Num(color));
        return;
    }
    const TVDGraphicClass *graphicClass = GraphicClassOf(*image);
    if (graphicClass == nullptr) {
        VDFWriteLine(stream, "-7 0 -1 0 0 0 " + Num(style) + " " + Num(color));
        return;
    }
    VDFWriteLine(stream, "-7 2 0 0 " + Num(binary ? 2 : 0) + " 0 " + Num(style) + " " + Num(color));
    VDFWriteLine(stream, graphicClass->GetName());
    VDFWriteDataBlock(stream, binary, VDFSavePictureToBinaryString(*image));
}

void WriteDocProperties(TCustomVDData &data, rtl::TStream &stream) {
    if (rtl::TStringList *props = data.GetAbsoluteRootData()->GetDocProperties()) {
        WriteDocRecordHeader(stream, props->GetCount(), 0, 5);
        for (int32_t i = 0; i < props->GetCount(); ++i) {
            VDFWriteLine(stream, VDFEncodeString(props->Get(i)));
        }
    }
    const TVDDocParameters *params = data.GetDocParameters(false);
    WriteDocRecordHeader(stream, params ? params->GetVDFLineCount() : 0, 0, 7);
    if (params) {
        params->SaveToVDF(stream);
    }
}

void WriteLayout(TCustomVDData &data, rtl::TStream &stream, bool binary,
                 const TVDLayoutInfo &layout) {
    const bool onlyPageInfo = data.GetRootData() != &data;
    TVDMemoryStream block;
    layout.SaveToStream(block, false, onlyPageInfo);
    WriteDocRecordHeader(stream, 2, binary ? 2 : 0, 3);
    VDFWriteLine(stream, "");
    VDFWriteDataBlock(stream, binary, BytesOf(block));
}

} // namespace

void VDFWriteDataBlock(rtl::TStream &stream, bool binary, const std::string &bytes) {
    if (binary) {
        const auto size = static_cast<int32_t>(bytes.size());
        stream.WriteBuffer(&size, 4);
        VDFWrite(stream, bytes);
    } else {
        VDFWriteLine(stream, VDFStringToHex(bytes));
    }
}

void TCustomVDData::GetRangeForSaving(TVDFSaveScope, int32_t &startItemNo, int32_t &startOffs,
                                      int32_t &endItemNo, int32_t &endOffs) {
    startItemNo = 0;
    startOffs = GetOffsBeforeItem(0);
    endItemNo = ItemCount() - 1;
    endOffs = GetOffsAfterItem(endItemNo);
}

bool TCustomVDData::SaveVDFToStream(rtl::TStream &stream, bool selectionOnly, uint32_t color,
                                    TVDBackground *background, TVDLayoutInfo *layout, bool root) {
    return SaveVDFToStreamEx(stream, GetVDFSaveScope(selectionOnly), color, background, layout,
                             root, nullptr);
}

bool TCustomVDData::SaveVDFToStreamEx(rtl::TStream &stream, TVDFSaveScope saveScope, uint32_t color,
                                      TVDBackground *background, TVDLayoutInfo *layout, bool root,
                                      PVDScreenAndDevice sad) {
    if (ItemCount() == 0) {
        return true;
    }
    const bool selection = saveScope == vdfss_Selection;
    const bool pageRange = saveScope == vdfss_Page || saveScope == vdfss_FromPage;
    const TVDFOptions options = GetVDFOptions();
    const bool binary = options.Contains(vdfoSaveBinary);
    int32_t progress = 0;
    bool progressStarted = false;
    try {
        if (!selection) {
            DoBeforeSaving();
        }
        VDFWriteLine(stream, "-8 1 3 1");
        if (root && GetVDStyle()->GetUnits() == vdstuTwips) {
            WriteDocRecordHeader(stream, 1, 0, 9);
            VDFWriteLine(stream, "1");
        }
        if (!selection && options.Contains(vdfoSaveBack) && background != nullptr) {
            WriteBackground(stream, binary, *background, color);
        }
        // Extra documents have no names in this model yet, so record 8 is not written.
        if (root) {
            VDFWriteStyleRecords(*this, stream);
        }
        if (root && options.Contains(vdfoSaveDocProperties) && !pageRange) {
            WriteDocProperties(*this, stream);
        }
        if (!selection) {
            if (options.Contains(vdfoSaveLayout) && layout != nullptr) {
                WriteLayout(*this, stream, binary, *layout);
            }
        }
        int32_t startNo = 0, startOffs = 0, endNo = 0, endOffs = 0;
        GetRangeForSaving(saveScope, startNo, startOffs, endNo, endOffs);
        if (startNo < 0 || endNo < startNo || endNo >= ItemCount()) {
            return true;
        }
        if (root) {
            progressStarted = SaveProgressInit(progress, endNo - startNo + 1, vdloVDFWrite);
        }
        TTextRun run(*this, stream);
        for (int32_t i = startNo; i <= endNo; ++i) {
            TCustomVDItemInfo &item = *GetItem(i);
            const bool partFirst =
                i == startNo && item.IsText() && (startOffs > GetOffsBeforeItem(i) || pageRange);
            const bool partLast = i == endNo && item.IsText() && endOffs < GetOffsAfterItem(i);
            if (partFirst || partLast) {
                if (item.Checkpoint != nullptr && (!partFirst || startOffs <= 1)) {
                    run.Flush();
                    WriteCheckpoint(stream, *item.Checkpoint);
                }
                run.WritePart(item, i == startNo ? startOffs : 1,
                              i == endNo ? endOffs : GetOffsAfterItem(i));
            } else if (item.IsText()) {
                if (run.CanJoin(item)) {
                    run.Add(item);
                } else {
                    run.Flush();
                    if (item.Checkpoint != nullptr) {
                        WriteCheckpoint(stream, *item.Checkpoint);
                    }
                    run.Start(item);
                }
            } else if (!(i == endNo && endOffs <= 0)) {
                run.Flush();
                if (item.Checkpoint != nullptr) {
                    WriteCheckpoint(stream, *item.Checkpoint);
                }
                item.SaveVDF(stream, this, i, item.GetSameAsPrev() ? -1 : item.ParaNo,
                             item.ItemText, nullptr, false, sad);
            }
            if (progressStarted) {
                SaveProgressRun(progress, i - startNo, endNo - startNo + 1, vdloVDFWrite);
            }
        }
        run.Flush();
        if (endNo == ItemCount() - 1 && endOffs >= GetOffsAfterItem(endNo) && NotAddedCP) {
            WriteCheckpoint(stream, *NotAddedCP);
        }
    } catch (const rtl::Exception &) {
        if (progressStarted) {
            SaveProgressDone(vdloVDFWrite);
        }
        return false;
    }
    if (progressStarted) {
        SaveProgressDone(vdloVDFWrite);
    }
    return true;
}

bool TCustomVDData::SaveVDF(const rtl::UnicodeString &fileName, bool selectionOnly, uint32_t color,
                            TVDBackground *background, TVDLayoutInfo *layout, bool root) {
    return rtl::TrySaveFileSafely(fileName, [&](rtl::TStream &stream) {
        return SaveVDFToStream(stream, selectionOnly, color, background, layout, root);
    });
}

void TCustomVDData::SaveVDFSubDocument(rtl::TStream &stream) {
    const TVDFOptions options = GetVDFOptions();
    TVDFOptions withoutBack = options;
    withoutBack.Exclude(vdfoSaveBack);
    SetVDFOptions(withoutBack);
    bool ok = false;
    VDFWriteBlock(
        stream, [&] { ok = SaveVDFToStream(stream, false, 0x1FFFFFFF, nullptr, nullptr, false); });
    SetVDFOptions(options);
    if (!ok) {
        throw rtl::EWriteError(u"Error in writing VDF subdocument");
    }
}

} // namespace vizivodu
