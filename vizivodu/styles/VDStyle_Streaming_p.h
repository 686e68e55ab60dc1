// What the units of the component streaming of styles share: the member names of the property
// sets as the stream stores them, and the reading of such a set value.
#pragma once

#include "platform/gfx/Font.h"
#include "platform/rtl/Persistent.h"
#include "platform/rtl/Sets.h"
#include "platform/rtl/System.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace gfx {
class TGraphic;
}

namespace rtl {
class TReader;
}

namespace vizivodu {

class TVDGraphicClass;

// The graphic class a stored picture names: a registered class, or one of the class library's
// own pictures (bitmap, icon, JPEG, PNG, WIC) before the library's start-up registered them.
const TVDGraphicClass *PictureClassNamed(std::string_view name);

// Font styles as a set the stream stores ("fsBold" ...).
using TStreamedFontStyles = rtl::TSet<gfx::TFontStyle, 4>;
TStreamedFontStyles ToStreamed(gfx::TFontStyles styles);
gfx::TFontStyles FromStreamed(TStreamedFontStyles styles);
const std::vector<std::string> &FontStyleNames();

// "vdfiFontName" ... and "vdpiFirstIndent" ..., by ordinal.
const std::vector<std::string> &TextPropertyStreamNames();
const std::vector<std::string> &ParaPropertyStreamNames();
const std::vector<std::string> &BiDiModeNames();

// A set value of property names: the bits of the names found in names (others are skipped).
// EViziVoduError "Invalid value of property <propertyName>" for a value of another kind.
uint64_t ReadPropertySetValue(rtl::TReader &reader, const std::vector<std::string> &names,
                              const char16_t *propertyName);

// A picture as the component stream holds it: one binary property "Data", the graphic's class
// name as a short string (a length byte, then the name in ANSI) followed by the graphic's own
// stream form. Nothing is stored for no graphic or one of a class the graphic handler does not
// know. Reading an unknown class gives no graphic; data the class refuses raises its error.
class TVDStreamedPicture final : public rtl::TPersistent {
public:
    using TGetGraphic = std::function<const gfx::TGraphic *()>;
    using TSetGraphic = std::function<void(const gfx::TGraphic *)>;
    TVDStreamedPicture(TGetGraphic get, TSetGraphic set)
        : FGet(std::move(get)), FSet(std::move(set)) {}
    void DefineProperties(rtl::TFiler &filer) override;

private:
    TGetGraphic FGet;
    TSetGraphic FSet;
};

} // namespace vizivodu
