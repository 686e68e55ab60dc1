// Cursor numbers to Qt cursor shapes or the screen's own pictures, and the screen's cursor as
// Qt's override cursor.
#include "platform/ui/Cursors.h"

#include "platform/gfx/QtBridge_p.h"
#include "platform/ui/QtBridge_p.h"

#include "platform/gfx/Bitmap.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <array>
#include <map>
#include <utility>

namespace ui {

namespace {

TScreen TheScreen;

// Stock cursors by number, from crNone (-1) down to crSizeAll (-22); -5 has none of its own.
constexpr std::array<Qt::CursorShape, 22> kStockShapes = {
    Qt::BlankCursor,        Qt::ArrowCursor,     Qt::CrossCursor,   Qt::IBeamCursor,
    Qt::SizeAllCursor,      Qt::SizeBDiagCursor, Qt::SizeVerCursor, Qt::SizeFDiagCursor,
    Qt::SizeHorCursor,      Qt::UpArrowCursor,   Qt::WaitCursor,    Qt::DragMoveCursor,
    Qt::ForbiddenCursor,    Qt::SplitHCursor,    Qt::SplitVCursor,  Qt::DragCopyCursor,
    Qt::WaitCursor,         Qt::ForbiddenCursor, Qt::BusyCursor,    Qt::WhatsThisCursor,
    Qt::PointingHandCursor, Qt::SizeAllCursor,
};

Qt::CursorShape CursorShape(TCursor cursor) {
    if (cursor < 0 && -cursor <= int(kStockShapes.size())) {
        return kStockShapes[size_t(-cursor - 1)];
    }
    return Qt::ArrowCursor;
}

// The screen's own pictures; kept as images (not cursors) so that nothing of the windowing
// system outlives the application object at exit.
struct TCursorImage {
    QImage Image;
    int HotX = 0, HotY = 0;
};

std::map<TCursor, TCursorImage> &OwnCursors() {
    static std::map<TCursor, TCursorImage> images;
    return images;
}

QCursor CursorOf(TCursor cursor) {
    const auto it = cursor > 0 ? OwnCursors().find(cursor) : OwnCursors().end();
    if (it != OwnCursors().end()) {
        return QCursor(QPixmap::fromImage(it->second.Image), it->second.HotX, it->second.HotY);
    }
    return QCursor(CursorShape(cursor));
}

} // namespace

TScreen *const Screen = &TheScreen;

namespace qt {

void ApplyCursor(QWidget &widget, TCursor cursor) {
    if (cursor == crDefault) {
        widget.unsetCursor();
    } else {
        widget.setCursor(CursorOf(cursor));
    }
}

} // namespace qt

void TScreen::SetCursor(TCursor cursor) {
    if (cursor == FCursor) {
        return;
    }
    gfx::qt::EnsureApplication();
    const TCursor old = std::exchange(FCursor, cursor);
    if (cursor == crDefault) {
        QApplication::restoreOverrideCursor();
    } else if (old == crDefault) {
        QApplication::setOverrideCursor(CursorOf(cursor));
    } else {
        QApplication::changeOverrideCursor(CursorOf(cursor));
    }
}

void TScreen::SetCursorImage(TCursor cursor, const gfx::TBitmap &image, int32_t hotX,
                             int32_t hotY) {
    if (cursor <= 0 || image.Empty()) {
        return;
    }
    // The words are $AARRGGBB: the alpha byte is the mask.
    const QImage shared(reinterpret_cast<const uchar *>(image.ScanLine(0)), image.GetWidth(),
                        image.GetHeight(), image.StrideBytes(), QImage::Format_ARGB32);
    OwnCursors()[cursor] = {shared.copy(), hotX, hotY};
}

bool TScreen::HasCursorImage(TCursor cursor) const {
    return OwnCursors().contains(cursor);
}

gfx::TPoint TScreen::GetCursorPos() const {
    gfx::qt::EnsureApplication();
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

} // namespace ui
