// The viewer's HTML saving: its colour, background and margins around the root document's
// writers, and the saving state it keeps.
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "vizivodu/formats/html/VDHTMLSave.h"
#include "vizivodu/layout/viewer/VDVDData.h"

namespace vizivodu {

namespace {

TVDHTMLSaveParams ViewerParams(TCustomViziVodu &viewer, const rtl::UnicodeString &path,
                               const rtl::UnicodeString &title,
                               const rtl::UnicodeString &imagesPrefix, TVDSaveOptions options) {
    viewer.imgSavePrefix = imagesPrefix;
    viewer.SaveOptions = options;
    viewer.imgSaveNo = 0;
    TVDHTMLSaveParams params;
    params.Path = path;
    params.Title = title;
    params.ImagesPrefix = imagesPrefix;
    params.Options = options;
    params.Color = viewer.EffectiveColor();
    params.CurrentFileColor = viewer.CurrentFileColor;
    params.LeftMargin = viewer.LeftMargin;
    params.TopMargin = viewer.TopMargin;
    params.RightMargin = viewer.RightMargin;
    params.BottomMargin = viewer.BottomMargin;
    params.Background = &viewer.GetBackground();
    return params;
}

TVDHTMLSaveParams ViewerParamsEx(TCustomViziVodu &viewer, const rtl::UnicodeString &path,
                                 const rtl::UnicodeString &title,
                                 const rtl::UnicodeString &imagesPrefix,
                                 const rtl::UnicodeString &extraStyles,
                                 const rtl::UnicodeString &externalCSS,
                                 const rtl::UnicodeString &cpPrefix, TVDSaveOptions options) {
    TVDHTMLSaveParams params = ViewerParams(viewer, path, title, imagesPrefix, options);
    params.ExtraStyles = extraStyles;
    params.ExternalCSS = externalCSS;
    params.CPPrefix = cpPrefix;
    return params;
}

bool Finish(TCustomViziVodu &viewer, const TVDHTMLSaveParams &params, bool ok) {
    viewer.imgSaveNo = params.ImgSaveNo;
    viewer.CurrentFileColor = params.CurrentFileColor;
    return ok;
}

} // namespace

bool TCustomViziVodu::SaveHTML(const rtl::UnicodeString &fileName, const rtl::UnicodeString &title,
                               const rtl::UnicodeString &imagesPrefix, TVDSaveOptions options) {
    CurrentFileColor = EffectiveColor();
    TVDHTMLSaveParams params = ViewerParams(*this, {}, title, imagesPrefix, options);
    return Finish(*this, params, GetVDData().SaveHTML(fileName, params));
}

bool TCustomViziVodu::SaveHTMLToStream(rtl::TStream &stream, const rtl::UnicodeString &path,
                                       const rtl::UnicodeString &title,
                                       const rtl::UnicodeString &imagesPrefix,
                                       TVDSaveOptions options) {
    CurrentFileColor = EffectiveColor();
    TVDHTMLSaveParams params = ViewerParams(*this, path, title, imagesPrefix, options);
    return Finish(*this, params, GetVDData().SaveHTMLToStream(stream, params));
}

bool TCustomViziVodu::SaveHTMLEx(const rtl::UnicodeString &fileName,
                                 const rtl::UnicodeString &title,
                                 const rtl::UnicodeString &imagesPrefix,
                                 const rtl::UnicodeString &extraStyles,
                                 const rtl::UnicodeString &externalCSS,
                                 const rtl::UnicodeString &cpPrefix, TVDSaveOptions options) {
    TVDHTMLSaveParams params =
        ViewerParamsEx(*this, {}, title, imagesPrefix, extraStyles, externalCSS, cpPrefix, options);
    return Finish(*this, params, GetVDData().SaveHTMLEx(fileName, params));
}

bool TCustomViziVodu::SaveHTMLToStreamEx(rtl::TStream &stream, const rtl::UnicodeString &path,
                                         const rtl::UnicodeString &title,
                                         const rtl::UnicodeString &imagesPrefix,
                                         const rtl::UnicodeString &extraStyles,
                                         const rtl::UnicodeString &externalCSS,
                                         const rtl::UnicodeString &cpPrefix,
                                         TVDSaveOptions options) {
    TVDHTMLSaveParams params = ViewerParamsEx(*this, path, title, imagesPrefix, extraStyles,
                                              externalCSS, cpPrefix, options);
    return Finish(*this, params, GetVDData().SaveHTMLToStreamEx(stream, params));
}

} // namespace vizivodu
