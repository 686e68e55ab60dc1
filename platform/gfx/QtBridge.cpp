// Conversions between our strings and Qt's, shared by the gfx and ui implementation files.
#include "platform/gfx/QtBridge_p.h"

#include <QString>

namespace gfx::qt {

// Not QString::fromUtf16: it drops a leading byte-order mark as a signature.
QString ToQString(const rtl::UnicodeString &s) {
    return QString(reinterpret_cast<const QChar *>(s.data()), qsizetype(s.size()));
}

rtl::UnicodeString FromQString(const QString &s) {
    return rtl::UnicodeString(reinterpret_cast<const char16_t *>(s.utf16()), size_t(s.size()));
}

} // namespace gfx::qt
