// Internal to the platform layer: how the Qt-based implementation files of gfx and ui reach
// each other's Qt state. Qt classes are only declared here; callers include Qt themselves.
#pragma once

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/Picture.h"

#include <memory>

class QColor;
class QFont;
class QImage;
class QPainter;
class QRegion;
class QString;

namespace gfx::qt {

// Makes the process's Qt application (widgets-capable) unless one exists. Fonts, controls and
// dialogs need it; every entry point that needs it calls this first.
void EnsureApplication();

// Our UTF-16 strings and Qt's, unit for unit (unpaired surrogates and NULs kept).
QString ToQString(const rtl::UnicodeString &s);
rtl::UnicodeString FromQString(const QString &s);

QColor ToQColor(TColor color);      // opaque, system colours resolved
TColor FromQColor(const QColor &c); // $00BBGGRR
QFont ToQFont(const TFont &font);   // pixel size from Height, family resolved by fontconfig
void FromQFont(const QFont &qfont, TFont &font);

// A canvas on the painter of a paint event, limited to paintRegion (the painter's
// coordinates); the painter must stay active for the canvas's lifetime.
std::unique_ptr<TCanvas> WindowCanvas(QPainter *painter, const QRegion &paintRegion);

// The bitmap's pixels as an image over its memory (valid until the bitmap changes size), and
// new pixels for a bitmap (it takes the image's size).
QImage ImageOf(const TBitmap &bitmap);
void SetImage(TBitmap &bitmap, const QImage &image);
const QImage &ImageOf(const TPngImage &png);
void SetImage(TPngImage &png, const QImage &image);
// A copy of any picture's pixels at its own size: PNG images keep their alpha, bitmaps keep
// it only when 32-bit (as they draw); an empty picture gives a null image.
QImage ImageOfGraphic(const TGraphic &graphic);

} // namespace gfx::qt
