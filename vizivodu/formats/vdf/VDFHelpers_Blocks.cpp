// Native-format values that need more than a line: item text lines, length-prefixed blocks,
// hexadecimal codecs, pictures and style references.
#include "vizivodu/document/VDFHelpers.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/document/VDError.h"
#include "vizivodu/document/VDGrHandler.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Graphic.h"

namespace vizivodu {

namespace {

[[noreturn]] void RaiseInvalidVDF() {
    throw EViziVoduError(rtl::UnicodeString(errmsg::InvalidVDF));
}

const TVDGraphicClass &ClassOfGraphic(const gfx::TGraphic &graphic) {
    const TVDGraphicClass *graphicClass = GraphicClassOf(graphic);
    if (graphicClass == nullptr) {
        throw EViziVoduError(u"The picture's class cannot be stored");
    }
    return *graphicClass;
}

std::string QuotedName(const rtl::UnicodeString &name) {
    std::u16string quoted = u"\"";
    for (char16_t c : name) {
        quoted += c;
        if (c == u'"') {
            quoted += c;
        }
    }
    quoted += u'"';
    return VDFEncodeString(quoted);
}

template <class Infos> int32_t FindByName(const Infos &infos, std::u16string_view name) {
    for (int32_t i = 0; i < infos.GetCount(); ++i) {
        if (infos.GetItem(i).GetStyleName() == name) {
            return i;
        }
    }
    return 0;
}

template <class Find>
bool ReadStyleRef(const char *&p, int32_t &no, bool &nameUsed, bool utf8, Find find) {
    if (VDFReadInteger(p, no)) {
        nameUsed = false;
        return true;
    }
    if (*p != '"') {
        return false;
    }
    std::string raw;
    VDFReadQuotedString(p, raw);
    no = find(VDFDecodeString(raw, utf8));
    nameUsed = true;
    return true;
}

} // namespace

void VDFWriteTextLine(rtl::TStream &stream, std::string_view text, bool unicode, bool hex) {
    std::string copy(text);
    if (unicode) {
        for (size_t i = 0; i + 1 < copy.size(); i += 2) {
            if (copy[i] == '\0' && copy[i + 1] == '\0') {
                copy[i] = '?';
            }
        }
    } else {
        for (char &c : copy) {
            c = c == '\0' ? '?' : c;
        }
    }
    if (unicode && hex) {
        VDFWriteLine(stream, VDFStringToHex(copy));
    } else if (unicode) {
        VDFWrite(stream, copy);
        VDFWrite(stream, std::string_view("\x29\x20", 2));
    } else {
        VDFWriteLine(stream, copy);
    }
}

void VDFWriteStreamBinary(TVDMemoryStream &source, rtl::TStream &stream) {
    const auto size = static_cast<int32_t>(source.GetSize());
    stream.WriteBuffer(&size, 4);
    if (size > 0) {
        stream.WriteBuffer(source.GetMemory(), size);
    }
}

TVDRawByteString VDFReadBlock(rtl::TStream &stream) {
    int32_t length = 0;
    stream.ReadBuffer(&length, 4);
    if (length < 0 || length > stream.GetSize() - stream.GetPosition()) {
        RaiseInvalidVDF();
    }
    TVDRawByteString bytes(static_cast<size_t>(length), '\0');
    if (length > 0) {
        stream.ReadBuffer(bytes.data(), length);
    }
    return bytes;
}

std::string VDFStreamToHex(TVDMemoryStream &stream) {
    const auto *bytes = reinterpret_cast<const char *>(stream.GetMemory());
    return VDFStringToHex(
        std::string_view(bytes, bytes ? static_cast<size_t>(stream.GetSize()) : 0));
}

bool VDFHexToStream(std::string_view hex, TVDMemoryStream &stream) {
    if (hex.size() % 2 != 0) {
        return false;
    }
    stream.SetSize(static_cast<int64_t>(hex.size() / 2));
    uint8_t *out = stream.GetMemory();
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int hi = VDFHexDigitValue(hex[i]);
        const int lo = VDFHexDigitValue(hex[i + 1]);
        if (hi < 0 || lo < 0) {
            return false;
        }
        out[i / 2] = static_cast<uint8_t>(hi * 16 + lo);
    }
    return true;
}

std::string VDFUnicodeToHex(std::u16string_view s) {
    std::string hex;
    hex.reserve(s.size() * 4);
    for (char16_t c : s) {
        for (int shift = 12; shift >= 0; shift -= 4) {
            hex += VDFHexDigits[(c >> shift) & 15];
        }
    }
    return hex;
}

