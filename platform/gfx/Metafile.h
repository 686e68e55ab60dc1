// Metafiles: a picture that records what a canvas draws (TMetafileCanvas), plays it back on
// any canvas scaled into a rectangle, and saves it as a Windows enhanced metafile (EMF) or,
// for a ".wmf" name or a non-enhanced metafile, as a placeable Windows metafile (WMF).
//
// Contract:
// - Records keep logical coordinates with the state they draw with (objects, attributes,
//   mapping, clip in the recording device's pixels); text keeps its characters with their
//   advances, pictures a copy of their pixels. So playback places everything as recorded,
//   and on the recording's own kind of device at scale 1 draws the very same pixels.
// - Width and Height are the picture's size in pixels of the reference device (the screen at
//   96 pixels per inch unless a canvas is given); MMWidth and MMHeight its frame in 0.01 mm.
// - A metafile canvas records until it is destroyed; the metafile then holds the picture.
//   Drawing into a metafile while another canvas on it is open is not allowed.
// - Saving writes our own EMF (header with the frame and the reference device, objects,
//   EMR_EXTTEXTOUTW with advances, clipping, EMR_STRETCHDIBITS) and WMF records; a failed
//   write raises rtl::EFCreateError / EWriteError and leaves no partial file behind.
#pragma once

#include "platform/gfx/Graphic.h"
#include "platform/gfx/Graphics.h"
#include "platform/rtl/System.h"

#include <memory>
#include <vector>

namespace rtl {
class TStream;
}

namespace gfx {

struct TMetafileRecords;

class TMetafile : public TGraphic {
public:
    TMetafile();
    TMetafile(const TMetafile &other);
    TMetafile &operator=(const TMetafile &other);
    ~TMetafile() override;

    int32_t GetWidth() const override { return FWidth; }
    int32_t GetHeight() const override { return FHeight; }
    void SetWidth(int32_t width); // pixels of the reference device
    void SetHeight(int32_t height);
    int32_t GetMMWidth() const; // 0.01 mm
    int32_t GetMMHeight() const;
    void SetMMWidth(int32_t hundredthsOfMm);
    void SetMMHeight(int32_t hundredthsOfMm);
    // The reference device's resolution (pixels per inch).
    int32_t GetPixelsPerInch() const { return FPixelsPerInch; }
    bool GetEnhanced() const { return FEnhanced; }
    void SetEnhanced(bool enhanced) { FEnhanced = enhanced; }
    bool Empty() const override;
    // The number of drawing operations recorded.
    size_t GetOperationCount() const;
    void Clear();

    // Plays the recording into dest of canvas: the picture's frame is scaled onto dest; the
    // canvas's state, mapping and clip are as before afterwards (the playing is clipped to
    // the canvas's clip).
    void Play(TCanvas &canvas, const TRect &dest) const;
    void DrawOn(TCanvas &canvas, const TRect &dest) const override { Play(canvas, dest); }

    // EMF when enhanced, else placeable WMF.
    void SaveToStream(rtl::TStream &stream) const;
    // A ".wmf" name writes the placeable WMF whatever Enhanced says, as the class library does.
    void SaveToFile(const rtl::UnicodeString &fileName) const;
    std::vector<uint8_t> EmfBytes() const;
    std::vector<uint8_t> WmfBytes() const;

private:
    friend class TMetafileCanvas;

    int32_t FWidth = 0, FHeight = 0;
    int32_t FMMWidth = -1, FMMHeight = -1; // -1: from the pixels and the resolution
    int32_t FPixelsPerInch = ScreenPixelsPerInch;
    bool FEnhanced = true;
    std::shared_ptr<const TMetafileRecords> FRecords;
};

// A canvas that records into a metafile. Its device is an information device with the
// reference device's resolution and the metafile's size (or the reference's own size when
// the metafile has none yet).
class TMetafileCanvas : public TCanvas {
public:
    explicit TMetafileCanvas(TMetafile &metafile);
    // The reference device is that of referenceCanvas (a printer, the screen ...).
    TMetafileCanvas(TMetafile &metafile, const TCanvas &referenceCanvas);
    ~TMetafileCanvas() override;

private:
    struct Recorder;
    TMetafileCanvas(TMetafile &metafile, const TDeviceCaps &reference);
    TMetafile &FMetafile;
    std::unique_ptr<Recorder> FRecorder;
};

} // namespace gfx
