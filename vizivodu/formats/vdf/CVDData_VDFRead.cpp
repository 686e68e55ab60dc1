// The native-format reader of a document: line framing, header parsing, document records,
// checkpoints, text items and the items' own lines.
//
// The whole remaining stream is read into one buffer and cut into lines in place. Every count,
// length and index read is checked before it is used; a bad one fails the read.
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/document/VDDocParams.h"
#include "vizivodu/document/VDFHelpers.h"
#include "vizivodu/document/VDGrHandler.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/formats/vdf/VDFReader_p.h"
#include "vizivodu/layout/formatting/VDBack.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"

#include <cstring>

namespace vizivodu {

namespace {

constexpr char16_t kParagraphSeparator = 0x2029;

} // namespace

TVDFReader::TVDFReader(TCustomVDData &data, std::string buffer, const TVDFReadSettings &settings)
    : FData(data), FBuffer(std::move(buffer)), FSettings(settings), FIndex(settings.Index) {
    FBuffer.push_back('\0');
    FPos = 0;
    FEnd = FBuffer.size() - 1;
    InitStyleReading();
}

TVDFReader::~TVDFReader() {
    DoneStyleReading();
}

bool TVDFReader::NextTextLine(std::string_view &line) {
    if (FPos >= FEnd) {
        return false;
    }
    size_t stop = FPos;
    while (stop < FEnd && FBuffer[stop] != '\r' && FBuffer[stop] != '\n' && FBuffer[stop] != '\0') {
        ++stop;
    }
    // Header lines are parsed as NUL-terminated text: the line ending is overwritten.
    line = std::string_view(FBuffer.data() + FPos, stop - FPos);
    size_t next = stop;
    bool cr = false;
    bool lf = false;
    if (next < FEnd && FBuffer[next] == '\r') {
        cr = true;
        ++next;
    }
    if (next < FEnd && FBuffer[next] == '\n') {
        lf = true;
        ++next;
    }
    if (next == stop && stop < FEnd) {
        ++next; // a NUL ends the line and is skipped
    }
    FLastCrLf = cr && lf;
    FBuffer[stop] = '\0';
    FPos = next;
    return true;
}

bool TVDFReader::NextBinaryLine(std::string_view &line) {
    if (!FLastCrLf || FEnd - FPos < 4) {
        return false;
    }
    int32_t length = 0;
    std::memcpy(&length, FBuffer.data() + FPos, 4);
    if (length < 0 || static_cast<size_t>(length) > FEnd - FPos - 4) {
        return false;
    }
    line = std::string_view(FBuffer.data() + FPos + 4, static_cast<size_t>(length));
    FPos += 4 + static_cast<size_t>(length);
    FLastCrLf = false;
    return true;
}

bool TVDFReader::NextUnicodeLine(std::string_view &line) {
    size_t stop = FPos;
    while (FEnd - stop >= 2) {
        char16_t c = 0;
        std::memcpy(&c, FBuffer.data() + stop, 2);
        if (c == kParagraphSeparator || c == 0) {
            break;
        }
        stop += 2;
    }
    line = std::string_view(FBuffer.data() + FPos, stop - FPos);
    FPos = stop;
    if (FEnd - FPos >= 2) {
        char16_t c = 0;
        std::memcpy(&c, FBuffer.data() + FPos, 2);
        if (c == kParagraphSeparator) {
            FPos += 2;
        }
    }
    if (FEnd - FPos == 1) {
        FPos = FEnd; // an odd byte at the end belongs to no code unit
    }
    FLastCrLf = false;
    return true;
}

bool TVDFReader::NextDataLine(std::string_view &line) {
    if (FHeader.ReadType == 2 && FHeader.DataRead == FHeader.DataCount - 1) {
        return NextBinaryLine(line);
    }
    if (FUnicodeLines) {
        if (FHeader.DataRead == 0 && !FLastCrLf) {
            return false;
        }
        if (FPos >= FEnd) {
            return false;
        }
        return NextUnicodeLine(line);
    }
    return NextTextLine(line);
}

bool TVDFReader::Run() {
    std::string_view line;
    while (true) {
        if (FState == rstHeader) {
            if (!NextTextLine(line)) {
                return true;
            }
            if (!ParseHeader(line.data())) {
                return false;
            }
            continue;
        }
        if (!NextDataLine(line)) {
            return false;
        }
        if (!DataLine(line)) {
            return false;
        }
    }
}

bool TVDFReader::CheckTextStyle(int32_t &styleNo, bool named) {
    if (named || styleNo == StyleNoParaDefault) {
        return true;
    }
    const int32_t count = FData.GetVDStyle()->GetTextStyles().GetCount();
    if (MapTextStyle(styleNo) && styleNo >= 0 && styleNo < count) {
        return true;
    }
    AddWarning(vdfwConvUnknownStyles);
    if (FData.GetVDFOptions().Contains(vdfoConvUnknownStylesToZero)) {
        styleNo = 0;
        return true;
    }
    return false;
}

bool TVDFReader::CheckParaStyle(int32_t &paraNo) {
    if (!MapParaStyle(paraNo)) {
        return false; // beyond the paragraph styles the file gave
    }
    const int32_t count = FData.GetVDStyle()->GetParaStyles().GetCount();
    if (paraNo >= -1 && paraNo < count) {
        return true;
    }
    AddWarning(vdfwConvUnknownStyles);
    if (FData.GetVDFOptions().Contains(vdfoConvUnknownStylesToZero)) {
        paraNo = 0;
        return true;
    }
    return false;
}

void TVDFReader::AddWarning(TVDFWarning warning) {
    TVDFWarnings warnings = FData.GetVDFWarnings();
    warnings.Include(warning);
    FData.SetVDFWarnings(warnings);
}

bool TVDFReader::ParseCommonFields(const char *&p) {
    const TVDStyle &style = *FData.GetVDStyle();
    const bool utf8 = FHeader.UTF8Strings;
    bool named = false;
    if (!VDFReadInteger(p, FHeader.DataCount) || FHeader.DataCount < 0 ||
        static_cast<size_t>(FHeader.DataCount) > FEnd - FPos + 1) {
        return false;
    }
    if (!VDFReadParaStyleRef(style, p, FHeader.ParaNo, named, utf8)) {
        return false;
    }
    if (!named && !CheckParaStyle(FHeader.ParaNo)) {
        return false;
    }
    FHeader.Options = {};
    if (FHeader.Version >= 1 && FHeader.SubVersion >= 2) {
        int32_t options = 0;
        if (!VDFReadInteger(p, options)) {
            return false;
        }
        FHeader.Options = TVDItemOptions::FromBits(static_cast<uint8_t>(options & 0x3F));
    }
    if (!VDFReadInteger(p, FHeader.ReadType)) {
        return false;
    }
    const bool quoted = FHeader.Version > 1 || FHeader.SubVersion > 2;
    return VDFReadOptionalString(p, false, quoted, utf8, FHeader.Tag);
}

bool TVDFReader::ParseHeader(const char *p) {
    FHeader.DataRead = 0;
    FHeader.ReadType = 0;
    FUnicodeLines = false;
    FItem.reset();
    bool named = false;
    if (!VDFReadTextStyleRef(*FData.GetVDStyle(), p, FHeader.StyleNo, named, FHeader.UTF8Strings)) {
        return false;
    }
    if (FHeader.StyleNo == -8) {
        return ParseVersion(p);
    }
    if (!ParseCommonFields(p)) {
        return false;
    }
    bool ok = true;
    switch (FHeader.StyleNo) {
    case -9:
        ok = VDFReadInteger(p, FHeader.ExtraValue);
        break;
    case -7:
        ok = ParseBackgroundHeader(p);
        break;
    case -2:
        ok = ParseCheckpointHeader(p);
        break;
    default:
        ok = FHeader.StyleNo >= 0 ? ParseTextHeader(p, named) : ParseItemHeader(p);
        break;
    }
    if (!ok) {
        return false;
    }
    if (FHeader.DataCount > 0) {
        const bool known = FHeader.StyleNo >= 0 || FHeader.StyleNo == -9 || FHeader.StyleNo == -7 ||
                           FHeader.StyleNo == -2 ||
                           (FItem && FItem->GetBoolValue(vdbpRequiresVDFLines));
        FState = known ? rstData : rstSkip;
    } else {
        FinishNonTextItem();
    }
    return true;
}

bool TVDFReader::ParseVersion(const char *p) {
    int32_t version = 0;
    int32_t subVersion = 0;
    if (!VDFReadInteger(p, version) || !VDFReadInteger(p, subVersion)) {
        return false;
    }
    FHeader.Version = version;
    FHeader.SubVersion = subVersion;
    int32_t utf8 = 0;
    if (VDFReadInteger(p, utf8) && utf8 > 0) {
        FHeader.UTF8Strings = true;
    }
    FHeader.DataCount = 0;
    return true;
}

bool TVDFReader::ParseBackgroundHeader(const char *&p) {
    int32_t style = 0;
    int32_t color = 0;
    if (!VDFReadInteger(p, style) || !VDFReadInteger(p, color)) {
        return false;
    }
    if (FSettings.WholeDocument && FData.GetVDFOptions().Contains(vdfoLoadBack) &&
        FSettings.Background != nullptr) {
        if (style < 0 || style > static_cast<int32_t>(bsBottomRight)) {
            return false;
        }
        *FSettings.Color = static_cast<uint32_t>(color);
        FSettings.Background->Style = static_cast<TBackgroundStyle>(style);
        FSettings.Background->FreeImage();
    }
    return true;
}

bool TVDFReader::ParseCheckpointHeader(const char *&p) {
    int32_t raiseEvent = 0;
    int32_t persistent = 0;
    if (*p != '\0') {
        VDFReadInteger(p, raiseEvent);
    }
    if (*p != '\0') {
        VDFReadInteger(p, persistent);
    }
    FHeader.RaiseEvent = raiseEvent != 0;
    FHeader.PersistentCheckpoint = persistent != 0;
    FHeader.CheckPointTag = FHeader.Tag;
    return true;
}

bool TVDFReader::ParseTextHeader(const char *&p, bool named) {
    if (!CheckTextStyle(FHeader.StyleNo, named)) {
        return false;
    }
    FTextTemplate = CreateItemForStyleNo(FHeader.StyleNo, &FData);
    bool assNamed = false;
    if (!FTextTemplate->ReadVDFHeaderTail(p, &FData, FHeader.UTF8Strings, assNamed)) {
        return false;
    }
    FUnicodeLines = FHeader.Options.Contains(vdioUnicode) && FHeader.ReadType != 3;
    return true;
}

bool TVDFReader::ParseItemHeader(const char *&p) {
    FItem = CreateItemForStyleNo(FHeader.StyleNo, &FData);
    if (!FItem) {
        return true; // a kind nobody registered: its lines are skipped
    }
    FItem->BeforeLoading(vdlfVDF);
    FItem->ItemOptions = FHeader.Options;
    FHeader.AssociatedTextStyleNameUsed = false;
    return FItem->ReadVDFHeaderTail(p, &FData, FHeader.UTF8Strings,
                                    FHeader.AssociatedTextStyleNameUsed);
}

bool TVDFReader::DataLine(std::string_view line) {
    bool ok = true;
    const int32_t lineNo = FHeader.DataRead;
    if (FState == rstData) {
        switch (FHeader.StyleNo) {
        case -9:
            ok = DocumentLine(line, lineNo);
            break;
        case -7:
            ok = BackgroundLine(line, lineNo);
            break;
        case -2:
            ok = CheckpointLine(line);
            break;
        default:
            ok = FHeader.StyleNo >= 0 ? TextLine(line) : ItemLine(line, lineNo);
            break;
        }
    }
    if (!ok) {
        return false;
    }
    if (++FHeader.DataRead >= FHeader.DataCount) {
        if (FHeader.StyleNo < 0 && FHeader.StyleNo != -9 && FHeader.StyleNo != -7 &&
            FHeader.StyleNo != -2) {
            FinishNonTextItem();
        }
        FState = rstHeader;
        FUnicodeLines = false;
    }
    return true;
}

bool TVDFReader::ItemLine(std::string_view line, int32_t lineNo) {
    int32_t readType = FHeader.ReadType;
    TVDFReadMode mode = rmText;
    TVDFReadState state = FState;
    std::string text(line);
    const bool ok =
        FItem->ReadVDFLine(text, &FData, readType, lineNo, FHeader.DataCount, FHeader.Name, mode,
                           state, FHeader.UTF8Strings, FHeader.AssociatedTextStyleNameUsed);
    if (ok && state == rstSkip) {
        FState = rstSkip;
    }
    return ok;
}

bool TVDFReader::CheckpointLine(std::string_view line) {
    if (!FPendingCP) {
        FPendingCP = std::make_unique<TVDCPInfo>();
        FPendingCP->Name = VDFDecodeString(line, FHeader.UTF8Strings);
        FPendingCP->Tag = FHeader.CheckPointTag;
        FPendingCP->RaiseEvent = FHeader.RaiseEvent;
        FPendingCP->Persistent = FHeader.PersistentCheckpoint;
    }
    return true;
}

bool TVDFReader::BackgroundLine(std::string_view line, int32_t lineNo) {
    if (lineNo != 1) {
        return true;
    }
    std::string bytes;
    if (FHeader.ReadType == 2) {
        bytes = std::string(line);
    } else {
        if (line.size() % 2 != 0) {
            return false;
        }
        bytes = VDFHexToString(line);
        if (bytes.size() * 2 != line.size()) {
            return false;
        }
    }
    if (FSettings.WholeDocument && FData.GetVDFOptions().Contains(vdfoLoadBack) &&
        FSettings.Background != nullptr) {
        auto stream = VDFStringToStream(bytes);
        if (std::unique_ptr<gfx::TGraphic> picture =
                GlobalGraphicHandler->LoadFromStream(*stream)) {
            FSettings.Background->AssignImage(std::move(picture), &FData, nullptr);
        }
    }
    return true;
}

} // namespace vizivodu
