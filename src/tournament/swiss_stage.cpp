#include "tournament/swiss_stage.h"

#include "common/copy_on_write.h"
#include "common/dictionary_keys.h"
#include "common/random.h"
#include "common/rounding.h"
#include "common/script_values.h"
#include "common/utf8_key.h"
#include "match_simulator.h"
#include "tournament/placements_events.h"
#include "tournament/stage_building.h"
#include "tournament/team_entries.h"

#include <godot_cpp/core/error_macros.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace teamforge {

namespace {

using godot::Array;
using godot::Dictionary;
using godot::String;
using godot::Variant;

constexpr int32_t SWISS_MATCHES_PER_DAY = 4;
// Three wins take a team through, three losses out.
constexpr int64_t DECIDING_COUNT = 3;
constexpr uint32_t SHUFFLE_SEED_FACTOR = 0x9E3779B1u;

struct RecordGroup {
	int32_t wins;
	int32_t losses;
	int32_t matches;
};

// The groups of round p_round (from 1) of a stage of p_teams teams, in playing order.
std::vector<RecordGroup> round_groups(int32_t p_round, int32_t p_teams) {
	switch (p_round) {
		case 1:
			return { { 0, 0, p_teams / 2 } };
		case 2:
			return { { 1, 0, p_teams / 4 }, { 0, 1, p_teams / 4 } };
		case 3:
			return { { 2, 0, p_teams / 8 }, { 1, 1, p_teams / 4 }, { 0, 2, p_teams / 8 } };
		case 4:
			return { { 2, 1, (p_teams / 16) * 3 }, { 1, 2, (p_teams / 16) * 3 } };
		case 5:
			return { { 2, 2, (p_teams / 16) * 3 } };
		default:
			return {};
	}
}

// Both texts are put together here and handed to the engine once: they are made every play day.
String record_key(int64_t p_wins, int64_t p_losses) {
	return String((std::to_string(p_wins) + "-" + std::to_string(p_losses)).c_str());
}

int64_t record_count(const Dictionary &p_record, const Variant &p_key) {
	return p_record.get(p_key, 0);
}

bool record_decided(const Variant &p_record) {
	const Dictionary record = as_dictionary(p_record);
	return record_count(record, TF_KEY("w")) >= DECIDING_COUNT || record_count(record, TF_KEY("l")) >= DECIDING_COUNT;
}

bool all_records_decided(const Array &p_records) {
	const int64_t count = p_records.size();
	for (int64_t i = 0; i < count; i++) {
		if (!record_decided(p_records[i])) {
			return false;
		}
	}
	return true;
}

// A round is still open while one of its matches has both teams and has not been played.
bool round_open(const TournamentStage &p_stage) {
	const String name = swiss_round_name(p_stage.current_round);
	for (const MatchNode &node : p_stage.nodes) {
		if (node.status == MatchStatus::PENDING && !node.team_a.is_empty() && !node.team_b.is_empty() && node.name == name) {
			return true;
		}
	}
	return false;
}

void count_result(Dictionary &r_record, bool p_won) {
	const int64_t wins = record_count(r_record, TF_KEY("w"));
	const int64_t losses = record_count(r_record, TF_KEY("l"));
	if (wins == 0 && losses == 2) {
		r_record[TF_KEY("had_0_2")] = true;
	}
	if (wins == 2 && losses == 0) {
		r_record[TF_KEY("had_2_0")] = true;
	}
	if (p_won) {
		r_record[TF_KEY("w")] = saturating_add(wins, 1);
	} else {
		r_record[TF_KEY("l")] = saturating_add(losses, 1);
	}
}

// Where the eliminated teams of this stage finish overall.
int32_t place_offset(const Tournament &p_tournament) {
	const int32_t index = p_tournament.current_stage_idx;
	if (p_tournament.format_id == FormatKind::MAJOR) {
		static const int32_t offsets[] = { 24, 16, 8 };
		return index >= 0 && index < 3 ? offsets[index] : 0;
	}
	if (p_tournament.format_id == FormatKind::EPL) {
		static const int32_t offsets[] = { 16, 8 };
		return index >= 0 && index < 2 ? offsets[index] : 0;
	}
	return 0;
}

const char *elimination_tag(int32_t p_offset, int64_t p_wins) {
	const int column = p_wins == 2 ? 0 : (p_wins == 1 ? 1 : 2);
	static const char *const after_24[] = { "25th-27th", "28th-30th", "31st-32nd" };
	static const char *const after_16[] = { "17th-19th", "20th-22nd", "23rd-24th" };
	static const char *const after_8[] = { "9th-11th", "12th-14th", "15th-16th" };
	switch (p_offset) {
		case 24:
			return after_24[column];
		case 16:
			return after_16[column];
		case 8:
			return after_8[column];
		default:
			return "PLACEMENT_UNKNOWN";
	}
}

// Records by their "w-l" key, the groups in order of first appearance after any the caller put in; only a
// handful exist at a time.
using RecordGroups = std::vector<std::pair<String, Array>>;

enum class RecordsTaken {
	ALL,
	UNDECIDED,
};

void group_records(RecordGroups &r_groups, const Array &p_records, RecordsTaken p_taken) {
	const int64_t count = p_records.size();
	for (int64_t i = 0; i < count; i++) {
		const Variant &value = p_records[i];
		if (value.get_type() != Variant::DICTIONARY || (p_taken == RecordsTaken::UNDECIDED && record_decided(value))) {
			continue;
		}
		const Dictionary record = as_dictionary(value);
		const String key = record_key(record_count(record, TF_KEY("w")), record_count(record, TF_KEY("l")));
		auto group = r_groups.begin();
		while (group != r_groups.end() && group->first != key) {
			++group;
		}
		if (group == r_groups.end()) {
			r_groups.emplace_back(key, Array());
			group = r_groups.end() - 1;
		}
		group->second.push_back(record);
	}
}

} // namespace

