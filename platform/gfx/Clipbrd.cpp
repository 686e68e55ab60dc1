// The clipboard on Qt's: formats as MIME types, pictures as images.
#include "platform/gfx/Clipbrd.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/ClipboardHtml.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/QtBridge_p.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Exceptions.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <algorithm>
#include <map>
#include <mutex>

namespace gfx {

namespace {

constexpr uint32_t FirstRegisteredFormat = 0xC000;

struct TFormatTable {
    std::mutex Lock;
    std::map<QString, uint32_t> Numbers; // by the name folded to lower case
    std::vector<QString> Names;          // as first registered, by number - 0xC000
};

TFormatTable &Formats() {
    static TFormatTable table;
    return table;
}

// The desktop's MIME types of the well-known names; any other name is application/x-<name>.
QString MimeTypeOfName(const QString &name) {
    const QString folded = name.toLower();
    if (folded == u"rich text format"_qs) {
        return u"text/rtf"_qs;
    }
    if (folded == u"html format"_qs) {
        return u"text/html"_qs;
    }
    if (folded == u"uniformresourcelocator"_qs) {
        return u"text/uri-list"_qs;
    }
    if (folded == u"vizivodu format"_qs) {
        return u"application/x-vizivodu"_qs;
    }
    return u"application/x-"_qs + name;
}

const QString PlainText = u"text/plain;charset=utf-8"_qs;
const QString RtfOtherName = u"application/rtf"_qs;

// The MIME type of a format; empty for a number nobody registered.
QString MimeTypeOf(uint32_t format) {
    if (format == CF_TEXT || format == CF_UNICODETEXT) {
        return PlainText;
    }
    TFormatTable &t = Formats();
    std::lock_guard<std::mutex> guard(t.Lock);
    const uint32_t i = format - FirstRegisteredFormat;
    return format >= FirstRegisteredFormat && i < t.Names.size() ? MimeTypeOfName(t.Names[i])
                                                                 : QString();
}

// Text goes to the desktop with its line ends ("\n") and comes back with the system's ("\r\n").
QString ToDesktopLines(QString text) {
    return text.replace(u"\r\n"_qs, u"\n"_qs);
}
QString FromDesktopLines(QString text) {
    return text.replace(u"\r\n"_qs, u"\n"_qs).replace(u'\n', u"\r\n"_qs);
}

// Text as the desktop takes it: text/plain, and text/plain;charset=utf-8 named outright for the
// programs that ask for that type.
void SetDesktopText(QMimeData &d, const QString &text) {
    d.setText(text);
    d.setData(PlainText, text.toUtf8());
}

// The text of a CF_TEXT (8-bit, system code page) or CF_UNICODETEXT (UTF-16LE) block, up to
// its terminator.
QString TextOfBlock(uint32_t format, const char *data, size_t size) {
    if (format == CF_TEXT) {
        const std::string_view bytes(data, size_t(std::find(data, data + size, '\0') - data));
        return qt::ToQString(rtl::AnsiToUnicode(bytes));
    }
    std::u16string units;
    for (size_t i = 0; i + 1 < size; i += 2) {
        const auto unit = char16_t(uint8_t(data[i]) | (uint8_t(data[i + 1]) << 8));
        if (unit == 0) {
            break;
        }
        units.push_back(unit);
    }
    return qt::ToQString(units);
}

std::vector<uint8_t> BlockOfText(uint32_t format, const QString &text) {
    const rtl::UnicodeString units = qt::FromQString(FromDesktopLines(text));
    std::vector<uint8_t> out;
    if (format == CF_TEXT) {
        const std::string bytes = rtl::UnicodeToAnsi(units);
        out.assign(bytes.begin(), bytes.end());
        out.push_back(0);
        return out;
    }
    for (char16_t u : units) {
        out.push_back(uint8_t(u & 0xFF));
        out.push_back(uint8_t(u >> 8));
    }
    out.insert(out.end(), {0, 0});
    return out;
}

QClipboard &System() {
    qt::EnsureApplication();
    return *QGuiApplication::clipboard();
}

} // namespace

uint32_t RegisterClipboardFormat(const rtl::UnicodeString &name) {
    if (name.empty()) {
        return 0; // as the system answers an empty name
    }
    TFormatTable &t = Formats();
    const QString q = qt::ToQString(name);
    std::lock_guard<std::mutex> guard(t.Lock);
    auto [at, added] = t.Numbers.try_emplace(q.toLower(), 0);
    if (added) {
        at->second = FirstRegisteredFormat + uint32_t(t.Names.size());
        t.Names.push_back(q);
    }
    return at->second;
}

rtl::UnicodeString ClipboardFormatMimeType(uint32_t format) {
    return qt::FromQString(MimeTypeOf(format));
}

struct TClipboard::TPending {
    std::unique_ptr<QMimeData> Data = std::make_unique<QMimeData>();
    bool Changed = false;
};

TClipboard::TClipboard() = default;
TClipboard::~TClipboard() = default;

void TClipboard::Open() {
    if (FOpenCount++ == 0) {
        FPending = std::make_unique<TPending>();
    }
}

void TClipboard::Close() {
    if (FOpenCount == 0 || --FOpenCount > 0) {
        return;
    }
    std::unique_ptr<TPending> pending = std::move(FPending);
    if (!pending->Changed) {
        return;
    }
    if (pending->Data->formats().isEmpty()) {
        System().clear();
    } else {
        System().setMimeData(pending->Data.release()); // the clipboard takes it
    }
}

void TClipboard::Clear() {
    Open();
    FPending->Data = std::make_unique<QMimeData>();
    FPending->Changed = true;
    Close();
}

struct TClipboardAccess {
    // What the clipboard holds now: what an open clipboard collected, else the system's.
    static const QMimeData *Current(const TClipboard &c) {
        return c.FPending && c.FPending->Changed ? c.FPending->Data.get() : System().mimeData();
    }
    // Runs put on the data the clipboard publishes: everything else goes, as when a program
    // empties the clipboard before it puts its formats.
    template <typename Put> static void Replace(TClipboard &c, Put &&put) {
        c.Open();
        struct TCloser {
            TClipboard &C;
            ~TCloser() { C.Close(); }
        } closer{c};
        if (!c.FPending->Changed) {
            c.FPending->Data = std::make_unique<QMimeData>();
            c.FPending->Changed = true;
        }
        put(*c.FPending->Data);
    }
};

bool TClipboard::HasFormat(uint32_t format) const {
    const QMimeData *data = TClipboardAccess::Current(*this);
    if (!data) {
        return false;
    }
    if (format == CF_BITMAP || format == CF_DIB) {
        return data->hasImage();
    }
    if (format == CF_TEXT || format == CF_UNICODETEXT) {
        return data->hasText();
    }
    const QString mime = MimeTypeOf(format);
    return !mime.isEmpty() &&
           (data->hasFormat(mime) || (mime == u"text/rtf"_qs && data->hasFormat(RtfOtherName)));
}

rtl::UnicodeString TClipboard::GetAsText() const {
    const QMimeData *data = TClipboardAccess::Current(*this);
    return data && data->hasText() ? qt::FromQString(FromDesktopLines(data->text()))
                                   : rtl::UnicodeString();
}

void TClipboard::SetAsText(const rtl::UnicodeString &text) {
    TClipboardAccess::Replace(
        *this, [&](QMimeData &d) { SetDesktopText(d, ToDesktopLines(qt::ToQString(text))); });
}

void TClipboard::Assign(const TGraphic &graphic) {
    const QImage image = qt::ImageOfGraphic(graphic);
    TClipboardAccess::Replace(*this, [&](QMimeData &d) {
        if (!image.isNull()) {
            d.setImageData(image);
        }
    });
}

void TClipboard::Assign(const TPicture &picture) {
    if (const TGraphic *g = picture.GetGraphic()) {
        Assign(*g);
    } else {
        Clear();
    }
}

void TClipboard::AssignTo(TBitmap &bitmap) const {
    const QMimeData *data = TClipboardAccess::Current(*this);
    const QImage image =
        data && data->hasImage() ? qvariant_cast<QImage>(data->imageData()) : QImage();
    if (image.isNull()) {
        throw rtl::EConvertError(u"Cannot assign a TClipboard to a TBitmap");
    }
    bitmap.SetPixelFormat(pf32bit);
    qt::SetImage(bitmap, image);
}

void TClipboard::AssignTo(TPicture &picture) const {
    TBitmap bitmap;
    AssignTo(bitmap);
    picture.SetGraphic(&bitmap);
}

std::vector<uint8_t> TClipboard::GetBuffer(uint32_t format) const {
    const QMimeData *data = TClipboardAccess::Current(*this);
    const QString mime = MimeTypeOf(format);
    if (!data || mime.isEmpty()) {
        return {};
    }
    if (format == CF_TEXT || format == CF_UNICODETEXT) {
        return data->hasText() ? BlockOfText(format, data->text()) : std::vector<uint8_t>();
    }
    QByteArray bytes = data->data(mime);
    if (bytes.isEmpty() && mime == u"text/rtf"_qs) {
        bytes = data->data(RtfOtherName);
    }
    if (mime == u"text/html"_qs && !bytes.isEmpty()) {
        const std::string withHeader =
            AddHtmlClipboardHeader(std::string_view(bytes.constData(), size_t(bytes.size())));
        return std::vector<uint8_t>(withHeader.begin(), withHeader.end());
    }
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void TClipboard::SetBuffer(uint32_t format, const void *data, size_t size) {
    const QString mime = MimeTypeOf(format);
    if (mime.isEmpty()) {
        throw rtl::EConvertError(u"Invalid clipboard format");
    }
    const auto *bytes = static_cast<const char *>(data);
    if (format == CF_TEXT || format == CF_UNICODETEXT) {
        const QString text = ToDesktopLines(TextOfBlock(format, bytes, size));
        TClipboardAccess::Replace(*this, [&](QMimeData &d) { SetDesktopText(d, text); });
        return;
    }
    QByteArray block(bytes, qsizetype(size));
    if (mime == u"text/html"_qs) {
        const std::string html = RemoveHtmlClipboardHeader(std::string_view(bytes, size));
        block = QByteArray(html.data(), qsizetype(html.size()));
    }
    TClipboardAccess::Replace(*this, [&](QMimeData &d) {
        d.setData(mime, block);
        if (mime == u"text/rtf"_qs) {
            d.setData(RtfOtherName, block);
        }
    });
}

TClipboard &Clipboard() {
    static TClipboard clipboard;
    return clipboard;
}

} // namespace gfx
