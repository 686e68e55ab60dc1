// Micro-tiles: tile sets, adding areas, merging, rectangles from tiles, and the layer map.
#include "raster/Raster_MicroTiles.h"

#include "raster/Raster_Bindings.h"
#include "raster/Raster_LowLevel.h"
#include "raster/Raster_MicroTiles_p.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace raster {

namespace {

constexpr TRect NoUsedTiles(const TMicroTiles &t) {
    return {t.Columns, t.Rows, 0, 0};
}

bool Covers(TMicroTile t) {
    return TileLeft(t) != TileRight(t) && TileTop(t) != TileBottom(t);
}

void IncludeUsed(TMicroTiles &tiles, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    TRect &u = tiles.BoundsUsedTiles;
    u = {std::min(u.Left, left), std::min(u.Top, top), std::max(u.Right, right),
         std::max(u.Bottom, bottom)};
}

// The used bounds restricted to the grid's own columns and rows; empty (Right < Left) when none.
TRect UsedInGrid(const TMicroTiles &t) {
    const TRect &u = t.BoundsUsedTiles;
    return {std::max(u.Left, 0), std::max(u.Top, 0), std::min(u.Right, t.Columns - 1),
            std::min(u.Bottom, t.Rows - 1)};
}

} // namespace

namespace reference {

void TileUnion(TMicroTile &dst, TMicroTile src) {
    if (dst == TileFull || src == TileEmpty || !Covers(src)) {
        return;
    }
    if (dst != TileEmpty && src != TileFull) {
        dst = MakeTile(std::min(TileLeft(dst), TileLeft(src)), std::min(TileTop(dst), TileTop(src)),
                       std::max(TileRight(dst), TileRight(src)),
                       std::max(TileBottom(dst), TileBottom(src)));
    } else {
        dst = src;
    }
}

void TilesMergeExact(TMicroTiles &dst, const TMicroTiles &src) {
    const TRect u = UsedInGrid(src);
    for (int32_t y = u.Top; y <= u.Bottom; ++y) {
        for (int32_t x = u.Left; x <= u.Right; ++x) {
            raster::TileUnion(dst.At(x, y), src.At(x, y));
        }
    }
}

} // namespace reference

TTileUnionProc TileUnion = reference::TileUnion;
TTilesMergeExactProc TilesMergeExact = reference::TilesMergeExact;

void GrowArea(TRect &r, int32_t dx, int32_t dy) {
    if (r.Right < r.Left) {
        dx = -dx;
    }
    if (r.Bottom < r.Top) {
        dy = -dy;
    }
    r.Left -= dx;
    r.Top -= dy;
    r.Right += dx;
    r.Bottom += dy;
}

void TilesInit(TMicroTiles &tiles) {
    tiles = TMicroTiles{};
}

void TilesFree(TMicroTiles &tiles) {
    tiles = TMicroTiles{};
}

void TilesResize(TMicroTiles &tiles, const TRect &dstRect) {
    tiles.BoundsRect = dstRect;
    tiles.Columns = int32_t(uint32_t(dstRect.Width()) >> TileShift) + 1;
    tiles.Rows = int32_t(uint32_t(dstRect.Height()) >> TileShift) + 1;
    tiles.Tiles.assign(size_t(tiles.Columns + 1) * size_t(tiles.Rows + 1), TileEmpty);
    TilesFill(tiles, TileEmpty);
}

void TilesFill(TMicroTiles &tiles, TMicroTile value) {
    tiles.BoundsUsedTiles = NoUsedTiles(tiles);
    FillDWords(tiles.Tiles.data(), tiles.Count(), value);
}

void TilesFillUsed(TMicroTiles &tiles, TMicroTile value) {
    const TRect u = tiles.Count() > 0 ? UsedInGrid(tiles) : TRect{0, 0, -1, -1};
    for (int32_t y = u.Top; y <= u.Bottom; ++y) {
        FillDWords(&tiles.At(u.Left, y), u.Right - u.Left + 1, value);
    }
    tiles.BoundsUsedTiles = NoUsedTiles(tiles);
}

