extends TestCase
# TournamentManager's series log: every series the manager plays, as columns, against the simulator's
# reports and the records; it changes no result and what it hands out is the caller's own.

const SEED := 20261208
const REQUESTS := [["MAJOR", "HIGHEST", "2026-01-05", "Paris"], ["EPL", "TIER_1", "2026-01-03", ""],
		["IEM", "HIGHEST", "2026-01-04", "Katowice"], ["BLAST", "TIER_S", "2026-01-07", "London"]]
const KEYS := ["tournament_id", "stage_index", "stage_type", "match_id", "date", "is_bo5", "team_a_id", "team_b_id",
		"seed_a", "seed_b", "score_a", "score_b", "vrs_before_a", "vrs_before_b", "vrs_after_a", "vrs_after_b",
		"stamina_before_a", "stamina_before_b", "stamina_after_a", "stamina_after_b", "heat"]
# Compared with the simulator's report of the same series.
const REPORTED := ["team_a_id", "team_b_id", "score_a", "score_b", "is_bo5", "vrs_before_a", "vrs_before_b",
		"vrs_after_a", "vrs_after_b", "stamina_after_a", "stamina_after_b"]


# A seeded manager with the season organised; the log on or off.
func _game(p_logged: bool) -> Array:
	var db: TeamDatabase = autofree(TeamDatabase.new())
	db.initialize_defaults()
	var tm: TournamentManager = autofree(TournamentManager.new())
	tm.set_team_database(db)
	tm.set_available_funds(100000000)
	tm.get_match_simulator().set_seed(SEED)
	tm.series_log_enabled = p_logged
	# Teams worn out by each series: their next one takes them to 0, where the report's stamina before
	# reads high.
	tm.get_match_simulator().match_simulated.connect(func(r: Dictionary) -> void:
		for id in [r.team_a_id, r.team_b_id]:
			db.get_team_by_id(id).set_stamina(mini(db.get_team_by_id(id).get_stamina(), 6)))
	for r in REQUESTS:
		tm.create_tournament(r[0], r[1], r[2], r[3])
	return [db, tm]


