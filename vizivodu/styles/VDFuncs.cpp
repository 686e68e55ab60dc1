// Shared colour, numbering, string, unit and rotation routines.
#include "vizivodu/styles/VDFuncs.h"

#include "platform/gfx/Clipbrd.h"
#include "platform/gfx/Font.h"
#include "platform/rtl/Rounding.h"
#include "platform/ui/Cursors.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>
#include <utility>

namespace vizivodu {

using gfx::TColor;

int32_t GetScreenPixelsPerInchY() {
    return PixelsPerInchOverride > 0 ? PixelsPerInchOverride : gfx::ScreenPixelsPerInch;
}

int64_t RoundQuotient(int64_t numerator, int64_t denominator) {
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    int64_t quotient = numerator / denominator;
    int64_t remainder = numerator % denominator;
    // Bring the remainder into [0, denominator) so that quotient is the floor.
    if (remainder < 0) {
        remainder += denominator;
        --quotient;
    }
    const int64_t twice = 2 * remainder;
    if (twice > denominator || (twice == denominator && (quotient & 1) != 0)) {
        ++quotient;
    }
    return quotient;
}

namespace {

std::mt19937 &Generator() {
    static std::mt19937 generator{std::random_device{}()};
    return generator;
}

} // namespace

int32_t VDRandom(int32_t range) {
    return std::uniform_int_distribution<int32_t>(0, range - 1)(Generator());
}

void SetRandomSeedForTesting(uint32_t seed) {
    Generator().seed(seed);
}

// ---- Colours ------------------------------------------------------------------------------

int32_t GetColorLuminance(TColor color) {
    const uint32_t rgb = gfx::ColorToRGB(color);
    return static_cast<int32_t>(rtl::Round(
        0.3L * gfx::GetRValue(rgb) + 0.59L * gfx::GetGValue(rgb) + 0.11L * gfx::GetBValue(rgb)));
}

TColor ColorToGray(TColor color) {
    if (color == gfx::clNone) {
        return color;
    }
    const uint8_t grey = static_cast<uint8_t>(std::min(GetColorLuminance(color), 255));
    return gfx::RGB(grey, grey, grey);
}

namespace {

// The hue-luminance-saturation model on the 0 to 240 scale that the platform's colour
// routines use (the classic algorithm with HLSMAX 240 and RGBMAX 255; an undefined hue is
// 160, two thirds of the scale).
constexpr int HLSMax = 240;
constexpr int RGBMax = 255;
constexpr int UndefinedHue = HLSMax * 2 / 3;

struct THLS {
    int H;
    int L;
    int S;
};

THLS RGBToHLS(uint32_t rgb) {
    const int r = gfx::GetRValue(rgb);
    const int g = gfx::GetGValue(rgb);
    const int b = gfx::GetBValue(rgb);
    const int cMax = std::max({r, g, b});
    const int cMin = std::min({r, g, b});
    THLS hls{};
    hls.L = ((cMax + cMin) * HLSMax + RGBMax) / (2 * RGBMax);
    if (cMax == cMin) {
        hls.S = 0;
        hls.H = UndefinedHue;
        return hls;
    }
    const int delta = cMax - cMin;
    if (hls.L <= HLSMax / 2) {
        hls.S = (delta * HLSMax + (cMax + cMin) / 2) / (cMax + cMin);
    } else {
        hls.S = (delta * HLSMax + (2 * RGBMax - cMax - cMin) / 2) / (2 * RGBMax - cMax - cMin);
    }
    const int rDelta = ((cMax - r) * (HLSMax / 6) + delta / 2) / delta;
    const int gDelta = ((cMax - g) * (HLSMax / 6) + delta / 2) / delta;
    const int bDelta = ((cMax - b) * (HLSMax / 6) + delta / 2) / delta;
    if (r == cMax) {
        hls.H = bDelta - gDelta;
    } else if (g == cMax) {
        hls.H = HLSMax / 3 + rDelta - bDelta;
    } else {
        hls.H = 2 * HLSMax / 3 + gDelta - rDelta;
    }
    if (hls.H < 0) {
        hls.H += HLSMax;
    }
    if (hls.H > HLSMax) {
        hls.H -= HLSMax;
    }
    return hls;
}

int HueToRGB(int n1, int n2, int hue) {
    if (hue < 0) {
        hue += HLSMax;
    }
    if (hue > HLSMax) {
        hue -= HLSMax;
    }
    if (hue < HLSMax / 6) {
        return n1 + ((n2 - n1) * hue + HLSMax / 12) / (HLSMax / 6);
    }
    if (hue < HLSMax / 2) {
        return n2;
    }
    if (hue < HLSMax * 2 / 3) {
        return n1 + ((n2 - n1) * (HLSMax * 2 / 3 - hue) + HLSMax / 12) / (HLSMax / 6);
    }
    return n1;
}

TColor HLSToRGB(const THLS &hls) {
    if (hls.S == 0) {
        const auto grey = static_cast<uint8_t>(hls.L * RGBMax / HLSMax);
        return gfx::RGB(grey, grey, grey);
    }
    const int magic2 = hls.L <= HLSMax / 2 ? (hls.L * (HLSMax + hls.S) + HLSMax / 2) / HLSMax
                                           : hls.L + hls.S - (hls.L * hls.S + HLSMax / 2) / HLSMax;
    const int magic1 = 2 * hls.L - magic2;
    auto channel = [&](int hue) {
        const int v = (HueToRGB(magic1, magic2, hue) * RGBMax + HLSMax / 2) / HLSMax;
        return static_cast<uint8_t>(std::clamp(v, 0, RGBMax));
    };
    return gfx::RGB(channel(hls.H + HLSMax / 3), channel(hls.H), channel(hls.H - HLSMax / 3));
}

} // namespace

TColor ScaleColorLuminance(TColor color, float factor) {
    THLS hls = RGBToHLS(gfx::ColorToRGB(color));
    hls.L = static_cast<int>(std::clamp<int64_t>(rtl::Round(double(hls.L) * factor), 0, HLSMax));
    return HLSToRGB(hls);
}

TColor ResolveSysColorForPrinting(TColor color) {
    switch (color) {
    case gfx::clScrollBar:
    case gfx::clBtnFace:
        return gfx::clSilver;
    case gfx::clWindow:
    case gfx::clBtnHighlight:
        return gfx::clWhite;
    case gfx::clWindowText:
        return gfx::clBlack;
    case gfx::clBtnShadow:
        return gfx::clGray;
    default:
        return color;
    }
}

TColor GetTextColorForMode(TColor color, TVDColorMode mode) {
    if (color == gfx::clNone) {
        return color;
    }
    switch (mode) {
    case vdcmColor:
        return color;
    case vdcmPrinterColor:
        return ResolveSysColorForPrinting(color);
    case vdcmGrayScale:
        return ColorToGray(ResolveSysColorForPrinting(color));
    case vdcmBlackAndWhite:
    case vdcmBlackOnWhite:
        break;
    }
    return gfx::ColorToRGB(ResolveSysColorForPrinting(color)) == uint32_t(gfx::clWhite)
               ? gfx::clWhite
               : gfx::clBlack;
}

TColor GetBackColorForMode(TColor color, TVDColorMode mode) {
    if (color == gfx::clNone) {
        return color;
    }
    switch (mode) {
    case vdcmColor:
        return color;
    case vdcmPrinterColor:
        return ResolveSysColorForPrinting(color);
    case vdcmGrayScale:
        return ColorToGray(ResolveSysColorForPrinting(color));
    case vdcmBlackAndWhite:
    case vdcmBlackOnWhite:
        break;
    }
    return gfx::clWhite;
}

uint8_t OpacityToAlpha(TVDOpacity opacity) {
    if (opacity <= 0) {
        return 0;
    }
    if (opacity >= 100000) {
        return 255;
    }
    return static_cast<uint8_t>(RoundQuotient(int64_t(opacity) * 255, 100000));
}

// ---- Numbering ----------------------------------------------------------------------------

UnicodeString IntToRoman(int32_t n) {
    if (n < 1) {
        return u"?";
    }
    static constexpr std::array<std::pair<int32_t, const char16_t *>, 13> Table = {{
        {1000, u"M"},
        {900, u"CM"},
        {500, u"D"},
        {400, u"CD"},
        {100, u"C"},
        {90, u"XC"},
        {50, u"L"},
        {40, u"XL"},
        {10, u"X"},
        {9, u"IX"},
        {5, u"V"},
        {4, u"IV"},
        {1, u"I"},
    }};
    UnicodeString result;
    for (const auto &[value, text] : Table) {
        while (n >= value) {
            result += text;
            n -= value;
        }
    }
    return result;
}

UnicodeString IntToLetters(int32_t n) {
    if (n < 1) {
        return u"?";
    }
    UnicodeString result;
    while (n > 0) {
        --n;
        result.insert(result.begin(), char16_t(u'A' + n % 26));
        n /= 26;
    }
    return result;
}

int32_t GetSubSuperScriptSize(int32_t sizePoints) {
    return static_cast<int32_t>(RoundQuotient(int64_t(sizePoints) * 2, 3));
}

int32_t GetUnderlineThickness(int32_t fontSize) {
    const int64_t size = std::llabs(int64_t(fontSize));
    return size <= 22 ? 1 : static_cast<int32_t>((size - 23) / 15 + 2);
}

// ---- Strings ------------------------------------------------------------------------------

AnsiString ExpandTabsAnsi(const AnsiString &s, int32_t n) {
    const AnsiString blanks(static_cast<size_t>(std::max(n, 0)), ' ');
    AnsiString result;
    result.reserve(s.size());
    for (char c : s) {
        if (c == '\t') {
            result += blanks;
        } else {
            result.push_back(c);
        }
    }
    return result;
}

TVDRawByteString ExpandTabsRawUnicode(const TVDRawByteString &s, int32_t n) {
    TVDRawByteString blanks;
    for (int32_t i = 0; i < n; ++i) {
        blanks += AnsiString(" \0", 2);
    }
    TVDRawByteString result;
    result.reserve(s.size());
    size_t i = 0;
    for (; i + 1 < s.size(); i += 2) {
        if (s[i] == '\t' && s[i + 1] == '\0') {
            result += blanks;
        } else {
            result.append(s, i, 2);
        }
    }
    result.append(s, i, s.size() - i);
    return result;
}

void SwapAnsiStrings(AnsiString &a, AnsiString &b) {
    a.swap(b);
}

bool IsHorizontalFontName(const UnicodeString &name) {
    return !name.empty() && name[0] != u'@';
}

// ---- Resolution and units -----------------------------------------------------------------

int32_t ScreenToDeviceX(int32_t value, const TVDScreenAndDevice &sad) {
    return gfx::MulDiv(value, sad.ppixDevice, sad.ppixScreen);
}

int32_t ScreenToDeviceY(int32_t value, const TVDScreenAndDevice &sad) {
    return gfx::MulDiv(value, sad.ppiyDevice, sad.ppiyScreen);
}

int32_t DeviceToScreenX(int32_t value, const TVDScreenAndDevice &sad) {
    return gfx::MulDiv(value, sad.ppixScreen, sad.ppixDevice);
}

int32_t DeviceToScreenY(int32_t value, const TVDScreenAndDevice &sad) {
    return gfx::MulDiv(value, sad.ppiyScreen, sad.ppiyDevice);
}

void DeviceRectToScreen(rtl::TRect &rect, const TVDScreenAndDevice &sad) {
    rect.Left = DeviceToScreenX(rect.Left, sad);
    rect.Right = DeviceToScreenX(rect.Right, sad);
    rect.Top = DeviceToScreenY(rect.Top, sad);
    rect.Bottom = DeviceToScreenY(rect.Bottom, sad);
}

long double GetUnitsPerInch(TVDUnits units) {
    switch (units) {
    case vduInches:
        return 1.0L;
    case vduCentimeters:
        return 2.54L;
    case vduMillimeters:
        return 25.4L;
    case vduPicas:
        return 6.0L;
    case vduPixels:
        return GetScreenPixelsPerInchY();
    case vduPoints:
        return 72.0L;
    }
    return 1.0L;
}

int32_t VDUnitsToTwips(TVDUnits units, TVDLength value) {
    return static_cast<int32_t>(rtl::Round(value * 1440.0L / GetUnitsPerInch(units)));
}

TVDLength TwipsToVDUnits(int32_t value, TVDUnits units) {
    return GetUnitsPerInch(units) * value / 1440.0L;
}

TVDLength ConvertVDUnits(TVDUnits fromUnits, TVDUnits toUnits, TVDLength value) {
    return value * GetUnitsPerInch(toUnits) / GetUnitsPerInch(fromUnits);
}

int32_t VDUnitsToPixelsAtPPI(TVDUnits units, int32_t ppi, TVDLength value) {
    return static_cast<int32_t>(rtl::Round(value * ppi / GetUnitsPerInch(units)));
}

// ---- Rotation -----------------------------------------------------------------------------

TXForm GetRotationXForm(TVDDocRotation rotation, int32_t x, int32_t y, int32_t width,
                        int32_t height, int32_t contentHeight, TVDVerticalAlign vAlign) {
    // The free space along the turned vertical axis, and how much of it lies before the
    // content for each alignment.
    auto shift = [&](int32_t extent) -> float {
        switch (vAlign) {
        case vdveraMiddle:
            return float(extent - contentHeight) / 2;
        case vdveraBottom:
            return float(extent - contentHeight);
        case vdveraTop:
            break;
        }
        return 0;
    };
    TXForm xf{0, 0, 0, 0, 0, 0};
    switch (rotation) {
    case vdrotNone:
        xf.eM11 = 1;
        xf.eM22 = 1;
        xf.eDy = shift(height);
        break;
    case vdrot90:
        xf.eM12 = 1;
        xf.eM21 = -1;
        xf.eDx = float(width - x - y) - shift(width);
        xf.eDy = float(x - y);
        break;
    case vdrot180:
        xf.eM11 = -1;
        xf.eM22 = -1;
        xf.eDx = float(width - 2 * x);
        xf.eDy = float(height - 2 * y) - shift(height);
        break;
    case vdrot270:
        xf.eM12 = -1;
        xf.eM21 = 1;
        xf.eDx = float(y - x) + shift(width);
        xf.eDy = float(height - x - y);
        break;
    }
    return xf;
}

bool OpenClipboardWithRetry(const std::function<void()> &open,
                            const std::function<void(int32_t)> &wait) {
    for (int32_t attempt = 1;; ++attempt) {
        try {
            open();
            return true;
        } catch (const rtl::Exception &) {
            if (attempt == 5) {
                throw;
            }
        }
        wait(250 * attempt);
    }
}

bool OpenClipboardWithRetry() {
    return OpenClipboardWithRetry(
        [] { gfx::Clipboard().Open(); },
        [](int32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); });
}

rtl::TPoint GetCursorPosOrZero() {
    try {
        const gfx::TPoint p = ui::Screen->GetCursorPos();
        return {p.X, p.Y};
    } catch (const rtl::Exception &) {
        return {0, 0};
    }
}

} // namespace vizivodu
