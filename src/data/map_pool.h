#pragma once

// The competitive map pool with the weights that decide how often a map is
// drawn for a series; the order is the draw order of the weighted walk.

#include <cstddef>
#include <cstdint>

namespace teamforge {

struct MapPoolEntry {
	const char *name;
	int32_t weight;
};

constexpr MapPoolEntry MAP_POOL[] = {
	{ "Mirage", 70 },
	{ "Nuke", 60 },
	{ "Ancient", 50 },
	{ "Dust 2", 40 },
	{ "Inferno", 30 },
	{ "Overpass", 20 },
	{ "Anubis", 10 },
};

constexpr size_t MAP_POOL_SIZE = sizeof(MAP_POOL) / sizeof(MAP_POOL[0]);

} // namespace teamforge