String swiss_round_name(int64_t p_round) {
	return String(("Round " + std::to_string(p_round)).c_str());
}

TournamentStage build_swiss_stage(const String &p_name, int32_t p_team_count, int32_t p_first_match,
		const String &p_start_date) {
	TournamentStage stage;
	stage.type = StageKind::SWISS;
	stage.name = p_name;
	stage.current_round = 1;

	int64_t number = p_first_match;
	MatchDayScheduler days(p_start_date, SWISS_MATCHES_PER_DAY);
	for (int32_t round = 1; round <= SWISS_ROUNDS; round++) {
		const String name = swiss_round_name(round);
		Array groups;
		for (const RecordGroup &group : round_groups(round, p_team_count)) {
			if (group.matches <= 0) {
				continue;
			}
			const String key = record_key(group.wins, group.losses);
			Array match_ids;
			for (int32_t i = 0; i < group.matches; i++) {
				MatchNode node = make_stage_node(stage_node_id("m", number++), name, key);
				node.date = days.next_slot();
				match_ids.push_back(node.id);
				stage.nodes.push_back(node);
			}
			Dictionary descriptor;
			descriptor[TF_KEY("name")] = key;
			descriptor[TF_KEY("match_ids")] = match_ids;
			groups.push_back(descriptor);
		}
		Dictionary descriptor;
		descriptor[TF_KEY("name")] = name;
		descriptor[TF_KEY("groups")] = groups;
		stage.rounds.push_back(descriptor);
		days.close_round();
	}
	stage.next_date = days.first_free_day();
	stage.next_id = saturate_to_int32(number);
	return stage;
}

Array shuffle_entries(TournamentHost &p_host, const Array &p_entries) {
	const int64_t count = p_entries.size();
	std::vector<Variant> items;
	items.reserve(static_cast<size_t>(count));
	for (int64_t i = 0; i < count; i++) {
		items.push_back(p_entries[i]);
	}

	godot::Ref<godot::MatchSimulator> simulator = p_host.simulator();
	ERR_FAIL_COND_V(simulator.is_null(), p_entries.duplicate());
	const uint32_t low_seed = static_cast<uint32_t>(static_cast<uint64_t>(simulator->get_seed()));
	RandomEngine engine((static_cast<uint32_t>(count) * SHUFFLE_SEED_FACTOR) ^ low_seed);
	for (int64_t i = count - 1; i >= 1; i--) {
		const int64_t j = engine.uniform_int(0, i);
		std::swap(items[static_cast<size_t>(i)], items[static_cast<size_t>(j)]);
	}
	// Every shuffle moves the simulator on, so the matches after it depend on the draw.
	simulator->set_seed(engine.next_u32());

	Array shuffled;
	for (const Variant &item : items) {
		shuffled.push_back(item);
	}
	return shuffled;
}

