// The fixed texts of the document model's errors (raised as EViziVoduError).
#pragma once

#include "vizivodu/styles/VDStyle_Types.h"

#include <cstddef>

namespace vizivodu {

namespace errmsg {
inline constexpr const char16_t *UnicodeOperation = u"Can't perform Unicode operation";
inline constexpr const char16_t *WrongItemClass =
    u"Can't get or set this kind of information for this item";
inline constexpr const char16_t *ItemIndexOutOfBounds = u"Item index is out of bounds";
inline constexpr const char16_t *InvalidCheckpointIndex = u"Invalid checkpoint index - %d";
inline constexpr const char16_t *InvalidCheckpointData = u"Invalid checkpoint data";
inline constexpr const char16_t *NilParameter = u"Parameter can't be NIL";
inline constexpr const char16_t *CheckpointExists = u"Checkpoint already exists";
inline constexpr const char16_t *ItemTypeRegistered =
    u"Can't register ViziVodu item type - this StyleNo is already registered";
inline constexpr const char16_t *ComparePositions =
    u"Error when comparing positions in the document";
inline constexpr const char16_t *InternalPrinting = u"Internal printing error";
inline constexpr const char16_t *MarkerDrawItem = u"Incorrect drawing item type for a marker";
inline constexpr const char16_t *InvalidVDF = u"Invalid VDF format";
} // namespace errmsg

// EViziVoduError "Can't perform Unicode operation".
[[noreturn]] void RaiseUnicodeOperationError();

// Raw UTF-16 text must have an even byte length: raises the Unicode-operation error otherwise.
inline void CheckUnicodeByteLength(size_t byteLength) {
    if (byteLength % 2 != 0) {
        RaiseUnicodeOperationError();
    }
}

} // namespace vizivodu
