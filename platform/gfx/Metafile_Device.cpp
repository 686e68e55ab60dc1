// Records with a plain scaling mapping turned into records in the recording device's pixels,
// for the files we write: some readers scale neither pen widths, fonts nor block-transfer
// extents through a window and viewport, while every reader draws device units alike.
#include "platform/gfx/MetafileWriter_p.h"
#include "platform/gfx/Metafile_p.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace gfx {

namespace {

int32_t Rounded(double v) {
    return int32_t(std::clamp(std::lround(v), -2000000000L, 2000000000L));
}

// A length scaled, kept from vanishing when it was not zero.
int32_t ScaledLength(int32_t v, double scale) {
    const int32_t r = Rounded(v * scale);
    return r != 0 || v == 0 ? r : (v > 0 ? 1 : -1);
}

class TDeviceMapper {
public:
    explicit TDeviceMapper(const TAffine &map) : FMap(map) {}

    TPoint Point(TPoint p) const {
        const TPointF d = FMap.Map(double(p.X), double(p.Y));
        return {Rounded(d.X), Rounded(d.Y)};
    }
    TRect Rect(const TRect &r) const {
        const TPoint a = Point(r.TopLeft()), b = Point(r.BottomRight());
        return {std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
    }
    TMetaAttributes Attributes(TMetaAttributes a) const {
        if (a.Pen.GetWidth() > 1) { // one-pixel pens stay one pixel
            a.Pen.SetWidth(std::max(1, Rounded(a.Pen.GetWidth() * FMap.M11)));
        }
        a.Font.lfHeight = ScaledLength(a.Font.lfHeight, FMap.M22);
        a.Font.lfWidth = ScaledLength(a.Font.lfWidth, FMap.M11);
        return a;
    }
    // Advances from the rounded places of the characters, so that rounding does not add up.
    std::vector<int32_t> Advances(const std::vector<int32_t> &dx) const {
        std::vector<int32_t> out(dx.size());
        double logical = 0;
        int32_t placed = 0;
        for (size_t i = 0; i < dx.size(); ++i) {
            logical += dx[i];
            const int32_t next = Rounded(logical * FMap.M11);
            out[i] = next - placed;
            placed = next;
        }
        return out;
    }
    void Op(TCanvasOp &op) const {
        for (TPoint &p : op.Points) {
            p = Point(p);
        }
        if (op.Kind == TCanvasOpKind::ExtTextOut) {
            if (op.HasRect) {
                op.Rect = Rect(op.Rect);
            }
            op.Dx = Advances(op.Dx);
            return;
        }
        op.Rect = Rect(op.Rect);
        op.Corner = {ScaledLength(op.Corner.cx, FMap.M11), ScaledLength(op.Corner.cy, FMap.M22)};
    }

private:
    TAffine FMap;
};

// Only shifts and positive scalings nearly alike both ways go to device units (a page put
// into its margins differs by a few percent): a font stretched further keeps its mapping, as
// do turns and mirrors.
bool IsPlainScaling(const TAffine &map) {
    return map.IsAxisAligned() && map.M11 > 0 && map.M22 > 0 &&
           std::abs(map.M11 / map.M22 - 1) <= 0.05;
}

} // namespace

TMetafileRecords InDevicePixels(const TMetafileRecords &records) {
    TMetafileRecords out;
    out.Reference = records.Reference;
    out.Operations = records.Operations;
    out.Records.reserve(records.Records.size());
    TMetaAttributes attributes;
    bool haveAttributes = false;
    std::optional<TDeviceMapper> mapper{TAffine{}};
    const auto putAttributes = [&] {
        out.Records.push_back(TSetAttributes{mapper ? mapper->Attributes(attributes) : attributes});
    };
    for (const TMetaRecord &record : records.Records) {
        if (const auto *m = std::get_if<TSetMapping>(&record)) {
            const TAffine map = detail::MapOf(m->Mapping);
            if (IsPlainScaling(map)) {
                mapper.emplace(map);
                out.Records.push_back(TSetMapping{TMetaMapping{}});
            } else {
                mapper.reset();
                out.Records.push_back(record);
            }
            if (haveAttributes) { // pens and fonts follow the new scale
                putAttributes();
            }
        } else if (const auto *a = std::get_if<TSetAttributes>(&record)) {
            attributes = a->Attributes;
            haveAttributes = true;
            putAttributes();
        } else if (const auto *p = std::get_if<TSetPenPos>(&record); p && mapper) {
            out.Records.push_back(TSetPenPos{mapper->Point(p->PenPos)});
        } else if (const auto *d = std::get_if<TDrawOp>(&record); d && mapper) {
            TDrawOp op = *d;
            mapper->Op(op.Op);
            out.Records.push_back(std::move(op));
        } else {
            out.Records.push_back(record);
        }
    }
    return out;
}

} // namespace gfx
