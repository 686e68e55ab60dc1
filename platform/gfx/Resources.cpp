// Executable resources through Qt's resource system, and the bitmap and cursor loaders on
// them.
#include "platform/gfx/Resources.h"

#include "platform/gfx/Icon.h"
#include "platform/gfx/ImageCodecs.h"
#include "platform/gfx/QtBridge_p.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StrUtils.h"

#include <QFile>

#include <deque>
#include <map>
#include <mutex>
#include <vector>

namespace gfx {

namespace {

struct TResourceTable {
    std::mutex Lock;
    std::map<rtl::UnicodeString, HRSRC> ByPath;
    std::deque<std::vector<uint8_t>> Data; // HRSRC n is Data[n - 1]
};

TResourceTable &Table() {
    static TResourceTable table;
    return table;
}

uint32_t Get16(std::span<const uint8_t> d, size_t at) {
    return uint32_t(d[at]) | uint32_t(d[at + 1]) << 8;
}

uint32_t Get32(std::span<const uint8_t> d, size_t at) {
    return Get16(d, at) | Get16(d, at + 2) << 16;
}

} // namespace

rtl::UnicodeString TResName::Key() const {
    if (FId) {
        return u"#" + rtl::IntToStr(rtl::Integer(*FId));
    }
    // "#n" names the number n, however its digits are written.
    rtl::Integer id = 0;
    if (FName.size() > 1 && FName[0] == u'#' && FName[1] != u'-' && FName[1] != u'+' &&
        rtl::TryStrToInt(FName.substr(1), id) && id >= 0 && id <= 0xFFFF) {
        return u"#" + rtl::IntToStr(id);
    }
    return rtl::UpperCase(FName);
}

rtl::UnicodeString TResName::Display() const {
    return FId ? rtl::IntToStr(rtl::Integer(*FId)) : FName;
}

HRSRC FindResource(HINSTANCE instance, const TResName &name, const TResName &type) {
    if (instance != HInstance) {
        return 0;
    }
    const rtl::UnicodeString path = u":/wbres/" + type.Key() + u"/" + name.Key();
    TResourceTable &table = Table();
    const std::lock_guard<std::mutex> guard(table.Lock);
    if (const auto found = table.ByPath.find(path); found != table.ByPath.end()) {
        return found->second;
    }
    QFile file(qt::ToQString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QByteArray bytes = file.readAll();
    table.Data.emplace_back(bytes.begin(), bytes.end());
    const HRSRC handle = table.Data.size();
    table.ByPath.emplace(path, handle);
    return handle;
}

std::span<const uint8_t> LoadResource(HINSTANCE instance, HRSRC resource) {
    TResourceTable &table = Table();
    const std::lock_guard<std::mutex> guard(table.Lock);
    if (instance != HInstance || resource == 0 || resource > table.Data.size()) {
        return {};
    }
    return table.Data[resource - 1];
}

uint32_t SizeofResource(HINSTANCE instance, HRSRC resource) {
    return uint32_t(LoadResource(instance, resource).size());
}

void LoadBitmapResource(TBitmap &bitmap, HINSTANCE instance, const TResName &name) {
    const HRSRC resource = FindResource(instance, name, RT_BITMAP);
    if (resource == 0) {
        throw EResNotFound(rtl::Format(u"Resource %s not found", {name.Display()}));
    }
    const std::span<const uint8_t> data = LoadResource(instance, resource);
    rtl::TMemoryStream stream;
    stream.Write(data.data(), int32_t(data.size()));
    stream.SetPosition(0);
    LoadBitmapFromStream(bitmap, stream);
}

namespace {

constexpr size_t kDirectorySize = 6;
constexpr size_t kEntrySize = 16;

// The entry with the most pixels of a CUR directory (a width or height byte of 0 is 256),
// checked against the data; -1 when the directory is damaged.
int32_t LargestCursorEntry(std::span<const uint8_t> d) {
    if (d.size() < kDirectorySize || Get16(d, 0) != 0 || Get16(d, 2) != 2) {
        return -1;
    }
    const uint32_t count = Get16(d, 4);
    if (count == 0 || d.size() < kDirectorySize + count * kEntrySize) {
        return -1;
    }
    int32_t best = -1;
    uint32_t bestPixels = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = kDirectorySize + i * kEntrySize;
        const uint32_t w = d[at] ? d[at] : 256, h = d[at + 1] ? d[at + 1] : 256;
        const uint64_t end = uint64_t(Get32(d, at + 12)) + Get32(d, at + 8);
        if (end > d.size()) {
            return -1;
        }
        if (w * h > bestPixels) {
            best = int32_t(i);
            bestPixels = w * h;
        }
    }
    return best;
}

// The icon's pixels with its transparency in the alpha bytes.
TBitmap CursorPixels(const TIcon &icon) {
    TBitmap image = icon.GetColorBitmap();
    if (icon.HasAlphaChannel()) {
        return image;
    }
    const TBitmap mask = icon.GetMaskBitmap();
    for (int32_t y = 0; y < image.GetHeight(); ++y) {
        uint32_t *row = image.ScanLine(y);
        const uint32_t *maskRow = mask.ScanLine(y);
        for (int32_t x = 0; x < image.GetWidth(); ++x) {
            const bool transparent = (maskRow[x] & 0xFFFFFF) != 0;
            row[x] = (row[x] & 0xFFFFFF) | (transparent ? 0u : 0xFF000000u);
        }
    }
    return image;
}

} // namespace

std::optional<TCursorImage> LoadCursorResource(HINSTANCE instance, const TResName &name) {
    const std::span<const uint8_t> data =
        LoadResource(instance, FindResource(instance, name, RT_GROUP_CURSOR));
    const int32_t entry = LargestCursorEntry(data);
    if (entry < 0) {
        return std::nullopt;
    }
    // A CUR file is an ICO file of type 2 whose planes and bit count hold the hot spot.
    std::vector<uint8_t> asIcon(data.begin(), data.end());
    asIcon[2] = 1;
    for (size_t i = 0, count = Get16(data, 4); i < count; ++i) {
        const size_t e = kDirectorySize + i * kEntrySize;
        asIcon[e + 4] = 1, asIcon[e + 5] = 0, asIcon[e + 6] = 0, asIcon[e + 7] = 0;
    }
    TIcon icon;
    try {
        icon.LoadFromMemory(asIcon);
    } catch (const rtl::Exception &) {
        return std::nullopt;
    }
    const size_t at = kDirectorySize + size_t(entry) * kEntrySize;
    TCursorImage cursor{CursorPixels(icon), int32_t(Get16(data, at + 4)),
                        int32_t(Get16(data, at + 6))};
    return cursor;
}

} // namespace gfx
