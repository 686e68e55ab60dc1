// The font object of canvases and controls: face name, size in points or height in logical
// units, style, colour, character set, orientation; and the logical-font record (LOGFONT)
// that a canvas selects.
#pragma once

#include "platform/gfx/Colors.h"
#include "platform/rtl/System.h"

#include <cstdint>
#include <functional>

namespace gfx {

enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// A set of font styles.
class TFontStyles {
public:
    constexpr TFontStyles() = default;
    constexpr TFontStyles(std::initializer_list<TFontStyle> styles) {
        for (TFontStyle s : styles) {
            FBits |= uint8_t(1u << s);
        }
    }
    constexpr bool Contains(TFontStyle s) const { return (FBits >> s) & 1u; }
    constexpr TFontStyles &Include(TFontStyle s) {
        FBits |= uint8_t(1u << s);
        return *this;
    }
    constexpr TFontStyles &Exclude(TFontStyle s) {
        FBits &= uint8_t(~(1u << s));
        return *this;
    }
    constexpr bool Empty() const { return FBits == 0; }
    friend constexpr bool operator==(TFontStyles, TFontStyles) = default;

private:
    uint8_t FBits = 0;
};

using TFontCharset = uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
constexpr TFontCharset RUSSIAN_CHARSET = 204;

enum TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };

// Pixels per logical inch of the screen; text sizes in points convert with it.
constexpr int ScreenPixelsPerInch = 96;

enum : int32_t { FW_NORMAL = 400, FW_BOLD = 700 };
enum : uint8_t { DEFAULT_QUALITY = 0, DRAFT_QUALITY = 1, PROOF_QUALITY = 2 };

// A logical font as GDI takes it. lfHeight < 0: the em height, > 0: the cell height (ascent
// plus descent), 0: a default height, all in logical units of the canvas. lfWidth 0 keeps the
// face's proportions, otherwise it is the average character width. Escapement and orientation
// are tenths of a degree counter-clockwise. Only the first 31 characters of the face name count.
struct TLogFont {
    int32_t lfHeight = 0;
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = FW_NORMAL;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 1;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = DEFAULT_QUALITY;
    uint8_t lfPitchAndFamily = 0;
    rtl::UnicodeString lfFaceName;
    friend bool operator==(const TLogFont &, const TLogFont &) = default;
};

// Default: "Tahoma", 8 points, clWindowText, DEFAULT_CHARSET, no style.
// Size and Height describe one value: Height = -MulDiv(Size, PixelsPerInch, 72); a negative
// Height is the character height without internal leading, a positive one the cell height.
// Every setter that changes something calls OnChange.
class TFont {
public:
    TFont();
    TFont(const TFont &other);
    TFont &operator=(const TFont &other); // copies the attributes, not OnChange
    // Same as operator=; the class library's name.
    void Assign(const TFont &other) { *this = other; }

    const rtl::UnicodeString &GetName() const { return FName; }
    void SetName(const rtl::UnicodeString &name);
    int32_t GetSize() const;
    void SetSize(int32_t points);
    int32_t GetHeight() const { return FHeight; }
    void SetHeight(int32_t height);
    TFontStyles GetStyle() const { return FStyle; }
    void SetStyle(TFontStyles style);
    TColor GetColor() const { return FColor; }
    void SetColor(TColor color);
    TFontCharset GetCharset() const { return FCharset; }
    void SetCharset(TFontCharset charset);
    TFontPitch GetPitch() const { return FPitch; }
    void SetPitch(TFontPitch pitch);
    int32_t GetPixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int32_t ppi);
    // Escapement and orientation together, tenths of a degree counter-clockwise.
    int32_t GetOrientation() const { return FEscapement; }
    void SetOrientation(int32_t tenths);
    uint8_t GetQuality() const { return FQuality; }
    void SetQuality(uint8_t quality);

    // The logical font of these attributes; SetLogFont takes every field of one (the weight
    // decides fsBold at 600 and above; width, orientation and weight are kept as given).
    TLogFont GetLogFont() const;
    // The same into lf, whose buffers are reused (a canvas refreshes its font on every change).
    void GetLogFont(TLogFont &lf) const;
    void SetLogFont(const TLogFont &font);

    bool SameAs(const TFont &other) const; // equal attributes

    std::function<void()> OnChange;

private:
    void Changed();

    rtl::UnicodeString FName;
    int32_t FHeight;
    int32_t FPixelsPerInch = ScreenPixelsPerInch;
    TFontStyles FStyle;
    TColor FColor;
    TFontCharset FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = fpDefault;
    int32_t FEscapement = 0;
    int32_t FOrientation = 0;
    int32_t FWidth = 0;
    int32_t FWeight = FW_NORMAL;
    uint8_t FQuality = DEFAULT_QUALITY;
};

// Multiplies then divides with rounding half away from zero, as the Windows MulDiv.
int32_t MulDiv(int32_t number, int32_t numerator, int32_t denominator);

} // namespace gfx