void TilesAssign(TMicroTiles &dst, const TMicroTiles &src) {
    if (dst.Count() > 0) {
        TilesFillUsed(dst, TileEmpty);
    }
    dst.BoundsRect = src.BoundsRect;
    dst.Columns = src.Columns;
    dst.Rows = src.Rows;
    dst.BoundsUsedTiles = src.BoundsUsedTiles;
    dst.Tiles.resize(src.Tiles.size(), TileEmpty);
    const TRect u = UsedInGrid(src);
    for (int32_t y = u.Top; y <= u.Bottom; ++y) {
        MoveDWords(&src.At(u.Left, y), &dst.At(u.Left, y), u.Right - u.Left + 1);
    }
}

void TilesMerge(TMicroTiles &dst, const TMicroTiles &src, bool wholeTiles) {
    if (src.Count() == 0) {
        return;
    }
    if (wholeTiles) {
        const TRect u = UsedInGrid(src);
        for (int32_t y = u.Top; y <= u.Bottom; ++y) {
            for (int32_t x = u.Left; x <= u.Right; ++x) {
                if (Covers(src.At(x, y))) {
                    dst.At(x, y) = TileFull;
                }
            }
        }
    } else {
        TilesMergeExact(dst, src);
    }
    const TRect &s = src.BoundsUsedTiles;
    IncludeUsed(dst, s.Left, s.Top, s.Right, s.Bottom);
}

namespace {

// Unites one tile with (l, t, r, b); tiles past the grid's last column or row only ever receive
// boxes that cover nothing, so they are left alone.
void UniteTile(TMicroTiles &tiles, int32_t column, int32_t row, uint32_t l, uint32_t t, uint32_t r,
               uint32_t b) {
    if (column < tiles.Columns && row < tiles.Rows) {
        TileUnion(tiles.At(column, row), MakeTile(l, t, r, b));
    }
}

// The box a tile of the rectangle's tile range receives: the rectangle's own edge on the
// range's first and last column and row, the tile's edge elsewhere.
void AddRectTiles(TMicroTiles &tiles, const TRect &r, int32_t sx, int32_t sy, int32_t ex,
                  int32_t ey) {
    const uint32_t lx = uint32_t(r.Left) & 31, ty = uint32_t(r.Top) & 31;
    const uint32_t rx = uint32_t(r.Right) & 31, by = uint32_t(r.Bottom) & 31;
    for (int32_t y = sy; y <= ey; ++y) {
        const uint32_t top = y == sy ? ty : 0;
        const uint32_t bottom = y == ey ? by : 32;
        for (int32_t x = sx; x <= ex; ++x) {
            const uint32_t left = x == sx ? lx : 0;
            const uint32_t right = x == ex ? rx : 32;
            if (left == 0 && top == 0 && right == 32 && bottom == 32) {
                if (x < tiles.Columns && y < tiles.Rows) {
                    tiles.At(x, y) = TileFull;
                }
            } else {
                UniteTile(tiles, x, y, left, top, right, bottom);
            }
        }
    }
}

} // namespace

void TilesAddRect(TMicroTiles &tiles, TRect rect, bool wholeTiles) {
    if (tiles.Count() == 0) {
        return;
    }
    if (rect.Left > rect.Right) {
        std::swap(rect.Left, rect.Right);
    }
    if (rect.Top > rect.Bottom) {
        std::swap(rect.Top, rect.Bottom);
    }
    rect.Left = std::max(rect.Left, 0);
    rect.Top = std::max(rect.Top, 0);
    rect.Right = std::min(rect.Right, tiles.Columns * TileSize);
    rect.Bottom = std::min(rect.Bottom, tiles.Rows * TileSize);
    if (rect.Right < rect.Left || rect.Top > rect.Bottom) {
        return;
    }
    const int32_t sx = rect.Left >> TileShift, sy = rect.Top >> TileShift;
    const int32_t ex = rect.Right >> TileShift, ey = rect.Bottom >> TileShift;
    if (wholeTiles) {
        // Only the grid's own tiles: a rectangle that ends on the grid's far edge names the
        // column (or row) past it, which is no tile of this grid.
        for (int32_t y = sy; y <= std::min(ey, tiles.Rows - 1); ++y) {
            for (int32_t x = sx; x <= std::min(ex, tiles.Columns - 1); ++x) {
                tiles.At(x, y) = TileFull;
            }
        }
    } else {
        AddRectTiles(tiles, rect, sx, sy, ex, ey);
    }
    IncludeUsed(tiles, sx, sy, ex, ey);
}

