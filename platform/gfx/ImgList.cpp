// Image lists: pixels kept as $AARRGGBB words per image, drawn through the canvas's public
// calls only (pixel runs with DrawPixels32, reading back with GetPixel where alpha blends).
#include "platform/gfx/ImgList.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streaming.h"

#include <algorithm>

namespace gfx {

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

uint32_t Alpha(uint32_t p) {
    return p >> 24;
}

// $00BBGGRR (a TColor's RGB) to $00RRGGBB (a pixel's).
uint32_t ColorToPixel(uint32_t bgr) {
    return (uint32_t(GetRValue(bgr)) << 16) | (uint32_t(GetGValue(bgr)) << 8) | GetBValue(bgr);
}

uint32_t Blend(uint32_t src, uint32_t dst) {
    const uint32_t a = Alpha(src);
    uint32_t out = kOpaque;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t s = (src >> shift) & 0xFF;
        const uint32_t d = (dst >> shift) & 0xFF;
        out |= ((s * a + d * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

// A 32-bit image's disabled look: each pixel's luminance (ITU-R BT.601 weights in 8-bit fixed
// point), alpha kept.
uint32_t Grey(uint32_t p) {
    const uint32_t r = (p >> 16) & 0xFF;
    const uint32_t g = (p >> 8) & 0xFF;
    const uint32_t b = p & 0xFF;
    const uint32_t y = (77 * r + 150 * g + 29 * b + 128) >> 8;
    return (p & kOpaque) | (y << 16) | (y << 8) | y;
}

// Half the pixel, half the blend colour ($00RRGGBB), alpha kept.
uint32_t Tint(uint32_t p, uint32_t blend) {
    uint32_t out = p & kOpaque;
    for (int shift = 0; shift < 24; shift += 8) {
        out |= ((((p >> shift) & 0xFF) + ((blend >> shift) & 0xFF) + 1) / 2) << shift;
    }
    return out;
}

[[noreturn]] void InvalidSize() {
    throw rtl::EInvalidOperation(std::string_view("Invalid image size"));
}

} // namespace

// --- change links ----------------------------------------------------------------------------

TChangeLink::~TChangeLink() {
    if (FSender) {
        FSender->UnRegisterChanges(this);
    }
}

void TChangeLink::Change() {
    if (OnChange) {
        OnChange(FSender);
    }
}

// --- the list --------------------------------------------------------------------------------

TCustomImageList::TCustomImageList(rtl::TComponent *owner) : TComponent(owner) {}

TCustomImageList::TCustomImageList(rtl::TComponent *owner, int32_t width, int32_t height)
    : TComponent(owner) {
    if (width < 1 || height < 1) {
        InvalidSize();
    }
    FWidth = width;
    FHeight = height;
}

TCustomImageList::~TCustomImageList() {
    for (TChangeLink *link : FLinks) {
        link->FSender = nullptr;
    }
}

void TCustomImageList::SetSize(int32_t width, int32_t height) {
    if (width < 1 || height < 1) {
        InvalidSize();
    }
    if (width == FWidth && height == FHeight) {
        return;
    }
    FWidth = width;
    FHeight = height;
    FImages.clear();
    Change();
}

void TCustomImageList::SetWidth(int32_t width) {
    SetSize(width, FHeight);
}

void TCustomImageList::SetHeight(int32_t height) {
    SetSize(FWidth, height);
}

void TCustomImageList::SetColorDepth(TColorDepth depth) {
    if (depth != FColorDepth) {
        FColorDepth = depth;
        FImages.clear();
        Change();
    }
}

TCustomImageList::TImage TCustomImageList::Capture(const TBitmap &image, int32_t left,
                                                   const TBitmap *mask, TColor maskColor) const {
    const int32_t right = std::min(left + FWidth, image.GetWidth());
    const int32_t bottom = std::min(FHeight, image.GetHeight());
    bool alpha = false;
    if (FColorDepth == cd32Bit && image.GetPixelFormat() == pf32bit) {
        for (int32_t y = 0; y < bottom && !alpha; ++y) {
            const uint32_t *row = image.ScanLine(y);
            alpha = std::any_of(row + left, row + right, [](uint32_t p) { return Alpha(p); });
        }
    }
    const bool keyed = maskColor != clNone;
    uint32_t key = 0;
    if (maskColor == clDefault) {
        key = image.ScanLine(image.GetHeight() - 1)[0] & 0xFFFFFF;
    } else if (keyed) {
        key = ColorToPixel(ColorToRGB(maskColor));
    }
    TImage out(size_t(FWidth) * size_t(FHeight), 0);
    for (int32_t y = 0; y < bottom; ++y) {
        const uint32_t *row = image.ScanLine(y);
        const uint32_t *maskRow = mask ? mask->ScanLine(y) : nullptr;
        for (int32_t x = left; x < right; ++x) {
            const uint32_t rgb = row[x] & 0xFFFFFF;
            uint32_t a = alpha ? Alpha(row[x]) : 255;
            if (maskRow && x < mask->GetWidth() && (maskRow[x] & 0xFFFFFF) == 0xFFFFFF) {
                a = 0;
            }
            if (keyed && rgb == key) {
                a = 0;
            }
            out[size_t(y) * size_t(FWidth) + size_t(x - left)] = (a << 24) | rgb;
        }
    }
    return out;
}

int32_t TCustomImageList::AddImages(const TBitmap &image, const TBitmap *mask, TColor maskColor) {
    if (image.Empty()) {
        throw rtl::EInvalidOperation(std::string_view("Unable to insert an image"));
    }
    const int32_t first = GetCount();
    const int32_t count = std::max(1, image.GetWidth() / FWidth);
    for (int32_t i = 0; i < count; ++i) {
        FImages.push_back(Capture(image, i * FWidth, mask, maskColor));
    }
    Change();
    return first;
}

int32_t TCustomImageList::Add(const TBitmap &image, const TBitmap *mask) {
    return AddImages(image, mask, clNone);
}

int32_t TCustomImageList::AddMasked(const TBitmap &image, TColor maskColor) {
    return AddImages(image, nullptr, maskColor);
}

void TCustomImageList::ReplaceImage(int32_t index, const TBitmap &image, const TBitmap *mask,
                                    TColor maskColor) {
    if (index < 0 || index >= GetCount() || image.Empty()) {
        throw rtl::EInvalidOperation(std::string_view("Unable to Replace Image"));
    }
    FImages[size_t(index)] = Capture(image, 0, mask, maskColor);
    Change();
}

void TCustomImageList::Replace(int32_t index, const TBitmap &image, const TBitmap *mask) {
    ReplaceImage(index, image, mask, clNone);
}

void TCustomImageList::ReplaceMasked(int32_t index, const TBitmap &image, TColor maskColor) {
    ReplaceImage(index, image, nullptr, maskColor);
}

void TCustomImageList::Delete(int32_t index) {
    if (index < 0 || index >= GetCount()) {
        throw rtl::EInvalidOperation(std::string_view("Invalid ImageList Index"));
    }
    FImages.erase(FImages.begin() + index);
    Change();
}

void TCustomImageList::Clear() {
    FImages.clear();
    Change();
}

// --- drawing ---------------------------------------------------------------------------------

void TCustomImageList::Draw(TCanvas &canvas, int32_t x, int32_t y, int32_t index,
                            TDrawEnabled enabled, TColor blendColor) const {
    if (index < 0 || index >= GetCount()) {
        return;
    }
    const TImage &image = FImages[size_t(index)];
    if (enabled == deEnabled && blendColor != clNone) {
        const uint32_t blend =
            ColorToPixel(ColorToRGB(blendColor == clDefault ? clHighlight : blendColor));
        TImage tinted(image.size());
        std::transform(image.begin(), image.end(), tinted.begin(),
                       [blend](uint32_t p) { return Tint(p, blend); });
        DrawPixels(canvas, x, y, tinted);
    } else if (enabled == deEnabled) {
        DrawPixels(canvas, x, y, image);
    } else if (FColorDepth == cd32Bit) {
        TImage grey(image.size());
        std::transform(image.begin(), image.end(), grey.begin(), Grey);
        DrawPixels(canvas, x, y, grey);
    } else {
        // The class library's look: the image as black ink on white, the ink drawn twice.
        std::vector<bool> ink(image.size());
        std::transform(image.begin(), image.end(), ink.begin(),
                       [](uint32_t p) { return Alpha(p) != 0 && (p & 0xFFFFFF) != 0xFFFFFF; });
        DrawInk(canvas, x + 1, y + 1, ink, clBtnHighlight);
        DrawInk(canvas, x, y, ink, clBtnShadow);
    }
}

// Row by row, each run of pixels to draw in one call; partly transparent pixels are blended
// with the canvas's pixel first.
void TCustomImageList::DrawPixels(TCanvas &canvas, int32_t x, int32_t y,
                                  const TImage &pixels) const {
    const int32_t stride = FWidth * 4;
    if (std::all_of(pixels.begin(), pixels.end(), [](uint32_t p) { return Alpha(p) == 255; })) {
        canvas.DrawPixels32(Bounds(x, y, FWidth, FHeight), pixels.data(), FWidth, FHeight, stride,
                            Rect(0, 0, FWidth, FHeight));
        return;
    }
    std::vector<uint32_t> row(size_t(FWidth), 0);
    std::vector<bool> drawn(static_cast<size_t>(FWidth));
    for (int32_t r = 0; r < FHeight; ++r) {
        const uint32_t *src = pixels.data() + size_t(r) * size_t(FWidth);
        for (int32_t i = 0; i < FWidth; ++i) {
            const uint32_t a = Alpha(src[i]);
            drawn[size_t(i)] = a != 0;
            row[size_t(i)] = src[i] | kOpaque;
            if (a != 0 && a != 255) {
                const TColor under = canvas.GetPixel(x + i, y + r);
                drawn[size_t(i)] = under != -1 || a >= 128;
                if (under != -1) {
                    row[size_t(i)] = Blend(src[i], ColorToPixel(uint32_t(under)));
                }
            }
        }
        for (int32_t i = 0; i < FWidth;) {
            if (!drawn[size_t(i)]) {
                ++i;
                continue;
            }
            int32_t end = i + 1;
            while (end < FWidth && drawn[size_t(end)]) {
                ++end;
            }
            canvas.DrawPixels32(Rect(x + i, y + r, x + end, y + r + 1), row.data(), FWidth, 1,
                                stride, Rect(i, 0, end, 1));
            i = end;
        }
    }
}

void TCustomImageList::DrawInk(TCanvas &canvas, int32_t x, int32_t y, const std::vector<bool> &ink,
                               TColor color) const {
    TImage solid(ink.size(), 0);
    const uint32_t pixel = kOpaque | ColorToPixel(ColorToRGB(color));
    for (size_t i = 0; i < ink.size(); ++i) {
        solid[i] = ink[i] ? pixel : 0;
    }
    DrawPixels(canvas, x, y, solid);
}

// --- changes ---------------------------------------------------------------------------------

void TCustomImageList::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FChanged) {
        Change();
    }
}

void TCustomImageList::RegisterChanges(TChangeLink *link) {
    if (!link || link->FSender == this) {
        return;
    }
    if (link->FSender) {
        link->FSender->UnRegisterChanges(link);
    }
    link->FSender = this;
    FLinks.push_back(link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink *link) {
    if (link && link->FSender == this) {
        std::erase(FLinks, link);
        link->FSender = nullptr;
    }
}

void TCustomImageList::Change() {
    if (FUpdateCount > 0) {
        FChanged = true;
        return;
    }
    FChanged = false;
    // A client may leave the list while being told.
    const std::vector<TChangeLink *> links = FLinks;
    for (TChangeLink *link : links) {
        if (std::find(FLinks.begin(), FLinks.end(), link) != FLinks.end()) {
            link->Change();
        }
    }
    if (OnChange) {
        OnChange(this);
    }
}

// --- streaming -------------------------------------------------------------------------------

namespace {

constexpr char kStreamMagic[4] = {'W', 'B', 'I', 'L'};

[[noreturn]] void ReadFailed() {
    throw rtl::EReadError(std::string_view("Failed to read ImageList data from stream"));
}

void WriteWord(rtl::TStream &stream, uint32_t value) {
    const uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16),
                              uint8_t(value >> 24)};
    stream.WriteBuffer(bytes, 4);
}

uint32_t ReadWord(rtl::TStream &stream) {
    uint8_t bytes[4];
    if (stream.Read(bytes, 4) != 4) {
        ReadFailed();
    }
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
           uint32_t(bytes[3]) << 24;
}

} // namespace