void seed_swiss_stage(TournamentHost &p_host, TournamentStage &r_stage, const Array &p_seed_list) {
	const Array shuffled = shuffle_entries(p_host, p_seed_list);
	const Array match_ids = round_group_match_ids(r_stage.rounds, 0, 0);
	const int64_t entries = shuffled.size();
	const int64_t slots = match_ids.size();
	for (int64_t k = 0; 2 * k + 1 < entries && k < slots; k++) {
		seat_pair(r_stage, match_ids[k], shuffled[2 * k], shuffled[2 * k + 1]);
	}

	Array records;
	const int64_t count = p_seed_list.size();
	for (int64_t i = 0; i < count; i++) {
		const Variant &entry = p_seed_list[i];
		// Anything but a team entry could never play, so it gets no record.
		if (entry.get_type() != Variant::DICTIONARY) {
			continue;
		}
		Dictionary record;
		record[TF_KEY("team")] = entry;
		record[TF_KEY("seed")] = static_cast<int64_t>(as_dictionary(entry).get(TF_KEY("seed"), i + 1));
		record[TF_KEY("w")] = 0;
		record[TF_KEY("l")] = 0;
		records.push_back(record);
	}
	r_stage.records = records;
	r_stage.record_index.reset();
}

const std::vector<int64_t> &SwissRecordIndex::positions_of(const TournamentStage &p_stage, const String &p_id) {
	if (!built) {
		const Array records = p_stage.records;
		const int64_t count = records.size();
		for (int64_t i = 0; i < count; i++) {
			const Variant &value = records[i];
			if (value.get_type() != Variant::DICTIONARY) {
				continue;
			}
			const String id = entry_id(as_dictionary(value).get(TF_KEY("team"), Variant()));
			if (!id.is_empty()) {
				positions[utf8_key(id)].push_back(i);
			}
		}
		built = true;
	}
	static const std::vector<int64_t> none;
	const auto found = positions.find(utf8_key(p_id));
	return found == positions.end() ? none : found->second;
}

namespace {

// A record to update: its place in the list and which of the node's teams it belongs to.
struct RecordToUpdate {
	int64_t position = 0;
	bool is_a = false;
	bool is_b = false;
};

// The records of either team, in list order, each once.
std::vector<RecordToUpdate> records_to_update(TournamentStage &r_stage, const String &p_id_a, const String &p_id_b) {
	if (r_stage.record_index == nullptr) {
		r_stage.record_index = std::make_shared<SwissRecordIndex>();
	}
	SwissRecordIndex &index = *r_stage.record_index;
	std::vector<RecordToUpdate> found;
	if (!p_id_a.is_empty()) {
		for (const int64_t position : index.positions_of(r_stage, p_id_a)) {
			found.push_back({ position, true, false });
		}
	}
	if (!p_id_b.is_empty()) {
		for (const int64_t position : index.positions_of(r_stage, p_id_b)) {
			found.push_back({ position, false, true });
		}
	}
	std::sort(found.begin(), found.end(), [](const RecordToUpdate &p_x, const RecordToUpdate &p_y) { return p_x.position < p_y.position; });
	// A team playing itself has its records listed twice.
	std::vector<RecordToUpdate> merged;
	for (const RecordToUpdate &record : found) {
		if (!merged.empty() && merged.back().position == record.position) {
			merged.back().is_a = merged.back().is_a || record.is_a;
			merged.back().is_b = merged.back().is_b || record.is_b;
		} else {
			merged.push_back(record);
		}
	}
	return merged;
}

} // namespace

void update_swiss_records(TournamentStage &r_stage, const MatchNode &p_node) {
	const std::vector<RecordToUpdate> updates = records_to_update(r_stage, entry_id(p_node.team_a), entry_id(p_node.team_b));
	if (updates.empty()) {
		return;
	}
	const bool a_won = p_node.score_a > p_node.score_b;
	const bool b_won = p_node.score_b > p_node.score_a;
	// Updated records go into a new list as new dictionaries: a record a script froze or retyped still
	// takes the new counts, and a list taken before the match keeps the records from before it. The
	// engine copies a plain list itself; a typed one is copied value by value into a plain one.
	const Array records = r_stage.records;
	Array updated_list = records.is_typed() ? plain_list(records) : records.duplicate();
	for (const RecordToUpdate &update : updates) {
		Dictionary updated = plain_copy(as_dictionary(records[update.position]));
		if (update.is_a) {
			count_result(updated, a_won);
		}
		if (update.is_b) {
			count_result(updated, b_won);
		}
		updated_list[update.position] = updated;
	}
	r_stage.records = updated_list;
}

