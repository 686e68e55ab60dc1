// Cursor numbers to Qt cursor shapes, and the screen's cursor as Qt's override cursor.
#include "platform/ui/Cursors.h"

#include "platform/gfx/QtBridge_p.h"
#include "platform/ui/QtBridge_p.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

#include <array>
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

} // namespace

TScreen *const Screen = &TheScreen;

namespace qt {

void ApplyCursor(QWidget &widget, TCursor cursor) {
    if (cursor == crDefault) {
        widget.unsetCursor();
    } else {
        widget.setCursor(CursorShape(cursor));
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
        QApplication::setOverrideCursor(QCursor(CursorShape(cursor)));
    } else {
        QApplication::changeOverrideCursor(QCursor(CursorShape(cursor)));
    }
}

} // namespace ui
