// Micro-tiles: the invalid parts of a bitmap kept per 32 x 32 tile as the bounding box of the
// invalid pixels, added as rectangles and thick lines, merged, and turned back into a short list
// of rectangles; and the map from layers to the tiles each one covered when last painted.
#pragma once

#include "raster/Raster_Containers.h"
#include "raster/Raster_Types.h"

#include <cstdint>
#include <vector>

namespace raster {

// One tile's invalid box in pixels relative to the tile's top-left corner, one byte each from
// the most significant: left, top, right, bottom (0..32, right and bottom exclusive). A tile
// whose left equals its right, or whose top equals its bottom, covers nothing.
using TMicroTile = uint32_t;
constexpr int32_t TileSize = 32;
constexpr int32_t TileShift = 5;
constexpr TMicroTile TileEmpty = 0;
constexpr TMicroTile TileFull = 0x00002020u;

constexpr TMicroTile MakeTile(uint32_t left, uint32_t top, uint32_t right, uint32_t bottom) {
    return (left << 24) | (top << 16) | (right << 8) | bottom;
}
constexpr uint32_t TileLeft(TMicroTile t) {
    return t >> 24;
}
constexpr uint32_t TileTop(TMicroTile t) {
    return (t >> 16) & 0xFF;
}
constexpr uint32_t TileRight(TMicroTile t) {
    return (t >> 8) & 0xFF;
}
constexpr uint32_t TileBottom(TMicroTile t) {
    return t & 0xFF;
}

// A grid of tiles over BoundsRect. For W x H pixels: Columns = W / 32 + 1, Rows = H / 32 + 1 and
// Count() = (Columns + 1) x (Rows + 1) tiles, row-major with Columns tiles per row.
// BoundsUsedTiles holds the tile indexes touched since the last clear, both ends inclusive;
// a set with no touched tile has (Columns, Rows, 0, 0). Tiles outside it are empty.
struct TMicroTiles {
    TRect BoundsRect;
    int32_t Columns = 0;
    int32_t Rows = 0;
    TRect BoundsUsedTiles;
    std::vector<TMicroTile> Tiles;

    int32_t Count() const { return int32_t(Tiles.size()); }
    TMicroTile &At(int32_t column, int32_t row) { return Tiles[size_t(column + row * Columns)]; }
    const TMicroTile &At(int32_t column, int32_t row) const {
        return Tiles[size_t(column + row * Columns)];
    }
};
using PMicroTiles = TMicroTiles *;

// Grows R by DX horizontally and DY vertically on both sides; a reversed rectangle (Right < Left
// or Bottom < Top) grows in its own direction.
void GrowArea(TRect &r, int32_t dx, int32_t dy);

// All fields 0, no tile memory. TilesFree releases the memory (and leaves the set as TilesInit).
void TilesInit(TMicroTiles &tiles);
void TilesFree(TMicroTiles &tiles);
// Sizes the grid for dstRect and empties every tile.
void TilesResize(TMicroTiles &tiles, const TRect &dstRect);
// Every tile := value; nothing is marked used.
void TilesFill(TMicroTiles &tiles, TMicroTile value);
// The used tiles := value; nothing is marked used afterwards.
void TilesFillUsed(TMicroTiles &tiles, TMicroTile value);
// Dst becomes a copy of src (its used tiles; dst's own used tiles are emptied first).
void TilesAssign(TMicroTiles &dst, const TMicroTiles &src);

// Bound routines of "Raster_MicroTiles bindings" (every variant gives the same tiles).
// TileUnion: dst grows to include src; a full dst, an empty src and a src that covers nothing
// leave dst. TilesMergeExact: TileUnion of each used tile of src into the same tile of dst (the
// sets have the same grid).
using TTileUnionProc = void (*)(TMicroTile &dst, TMicroTile src);
using TTilesMergeExactProc = void (*)(TMicroTiles &dst, const TMicroTiles &src);
extern TTileUnionProc TileUnion;
extern TTilesMergeExactProc TilesMergeExact;

// Src into dst (same grid): with wholeTiles each tile that src covers becomes full, otherwise
// exactly; dst's used bounds grow to include src's.
void TilesMerge(TMicroTiles &dst, const TMicroTiles &src, bool wholeTiles);
// Adds a rectangle (normalised when reversed, clipped to the grid); with wholeTiles every tile
// it touches becomes full.
void TilesAddRect(TMicroTiles &tiles, TRect rect, bool wholeTiles);
// Adds a line of lineWidth pixels as a chain of rectangles at most 32 pixels long along its
// major axis, each grown by 2 x lineWidth.
void TilesAddLine(TMicroTiles &tiles, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                  int32_t lineWidth, bool wholeTiles);
// The rectangles that cover the set, clipped to its BoundsRect: runs of tiles along a row with
// the same top and bottom are joined, then equal runs in successive rows. Returns their number;
// unless countOnly they are appended to dstRects.
int32_t TilesToRects(const TMicroTiles &tiles, TRectList &dstRects, bool countOnly = false,
                     bool wholeTiles = false);
int32_t TilesToRectsClipped(const TMicroTiles &tiles, TRectList &dstRects, const TRect &clip,
                            bool countOnly = false, bool wholeTiles = false);

// Map from a key (a layer) to the tile set it owns: Add gives a new key a fresh empty set;
// removing a key or clearing the map frees its sets. GetData and SetData raise
// rtl::EListError "Item not found ($0%x)" for a key that is not held.
class TMicroTilesMap : public TPointerMap {
public:
    ~TMicroTilesMap() override;
    // The address of the key's set pointer (a fresh set for a new key).
    PMicroTiles *Add(void *item);
    PMicroTiles GetData(void *item) const {
        return static_cast<PMicroTiles>(TPointerMap::GetData(item));
    }

protected:
    void *Delete(int32_t bucketIndex, int32_t itemIndex) override;
};

namespace reference {
void TileUnion(TMicroTile &dst, TMicroTile src);
void TilesMergeExact(TMicroTiles &dst, const TMicroTiles &src);
} // namespace reference

// Start-up: registry "Raster_MicroTiles bindings" with its two routines, bound.
void InitializeMicroTiles();

} // namespace raster
