#include "tournament/day_driver.h"

#include "common/dates.h"
#include "common/dictionary_keys.h"
#include "common/emit_and_check.h"
#include "common/game_rules.h"
#include "common/rounding.h"
#include "team_data.h"
#include "team_database.h"
#include "tournament/completion.h"
#include "tournament/invitations.h"
#include "tournament/match_play.h"
#include "tournament/team_entries.h"

namespace teamforge {

namespace {

bool on_or_after(const godot::String &p_day, const godot::String &p_date) {
	return compare_dates(p_day, p_date) >= 0;
}

// Invitation, activation and play, each announced. Returns false once the day stops.
bool step_tournament(TournamentHost &p_host, Tournament &r_tournament, const godot::String &p_day) {
	if (r_tournament.status == TournamentStatus::COMPLETED && r_tournament.payout_due) {
		// Saved between its announcement and its payout: the payout is all that is left of it.
		if (!pay_out_completion(p_host, r_tournament)) {
			return false;
		}
		return p_host.emit_tournament_updated(r_tournament.id);
	}
	if (r_tournament.status == TournamentStatus::PENDING && on_or_after(p_day, r_tournament.inv_date)) {
		send_invitations(p_host, r_tournament);
		if (!p_host.emit_tournament_updated(r_tournament.id)) {
			return false;
		}
	}
	if (r_tournament.status == TournamentStatus::WAITING && on_or_after(p_day, r_tournament.start_date)) {
		r_tournament.status = TournamentStatus::ACTIVE;
		if (!p_host.emit_tournament_updated(r_tournament.id)) {
			return false;
		}
	}
	if (r_tournament.status == TournamentStatus::ACTIVE) {
		if (!play_tournament_day(p_host, r_tournament, p_day)) {
			return false;
		}
		if (!p_host.emit_tournament_updated(r_tournament.id)) {
			return false;
		}
	}
	return true;
}

void recover_stamina(const godot::TeamDatabase *p_database) {
	const TeamRoster roster(p_database);
	for (godot::TeamData *team : roster.teams()) {
		team->set_stamina(static_cast<int32_t>(clamp_int64(static_cast<int64_t>(team->get_stamina()) + DAILY_STAMINA_RECOVERY, STAMINA_MIN, STAMINA_MAX)));
	}
}

} // namespace

DayOutcome run_tournament_day(TournamentHost &p_host, const TournamentList &p_tournaments) {
	DayOutcome outcome;
	godot::TeamDatabase *database = p_host.database();
	if (database == nullptr) {
		return outcome;
	}
	outcome.date = add_days(database->get_current_date(), 1);
	// Emits current_date_changed: from here on a handler may have changed anything.
	const godot::ObjectID host = p_host.host_id();
	database->set_current_date(outcome.date);
	if (!still_exists(host) || !p_host.day_goes_on()) {
		return outcome;
	}
	for (const TournamentPtr &tournament : p_tournaments) {
		if (tournament != nullptr && !step_tournament(p_host, *tournament, outcome.date)) {
			return outcome;
		}
	}
	recover_stamina(p_host.database());
	outcome.completed = true;
	return outcome;
}

} // namespace teamforge
