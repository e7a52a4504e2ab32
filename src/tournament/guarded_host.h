#pragma once

// The manager as a day's engines see it. A signal handler may free the manager in the middle of its day;
// from then on every call here reads as an interrupted day with no database, no simulator and nothing
// to write, so the engines stop at their next check without touching the freed node.

#include "common/life_token.h"
#include "tournament/tournament_host.h"

#include <godot_cpp/classes/ref.hpp>
#include <godot_cpp/variant/dictionary.hpp>

#include <cstdint>

namespace teamforge {

class GuardedHost final : public TournamentHost {
public:
	GuardedHost(TournamentHost &p_host, LifeToken::Watch p_watch) :
			host(p_host), watch(std::move(p_watch)) {}

	godot::TeamDatabase *database() const override { return gone() ? nullptr : host.database(); }
	godot::Ref<godot::MatchSimulator> simulator() override {
		return gone() ? godot::Ref<godot::MatchSimulator>() : host.simulator();
	}
	int64_t funds() const override { return gone() ? 0 : host.funds(); }
	void set_funds(int64_t p_funds) override {
		if (!gone()) {
			host.set_funds(p_funds);
		}
	}
	godot::Dictionary quota_map() const override { return gone() ? godot::Dictionary() : host.quota_map(); }
	void set_quota_map(const godot::Dictionary &p_quotas) override {
		if (!gone()) {
			host.set_quota_map(p_quotas);
		}
	}
	bool has_achievement_listeners() const override { return !gone() && host.has_achievement_listeners(); }
	void emit_achievement_event(const godot::Dictionary &p_event) override {
		if (!gone()) {
			host.emit_achievement_event(p_event);
		}
	}
	void emit_tournament_completed(int32_t p_tournament_id) override {
		if (!gone()) {
			host.emit_tournament_completed(p_tournament_id);
		}
	}
	void emit_tournament_updated(int32_t p_tournament_id) override {
		if (!gone()) {
			host.emit_tournament_updated(p_tournament_id);
		}
	}
	bool day_interrupted() const override { return gone() || host.day_interrupted(); }

private:
	bool gone() const { return !still_alive(watch); }

	TournamentHost &host;
	LifeToken::Watch watch;
};

} // namespace teamforge
