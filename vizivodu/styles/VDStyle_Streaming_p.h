// What the units of the component streaming of styles share: the member names of the property
// sets as the stream stores them, and the reading of such a set value.
#pragma once

#include "platform/gfx/Font.h"
#include "platform/rtl/Sets.h"
#include "platform/rtl/System.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rtl {
class TReader;
}

namespace vizivodu {

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

} // namespace vizivodu
