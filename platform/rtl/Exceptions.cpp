// The base exception keeps a UTF-8 copy of its message for what().
#include "platform/rtl/Exceptions.h"

#include <utility>

namespace rtl {

Exception::Exception(UnicodeString message)
    : FMessage(std::move(message)), FUtf8(Utf16ToUtf8(FMessage)) {}

Exception::Exception(std::string_view utf8Message)
    : FMessage(Utf8ToUtf16(utf8Message)), FUtf8(utf8Message) {}

void Exception::SetMessage(UnicodeString message) {
    FMessage = std::move(message);
    FUtf8 = Utf16ToUtf8(FMessage);
}

} // namespace rtl
