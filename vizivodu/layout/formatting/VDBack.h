// The background of a document, a table or a cell: an optional picture laid out by a style over
// an area, under an optional colour with opacity. It draws itself on screen (with scroll
// offsets and a smoothly scaled cached copy of large pictures, the thumbnail) and prints itself
// at a device resolution.
#pragma once

#include "vizivodu/styles/VDStyle_Types.h"

#include "platform/gfx/Colors.h"
#include "platform/rtl/Types.h"

#include <cstdint>
#include <memory>

namespace gfx {
class TCanvas;
class TGraphic;
class TBitmap;
} // namespace gfx

namespace vizivodu {

class TCustomVDData;
class TVDGraphicInterface;

enum TBackgroundStyle : uint8_t {
    bsNoBitmap,
    bsStretched,
    bsTiled,
    bsTiledAndScrolled,
    bsCentered,
    bsTopLeft,
    bsTopRight,
    bsBottomLeft,
    bsBottomRight
};

// The background styles of table cells and tables.
enum TVDItemBackgroundStyle : uint8_t { vdbsColor, vdbsStretched, vdbsTiled, vdbsCentered };

enum TVDPaletteAction : uint8_t {
    vdpaDoNothing,
    vdpaAssignPalette,
    vdpaCreateCopies,
    vdpaCreateCopiesEx
};

class TVDBackground {
public:
    // With createBitmap an empty bitmap as the picture, else none; style bsNoBitmap.
    explicit TVDBackground(bool createBitmap);
    TVDBackground(const TVDBackground &) = delete;
    TVDBackground &operator=(const TVDBackground &) = delete;
    ~TVDBackground();

    TBackgroundStyle Style = bsNoBitmap;

    gfx::TGraphic *GetImage() const { return FImage.get(); }
    // The picture as a bitmap (nullptr when it is none or another kind of picture).
    gfx::TBitmap *GetBitmap() const;
    bool HasThumbnail() const { return FHasThumbnail; }
    TVDItemBackgroundStyle GetItemBackStyle() const;
    void SetItemBackStyle(TVDItemBackgroundStyle value);

    // bsNoBitmap and no (or an empty) picture.
    bool Empty() const;
    bool EmptyImage() const;
    // A style other than bsNoBitmap with a non-empty picture.
    bool Visible() const;
    // A non-empty picture that is transparent or leaves parts of the area uncovered.
    bool IsSemitransparent() const;
    // A non-empty picture that does not move with the content.
    bool ScrollRequiresFullRedraw() const;

    // With copy, a copy of image (in its own class, keeping its transparency) replaces the
    // picture; without, the background takes image over. A thumbnail leaves the owner's cache.
    void AssignImage(const gfx::TGraphic *image, TCustomVDData *vdData, bool copy,
                     void *backgroundOwner);
    void AssignImage(std::unique_ptr<gfx::TGraphic> image, TCustomVDData *vdData,
                     void *backgroundOwner);
    void FreeImage();
    void FreeThumbnail();
    // Drops the copy; palettes do not exist on this platform, so nothing else happens.
    void UpdatePaletted(TVDPaletteAction action);
    // Keeps the thumbnail right for drawing the picture at width x height.
    void UpdateThumbnail(TCustomVDData *vdData, void *backgroundOwner, int32_t width,
                         int32_t height);

    // Screen drawing of the part rect (canvas coordinates) of the area (left, top, width,
    // height) scrolled by (hOffs, vOffs).
    void Draw(gfx::TCanvas &canvas, const rtl::TRect &rect, int32_t hOffs, int32_t vOffs,
              int32_t left, int32_t top, int32_t width, int32_t height, gfx::TColor color,
              TVDOpacity opacity, bool clipping, bool printSimulation,
              TVDGraphicInterface &graphicInterface, TCustomVDData *vdData, void *backgroundOwner,
              bool allowThumbnails);
    // Printing of the part rect (printer pixels) of the area fullRect; picture sizes are the
    // picture's pixels scaled by sad.
    void Print(gfx::TCanvas &canvas, const rtl::TRect &rect, const rtl::TRect &fullRect,
               const TVDScreenAndDevice &sad, gfx::TColor color, TVDOpacity opacity, bool preview,
               TVDGraphicInterface &graphicInterface);

private:
    void DrawPicture(gfx::TCanvas &canvas, const gfx::TGraphic &graphic, const rtl::TRect &r,
                     bool stretch, bool printSimulation, TVDGraphicInterface &gi);

    std::unique_ptr<gfx::TGraphic> FImageCopy; // the thumbnail
    bool FHasThumbnail = false;
    std::unique_ptr<gfx::TGraphic> FImage;
};

} // namespace vizivodu
