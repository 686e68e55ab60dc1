// PNG images and the picture holder that image controls show (TPngImage, TPicture).
#pragma once

#include "platform/gfx/Graphic.h"
#include "platform/rtl/System.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace rtl {
class TStream;
}

namespace gfx {

class TBitmap;

// A decoded PNG image (kept with its alpha channel, drawn blended over the canvas).
// Loading failures throw rtl::Exception with the file name or "Invalid PNG image".
class TPngImage : public TGraphic {
public:
    TPngImage();
    TPngImage(const TPngImage &other);
    TPngImage &operator=(const TPngImage &other);
    ~TPngImage() override;

    int32_t GetWidth() const override;
    int32_t GetHeight() const override;
    void DrawOn(TCanvas &canvas, const TRect &dest) const override;

    void LoadFromFile(const rtl::UnicodeString &fileName);
    void LoadFromMemory(const uint8_t *data, size_t size);
    // Reads the stream from its position to its end.
    void LoadFromStream(rtl::TStream &stream);
    void SaveToFile(const rtl::UnicodeString &fileName) const;
    void SaveToStream(rtl::TStream &stream) const;
    // The pixels as an opaque-alpha-kept 32-bit bitmap.
    void AssignTo(TBitmap &bitmap) const;

private:
    struct Impl;
    friend struct TPngAccess; // the Qt side of the platform layer (Picture.cpp)
    std::unique_ptr<Impl> FImpl;
};

// Holds one picture of any supported kind (PNG, BMP, and metafiles given with SetGraphic);
// loading chooses by the data's signature.
class TPicture {
public:
    TPicture();
    ~TPicture();
    TPicture(const TPicture &) = delete;
    TPicture &operator=(const TPicture &) = delete;

    TGraphic *GetGraphic() const { return FGraphic.get(); }
    // Takes a copy of the graphic (nullptr empties the picture).
    void SetGraphic(const TGraphic *graphic);
    int32_t GetWidth() const { return FGraphic ? FGraphic->GetWidth() : 0; }
    int32_t GetHeight() const { return FGraphic ? FGraphic->GetHeight() : 0; }
    bool Empty() const { return !FGraphic || FGraphic->Empty(); }

    void LoadFromFile(const rtl::UnicodeString &fileName);
    void LoadFromMemory(const uint8_t *data, size_t size);
    void LoadFromStream(rtl::TStream &stream); // from the position to the end
    void Assign(const TPicture &other);
    void Clear();

    std::function<void()> OnChange;

private:
    void Changed();
    std::unique_ptr<TGraphic> FGraphic;
};

} // namespace gfx
