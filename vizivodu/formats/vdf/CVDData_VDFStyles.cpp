// The native format's style records: the style sheet's text, paragraph and list styles and its
// style templates (or their names), written by a root document and read back by replacing the
// sheet's collections (a whole-document load) or by merging them into it through style maps.
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/VDFHelpers.h"
#include "vizivodu/formats/vdf/VDFReader_p.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/CodePages.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/Streaming.h"

#include <functional>

namespace vizivodu {

namespace {

enum TStyleRecord : int32_t {
    kTextStyles = 1,
    kParaStyles = 2,
    kListStyles = 4,
    kTemplates = 10,
    kTemplateNames = 11
};

std::string Num(int64_t value) {
    return std::to_string(value);
}

std::string CollectionBytes(TVDCollection &collection) {
    TVDMemoryStream stream;
    rtl::TWriter(stream).WriteCollection(
        dynamic_cast<const rtl::TStreamedItems &>(collection.GetStreamed()));
    const auto *p = reinterpret_cast<const char *>(stream.GetMemory());
    return p ? std::string(p, static_cast<size_t>(stream.GetSize())) : std::string();
}

void WriteCollectionRecord(rtl::TStream &stream, bool binary, int32_t kind, const TVDStyle &sheet,
                           TVDCollection &collection) {
    VDFWriteLine(stream, "-9 2 0 0 " + Num(binary ? 2 : 0) + " 0 " + Num(kind));
    VDFWriteLine(stream, rtl::UnicodeToAnsi(sheet.GetName()));
    VDFWriteDataBlock(stream, binary, CollectionBytes(collection));
}

void WriteTemplateRecord(TCustomVDData &data, rtl::TStream &stream, bool binary) {
    TVDStyle &sheet = *data.GetVDStyle();
    TVDStyleTemplateCollection &templates = sheet.GetStyleTemplates();
    if (!data.GetVDFOptions().Contains(vdfoSaveStyleTemplatesOnlyNames)) {
        WriteCollectionRecord(stream, binary, kTemplates, sheet, templates);
        return;
    }
    VDFWriteLine(stream, "-9 " + Num(2 * int64_t(templates.GetCount())) + " 0 0 0 0 " +
                             Num(kTemplateNames));
    for (Integer i = 0; i < templates.GetCount(); ++i) {
        VDFWriteLine(stream, VDFEncodeString(templates.GetItem(i).GetName()));
        VDFWriteLine(stream, Num(templates.GetItem(i).GetId()));
    }
}

} // namespace

void VDFWriteStyleRecords(TCustomVDData &data, rtl::TStream &stream) {
    const TVDFOptions options = data.GetVDFOptions();
    const bool binary = options.Contains(vdfoSaveBinary);
    const bool text = options.Contains(vdfoSaveTextStyles);
    const bool para = options.Contains(vdfoSaveParaStyles);
    TVDStyle &sheet = *data.GetVDStyle();
    const bool templatesUsed = text && para && data.UseStyleTemplates();
    if (templatesUsed && (!sheet.GetMainVDStyle() || sheet.SaveStyleTemplatesForNonMain)) {
        WriteTemplateRecord(data, stream, binary);
    }
    // Template ids mean something only beside the templates they name.
    const rtl::TValueScope<bool> ignore(sheet.IgnoreStyleTemplates,
                                        templatesUsed ? sheet.IgnoreStyleTemplates : true);
    if (text) {
        WriteCollectionRecord(stream, binary, kTextStyles, sheet, sheet.GetTextStyles());
    }
    if (para) {
        WriteCollectionRecord(stream, binary, kParaStyles, sheet, sheet.GetParaStyles());
        TVDListInfos &lists = sheet.GetListStyles();
        const rtl::TValueScope<TCustomVDDataHooks *> knowsData(lists.VDData, &data);
        WriteCollectionRecord(stream, binary, kListStyles, sheet, lists);
    }
}

// ---- Reading ----

void TVDFReader::InitStyleReading() {
    TVDStyleUnits *units = nullptr;
    FData.InitStyleMappings(FStyles.TextMap, FStyles.ParaMap, FStyles.ListMap, units);
    FStyles.SharedMaps = FStyles.TextMap && FStyles.ParaMap && FStyles.ListMap;
    if (!FStyles.SharedMaps) {
        FStyles.TextMap = &FStyles.OwnMaps[0];
        FStyles.ParaMap = &FStyles.OwnMaps[1];
        FStyles.ListMap = &FStyles.OwnMaps[2];
    }
}

void TVDFReader::DoneStyleReading() {
    if (FStyles.SharedMaps) {
        FStyles.SharedMaps = false;
        FData.DoneStyleMappings();
    }
}

bool TVDFReader::StyleLine(std::string_view line, int32_t lineNo) {
    if (FHeader.ExtraValue == kTemplateNames) {
        if (lineNo % 2 == 0) {
            if (lineNo == 0) {
                if (FStyles.HasTemplateNames || FStyles.Templates) {
                    return false; // templates are given once
                }
                FStyles.HasTemplateNames = true;
            }
            FStyles.TemplateNames.emplace_back(VDFDecodeString(line, FHeader.UTF8Strings), -1);
            return true;
        }
        std::string number(line);
        const char *p = number.c_str();
        return VDFReadInteger(p, FStyles.TemplateNames.back().second);
    }
    if (lineNo != 1) {
        return true; // the style sheet's name
    }
    std::string bytes;
    if (FHeader.ReadType == 2) {
        bytes = std::string(line);
    } else {
        bytes = VDFHexToString(line);
        if (bytes.size() * 2 != line.size()) {
            return false;
        }
    }
    if (bytes.empty() || static_cast<uint8_t>(bytes[0]) != rtl::vaCollection) {
        return false;
    }
    return FHeader.ExtraValue == kTemplates ? ReadStyleTemplates(bytes)
                                            : ReadStyleCollection(bytes);
}

namespace {

std::unique_ptr<TCustomVDInfos> NewCollection(TVDStyle &sheet, int32_t kind) {
    switch (kind) {
    case kTextStyles:
        return std::make_unique<TFontInfos>(sheet.GetTextStyleClass(), &sheet);
    case kParaStyles:
        return std::make_unique<TParaInfos>(sheet.GetParaStyleClass(), &sheet);
    default:
        return std::make_unique<TVDListInfos>(sheet.GetListStyleClass(), &sheet);
    }
}

// Reads a collection written by WriteCollection; errors in single properties are reported
// through onError and skipped, anything else raises the component reader's error.
void ReadCollectionBytes(const std::string &bytes, TVDCollection &collection,
                         const std::function<void()> &onError) {
    auto stream = VDFStringToStream(bytes);
    rtl::TReader reader(*stream);
    reader.OnError = [&onError](rtl::TReader &, const UnicodeString &, bool &handled) {
        onError();
        handled = true;
    };
    reader.ReadValue(); // the collection's tag, checked by the caller
    reader.ReadCollection(dynamic_cast<rtl::TStreamedItems &>(collection.GetStreamed()));
}

} // namespace

bool TVDFReader::ReadStyleCollection(const std::string &bytes) {
    const int32_t kind = FHeader.ExtraValue;
    if (kind != kTextStyles && kind != kParaStyles && kind != kListStyles) {
        return true; // a record this version does not know
    }
    const TVDFReaderStyleMode mode =
        kind == kTextStyles ? FData.GetVDFTextStylesReadMode() : FData.GetVDFParaStylesReadMode();
    // A sub-document shares its sheet with the rest of the document: it never changes it.
    if (mode == vdf_sIgnore || FData.State.Contains(vdstLoadingAsSubDoc)) {
        return true;
    }
    TVDStyle &sheet = *FData.GetVDStyle();
    std::unique_ptr<TCustomVDInfos> read = NewCollection(sheet, kind);
    if (auto *lists = dynamic_cast<TVDListInfos *>(read.get())) {
        lists->VDData = &FData; // levels ask it for their image lists
    }
    ReadCollectionBytes(bytes, *read, [this] { AddWarning(vdfwUnknownStyleProperties); });
    // Every item refers to a text and a paragraph style: a sheet has at least one of each.
    if (kind != kListStyles && read->GetCount() == 0) {
        return false;
    }
    if (FFileUnits != static_cast<int32_t>(sheet.GetUnits())) {
        read->ConvertToDifferentUnits(sheet.GetUnits());
    }
    if (kind != kListStyles && !(FSettings.WholeDocument && FStyles.TemplatesAssigned)) {
        LinkStyleTemplates(*read, kind == kParaStyles);
    }
    TVDIntegerList &map = kind == kTextStyles   ? *FStyles.TextMap
                          : kind == kParaStyles ? *FStyles.ParaMap
                                                : *FStyles.ListMap;
    if (FSettings.WholeDocument) {
        // Items read before would keep indices into the styles replaced.
        if (FAdded > 0) {
            return false;
        }
        map.Clear();
        if (kind == kTextStyles) {
            sheet.SetTextStyles(static_cast<TFontInfos &>(*read));
        } else if (kind == kParaStyles) {
            sheet.SetParaStyles(static_cast<TParaInfos &>(*read));
        } else {
            TVDListInfos &lists = sheet.GetListStyles();
            const rtl::TValueScope<bool> allowIds(lists.ViziVoduAllowAssignListID, true);
            sheet.SetListStyles(static_cast<TVDListInfos &>(*read));
        }
        return true;
    }
    TCustomVDInfos &target =
        kind == kTextStyles   ? static_cast<TCustomVDInfos &>(sheet.GetTextStyles())
        : kind == kParaStyles ? static_cast<TCustomVDInfos &>(sheet.GetParaStyles())
                              : static_cast<TCustomVDInfos &>(sheet.GetListStyles());
    target.MergeWith(
        *read, mode == vdf_sInsertMap ? vds_merge_Map : vds_merge_SmartMerge, map,
        kind == kParaStyles && FStyles.TextMap->GetCount() > 0 ? FStyles.TextMap : nullptr, &FData);
    return true;
}

bool TVDFReader::ReadStyleTemplates(const std::string &bytes) {
    const bool used = FData.UseStyleTemplates() &&
                      FData.GetVDFTextStylesReadMode() == vdf_sInsertMerge &&
                      FData.GetVDFParaStylesReadMode() == vdf_sInsertMerge &&
                      FData.StyleTemplateInsertMode() != vdstimIgnoreSourceStyleTemplates;
    if (!used || FData.State.Contains(vdstLoadingAsSubDoc)) {
        return true;
    }
    if (FStyles.Templates || FStyles.HasTemplateNames) {
        return false; // templates are given once
    }
    TVDStyle &sheet = *FData.GetVDStyle();
    FStyles.Templates = std::make_unique<TVDStyleTemplateCollection>(&sheet);
    ReadCollectionBytes(bytes, *FStyles.Templates,
                        [this] { AddWarning(vdfwUnknownStyleProperties); });
    if (FFileUnits != static_cast<int32_t>(sheet.GetUnits())) {
        FStyles.Templates->ConvertToDifferentUnits(sheet.GetUnits());
    }
    FStyles.Templates->UpdateReferences();
    if (FSettings.WholeDocument) {
        if (FAdded > 0) {
            return false;
        }
        sheet.GetStyleTemplates().AssignLoaded(*FStyles.Templates);
        FStyles.TemplatesAssigned = true;
    } else {
        sheet.GetStyleTemplates().MergeWith(*FStyles.Templates, nullptr);
    }
    return true;
}

// The template ids of styles read refer to the file's templates: they are linked to the
// sheet's templates of the same names when templates are read with them, and cleared otherwise.
void TVDFReader::LinkStyleTemplates(TCustomVDInfos &styles, bool para) {
    const bool link = FData.UseStyleTemplates() &&
                      FData.GetVDFTextStylesReadMode() == vdf_sInsertMerge &&
                      FData.GetVDFParaStylesReadMode() == vdf_sInsertMerge &&
                      (FStyles.Templates || FStyles.HasTemplateNames);
    TVDStyleTemplateCollection &own = FData.GetVDStyle()->GetStyleTemplates();
    for (Integer i = 0; i < styles.GetCount(); ++i) {
        auto &style = static_cast<TCustomFontOrParaVDInfo &>(*styles.GetItem(i));
        TVDStyleTemplateId id = -1;
        if (link) {
            UnicodeString name;
            bool found = false;
            if (FStyles.Templates) {
                if (const TVDStyleTemplate *t =
                        FStyles.Templates->FindItemById(style.GetStyleTemplateId())) {
                    name = t->GetName();
                    found = true;
                }
            } else {
                for (const auto &[n, nameId] : FStyles.TemplateNames) {
                    if (nameId == style.GetStyleTemplateId()) {
                        name = n;
                        found = true;
                        break;
                    }
                }
            }
            const TVDStyleTemplate *mine = found ? own.FindItemByName(name) : nullptr;
            if (!mine && para) {
                mine = own.GetNormalStyleTemplate();
            }
            id = mine ? mine->GetId() : -1;
        }
        style.SetStyleTemplateId(id);
    }
}

bool TVDFReader::MapTextStyle(int32_t &styleNo) const {
    const TVDIntegerList &map = *FStyles.TextMap;
    if (map.GetCount() == 0) {
        return true;
    }
    if (styleNo < 0 || styleNo >= map.GetCount()) {
        return false;
    }
    styleNo = map.Get(styleNo);
    return true;
}

bool TVDFReader::MapParaStyle(int32_t &paraNo) const {
    const TVDIntegerList &map = *FStyles.ParaMap;
    if (map.GetCount() == 0 || paraNo == -1) {
        return true;
    }
    if (paraNo < 0 || paraNo >= map.GetCount()) {
        return false;
    }
    paraNo = map.Get(paraNo);
    return true;
}

void TVDFReader::MapListNo(int32_t &listNo) const {
    const TVDIntegerList &map = *FStyles.ListMap;
    if (map.GetCount() > 0 && listNo >= 0 && listNo < map.GetCount()) {
        listNo = map.Get(listNo);
    }
}

} // namespace vizivodu
