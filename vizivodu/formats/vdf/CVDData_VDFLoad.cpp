// The native-format reader's records that build the document: text items, the items' own
// records, document records and insertion; the document's loading operations.
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/document/VDDocParams.h"
#include "vizivodu/document/VDFHelpers.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/formats/vdf/VDFReader_p.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/StringList.h"

namespace vizivodu {

namespace {

// How deep the sub-documents of the stream being read lie.
thread_local int32_t VDFSubDocumentDepth = 0;

bool IsSymbolStyle(const TFontInfo &style) {
    const rtl::UnicodeString name = rtl::AnsiUpperCase(style.GetFontName());
    return style.GetCharset() == 2 || name == u"SYMBOL" || name == u"WINGDINGS";
}

std::string ReadRest(rtl::TStream &stream) {
    const int64_t rest = stream.GetSize() - stream.GetPosition();
    std::string buffer;
    if (rest > 0) {
        if (rest > INT32_MAX) {
            throw EViziVoduError(u"Invalid VDF format");
        }
        buffer.resize(static_cast<size_t>(rest));
        stream.ReadBuffer(buffer.data(), static_cast<int32_t>(rest));
    }
    return buffer;
}

// The style sheet's collections as they were before a whole-document load, put back when the
// load fails: the stream may have replaced them before it turned out to be bad.
class TKeptStyles {
public:
    explicit TKeptStyles(TVDStyle &sheet)
        : FSheet(sheet), FText(sheet.GetTextStyleClass(), &sheet),
          FPara(sheet.GetParaStyleClass(), &sheet), FLists(sheet.GetListStyleClass(), &sheet),
          FTemplates(&sheet) {
        FText.Assign(sheet.GetTextStyles());
        FPara.Assign(sheet.GetParaStyles());
        const rtl::TValueScope<bool> allowIds(FLists.ViziVoduAllowAssignListID, true);
        FLists.Assign(sheet.GetListStyles());
        FTemplates.AssignLoaded(sheet.GetStyleTemplates());
    }
    void Restore() {
        FSheet.GetStyleTemplates().AssignLoaded(FTemplates);
        FSheet.SetTextStyles(FText);
        FSheet.SetParaStyles(FPara);
        TVDListInfos &lists = FSheet.GetListStyles();
        const rtl::TValueScope<bool> allowIds(lists.ViziVoduAllowAssignListID, true);
        FSheet.SetListStyles(FLists);
    }

private:
    TVDStyle &FSheet;
    TFontInfos FText;
    TParaInfos FPara;
    TVDListInfos FLists;
    TVDStyleTemplateCollection FTemplates;
};

} // namespace

bool TVDFReader::DocumentLine(std::string_view line, int32_t lineNo) {
    const bool whole = FSettings.WholeDocument;
    const TVDFOptions options = FData.GetVDFOptions();
    switch (FHeader.ExtraValue) {
    case 9: {
        std::string text(line);
        const char *p = text.c_str();
        int32_t units = 0;
        if (!VDFReadInteger(p, units) || units < 0 || units > 1) {
            return false;
        }
        FFileUnits = units;
        return true;
    }
    case 5:
        if (whole && options.Contains(vdfoLoadDocProperties)) {
            if (rtl::TStringList *props = FData.GetAbsoluteRootData()->GetDocProperties()) {
                props->Add(VDFDecodeString(line, FHeader.UTF8Strings));
            }
        }
        return true;
    case 7:
        if (whole && options.Contains(vdfoLoadDocProperties)) {
            if (TVDDocParameters *params = FData.GetDocParameters(true)) {
                params->ReadProperyFromString(line, FHeader.UTF8Strings);
            }
        }
        return true;
    case 3:
        if (lineNo == 1 && whole && options.Contains(vdfoLoadLayout) &&
            FSettings.Layout != nullptr) {
            std::string bytes = FHeader.ReadType == 2 ? std::string(line) : VDFHexToString(line);
            if (FHeader.ReadType != 2 && bytes.size() * 2 != line.size()) {
                return false;
            }
            auto stream = VDFStringToStream(bytes);
            FSettings.Layout->LoadFromStream(*stream, false);
        }
        return true;
    case 1:
    case 2:
    case 4:
    case 10:
    case 11:
        return StyleLine(line, lineNo);
    default:
        // The numbering state (6) and extra documents (8) are read by their own units once
        // those exist; until then the lines are passed over.
        return true;
    }
}

void TVDFReader::PlaceInParagraph(TCustomVDItemInfo &item, int32_t recordParaNo) {
    TCustomVDItemInfo *prev = FIndex > 0 ? FData.GetItem(FIndex - 1) : nullptr;
    const bool prevCanContinue = prev != nullptr && !prev->GetBoolValue(vdbpFullWidth);
    if (FSettings.AppendMode && FAdded == 0) {
        recordParaNo = FSettings.AppendParaNo;
    }
    if (recordParaNo == -1 && prevCanContinue) {
        item.SetSameAsPrev(true);
        item.ParaNo = prev->ParaNo;
        return;
    }
    item.SetSameAsPrev(false);
    item.ParaNo = recordParaNo < 0 ? 0 : recordParaNo;
    if (prev == nullptr || item.GetBoolValue(vdbpFullWidth)) {
        item.ItemOptions.Exclude(vdioBR);
    }
}

void TVDFReader::ConvertText(TCustomVDItemInfo &item, TVDRawByteString &text) {
    const int32_t styleNo = item.GetActualTextStyleNo(FData.GetVDStyle());
    if (styleNo < 0) {
        return;
    }
    const TFontInfo &style = FData.GetVDStyle()->GetTextStyles().GetItem(styleNo);
    const bool unicode = item.ItemOptions.Contains(vdioUnicode);
    if (unicode && !style.GetUnicode()) {
        text = RawUnicodeToAnsi(FData.GetStyleCodePage(styleNo), text);
        item.ItemOptions.Exclude(vdioUnicode);
        AddWarning(vdfwConvFromUnicode);
    } else if (!unicode && style.GetUnicode()) {
        text = IsSymbolStyle(style) ? SymbolAnsiToRawUnicode(text)
                                    : AnsiToRawUnicode(FData.GetStyleCodePage(styleNo), text);
        item.ItemOptions.Include(vdioUnicode);
        AddWarning(vdfwConvToUnicode);
    }
}

bool TVDFReader::TextLine(std::string_view line) {
    std::unique_ptr<TCustomVDItemInfo> item = CreateItemForStyleNo(FHeader.StyleNo, &FData);
    item->ItemOptions = FHeader.Options;
    item->Tag = FHeader.Tag;
    item->Hint = FTextTemplate->Hint;
    TVDRawByteString text;
    if (FHeader.Options.Contains(vdioUnicode) && FHeader.ReadType == 3) {
        text = VDFHexToString(line);
        if (text.size() * 2 != line.size() || text.size() % 2 != 0) {
            return false;
        }
    } else {
        text = TVDRawByteString(line);
    }
    if (item->ItemOptions.Contains(vdioUnicode) && text.size() % 2 != 0) {
        return false;
    }
    PlaceInParagraph(*item, FHeader.ParaNo);
    if (item->StyleNo == StyleNoParaDefault) {
        const int32_t styleNo = FData.GetParaDefaultTextStyle(item->ParaNo);
        item->StyleNo = styleNo < 0 ? 0 : styleNo;
    }
    ConvertText(*item, text);
    return Insert(std::move(item), std::move(text));
}

bool TVDFReader::FinishNonTextItem() {
    std::unique_ptr<TCustomVDItemInfo> item = std::move(FItem);
    if (!item) {
        FPendingCP.reset(); // its item could not be made
        return true;
    }
    if (FFileUnits != static_cast<int32_t>(FData.GetVDStyle()->GetUnits())) {
        item->ConvertToDifferentUnits(FData.GetVDStyle()->GetUnits(), FData.GetVDStyle(), true);
        AddWarning(vdfwConvUnits);
    }
    int32_t assStyle = item->GetAssociatedTextStyleNo();
    if (assStyle >= 0 && !FHeader.AssociatedTextStyleNameUsed) {
        if (!CheckTextStyle(assStyle, false)) {
            FPendingCP.reset();
            return true; // dropped
        }
        item->SetAssociatedTextStyleNo(assStyle);
    }
    if (!item->GetBoolValue(vdbpValid)) {
        FPendingCP.reset();
        return true;
    }
    if (item->StyleNo == StyleNoListMarker) {
        auto &marker = static_cast<TVDMarkerItemInfo &>(*item);
        const int32_t lists = FData.GetVDStyle()->GetListStyles().GetCount();
        if (!FHeader.AssociatedTextStyleNameUsed) {
            MapListNo(marker.ListNo);
        }
        if (marker.ListNo < 0 || marker.ListNo >= lists) {
            AddWarning(vdfwConvUnknownStyles);
            marker.ListNo = lists > 0 ? 0 : -1;
        }
    }
    PlaceInParagraph(*item, FHeader.ParaNo);
    TVDRawByteString name = FHeader.Name;
    FHeader.Name.clear();
    return Insert(std::move(item), std::move(name));
}

bool TVDFReader::Insert(std::unique_ptr<TCustomVDItemInfo> item, TVDRawByteString text) {
    TCustomVDItemInfo &added = *item;
    if (FAdded == 0) {
        int32_t newListNo = -1;
        if (!FData.InsertFirstVDFItem(FIndex, text, item, FSettings.EditFlag, FFullReformat,
                                      newListNo)) {
            FFailedInsert = true;
            return false;
        }
    } else {
        added.Inserting(&FData, text, false);
        FData.GetItems().InsertObject(FIndex, std::move(text), std::move(item));
        added.Inserted(&FData, FIndex);
        FData.DoOnAddSpecialItem(FIndex);
        ++FNonFirstItemsAdded;
    }
    if (FPendingCP) {
        FData.CreateItemCheckpoint(FIndex, FPendingCP->Tag, FPendingCP->RaiseEvent,
                                   FPendingCP->Name);
        added.Checkpoint->Persistent = FPendingCP->Persistent;
        FPendingCP.reset();
    }
    ++FIndex;
    ++FAdded;
    if (!FData.State.Contains(vdstLoadingAsPartOfItem)) {
        added.AfterLoading(vdlfVDF);
    }
    return true;
}

void TVDFReader::Finish(bool succeeded) {
    if (succeeded && FAdded > 0) {
        TCustomVDItemInfo *last = FData.GetItem(FIndex - 1);
        const bool endsParagraph =
            FIndex == FData.ItemCount() || FData.GetItem(FIndex)->ParaStart(false);
        if (last->StyleNo == StyleNoListMarker && endsParagraph) {
            auto text = CreateItemForStyleNo(0, &FData);
            text->SetSameAsPrev(true);
            text->ParaNo = last->ParaNo;
            TCustomVDItemInfo &added = *text;
            TVDRawByteString empty;
            added.Inserting(&FData, empty, false);
            FData.GetItems().InsertObject(FIndex, std::move(empty), std::move(text));
            added.Inserted(&FData, FIndex);
            ++FIndex;
        }
    }
    if (succeeded && FPendingCP && FIndex == FData.ItemCount() && FData.NotAddedCP == nullptr) {
        FData.AddNamedCheckpointExTag(FPendingCP->Name, FPendingCP->RaiseEvent, FPendingCP->Tag);
        if (FData.NotAddedCP) {
            FData.NotAddedCP->Persistent = FPendingCP->Persistent;
        }
    }
    FPendingCP.reset();
}

// ---- The document's operations ----

bool TCustomVDData::InsertFirstVDFItem(int32_t &index, TVDRawByteString &s,
                                       std::unique_ptr<TCustomVDItemInfo> &item, bool,
                                       bool &fullReformat, int32_t &newListNo) {
    fullReformat = false;
    newListNo = -1;
    TCustomVDItemInfo &added = *item;
    added.Inserting(this, s, false);
    GetItems().InsertObject(index, std::move(s), std::move(item));
    added.Inserted(this, index);
    DoOnAddSpecialItem(index);
    return true;
}

bool TCustomVDData::ReadVDFFromStream(rtl::TStream &stream, int32_t &index, bool editFlag,
                                      bool appendMode, bool allowReplaceStyles,
                                      int32_t appendParaNo, uint32_t &color,
                                      TVDBackground *background, TVDLayoutInfo *layout,
                                      bool &failed, int32_t &nonFirstItemsAdded,
                                      bool &fullReformat) {
    index = std::clamp(index, 0, ItemCount());
    failed = false;
    nonFirstItemsAdded = 0;
    fullReformat = false;
    SetVDFWarnings({});
    TVDFReadSettings settings;
    settings.Index = index;
    settings.WholeDocument = allowReplaceStyles;
    settings.EditFlag = editFlag;
    settings.AppendMode = appendMode;
    settings.AppendParaNo = appendParaNo;
    settings.Color = &color;
    settings.Background = background;
    settings.Layout = layout;
    bool ok = false;
    try {
        TVDFReader reader(*this, ReadRest(stream), settings);
        try {
            ok = reader.Run();
        } catch (const rtl::Exception &) {
            failed = true;
            ok = false;
        }
        reader.Finish(ok);
        index = reader.GetIndex();
        nonFirstItemsAdded = reader.GetNonFirstItemsAdded();
        fullReformat = reader.GetFullReformat();
    } catch (const rtl::Exception &) {
        failed = true;
        ok = false;
    }
    return ok;
}

bool TCustomVDData::InsertVDFFromStream(rtl::TStream &stream, int32_t index, uint32_t &color,
                                        TVDBackground *background, TVDLayoutInfo *layout,
                                        bool allowReplaceStyles) {
    bool failed = false;
    bool fullReformat = false;
    int32_t added = 0;
    return ReadVDFFromStream(stream, index, false, false, allowReplaceStyles, -1, color, background,
                             layout, failed, added, fullReformat);
}

bool TCustomVDData::AppendVDFFromStream(rtl::TStream &stream, int32_t paraNo, uint32_t &color,
                                        TVDBackground *background) {
    int32_t index = ItemCount();
    bool failed = false;
    bool fullReformat = false;
    int32_t added = 0;
    return ReadVDFFromStream(stream, index, false, true, false, paraNo, color, background, nullptr,
                             failed, added, fullReformat);
}

bool TCustomVDData::LoadVDFFromStream(rtl::TStream &stream, uint32_t &color,
                                      TVDBackground *background, TVDLayoutInfo *layout) {
    // What the document held is kept as its own native form, to be put back when the stream
    // turns out to be bad.
    TVDMemoryStream before;
    const TVDFOptions options = GetVDFOptions();
    SetVDFOptions(options + TVDFOptions{vdfoSaveBinary});
    const bool saved = SaveVDFToStream(before, false, color, nullptr, nullptr, false);
    SetVDFOptions(options);
    if (!saved) {
        return false;
    }
    std::unique_ptr<TKeptStyles> styles;
    if (!State.Contains(vdstLoadingAsSubDoc)) {
        styles = std::make_unique<TKeptStyles>(*GetVDStyle());
    }
    Clear();
    if (InsertVDFFromStream(stream, 0, color, background, layout, true)) {
        return true;
    }
    Clear();
    if (styles) {
        styles->Restore();
    }
    before.SetPosition(0);
    uint32_t scratchColor = color;
    const TVDFWarnings warnings = GetVDFWarnings();
    SetVDFOptions(options + TVDFOptions{vdfoSaveBinary});
    InsertVDFFromStream(before, 0, scratchColor, nullptr, nullptr, false);
    SetVDFOptions(options);
    SetVDFWarnings(warnings);
    return false;
}

bool TCustomVDData::LoadVDF(const rtl::UnicodeString &fileName, uint32_t &color,
                            TVDBackground *background, TVDLayoutInfo *layout) {
    try {
        TVDMemoryStream stream;
        stream.LoadFromFile(fileName);
        stream.SetPosition(0);
        return LoadVDFFromStream(stream, color, background, layout);
    } catch (const rtl::Exception &) {
        return false;
    }
}

void TCustomVDData::ApplyLayoutAbortInfo(const TVDLayoutInfo &layout) {
    if (layout.FirstParaAborted != 0) {
        State.Include(vdstFirstParaAborted);
        FFirstParaListNo = layout.FirstMarkerListNo;
        FFirstParaLevel = layout.FirstMarkerLevel;
    } else {
        State.Exclude(vdstFirstParaAborted);
        FFirstParaListNo = -1;
        FFirstParaLevel = -1;
    }
    State.Set(vdstLastParaAborted, layout.LastParaAborted != 0);
}

void TCustomVDData::LoadVDFSubDocument(rtl::TStream &stream) {
    const rtl::UnicodeString error = u"Error in reading VDF subdocument";
    if (VDFSubDocumentDepth >= MaxVDFNestingDepth) {
        throw rtl::EReadError(error);
    }
    TVDRawByteString bytes = VDFReadBlock(stream);
    auto body = VDFStringToStream(bytes);
    const TVDFWarnings parentWarnings = GetVDFWarnings();
    const bool partOfItem = State.Contains(vdstLoadingAsPartOfItem);
    const bool subDoc = State.Contains(vdstLoadingAsSubDoc);
    State.Include(vdstLoadingAsPartOfItem);
    State.Include(vdstLoadingAsSubDoc);
    ++VDFSubDocumentDepth;
    TVDLayoutInfo layout;
    uint32_t color = 0x1FFFFFFF;
    bool ok = false;
    try {
        ok = LoadVDFFromStream(*body, color, nullptr, &layout);
    } catch (const rtl::Exception &) {
        ok = false;
    }
    --VDFSubDocumentDepth;
    State.Set(vdstLoadingAsPartOfItem, partOfItem);
    State.Set(vdstLoadingAsSubDoc, subDoc);
    SetVDFWarnings(parentWarnings + GetVDFWarnings());
    if (!ok) {
        throw rtl::EReadError(error);
    }
    if (layout.Loaded) {
        ApplyLayoutAbortInfo(layout);
    }
}

} // namespace vizivodu