void TilesAddLine(TMicroTiles &tiles, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                  int32_t lineWidth, bool wholeTiles) {
    const int32_t lw = 2 * lineWidth;
    const int64_t dx64 = int64_t(x2) - x1, dy64 = int64_t(y2) - y1;
    // An extent beyond the 16.16 range gets its bounding box: more than the line, never less.
    constexpr int64_t kMaxExtent = 32767;
    if (dx64 == 0 || dy64 == 0 || std::abs(dx64) > kMaxExtent || std::abs(dy64) > kMaxExtent) {
        TRect r{x1, y1, x2, y2};
        GrowArea(r, lw, lw);
        TilesAddRect(tiles, r, wholeTiles);
        return;
    }
    const int32_t sx = dx64 < 0 ? -1 : 1, sy = dy64 < 0 ? -1 : 1;
    const int32_t dx = int32_t(std::abs(dx64)), dy = int32_t(std::abs(dy64));
    const bool xMajor = dx >= dy;
    // The chain runs in 16.16 fixed point: N major steps of 32 pixels (the last may overshoot
    // the end point), the minor axis advancing by its extent over N per step.
    const TFixed n = FixedFromInt(xMajor ? dx : dy) / TileSize;
    const TFixed minorStep = FixedQuotient(FixedFromInt(xMajor ? dy : dx), n);
    const TFixed stepX = (xMajor ? FixedFromInt(TileSize) : minorStep) * sx;
    const TFixed stepY = (xMajor ? minorStep : FixedFromInt(TileSize)) * sy;
    TFixed cx = FixedFromInt(x1), cy = FixedFromInt(y1);
    const int32_t steps = FixedToIntCeil(n);
    for (int32_t i = 0; i < steps; ++i) {
        const TFixed nx = cx + stepX, ny = cy + stepY;
        TRect r{FixedToIntRound(cx), FixedToIntRound(cy), FixedToIntRound(nx), FixedToIntRound(ny)};
        GrowArea(r, lw, lw);
        TilesAddRect(tiles, r, wholeTiles);
        cx = nx;
        cy = ny;
    }
}

int32_t TilesToRects(const TMicroTiles &tiles, TRectList &dstRects, bool countOnly, bool) {
    return TilesToRectsClipped(tiles, dstRects, tiles.BoundsRect, countOnly, false);
}

namespace {

// Turns the tiles into rectangles row by row; each run of joined tiles in a row extends the
// rectangle that ended just above its first tile when that one has the same left and right.
class TRectsFromTiles {
public:
    TRectsFromTiles(const TMicroTiles &tiles, const TRect &clip, bool wholeTiles)
        : FTiles(tiles), FClip(clip), FWhole(wholeTiles),
          FBelow(size_t(tiles.Columns) * size_t(tiles.Rows), -1) {}

    void Run() {
        const TRect u = UsedInGrid(FTiles);
        for (int32_t row = u.Top; row <= u.Bottom; ++row) {
            for (int32_t c = u.Left; c <= u.Right; ++c) {
                if (Tile(c, row) != TileEmpty) {
                    c = AddRun(c, row, u.Right);
                }
            }
        }
    }
    std::vector<TRect> Rects;

private:
    TMicroTile Tile(int32_t c, int32_t row) const {
        const TMicroTile t = FTiles.At(c, row);
        return FWhole && t != TileEmpty ? TileFull : t;
    }

