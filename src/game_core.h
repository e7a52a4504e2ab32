#pragma once

// The node a game scene holds to run one game: it owns the team database and the tournament manager,
// starts or loads a game, advances the calendar and tells the interface what changed.

#include <godot_cpp/classes/node.hpp>
#include <godot_cpp/classes/wrapped.hpp>
#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/dictionary.hpp>
#include <godot_cpp/variant/string.hpp>
#include <godot_cpp/variant/string_name.hpp>

#include <cstdint>
#include <memory>
#include <vector>

namespace godot {

class TeamDatabase;
class TournamentManager;

class GameCore : public Node {
	GDCLASS(GameCore, Node)

	// A signal handler may start a new game, load one or free this node (directly, or by freeing its
	// parent) while a call is still running. Nodes released meanwhile wait here by instance id and are
	// freed when the outermost call returns, never while one of them may still be sending a signal. Shared
	// with the running calls, so it outlives this node.
	struct DeferredRelease {
		int32_t calls_running = 0;
		std::vector<uint64_t> node_ids;
	};
	class CallScope;

	// The two nodes this game owns, held by instance id: a script can reach them (through the relay's
	// connection) and free them, and a freed child then reads as none instead of dangling.
	uint64_t team_database_id = 0;
	uint64_t tournament_manager_id = 0;
	std::shared_ptr<DeferredRelease> deferred;
	int32_t days_running = 0;
	// The seed a script gave, kept so that every manager this node makes (a new game, a lost one
	// replaced) and every load start their simulator from it. Any value is a seed, zero included.
	bool has_game_seed = false;
	int64_t game_seed = 0;

	TeamDatabase *database() const;
	TournamentManager *manager() const;
	// The child, made anew if a script freed it.
	TeamDatabase *ensure_database();
	TournamentManager *ensure_manager();
	void create_team_database();
	void create_tournament_manager();
	void wire_tournament_manager();
	void release_tournament_manager();
	void seed_simulator();
	void release(uint64_t p_node_id);
	static void free_deferred(DeferredRelease &r_deferred);
	// False when a handler freed this node: the caller must return at once.
	bool refresh();
	// Emits p_signal with p_make_payload() only when someone is connected to it; false when a handler
	// freed this node.
	template <class MakePayload>
	bool emit_if_heard(const StringName &p_signal, MakePayload p_make_payload);
	void _on_tournament_achievement_event(const Dictionary &p_event);

protected:
	static void _bind_methods();

public:
	GameCore();
	~GameCore() override;

	void initialize_new_game();
	bool advance_day();
	String get_current_date() const;
	Dictionary get_leaderboard_data(const String &p_region_filter = "ALL", const String &p_sort_mode = "VRS") const;
	Dictionary get_organize_data() const;
	Dictionary create_tournament(const String &p_format_id, const String &p_tier_id, const String &p_inv_date,
			const String &p_city = String());
	int64_t get_credits() const;
	void set_credits(int64_t p_credits);
	Dictionary to_dict() const;
	void from_dict(const Dictionary &p_data);
	// Beyond the saved surface: the manager's rating history of one team.
	Array get_rating_history(const String &p_team_id) const;
	// Beyond the core surface: the tournament manager's light queries and archiving.
	Dictionary get_tournament(int64_t p_tournament_id) const;
	Array get_tournament_summaries() const;
	int64_t archive_tournaments_before(const String &p_date);
	// Beyond the core surface: one seed for the whole game, so that a season can be replayed.
	void set_seed(int64_t p_seed);
};

} // namespace godot
