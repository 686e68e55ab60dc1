// Values on the lines of the native document format: line writing, encoded and optional
// strings, the header tokenizer, and hexadecimal text.
//
// Encoded string: UTF-8 with every CR byte replaced by 0x01 and every LF byte by 0x02, so it
// never breaks a line. Optional string: the bare token "0" for an empty value, otherwise the
// value in double quotes with inner quotes doubled, then encoded. Header lines are read with a
// cursor into a NUL-terminated line; each reader moves past what it took and one blank.
#pragma once

#include "vizivodu/document/VDUnicode.h"

#include "platform/rtl/Classes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace rtl {
class TStream;
}
namespace gfx {
class TGraphic;
}

namespace ui {
class TControl;
class TWinControl;
} // namespace ui

namespace vizivodu {

inline constexpr std::string_view VDFCrLf = "\r\n";

void VDFWrite(rtl::TStream &stream, std::string_view s);
// s and CR LF.
void VDFWriteLine(rtl::TStream &stream, std::string_view s);

std::string VDFEscapeLineBreaks(std::string_view s);
std::string VDFUnescapeLineBreaks(std::string_view s);
std::string VDFEncodeString(std::u16string_view s);
// Line breaks unescaped, then UTF-8 decoded (utf8) or converted from the ANSI code page.
TVDUnicodeString VDFDecodeString(std::string_view s, bool utf8);
// "0" for an empty s; otherwise quoted (inner quotes doubled) and encoded.
std::string VDFFormatOptionalString(bool tagsArePChars, std::u16string_view s);

// Characters up to the next blank or NUL; true when at least one was taken.
bool VDFReadToken(const char *&p, std::string &s);
// An optional "-" and decimal digits up to a blank or NUL. False (cursor unchanged) when the
// text is not such a number or lies outside the 32-bit range; "-" alone reads as 0.
bool VDFReadInteger(const char *&p, int32_t &value);
// When p starts with quote: the text up to the closing quote (doubled quotes stand for one),
// p past it (to the end when there is none). Otherwise empty and p unchanged.
void VDFExtractQuotedString(const char *&p, char quote, std::string &s);
// A double-quoted string, then one blank.
void VDFReadQuotedString(const char *&p, std::string &s);
// A quoted string (when allowQuoted) or a bare token, decoded; a bare "0" is empty. False when
// there is neither.
bool VDFReadOptionalString(const char *&p, bool tagsArePChars, bool allowQuoted, bool utf8,
                           TVDUnicodeString &s);

// The same on a UTF-16 cursor.
bool VDFReadIntegerW(const char16_t *&p, int32_t &value);

// ---- Blocks and hexadecimal (formats/vdf/VDFHelpers_Blocks.cpp) ----

class TVDMemoryStream;
class TVDStyle;
class TCustomVDData;
class TCustomVDItemInfo;

// The header line of a non-text item: style number, data lines, paragraph reference, options,
// read type, tag and the item's header tail (formats/vdf/VDItem_VDF.cpp).
std::string VDFItemHeader(const TCustomVDItemInfo &item, TCustomVDData &vdData, int32_t dataCount,
                          int32_t paraNo, bool forceSameAsPrev, int32_t readType);

// One item text as a data line: NUL characters become "?" (NUL code units of Unicode text,
// NUL bytes otherwise); Unicode text as hex and CR LF (hex) or as UTF-16LE bytes and U+2029;
// 8-bit text raw and CR LF.
void VDFWriteTextLine(rtl::TStream &stream, std::string_view text, bool unicode, bool hex);
// An Int32 with the source's size, then its whole content.
void VDFWriteStreamBinary(TVDMemoryStream &source, rtl::TStream &stream);
// Writes a placeholder Int32 at the stream's position and patches it with the length of what
// body writes after it; the stream ends after the block.
template <class Body> void VDFWriteBlock(rtl::TStream &stream, Body body);
// Reads an Int32 length and that many bytes. The length is checked against what the stream
// still holds before anything is allocated: EViziVoduError "Invalid VDF format".
TVDRawByteString VDFReadBlock(rtl::TStream &stream);

// The whole stream from its start, two digits a byte.
std::string VDFStreamToHex(TVDMemoryStream &stream);
// False for an odd length (stream untouched) or at the first pair that is not hex (the bytes
// decoded so far stay). The stream's size becomes half the length.
bool VDFHexToStream(std::string_view hex, TVDMemoryStream &stream);
// Four digits a code unit, most significant first.
std::string VDFUnicodeToHex(std::u16string_view s);
// Empty for a length not a multiple of 4; stops at the first group that is not hex.
TVDUnicodeString VDFHexToUnicode(std::string_view hex);
// A new memory stream holding s, at position 0.
std::unique_ptr<TVDMemoryStream> VDFStringToStream(std::string_view s);

// Pictures: the bytes are those the graphic's registered class streams. A graphic of a class
// that is not registered raises EViziVoduError.
std::string VDFSavePictureToHex(const gfx::TGraphic &graphic);
bool VDFLoadPictureFromHex(std::string_view hex, gfx::TGraphic &graphic);
TVDRawByteString VDFSavePictureToBinaryString(const gfx::TGraphic &graphic);
void VDFLoadPictureFromBinaryString(std::string_view s, gfx::TGraphic &graphic);
void VDFSavePictureBinary(rtl::TStream &stream, const gfx::TGraphic &graphic);
void VDFLoadPictureBinary(rtl::TStream &stream, gfx::TGraphic &graphic);

// Style references: a quoted, encoded name with useNames (not for a negative index, nor for
// StyleNoParaDefault among text styles), else the decimal index.
std::string VDFFormatTextStyleRef(const TVDStyle &vdStyle, bool useNames, int32_t index);
std::string VDFFormatParaStyleRef(const TVDStyle &vdStyle, bool useNames, int32_t index);
// A list style: its quoted name with useNames and a valid index, else the number.
std::string VDFFormatListStyleRef(const TVDStyle &vdStyle, bool useNames, int32_t index);
// With the data's sheet and its vdfoUseStyleNames; -1 when sameAsPrev.
std::string VDFFormatItemParaRef(int32_t paraNo, TCustomVDData &vdData, bool sameAsPrev);
// A number, or a quoted name looked up by exact name (the first of that name, 0 when none;
// nameUsed then true). False only when there is neither.
bool VDFReadTextStyleRef(const TVDStyle &vdStyle, const char *&p, int32_t &styleNo, bool &nameUsed,
                         bool utf8);
bool VDFReadParaStyleRef(const TVDStyle &vdStyle, const char *&p, int32_t &paraNo, bool &nameUsed,
                         bool utf8);
int32_t VDFFindTextStyleByName(const TVDStyle &vdStyle, std::u16string_view name);
int32_t VDFFindParaStyleByName(const TVDStyle &vdStyle, std::u16string_view name);

// Upper-case hexadecimal digits by value.
inline constexpr char VDFHexDigits[] = "0123456789ABCDEF";
// The value of one hexadecimal digit of either case, or -1.
int VDFHexDigitValue(char c);
// Two upper-case digits a byte.
std::string VDFStringToHex(std::string_view s);
// Empty for an odd length; stops at the first pair that is not two hex digits.
TVDRawByteString VDFHexToString(std::string_view hex);

template <class Body> void VDFWriteBlock(rtl::TStream &stream, Body body) {
    const int64_t lengthAt = stream.GetPosition();
    int32_t length = 0;
    stream.WriteBuffer(&length, 4);
    body();
    const int64_t end = stream.GetPosition();
    length = static_cast<int32_t>(end - lengthAt - 4);
    stream.SetPosition(lengthAt);
    stream.WriteBuffer(&length, 4);
    stream.SetPosition(end);
}

} // namespace vizivodu