func test_the_log_holds_every_series_where_it_was_played_and_changes_nothing() -> void:
	var game := _game(true)
	var db: TeamDatabase = game[0]
	var tm: TournamentManager = game[1]
	var reports := []
	var days := []
	tm.get_match_simulator().match_simulated.connect(func(r: Dictionary) -> void:
		reports.append(r)
		days.append(db.get_current_date()))
	var plain: Array = _game(false)
	for day in 150:
		tm.advance_day()
		plain[1].advance_day()
	assert_true(tm.get_tournaments().all(func(t): return t.status == "COMPLETED"), "the season is over")
	assert_eq(tm.to_dict(), plain[1].to_dict(), "the log changes no result")
	assert_eq(plain[1].get_series_log().tournament_id, [], "a manager without the log keeps none")

	var log := tm.get_series_log()
	if not assert_eq(log.keys(), KEYS, "the columns"):
		return
	assert_true(KEYS.all(func(key): return log[key].size() == reports.size()), "a row for every series played")
	var tournaments := {}
	for t in tm.get_tournaments():
		tournaments[t.id] = t
	var heat := {}
	var worn := 0
	for i in reports.size():
		var report: Dictionary = reports[i]
		var row := {}
		for key in KEYS:
			row[key] = log[key][i]
		if not assert_eq(REPORTED.map(func(key): return row[key]), REPORTED.map(func(key): return report[key]),
				"series %d as reported" % i):
			return
		assert_eq(row.date, days[i], "series %d played on its day" % i)
		# The team's own stamina before; the report adds the drop back to what is left.
		var a_worn: bool = row.stamina_after_a == 0
		var b_worn: bool = row.stamina_after_b == 0
		worn += (1 if row.stamina_before_a < report.stamina_before_a else 0) + (1 if row.stamina_before_b < report.stamina_before_b else 0)
		assert_true(row.stamina_before_a <= report.stamina_before_a and (a_worn or row.stamina_before_a == report.stamina_before_a),
				"series %d: side a's stamina before" % i)
		assert_true(row.stamina_before_b <= report.stamina_before_b and (b_worn or row.stamina_before_b == report.stamina_before_b),
				"series %d: side b's stamina before" % i)
		var stage: Dictionary = tournaments[row.tournament_id].stages[row.stage_index]
		var nodes: Array = stage.nodes.filter(func(n): return n.id == row.match_id)
		if not assert_eq(nodes.size(), 1, "series %d names its node" % i):
			return
		var node: Dictionary = nodes[0]
		assert_eq([row.stage_type, row.team_a_id, row.team_b_id, row.score_a, row.score_b, row.seed_a, row.seed_b, row.heat],
				[stage.type, node.team_a.id, node.team_b.id, node.score_a, node.score_b, node.team_a.get("seed", 0),
				node.team_b.get("seed", 0), node.heat], "series %d as its node holds it" % i)
		heat[row.tournament_id] = heat.get(row.tournament_id, 0) + row.heat
	assert_true(worn > 0, "some teams fell to 0 stamina, where the log's stamina before is the lower")
	for id in tournaments:
		assert_eq(heat.get(id, 0), tournaments[id].total_heat, "tournament %d's heat is its series' heat" % id)

	# The caller's own: changing what was handed out changes the next reading in nothing.
	log.score_a.clear()
	log.erase("heat")
	assert_eq(tm.get_series_log().score_a.size(), reports.size(), "a trimmed column is the caller's own")
	# Saves leave the log alone; turning it off keeps it, clearing empties it.
	assert_false(tm.to_dict().has("series_log"), "the log is not saved")
	tm.from_dict(tm.to_dict())
	tm.series_log_enabled = false
	assert_eq(tm.get_series_log().heat.size(), reports.size(), "a load and turning the log off keep it")
	tm.clear_series_log()
	assert_true(tm.is_series_log_enabled() == false and KEYS.all(func(key): return tm.get_series_log()[key].is_empty()),
			"cleared, every column is empty")


func test_handlers_may_read_clear_or_stop_the_log_mid_series() -> void:
	var game := _game(true)
	var tm: TournamentManager = game[1]
	var seen := []
	var calls := [0]
	# The row of a series is added after its report: a handler sees the rows before it, and what it does to
	# the log applies from the next series on.
	tm.get_match_simulator().match_simulated.connect(func(_r: Dictionary) -> void:
		calls[0] += 1
		seen.append(tm.get_series_log().heat.size())
		if calls[0] == 5:
			tm.clear_series_log()
		elif calls[0] == 8:
			tm.series_log_enabled = false)
	if not assert_reached(tm, func() -> bool: return calls[0] >= 12, 60, "twelve series played"):
		return
	assert_eq(seen.slice(0, 8), [0, 1, 2, 3, 4, 1, 2, 3], "rows before each series, cleared at the fifth")
	assert_eq(tm.get_series_log().heat.size(), 3, "turned off during the eighth, which is not logged")


# A handler that swaps the database mid-series stops the day; the series was still played on the old
# database's day, and its row says so.
func test_a_row_carries_the_day_its_series_was_played() -> void:
	var game := _game(true)
	var db: TeamDatabase = game[0]
	var tm: TournamentManager = game[1]
	var other: TeamDatabase = autofree(TeamDatabase.new())
	other.initialize_defaults()
	other.set_current_date("2030-05-05")
	var played_on := []
	tm.get_match_simulator().match_simulated.connect(func(_r: Dictionary) -> void:
		played_on.append(db.get_current_date())
		if played_on.size() == 1:
			tm.set_team_database(other))
	if not assert_reached(tm, func() -> bool: return played_on.size() >= 1, 20, "a series played"):
		return
	assert_eq(played_on.size(), 1, "the day stops after the swapping series")
	assert_eq(tm.get_series_log().date, played_on, "dated the day it was played")