bool advance_swiss_round(TournamentHost &p_host, Tournament &r_tournament, TournamentStage &r_stage) {
	if (round_open(r_stage) || r_stage.current_round >= SWISS_ROUNDS || all_records_decided(r_stage.records)) {
		return true;
	}

	RecordGroups buckets;
	group_records(buckets, r_stage.records, RecordsTaken::UNDECIDED);

	const int64_t next_round = r_stage.current_round;
	if (next_round >= 0 && next_round < r_stage.rounds.size()) {
		const Array groups = as_array(as_dictionary(r_stage.rounds[next_round]).get(TF_KEY("groups"), Variant()));
		const int64_t group_count = groups.size();
		for (int64_t g = 0; g < group_count; g++) {
			const Variant &group_value = groups[g];
			if (group_value.get_type() != Variant::DICTIONARY) {
				continue;
			}
			const Dictionary group = as_dictionary(group_value);
			const String name = group.get(TF_KEY("name"), String());
			Array bucket;
			for (const auto &candidate : buckets) {
				if (candidate.first == name) {
					bucket = candidate.second;
					break;
				}
			}
			const Array shuffled = shuffle_entries(p_host, bucket);
			const Array match_ids = as_array(group.get(TF_KEY("match_ids"), Variant()));
			const int64_t entries = shuffled.size();
			const int64_t slots = match_ids.size();
			for (int64_t k = 0; 2 * k + 1 < entries && k < slots; k++) {
				const Variant team_a = as_dictionary(shuffled[2 * k]).get(TF_KEY("team"), Variant());
				const Variant team_b = as_dictionary(shuffled[2 * k + 1]).get(TF_KEY("team"), Variant());
				seat_pair(r_stage, match_ids[k], team_a, team_b);
			}
		}
	}
	r_stage.current_round++;

	if (!p_host.has_achievement_listeners()) {
		return true;
	}
	Dictionary context;
	context[TF_KEY("stage_idx")] = r_tournament.current_stage_idx;
	context[TF_KEY("stage_name")] = r_stage.name;
	context[TF_KEY("current_round")] = r_stage.current_round;
	context[TF_KEY("records")] = r_stage.records;
	return emit_achievement_event(p_host, "swiss_round_advanced", r_tournament, context);
}

bool swiss_stage_finished(const TournamentStage &p_stage) {
	if (all_records_decided(p_stage.records)) {
		return true;
	}
	// A field of another size than the stage was built for leaves teams that can never reach three
	// wins or losses (unpaired, or stranded in a group the next round lacks); once the last round has
	// nothing left to play, the stage ends without them instead of stalling the tournament.
	return p_stage.current_round >= SWISS_ROUNDS && !round_open(p_stage);
}

bool close_swiss_stage(TournamentHost &p_host, Tournament &r_tournament, TournamentStage &r_stage) {
	static const char *const final_keys[] = { "3-0", "3-1", "3-2", "2-3", "1-3", "0-3" };
	RecordGroups groups;
	for (const char *key : final_keys) {
		groups.emplace_back(String(key), Array());
	}
	const Array records = r_stage.records;
	group_records(groups, records, RecordsTaken::ALL);
	Dictionary final_groups;
	for (const auto &group : groups) {
		final_groups[group.first] = group.second;
	}
	r_stage.final_groups = final_groups;

	if (p_host.has_achievement_listeners()) {
		Dictionary context;
		context[TF_KEY("stage_idx")] = r_tournament.current_stage_idx;
		context[TF_KEY("stage_name")] = r_stage.name;
		context[TF_KEY("final_groups")] = final_groups;
		context[TF_KEY("records")] = r_stage.records;
		if (!emit_achievement_event(p_host, "swiss_stage_completed", r_tournament, context)) {
			// A handler replaced the records or the database: the close is left undone and the day stops.
			return false;
		}
	}

	const int32_t offset = place_offset(r_tournament);
	Array qualifiers;
	// A handler may have changed the list it was handed, so its size is read again.
	for (int64_t i = 0; i < records.size(); i++) {
		const Dictionary record = as_dictionary(records[i]);
		if (record.is_empty()) {
			continue;
		}
		const Variant team = record.get(TF_KEY("team"), Variant());
		const int64_t wins = record_count(record, TF_KEY("w"));
		if (record_count(record, TF_KEY("l")) >= DECIDING_COUNT) {
			record_placement(p_host, r_tournament, as_dictionary(team), elimination_tag(offset, wins));
		}
		if (wins >= DECIDING_COUNT) {
			qualifiers.push_back(team);
		}
	}
	r_tournament.advanced_pool = qualifiers;
	return true;
}

} // namespace teamforge
