// The settings a viewer control keeps for its whole document tree beside its Options (VDF and
// RTF options, the warnings of the last VDF reading, how reading treats styles and style
// templates) and the enumerations that its events pass (formats loaded and saved, the areas
// for which the writers ask extra code, the actions on inserted controls).
#pragma once

#include "platform/rtl/Sets.h"

#include <cstdint>

namespace vizivodu {

enum TVDFOption : uint8_t {
    vdfoSaveBinary,
    vdfoUseStyleNames,
    vdfoSaveBack,
    vdfoLoadBack,
    vdfoSaveTextStyles,
    vdfoSaveParaStyles,
    vdfoSaveLayout,
    vdfoLoadLayout,
    vdfoSaveDocProperties,
    vdfoLoadDocProperties,
    vdfoConvUnknownStylesToZero,
    vdfoSaveStyleTemplatesOnlyNames,
    vdfoSavePicturesBody,
    vdfoSaveControlsBody,
    vdfoIgnoreUnknownPicFmt,
    vdfoIgnoreUnknownCtrls,
    vdfoIgnoreUnknownCtrlProperties,
    vdfoConvLargeImageIdxToZero,
    vdfoCanChangeUnits
};
using TVDFOptions = rtl::TSet<TVDFOption, 19>;

enum TVDFWarning : uint8_t {
    vdfwUnknownPicFmt,
    vdfwUnknownCtrls,
    vdfwConvUnknownStyles,
    vdfwConvLargeImageIdx,
    vdfwConvToUnicode,
    vdfwConvFromUnicode,
    vdfwInvalidPicture,
    vdfwUnknownStyleProperties,
    vdfwUnknownCtrlProperties,
    vdfwConvUnits
};
using TVDFWarnings = rtl::TSet<TVDFWarning, 10>;

enum TVDRTFOption : uint8_t {
    vdrtfSaveStyleSheet,
    vdrtfDuplicateUnicode,
    vdrtfSaveEMFAsWMF,
    vdrtfSaveJpegAsJpeg,
    vdrtfSavePngAsPng,
    vdrtfSaveBitmapDefault,
    vdrtfSaveEMFDefault,
    vdrtfSavePicturesBinary,
    vdrtfPNGInsteadOfBitmap,
    vdrtfSaveDocParameters,
    vdrtfSaveHeaderFooter
};
using TVDRTFOptions = rtl::TSet<TVDRTFOption, 11>;

// How VDF reading treats the text styles, and the paragraph and list styles, of a stream.
enum TVDFReaderStyleMode : uint8_t { vdf_sIgnore, vdf_sInsertMap, vdf_sInsertMerge };

// How inserted documents treat style templates.
enum TVDStyleTemplateInsertMode : uint8_t {
    vdstimUseTargetFormatting,
    vdstimUseSourceFormatting,
    vdstimIgnoreSourceStyleTemplates
};

enum TVDLiveSpellingMode : uint8_t { vdlspManualStart, vdlspOnChange };

enum TVDLoadFormat : uint8_t { vdlfText, vdlfHTML, vdlfRTF, vdlfVDF, vdlfURL, vdlfOther };
using TVDLoadFormats = rtl::TSet<TVDLoadFormat, 6>;
// Whether text is UTF-16: no, yes, or found out from the text.
enum TVDYesNoAuto : uint8_t { vdynaNo, vdynaYes, vdynaAuto };
enum TVDSaveFormat : uint8_t { vdsfText, vdsfHTML, vdsfRTF, vdsfVDF, vdsfDocX };

// Options of HTML saving.
enum TVDSaveOption : uint8_t {
    vdsoOverrideImages,
    vdsoFirstOnly,
    vdsoMiddleOnly,
    vdsoLastOnly,
    vdsoDefault0Style,
    vdsoNoHypertextImageBorders,
    vdsoImageSizes,
    vdsoForceNonTextCSS,
    vdsoUseCheckpointsNames,
    vdsoMarkersAsText,
    vdsoInlineCSS,
    vdsoNoDefCSSStyle,
    vdsoUseItemImageFileNames,
    vdsoXHTML,
    vdsoUTF8
};
using TVDSaveOptions = rtl::TSet<TVDSaveOption, 15>;

enum TVDRTFSaveArea : uint8_t {
    vd_rtfs_TextStyle,
    vd_rtfs_ParaStyle,
    vd_rtfs_ListStyle,
    vd_rtfs_StyleTemplate,
    vd_rtfs_StyleTemplateText,
    vd_rtfs_CellProps,
    vd_rtfs_RowProps,
    vd_rtfs_Doc
};
// The kind of document an RTF writer is writing; items write differently in each.
enum TVDRTFDocType : uint8_t {
    vdrtfdtMain,
    vdrtfdtHeaderFooter,
    vdrtfdtNote,
    vdrtfdtSidenote,
    vdrtfdtTextBox
};
enum TVDDocXSaveArea : uint8_t {
    vd_docxs_TextStyle,
    vd_docxs_ParaStyle,
    vd_docxs_ListStyle,
    vd_docxs_StyleTemplate,
    vd_docxs_StyleTemplateText,
    vd_docxs_StyleTemplatePara,
    vd_docxs_CellProps,
    vd_docxs_RowProps,
    vd_docxs_TableProps,
    vd_docxs_SectProps,
    vd_docxs_Settings,
    vd_docxs_CoreProperties
};
enum TVDHTMLSaveArea : uint8_t { vd_thms_Head, vd_thms_BodyAttribute, vd_thms_Body, vd_thms_End };

// What happens to an inserted control.
enum TVDControlAction : uint8_t {
    vdcaAfterVDFLoad,
    vdcaDestroy,
    vdcaMoveToUndoList,
    vdcaMoveFromUndoList,
    vdcaDestroyInUndoList,
    vdcaBeforeVDFSave,
    vdcaAfterVDFSave
};

} // namespace vizivodu
