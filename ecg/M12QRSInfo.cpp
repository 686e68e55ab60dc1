// One QRS descriptor of an ECG record.
#include "ecg/M12QRSInfo.h"

#include "platform/rtl/Classes.h"

#include <bit>
#include <cstddef>
#include <cstring>

namespace ecg {

namespace {

// The stored form is little-endian; the struct has no padding, so on a little-endian host the
// bytes are the struct's own.
static_assert(std::endian::native == std::endian::little,
              "stored QRS descriptors are little-endian");
static_assert(offsetof(TQRSInfo, Length) == 16 && offsetof(TQRSInfo, dQT) == 24 &&
                  offsetof(TQRSInfo, P_max) == 30 && offsetof(TQRSInfo, STLevel) == 32 &&
                  offsetof(TQRSInfo, ToLevel) == 44,
              "TQRSInfo field offsets are the stored ones");

bool IsLevelLead(std::uint8_t lead) {
    return lead >= 1 && lead <= 12;
}

} // namespace

TQRSInfoObj::TQRSInfoObj() {
    std::memset(&FData, 0, sizeof(FData));
}

std::int8_t TQRSInfoObj::GetSTLevel(std::uint8_t Lead) const {
    return IsLevelLead(Lead) ? FData.STLevel[Lead - 1] : 0;
}

void TQRSInfoObj::SetSTLevel(std::uint8_t Lead, std::int8_t Value) {
    if (IsLevelLead(Lead)) {
        FData.STLevel[Lead - 1] = Value;
    }
}

std::uint8_t TQRSInfoObj::GetToLevel(std::uint8_t Lead) const {
    return IsLevelLead(Lead) ? FData.ToLevel[Lead - 1] : 0;
}

void TQRSInfoObj::SetToLevel(std::uint8_t Lead, std::uint8_t Value) {
    if (IsLevelLead(Lead)) {
        FData.ToLevel[Lead - 1] = Value;
    }
}

std::int32_t TQRSInfoObj::LoadFromStreamECG(rtl::TStream &AStream) {
    TQRSInfo data;
    if (AStream.Read(&data, StoredSize) != StoredSize) {
        return 0;
    }
    FData = data;
    return StoredSize;
}

std::int32_t TQRSInfoObj::SaveToStreamECG(rtl::TStream &AStream) const {
    return AStream.Write(&FData, StoredSize) == StoredSize ? StoredSize : 0;
}

} // namespace ecg
