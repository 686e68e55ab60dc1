// The viewer's native-format and plain-text files: its colour, background and layout record
// around the root document's readers and writers, and loading a stream of unknown format.
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/layout/viewer/VDVDData.h"

#include <algorithm>
#include <cstring>

namespace vizivodu {

bool TCustomViziVodu::LoadVDFFromStream(rtl::TStream &stream) {
    TVDLayoutInfo layout;
    uint32_t color = static_cast<uint32_t>(GetColor());
    const bool result = FVDData->LoadVDFFromStream(stream, color, FBackground.get(), &layout);
    if (layout.Loaded) {
        ApplyLayoutInfo(layout);
    }
    SetColor(static_cast<gfx::TColor>(color));
    return result;
}

bool TCustomViziVodu::LoadVDF(const rtl::UnicodeString &fileName) {
    TVDLayoutInfo layout;
    uint32_t color = static_cast<uint32_t>(GetColor());
    const bool result = FVDData->LoadVDF(fileName, color, FBackground.get(), &layout);
    if (layout.Loaded) {
        ApplyLayoutInfo(layout);
    }
    SetColor(static_cast<gfx::TColor>(color));
    return result;
}

bool TCustomViziVodu::InsertVDFFromStream(rtl::TStream &stream, int32_t index) {
    uint32_t color = static_cast<uint32_t>(GetColor());
    const bool result =
        FVDData->InsertVDFFromStream(stream, index, color, FBackground.get(), nullptr, false);
    SetColor(static_cast<gfx::TColor>(color));
    return result;
}

bool TCustomViziVodu::AppendVDFFromStream(rtl::TStream &stream, int32_t paraNo) {
    uint32_t color = static_cast<uint32_t>(GetColor());
    const bool result = FVDData->AppendVDFFromStream(stream, paraNo, color, FBackground.get());
    SetColor(static_cast<gfx::TColor>(color));
    return result;
}

bool TCustomViziVodu::SaveVDFToStream(rtl::TStream &stream, bool selectionOnly) {
    const std::unique_ptr<TVDLayoutInfo> layout = CreateLayoutInfo();
    return FVDData->SaveVDFToStream(stream, selectionOnly, static_cast<uint32_t>(GetColor()),
                                    FBackground.get(), layout.get(), true);
}

bool TCustomViziVodu::SaveVDF(const rtl::UnicodeString &fileName, bool selectionOnly) {
    const std::unique_ptr<TVDLayoutInfo> layout = CreateLayoutInfo();
    return FVDData->SaveVDF(fileName, selectionOnly, static_cast<uint32_t>(GetColor()),
                            FBackground.get(), layout.get(), true);
}

namespace {

// "{\rtf" at the stream's position, in 8-bit text or in UTF-16; either test leaves the stream at
// position 0.
bool StartsAsRTF(rtl::TStream &stream, bool utf16) {
    const int64_t size = stream.GetSize();
    bool result = false;
    if (utf16 ? size > 10 && size % 2 == 0 : size > 5) {
        char bytes[10] = {};
        const int32_t count = utf16 ? 10 : 5;
        if (stream.Read(bytes, count) == count) {
            static const char rtf8[] = "{\\rtf";
            static const char rtf16[] = {'{', 0, '\\', 0, 'r', 0, 't', 0, 'f', 0};
            result = std::memcmp(bytes, utf16 ? rtf16 : rtf8, static_cast<size_t>(count)) == 0;
        }
    }
    stream.SetPosition(0);
    return result;
}

// RTF in UTF-16 that holds only ASCII characters, read as 8-bit RTF.
bool LoadUTF16RTF(TCustomViziVodu &viziVodu, rtl::TStream &stream) {
    stream.SetPosition(0);
    std::string units(static_cast<size_t>(stream.GetSize() / 2 * 2), '\0');
    if (stream.Read(units.data(), static_cast<int32_t>(units.size())) !=
        static_cast<int32_t>(units.size())) {
        return false;
    }
    std::string text;
    for (size_t i = 0; i < units.size(); i += 2) {
        const unsigned unit = uint8_t(units[i]) | unsigned(uint8_t(units[i + 1])) << 8;
        if (unit > 127) {
            return false;
        }
        text += static_cast<char>(unit);
    }
    TVDMemoryStream ascii;
    ascii.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
    ascii.SetPosition(0);
    return viziVodu.LoadRTFFromStream(ascii);
}

} // namespace

bool TCustomViziVodu::LoadFromStreamEx(rtl::TStream &stream, TVDYesNoAuto isTextUnicode,
                                       TVDLoadFormats allowedFormats, bool allowLoadText,
                                       bool &unicode, TVDLoadFormat &loadedFormat) {
    Clear();
    const int64_t start = stream.GetPosition();
    const bool rtf = allowedFormats.Contains(vdlfRTF);
    const bool rtf8 = rtf && StartsAsRTF(stream, false);
    const bool rtf16 = rtf && !rtf8 && StartsAsRTF(stream, true);
    unicode = false;
    if (!rtf8 && !rtf16 && allowedFormats.Contains(vdlfVDF) && LoadVDFFromStream(stream)) {
        loadedFormat = vdlfVDF;
        return true;
    }
    stream.SetPosition(start);
    Clear();
    if ((rtf8 && LoadRTFFromStream(stream)) || (rtf16 && LoadUTF16RTF(*this, stream))) {
        unicode = rtf16;
        loadedFormat = vdlfRTF;
        return true;
    }
    Clear();
    if (!allowedFormats.Contains(vdlfText)) {
        return false;
    }
    loadedFormat = vdlfText;
    // A stream positioned past its start gives the text from that position on.
    stream.SetPosition(start);
    TVDRawByteString buffer(static_cast<size_t>(std::max<int64_t>(stream.GetSize() - start, 0)),
                            '\0');
    buffer.resize(static_cast<size_t>(
        std::max(stream.Read(buffer.data(), static_cast<int32_t>(buffer.size())), 0)));
    if (std::all_of(buffer.begin(), buffer.end(), [](char c) { return c == 0; })) {
        return true;
    }
    if (isTextUnicode == vdynaAuto) {
        isTextUnicode = TestStringForUnicode(buffer) == 1 ? vdynaYes : vdynaNo;
    }
    if (isTextUnicode == vdynaNo) {
        if (allowLoadText &&
            std::none_of(buffer.begin(), buffer.end(), [](char c) { return uint8_t(c) < 9; })) {
            FVDData->AddTextNLA(buffer, 0, 0, 0, {});
        }
        return true;
    }
    unicode = true;
    bool control = buffer.size() % 2 != 0;
    for (size_t i = 0; !control && i < buffer.size(); i += 2) {
        control = buffer[i + 1] == 0 && uint8_t(buffer[i]) < 9;
    }
    if (allowLoadText && !control) {
        FVDData->AddTextNLWRaw(buffer, 0, 0, 0, false);
    }
    return true;
}

bool TCustomViziVodu::LoadFromStream(rtl::TStream &stream, TVDYesNoAuto isTextUnicode) {
    bool unicode = false;
    TVDLoadFormat loadedFormat = vdlfText;
    return LoadFromStreamEx(stream, isTextUnicode, {vdlfText, vdlfRTF, vdlfVDF}, true, unicode,
                            loadedFormat);
}

bool TCustomViziVodu::LoadText(const rtl::UnicodeString &fileName, int32_t styleNo, int32_t paraNo,
                               bool asSingleParagraph, TVDCodePage codePage) {
    return FVDData->LoadText(fileName, styleNo, paraNo, asSingleParagraph, codePage);
}

bool TCustomViziVodu::LoadTextFromStream(rtl::TStream &stream, int32_t styleNo, int32_t paraNo,
                                         bool asSingleParagraph, TVDCodePage codePage) {
    return FVDData->LoadTextFromStream(stream, styleNo, paraNo, asSingleParagraph, codePage);
}

bool TCustomViziVodu::LoadTextW(const rtl::UnicodeString &fileName, int32_t styleNo, int32_t paraNo,
                                bool defAsSingleParagraph) {
    return FVDData->LoadTextW(fileName, styleNo, paraNo, defAsSingleParagraph);
}

bool TCustomViziVodu::LoadTextFromStreamW(rtl::TStream &stream, int32_t styleNo, int32_t paraNo,
                                          bool defAsSingleParagraph) {
    return FVDData->LoadTextFromStreamW(stream, styleNo, paraNo, defAsSingleParagraph);
}

bool TCustomViziVodu::SaveText(const rtl::UnicodeString &fileName, int32_t lineWidth,
                               TVDCodePage codePage) {
    return FVDData->SaveText(fileName, lineWidth, false, codePage);
}

bool TCustomViziVodu::SaveTextW(const rtl::UnicodeString &fileName, int32_t lineWidth) {
    return FVDData->SaveText(fileName, lineWidth, true, 0);
}

namespace {

// The document a selection is saved from: the chosen sub-document, followed down.
TCustomVDData &SelectionDocument(TCustomVDData &root) {
    TCustomVDData *data = &root;
    while (TCustomVDData *chosen = data->GetChosenVDData()) {
        if (chosen == data) {
            break;
        }
        data = chosen;
    }
    return *data;
}

} // namespace

bool TCustomViziVodu::SaveTextToStream(const rtl::UnicodeString &path, rtl::TStream &stream,
                                       int32_t lineWidth, bool selectionOnly, bool textOnly,
                                       TVDCodePage codePage) {
    TCustomVDData &data = selectionOnly ? SelectionDocument(*FVDData) : *FVDData;
    return data.SaveTextToStream(path, stream, lineWidth, selectionOnly, textOnly, false, false,
                                 codePage, true);
}

bool TCustomViziVodu::SaveTextToStreamW(const rtl::UnicodeString &path, rtl::TStream &stream,
                                        int32_t lineWidth, bool selectionOnly, bool textOnly) {
    TCustomVDData &data = selectionOnly ? SelectionDocument(*FVDData) : *FVDData;
    return data.SaveTextToStream(path, stream, lineWidth, selectionOnly, textOnly, true, false, 0,
                                 true);
}

} // namespace vizivodu
