#pragma once

// The tournament manager's records: plain values owned by the manager, each with one converter to and
// from its save dictionary. Team entries, records, placements and descriptors stay engine containers,
// because the save format and the signals carry them; the converters detach them both ways, so no
// container is ever shared between the records and a script.

#include "common/played_maps.h"
#include "data/tournament_catalog.h"
#include "tournament/coded_state.h"
#include "tournament/loaded_record_copy.h"

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/string.hpp>

#include <cstdint>
#include <memory>
#include <vector>

namespace teamforge {

enum class MatchStatus {
	PENDING,
	PLAYED,
	OTHER,
};

enum class TournamentStatus {
	PENDING,
	WAITING,
	ACTIVE,
	COMPLETED,
	OTHER,
};

template <>
struct CodeTexts<MatchStatus> {
	static const char *text(size_t p_index) {
		static constexpr const char *TEXTS[] = { "PENDING", "PLAYED" };
		return TEXTS[p_index];
	}
};

template <>
struct CodeTexts<TournamentStatus> {
	static const char *text(size_t p_index) {
		static constexpr const char *TEXTS[] = { "PENDING", "WAITING", "ACTIVE", "COMPLETED" };
		return TEXTS[p_index];
	}
};

template <>
struct CodeTexts<StageKind> {
	static const char *text(size_t p_index) { return STAGE_KIND_TEXTS[p_index]; }
};

template <>
struct CodeTexts<FormatKind> {
	static const char *text(size_t p_index) { return FORMAT_TABLE[p_index].id; }
};

template <>
struct CodeTexts<TierKind> {
	static const char *text(size_t p_index) { return TIER_TABLE[p_index].id; }
};

struct NodeLink {
	godot::String id;
	godot::String slot;

	// A link leads somewhere only when both its target and its side are given.
	bool is_complete() const { return !id.is_empty() && !slot.is_empty(); }
};

struct MatchNode {
	godot::String id;
	godot::String name;
	godot::String group_name;
	godot::Dictionary team_a;
	godot::Dictionary team_b;
	NodeLink winner_to;
	NodeLink loser_to;
	CodedState<MatchStatus> status; // PENDING until played, then PLAYED; set by make_match_node().
	bool is_bo5 = false;
	godot::String loser_tag;
	godot::String date;
	// The map reports. A series played here keeps its maps as plain values (played_maps) and its reports
	// are built when a save asks for them; details read from a save are kept as given.
	godot::Array details;
	PlayedMaps played_maps;
	int32_t heat = 0;
	godot::Dictionary winner;
	godot::Dictionary loser;
	int32_t score_a = 0;
	int32_t score_b = 0;
	int32_t vrs_delta_a = 0;
	int32_t vrs_delta_b = 0;

	// Whether the node holds map reports in either form: a series was played, not a walkover or forfeit.
	bool has_map_reports() const { return !played_maps.empty() || !details.is_empty(); }
};

class SwissRecordIndex;

struct TournamentStage {
	CodedState<StageKind> type;
	godot::String name;
	godot::Array rounds;
	std::vector<MatchNode> nodes;
	godot::String next_date;
	godot::Array records;
	godot::Dictionary final_groups;
	int32_t current_round = 1;
	bool is_playoff = false;
	godot::Array groups;
	int32_t next_id = 0;
	// Where each team's Swiss records sit, read once for the records the stage was seeded with (not saved).
	std::shared_ptr<SwissRecordIndex> record_index;
};

struct Tournament {
	int32_t id = 0;
	CodedState<TournamentStatus> status; // PENDING from make_tournament().
	godot::String name;
	CodedState<FormatKind> format_id;
	CodedState<TierKind> tier_id;
	godot::String city;
	int32_t prize = 0;
	int32_t size = 0;
	godot::String inv_date;
	godot::String start_date;
	std::vector<TournamentStage> stages;
	int32_t current_stage_idx = 0;
	int32_t rest = 0;
	godot::Array placements;
	godot::Array standings;
	godot::String date;
	godot::Dictionary initial_vrs;
	godot::Dictionary vrs_delta_map;
	int32_t total_heat = 0;
	godot::Dictionary major_slots;
	// Keys "stage3", "stage2", "stage1"; their entries are the same dictionaries as in participants.
	godot::Dictionary major_direct;
	godot::Array participants;
	godot::Array advanced_pool;
	// Set while completion has announced the end but not yet paid it: a save made from a handler of that
	// announcement carries it, and the loaded game pays on its next day. The seed is the one the stamina
	// draw takes at that moment, so the loaded payout is the one the saving game made.
	bool payout_due = false;
	uint32_t payout_seed = 0;
};

// Tournaments are held by shared pointer so that a day in progress keeps the records it works on alive
// even when a signal handler replaces the manager's list.
using TournamentPtr = std::shared_ptr<Tournament>;
using TournamentList = std::vector<TournamentPtr>;

// Records with their defaults (PENDING statuses).
MatchNode make_match_node();
Tournament make_tournament();

godot::Dictionary link_to_dict(const NodeLink &p_link);
NodeLink link_from_dict(const godot::Dictionary &p_data);
godot::Dictionary node_to_dict(const MatchNode &p_node);
// Loads copy what they are given; the copier passed in serves a whole load (see loaded_record_copy.h).
MatchNode node_from_dict(const godot::Dictionary &p_data, LoadedRecordCopier &r_copier);
godot::Dictionary stage_to_dict(const TournamentStage &p_stage);
TournamentStage stage_from_dict(const godot::Dictionary &p_data, LoadedRecordCopier &r_copier);
godot::Dictionary tournament_to_dict(const Tournament &p_tournament);
Tournament tournament_from_dict(const godot::Dictionary &p_data, LoadedRecordCopier &r_copier);

// The default quota map and the normalised form of any given map.
godot::Dictionary default_quota_map();
godot::Dictionary normalize_quota_map(const godot::Dictionary &p_quotas);

} // namespace teamforge
