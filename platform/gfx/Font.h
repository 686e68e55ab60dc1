// The font object of canvases and controls: face name, size in points or height in pixels,
// style, colour and character set.
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
};

// Multiplies then divides with rounding half away from zero, as the Windows MulDiv.
int32_t MulDiv(int32_t number, int32_t numerator, int32_t denominator);

} // namespace gfx
