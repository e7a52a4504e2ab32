#include "views/tournament_summary.h"

#include "common/dictionary_keys.h"
#include "tournament/archiving.h"

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/string.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <cstdint>

using namespace godot;

namespace teamforge {

namespace {

// The first standing placed "1st"; standings are sorted best first, so this is normally the first one.
Dictionary champion_entry(const Array &p_standings) {
	const int64_t count = p_standings.size();
	for (int64_t i = 0; i < count; i++) {
		const Variant &standing = p_standings[i];
		if (standing.get_type() != Variant::DICTIONARY) {
			continue;
		}
		const Dictionary entry = standing.operator Dictionary();
		if (entry.get(TF_KEY("placement"), Variant()) == TF_KEY("1st")) {
			const Variant team = entry.get(TF_KEY("team"), Variant());
			return team.get_type() == Variant::DICTIONARY ? team.operator Dictionary() : Dictionary();
		}
	}
	return Dictionary();
}

} // namespace

Dictionary tournament_summary(const Tournament &p_tournament) {
	// Only completion crowns a champion: a completion that a handler interrupted is run again later.
	const Dictionary champion = p_tournament.status == TournamentStatus::COMPLETED
			? champion_entry(p_tournament.standings)
			: Dictionary();
	Dictionary summary;
	summary[TF_KEY("id")] = p_tournament.id;
	summary[TF_KEY("name")] = p_tournament.name;
	summary[TF_KEY("format_id")] = p_tournament.format_id.text();
	summary[TF_KEY("tier_id")] = p_tournament.tier_id.text();
	summary[TF_KEY("status")] = p_tournament.status.text();
	summary[TF_KEY("inv_date")] = p_tournament.inv_date;
	summary[TF_KEY("start_date")] = p_tournament.start_date;
	summary[TF_KEY("prize")] = p_tournament.prize;
	summary[TF_KEY("city")] = p_tournament.city;
	// Texts only: a summary holds no container, so it shares nothing with the records.
	summary[TF_KEY("champion_id")] = champion.get(TF_KEY("id"), TF_KEY("")).operator String();
	summary[TF_KEY("champion_name")] = champion.get(TF_KEY("name"), TF_KEY("")).operator String();
	summary[TF_KEY("archived")] = is_archived(p_tournament);
	return summary;
}

} // namespace teamforge
