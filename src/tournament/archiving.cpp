#include "tournament/archiving.h"

#include "common/dates.h"
#include "common/dictionary_keys.h"
#include "tournament/tournament_creation.h"

namespace teamforge {

namespace {

bool holds_match_records(const Tournament &p_tournament) {
	return !p_tournament.stages.empty() || !p_tournament.placements.is_empty() || !p_tournament.participants.is_empty() ||
			!p_tournament.major_direct.is_empty() || !p_tournament.advanced_pool.is_empty() ||
			!p_tournament.initial_vrs.is_empty() || !p_tournament.vrs_delta_map.is_empty();
}

} // namespace

bool archivable_before(const Tournament &p_tournament, const godot::String &p_date) {
	return p_tournament.status == TF_TEXT("COMPLETED") && holds_match_records(p_tournament) &&
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
	// Shared, not copied: records are never written in place, only replaced.
	archived.standings = p_tournament.standings;
	archived.date = p_tournament.date;
	archived.total_heat = p_tournament.total_heat;
	archived.major_slots = p_tournament.major_slots;
	return archived;
}

bool is_archived(const Tournament &p_tournament) {
	return p_tournament.status == TF_TEXT("COMPLETED") && !holds_match_records(p_tournament);
}

} // namespace teamforge
