#include "common/played_maps.h"

#include "common/dictionary_keys.h"
#include "data/map_pool.h"

#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/string.hpp>

namespace teamforge {

namespace {

godot::Array round_history(const PlayedMap &p_map) {
	const godot::Variant &round_a = TF_KEY("A");
	const godot::Variant &round_b = TF_KEY("B");
	godot::Array history;
	const int64_t rounds = static_cast<int64_t>(p_map.rounds.size());
	history.resize(rounds);
	for (int64_t i = 0; i < rounds; i++) {
		history[i] = p_map.rounds[static_cast<size_t>(i)] == 'A' ? round_a : round_b;
	}
	return history;
}

godot::Dictionary map_report(const PlayedMap &p_map, RoundHistories p_histories) {
	const godot::Variant &name = map_name(p_map.map_index);
	const godot::Array history = round_history(p_map);
	godot::Dictionary report;
	report[TF_KEY("map_name")] = name;
	report[TF_KEY("mapName")] = name;
	report[TF_KEY("score_a")] = p_map.score_a;
	report[TF_KEY("scoreA")] = p_map.score_a;
	report[TF_KEY("score_b")] = p_map.score_b;
	report[TF_KEY("scoreB")] = p_map.score_b;
	report[TF_KEY("round_history")] = history;
	// The engine copies a list of texts faster than it can be filled again.
	report[TF_KEY("roundHistory")] = p_histories == RoundHistories::SHARED ? history : history.duplicate();
	report[TF_KEY("overtime_count")] = p_map.overtime_count;
	return report;
}

} // namespace

godot::Array map_reports(const PlayedMaps &p_maps, RoundHistories p_histories) {
	godot::Array reports;
	reports.resize(static_cast<int64_t>(p_maps.size()));
	int64_t index = 0;
	for (const PlayedMap &map : p_maps) {
		reports[index++] = map_report(map, p_histories);
	}
	return reports;
}

const godot::Variant &map_name(size_t p_map_index) {
	return dictionary_key(MAP_POOL[p_map_index < MAP_POOL_SIZE ? p_map_index : 0].name);
}

} // namespace teamforge
