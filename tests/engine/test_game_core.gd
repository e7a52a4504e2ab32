extends TestCase
# GameCore: a game's lifetime (new game, days, creation, credits, save and load), the leaderboard and
# organize views, the relayed achievement event, and handlers that call back into the node mid-day.

const SIGNALS := ["current_date_changed", "leaderboard_changed", "organize_changed", "tournament_created",
		"achievement_event"]
const ROW_KEYS := ["rank", "id", "name", "region", "region_key", "vrs", "stamina", "wins", "losses",
		"prize_total", "honors", "historical_honors", "global_rank", "regional_rank", "display_rank"]

var core: GameCore


func before_each() -> void:
	core = autofree(GameCore.new())


func after_each() -> void:
	core = null


static func _team(id: String, team_name: String, region: String, vrs: int, wins := 0, prize := 0) -> Dictionary:
	return {"id": id, "name": team_name, "region": region, "vrs": vrs, "stamina": 100, "wins": wins,
			"losses": 0, "prize_total": prize, "honors": []}


func _load_teams(teams: Array) -> void:
	core.from_dict({"team_database": {"current_date": "2026-03-01", "teams": teams}})


static func _column(view: Dictionary, key: String) -> Array:
	return view.teams.map(func(row): return row[key])


# Advances until every tournament is completed (or the day limit is reached); returns the days taken.
func _play_out(game: GameCore, limit: int) -> int:
	for day in limit:
		var open: Array = game.get_organize_data().tournaments.filter(func(t): return t.status != "COMPLETED")
		if open.is_empty():
			return day
		game.advance_day()
	return limit


func _organize_every_format(game: GameCore) -> void:
	var requests := [["MAJOR", "HIGHEST", "2026-01-05", "Cologne"], ["IEM", "TIER_S", "2026-01-03", "Katowice"],
			["EWC", "HIGHEST", "2026-01-04", ""], ["BLAST", "TIER_1", "2026-01-02", "Lisbon"],
			["EPL", "TIER_OPEN", "2026-01-06", ""]]
	for r in requests:
		var result: Dictionary = game.create_tournament(r[0], r[1], r[2], r[3])
		assert_true(result.ok, "%s: %s" % [r, result.message_key])


func test_new_game_days_and_credits() -> void:
	assert_eq(core.get_current_date(), "2026-01-01")
	assert_eq(core.get_credits(), 10000000)
	var log := watch_signals(core, SIGNALS)
	assert_true(core.advance_day())
	assert_eq(core.get_current_date(), "2026-01-02")
	assert_eq(signal_names(log), ["current_date_changed", "leaderboard_changed", "organize_changed"])
	assert_eq(log[0][1], "2026-01-02")
	assert_eq(log[1][1], core.get_leaderboard_data("ALL", "VRS"), "the day sends the full leaderboard by rating")
	assert_eq(log[2][1], {"current_date": "2026-01-02", "available_funds": 10000000})
	assert_keys(log[2][1], ["current_date", "available_funds"])

	core.set_credits(-5)
	assert_eq(core.get_credits(), -5)
	log.clear()
	core.initialize_new_game()
	assert_eq(signal_names(log), ["current_date_changed", "leaderboard_changed", "organize_changed"])
	assert_eq(core.get_current_date(), "2026-01-01")
	assert_eq(core.get_credits(), 10000000, "a new game brings a new manager")
	assert_eq(log[2][1], core.get_organize_data())


func test_organize_data_lists_formats_tiers_and_tournaments() -> void:
	var data := core.get_organize_data()
	assert_keys(data, ["current_date", "format_options", "tier_options", "tier_options_by_format",
			"default_invitation_date", "available_funds", "tournaments"])
	assert_eq(data.current_date, "2026-01-01")
	assert_eq(data.default_invitation_date, "2026-01-02")
	assert_eq(data.format_options.map(func(o): return [o.id, o.label_key]), [["MAJOR", "FORMAT_MAJOR"],
			["IEM", "FORMAT_IEM"], ["EWC", "FORMAT_EWC"], ["BLAST", "FORMAT_BLAST"], ["EPL", "FORMAT_EPL"]])
	assert_eq(data.tier_options, [{"id": "HIGHEST", "label_key": "TIER_HIGHEST"}])
	assert_eq(data.tier_options_by_format.keys(), ["MAJOR", "IEM", "EWC", "BLAST", "EPL"])
	assert_eq(data.tier_options_by_format.BLAST.map(func(o): return o.label_key), ["TIER_HIGHEST", "TIER_S", "TIER_1"])
	assert_eq(data.tier_options_by_format.EPL.map(func(o): return o.id), ["HIGHEST", "TIER_S", "TIER_1", "TIER_2",
			"TIER_3", "TIER_OPEN"])
	assert_eq(data.available_funds, 10000000)
	assert_eq(data.tournaments, [])