void TCustomImageList::DefineProperties(rtl::TFiler &filer) {
    TComponent::DefineProperties(filer);
    rtl::TStreamProc write;
    if (!FImages.empty()) {
        write = [this](rtl::TStream &stream) { WriteImages(stream); };
    }
    filer.DefineBinaryProperty(
        "Bitmap", [this](rtl::TStream &stream) { ReadImages(stream); }, write);
}

void TCustomImageList::WriteImages(rtl::TStream &stream) const {
    stream.WriteBuffer(kStreamMagic, 4);
    WriteWord(stream, uint32_t(FWidth));
    WriteWord(stream, uint32_t(FHeight));
    WriteWord(stream, uint32_t(FImages.size()));
    for (const TImage &image : FImages) {
        for (uint32_t p : image) {
            WriteWord(stream, p);
        }
    }
}

void TCustomImageList::ReadImages(rtl::TStream &stream) {
    char magic[4];
    if (stream.Read(magic, 4) != 4 || !std::equal(magic, magic + 4, kStreamMagic)) {
        ReadFailed();
    }
    const uint32_t width = ReadWord(stream);
    const uint32_t height = ReadWord(stream);
    const uint32_t count = ReadWord(stream);
    const int64_t left = stream.GetSize() - stream.GetPosition();
    // Checked in 64 bits before any allocation: the sizes come from the stream.
    if (width < 1 || height < 1 || width > 0x7FFF || height > 0x7FFF ||
        uint64_t(width) * height * count * 4 != uint64_t(left)) {
        ReadFailed();
    }
    std::vector<TImage> images(count, TImage(size_t(width) * height));
    for (TImage &image : images) {
        for (uint32_t &p : image) {
            p = ReadWord(stream);
            // Below 32 bits a pixel is drawn or left out.
            if (FColorDepth != cd32Bit && Alpha(p) != 0) {
                p |= kOpaque;
            }
        }
    }
    FWidth = int32_t(width);
    FHeight = int32_t(height);
    FImages = std::move(images);
    Change();
}

const rtl::TClassInfo &TImageList::StaticClassInfo() {
    static const rtl::TClassInfo info =
        rtl::TClassBuilder<TImageList>("TImageList", &TComponent::StaticClassInfo())
            .Enum("ColorDepth", &TImageList::GetColorDepth, &TImageList::SetColorDepth,
                  {"cdDeviceDependent", "cd4Bit", "cd8Bit", "cd16Bit", "cd24Bit", "cd32Bit"})
            .Default(cdDeviceDependent)
            .Int("Height", &TImageList::GetHeight, &TImageList::SetHeight)
            .Default(16)
            .Int("Width", &TImageList::GetWidth, &TImageList::SetWidth)
            .Default(16)
            .Build();
    return info;
}

} // namespace gfx
