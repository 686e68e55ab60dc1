// The graphic handler: formats of graphics and of raw data, the class per format, creating,
// cloning and loading graphics, and the neutral questions about them.
#include "vizivodu/document/VDGrHandler.h"

#include "vizivodu/VDStartup_p.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Icon.h"
#include "platform/gfx/JPEGImage.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/WICImage.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace vizivodu {

TVDGraphicHandler *GlobalGraphicHandler = nullptr;

namespace {

std::unique_ptr<TVDGraphicHandler> &GlobalHandlerOwner() {
    static std::unique_ptr<TVDGraphicHandler> owner;
    return owner;
}

// Leading bytes that decide every format (the longest test reads the EMF signature at 40).
constexpr int32_t kSniffSize = 44;

uint16_t Word(const uint8_t *p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t DWord(const uint8_t *p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
}

rtl::UnicodeString Ascii(std::string_view s) {
    return rtl::UnicodeString(s.begin(), s.end());
}

rtl::UnicodeString ExtensionOf(const rtl::UnicodeString &fileName) {
    const size_t dot = fileName.find_last_of(u'.');
    const size_t slash = fileName.find_last_of(u"/\\");
    if (dot == rtl::UnicodeString::npos || (slash != rtl::UnicodeString::npos && slash > dot)) {
        return {};
    }
    return rtl::LowerCase(fileName.substr(dot + 1));
}

// The class that the class library's picture-format registry gives a file extension.
const TVDGraphicClass *ClassOfExtension(const rtl::UnicodeString &ext,
                                        const TVDGraphicClass *metafileClass) {
    if (ext == u"bmp" || ext == u"dib") {
        return BitmapGraphicClass();
    }
    if (ext == u"png") {
        return PngGraphicClass();
    }
    if (ext == u"jpg" || ext == u"jpeg" || ext == u"jpe" || ext == u"jfif") {
        return JPEGGraphicClass();
    }
    if (ext == u"ico") {
        return IconGraphicClass();
    }
    if (ext == u"tif" || ext == u"tiff" || ext == u"gif") {
        return WICImageGraphicClass();
    }
    if (ext == u"emf" || ext == u"wmf") {
        return metafileClass;
    }
    return nullptr;
}

rtl::UnicodeString FormatName(TVDGraphicType type) {
    static constexpr std::array<std::u16string_view, VDGraphicTypeCount> names = {
        u"BMP", u"ICO", u"EMF/WMF", u"JPEG", u"PNG", u"GIF", u"TIFF", u"неизвестного формата"};
    return rtl::UnicodeString(names[type]);
}

// The message of a picture file that could not be loaded, as the class library's pictures
// word it.
rtl::UnicodeString PictureFileFailure(const rtl::UnicodeString &fileName,
                                      const rtl::UnicodeString &reason) {
    return u"Не удалось открыть рисунок \"" + rtl::ExpandFileName(fileName) + u"\". " + reason;
}

} // namespace

// ---- Data sniffing ----

TVDGraphicType TVDGraphicHandler::GetDataGraphicType(const void *buffer, int32_t size) {
    if (buffer == nullptr || size < kSniffSize) {
        return vdgtOther;
    }
    const auto *p = static_cast<const uint8_t *>(buffer);
    const uint16_t w0 = Word(p);
    const uint16_t w1 = Word(p + 2);
    if (w0 == 0x4949) {
        return w1 == 42 ? vdgtTIFF : vdgtOther;
    }
    if (w0 == 0x4D42) {
        return vdgtBitmap;
    }
    if (w0 == 0x4D4D) {
        return w1 == 0x2A00 ? vdgtTIFF : vdgtOther;
    }
    if (p[0] == 0xFF && p[1] == 0xD8) {
        return vdgtJPEG;
    }
    static const uint8_t kPngSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
    if (std::memcmp(p, kPngSignature, 8) == 0) {
        return vdgtPNG;
    }
    const uint32_t d0 = DWord(p);
    if (d0 == 0x9AC6CDD7u) { // placeable Windows metafile
        return vdgtMetafile;
    }
    if (d0 == 1 && DWord(p + 40) == 0x464D4520u) { // EMR_HEADER with the " EMF" signature
        return vdgtMetafile;
    }
    if (p[0] == 'G' && p[1] == 'I' && p[2] == 'F') {
        return vdgtGIF;
    }
    if (w1 == 1) {
        return vdgtIcon;
    }
    return vdgtOther;
}

TVDGraphicType TVDGraphicHandler::GetStreamGraphicType(rtl::TStream &stream) {
    const int64_t position = stream.GetPosition();
    const int64_t rest = stream.GetSize() - position;
    if (rest < kSniffSize) {
        return vdgtOther;
    }
    if (auto *memory = dynamic_cast<rtl::TMemoryStream *>(&stream)) {
        const int32_t size = static_cast<int32_t>(std::min<int64_t>(rest, INT32_MAX));
        return GetDataGraphicType(memory->GetMemory() + position, size);
    }
    uint8_t buffer[kSniffSize] = {};
    const int32_t read = stream.Read(buffer, kSniffSize);
    stream.Seek(-int64_t{read}, rtl::soCurrent);
    return GetDataGraphicType(buffer, read);
}

// ---- Handler ----

TVDGraphicHandler::TVDGraphicHandler() {
    RegisterPngGraphic(PngGraphicClass());
    RegisterJpegGraphic(JPEGGraphicClass());
    FDefaultGraphicClasses[vdgtBitmap] = BitmapGraphicClass();
    FDefaultGraphicClasses[vdgtIcon] = IconGraphicClass();
    // No metafile class is registered yet: vdgtMetafile has none until one is set.
    FDefaultGraphicClasses[vdgtTIFF] = WICImageGraphicClass();
}

TVDGraphicHandler::~TVDGraphicHandler() = default;

rtl::UnicodeString TVDGraphicHandler::GetGraphicExt(const gfx::TGraphic &graphic) {
    if (const auto *wic = dynamic_cast<const gfx::TWICImage *>(&graphic)) {
        switch (wic->GetImageFormat()) {
        case gfx::wifBmp:
            return u"bmp";
        case gfx::wifPng:
            return u"png";
        case gfx::wifJpeg:
            return u"jpg";
        case gfx::wifGif:
            return u"gif";
        case gfx::wifTiff:
            return u"tif";
        default:
            break;
        }
    }
    const TVDGraphicClass *c = GraphicClassOf(graphic);
    return c ? Ascii(c->GetExtension()) : rtl::UnicodeString();
}

TVDGraphicType TVDGraphicHandler::GetGraphicType(const gfx::TGraphic &graphic) {
    if (const auto *wic = dynamic_cast<const gfx::TWICImage *>(&graphic)) {
        switch (wic->GetImageFormat()) {
        case gfx::wifBmp:
            return vdgtBitmap;
        case gfx::wifPng:
            return vdgtPNG;
        case gfx::wifJpeg:
            return vdgtJPEG;
        default:
            return vdgtOther;
        }
    }
    if (dynamic_cast<const gfx::TBitmap *>(&graphic)) {
        return vdgtBitmap;
    }
    if (dynamic_cast<const gfx::TIcon *>(&graphic)) {
        return vdgtIcon;
    }
    const TVDGraphicClass *metafile = FDefaultGraphicClasses[vdgtMetafile];
    if (metafile && metafile->IsInstance(graphic)) {
        return vdgtMetafile;
    }
    if (dynamic_cast<const gfx::TJPEGImage *>(&graphic)) {
        return vdgtJPEG;
    }
    if (dynamic_cast<const gfx::TPngImage *>(&graphic)) {
        return vdgtPNG;
    }
    const TVDGraphicClass *png = FDefaultGraphicClasses[vdgtPNG];
    if (png && png->IsInstance(graphic)) {
        return vdgtPNG;
    }
    return vdgtOther;
}

const TVDGraphicClass *TVDGraphicHandler::GetGraphicClassByType(TVDGraphicType graphicType) {
    return FDefaultGraphicClasses[graphicType];
}

bool TVDGraphicHandler::IsTransparent(const gfx::TGraphic &graphic) {
    if (dynamic_cast<const gfx::TBitmap *>(&graphic)) {
        return graphic.GetTransparent();
    }
    if (dynamic_cast<const gfx::TJPEGImage *>(&graphic)) {
        return false;
    }
    if (const auto *wic = dynamic_cast<const gfx::TWICImage *>(&graphic)) {
        return wic->GetImageFormat() != gfx::wifJpeg && wic->GetImageFormat() != gfx::wifTiff;
    }
    return true;
}

bool TVDGraphicHandler::IsVectorGraphic(const gfx::TGraphic &graphic) {
    return GetGraphicType(graphic) == vdgtMetafile;
}

bool TVDGraphicHandler::IsResizeable(const gfx::TGraphic &graphic) {
    return dynamic_cast<const gfx::TIcon *>(&graphic) == nullptr;
}

bool TVDGraphicHandler::IsHTMLGraphic(const gfx::TGraphic &graphic) {
    const TVDGraphicType type = GetGraphicType(graphic);
    if (type == vdgtJPEG || type == vdgtPNG) {
        return true;
    }
    return std::any_of(FHTMLGraphicFormats.begin(), FHTMLGraphicFormats.end(),
                       [&](const TVDGraphicClass *c) { return c->IsExactly(graphic); });
}

const TVDGraphicClass *TVDGraphicHandler::GetGraphicClass(const rtl::UnicodeString &className) {
    if (rtl::SameText(className, rtl::UnicodeString(u"TPNGObject"))) {
        return PngGraphicClass();
    }
    return FindGraphicClass(rtl::Utf16ToUtf8(className));
}

std::unique_ptr<gfx::TGraphic> TVDGraphicHandler::LoadFromFile(const rtl::UnicodeString &fileName) {
    std::unique_ptr<gfx::TGraphic> result;
    rtl::UnicodeString extensionFailure;
    const TVDGraphicClass *byExtension =
        ClassOfExtension(ExtensionOf(fileName), FDefaultGraphicClasses[vdgtMetafile]);
    if (byExtension) {
        try {
            rtl::TFileStream file(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
            result = CreateGraphic(*byExtension);
            byExtension->LoadFromStream(*result, file);
            if (GetGraphicType(*result) == vdgtMetafile) {
                AfterLoadMetafile(*result);
            }
        } catch (const rtl::Exception &e) {
            result.reset();
            extensionFailure = e.Message();
        }
    }
    if (result) {
        FLastLoadError.clear();
        return result;
    }
    try {
        rtl::TFileStream file(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
        result = LoadFromStream(file);
    } catch (const rtl::EFOpenError &e) {
        FLastLoadError = e.Message();
        return nullptr;
    } catch (const rtl::Exception &e) {
        result.reset();
        FLastLoadError = e.Message();
    }
    if (!result) {
        // The format the file's name claims says best what is wrong with it.
        FLastLoadError = PictureFileFailure(fileName, extensionFailure.empty() ? FLastLoadError
                                                                               : extensionFailure);
    }
    return result;
}

std::unique_ptr<gfx::TGraphic> TVDGraphicHandler::LoadFromStream(rtl::TStream &stream) {
    FLastLoadError.clear();
    const TVDGraphicType type = GetStreamGraphicType(stream);
    if (type == vdgtOther) {
        FLastLoadError = stream.GetSize() - stream.GetPosition() < kSniffSize
                             ? u"Данных слишком мало для рисунка"
                             : u"Данные не являются рисунком известного формата";
        return nullptr;
    }
    std::unique_ptr<gfx::TGraphic> graphic = CreateGraphicByType(type);
    if (!graphic) {
        FLastLoadError = u"Рисунки формата " + FormatName(type) + u" не поддерживаются";
        return nullptr;
    }
    try {
        FDefaultGraphicClasses[type]->LoadFromStream(*graphic, stream);
    } catch (const rtl::Exception &e) {
        FLastLoadError =
            e.Message().empty() ? u"Рисунок " + FormatName(type) + u" повреждён" : e.Message();
        return nullptr;
    }
    return graphic;
}

void TVDGraphicHandler::PrepareGraphic(gfx::TGraphic &) {
    // Icons are decoded when they are loaded: nothing is left to prepare.
}

void TVDGraphicHandler::AfterImportGraphic(gfx::TGraphic &) {}

void TVDGraphicHandler::SetPalette(gfx::TGraphic &graphic, const TVDLogPalette *logPalette) {
    if (logPalette == nullptr) {
        return;
    }
    // Pictures here are true-colour: only a JPEG notes the request in its pixel format.
    if (auto *jpeg = dynamic_cast<gfx::TJPEGImage *>(&graphic)) {
        jpeg->SetPixelFormat(gfx::jf8Bit);
    }
}

void TVDGraphicHandler::RegisterPngGraphic(const TVDGraphicClass *graphicClass) {
    FDefaultGraphicClasses[vdgtPNG] = graphicClass;
}

const gfx::TIcon *TVDGraphicHandler::GetIconHandle(const gfx::TGraphic &graphic) {
    const auto *icon = dynamic_cast<const gfx::TIcon *>(&graphic);
    return (icon && !icon->Empty()) ? icon : nullptr;
}

const gfx::TGraphic *TVDGraphicHandler::GetMetafileHandle(const gfx::TGraphic &graphic) {
    return GetGraphicType(graphic) == vdgtMetafile ? &graphic : nullptr;
}

void TVDGraphicHandler::AfterLoadMetafile(gfx::TGraphic &graphic) {
    const TVDGraphicClass *c = FDefaultGraphicClasses[vdgtMetafile];
    if (c && c->IsInstance(graphic) && !c->IsEnhanced(graphic) && c->GetInch(graphic) == 0) {
        c->SetInch(graphic, 1440);
    }
}

void TVDGraphicHandler::GetMetafileMMSize(const gfx::TGraphic &graphic, int32_t &cx, int32_t &cy) {
    cx = cy = 0;
    const TVDGraphicClass *c = FDefaultGraphicClasses[vdgtMetafile];
    if (c && c->IsInstance(graphic)) {
        c->GetMMSize(graphic, cx, cy);
    }
}

bool TVDGraphicHandler::IsEnhancedMetafile(const gfx::TGraphic &graphic) {
    const TVDGraphicClass *c = FDefaultGraphicClasses[vdgtMetafile];
    return c && c->IsInstance(graphic) && c->IsEnhanced(graphic);
}

void TVDGraphicHandler::SetMetafileEnhanced(gfx::TGraphic &graphic, bool enhanced) {
    const TVDGraphicClass *c = FDefaultGraphicClasses[vdgtMetafile];
    if (c && c->IsInstance(graphic)) {
        c->SetEnhanced(graphic, enhanced);
    }
}

void TVDGraphicHandler::SetMetafileHandle(gfx::TGraphic &graphic, const gfx::TGraphic &metafile) {
    const TVDGraphicClass *c = FDefaultGraphicClasses[vdgtMetafile];
    if (c && c->IsInstance(graphic)) {
        c->Assign(graphic, metafile);
    }
}

void TVDGraphicHandler::SetBitmapHandle(gfx::TGraphic &graphic, const gfx::TBitmap &bitmap) {
    if (auto *target = dynamic_cast<gfx::TBitmap *>(&graphic)) {
        *target = bitmap;
    }
}

int32_t TVDGraphicHandler::GetBitmapScanLineWidth(const gfx::TGraphic &graphic) {
    const auto *bitmap = dynamic_cast<const gfx::TBitmap *>(&graphic);
    if (!bitmap) {
        return 0;
    }
    if (bitmap->GetHeight() < 2) {
        return bitmap->GetWidth();
    }
    return std::abs(bitmap->StrideBytes());
}

gfx::TCanvas *TVDGraphicHandler::GetBitmapCanvas(gfx::TGraphic &graphic) {
    auto *bitmap = dynamic_cast<gfx::TBitmap *>(&graphic);
    return bitmap ? &bitmap->GetCanvas() : nullptr;
}

bool TVDGraphicHandler::IsJpegClassAssigned() {
    return FDefaultGraphicClasses[vdgtJPEG] != nullptr;
}

void TVDGraphicHandler::RegisterJpegGraphic(const TVDGraphicClass *graphicClass) {
    FDefaultGraphicClasses[vdgtJPEG] = graphicClass;
}

bool TVDGraphicHandler::CanConvertIconToPng() {
    return true;
}

void TVDGraphicHandler::RegisterHTMLGraphicFormat(const TVDGraphicClass *graphicClass) {
    if (graphicClass && std::find(FHTMLGraphicFormats.begin(), FHTMLGraphicFormats.end(),
                                  graphicClass) == FHTMLGraphicFormats.end()) {
        FHTMLGraphicFormats.push_back(graphicClass);
    }
}

void TVDGraphicHandler::SetDefaultGraphicClass(TVDGraphicType graphicType,
                                               const TVDGraphicClass *graphicClass) {
    FDefaultGraphicClasses[graphicType] = graphicClass;
}

std::unique_ptr<gfx::TGraphic> TVDGraphicHandler::CreateGraphicByType(TVDGraphicType graphicType) {
    const TVDGraphicClass *c = GetGraphicClassByType(graphicType);
    return c ? CreateGraphic(*c) : nullptr;
}

std::unique_ptr<gfx::TGraphic> TVDGraphicHandler::CreateGraphic(const TVDGraphicClass &c) {
    return c.Create();
}

std::unique_ptr<gfx::TGraphic> TVDGraphicHandler::Clone(const gfx::TGraphic *graphic) {
    if (!graphic) {
        return nullptr;
    }
    const TVDGraphicClass *c = GraphicClassOf(*graphic);
    if (!c) {
        return nullptr;
    }
    std::unique_ptr<gfx::TGraphic> copy = CreateGraphic(*c);
    c->Assign(*copy, *graphic);
    copy->SetTransparent(graphic->GetTransparent());
    return copy;
}

std::unique_ptr<gfx::TBitmap> TVDGraphicHandler::ToBitmap(const gfx::TGraphic &graphic) {
    auto bitmap = std::make_unique<gfx::TBitmap>();
    bitmap->SetPixelFormat(gfx::pf32bit);
    AssignToBitmap(graphic, *bitmap);
    return bitmap;
}

void TVDGraphicHandler::AssignToBitmap(const gfx::TGraphic &graphic, gfx::TBitmap &bitmap) {
    // The bitmap draws any picture it is given, on white for pictures with transparency.
    try {
        bitmap.Assign(graphic);
    } catch (const rtl::Exception &) {
        bitmap.SetSize(graphic.GetWidth(), graphic.GetHeight());
        gfx::TCanvas &canvas = bitmap.GetCanvas();
        canvas.GetBrush().SetColor(0xFFFFFF);
        canvas.FillRect(gfx::Rect(0, 0, bitmap.GetWidth(), bitmap.GetHeight()));
        canvas.Draw(0, 0, graphic);
    }
}

// ---- The global handler ----

void InitializeGraphicHandler() {
    if (GlobalGraphicHandler) {
        return;
    }
    GlobalHandlerOwner() = std::make_unique<TVDGraphicHandler>();
    GlobalGraphicHandler = GlobalHandlerOwner().get();
    GlobalGraphicHandler->RegisterHTMLGraphicFormat(PngGraphicClass());
    for (const TVDGraphicClass *c :
         {BitmapGraphicClass(), IconGraphicClass(), WICImageGraphicClass(), JPEGGraphicClass(),
          PngGraphicClass()}) {
        RegisterGraphicClass(c);
    }
}

void startup::InitializeVDGrHandler() {
    InitializeGraphicHandler();
}

void FinalizeGraphicHandler() {
    GlobalGraphicHandler = nullptr;
    GlobalHandlerOwner().reset();
}

} // namespace vizivodu