func test_create_tournament_reports_both_outcomes_with_both_signals() -> void:
	var log := watch_signals(core, SIGNALS)
	var ok := core.create_tournament("IEM", "HIGHEST", "2026-02-01", "Katowice")
	assert_keys(ok, ["ok", "format_id", "tier_id", "inv_date", "city", "organize_data", "message_key"])
	assert_eq([ok.ok, ok.message_key, ok.city], [true, "ORGANIZE_CREATE_SUCCESS", "Katowice"])
	assert_eq(ok.organize_data.tournaments.size(), 1, "the organize data is taken after the attempt")
	assert_eq(ok.organize_data.available_funds, 8500000)
	var refused := core.create_tournament("IEM", "HIGHEST", "2026-02-01", "  katowice ")
	assert_eq([refused.ok, refused.message_key], [false, "ERROR_DUPLICATE_CITY_FORMAT_YEAR"])
	var unknown := core.create_tournament("CUP", "HIGHEST", "2026-02-01")
	assert_eq(unknown.message_key, "ERROR_INVALID_TOURNAMENT_FORMAT")
	var no_day := core.create_tournament("EPL", "TIER_OPEN", "2026-02-30")
	assert_eq([no_day.ok, no_day.message_key], [false, "ERROR_INVALID_INVITATION_DATE"])
	assert_eq(signal_names(log), ["tournament_created", "organize_changed", "tournament_created", "organize_changed",
			"tournament_created", "organize_changed", "tournament_created", "organize_changed"])
	assert_eq(log[2][1], refused)
	assert_eq(log[3][1], refused.organize_data)
	assert_eq(core.get_credits(), 8500000)


func test_leaderboard_ranks_filters_and_sorts() -> void:
	var all := core.get_leaderboard_data()
	assert_eq([all.count, all.region_filter, all.sort_mode, all.current_date], [100, "ALL", "VRS", "2026-01-01"])
	assert_keys(all.teams[0], ROW_KEYS)
	assert_eq(_column(all, "display_rank"), range(1, 101))
	assert_eq(_column(all, "global_rank"), _column(all, "rank"))
	assert_eq(_column(all, "regional_rank"), range(100).map(func(_i): return 0))
	assert_eq(all.teams[0].id, "t-0")

	_load_teams([
		_team("a", "Team 10", "AS", 1500, 3),
		_team("b", " europe ", " europe ", 1500, 3, 900),
		_team("c", "Team 9", "asia", 1500, 3, 50),
		_team("d", "alpha", "Oceania", 1700, 1, 50),
		_team("e", "Beta", "EU", 1700, 1, 5000),
		_team("f", "Gamma", "EU", 1400, 9, 5000),
	])
	var view := core.get_leaderboard_data("ALL", "anything")
	assert_eq(_column(view, "id"), ["d", "e", "b", "c", "a", "f"], "rating, wins, then natural case-free names")
	assert_eq(_column(view, "region"), ["OCEANIA", "EU", "EU", "AS", "AS", "EU"])
	assert_eq(_column(view, "region_key"), ["REGION_OCEANIA", "REGION_EU", "REGION_EU", "REGION_AS", "REGION_AS",
			"REGION_EU"])
	var eu := core.get_leaderboard_data("EU", "PRIZE")
	assert_eq(_column(eu, "id"), ["e", "f", "b"], "prize first, the rating order among equals")
	assert_eq(_column(eu, "regional_rank"), [1, 3, 2])
	assert_eq(_column(eu, "global_rank"), [2, 6, 3])
	assert_eq(_column(eu, "display_rank"), [1, 2, 3])
	assert_eq(core.get_leaderboard_data("eu").count, 0, "the filter is a code, not normalised")
	var honors: Array = eu.teams[0].honors
	assert_same(honors, eu.teams[0].historical_honors)
	# At equal ratings the team with more wins ranks first, whatever the names say.
	_load_teams([_team("x", "Aaa", "EU", 1500, 2), _team("y", "Zzz", "EU", 1500, 7), _team("z", "Mmm", "EU", 1500, 4)])
	assert_eq(_column(core.get_leaderboard_data(), "id"), ["y", "z", "x"], "wins break a rating tie")


