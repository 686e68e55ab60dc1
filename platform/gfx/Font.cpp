// Font attributes and the point/pixel conversion.
#include "platform/gfx/Font.h"

#include <algorithm>
#include <cstdlib>

namespace gfx {

int32_t MulDiv(int32_t number, int32_t numerator, int32_t denominator) {
    if (denominator == 0) {
        return -1;
    }
    const int64_t product = int64_t(number) * numerator;
    int64_t half = std::llabs(int64_t(denominator)) / 2;
    int64_t q;
    if ((product < 0) != (denominator < 0)) {
        q = -((std::llabs(product) + half) / std::llabs(int64_t(denominator)));
    } else {
        q = (std::llabs(product) + half) / std::llabs(int64_t(denominator));
    }
    return int32_t(q);
}

TFont::TFont()
    : FName(u"Tahoma"), FHeight(-MulDiv(8, ScreenPixelsPerInch, 72)), FColor(clWindowText) {}

TFont::TFont(const TFont &other) {
    *this = other;
}

TFont &TFont::operator=(const TFont &other) {
    if (this == &other) {
        return *this;
    }
    const bool changed = !SameAs(other);
    FName = other.FName;
    FHeight = other.FHeight;
    FPixelsPerInch = other.FPixelsPerInch;
    FStyle = other.FStyle;
    FColor = other.FColor;
    FCharset = other.FCharset;
    FPitch = other.FPitch;
    FEscapement = other.FEscapement;
    FOrientation = other.FOrientation;
    FWidth = other.FWidth;
    FWeight = other.FWeight;
    FQuality = other.FQuality;
    if (changed) {
        Changed();
    }
    return *this;
}

bool TFont::SameAs(const TFont &o) const {
    return FName == o.FName && FHeight == o.FHeight && FPixelsPerInch == o.FPixelsPerInch &&
           FStyle == o.FStyle && FColor == o.FColor && FCharset == o.FCharset &&
           FPitch == o.FPitch && FEscapement == o.FEscapement && FOrientation == o.FOrientation &&
           FWidth == o.FWidth && FWeight == o.FWeight && FQuality == o.FQuality;
}

void TFont::Changed() {
    if (OnChange) {
        OnChange();
    }
}

void TFont::SetName(const rtl::UnicodeString &name) {
    if (!name.empty() && name != FName) {
        FName = name;
        Changed();
    }
}

int32_t TFont::GetSize() const {
    return -MulDiv(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(int32_t points) {
    SetHeight(-MulDiv(points, FPixelsPerInch, 72));
}

void TFont::SetHeight(int32_t height) {
    if (height != FHeight) {
        FHeight = height;
        Changed();
    }
}

void TFont::SetStyle(TFontStyles style) {
    if (!(style == FStyle)) {
        FStyle = style;
        FWeight = style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
        Changed();
    }
}

void TFont::SetColor(TColor color) {
    if (color != FColor) {
        FColor = color;
        Changed();
    }
}

void TFont::SetCharset(TFontCharset charset) {
    if (charset != FCharset) {
        FCharset = charset;
        Changed();
    }
}

void TFont::SetPitch(TFontPitch pitch) {
    if (pitch != FPitch) {
        FPitch = pitch;
        Changed();
    }
}

void TFont::SetPixelsPerInch(int32_t ppi) {
    if (ppi > 0 && ppi != FPixelsPerInch) {
        FPixelsPerInch = ppi;
        Changed();
    }
}

void TFont::SetOrientation(int32_t tenths) {
    if (tenths != FEscapement || tenths != FOrientation) {
        FEscapement = tenths;
        FOrientation = tenths;
        Changed();
    }
}

void TFont::SetQuality(uint8_t quality) {
    if (quality != FQuality) {
        FQuality = quality;
        Changed();
    }
}

TLogFont TFont::GetLogFont() const {
    TLogFont lf;
    GetLogFont(lf);
    return lf;
}

void TFont::GetLogFont(TLogFont &lf) const {
    lf.lfHeight = FHeight;
    lf.lfWidth = FWidth;
    lf.lfEscapement = FEscapement;
    lf.lfOrientation = FOrientation;
    const bool bold = FStyle.Contains(fsBold);
    lf.lfWeight =
        bold ? (FWeight >= 600 ? FWeight : FW_BOLD) : (FWeight < 600 ? FWeight : FW_NORMAL);
    lf.lfItalic = FStyle.Contains(fsItalic);
    lf.lfUnderline = FStyle.Contains(fsUnderline);
    lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    lf.lfCharSet = FCharset;
    lf.lfOutPrecision = 0;
    lf.lfClipPrecision = 0;
    lf.lfQuality = FQuality;
    lf.lfPitchAndFamily = FPitch == fpFixed ? 1 : FPitch == fpVariable ? 2 : 0;
    const size_t nameLength = std::min<size_t>(FName.size(), 31);
    if (lf.lfFaceName.compare(0, std::u16string::npos, FName, 0, nameLength) != 0) {
        lf.lfFaceName.assign(FName, 0, nameLength);
    }
}

void TFont::SetLogFont(const TLogFont &lf) {
    TFont next(*this);
    next.FHeight = lf.lfHeight;
    next.FWidth = lf.lfWidth;
    next.FEscapement = lf.lfEscapement;
    next.FOrientation = lf.lfOrientation;
    next.FWeight = lf.lfWeight <= 0 ? FW_NORMAL : lf.lfWeight;
    TFontStyles st;
    if (next.FWeight >= 600) {
        st.Include(fsBold);
    }
    if (lf.lfItalic) {
        st.Include(fsItalic);
    }
    if (lf.lfUnderline) {
        st.Include(fsUnderline);
    }
    if (lf.lfStrikeOut) {
        st.Include(fsStrikeOut);
    }
    next.FStyle = st;
    next.FCharset = lf.lfCharSet;
    next.FQuality = lf.lfQuality;
    const uint8_t pitch = lf.lfPitchAndFamily & 3;
    next.FPitch = pitch == 1 ? fpFixed : pitch == 2 ? fpVariable : fpDefault;
    if (!lf.lfFaceName.empty()) {
        next.FName = lf.lfFaceName.substr(0, 31);
    }
    *this = next;
}

} // namespace gfx
