#include "tournament/completion.h"

#include "common/copy_on_write.h"
#include "common/dictionary_keys.h"
#include "common/game_rules.h"
#include "common/random.h"
#include "common/rounding.h"
#include "common/script_values.h"
#include "common/text_key_reading.h"
#include "common/utf8_key.h"
#include "match_simulator.h"
#include "team_data.h"
#include "tournament/placements_events.h"
#include "tournament/stage_building.h"
#include "tournament/team_entries.h"

#include <godot_cpp/classes/ref.hpp>
#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace teamforge {

namespace {

using godot::Array;
using godot::Dictionary;
using godot::String;
using godot::TeamData;
using godot::Variant;

constexpr uint32_t STAMINA_SEED_FACTOR = 104729u;
constexpr int64_t STAMINA_GAIN_MIN = 10;
constexpr int64_t STAMINA_GAIN_MAX = 30;
constexpr int64_t QUOTA_PLACES = 8;

String placement_team_id(const Dictionary &p_placement) {
	return entry_id(p_placement.get(TF_KEY("team"), Variant()));
}

double placement_tag_weight(const Dictionary &p_placement) {
	return placement_weight(p_placement.get(TF_KEY("tag"), String()));
}

// Every invited team ends with a standing: one that a short or stalled field never placed finishes
// as "PLACEMENT_UNKNOWN" (no prize) rather than vanishing from the table. A full field places every
// participant during play, so this adds nothing there.
// The list is copied once and the new entries appended to the copy: recording them one by one would
// copy it for each, quadratic in an oversized field.
void place_unplaced_participants(TournamentHost &p_host, Tournament &r_tournament) {
	std::unordered_set<std::string> placed;
	const Array placements = r_tournament.placements;
	Array extended;
	for (int64_t i = 0; i < placements.size(); i++) {
		const Variant &placement = placements[i];
		placed.insert(utf8_key(placement_team_id(as_dictionary(placement))));
		extended.push_back(placement);
	}
	const TeamRoster roster(p_host.database());
	const Dictionary initial_vrs = readable_by_text_keys(r_tournament.initial_vrs);
	const String label("PLACEMENT_UNKNOWN");
	bool added = false;
	const Array participants = r_tournament.participants;
	for (int64_t i = 0; i < participants.size(); i++) {
		const Dictionary entry = as_dictionary(participants[i]);
		const String id = entry_id(entry);
		if (id.is_empty() || !placed.insert(utf8_key(id)).second) {
			continue;
		}
		extended.push_back(make_placement(roster, initial_vrs, entry, label));
		added = true;
	}
	if (added) {
		r_tournament.placements = extended;
	}
}

// One placement per team id, the best-weighted, in the order the ids first appeared.
std::vector<Dictionary> best_placements(const Array &p_placements) {
	std::vector<Dictionary> kept;
	std::vector<double> weights;
	std::unordered_map<std::string, size_t> position;
	for (int64_t i = 0; i < p_placements.size(); i++) {
		const Dictionary placement = as_dictionary(p_placements[i]);
		const String id = placement_team_id(placement);
		if (id.is_empty()) {
			continue;
		}
		const double weight = placement_tag_weight(placement);
		const auto found = position.emplace(utf8_key(id), kept.size());
		if (found.second) {
			kept.push_back(placement);
			weights.push_back(weight);
		} else if (placement_weight_greater(weight, weights[found.first->second])) {
			kept[found.first->second] = placement;
			weights[found.first->second] = weight;
		}
	}
	return kept;
}

struct Standing {
	Dictionary entry;
	double weight = 0.0;
	int64_t vrs_after = 0;
};

std::vector<Standing> build_standings(TournamentHost &p_host, const Tournament &p_tournament,
		const std::vector<Dictionary> &p_placements) {
	double weight_sum = 0.0;
	for (const Dictionary &placement : p_placements) {
		weight_sum += placement_tag_weight(placement);
	}
	if (!(weight_sum > 0.0)) {
		weight_sum = 1.0;
	}

	const TeamRoster roster(p_host.database());
	const Dictionary initial_vrs = readable_by_text_keys(p_tournament.initial_vrs);
	const Dictionary rating_changes = readable_by_text_keys(p_tournament.vrs_delta_map);
	std::vector<Standing> standings;
	for (const Dictionary &placement : p_placements) {
		Dictionary team = as_dictionary(placement.get(TF_KEY("team"), Variant()));
		const String id = entry_id(team);
		const TeamData *live = roster.find(id);
		if (live != nullptr) {
			team = refresh_team_entry(team, *live);
		}
		const String tag = placement.get(TF_KEY("tag"), String());
		const double weight = placement_weight(tag);
		const int64_t prize = round_to_int64(static_cast<double>(p_tournament.prize) * (weight / weight_sum));

		int64_t vrs_before = 0;
		if (initial_vrs.has(id)) {
			vrs_before = initial_vrs.get(id, 0);
		} else if (placement.has(TF_KEY("vrs_before"))) {
			vrs_before = placement.get(TF_KEY("vrs_before"), 0);
		} else {
			vrs_before = roster.live_rating(team);
		}
		const int64_t vrs_after = live != nullptr ? live->get_vrs() : roster.live_rating(team);
		const int64_t delta = rating_changes.has(id) ? static_cast<int64_t>(rating_changes.get(id, 0)) : saturating_sub(vrs_after, vrs_before);

		Standing standing;
		standing.entry[TF_KEY("placement")] = tag;
		standing.entry[TF_KEY("team")] = team;
		standing.entry[TF_KEY("prize")] = prize;
		standing.entry[TF_KEY("vrs_before")] = vrs_before;
		standing.entry[TF_KEY("vrs_after")] = vrs_after;
		standing.entry[TF_KEY("delta_vrs")] = delta;
		standing.weight = weight;
		standing.vrs_after = vrs_after;
		standings.push_back(standing);
	}
	// Stable, so equal placements with equal ratings keep the order of the placements.
	std::stable_sort(standings.begin(), standings.end(), [](const Standing &p_a, const Standing &p_b) {
		if (placement_weight_greater(p_a.weight, p_b.weight)) {
			return true;
		}
		if (placement_weight_greater(p_b.weight, p_a.weight)) {
			return false;
		}
		return p_a.vrs_after > p_b.vrs_after;
	});
	return standings;
}

// The next Major invites straight into Stage 3 as many teams of a region as it placed in this
// Major's top 8, and into Stage 2 as many as it placed 9th to 16th.
void set_next_major_quotas(TournamentHost &p_host, const Array &p_standings) {
	int64_t stage3[REGION_COUNT] = {};
	int64_t stage2[REGION_COUNT] = {};
	const int64_t count = std::min<int64_t>(p_standings.size(), 2 * QUOTA_PLACES);
	for (int64_t i = 0; i < count; i++) {
		const Dictionary team = as_dictionary(as_dictionary(p_standings[i]).get(TF_KEY("team"), Variant()));
		const String region = team.get(TF_KEY("region"), String());
		for (size_t r = 0; r < REGION_COUNT; r++) {
			if (region == fixed_text(REGION_CODES[r])) {
				(i < QUOTA_PLACES ? stage3 : stage2)[r]++;
			}
		}
	}
	Dictionary quotas = default_quota_map();
	Dictionary direct3;
	Dictionary direct2;
	for (size_t r = 0; r < REGION_COUNT; r++) {
		direct3[dictionary_key(REGION_CODES[r])] = stage3[r];
		direct2[dictionary_key(REGION_CODES[r])] = stage2[r];
	}
	quotas[TF_KEY("stage3")] = direct3;
	quotas[TF_KEY("stage2")] = direct2;
	p_host.set_quota_map(quotas);
}

bool earns_honour(const String &p_placement, const CodedState<TierKind> &p_tier) {
	if (p_placement == TF_TEXT("1st")) {
		return true;
	}
	return p_placement == TF_TEXT("2nd") && (p_tier == TierKind::HIGHEST || p_tier == TierKind::TIER_S);
}

Dictionary make_honour(const Tournament &p_tournament, const Dictionary &p_standing, const String &p_placement) {
	Dictionary honour;
	honour[TF_KEY("tour_id")] = p_tournament.id;
	honour[TF_KEY("name")] = p_tournament.name;
	honour[TF_KEY("date")] = p_tournament.start_date;
	honour[TF_KEY("prize")] = p_standing.get(TF_KEY("prize"), 0);
	honour[TF_KEY("tier")] = p_tournament.tier_id.text();
	honour[TF_KEY("format")] = p_tournament.format_id.text();
	honour[TF_KEY("placement")] = p_placement;
	honour[TF_KEY("vrs_before")] = p_standing.get(TF_KEY("vrs_before"), 0);
	honour[TF_KEY("vrs_after")] = p_standing.get(TF_KEY("vrs_after"), 0);
	honour[TF_KEY("delta_vrs")] = p_standing.get(TF_KEY("delta_vrs"), 0);
	return honour;
}

void pay_prizes_and_honours(TournamentHost &p_host, const Tournament &p_tournament) {
	const TeamRoster roster(p_host.database());
	const Array standings = p_tournament.standings;
	for (int64_t i = 0; i < standings.size(); i++) {
		const Dictionary standing = as_dictionary(standings[i]);
		TeamData *team = roster.find(entry_id(standing.get(TF_KEY("team"), Variant())));
		if (team == nullptr) {
			continue;
		}
		const int64_t prize = standing.get(TF_KEY("prize"), 0);
		team->set_prize_total(saturating_add(team->get_prize_total(), prize));
		const String placement = standing.get(TF_KEY("placement"), String());
		if (earns_honour(placement, p_tournament.tier_id)) {
			team->set_honors(array_with_front(team->get_honors(), make_honour(p_tournament, standing, placement)));
		}
	}
}

uint32_t stamina_seed(TournamentHost &p_host) {
	const godot::Ref<godot::MatchSimulator> simulator = p_host.simulator();
	return simulator.is_valid() ? static_cast<uint32_t>(static_cast<uint64_t>(simulator->get_seed())) : 0u;
}

// Every team of the database recovers 10 to 30 points, drawn from a generator tied to the simulator's
// seed (as it stood at the payout) and the tournament; the simulator then moves on to a new seed.
void recover_stamina(TournamentHost &p_host, const Tournament &p_tournament, uint32_t p_seed) {
	const godot::Ref<godot::MatchSimulator> simulator = p_host.simulator();
	RandomEngine engine(p_seed ^ (static_cast<uint32_t>(p_tournament.id) * STAMINA_SEED_FACTOR));
	const TeamRoster roster(p_host.database());
	for (TeamData *team : roster.teams()) {
		const int64_t gain = engine.uniform_int(STAMINA_GAIN_MIN, STAMINA_GAIN_MAX);
		team->set_stamina(static_cast<int32_t>(clamp_int64(static_cast<int64_t>(team->get_stamina()) + gain, STAMINA_MIN, STAMINA_MAX)));
	}
	if (simulator.is_valid()) {
		simulator->set_seed(engine.next_u32());
	}
}

} // namespace