func test_from_empty_dict_gives_an_empty_world_on_the_first_day() -> void:
	core.create_tournament("EWC", "HIGHEST", "2026-03-01")
	var log := watch_signals(core, SIGNALS)
	core.from_dict({})
	assert_eq(signal_names(log), ["current_date_changed", "leaderboard_changed", "organize_changed"])
	assert_eq(core.get_current_date(), "2026-01-01")
	assert_eq(core.get_leaderboard_data().count, 0)
	assert_eq(core.get_credits(), 10000000)
	assert_eq(core.get_organize_data().tournaments, [])
	assert_eq(core.to_dict().keys(), ["team_database", "tournament_manager"])


func test_season_saved_midway_plays_on_in_a_new_node_with_one_relay() -> void:
	_organize_every_format(core)
	var events := watch_signals(core, ["achievement_event"])
	for day in 20:
		core.advance_day()
	var saved := core.to_dict()
	var events_before := events.size()
	assert_true(events_before > 0, "matches were played")

	var loaded: GameCore = autofree(GameCore.new())
	var log := watch_signals(loaded, SIGNALS)
	loaded.from_dict(saved)
	assert_eq(signal_names(log), ["current_date_changed", "leaderboard_changed", "organize_changed"])
	assert_eq(loaded.to_dict(), saved)
	assert_eq(loaded.get_credits(), core.get_credits())
	assert_eq(loaded.get_current_date(), "2026-01-21")

	# Loading wires the same manager again; the relay must stay single.
	loaded.from_dict(loaded.to_dict())
	log.clear()
	var days := _play_out(loaded, 200)
	assert_true(days < 200, "every tournament completes")
	var seen := {}
	for entry in log:
		if entry[0] != "achievement_event" or entry[1].type != "match_played":
			continue
		var key := "%d/%s" % [entry[1].tour_id, entry[1].context.match_id]
		assert_false(seen.has(key), "relayed once: " + key)
		seen[key] = true
	assert_true(seen.size() > 0)
	var statuses: Array = loaded.get_organize_data().tournaments.map(func(t): return t.status)
	assert_eq(statuses, ["COMPLETED", "COMPLETED", "COMPLETED", "COMPLETED", "COMPLETED"])
	var champions: Array = loaded.get_leaderboard_data().teams.filter(func(row): return not row.honors.is_empty())
	assert_true(champions.size() >= 5, "every winner is honoured")


func test_handlers_may_restart_or_load_the_game_mid_day() -> void:
	_organize_every_format(core)
	var saved := core.to_dict()
	for day in 12:
		core.advance_day()

	# A new game started from inside the day replaces the manager only once the day is over.
	var restarts := [0]
	var restart := func(_event: Dictionary) -> void:
		if restarts[0] == 0:
			restarts[0] += 1
			core.initialize_new_game()
	core.achievement_event.connect(restart)
	for day in 5:
		core.advance_day()
	core.achievement_event.disconnect(restart)
	assert_eq(restarts[0], 1)
	assert_eq(core.get_organize_data().tournaments, [], "the new game has no tournaments")
	assert_eq(core.get_credits(), 10000000)
	assert_eq(core.get_leaderboard_data().count, 100)

	# A load from inside the day.
	var loads := [0]
	var load_game := func(_event: Dictionary) -> void:
		if loads[0] == 0:
			loads[0] += 1
			core.from_dict(saved)
	core.from_dict(saved)
	for day in 12:
		core.advance_day()
	core.achievement_event.connect(load_game)
	for day in 3:
		core.advance_day()
	core.achievement_event.disconnect(load_game)
	assert_eq(loads[0], 1)
	assert_true(_play_out(core, 200) < 200, "the loaded game plays on to its end")

	# A day asked for inside a day is refused; the outer day carries on.
	var nested := []
	var again := func(_event: Dictionary) -> void:
		if nested.is_empty():
			nested.append(core.advance_day())
	core.from_dict(saved)
	core.achievement_event.connect(again)
	for day in 12:
		core.advance_day()
	core.achievement_event.disconnect(again)
	assert_eq(nested, [false])
	assert_eq(core.get_current_date(), "2026-01-13")


