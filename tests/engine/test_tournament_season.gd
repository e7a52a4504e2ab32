extends TestCase
# TournamentManager.advance_day over whole seasons: every format played to its end with the promises
# of completion kept (standings, prize split, payouts, honours, stamina, heat, the next Major's
# quotas), the signals of each day in their order, and one seed reproducing a season, also across a
# save and load in the middle of it.

const Fixture := preload("res://tournament_fixture.gd")
const SEED := 20260417
const START_FUNDS := 10000000

var db: TeamDatabase
var tm: TournamentManager


func before_each() -> void:
	db = autofree(TeamDatabase.new())
	db.initialize_defaults()
	tm = autofree(TournamentManager.new())
	tm.set_team_database(db)
	tm.get_match_simulator().set_seed(SEED)


func after_each() -> void:
	db = null
	tm = null


# One tournament of every format and several league tiers, overlapping in time.
static func _organise_season(manager: TournamentManager) -> void:
	var requests := [["MAJOR", "HIGHEST", "2026-01-05", "Paris"], ["EPL", "TIER_1", "2026-01-03", ""],
			["IEM", "HIGHEST", "2026-01-04", "Katowice"], ["EWC", "HIGHEST", "2026-01-06", ""],
			["BLAST", "TIER_S", "2026-01-07", "London"], ["EPL", "TIER_OPEN", "2026-02-20", ""],
			["BLAST", "TIER_1", "2026-03-02", "Lisbon"], ["IEM", "TIER_S", "2026-02-01", "Cologne"]]
	for r in requests:
		if not manager.create_tournament(r[0], r[1], r[2], r[3]):
			push_error("could not organise %s: %s" % [r, manager.get_last_create_error()])


static func _all_done(manager: TournamentManager) -> bool:
	return manager.get_tournaments().all(func(t): return t.status == "COMPLETED")


func _team_state() -> Dictionary:
	var state := {}
	for team in db.get_teams():
		state[team.get_id()] = [team.get_stamina(), team.get_prize_total(), team.get_honors().duplicate(true)]
	return state


func test_a_season_of_every_format_plays_to_completion_keeping_every_promise() -> void:
	_organise_season(tm)
	var pools := 0
	for t in tm.get_tournaments():
		pools += t.prize
	assert_eq(tm.get_available_funds(), START_FUNDS - pools, "creation charges the pools")

	# Completion is checked from inside: the event comes before the payouts, the signal after them.
	var before := {}
	var checked := []
	tm.achievement_event.connect(func(event: Dictionary) -> void:
		if event.type == "tournament_completed":
			before["teams"] = _team_state()
			before["funds"] = tm.get_available_funds()
			before["status"] = event.status)
	tm.tournament_completed.connect(func(id: int) -> void:
		var t := Fixture.find(tm.get_tournaments(), id)
		assert_eq(before.status, "COMPLETED", "%s: the completion event sees the final status" % t.name)
		assert_eq(tm.get_available_funds() - before.funds, t.total_heat, "%s: the organiser earns the heat" % t.name)
		var after := _team_state()
		var placed := {}
		for s in t.standings:
			placed[s.team.id] = s
		for id_of_team in after:
			var was: Array = before.teams[id_of_team]
			var now: Array = after[id_of_team]
			var gain: int = now[0] - was[0]
			assert_true((gain >= 10 and gain <= 30) or (now[0] == 100 and was[0] >= 70),
					"%s: %s recovers 10 to 30 stamina, %d -> %d" % [t.name, id_of_team, was[0], now[0]])
			var standing: Dictionary = placed.get(id_of_team, {})
			assert_eq(now[1] - was[1], standing.get("prize", 0), "%s: %s is paid its prize" % [t.name, id_of_team])
			var honoured: bool = standing.get("placement") == "1st" or (standing.get("placement") == "2nd"
					and t.tier_id in ["HIGHEST", "TIER_S"])
			assert_eq(now[2].size(), was[2].size() + (1 if honoured else 0), "%s: honours of %s" % [t.name, id_of_team])
			if honoured:
				assert_eq(now[2][0], {"tour_id": t.id, "name": t.name, "date": t.start_date, "prize": standing.prize,
						"tier": t.tier_id, "format": t.format_id, "placement": standing.placement,
						"vrs_before": standing.vrs_before, "vrs_after": standing.vrs_after,
						"delta_vrs": standing.delta_vrs}, "%s: the honour goes in front" % t.name)
		checked.append(id))

	var log := watch_signals(tm, ["tournament_updated", "achievement_event", "tournament_completed", "day_advanced"])
	var days := 0
	while not _all_done(tm) and days < 200:
		assert_true(tm.advance_day(), "a day with a database advances")
		days += 1

	var tournaments := tm.get_tournaments()
	var heat := 0
	for t in tournaments:
		for problem in Fixture.problems_of_completed(t, true):
			fail(problem)
		heat += t.total_heat
		assert_eq(t.participants.size(), t.size, "%s: a full field" % t.name)
	assert_eq(checked.size(), tournaments.size(), "every completion was checked")
	assert_eq(tm.get_available_funds(), START_FUNDS - pools + heat, "funds = start - pools + heat")

	# The next Major invites directly as the regions placed in this one.
	var major := Fixture.find(tournaments, 1)
	var quotas := {"stage3": {"EU": 0, "AM": 0, "AS": 0}, "stage2": {"EU": 0, "AM": 0, "AS": 0},
			"stage1": {"EU": 6, "AM": 6, "AS": 4}}
	for i in 16:
		quotas["stage3" if i < 8 else "stage2"][major.standings[i].team.region] += 1
	assert_eq(tm.get_major_slots(), quotas, "quotas after the Major")

	# Each tournament's signals of a day come together: its events, its completion, then its update.
	var current := -1
	var open_events := false
	for entry in log:
		match entry[0]:
			"achievement_event":
				if open_events and entry[1].tour_id != current:
					fail("events of tournament %d interleave with those of %d" % [entry[1].tour_id, current])
				current = entry[1].tour_id
				open_events = true
			"tournament_completed":
				assert_eq(entry[1], current, "completion follows the tournament's own events")
			"tournament_updated":
				if open_events:
					assert_eq(entry[1], current, "the update closes the tournament's play")
				open_events = false
			"day_advanced":
				assert_false(open_events, "a day ends after every update")
	assert_eq(signal_names(log).count("day_advanced"), days, "one day_advanced per day")


