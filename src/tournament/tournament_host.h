#pragma once

// What the tournament engines (invitations, stage engines, match play, completion) need from the manager
// that owns them. TournamentManager implements it; the engines never see the engine class itself.

#include "tournament/series_log.h"
#include "tournament/tournament_records.h"

#include <godot_cpp/classes/ref.hpp>
#include <godot_cpp/core/object_id.hpp>
#include <godot_cpp/variant/dictionary.hpp>

#include <cstdint>

namespace godot {
class TeamDatabase;
class MatchSimulator;
} // namespace godot

namespace teamforge {

class TournamentHost {
public:
	virtual ~TournamentHost() = default;

	// The team database, or null when none is set or it has been freed. Resolved anew on every call:
	// never keep the pointer across anything that emits a signal.
	virtual godot::TeamDatabase *database() const = 0;
	// The simulator; a script that removed it gets a new one here.
	virtual godot::Ref<godot::MatchSimulator> simulator() = 0;

	// Where played series are noted, or null while the manager keeps no log.
	virtual SeriesLog *series_log() = 0;

	virtual int64_t funds() const = 0;
	virtual void set_funds(int64_t p_funds) = 0;
	virtual godot::Dictionary quota_map() const = 0;
	// Stores the normalised form.
	virtual void set_quota_map(const godot::Dictionary &p_quotas) = 0;

	// Signals of the manager. A handler runs inside each and may free the manager, replace its records or
	// its database; every emit answers whether the day goes on, and an engine told false returns at once,
	// touching the host no more.
	// True while a handler is connected to achievement_event. An event's payload copies whole stages'
	// records, so it is built only for someone to receive it.
	virtual bool has_achievement_listeners() const = 0;
	[[nodiscard]] virtual bool emit_achievement_event(const godot::Dictionary &p_event) = 0;
	[[nodiscard]] virtual bool emit_tournament_completed(int32_t p_tournament_id) = 0;
	[[nodiscard]] virtual bool emit_tournament_updated(int32_t p_tournament_id) = 0;

	// A call that makes another object emit (the database's date, the simulator's series) holds this id
	// across it and stops, touching the host no more, when still_exists (common/emit_and_check.h) no
	// longer finds the host; only then may it ask day_goes_on.
	virtual godot::ObjectID host_id() const = 0;
	// False once a handler has replaced the manager's records (from_dict, set_tournaments) or its team
	// database since the current day began: the day's work stops there.
	virtual bool day_goes_on() const = 0;
};

} // namespace teamforge