TVDUnicodeString VDFHexToUnicode(std::string_view hex) {
    if (hex.size() % 4 != 0) {
        return {};
    }
    TVDUnicodeString out;
    out.reserve(hex.size() / 4);
    for (size_t i = 0; i < hex.size(); i += 4) {
        int value = 0;
        for (size_t k = 0; k < 4; ++k) {
            const int digit = VDFHexDigitValue(hex[i + k]);
            if (digit < 0) {
                return out;
            }
            value = value * 16 + digit;
        }
        out += static_cast<char16_t>(value);
    }
    return out;
}

std::unique_ptr<TVDMemoryStream> VDFStringToStream(std::string_view s) {
    auto stream = std::make_unique<TVDMemoryStream>();
    VDFWrite(*stream, s);
    stream->SetPosition(0);
    return stream;
}

TVDRawByteString VDFSavePictureToBinaryString(const gfx::TGraphic &graphic) {
    TVDMemoryStream stream;
    ClassOfGraphic(graphic).SaveToStream(graphic, stream);
    const auto *bytes = reinterpret_cast<const char *>(stream.GetMemory());
    return bytes ? TVDRawByteString(bytes, static_cast<size_t>(stream.GetSize()))
                 : TVDRawByteString();
}

std::string VDFSavePictureToHex(const gfx::TGraphic &graphic) {
    return VDFStringToHex(VDFSavePictureToBinaryString(graphic));
}

void VDFLoadPictureFromBinaryString(std::string_view s, gfx::TGraphic &graphic) {
    auto stream = VDFStringToStream(s);
    ClassOfGraphic(graphic).LoadFromStream(graphic, *stream);
}

bool VDFLoadPictureFromHex(std::string_view hex, gfx::TGraphic &graphic) {
    TVDMemoryStream stream;
    // A picture is never made from half-decoded bytes.
    if (!VDFHexToStream(hex, stream)) {
        return false;
    }
    stream.SetPosition(0);
    ClassOfGraphic(graphic).LoadFromStream(graphic, stream);
    return true;
}

void VDFSavePictureBinary(rtl::TStream &stream, const gfx::TGraphic &graphic) {
    VDFWriteBlock(stream, [&] { ClassOfGraphic(graphic).SaveToStream(graphic, stream); });
}

void VDFLoadPictureBinary(rtl::TStream &stream, gfx::TGraphic &graphic) {
    VDFLoadPictureFromBinaryString(VDFReadBlock(stream), graphic);
}

std::string VDFFormatTextStyleRef(const TVDStyle &vdStyle, bool useNames, int32_t index) {
    if (useNames && index >= 0 && index != StyleNoParaDefault &&
        index < vdStyle.GetTextStyles().GetCount()) {
        return QuotedName(vdStyle.GetTextStyles().GetItem(index).GetStyleName());
    }
    return std::to_string(index);
}

std::string VDFFormatParaStyleRef(const TVDStyle &vdStyle, bool useNames, int32_t index) {
    if (useNames && index >= 0 && index < vdStyle.GetParaStyles().GetCount()) {
        return QuotedName(vdStyle.GetParaStyles().GetItem(index).GetStyleName());
    }
    return std::to_string(index);
}

std::string VDFFormatListStyleRef(const TVDStyle &vdStyle, bool useNames, int32_t index) {
    if (useNames && index >= 0 && index < vdStyle.GetListStyles().GetCount()) {
        return QuotedName(vdStyle.GetListStyles().GetItem(index).GetStyleName());
    }
    return std::to_string(index);
}

std::string VDFFormatItemParaRef(int32_t paraNo, TCustomVDData &vdData, bool sameAsPrev) {
    return VDFFormatParaStyleRef(*vdData.GetVDStyle(),
                                 vdData.GetVDFOptions().Contains(vdfoUseStyleNames),
                                 sameAsPrev ? -1 : paraNo);
}

int32_t VDFFindTextStyleByName(const TVDStyle &vdStyle, std::u16string_view name) {
    return FindByName(vdStyle.GetTextStyles(), name);
}

int32_t VDFFindParaStyleByName(const TVDStyle &vdStyle, std::u16string_view name) {
    return FindByName(vdStyle.GetParaStyles(), name);
}

bool VDFReadTextStyleRef(const TVDStyle &vdStyle, const char *&p, int32_t &styleNo, bool &nameUsed,
                         bool utf8) {
    return ReadStyleRef(p, styleNo, nameUsed, utf8, [&](std::u16string_view name) {
        return VDFFindTextStyleByName(vdStyle, name);
    });
}

bool VDFReadParaStyleRef(const TVDStyle &vdStyle, const char *&p, int32_t &paraNo, bool &nameUsed,
                         bool utf8) {
    return ReadStyleRef(p, paraNo, nameUsed, utf8, [&](std::u16string_view name) {
        return VDFFindParaStyleByName(vdStyle, name);
    });
}

} // namespace vizivodu
