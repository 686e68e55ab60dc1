// The RTF halves of pictures: the \pict group of a graphic (PNG, JPEG, DIB, WMF or EMF data)
// and the images of image lists shown by bullets and hotspots.
#include "vizivodu/document/VDItem_Rect.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDFHelpers.h"
#include "vizivodu/document/VDGrHandler.h"
#include "vizivodu/document/VDItem_Bullet.h"
#include "vizivodu/formats/rtf/VDRTFWriter_p.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/ImgList.h"
#include "platform/rtl/Rounding.h"

namespace vizivodu {

namespace {

std::string Num(int64_t value) {
    return std::to_string(value);
}

// The graphic's bytes after skip header bytes, as "{\bin N ...}" or upper-case hexadecimal;
// nothing when no byte remains.
void WritePictureData(rtl::TStream &stream, const gfx::TGraphic &graphic, size_t skip,
                      bool binary) {
    const TVDRawByteString bytes = VDFSavePictureToBinaryString(graphic);
    if (bytes.size() <= skip) {
        return;
    }
    const std::string_view data = std::string_view(bytes).substr(skip);
    if (binary) {
        RTFWrite(stream, "{\\bin" + Num(static_cast<int64_t>(data.size())) + " ");
        RTFWrite(stream, data);
        RTFWrite(stream, "}");
    } else {
        RTFWrite(stream, VDFStringToHex(data));
    }
}

void WriteDIB(rtl::TStream &stream, const gfx::TGraphic &bitmap, bool binary) {
    TVDGraphicHandler &handler = *GlobalGraphicHandler;
    RTFWrite(stream, "\\dibitmap0\\wbmwidthbytes" + Num(handler.GetBitmapScanLineWidth(bitmap)) +
                         "\\picw" + Num(bitmap.GetWidth()) + "\\pich" + Num(bitmap.GetHeight()) +
                         " ");
    WritePictureData(stream, bitmap, 14, binary);
}

// A PNG made from the source; a source that is not a bitmap is tried again as a bitmap.
void WritePNG(rtl::TStream &stream, const gfx::TGraphic &source, bool binary) {
    TVDGraphicHandler &handler = *GlobalGraphicHandler;
    std::unique_ptr<gfx::TGraphic> png = handler.CreateGraphicByType(vdgtPNG);
    const TVDGraphicClass *pngClass = handler.GetGraphicClassByType(vdgtPNG);
    try {
        pngClass->Assign(*png, source);
    } catch (const rtl::Exception &) {
        if (dynamic_cast<const gfx::TBitmap *>(&source)) {
            throw;
        }
        pngClass->Assign(*png, *handler.ToBitmap(source));
    }
    RTFWrite(stream,
             "\\pngblip\\picw" + Num(png->GetWidth()) + "\\pich" + Num(png->GetHeight()) + " ");
    WritePictureData(stream, *png, 0, binary);
}

void WriteBitmapData(rtl::TStream &stream, const gfx::TGraphic &graphic, TVDRTFOptions options) {
    TVDGraphicHandler &handler = *GlobalGraphicHandler;
    const bool binary = options.Contains(vdrtfSavePicturesBinary);
    if (options.Contains(vdrtfPNGInsteadOfBitmap) && handler.IsPngClassAssigned()) {
        WritePNG(stream, graphic, binary);
    } else if (dynamic_cast<const gfx::TBitmap *>(&graphic)) {
        WriteDIB(stream, graphic, binary);
    } else {
        WriteDIB(stream, *handler.ToBitmap(graphic), binary);
    }
}

void WriteMetafileData(rtl::TStream &stream, const gfx::TGraphic &graphic, TVDRTFOptions options) {
    TVDGraphicHandler &handler = *GlobalGraphicHandler;
    const bool binary = options.Contains(vdrtfSavePicturesBinary);
    int32_t cx = 0;
    int32_t cy = 0;
    handler.GetMetafileMMSize(graphic, cx, cy);
    if (handler.IsEnhancedMetafile(graphic) && !options.Contains(vdrtfSaveEMFAsWMF)) {
        RTFWrite(stream, "\\emfblip\\picw" + Num(cx) + "\\pich" + Num(cy) + " ");
        WritePictureData(stream, graphic, 0, binary);
        return;
    }
    std::unique_ptr<gfx::TGraphic> copy;
    const gfx::TGraphic *wmf = &graphic;
    if (handler.IsEnhancedMetafile(graphic)) {
        copy = handler.CreateGraphicByType(vdgtMetafile);
        handler.GetGraphicClassByType(vdgtMetafile)->Assign(*copy, graphic);
        handler.SetMetafileEnhanced(*copy, false);
        wmf = copy.get();
    }
    RTFWrite(stream, "\\wmetafile8\\picw" + Num(cx) + "\\pich" + Num(cy) + " ");
    WritePictureData(stream, *wmf, 22, binary);
}

bool MetafileSizedInMM(const gfx::TGraphic &graphic, TVDRTFOptions options) {
    TVDGraphicHandler &handler = *GlobalGraphicHandler;
    return handler.GetGraphicType(graphic) == vdgtMetafile &&
           (!handler.IsEnhancedMetafile(graphic) || options.Contains(vdrtfSaveEMFAsWMF));
}

// "\picscalex", "\picscaley", "\picwgoal", "\pichgoal" of a graphic shown at width x height.
void WritePictureSize(rtl::TStream &stream, const TVDStyle &vdStyle, const gfx::TGraphic &graphic,
                      TVDRTFOptions options, TVDStyleLength width, TVDStyleLength height) {
    int32_t naturalW = 0;
    int32_t naturalH = 0;
    int32_t goalW = 0;
    int32_t goalH = 0;
    if (MetafileSizedInMM(graphic, options)) {
        int32_t cx = 0;
        int32_t cy = 0;
        GlobalGraphicHandler->GetMetafileMMSize(graphic, cx, cy);
        const auto mmW = static_cast<int32_t>(rtl::Round(cx / 100.0));
        const auto mmH = static_cast<int32_t>(rtl::Round(cy / 100.0));
        naturalW = vdStyle.VDUnitsToUnits(mmW, vduMillimeters);
        naturalH = vdStyle.VDUnitsToUnits(mmH, vduMillimeters);
        goalW = TVDStyle::VDUnitsToUnitsEx(mmW, vduMillimeters, vdstuTwips);
        goalH = TVDStyle::VDUnitsToUnitsEx(mmH, vduMillimeters, vdstuTwips);
    } else {
        naturalW = vdStyle.PixelsToUnits(graphic.GetWidth());
        naturalH = vdStyle.PixelsToUnits(graphic.GetHeight());
        goalW = TVDStyle::PixelsToTwips(graphic.GetWidth());
        goalH = TVDStyle::PixelsToTwips(graphic.GetHeight());
    }
    if (width > 0 && naturalW > 0) {
        RTFWrite(stream,
                 "\\picscalex" + Num(std::max<int64_t>(1, rtl::Round(width * 100.0 / naturalW))));
    }
    if (height > 0 && naturalH > 0) {
        RTFWrite(stream,
                 "\\picscaley" + Num(std::max<int64_t>(1, rtl::Round(height * 100.0 / naturalH))));
    }
    RTFWrite(stream, "\\picwgoal" + Num(goalW) + "\\pichgoal" + Num(goalH));
}

} // namespace

void WriteRTFPicture(rtl::TStream &stream, const TVDStyle &vdStyle, const gfx::TGraphic *graphic,
                     TVDRTFOptions options, TVDStyleLength width, TVDStyleLength height) {
    if (!graphic || !GlobalGraphicHandler) {
        return;
    }
    TVDGraphicHandler &handler = *GlobalGraphicHandler;
    RTFWrite(stream, "{\\pict");
    WritePictureSize(stream, vdStyle, *graphic, options, width, height);
    const bool binary = options.Contains(vdrtfSavePicturesBinary);
    switch (handler.GetGraphicType(*graphic)) {
    case vdgtBitmap:
        WriteBitmapData(stream, *graphic, options);
        break;
    case vdgtMetafile:
        WriteMetafileData(stream, *graphic, options);
        break;
    case vdgtJPEG:
        if (options.Contains(vdrtfSaveJpegAsJpeg)) {
            RTFWrite(stream, "\\jpegblip\\picw" + Num(graphic->GetWidth()) + "\\pich" +
                                 Num(graphic->GetHeight()) + " ");
            WritePictureData(stream, *graphic, 0, binary);
        } else {
            WriteBitmapData(stream, *graphic, options);
        }
        break;
    case vdgtPNG:
        if (options.Contains(vdrtfSavePngAsPng)) {
            WritePNG(stream, *graphic, binary);
        } else {
            WriteBitmapData(stream, *graphic, options);
        }
        break;
    default:
        WriteBitmapData(stream, *graphic, options);
        break;
    }
    RTFWrite(stream, "}");
}

void TVDGraphicItemInfo::SaveRTF(rtl::TStream &stream, TCustomVDData *vdData, int32_t, int32_t,
                                 TVDRTFSavingData &, TVDRTFDocType, bool hiddenParent) {
    const bool hidden = hiddenParent || Hidden;
    if (hidden) {
        RTFWrite(stream, "{\\v");
    }
    WriteRTFPicture(stream, *vdData->GetVDStyle(), GetImage(), vdData->GetRTFOptions(), ImageWidth,
                    ImageHeight);
    if (hidden) {
        RTFWrite(stream, "}");
    }
}

void WriteRTFImageListImage(rtl::TStream &stream, gfx::TCustomImageList *imageList,
                            int32_t imageIndex) {
    if (!imageList || imageIndex < 0 || imageIndex >= imageList->GetCount()) {
        return;
    }
    gfx::TBitmap bitmap;
    bitmap.SetPixelFormat(gfx::pf24bit);
    bitmap.SetSize(imageList->GetWidth(), imageList->GetHeight());
    imageList->Draw(bitmap.GetCanvas(), 0, 0, imageIndex);
    const int32_t w = bitmap.GetWidth();
    const int32_t h = bitmap.GetHeight();
    RTFWrite(stream, "{\\pict\\dibitmap0\\wbmwidthbytes" +
                         Num(GlobalGraphicHandler->GetBitmapScanLineWidth(bitmap)) + "\\picw" +
                         Num(w) + "\\pich" + Num(h) + "\\picwgoal" + Num(w * 15) + "\\pichgoal" +
                         Num(h * 15) + " ");
    WritePictureData(stream, bitmap, 14, false);
    RTFWrite(stream, "}");
}

void TVDBulletItemInfo::SaveRTF(rtl::TStream &stream, TCustomVDData *, int32_t, int32_t,
                                TVDRTFSavingData &, TVDRTFDocType, bool hiddenParent) {
    const bool hidden = hiddenParent || Hidden;
    if (hidden) {
        RTFWrite(stream, "{\\v");
    }
    WriteRTFImageListImage(stream, GetImageList(), ImageIndex);
    if (hidden) {
        RTFWrite(stream, "}");
    }
}

} // namespace vizivodu
