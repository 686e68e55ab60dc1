// Executable resources: bitmaps, cursors and other data compiled into the program through
// Qt's resource system, found by type and by name or number as the Windows resource calls find
// them.
//
// A resource of type T and name N is the file compiled under the resource path
// "/wbres/<T>/<N>", where a number n is written "#n" and a name in upper case (names compare
// without regard to case, as Windows compares them); a name "#n" is the number n. Bitmaps
// (RT_BITMAP, "#2") are BMP files, cursors (RT_GROUP_CURSOR, "#12") CUR files with their hot
// spot. CMake's wb_add_resources adds such files to a program.
#pragma once

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/System.h"

#include <cstdint>
#include <optional>
#include <span>

namespace gfx {

// The module whose resources are searched; the program's own (the class library's
// HInstance) is the only one there is.
using HINSTANCE = uintptr_t;
inline constexpr HINSTANCE HInstance = 1;
// A found resource; 0 for none.
using HRSRC = uintptr_t;

inline constexpr uint16_t RT_CURSOR = 1;
inline constexpr uint16_t RT_BITMAP = 2;
inline constexpr uint16_t RT_ICON = 3;
inline constexpr uint16_t RT_RCDATA = 10;
inline constexpr uint16_t RT_GROUP_CURSOR = 12;

// A resource name or type: a text, or a number (MAKEINTRESOURCE).
class TResName {
public:
    TResName(const char16_t *name) : FName(name) {}
    TResName(rtl::UnicodeString name) : FName(std::move(name)) {}
    TResName(uint16_t id) : FId(id) {}

    bool IsId() const { return FId.has_value(); }
    // The form in resource paths: "#n" for a number (also for a name "#n"), else the name
    // in upper case.
    rtl::UnicodeString Key() const;
    // As messages name it: the number in decimal, else the name as given.
    rtl::UnicodeString Display() const;

private:
    rtl::UnicodeString FName;
    std::optional<uint16_t> FId;
};

// The resource, or 0 when the module has none of that type and name.
HRSRC FindResource(HINSTANCE instance, const TResName &name, const TResName &type);
// The bytes of a found resource, valid for the life of the process; empty for 0.
std::span<const uint8_t> LoadResource(HINSTANCE instance, HRSRC resource);
uint32_t SizeofResource(HINSTANCE instance, HRSRC resource);

// The class library's error for a resource that is not there: "Resource %s not found".
class EResNotFound : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

// The bitmap resource loaded into bitmap (LoadFromResourceName, LoadFromResourceID of the
// class library's bitmap). EResNotFound for a missing resource, rtl::Exception "Invalid
// bitmap" for one that is no BMP file; the bitmap is unchanged then.
void LoadBitmapResource(TBitmap &bitmap, HINSTANCE instance, const TResName &name);

// A cursor picture: 32-bit pixels whose alpha bytes are the mask, and the hot spot.
struct TCursorImage {
    TBitmap Image;
    int32_t HotX = 0;
    int32_t HotY = 0;
};
// The cursor resource (LoadCursor): nothing when it is missing or is no CUR file, as the
// system answers a null cursor.
std::optional<TCursorImage> LoadCursorResource(HINSTANCE instance, const TResName &name);

} // namespace gfx
