// Item text storage and its encodings: character-indexed access to item text, code-page, UTF-16
// and UTF-8 conversions, font-charset tables, UTF-16/UTF-8 signature probes, HTML text of item
// text, the display form of a run, the strong directions of a text, and the line-break classes
// with their pair table.
//
// Storage rule. An item whose options hold vdioUnicode keeps its text as UTF-16LE code units
// (two bytes each, no signature, no terminator): "raw Unicode". Any other item keeps one byte
// per character in the code page of its text style. Raw Unicode of odd byte length is invalid:
// every routine that turns it into characters raises EViziVoduError "Can't perform Unicode
// operation" first. Indices into item text are 1-based and count characters, not bytes.
#pragma once

#include "vizivodu/document/VDItemOptions.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include "platform/rtl/System.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace rtl {
class TStream;
}

namespace vizivodu {

// An 8-bit string used as a byte container (item text, native-format lines, raw Unicode).
using TVDRawByteString = std::string;
// An 8-bit string of characters of some code page.
using TVDAnsiString = std::string;
// A UTF-16 string.
using TVDUnicodeString = std::u16string;
// A Windows code page number; 0 is the system ANSI code page, 1 the OEM one, 2 the Mac one.
using TVDCodePage = uint32_t;

// Platform flags: this platform behaves as the NT family from Vista on (zero-width spaces and
// word joiners stay in display text; the format canvas keeps its scale).
inline constexpr bool IsWinNT = true;
inline constexpr bool IsVistaOrLater = true;

// ---- Item text access (Index 1-based, in characters) ----
// Out-of-range indices and counts are clamped as the class library's string routines clamp
// them: an index below 1 counts as 1, a count is cut at the end, an index past the end copies
// or deletes nothing and inserts at the end.

TVDRawByteString CopyItemText(const TVDRawByteString &text, int32_t index, int32_t count,
                              TVDItemOptions options);
int32_t GetItemTextLength(const TVDRawByteString &text, TVDItemOptions options);
// False for an index outside the text.
bool IsItemTextSpaceAt(const TVDRawByteString &text, int32_t index, TVDItemOptions options);
void DeleteItemText(TVDRawByteString &text, int32_t index, int32_t count, TVDItemOptions options);
// The width that the graphic interface's TextSize gives the item text on canvas (its length
// and encoding from the item's options).
int32_t GetItemTextWidth(const TVDRawByteString &text, gfx::TCanvas &canvas, TVDItemOptions options,
                         TVDGraphicInterface &graphicInterface, TVDRunOptions runOptions);
// sub must already be in the item's encoding.
void InsertItemText(const TVDRawByteString &sub, TVDRawByteString &text, int32_t index,
                    TVDItemOptions options);

// ---- Conversions (none raises for unconvertible characters) ----

TVDUnicodeString RawUnicodeToString(std::string_view raw);
TVDRawByteString StringToRawUnicode(std::u16string_view s);
// 8-bit text in codePage to raw Unicode. A code page the platform does not know is replaced
// by the system ANSI code page; when that fails too, each byte gives one "?".
TVDRawByteString AnsiToRawUnicode(TVDCodePage codePage, std::string_view s);
// Each byte b becomes U+F000 + b, the private-use range that symbol fonts are addressed in.
TVDRawByteString SymbolAnsiToRawUnicode(std::string_view s);
// Raw Unicode back to symbol-font bytes: U+F000..U+F0FF give their low byte, units below
// U+F000 are converted to the ANSI code page, every other unit is dropped.
TVDAnsiString UnicodeRawToSymbolAnsi(std::string_view raw);
std::string AnsiToUTF8(TVDCodePage codePage, std::string_view s);
// Raw Unicode to 8-bit text in codePage; characters the code page lacks become "?". A code
// page the platform does not know is replaced by the ANSI code page; when that fails too, each
// code unit gives one "?".
TVDAnsiString RawUnicodeToAnsi(TVDCodePage codePage, std::string_view raw);
// Always false: no conversion of Unicode text to a code page is reported as lossless.
bool CanConvertToCodePage(std::string_view raw, TVDCodePage codePage);
// 8-bit text typed on the keyboard (in the keyboard's code page) to raw Unicode.
TVDRawByteString KeyboardAnsiToRawUnicode(std::string_view s);
TVDUnicodeString ItemTextToString(const TVDRawByteString &text, bool isUnicode,
                                  TVDCodePage codePage);
TVDRawByteString StringToItemText(std::u16string_view s, bool isUnicode, TVDCodePage codePage);
// Swaps the two bytes of each of count code units in place.
void SwapUTF16Bytes(char16_t *p, int32_t count);
// Steps p over a leading U+FEFF; over a byte-swapped signature U+FFFE too, byte-swapping the
// count - 1 units after it in place.
void SkipUnicodeByteOrderMark(char16_t *&p, int32_t count);

// ---- Code pages, charsets and locales ----

// True when the system ANSI code page has characters of more than one byte.
bool IsDBCSCodePage();
TVDCodePage CharsetToCodePage(uint8_t charset);
uint16_t CharsetToLanguage(uint8_t charset);
constexpr uint16_t MakeLanguageId(uint16_t primary, uint16_t sub) {
    return static_cast<uint16_t>((sub << 10) | primary);
}
constexpr uint32_t MakeLocaleId(uint16_t language, uint16_t sort) {
    return (static_cast<uint32_t>(sort) << 16) | language;
}
constexpr uint32_t LanguageToLocale(uint16_t language) {
    return MakeLocaleId(MakeLanguageId(language, 1), 0);
}
// The code page of text typed on the keyboard: input arrives as Unicode on this platform, so
// this is the system ANSI code page.
TVDCodePage GetKeyboardCodePage();

// ---- Encoding probes (from the stream's position; the position is not restored) ----

// 3 empty, 0 odd size, 1 looks like UTF-16 (a signature, or a zero byte among the first 500
// bytes after the first two), 2 no sign of UTF-16, 4 the stream failed.
int32_t TestStreamForUnicode(rtl::TStream &stream);
int32_t TestFileForUnicode(const rtl::UnicodeString &fileName);
int32_t TestStringForUnicode(std::string_view s);
bool StreamHasUTF8ByteOrderMark(rtl::TStream &stream);
bool FileHasUTF8ByteOrderMark(const rtl::UnicodeString &fileName);

// ---- Wide-character search ----

const char16_t *ScanWideChar(const char16_t *p, char16_t ch, int32_t count);
const char16_t *FindWideSubString(const char16_t *p, const char16_t *sub, int32_t len,
                                  int32_t subLen);

// ---- HTML text of item text ----

// "&amp;", "&lt;", "&gt;" or "&nbsp;" for those four characters; empty for any other.
std::string GetHTMLEntity(char16_t ch);
// One character below 128. spacePending makes every second blank of a run "&nbsp;".
std::string AnsiCharToHTML(char ch, bool &spacePending, bool specialCode, bool finalSpace);
// 7-bit HTML: characters from 128 on as "&#N;" (each half of a surrogate pair apart).
std::string RawUnicodeToHTMLWithEntities(std::string_view raw, bool specialCode,
                                         bool finalSpaceAsNbsp);
// UTF-8 HTML with the four entities and every second blank of a run as "&nbsp;".
std::string RawUnicodeToHTMLUTF8(std::string_view raw, bool specialCode, bool finalSpaceAsNbsp);

// ---- Display form of a text run ----

// What a run shows. unicode: text is raw Unicode; allCaps: the style shows capitals (upper-
// casing keeps the length); showSoftHyphens: the soft-hyphen member of the shown special
// characters. Soft hyphens become "-" at the end of the run (softHyphenAtEnd) or the not sign
// when shown; U+2011 becomes "-"; with removeInvisible soft hyphens are taken out and pos1 and
// pos2 (1-based positions the caller keeps in step) move with the removals.
struct TVDDrawTextForm {
    bool unicode = false;
    bool allCaps = false;
    bool showSoftHyphens = true;
};
TVDRawByteString GetTextForDrawingEx(const TVDRawByteString &text, const TVDDrawTextForm &form,
                                     bool softHyphenAtEnd, int32_t &pos1, int32_t &pos2,
                                     bool noChange, bool removeInvisible, bool showSpecial);
TVDRawByteString GetTextForDrawing(const TVDRawByteString &text, const TVDDrawTextForm &form,
                                   bool softHyphenAtEnd, bool noChange, bool removeInvisible,
                                   bool showSpecial);

// ---- Direction of text ----

// The directions of the first and the last strongly directed character of text: L gives
// vdbdLeftToRight, R and AL vdbdRightToLeft; numbers, marks and neutrals have none. start and
// end keep their values when the text has no such character.
void GetStrongDirections(std::u16string_view text, TVDBiDiMode &start, TVDBiDiMode &end);

// ---- Line breaking of UTF-16 text ----
//
// Every code unit has a class 0..21 (UAX #14's OP CL QU GL NS EX SY IS PR PO NU AL ID IN HY BA
// BB B2 ZW CM as 1..12 and 14..21, plus 0 for the ASCII opening brackets and 13 for ASCII
// sentence punctuation); spaces are never classified. GetLineBreakPair(before, after) is 0
// when a line may break between the two, 1 only where a space stands between them, 2 never.

constexpr int32_t LineBreakClassCount = 22;
uint8_t GetLineBreakClass(char16_t ch);
uint8_t GetLineBreakPair(uint8_t before, uint8_t after);
// Searches p backwards from the 0-based index for the last place a line may end; the result
// points at the last unit of the line (its trailing spaces included); nullptr when none.
const char16_t *FindLastLineBreak(const char16_t *p, int32_t index, bool skipSpaceAtIndex,
                                  bool fromSpaceRun);
// The first break opportunity in raw Unicode text that continues a line after prevChar (0:
// none). -1: a break is possible before the text; n > 0: after the first n units (the first
// word without its trailing spaces); 0 for an empty text. Without a break lastChar receives
// the last unit that is not a space (U+0020 for a text of spaces) and the result is its
// 1-based position.
int32_t FindFirstLineBreak(std::string_view text, char16_t prevChar, bool spaceBefore,
                           char16_t &lastChar);

} // namespace vizivodu
