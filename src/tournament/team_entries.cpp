#include "tournament/team_entries.h"

#include "common/dictionary_keys.h"
#include "common/game_rules.h"
#include "common/script_values.h"
#include "common/text_key_reading.h"
#include "team_data.h"
#include "team_database.h"
#include "tournament/stage_building.h"

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/variant.hpp>

namespace teamforge {

namespace {

void write_team_values(godot::Dictionary &r_entry, const godot::TeamData &p_team) {
	r_entry[TF_KEY("id")] = p_team.get_id();
	r_entry[TF_KEY("name")] = p_team.get_name();
	r_entry[TF_KEY("region")] = p_team.get_region();
	r_entry[TF_KEY("vrs")] = p_team.get_vrs();
	r_entry[TF_KEY("stamina")] = p_team.get_stamina();
	r_entry[TF_KEY("wins")] = p_team.get_wins();
	r_entry[TF_KEY("losses")] = p_team.get_losses();
	r_entry[TF_KEY("prize_total")] = p_team.get_prize_total();
	// A copy: honours a script later appends to the team's own array stay out of the snapshot. Most teams
	// have none, and a new empty list costs less than a copy of one.
	const godot::Array honors = p_team.get_honors();
	r_entry[TF_KEY("honors")] = honors.is_empty() && !honors.is_typed() ? godot::Array() : honors.duplicate();
}

} // namespace

godot::String entry_id(const godot::Variant &p_entry) {
	return as_dictionary(p_entry).get(TF_KEY("id"), godot::String());
}

godot::Dictionary make_team_entry(const godot::TeamData &p_team) {
	godot::Dictionary entry;
	write_team_values(entry, p_team);
	return entry;
}

godot::Dictionary refresh_team_entry(const godot::Dictionary &p_entry, const godot::TeamData &p_team) {
	godot::Dictionary entry = plain_copy(p_entry);
	write_team_values(entry, p_team);
	return entry;
}

void refresh_own_team_entry(godot::Dictionary &r_entry, const godot::TeamData &p_team) {
	ensure_writable(r_entry);
	write_team_values(r_entry, p_team);
}

TeamRoster::TeamRoster(const godot::TeamDatabase *p_database) :
		database(p_database) {
	if (p_database == nullptr) {
		return;
	}
	list = p_database->team_records();
}

godot::TeamData *TeamRoster::find(const godot::String &p_id) const {
	return database != nullptr ? database->find_team_record(list, p_id) : nullptr;
}

godot::TeamData *TeamRoster::find_entry(const godot::Dictionary &p_entry) const {
	if (list.empty()) {
		return nullptr;
	}
	return find(entry_id(p_entry));
}

int64_t TeamRoster::rank_of(const godot::TeamData *p_team) const {
	if (p_team == nullptr) {
		return UNRANKED;
	}
	size_t own = list.size();
	for (size_t i = 0; i < list.size(); i++) {
		if (list[i] == p_team) {
			own = i;
			break;
		}
	}
	if (own == list.size()) {
		return UNRANKED;
	}
	const int32_t rating = p_team->get_vrs();
	int64_t ahead = 0;
	for (size_t i = 0; i < list.size(); i++) {
		const int32_t other = list[i]->get_vrs();
		if (other > rating || (other == rating && i < own)) {
			ahead++;
		}
	}
	return ahead + 1;
}

int64_t TeamRoster::live_rating(const godot::Dictionary &p_entry) const {
	const godot::TeamData *team = find_entry(p_entry);
	if (team != nullptr) {
		return team->get_vrs();
	}
	return readable_by_text_keys(p_entry).get(TF_KEY("vrs"), DEFAULT_RATING);
}

int64_t TeamRoster::live_stamina(const godot::Dictionary &p_entry) const {
	const godot::TeamData *team = find_entry(p_entry);
	if (team != nullptr) {
		return team->get_stamina();
	}
	return readable_by_text_keys(p_entry).get(TF_KEY("stamina"), STAMINA_MAX);
}

} // namespace teamforge
