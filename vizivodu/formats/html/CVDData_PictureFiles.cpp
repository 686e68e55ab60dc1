// Picture files written beside an exported document: free names from a prefix and a counter,
// the application's own save, and the default save (the picture's own format when HTML shows
// it, else JPEG for HTML and BMP for the rest).
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/VDFHelpers.h"
#include "vizivodu/document/VDGrHandler.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/JPEGImage.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/SafeSave.h"
#include "platform/rtl/StrUtils.h"

#include <filesystem>

namespace vizivodu {

namespace {

bool IsReadOnlyFile(const rtl::UnicodeString &fileName) {
    std::error_code error;
    const auto status =
        std::filesystem::status(rtl::Utf16ToUtf8(rtl::ResolveExistingFileName(fileName)), error);
    return !error && (status.permissions() & std::filesystem::perms::owner_write) ==
                         std::filesystem::perms::none;
}

bool IsAbsolutePrefix(const rtl::UnicodeString &prefix) {
    return prefix.find(u':') != rtl::UnicodeString::npos ||
           (!prefix.empty() && (prefix[0] == u'/' || prefix[0] == u'\\'));
}

// The picture drawn on its background colour (white for none), for formats without
// transparency.
gfx::TBitmap FlattenPicture(const gfx::TGraphic &gr, TColor background) {
    gfx::TBitmap bitmap(gr.GetWidth(), gr.GetHeight());
    bitmap.SetPixelFormat(gfx::pf32bit);
    gfx::TCanvas &canvas = bitmap.GetCanvas();
    canvas.GetBrush().SetColor(background == gfx::clNone ? gfx::TColor(0xFFFFFF) : background);
    canvas.FillRect(rtl::TRect{0, 0, gr.GetWidth(), gr.GetHeight()});
    canvas.Draw(0, 0, gr);
    return bitmap;
}

} // namespace

rtl::UnicodeString TCustomVDData::GetNextFileName(const rtl::UnicodeString &imagesPrefix,
                                                  const rtl::UnicodeString &path,
                                                  const rtl::UnicodeString &ext, int32_t &imgSaveNo,
                                                  bool overrideFiles) {
    const rtl::UnicodeString base =
        IsAbsolutePrefix(imagesPrefix) ? imagesPrefix : path + imagesPrefix;
    for (;;) {
        ++imgSaveNo;
        const rtl::UnicodeString name = base + rtl::IntToStr(imgSaveNo) + ext;
        if (!rtl::FileExists(name) || (overrideFiles && !IsReadOnlyFile(name))) {
            return name;
        }
    }
}

rtl::UnicodeString TCustomVDData::DoSavePicture(TVDSaveFormat documentSaveFormat,
                                                TCustomVDData *vdData, int32_t itemNo,
                                                const rtl::UnicodeString &imgSavePrefix,
                                                const rtl::UnicodeString &path, int32_t &imgSaveNo,
                                                bool overrideFiles, TColor currentFileColor,
                                                const gfx::TGraphic &gr) {
    rtl::UnicodeString location;
    bool doDefault = true;
    SaveImage2(vdData, itemNo, const_cast<gfx::TGraphic *>(&gr), documentSaveFormat, path,
               imgSavePrefix, imgSaveNo, location, doDefault);
    if (!doDefault) {
        return location;
    }
    return SavePicture(documentSaveFormat, imgSavePrefix, path, imgSaveNo, overrideFiles,
                       currentFileColor, gr);
}

rtl::UnicodeString TCustomVDData::SavePicture(TVDSaveFormat documentSaveFormat,
                                              const rtl::UnicodeString &imgSavePrefix,
                                              const rtl::UnicodeString &path, int32_t &imgSaveNo,
                                              bool overrideFiles, TColor currentFileColor,
                                              const gfx::TGraphic &gr) {
    const bool html = documentSaveFormat == vdsfHTML;
    const bool direct = html && GlobalGraphicHandler->IsHTMLGraphic(gr);
    const bool jpeg = html && !direct && GlobalGraphicHandler->IsJpegClassAssigned();
    const rtl::UnicodeString ext =
        direct ? u"." + GlobalGraphicHandler->GetGraphicExt(gr) : (jpeg ? u".jpg" : u".bmp");
    const rtl::UnicodeString fileName =
        GetNextFileName(imgSavePrefix, path, ext, imgSaveNo, overrideFiles);
    TVDRawByteString bytes;
    if (direct) {
        bytes = VDFSavePictureToBinaryString(gr);
    } else if (jpeg) {
        gfx::TJPEGImage image;
        image.Assign(FlattenPicture(gr, currentFileColor));
        bytes = VDFSavePictureToBinaryString(image);
    } else {
        bytes = VDFSavePictureToBinaryString(FlattenPicture(gr, currentFileColor));
    }
    rtl::SaveBytesSafely(fileName, bytes.data(), bytes.size());
    TCustomVDData *root = SavedPictureFiles ? this : GetAbsoluteRootData();
    if (root->SavedPictureFiles) {
        root->SavedPictureFiles->push_back(fileName);
    }
    rtl::UnicodeString folder = rtl::ExtractFilePath(imgSavePrefix);
    if (!folder.empty() && folder.back() != u'\\' && folder.back() != u'/') {
        folder += u'/';
    }
    return folder + rtl::ExtractFileName(fileName);
}

} // namespace vizivodu
