// Saving a document file through a temporary file beside it, renamed over the name at the end.
#pragma once

#include "platform/rtl/System.h"

#include <functional>

namespace rtl {
class TStream;
}

namespace vizivodu {

// Calls write with a stream on a new temporary file in fileName's folder; when write answers
// true and the file is closed, renames it over fileName. On any failure (write answering false,
// an rtl::Exception, a failed rename) the temporary file is removed and an existing file of
// that name is left as it was; false then.
bool SaveFileSafely(const rtl::UnicodeString &fileName,
                    const std::function<bool(rtl::TStream &)> &write);

} // namespace vizivodu
