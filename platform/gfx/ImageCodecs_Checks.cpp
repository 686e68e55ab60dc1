// What the picture decoders check before they allocate, and picture files read and saved.
#include "platform/gfx/ImageCodecs.h"

#include "platform/gfx/ImageCodecs_p.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/SafeSave.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

#include <climits>
#include <cstring>

namespace gfx {

namespace {

constexpr int64_t kDefaultMaxPixels = int64_t{1} << 26;
constexpr int64_t kPixelsFreeOfRatio = int64_t{1} << 20;
constexpr int64_t kMaxPixelsPerByte = 16384;
// No picture a document or the workbench shows comes near this.
constexpr int64_t kMaxPictureFileBytes = int64_t{256} << 20;

int64_t gMaxPixels = kDefaultMaxPixels;

uint32_t BigEndian32(const uint8_t *p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

bool IsDroppedChunk(const uint8_t *type) {
    static const char *const dropped[] = {"tEXt", "zTXt", "iTXt", "iCCP"};
    for (const char *name : dropped) {
        if (std::memcmp(type, name, 4) == 0) {
            return true;
        }
    }
    return false;
}

[[noreturn]] void PictureFileError(const rtl::UnicodeString &fileName,
                                   const rtl::UnicodeString &reason) {
    throw rtl::Exception(u"Не удалось открыть рисунок \"" + rtl::ExpandFileName(fileName) +
                         u"\". " + reason);
}

} // namespace

void SetMaxPicturePixelsForTesting(int64_t pixels) {
    gMaxPixels = pixels > 0 ? pixels : kDefaultMaxPixels;
}

namespace codecs {

rtl::UnicodeString TooLargeReason() {
    return u"Размеры рисунка больше, чем допускают его данные или память";
}

rtl::UnicodeString BrokenReason() {
    return u"Данные повреждены или это не рисунок BMP, GIF, JPEG или PNG";
}

bool PixelsFitData(int64_t width, int64_t height, size_t dataSize) {
    if (width <= 0 || height <= 0) {
        return true; // nothing to allocate; the decoder refuses what it cannot read
    }
    if (width > gMaxPixels || height > gMaxPixels) {
        return false;
    }
    const int64_t pixels = width * height;
    return pixels <= gMaxPixels &&
           (pixels <= kPixelsFreeOfRatio || pixels / kMaxPixelsPerByte <= int64_t(dataSize));
}

rtl::UnicodeString CheckPng(const std::vector<uint8_t> &data, std::vector<uint8_t> &clean) {
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    clean.clear();
    if (data.size() < 8 || std::memcmp(data.data(), signature, 8) != 0) {
        return {};
    }
    clean.assign(data.begin(), data.begin() + 8);
    size_t at = 8;
    while (data.size() - at >= 8) {
        const uint32_t length = BigEndian32(&data[at]);
        if (length > 0x7FFFFFFFu || data.size() - at < 12 || length > data.size() - at - 12) {
            return u"Рисунок PNG повреждён: блок данных длиннее файла";
        }
        const uint8_t *type = &data[at + 4];
        if (!IsDroppedChunk(type)) {
            clean.insert(clean.end(), data.begin() + std::ptrdiff_t(at),
                         data.begin() + std::ptrdiff_t(at + 12 + length));
        }
        at += 12 + length;
        if (std::memcmp(type, "IEND", 4) == 0) {
            return {};
        }
    }
    clean.insert(clean.end(), data.begin() + std::ptrdiff_t(at), data.end());
    return {};
}

std::vector<uint8_t> ReadRest(rtl::TStream &stream) {
    const int64_t rest = stream.GetSize() - stream.GetPosition();
    if (rest < 0) {
        throw rtl::EReadError(std::string_view("Stream read error"));
    }
    if (rest > kMaxPictureFileBytes) {
        throw rtl::Exception(rtl::UnicodeString(u"Файл слишком велик для рисунка"));
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(rest));
    if (rest > 0) {
        stream.ReadBuffer(bytes.data(), int32_t(rest));
    }
    return bytes;
}

std::vector<uint8_t> ReadPictureFile(const rtl::UnicodeString &fileName) {
    try {
        rtl::TFileStream file(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
        return ReadRest(file);
    } catch (const rtl::EFOpenError &) {
        throw;
    } catch (const rtl::Exception &e) {
        PictureFileError(fileName, e.Message());
    }
}

void LoadPictureFile(const rtl::UnicodeString &fileName,
                     const std::function<void(const std::vector<uint8_t> &)> &load) {
    const std::vector<uint8_t> bytes = ReadPictureFile(fileName);
    try {
        load(bytes);
    } catch (const rtl::Exception &e) {
        PictureFileError(fileName, e.Message());
    }
}

const char *FormatOfFileName(const rtl::UnicodeString &fileName) {
    const rtl::UnicodeString ext = rtl::ExtractFileExt(fileName);
    std::string lower;
    for (char16_t c : ext) {
        lower += c < 0x80 ? char(std::tolower(int(c))) : '?';
    }
    if (lower == ".bmp" || lower == ".dib") {
        return "BMP";
    }
    if (lower == ".jpg" || lower == ".jpeg" || lower == ".jpe") {
        return "JPEG";
    }
    return lower == ".gif" ? "GIF" : "PNG";
}

void SavePictureFile(const QImage &image, const rtl::UnicodeString &fileName, const char *format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (image.isNull() || !writer.write(image)) {
        throw rtl::EFCreateError(u"Не удалось сохранить файл \"" + rtl::ExpandFileName(fileName) +
                                 u"\". Рисунок не удалось записать в формате " +
                                 rtl::Utf8ToUtf16(format));
    }
    rtl::SaveBytesSafely(fileName, bytes.constData(), size_t(bytes.size()));
}

} // namespace codecs

} // namespace gfx
