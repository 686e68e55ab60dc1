// Processor variants of the tile union and the exact merge of tile sets.
#pragma once

#include "raster/Raster_MicroTiles.h"

namespace raster::detail {

void TileUnion_SSE2(TMicroTile &dst, TMicroTile src);
void TilesMergeExact_SSE2(TMicroTiles &dst, const TMicroTiles &src);

} // namespace raster::detail
