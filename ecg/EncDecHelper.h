// Base64 between text, byte arrays and memory streams; ANSI/OEM conversion of short strings;
// repair of XML tags whose names start with a digit.
#pragma once

#include "ecg/TypesHelper.h"
#include "platform/rtl/System.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace rtl {
class TMemoryStream;
}

namespace ecg {

// Stateless: class methods only.
//
// Base64 is RFC 4648 (A-Z a-z 0-9 + /, "=" padding). Encoded text is broken into lines of 76
// characters separated by CR LF, with no break after the last line. The decoder skips every
// character outside the alphabet (line breaks, padding, blanks) and decodes the rest; a single
// character left over at the end carries no whole byte and is dropped.
class TEncDecHelper {
public:
    TEncDecHelper() = delete;

    // Converts s to ANSI bytes, decodes them and writes the bytes into ImageStream at its
    // position; the stream is not rewound.
    static void SetStreamFromBase64String(const rtl::UnicodeString &s,
                                          rtl::TMemoryStream &ImageStream);
    // Base64 of the stream's bytes from its position to its end; the position moves to the end.
    static rtl::UnicodeString GetBase64String(rtl::TMemoryStream &srcStream);
    static rtl::UnicodeString GetBase64StringFromBA(const byte_array &srcBA);
    // Base64 of s written as ANSI lines, each ended by CR LF (a text without a final line
    // break gains one; bare LF or CR breaks become CR LF).
    static rtl::UnicodeString GetBase64StringFromString(const rtl::UnicodeString &s);
    // Decodes s and reads the bytes as text lines (UTF-8 or UTF-16 after a byte-order
    // signature, else ANSI); each line of the result ends with CR LF.
    static rtl::UnicodeString SetStringFromBase64String(const rtl::UnicodeString &s);

    // A copy of the whole stream (whatever its position); empty for nullptr.
    static byte_array GetSegmentDATA(rtl::TMemoryStream *srcStream);
    // ImageStream := nullptr, then, when DATA holds an array, a new stream with its bytes,
    // positioned at 0. On failure ImageStream stays nullptr and the failure is raised again.
    static void SetSegmentDATA(const std::optional<byte_array> &DATA,
                               std::unique_ptr<rtl::TMemoryStream> &ImageStream);

    // Short strings (at most 255 bytes; longer input is cut). Coder: ANSI to OEM, trailing
    // blanks kept. Decoder: OEM to ANSI without trailing blanks and control characters.
    static rtl::AnsiString Coder(const rtl::AnsiString &s);
    static rtl::AnsiString Decoder(const rtl::AnsiString &s);

    // Rewrites the text file so that no tag name starts with a digit: "<1a" becomes
    // "<" + nodeName + "1a", "</1a" likewise. nodeName is a replacement template: "\1" or "$1"
    // in it name the captured digit, "\\" is a backslash. The file keeps its encoding.
    // Returns 0, or -1 when the file cannot be read or written.
    static std::int32_t CorrectXMLDigitNodes(const rtl::UnicodeString &filename,
                                             const rtl::UnicodeString &nodeName);
};

} // namespace ecg
