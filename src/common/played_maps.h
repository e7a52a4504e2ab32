#pragma once

// The maps of a series as the simulator played them, kept as plain values, and the map reports that
// scripts read: in the simulator's report and in a match's saved details.

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace teamforge {

struct PlayedMap {
	// Into MAP_POOL.
	size_t map_index = 0;
	int32_t score_a = 0;
	int32_t score_b = 0;
	int32_t overtime_count = 0;
	// 'A' or 'B' per round, in play order.
	std::string rounds;
};

using PlayedMaps = std::vector<PlayedMap>;

// The simulator's report shows each round history as one array under both of its keys; a save holds an
// array of its own under each key.
enum class RoundHistories {
	SHARED,
	SEPARATE,
};

// One new report per map, in play order.
godot::Array map_reports(const PlayedMaps &p_maps, RoundHistories p_histories);
// The map's name as an engine value, built once.
const godot::Variant &map_name(size_t p_map_index);

} // namespace teamforge
