// The system clipboard: text, pictures and data under registered format names.
#pragma once

#include "platform/rtl/System.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace gfx {

class TBitmap;
class TGraphic;
class TPicture;

// Format numbers of the predefined kinds; registered names get numbers from 0xC000 up.
constexpr uint32_t CF_TEXT = 1;
constexpr uint32_t CF_BITMAP = 2;
constexpr uint32_t CF_DIB = 8;
constexpr uint32_t CF_UNICODETEXT = 13;

// The number of a named format; the same name (any case) gives the same number for the life
// of the process. Formats travel under the desktop's MIME types, so that other programs
// exchange data with ours: "Rich Text Format" as text/rtf (also offered as application/rtf),
// "HTML Format" as text/html, "UniformResourceLocator" as text/uri-list, "ViziVodu Format" as
// application/x-vizivodu, any other name as application/x-<name>; text (CF_TEXT and
// CF_UNICODETEXT) as text/plain;charset=utf-8, pictures as image/png.
uint32_t RegisterClipboardFormat(const rtl::UnicodeString &name);
// The MIME type a format travels under (drag and drop uses the same); empty for a number
// nobody registered.
rtl::UnicodeString ClipboardFormatMimeType(uint32_t format);

// The clipboard of the process's display. Open and Close nest; what is put while the
// clipboard is open is published at the last Close, replacing the clipboard's whole content
// (as an emptied clipboard does). Outside Open every call stands alone.
class TClipboard {
public:
    TClipboard();
    ~TClipboard();
    TClipboard(const TClipboard &) = delete;
    TClipboard &operator=(const TClipboard &) = delete;

    void Open();
    void Close(); // nothing when not open

    void Clear();

    bool HasFormat(uint32_t format) const;

    rtl::UnicodeString GetAsText() const; // empty when the clipboard holds no text
    void SetAsText(const rtl::UnicodeString &text);

    // Puts a picture drawn at its own size (an empty one clears the clipboard).
    void Assign(const TGraphic &graphic);
    void Assign(const TPicture &picture);
    // Takes the clipboard's picture as a 32-bit bitmap; raises EConvertError "Cannot assign a
    // TClipboard to a TBitmap" when it holds none.
    void AssignTo(TBitmap &bitmap) const;
    void AssignTo(TPicture &picture) const;

    // The bytes stored under a registered (or predefined text) format; empty when absent.
    // Blocks keep the system's forms: CF_TEXT is 8-bit text in the system code page and
    // CF_UNICODETEXT UTF-16LE, each up to a zero terminator, with "\r\n" line ends (the desktop
    // sees UTF-8 with "\n"); "HTML Format" carries the Windows fragment header, which other
    // programs never see.
    std::vector<uint8_t> GetBuffer(uint32_t format) const;
    void SetBuffer(uint32_t format, const void *data, size_t size);

private:
    friend struct TClipboardAccess; // the Qt side (Clipbrd.cpp)
    struct TPending;
    int FOpenCount = 0;
    std::unique_ptr<TPending> FPending; // what Open collects until the last Close
};

// The one clipboard object of the process.
TClipboard &Clipboard();

} // namespace gfx
