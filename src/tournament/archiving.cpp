#include "tournament/archiving.h"

#include "common/copy_on_write.h"
#include "common/dates.h"
#include "common/dictionary_keys.h"
#include "tournament/tournament_creation.h"

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <cstdint>

using namespace godot;

namespace teamforge {

namespace {

bool holds_match_records(const Tournament &p_tournament) {
	return !p_tournament.stages.empty() || !p_tournament.placements.is_empty() || !p_tournament.participants.is_empty() ||
			!p_tournament.major_direct.is_empty() || !p_tournament.advanced_pool.is_empty() ||
			!p_tournament.initial_vrs.is_empty() || !p_tournament.vrs_delta_map.is_empty();
}

// The standings with the teams' honours of the moment left out of their team entries (every other key
// stays): those grow with the career, and each team's own record keeps every honour in full. New
// containers throughout, as records are never written in place.
Array standings_without_honours(const Array &p_standings) {
	Array standings;
	const int64_t count = p_standings.size();
	for (int64_t i = 0; i < count; i++) {
		const Variant &element = p_standings[i];
		const Variant team = element.get_type() == Variant::DICTIONARY ? element.operator Dictionary().get(TF_KEY("team"), Variant()) : Variant();
		if (team.get_type() != Variant::DICTIONARY || !team.operator Dictionary().has(TF_KEY("honors"))) {
			standings.push_back(element);
			continue;
		}
		Dictionary entry = plain_copy(team.operator Dictionary());
		entry[TF_KEY("honors")] = Array();
		Dictionary standing = plain_copy(element.operator Dictionary());
		standing[TF_KEY("team")] = entry;
		standings.push_back(standing);
	}
	return standings;
}

} // namespace

bool archivable_before(const Tournament &p_tournament, const String &p_date) {
	return p_tournament.status == TournamentStatus::COMPLETED && holds_match_records(p_tournament) &&
			compare_dates(last_scheduled_day(p_tournament), p_date) < 0;
}

Tournament archived_copy(const Tournament &p_tournament) {
	Tournament archived = make_tournament();
	archived.id = p_tournament.id;
	archived.status = p_tournament.status;
	archived.name = p_tournament.name;
	archived.format_id = p_tournament.format_id;
	archived.tier_id = p_tournament.tier_id;
	archived.city = p_tournament.city;
	archived.prize = p_tournament.prize;
	archived.size = p_tournament.size;
	archived.inv_date = p_tournament.inv_date;
	archived.start_date = p_tournament.start_date;
	archived.current_stage_idx = p_tournament.current_stage_idx;
	archived.rest = p_tournament.rest;
	archived.standings = standings_without_honours(p_tournament.standings);
	archived.date = p_tournament.date;
	archived.total_heat = p_tournament.total_heat;
	archived.major_slots = p_tournament.major_slots;
	return archived;
}

bool is_archived(const Tournament &p_tournament) {
	return p_tournament.status == TournamentStatus::COMPLETED && !holds_match_records(p_tournament);
}

} // namespace teamforge
