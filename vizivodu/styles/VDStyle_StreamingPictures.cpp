// The pictures of styles in the component stream: list levels' marker pictures and the style
// sheet's invalid picture.
#include "vizivodu/styles/VDStyle_Streaming_p.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streaming.h"
#include "vizivodu/document/VDGrHandler.h"
#include "vizivodu/styles/VDStyle.h"

#include <memory>
#include <string>

namespace vizivodu {

namespace {

void WritePictureData(rtl::TStream &stream, const gfx::TGraphic &graphic,
                      const TVDGraphicClass &graphicClass) {
    const std::string_view name = graphicClass.GetName();
    const auto length = static_cast<uint8_t>(name.size());
    stream.WriteBuffer(&length, 1);
    stream.WriteBuffer(name.data(), length);
    graphicClass.SaveToStream(graphic, stream);
}

// An empty value changes nothing, as the class library's pictures read it.
void ReadPictureData(rtl::TStream &stream, const TVDStreamedPicture::TSetGraphic &set) {
    if (stream.GetPosition() >= stream.GetSize()) {
        return;
    }
    uint8_t length = 0;
    stream.ReadBuffer(&length, 1);
    if (length > stream.GetSize() - stream.GetPosition()) {
        throw rtl::EReadError(std::string_view("Invalid picture class name length"));
    }
    std::string name(length, '\0');
    stream.ReadBuffer(name.data(), length);
    const TVDGraphicClass *graphicClass = PictureClassNamed(name);
    if (!graphicClass) {
        set(nullptr);
        return;
    }
    std::unique_ptr<gfx::TGraphic> graphic = graphicClass->Create();
    graphicClass->LoadFromStream(*graphic, stream);
    set(graphic.get());
}

} // namespace

const TVDGraphicClass *PictureClassNamed(std::string_view name) {
    if (const TVDGraphicClass *registered = FindGraphicClass(name)) {
        return registered;
    }
    for (const TVDGraphicClass *c : {BitmapGraphicClass(), IconGraphicClass(), JPEGGraphicClass(),
                                     PngGraphicClass(), WICImageGraphicClass()}) {
        if (c->GetName() == name) {
            return c;
        }
    }
    return nullptr;
}

void TVDStreamedPicture::DefineProperties(rtl::TFiler &filer) {
    rtl::TPersistent::DefineProperties(filer);
    rtl::TStreamProc write;
    const gfx::TGraphic *graphic = FGet();
    const TVDGraphicClass *graphicClass = graphic ? GraphicClassOf(*graphic) : nullptr;
    // Only what reads back is stored: a class name a short string holds, and no recorded
    // metafile, which its class cannot load.
    if (graphicClass && graphicClass->GetName().size() <= 255 &&
        graphicClass != MetafileGraphicClass()) {
        write = [graphic, graphicClass](rtl::TStream &stream) {
            WritePictureData(stream, *graphic, *graphicClass);
        };
    }
    filer.DefineBinaryProperty(
        "Data", [this](rtl::TStream &stream) { ReadPictureData(stream, FSet); }, write);
}

rtl::TPersistent &TVDListLevel::GetStreamedPicture() {
    if (!FStreamedPicture) {
        FStreamedPicture = std::make_unique<TVDStreamedPicture>(
            [this]() -> const gfx::TGraphic * {
                return FPicture ? FPicture->GetGraphic() : nullptr;
            },
            [this](const gfx::TGraphic *graphic) {
                gfx::TPicture picture;
                picture.SetGraphic(graphic);
                SetPicture(&picture);
            });
    }
    return *FStreamedPicture;
}

rtl::TPersistent &TVDStyle::GetStreamedInvalidPicture() {
    if (!FStreamedInvalidPicture) {
        FStreamedInvalidPicture = std::make_unique<TVDStreamedPicture>(
            [this] { return static_cast<const gfx::TGraphic *>(GetInvalidPicture().GetGraphic()); },
            [this](const gfx::TGraphic *graphic) {
                gfx::TPicture picture;
                picture.SetGraphic(graphic);
                SetInvalidPicture(graphic ? &picture : nullptr);
            });
    }
    return *FStreamedInvalidPicture;
}

} // namespace vizivodu