func test_views_and_saves_are_the_callers_own() -> void:
	_organize_every_format(core)
	for day in 40:
		core.advance_day()
	var saved := core.to_dict()
	var text := var_to_str(saved)
	var organize := core.get_organize_data()
	for t in organize.tournaments:
		t.participants.reverse()
		t.standings.clear()
		if not t.stages.is_empty():
			t.stages[0].records.clear()
			t.stages[0].nodes[0].team_a.name = "changed"
	for row in core.get_leaderboard_data().teams:
		row.honors.append({"title": "fake"})
	saved.tournament_manager.tournaments[0].participants.clear()
	saved.team_database.teams[0].honors.append("fake")
	var fresh := var_to_str(core.to_dict())
	saved = str_to_var(text)
	assert_eq(fresh, text, "the game is unchanged by what was done to its views and its save")
	core.from_dict(saved)
	saved.tournament_manager.tournaments.clear()
	saved.team_database.teams[0].honors.clear()
	assert_eq(var_to_str(core.to_dict()), text, "nor by what is done to a loaded save afterwards")


# The relay's connection leads a script to the game's manager, and the manager to its database.
func test_a_game_whose_parts_a_script_freed_goes_on_without_them() -> void:
	_organize_every_format(core)
	var manager: TournamentManager = core.get_incoming_connections()[0].signal.get_object()
	var database: TeamDatabase = manager.get_team_database()
	core.advance_day()
	manager.free()
	assert_true(core.advance_day(), "a day without a manager moves the date")
	assert_eq(core.get_current_date(), "2026-01-03")
	assert_eq(core.get_credits(), 0, "no manager, no funds")
	assert_true(core.create_tournament("EPL", "TIER_3", "2026-02-01").ok, "a new manager organises")
	assert_eq(core.get_organize_data().tournaments.size(), 1)
	manager = core.get_incoming_connections()[0].signal.get_object()
	manager.get_team_database().free()
	assert_false(core.advance_day(), "no day without a database")
	assert_eq(core.get_leaderboard_data().count, 0)
	core.initialize_new_game()
	assert_eq([core.get_leaderboard_data().count, core.get_current_date()], [100, "2026-01-01"], "a new game")
	# Freed from a handler in the middle of the game's own day.
	manager = core.get_incoming_connections()[0].signal.get_object()
	database = manager.get_team_database()
	database.current_date_changed.connect(func(_date: String) -> void: manager.free(), CONNECT_ONE_SHOT)
	assert_true(core.advance_day())
	assert_eq(core.get_current_date(), "2026-01-02")
	assert_false(is_instance_valid(manager))
	# A new game started, or the node freed, by a handler of the game's own parts while they emit.
	core.initialize_new_game()
	manager = core.get_incoming_connections()[0].signal.get_object()
	manager.tournament_created.connect(func(_id: int) -> void: core.initialize_new_game(), CONNECT_ONE_SHOT)
	assert_true(core.create_tournament("EPL", "TIER_3", "2026-02-01").ok)
	assert_eq(core.get_organize_data().tournaments, [], "the new game started by the handler")
	for call in [func(game: GameCore) -> void: game.initialize_new_game(), func(game: GameCore) -> void: game.from_dict({}),
			func(game: GameCore) -> void: game.create_tournament("EPL", "TIER_3", "2026-02-01"),
			func(game: GameCore) -> void: game.advance_day()]:
		var doomed := GameCore.new()
		var parts: TournamentManager = doomed.get_incoming_connections()[0].signal.get_object()
		parts.tournament_created.connect(func(_id: int) -> void: doomed.free())
		parts.get_team_database().teams_rebuilt.connect(func() -> void: doomed.free())
		parts.day_advanced.connect(func(_date: String) -> void: doomed.free())
		call.call(doomed)
		assert_false(is_instance_valid(doomed), "freed from inside its own call")
		assert_false(is_instance_valid(parts), "and its parts with it")


