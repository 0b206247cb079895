#pragma once

#include "picture.h"

// The levels' textures, drawn from a few patterns.

namespace gen {

// Square tiles with grout lines, each tile's shade varying a little.
Picture Tiles(int size, int tiles, Rgb tile, Rgb grout, uint32_t seed);
// Upright panels with a rail along the bottom, lit from above.
Picture Panels(int size, Rgb panel, Rgb rail, uint32_t seed);
// Concrete: grain, stains and a few cracks.
Picture Concrete(int size, Rgb base, uint32_t seed);
// Corrugated sheet metal: vertical ribs.
Picture Corrugated(int size, Rgb base, uint32_t seed);
// Wooden crate: planks in a frame with a cross brace.
Picture Crate(int size, uint32_t seed);
// Yellow and black stripes.
Picture Hazard(int size);
// A stair tread: ribbed steel with a yellow nosing along its top edge.
Picture Tread(int size);
// A glowing light panel.
Picture LightPanel(int size, Rgb glow);
// Steel grating.
Picture Grating(int size, Rgb base);

}  // namespace gen
