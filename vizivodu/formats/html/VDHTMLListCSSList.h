// The distinct CSS texts of list levels met while a document is exported as HTML; a text's
// position is the number of its CSS class.
#pragma once

#include "platform/rtl/System.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include <string_view>
#include <vector>

namespace vizivodu {

class TVDHTMLListCSSList {
public:
    // The index of the first item equal to text (byte for byte); -1 when none.
    int32_t Find(std::string_view text) const;
    // Appends text unless it is there; true when appended.
    bool Add(std::string_view text);
    void Clear() { FItems.clear(); }
    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
    const AnsiString &Get(int32_t index) const { return FItems[static_cast<size_t>(index)]; }

private:
    std::vector<AnsiString> FItems;
};

} // namespace vizivodu
