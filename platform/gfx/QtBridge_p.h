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
// Registers the fonts the application brings along with fontconfig; done once, before the
// first font is resolved (EnsureApplication calls it).
void EnsureApplicationFonts();

// Our UTF-16 strings and Qt's, unit for unit (unpaired surrogates and NULs kept).
QString ToQString(const rtl::UnicodeString &s);
rtl::UnicodeString FromQString(const QString &s);

QColor ToQColor(TColor color);      // opaque, system colours resolved
TColor FromQColor(const QColor &c); // $00BBGGRR
QFont ToQFont(const TFont &font);   // pixel size from Height, family resolved by fontconfig
void FromQFont(const QFont &qfont, TFont &font);

// A canvas on an image that the caller keeps alive; the canvas begins painting lazily.
std::unique_ptr<TCanvas> CanvasOnImage(QImage *image);
// A canvas on a painter that is active for the canvas's lifetime (a control's paint event);
// paintArea is the area being painted, in the painter's coordinates.
std::unique_ptr<TCanvas> CanvasOnPainter(QPainter *painter, const TRect &paintArea);
// Narrows the canvas's clip to region (device pixels, within the surface): the area being
// painted when it is not one rectangle.
void SetClipRegion(TCanvas &canvas, const QRegion &region);
// Ends the canvas's own painter, if any, so the image underneath can be resized or read.
void EndPainting(TCanvas &canvas);

QImage &ImageOf(TBitmap &bitmap);
const QImage &ImageOf(const TBitmap &bitmap);
const QImage &ImageOf(const TPngImage &png);
void SetImage(TPngImage &png, const QImage &image);
// A copy of any picture's pixels at its own size: PNG images keep their alpha, bitmaps keep
// it only when 32-bit (as they draw); an empty picture gives a null image.
QImage ImageOfGraphic(const TGraphic &graphic);

} // namespace gfx::qt