bool complete_tournament(TournamentHost &p_host, Tournament &r_tournament) {
	const Array standings_before = r_tournament.standings;
	r_tournament.status = TournamentStatus::COMPLETED;
	place_unplaced_participants(p_host, r_tournament);

	const std::vector<Dictionary> placements = best_placements(r_tournament.placements);
	Array kept;
	for (const Dictionary &placement : placements) {
		kept.push_back(placement);
	}
	r_tournament.placements = kept;

	Array standings;
	for (const Standing &standing : build_standings(p_host, r_tournament, placements)) {
		standings.push_back(standing.entry);
	}
	r_tournament.standings = standings;

	if (r_tournament.format_id == FormatKind::MAJOR) {
		set_next_major_quotas(p_host, standings);
	}

	if (p_host.has_achievement_listeners()) {
		Dictionary context;
		context[TF_KEY("standings")] = r_tournament.standings;
		// The event comes before the payout; a game that saves in its handler saves the debt with it.
		r_tournament.payout_due = true;
		r_tournament.payout_seed = stamina_seed(p_host);
		if (!emit_achievement_event(p_host, "tournament_completed", r_tournament, context)) {
			// A handler replaced the records or the database: paying out now would land in the new state.
			// The tournament goes back to waiting for its completion, which the next day runs again in
			// full, so its prizes are never lost; a replaced record is no longer played at all.
			r_tournament.payout_due = false;
			r_tournament.status = TournamentStatus::ACTIVE;
			r_tournament.standings = standings_before;
			r_tournament.current_stage_idx = saturate_to_int32(static_cast<int64_t>(r_tournament.stages.size()));
			return false;
		}
	}
	// A handler may have reseeded the simulator: the draw takes the seed of this moment.
	r_tournament.payout_seed = stamina_seed(p_host);
	return pay_out_completion(p_host, r_tournament);
}

bool pay_out_completion(TournamentHost &p_host, Tournament &r_tournament) {
	r_tournament.payout_due = false;
	pay_prizes_and_honours(p_host, r_tournament);
	recover_stamina(p_host, r_tournament, r_tournament.payout_seed);
	p_host.set_funds(saturating_add(p_host.funds(), r_tournament.total_heat));
	return p_host.emit_tournament_completed(r_tournament.id);
}

} // namespace teamforge
