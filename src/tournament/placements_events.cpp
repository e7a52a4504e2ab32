#include "tournament/placements_events.h"

#include "common/copy_on_write.h"
#include "common/detached_copy.h"
#include "common/dictionary_keys.h"
#include "common/script_values.h"
#include "common/text_key_reading.h"
#include "data/placement_weights.h"
#include "team_database.h"
#include "tournament/stage_building.h"
#include "tournament/team_entries.h"

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/variant.hpp>

#include <cstring>

namespace teamforge {

using godot::Array;
using godot::Dictionary;
using godot::String;
using godot::Variant;

double placement_weight(const String &p_label) {
	const godot::CharString label = p_label.utf8();
	for (const PlacementWeight &entry : PLACEMENT_WEIGHTS) {
		if (std::strcmp(label.get_data(), entry.label) == 0) {
			return entry.weight;
		}
	}
	return 0.0;
}

bool placement_weight_greater(double p_a, double p_b) {
	return p_a - p_b > PLACEMENT_WEIGHT_TOLERANCE;
}

bool emit_achievement_event(TournamentHost &p_host, const String &p_type, const Tournament &p_tournament,
		const Dictionary &p_context) {
	Dictionary event;
	event[TF_KEY("type")] = p_type;
	event[TF_KEY("tour_id")] = p_tournament.id;
	event[TF_KEY("format_id")] = p_tournament.format_id.text();
	event[TF_KEY("tier_id")] = p_tournament.tier_id.text();
	event[TF_KEY("status")] = p_tournament.status.text();
	event[TF_KEY("current_stage_idx")] = p_tournament.current_stage_idx;
	// Contexts carry the stage's own records and standings; handlers get them detached.
	event[TF_KEY("context")] = detached(p_context);
	return p_host.emit_achievement_event(event);
}

Dictionary make_placement(const TeamRoster &p_roster, const Dictionary &p_initial_vrs, const Dictionary &p_entry,
		const String &p_label) {
	const Variant initial = p_initial_vrs.get(entry_id(p_entry), Variant());
	const int64_t vrs_before = initial.get_type() != Variant::NIL ? static_cast<int64_t>(initial) : p_roster.live_rating(p_entry);
	Dictionary placement;
	placement[TF_KEY("team")] = p_entry;
	placement[TF_KEY("tag")] = p_label;
	placement[TF_KEY("vrs_before")] = vrs_before;
	return placement;
}

void record_placement(TournamentHost &p_host, Tournament &r_tournament, const Dictionary &p_entry,
		const String &p_label) {
	const String id = entry_id(p_entry);
	if (id.is_empty()) {
		return;
	}
	const Dictionary initial_vrs = readable_by_text_keys(r_tournament.initial_vrs);
	// The team list is read only for a team without a rating at the start.
	const bool has_initial = initial_vrs.get(id, Variant()).get_type() != Variant::NIL;
	const Dictionary placement = make_placement(TeamRoster(has_initial ? nullptr : p_host.database()), initial_vrs,
			p_entry, p_label);

	// The list is the tournament's own (saves and views detach it), so it is written in place; one that a
	// loaded save typed or froze becomes a plain list first.
	Array &placements = r_tournament.placements;
	const auto make_writable = [&placements]() {
		if (placements.is_read_only() || placements.is_typed()) {
			placements = plain_list(placements);
		}
	};
	const int64_t count = placements.size();
	for (int64_t i = 0; i < count; i++) {
		const Dictionary existing = as_dictionary(static_cast<const Array &>(placements)[i]);
		if (entry_id(existing.get(TF_KEY("team"), Variant())) != id) {
			continue;
		}
		// A placement only ever improves: a later label must rank strictly higher to replace it.
		const String tag = existing.get(TF_KEY("tag"), String());
		if (placement_weight_greater(placement_weight(p_label), placement_weight(tag))) {
			make_writable();
			placements[i] = placement;
		}
		return;
	}
	make_writable();
	placements.push_back(placement);
}

} // namespace teamforge
