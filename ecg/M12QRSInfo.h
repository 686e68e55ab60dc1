// One QRS descriptor of an ECG record: the stored 56-byte record and the object that holds it.
#pragma once

#include <cstdint>

namespace rtl {
class TStream;
}

namespace ecg {

// The stored form of a QRS descriptor: 56 bytes, little-endian, no gaps (every field is
// naturally aligned, so the in-memory layout equals the stored one on little-endian hosts).
struct TQRSInfo {
    std::int32_t Position;
    std::int32_t z_jst;
    std::int32_t z_ist;
    std::int32_t K_t;
    std::int16_t Length;
    std::uint8_t QRS;
    std::uint8_t klas;
    std::uint8_t Tips;
    std::uint8_t Rann;
    std::uint8_t PSign;
    std::uint8_t Pq0;
    std::int16_t dQT;
    std::int16_t QTd;
    std::int16_t al_T;
    std::uint8_t P_max;
    std::uint8_t Migr;
    std::int8_t STLevel[12];  // leads 1 to 12 at indices 0 to 11
    std::uint8_t ToLevel[12]; // leads 1 to 12 at indices 0 to 11
};

static_assert(sizeof(TQRSInfo) == 56, "TQRSInfo is a stored format of 56 bytes");

// A QRS descriptor. Created with every field 0. The record that owns it (TM12ECGObj) frees it.
class TQRSInfoObj {
public:
    // Size of the stored descriptor in bytes.
    static constexpr std::int32_t StoredSize = 56;

    TQRSInfoObj();

    std::int32_t GetPosition() const { return FData.Position; }
    void SetPosition(std::int32_t value) { FData.Position = value; }
    std::int32_t Getz_jst() const { return FData.z_jst; }
    void Setz_jst(std::int32_t value) { FData.z_jst = value; }
    std::int32_t Getz_ist() const { return FData.z_ist; }
    void Setz_ist(std::int32_t value) { FData.z_ist = value; }
    std::int32_t GetK_t() const { return FData.K_t; }
    void SetK_t(std::int32_t value) { FData.K_t = value; }
    std::int16_t GetLength() const { return FData.Length; }
    void SetLength(std::int16_t value) { FData.Length = value; }
    std::uint8_t GetQRS() const { return FData.QRS; }
    void SetQRS(std::uint8_t value) { FData.QRS = value; }
    std::uint8_t Getklas() const { return FData.klas; }
    void Setklas(std::uint8_t value) { FData.klas = value; }
    std::uint8_t GetTips() const { return FData.Tips; }
    void SetTips(std::uint8_t value) { FData.Tips = value; }
    std::uint8_t GetRann() const { return FData.Rann; }
    void SetRann(std::uint8_t value) { FData.Rann = value; }
    std::uint8_t GetPSign() const { return FData.PSign; }
    void SetPSign(std::uint8_t value) { FData.PSign = value; }
    std::uint8_t GetPq0() const { return FData.Pq0; }
    void SetPq0(std::uint8_t value) { FData.Pq0 = value; }
    std::int16_t GetdQT() const { return FData.dQT; }
    void SetdQT(std::int16_t value) { FData.dQT = value; }
    std::int16_t GetQTd() const { return FData.QTd; }
    void SetQTd(std::int16_t value) { FData.QTd = value; }
    std::int16_t Getal_T() const { return FData.al_T; }
    void Setal_T(std::int16_t value) { FData.al_T = value; }
    std::uint8_t GetP_max() const { return FData.P_max; }
    void SetP_max(std::uint8_t value) { FData.P_max = value; }
    std::uint8_t GetMigr() const { return FData.Migr; }
    void SetMigr(std::uint8_t value) { FData.Migr = value; }

    // Levels of leads 1 to 12; any other lead number reads 0 and is ignored on writing.
    std::int8_t GetSTLevel(std::uint8_t Lead) const;
    void SetSTLevel(std::uint8_t Lead, std::int8_t Value);
    std::uint8_t GetToLevel(std::uint8_t Lead) const;
    void SetToLevel(std::uint8_t Lead, std::uint8_t Value);

    // Read or write the 56 stored bytes at the stream's position. The result is 56, or 0 when
    // fewer bytes were transferred (the position has moved all the same; a short read leaves
    // the descriptor unchanged).
    std::int32_t LoadFromStreamECG(rtl::TStream &AStream);
    std::int32_t SaveToStreamECG(rtl::TStream &AStream) const;

private:
    TQRSInfo FData;
};

} // namespace ecg