    // The run starting at column c; returns its last column.
    int32_t AddRun(int32_t c, int32_t row, int32_t lastColumn) {
        const TMicroTile t = Tile(c, row);
        const TRect rt{c * TileSize + int32_t(TileLeft(t)), row * TileSize + int32_t(TileTop(t)), 0,
                       row * TileSize + int32_t(TileBottom(t))};
        int32_t last = c;
        TMicroTile lastTile = t;
        if (TileRight(t) == uint32_t(TileSize)) {
            while (last < lastColumn) {
                const TMicroTile next = Tile(last + 1, row);
                if (next == TileEmpty || TileLeft(next) != 0 || TileTop(next) != TileTop(t) ||
                    TileBottom(next) != TileBottom(t)) {
                    break;
                }
                ++last;
                lastTile = next;
            }
        }
        const TRect r{
            std::clamp(rt.Left, FClip.Left, FClip.Right),
            std::clamp(rt.Top, FClip.Top, FClip.Bottom),
            std::clamp(last * TileSize + int32_t(TileRight(lastTile)), FClip.Left, FClip.Right),
            std::clamp(rt.Bottom, FClip.Top, FClip.Bottom)};
        Store(c, row, r);
        return last;
    }

    void Store(int32_t c, int32_t row, const TRect &r) {
        int32_t &above = FBelow[size_t(c + row * FTiles.Columns)];
        int32_t index;
        if (above >= 0 && Rects[size_t(above)].Left == r.Left &&
            Rects[size_t(above)].Right == r.Right && Rects[size_t(above)].Bottom == r.Top) {
            Rects[size_t(above)].Bottom = r.Bottom;
            index = above;
        } else {
            Rects.push_back(r);
            index = int32_t(Rects.size()) - 1;
        }
        if (row < FTiles.Rows - 1) {
            FBelow[size_t(c + (row + 1) * FTiles.Columns)] = index;
        }
    }

    const TMicroTiles &FTiles;
    TRect FClip;
    bool FWhole;
    std::vector<int32_t> FBelow; // per tile: the rectangle that ends right above it, or -1
};

} // namespace

int32_t TilesToRectsClipped(const TMicroTiles &tiles, TRectList &dstRects, const TRect &clip,
                            bool countOnly, bool wholeTiles) {
    const TRect &u = tiles.BoundsUsedTiles;
    if (tiles.Count() == 0 || u.Right < u.Left || u.Bottom < u.Top) {
        return 0;
    }
    TRectsFromTiles builder(tiles, clip, wholeTiles);
    builder.Run();
    if (!countOnly) {
        for (const TRect &r : builder.Rects) {
            dstRects.Add(r);
        }
    }
    return int32_t(builder.Rects.size());
}

// ---- The layer map ----------------------------------------------------------------------

TMicroTilesMap::~TMicroTilesMap() {
    Clear(); // here, while Delete still frees the sets
}

PMicroTiles *TMicroTilesMap::Add(void *item) {
    bool isNew = false;
    PPData data = TPointerMap::Add(item, nullptr, isNew);
    if (isNew) {
        *data = new TMicroTiles(); // owned by the map from here; freed by Delete
    }
    return reinterpret_cast<PMicroTiles *>(data);
}

void *TMicroTilesMap::Delete(int32_t bucketIndex, int32_t itemIndex) {
    void *data = TPointerMap::Delete(bucketIndex, itemIndex);
    std::unique_ptr<TMicroTiles> owned(static_cast<PMicroTiles>(data));
    return nullptr;
}

void InitializeMicroTiles() {
    TFunctionRegistry *r = NewRegistry("Raster_MicroTiles bindings");
    r->RegisterBinding(0, &TileUnion);
    r->RegisterBinding(1, &TilesMergeExact);
    r->Add(0, reference::TileUnion, NoCPUFeatures);
    r->Add(1, reference::TilesMergeExact, NoCPUFeatures);
    r->Add(0, detail::TileUnion_SSE2, CPUFeature(ciSSE2));
    r->Add(1, detail::TilesMergeExact_SSE2, CPUFeature(ciSSE2));
    r->RebindAll();
}

} // namespace raster