static func _run_season(days: int, seed: int) -> Array:
	var database := TeamDatabase.new()
	database.initialize_defaults()
	var manager := TournamentManager.new()
	manager.set_team_database(database)
	manager.get_match_simulator().set_seed(seed)
	var log := []
	for name in ["tournament_updated", "achievement_event", "tournament_completed", "day_advanced"]:
		manager.connect(name, func(...args: Array) -> void: log.append([name] + args))
	manager.get_match_simulator().match_simulated.connect(func(report: Dictionary) -> void: log.append(report))
	_organise_season(manager)
	for i in days:
		manager.advance_day()
	var result := [manager.to_dict(), database.to_dict(), log, _all_done(manager)]
	manager.free()
	database.free()
	return result


func test_one_seed_reproduces_a_season_and_a_save_carries_it_on() -> void:
	var first := _run_season(160, SEED)
	var second := _run_season(160, SEED)
	assert_true(first[3], "the season ends")
	assert_eq(second[0], first[0], "the same manager state")
	assert_eq(second[1], first[1], "the same teams")
	assert_eq(second[2], first[2], "the same signals with the same contents")
	assert_ne(_run_season(40, SEED + 1)[0], _run_season(40, SEED)[0], "another seed gives another season")

	# Saved mid-season with stages running and resting, loaded into a fresh pair, then both go on from
	# the same simulator seed: the copy must play exactly what the original plays.
	_organise_season(tm)
	for i in 72:
		tm.advance_day()
	var statuses := tm.get_tournaments().map(func(t): return t.status)
	var resting := tm.get_tournaments().filter(func(t): return t.rest > 0)
	assert_true(statuses.has("ACTIVE") and statuses.has("WAITING") and not resting.is_empty(),
			"saved with tournaments playing, resting and waiting: %s" % [statuses])
	var db_copy: TeamDatabase = autofree(TeamDatabase.new())
	db_copy.from_dict(db.to_dict())
	var tm_copy: TournamentManager = autofree(TournamentManager.new())
	tm_copy.set_team_database(db_copy)
	tm_copy.from_dict(tm.to_dict())
	assert_eq(tm_copy.to_dict(), tm.to_dict(), "the loaded manager saves the same")
	assert_eq(db_copy.to_dict(), db.to_dict(), "the loaded database saves the same")
	tm.get_match_simulator().set_seed(777)
	tm_copy.get_match_simulator().set_seed(777)
	for i in 130:
		tm.advance_day()
		tm_copy.advance_day()
	assert_true(_all_done(tm_copy), "the loaded season plays to its end")
	assert_eq(tm_copy.to_dict(), tm.to_dict(), "the loaded season plays as the original")
	assert_eq(db_copy.to_dict(), db.to_dict(), "and leaves the teams the same")


# The tournaments read the team list as it stands whenever they look: a script that reworks the list
# it got from get_teams() in place mid-season (reorders it, puts another record or other values in)
# gets the same season as one that hands the same list to set_teams.
func test_a_team_list_reworked_in_place_plays_as_one_set_anew() -> void:
	var saves := []
	for in_place in [true, false]:
		var database := TeamDatabase.new()
		database.initialize_defaults()
		var manager := TournamentManager.new()
		manager.set_team_database(database)
		manager.get_match_simulator().set_seed(SEED)
		_organise_season(manager)
		for day in 40:
			manager.advance_day()
		var list: Array = database.get_teams() if in_place else database.get_teams().duplicate()
		list.reverse()
		var stronger := TeamData.new()
		stronger.from_dict(list[3].to_dict())
		stronger.set_vrs(2100)
		list[3] = stronger
		list[7] = list[8]
		if in_place:
			list.push_back(42)
		else:
			database.set_teams(list)
		for day in 160:
			manager.advance_day()
		saves.append([manager.to_dict(), _all_done(manager)])
		manager.free()
		database.free()
	assert_true(saves[0][1], "the season ends")
	assert_eq(saves[0][0], saves[1][0], "the same season either way")
