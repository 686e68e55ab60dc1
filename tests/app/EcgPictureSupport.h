// Shared helpers of the ECG picture tests: pixel queries, reading raw leads, golden images.
#pragma once

#include "app/UECGDrawing.h"
#include "ecg/UEDFImportHelper.h"
#include "platform/gfx/Bitmap.h"
#include "raster/Raster.h"
#include "tests/support/GoldenImage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace ecgtest {

inline uint32_t Brightness(raster::TColor32 c) {
    return raster::RedComponent(c) + raster::GreenComponent(c) + raster::BlueComponent(c);
}

inline int32_t CountColor(const raster::TBitmap32 &b, raster::TColor32 c) {
    int32_t n = 0;
    for (int32_t y = 0; y < b.GetHeight(); ++y) {
        for (int32_t x = 0; x < b.GetWidth(); ++x) {
            n += b.GetPixel(x, y) == c ? 1 : 0;
        }
    }
    return n;
}

// Bounds of the text-white pixels (every channel above 200) inside r; empty when none.
inline raster::TRect BoundsOfBright(const raster::TBitmap32 &b, const raster::TRect &r) {
    raster::TRect out{r.Right, r.Bottom, r.Left, r.Top};
    bool any = false;
    for (int32_t y = std::max(r.Top, 0); y < std::min(r.Bottom, b.GetHeight()); ++y) {
        for (int32_t x = std::max(r.Left, 0); x < std::min(r.Right, b.GetWidth()); ++x) {
            const raster::TColor32 c = b.GetPixel(x, y);
            if (raster::RedComponent(c) > 200 && raster::GreenComponent(c) > 200 &&
                raster::BlueComponent(c) > 200) {
                any = true;
                out = {std::min(out.Left, x), std::min(out.Top, y), std::max(out.Right, x + 1),
                       std::max(out.Bottom, y + 1)};
            }
        }
    }
    return any ? out : raster::TRect{};
}

// The raw leads of a recording as the viewer copies them from its record.
inline workbench::TLeadData ReadRawLeads(const char *path) {
    ecg::TEDFImportHelper reader;
    reader.readEDF(rtl::UnicodeString(std::filesystem::path(path).u16string()));
    auto record = reader.getM12ECG();
    const int32_t length = int32_t(record->GetLenghtECGSec()) * record->GetFrequency();
    workbench::TLeadData leads(record->GetLeadsCount(), std::vector<int16_t>(size_t(length)));
    for (size_t l = 0; l < leads.size(); ++l) {
        for (int32_t j = 0; j < length; ++j) {
            leads[l][size_t(j)] = record->GetECG(uint8_t(l + 1), j + 1);
        }
    }
    return leads;
}

inline gfx::TBitmap ToPicture(const raster::TBitmap32 &b) {
    gfx::TBitmap pic(b.GetWidth(), b.GetHeight());
    for (int32_t y = 0; y < b.GetHeight(); ++y) {
        uint32_t *row = pic.ScanLine(y);
        for (int32_t x = 0; x < b.GetWidth(); ++x) {
            row[x] = b.GetPixel(x, y) | 0xFF000000u; // shown ignoring alpha
        }
    }
    return pic;
}

// Compares the picture with the golden tests/data/golden/app/<name>; the caption bars at both
// sides hold the lead captions, the picture's only text.
inline void ExpectMatchesGolden(const raster::TBitmap32 &b, const std::string &name) {
    const int32_t bar = workbench::kLeadCaptionsBarWidth;
    wbtest::ExpectMatchesGolden(
        ToPicture(b), "app/" + name,
        {{0, 0, bar, b.GetHeight()}, {b.GetWidth() - bar, 0, b.GetWidth(), b.GetHeight()}});
}

} // namespace ecgtest
