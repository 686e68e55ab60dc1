// Internal: the records of a metafile, shared by recording, playback and the EMF and WMF
// writers. A recording is a list of state changes and drawing operations; each drawing
// operation follows the state changes it needs.
#pragma once

#include "platform/gfx/Canvas_p.h"
#include "platform/gfx/Metafile.h"

#include <variant>

namespace gfx {

// Mapping as recorded: fixed map modes are kept as their extents (MM_ANISOTROPIC), so that
// playback does not take the target device's resolution for them.
struct TMetaMapping {
    bool Text = true; // MM_TEXT, else anisotropic with these extents
    TPoint WindowOrg, ViewportOrg;
    TSize WindowExt{1, 1}, ViewportExt{1, 1};
    int32_t GraphicsMode = GM_COMPATIBLE;
    TXForm World;
    friend bool operator==(const TMetaMapping &, const TMetaMapping &) = default;
};

// Attributes and objects as recorded.
struct TMetaAttributes {
    TPen Pen;
    TBrush Brush;                     // without its pattern bitmap
    std::shared_ptr<TBitmap> Pattern; // a copy of the pattern bitmap, when there is one
    TLogFont Font;
    TColor TextColor = clBlack;
    TColor BkColor = clWhite;
    int32_t BkMode = OPAQUE;
    uint32_t TextAlign = 0;
    int32_t CharExtra = 0;
    int32_t PolyFillMode = ALTERNATE;
    TPoint BrushOrg;
};

struct TSetMapping {
    TMetaMapping Mapping;
};
struct TSetAttributes {
    TMetaAttributes Attributes;
};
// The clip region in pixels of the recording's device, or none.
// The pen position, recorded only for the operations that start from it (text with
// TA_UPDATECP); lines keep their own start.
struct TSetPenPos {
    TPoint PenPos;
};
struct TSetClip {
    bool HasClip = false;
    TRegion Clip;
};
struct TDrawOp {
    TCanvasOp Op;
    std::vector<uint32_t> Pixels; // the picture of image operations, rows of Op.Pixels.Width
};

using TMetaRecord = std::variant<TSetMapping, TSetAttributes, TSetPenPos, TSetClip, TDrawOp>;

struct TMetafileRecords {
    std::vector<TMetaRecord> Records;
    size_t Operations = 0;
    TDeviceCaps Reference; // the reference device (resolution, size)
};

// The pixels of an image operation as the canvas takes them.
inline TPixels32 PixelsOf(const TDrawOp &d) {
    return {d.Pixels.data(), d.Op.Pixels.Width, d.Op.Pixels.Height, d.Op.Pixels.Width * 4};
}

// Plays the records on a canvas as they come (the canvas set up by TMetafile::Play).
void PlayRecords(TCanvas &canvas, const TMetafileRecords &records);

// The records with every plain scaling mapping applied to the drawing itself, in the
// recording device's pixels (Metafile_Device.cpp).
TMetafileRecords InDevicePixels(const TMetafileRecords &records);

// Writers (Metafile_Emf.cpp, Metafile_Wmf.cpp): the whole file's bytes.
std::vector<uint8_t> WriteEmf(const TMetafileRecords &records, int32_t width, int32_t height,
                              int32_t mmWidth, int32_t mmHeight);
std::vector<uint8_t> WriteWmf(const TMetafileRecords &records, int32_t width, int32_t height,
                              int32_t pixelsPerInch);

} // namespace gfx
