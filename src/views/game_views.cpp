#include "views/game_views.h"

#include "common/dates.h"
#include "common/detached_copy.h"
#include "common/dictionary_keys.h"
#include "common/game_rules.h"
#include "data/tournament_catalog.h"
#include "team_data.h"
#include "team_database.h"
#include "tournament_manager.h"

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

using namespace godot;

namespace teamforge {

namespace {

struct RegionAlias {
	const char *text;
	const char *code;
};

constexpr RegionAlias REGION_ALIASES[] = {
	{ REGION_EU, REGION_EU },
	{ "EUROPE", REGION_EU },
	{ REGION_AM, REGION_AM },
	{ "AMERICA", REGION_AM },
	{ "AMERICAS", REGION_AM },
	{ REGION_AS, REGION_AS },
	{ "ASIA", REGION_AS },
};

// What the ordering needs of a team, read once so the sort stays on C++ values.
struct Standing {
	Ref<TeamData> team;
	int32_t vrs = 0;
	int32_t wins = 0;
	int64_t prize_total = 0;
	String name;
	String region;
	int64_t global_rank = 0;
	int64_t regional_rank = 0;
};

bool rating_order(const Standing *p_a, const Standing *p_b) {
	if (p_a->vrs != p_b->vrs) {
		return p_a->vrs > p_b->vrs;
	}
	if (p_a->wins != p_b->wins) {
		return p_a->wins > p_b->wins;
	}
	return p_a->name.naturalnocasecmp_to(p_b->name) < 0;
}

bool prize_order(const Standing *p_a, const Standing *p_b) {
	if (p_a->prize_total != p_b->prize_total) {
		return p_a->prize_total > p_b->prize_total;
	}
	return rating_order(p_a, p_b);
}

Dictionary leaderboard_row(const Standing &p_standing, int64_t p_display_rank) {
	const TeamData &team = *p_standing.team.ptr();
	// A copy: a screen that sorts the honours it shows must not reorder the team's.
	const Array honors = detached(team.get_honors());
	Dictionary row;
	row[TF_KEY("rank")] = p_standing.global_rank;
	row[TF_KEY("id")] = team.get_id();
	row[TF_KEY("name")] = p_standing.name;
	row[TF_KEY("region")] = p_standing.region;
	row[TF_KEY("region_key")] = TF_TEXT("REGION_") + p_standing.region;
	row[TF_KEY("vrs")] = p_standing.vrs;
	row[TF_KEY("stamina")] = team.get_stamina();
	row[TF_KEY("wins")] = p_standing.wins;
	row[TF_KEY("losses")] = team.get_losses();
	row[TF_KEY("prize_total")] = p_standing.prize_total;
	// The team's own honours array, under both names the interface reads.
	row[TF_KEY("honors")] = honors;
	row[TF_KEY("historical_honors")] = honors;
	row[TF_KEY("global_rank")] = p_standing.global_rank;
	row[TF_KEY("regional_rank")] = p_standing.regional_rank;
	row[TF_KEY("display_rank")] = p_display_rank;
	return row;
}

Dictionary leaderboard_result(const String &p_date, const String &p_region_filter, const String &p_sort_mode,
		const Array &p_rows) {
	Dictionary result;
	result[TF_KEY("current_date")] = p_date;
	result[TF_KEY("region_filter")] = p_region_filter;
	result[TF_KEY("sort_mode")] = p_sort_mode;
	result[TF_KEY("teams")] = p_rows;
	result[TF_KEY("count")] = p_rows.size();
	return result;
}

Dictionary option(const String &p_id, const String &p_label_key) {
	Dictionary entry;
	entry[TF_KEY("id")] = p_id;
	entry[TF_KEY("label_key")] = p_label_key;
	return entry;
}

Array tier_options(const FormatSpec &p_format) {
	Array options;
	for (size_t i = 0; i < TIER_TABLE_SIZE; i++) {
		if ((p_format.allowed_tiers & (1u << i)) == 0) {
			continue;
		}
		const String tier(TIER_TABLE[i].id);
		// Only the highest tier has a label key of its own; the others are their own keys.
		options.push_back(option(tier, i == 0 ? String("TIER_HIGHEST") : tier));
	}
	return options;
}

} // namespace

String normalize_region(const String &p_region) {
	const String code = p_region.strip_edges().to_upper();
	for (const RegionAlias &alias : REGION_ALIASES) {
		if (code == fixed_text(alias.text)) {
			return fixed_text(alias.code);
		}
	}
	return code;
}

Dictionary leaderboard_view(const TeamDatabase *p_database, const String &p_region_filter, const String &p_sort_mode) {
	if (p_database == nullptr) {
		return leaderboard_result(String(), p_region_filter, p_sort_mode, Array());
	}
	const Array teams = p_database->get_teams();
	const int64_t count = teams.size();
	std::vector<Standing> standings;
	standings.reserve(static_cast<size_t>(count));
	for (int64_t i = 0; i < count; i++) {
		// Only live TeamData records count; anything else a script put in the list is passed over.
		const Ref<TeamData> team(teams[i]);
		if (team.is_null()) {
			continue;
		}
		Standing standing;
		standing.vrs = team->get_vrs();
		standing.wins = team->get_wins();
		standing.prize_total = team->get_prize_total();
		standing.name = team->get_name();
		standing.region = normalize_region(team->get_region());
		standing.team = team;
		standings.push_back(standing);
	}

	// Stable sorts: teams equal in every key keep the list's order, so one state gives one table.
	std::vector<Standing *> order;
	order.reserve(standings.size());
	for (Standing &standing : standings) {
		order.push_back(&standing);
	}
	std::stable_sort(order.begin(), order.end(), rating_order);
	for (size_t i = 0; i < order.size(); i++) {
		order[i]->global_rank = static_cast<int64_t>(i) + 1;
	}

	const bool every_region = p_region_filter == TF_TEXT("ALL");
	std::vector<Standing *> kept;
	kept.reserve(order.size());
	for (Standing *standing : order) {
		if (every_region || standing->region == p_region_filter) {
			standing->regional_rank = every_region ? 0 : static_cast<int64_t>(kept.size()) + 1;
			kept.push_back(standing);
		}
	}
	if (p_sort_mode == TF_TEXT("PRIZE")) {
		std::stable_sort(kept.begin(), kept.end(), prize_order);
	}

	Array rows;
	rows.resize(static_cast<int64_t>(kept.size()));
	for (size_t i = 0; i < kept.size(); i++) {
		rows[static_cast<int64_t>(i)] = leaderboard_row(*kept[i], static_cast<int64_t>(i) + 1);
	}
	return leaderboard_result(p_database->get_current_date(), p_region_filter, p_sort_mode, rows);
}

Dictionary organize_view(const TeamDatabase *p_database, const TournamentManager *p_manager) {
	Array format_options;
	Dictionary tiers_by_format;
	for (const FormatSpec &format : FORMAT_TABLE) {
		const String id(format.id);
		format_options.push_back(option(id, String("FORMAT_") + id));
		tiers_by_format[id] = tier_options(format);
	}

	Dictionary result;
	result[TF_KEY("current_date")] = p_database ? p_database->get_current_date() : String();
	result[TF_KEY("format_options")] = format_options;
	result[TF_KEY("tier_options")] = tier_options(FORMAT_TABLE[0]);
	result[TF_KEY("tier_options_by_format")] = tiers_by_format;
	// A date add_days cannot read (no database gives "") is offered unchanged.
	const String date = p_database ? p_database->get_current_date() : String();
	result[TF_KEY("default_invitation_date")] = add_days(date, 1);
	result[TF_KEY("available_funds")] = p_manager ? p_manager->get_available_funds() : int64_t(0);
	result[TF_KEY("tournaments")] = p_manager ? p_manager->get_tournaments() : Array();
	return result;
}

} // namespace teamforge
