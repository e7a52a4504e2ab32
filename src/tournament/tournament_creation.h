#pragma once

// Organising a tournament from the catalog: look-ups, the checks a request must pass, prize pools,
// names with their edition counters, dates and the complete stage plan.

#include "data/tournament_catalog.h"
#include "tournament/tournament_records.h"

#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/string.hpp>

#include <cstdint>
#include <vector>

namespace teamforge {

// Null for an id outside the catalog.
const FormatSpec *find_format(const godot::String &p_format_id);
const TierSpec *find_tier(const godot::String &p_tier_id);

// Catalog values with the defaults of unknown ids, for records loaded from any save.
int32_t format_size(const godot::String &p_format_id);
int32_t tier_lead_days(const godot::String &p_tier_id);
// The tier's row of the catalog, null for a tier outside it.
const TierSpec *tier_spec(const CodedState<TierKind> &p_tier);
int32_t tier_rest_days(const CodedState<TierKind> &p_tier);
int32_t tier_rank_offset(const CodedState<TierKind> &p_tier);
// Base prize times the tier's factor, halves away from zero.
int32_t prize_pool(const godot::String &p_format_id, const godot::String &p_tier_id);

// The year the checks compare: the first four characters of a date, "" for a shorter text.
godot::String date_year(const godot::String &p_date);

// The latest scheduled match day of a tournament, else its start date, else its invitation date, else
// "0000-00-00": the day a new Major's invitation must come after.
godot::String last_scheduled_day(const Tournament &p_tournament);

struct CreationRequest {
	godot::String format_id;
	godot::String tier_id;
	godot::String inv_date;
	godot::String city;
};

// The code of the first check the request fails, or null when it may go ahead. p_current_date is read
// only when p_has_database is set.
const char *validate_creation(const CreationRequest &p_request, bool p_has_database, const godot::String &p_current_date,
		const TournamentList &p_existing, int64_t p_funds);

// The display name. A name with an edition number takes it from r_counters (1 when missing) and stores
// the next number there, in a new dictionary: the one given may be shared with a script.
godot::String tournament_name(const godot::String &p_format_id, const godot::String &p_tier_id,
		const godot::String &p_inv_date, const godot::String &p_city, godot::Dictionary &r_counters);

// Every stage of the tournament's format, numbered on from one another and dated from its start date
// with the tier's rest days between stages.
std::vector<TournamentStage> build_stage_plan(const Tournament &p_tournament);

// The record of a request that passed validation: named (advancing r_counters), priced, dated and
// planned. p_quota_map is used for a Major.
Tournament make_created_tournament(const CreationRequest &p_request, int32_t p_id, godot::Dictionary &r_counters,
		const godot::Dictionary &p_quota_map);

} // namespace teamforge
