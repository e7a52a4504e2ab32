#include "tournament/tournament_creation.h"

#include "common/copy_on_write.h"
#include "common/dates.h"
#include "common/dictionary_keys.h"
#include "common/rounding.h"
#include "common/saved_numbers.h"
#include "common/text_key_reading.h"
#include "tournament/double_elim_stage.h"
#include "tournament/single_elim_stage.h"
#include "tournament/swiss_stage.h"

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/char_string.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <cstring>

using namespace godot;

namespace teamforge {

namespace {

const char *const LAST_DAY_FALLBACK = "0000-00-00";

// Exact comparison of a script's text with a catalog id; a text with an embedded NUL never matches.
bool same_id(const CharString &p_text, const char *p_id) {
	const size_t length = std::strlen(p_id);
	return static_cast<size_t>(p_text.length()) == length && std::memcmp(p_text.get_data(), p_id, length) == 0;
}

bool same_id(const String &p_text, const char *p_id) {
	return same_id(p_text.utf8(), p_id);
}

size_t tier_row(const TierSpec *p_tier) {
	return static_cast<size_t>(p_tier - TIER_TABLE);
}

bool tier_allowed(const FormatSpec &p_format, const String &p_tier_id) {
	const TierSpec *tier = find_tier(p_tier_id);
	return tier != nullptr && (p_format.allowed_tiers & (1u << tier_row(tier))) != 0;
}

String normalized_city(const String &p_city) {
	return p_city.strip_edges().to_lower();
}

// The Major checks: at most three a year, and each invitation after the previous Major's last day.
const char *check_major(const CreationRequest &p_request, const String &p_year, const TournamentList &p_existing) {
	int32_t same_year = 0;
	const Tournament *previous = nullptr;
	for (const TournamentPtr &tournament : p_existing) {
		if (!tournament || tournament->format_id != FormatKind::MAJOR) {
			continue;
		}
		if (date_year(tournament->inv_date) == p_year) {
			++same_year;
		}
		// Among equal invitation dates the first in list order stays.
		if (compare_dates(tournament->inv_date, p_request.inv_date) < 0 &&
				(previous == nullptr || compare_dates(tournament->inv_date, previous->inv_date) > 0)) {
			previous = tournament.get();
		}
	}
	if (same_year >= 3) {
		return "ERROR_MAJOR_YEAR_LIMIT";
	}
	if (previous != nullptr && compare_dates(p_request.inv_date, last_scheduled_day(*previous)) <= 0) {
		return "ERROR_MAJOR_INVITATION_AFTER_PREVIOUS_FINAL";
	}
	return nullptr;
}

const NamePattern *find_name_pattern(const CharString &p_format_id, const CharString &p_tier_id) {
	for (const NamePattern &pattern : NAME_PATTERNS) {
		if (same_id(p_format_id, pattern.format_id) && (pattern.tier_id == nullptr || same_id(p_tier_id, pattern.tier_id))) {
			return &pattern;
		}
	}
	return nullptr;
}

// Reads the edition number under p_key (1 when missing) and stores the next one in a new dictionary.
int64_t take_edition(Dictionary &r_counters, const Variant &p_key) {
	const int64_t edition = read_saved_int64(
			readable_by_text_keys(r_counters).get(p_key, Variant(static_cast<int64_t>(1))));
	Dictionary counters = plain_copy(r_counters);
	counters[p_key] = saturating_add(edition, 1);
	r_counters = counters;
	return edition;
}

TournamentStage build_planned_stage(const StagePlanRow &p_row, bool p_best_of_five, int32_t p_first_match,
		const String &p_start_date) {
	const String name(p_row.name);
	switch (p_row.kind) {
		case StageKind::SWISS:
			return build_swiss_stage(name, p_row.team_count, p_first_match, p_start_date);
		case StageKind::SINGLE_ELIM:
			return build_single_elim_stage(name, p_row.team_count, p_best_of_five, p_first_match, p_start_date);
		case StageKind::BLAST_BRACKET:
			return build_blast_stage(name, p_best_of_five, p_first_match, p_start_date);
		case StageKind::IEM_GROUPS:
			return build_group_stage(p_first_match, p_start_date);
		case StageKind::OTHER:
			// The plan table names none: only a loaded save holds such a stage.
			break;
	}
	return TournamentStage();
}

} // namespace

const FormatSpec *find_format(const String &p_format_id) {
	const CharString id = p_format_id.utf8();
	for (const FormatSpec &format : FORMAT_TABLE) {
		if (same_id(id, format.id)) {
			return &format;
		}
	}
	return nullptr;
}

const TierSpec *find_tier(const String &p_tier_id) {
	const CharString id = p_tier_id.utf8();
	for (const TierSpec &tier : TIER_TABLE) {
		if (same_id(id, tier.id)) {
			return &tier;
		}
	}
	return nullptr;
}

int32_t format_size(const String &p_format_id) {
	const FormatSpec *format = find_format(p_format_id);
	return format != nullptr ? format->size : 0;
}

int32_t tier_lead_days(const String &p_tier_id) {
	const TierSpec *tier = find_tier(p_tier_id);
	return tier != nullptr ? tier->lead_days : UNKNOWN_TIER_LEAD_DAYS;
}

const TierSpec *tier_spec(const CodedState<TierKind> &p_tier) {
	return p_tier == TierKind::OTHER ? nullptr : &TIER_TABLE[static_cast<size_t>(p_tier.get())];
}

int32_t tier_rest_days(const CodedState<TierKind> &p_tier) {
	const TierSpec *tier = tier_spec(p_tier);
	return tier != nullptr ? tier->rest_days : UNKNOWN_TIER_REST_DAYS;
}

int32_t tier_rank_offset(const CodedState<TierKind> &p_tier) {
	const TierSpec *tier = tier_spec(p_tier);
	return tier != nullptr ? tier->rank_offset : UNKNOWN_TIER_RANK_OFFSET;
}

int32_t prize_pool(const String &p_format_id, const String &p_tier_id) {
	const FormatSpec *format = find_format(p_format_id);
	const TierSpec *tier = find_tier(p_tier_id);
	const double base = format != nullptr ? static_cast<double>(format->base_prize) : 0.0;
	const double factor = tier != nullptr ? tier->prize_factor : UNKNOWN_TIER_PRIZE_FACTOR;
	return saturate_to_int32(round_to_int64(base * factor));
}

String date_year(const String &p_date) {
	return p_date.length() < 4 ? String() : p_date.substr(0, 4);
}

String last_scheduled_day(const Tournament &p_tournament) {
	String last;
	for (const TournamentStage &stage : p_tournament.stages) {
		for (const MatchNode &node : stage.nodes) {
			if (!node.date.is_empty() && (last.is_empty() || compare_dates(node.date, last) > 0)) {
				last = node.date;
			}
		}
	}
	if (!last.is_empty()) {
		return last;
	}
	if (!p_tournament.start_date.is_empty()) {
		return p_tournament.start_date;
	}
	if (!p_tournament.inv_date.is_empty()) {
		return p_tournament.inv_date;
	}
	return String(LAST_DAY_FALLBACK);
}

const char *validate_creation(const CreationRequest &p_request, bool p_has_database, const String &p_current_date,
		const TournamentList &p_existing, int64_t p_funds) {
	if (!p_has_database) {
		return "ERROR_TEAM_DATABASE_REQUIRED";
	}
	const FormatSpec *format = find_format(p_request.format_id);
	if (format == nullptr || format->size <= 0) {
		return "ERROR_INVALID_TOURNAMENT_FORMAT";
	}
	if (!tier_allowed(*format, p_request.tier_id)) {
		return "ERROR_TIER_NOT_ALLOWED_FOR_FORMAT";
	}
	// A text that is no day of the calendar would never be reached, or be reached in another year.
	if (!is_calendar_date(p_request.inv_date)) {
		return "ERROR_INVALID_INVITATION_DATE";
	}
	if (compare_dates(p_request.inv_date, p_current_date) <= 0) {
		return "ERROR_INVITATION_DATE_AFTER_CURRENT_DATE";
	}

	const String year = date_year(p_request.inv_date);
	if (format->needs_host_city) {
		const String city = normalized_city(p_request.city);
		if (city.is_empty()) {
			return "ERROR_HOST_CITY_REQUIRED";
		}
		for (const TournamentPtr &tournament : p_existing) {
			if (tournament && tournament->format_id.text() == p_request.format_id && date_year(tournament->inv_date) == year &&
					normalized_city(tournament->city) == city) {
				return "ERROR_DUPLICATE_CITY_FORMAT_YEAR";
			}
		}
	}

	if (same_id(p_request.format_id, "MAJOR") && !p_existing.empty()) {
		const char *error = check_major(p_request, year, p_existing);
		if (error != nullptr) {
			return error;
		}
	}
	if (same_id(p_request.format_id, "EWC")) {
		for (const TournamentPtr &tournament : p_existing) {
			if (tournament && tournament->format_id.text() == p_request.format_id && date_year(tournament->inv_date) == year) {
				return "ERROR_EWC_YEAR_LIMIT";
			}
		}
	}

	if (p_funds < prize_pool(p_request.format_id, p_request.tier_id)) {
		return "ERROR_INSUFFICIENT_FUNDS";
	}
	return nullptr;
}

String tournament_name(const String &p_format_id, const String &p_tier_id, const String &p_inv_date,
		const String &p_city, Dictionary &r_counters) {
	// A name shows what the date begins with, even when it is shorter than a year; only the checks
	// treat such a date as having no year.
	const String year = p_inv_date.substr(0, 4);
	const NamePattern *pattern = find_name_pattern(p_format_id.utf8(), p_tier_id.utf8());
	if (pattern == nullptr) {
		return p_format_id + String(" ") + year;
	}
	switch (pattern->shape) {
		case NameShape::CITY_TEXT_YEAR:
			return p_city + String(pattern->text) + year;
		case NameShape::TEXT_CITY_YEAR:
			return String(pattern->text) + " " + p_city + " " + year;
		case NameShape::TEXT_COUNTER: {
			const Variant counter_key = pattern->counter_key != nullptr ? dictionary_key(pattern->counter_key) : Variant(p_tier_id);
			return String(pattern->text) + String::num_int64(take_edition(r_counters, counter_key));
		}
	}
	return p_format_id + String(" ") + year;
}

std::vector<TournamentStage> build_stage_plan(const Tournament &p_tournament) {
	std::vector<TournamentStage> stages;
	const bool best_of_five = p_tournament.tier_id == TierKind::HIGHEST;
	const int32_t rest_days = tier_rest_days(p_tournament.tier_id);
	for (const StagePlanRow &row : STAGE_PLANS) {
		if (p_tournament.format_id != row.format) {
			continue;
		}
		if (stages.empty()) {
			stages.push_back(build_planned_stage(row, best_of_five, FIRST_MATCH_NUMBER, p_tournament.start_date));
		} else {
			const TournamentStage &previous = stages.back();
			const String start = add_days(previous.next_date, rest_days);
			stages.push_back(build_planned_stage(row, best_of_five, previous.next_id, start));
		}
	}
	return stages;
}

Tournament make_created_tournament(const CreationRequest &p_request, int32_t p_id, Dictionary &r_counters,
		const Dictionary &p_quota_map) {
	const FormatSpec *format = find_format(p_request.format_id);
	const bool hosted = format != nullptr && format->needs_host_city;

	Tournament tournament = make_tournament();
	tournament.id = p_id;
	tournament.city = hosted ? p_request.city.strip_edges() : String();
	tournament.name = tournament_name(p_request.format_id, p_request.tier_id, p_request.inv_date, tournament.city, r_counters);
	tournament.format_id = CodedState<FormatKind>::from_text(p_request.format_id);
	tournament.tier_id = CodedState<TierKind>::from_text(p_request.tier_id);
	tournament.prize = prize_pool(p_request.format_id, p_request.tier_id);
	tournament.size = format_size(p_request.format_id);
	tournament.inv_date = p_request.inv_date;
	tournament.start_date = add_days(p_request.inv_date, tier_lead_days(p_request.tier_id));
	tournament.date = p_request.inv_date;
	if (same_id(p_request.format_id, "MAJOR")) {
		tournament.major_slots = normalize_quota_map(p_quota_map);
	}
	tournament.stages = build_stage_plan(tournament);
	return tournament;
}

} // namespace teamforge
