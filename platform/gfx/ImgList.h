// Image lists: images of one size kept together, drawn onto any canvas enabled or in the
// disabled look, with change links through which the controls showing them follow changes.
#pragma once

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/Graphics.h"
#include "platform/rtl/Component.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace rtl {
class TStream;
} // namespace rtl

namespace gfx {

class TCustomImageList;

// A client's link to an image list: OnChange runs after every change of the list it is
// registered with. The link leaves its list when destroyed; a list going away first leaves
// GetSender() nullptr.
class TChangeLink {
public:
    TChangeLink() = default;
    TChangeLink(const TChangeLink &) = delete;
    TChangeLink &operator=(const TChangeLink &) = delete;
    ~TChangeLink();

    TCustomImageList *GetSender() const { return FSender; }
    void Change();

    std::function<void(TCustomImageList *sender)> OnChange;

private:
    friend class TCustomImageList;
    TCustomImageList *FSender = nullptr;
};

// Below 32 bits an image is masked: each pixel is drawn or left out (colours are kept in
// full, not reduced to the depth). At 32 bits each pixel also has its alpha.
enum TColorDepth : uint8_t { cdDeviceDependent, cd4Bit, cd8Bit, cd16Bit, cd24Bit, cd32Bit };
enum TDrawEnabled : uint8_t { deEnabled, deDisabled };

// Images of Width x Height pixels, counted from 0. A change of Width, Height or ColorDepth
// empties the list. Pixels are taken from bitmaps as they are when added; a bitmap's alpha
// counts only in a 32-bit list and only when the bitmap is pf32bit with some alpha other than 0
// (an all-zero alpha, as bitmaps made without one have, means opaque).
class TCustomImageList : public rtl::TComponent {
public:
    explicit TCustomImageList(rtl::TComponent *owner);
    // EInvalidOperation "Invalid image size" unless both are at least 1.
    TCustomImageList(rtl::TComponent *owner, int32_t width, int32_t height);
    ~TCustomImageList() override;

    int32_t GetWidth() const { return FWidth; }
    int32_t GetHeight() const { return FHeight; }
    void SetWidth(int32_t width);
    void SetHeight(int32_t height);
    TColorDepth GetColorDepth() const { return FColorDepth; }
    void SetColorDepth(TColorDepth depth);
    int32_t GetCount() const { return int32_t(FImages.size()); }

    // Adds the images that the bitmap holds side by side (its width divided by Width, at least
    // one; a smaller bitmap fills its part of the image, the rest left out). A mask marks with
    // white the pixels left out. Returns the index of the first; EInvalidOperation "Unable to
    // insert an image" for an empty bitmap.
    int32_t Add(const TBitmap &image, const TBitmap *mask);
    // The same, leaving out the pixels of maskColor (clNone: none; clDefault: the colour of
    // the bitmap's bottom-left pixel).
    int32_t AddMasked(const TBitmap &image, TColor maskColor);
    // Puts the bitmap's first image in place of image index; EInvalidOperation "Unable to
    // Replace Image" for an index outside the list.
    void Replace(int32_t index, const TBitmap &image, const TBitmap *mask);
    void ReplaceMasked(int32_t index, const TBitmap &image, TColor maskColor);
    // EInvalidOperation "Invalid ImageList Index" for an index outside the list.
    void Delete(int32_t index);
    void Clear();

    // Draws image index with its top-left corner at (x, y); an index outside the list draws
    // nothing. Pixels left out keep what is under them; partly transparent ones are blended
    // with it (where the canvas cannot be read, drawn from half opacity up). Disabled, a
    // masked image is embossed: its pixels that are not white are drawn in clBtnHighlight one
    // pixel down and right, then in clBtnShadow in place; a 32-bit image is drawn in grey.
    // A blend colour other than clNone tints the pixels drawn half way towards it, as a
    // selection shows its images (clDefault: clHighlight).
    void Draw(TCanvas &canvas, int32_t x, int32_t y, int32_t index,
              TDrawEnabled enabled = deEnabled, TColor blendColor = clNone) const;

    // Changes between BeginUpdate and the last EndUpdate are told once, at the end.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    void RegisterChanges(TChangeLink *link);
    void UnRegisterChanges(TChangeLink *link);

    std::function<void(rtl::TComponent *sender)> OnChange;

    // The images are stored as the binary property "Bitmap": "WBIL", then width, height and
    // count as 32-bit little-endian integers, then each image's pixels row by row as
    // $AARRGGBB words, little-endian. Reading checks every size against the bytes there and
    // raises EReadError "Failed to read ImageList data from stream" on any mismatch, leaving
    // the list as it was.
    void DefineProperties(rtl::TFiler &filer) override;

protected:
    // Tells the change links, then OnChange.
    virtual void Change();

private:
    using TImage = std::vector<uint32_t>; // Width x Height pixels, $AARRGGBB

    TImage Capture(const TBitmap &image, int32_t left, const TBitmap *mask, TColor maskColor) const;
    int32_t AddImages(const TBitmap &image, const TBitmap *mask, TColor maskColor);
    void ReplaceImage(int32_t index, const TBitmap &image, const TBitmap *mask, TColor maskColor);
    void DrawPixels(TCanvas &canvas, int32_t x, int32_t y, const TImage &pixels) const;
    void DrawInk(TCanvas &canvas, int32_t x, int32_t y, const std::vector<bool> &ink,
                 TColor color) const;
    void SetSize(int32_t width, int32_t height);
    void ReadImages(rtl::TStream &stream);
    void WriteImages(rtl::TStream &stream) const;

    int32_t FWidth = 16;
    int32_t FHeight = 16;
    TColorDepth FColorDepth = cdDeviceDependent;
    std::vector<TImage> FImages;
    std::vector<TChangeLink *> FLinks;
    int32_t FUpdateCount = 0;
    bool FChanged = false;
};

// The image list as forms place it, with its published properties.
class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;

    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
};

} // namespace gfx