# Organises every format in a game seeded by `start` (a Callable taking the game), plays `days` days, or
# the whole season when 0, and returns the save.
func _seeded_season(start: Callable, days := 0) -> Dictionary:
	var game: GameCore = autofree(GameCore.new())
	start.call(game)
	_organize_every_format(game)
	if days == 0:
		assert_true(_play_out(game, 200) < 200, "the season ends")
	for day in days:
		game.advance_day()
	return game.to_dict()


func _played_matches(save: Dictionary) -> int:
	var played := 0
	for t in save.tournament_manager.tournaments:
		for stage in t.stages:
			played += stage.nodes.filter(func(node): return not node.winner.is_empty()).size()
	return played


func test_one_seed_replays_the_whole_game_through_new_games_and_loads() -> void:
	var season := _seeded_season(func(game: GameCore) -> void: game.set_seed(77); game.initialize_new_game())
	assert_true(_played_matches(season) > 50, "a season of matches was played")
	var seeded_later := _seeded_season(func(game: GameCore) -> void: game.initialize_new_game(); game.set_seed(77))
	assert_eq(seeded_later, season, "the seed set after the new game gives the same season and save")
	var other := _seeded_season(func(game: GameCore) -> void: game.set_seed(78))
	assert_ne(other.tournament_manager.tournaments.map(func(t): return t.standings),
			season.tournament_manager.tournaments.map(func(t): return t.standings), "another seed, other results")
	assert_ne(other.team_database, season.team_database)

	# The node keeps its seed: a later new game plays the season again, and a load restarts the stream.
	var game: GameCore = autofree(GameCore.new())
	game.set_seed(77)
	_organize_every_format(game)
	for day in 15:
		game.advance_day()
	var midway := game.to_dict()
	_play_out(game, 200)
	game.initialize_new_game()
	_organize_every_format(game)
	_play_out(game, 200)
	assert_eq(game.to_dict(), season, "a new game of the same node replays the season")
	game.from_dict(midway)
	assert_eq(game.to_dict(), midway)
	_play_out(game, 200)
	var resumed := game.to_dict()
	var loaded_fresh: GameCore = autofree(GameCore.new())
	loaded_fresh.from_dict(midway)
	loaded_fresh.set_seed(77)
	_play_out(loaded_fresh, 200)
	assert_eq(loaded_fresh.to_dict(), resumed, "one save with one seed plays on the same way in any node")
	assert_true(_played_matches(resumed) > _played_matches(midway), "the loaded season went on")

	# Any integer is a seed; the generator reads its low 32 bits, and nothing breaks at the extremes.
	var extremes := [0, -1, -9223372036854775807 - 1, 9223372036854775807, (1 << 32) + 77]
	for seed_value in extremes:
		var once := _seeded_season(func(g: GameCore) -> void: g.set_seed(seed_value), 20)
		var again := _seeded_season(func(g: GameCore) -> void: g.set_seed(seed_value), 20)
		assert_eq(again, once, "seed %d replays" % seed_value)
		assert_true(_played_matches(once) > 0, "seed %d plays matches" % seed_value)
	assert_eq(_seeded_season(func(g: GameCore) -> void: g.set_seed((1 << 32) + 77), 20),
			_seeded_season(func(g: GameCore) -> void: g.set_seed(77), 20), "only the low 32 bits seed")

	# Reseeded from a handler in the middle of a day: the day goes on from the new stream.
	var reseeds := [0]
	game.achievement_event.connect(func(_event: Dictionary) -> void:
		reseeds[0] += 1
		game.set_seed(reseeds[0]))
	game.initialize_new_game()
	_organize_every_format(game)
	assert_true(_play_out(game, 200) < 200, "a game reseeded after every match still ends")
	assert_true(reseeds[0] > 50)
