extends TestCase
# TournamentManager.get_rating_history and GameCore.get_rating_history: a team's rating series by series,
# rebuilt from the played nodes, against what the simulator reported while the season was played.

const SEED := 20260517
# Overlapping tournaments, so a team's series of different tournaments interleave.
const REQUESTS := [["MAJOR", "HIGHEST", "2026-01-05", "Paris"], ["EPL", "TIER_1", "2026-01-03", ""],
		["IEM", "HIGHEST", "2026-01-04", "Katowice"], ["BLAST", "TIER_S", "2026-01-07", "London"]]

var db: TeamDatabase
var tm: TournamentManager
## Team id -> what the simulator reported of each of its series, in play order.
var reported := {}


func before_each() -> void:
	db = autofree(TeamDatabase.new())
	db.initialize_defaults()
	tm = autofree(TournamentManager.new())
	tm.set_team_database(db)
	tm.set_available_funds(100000000)
	tm.get_match_simulator().set_seed(SEED)
	reported = {}
	tm.get_match_simulator().match_simulated.connect(_record)


func after_each() -> void:
	db = null
	tm = null


func _record(report: Dictionary) -> void:
	var a_won: bool = report.winner_id == report.team_a_id
	for side in ["a", "b"]:
		var other := "b" if side == "a" else "a"
		var id: String = report["team_%s_id" % side]
		if not reported.has(id):
			reported[id] = []
		reported[id].append([report["vrs_before_" + side], report["vrs_after_" + side], report["vrs_delta_" + side],
				a_won == (side == "a"), report["team_%s_id" % other], report["score_" + side], report["score_" + other]])


static func _as_reported(history: Array) -> Array:
	return history.map(func(e): return [e.vrs_before, e.vrs_after, e.vrs_delta, e.won, e.opponent_id, e.maps_won,
			e.maps_lost])


func _play_season() -> void:
	for r in REQUESTS:
		assert_true(tm.create_tournament(r[0], r[1], r[2], r[3]), "organised %s" % [r])
	for day in 150:
		tm.advance_day()
	assert_true(tm.get_tournaments().all(func(t): return t.status == "COMPLETED"), "the season is over")


func test_history_matches_every_reported_series_in_play_order_across_saves() -> void:
	# Ratings on the bounds: their changes are cut, so the rating before cannot be read off the change.
	for id in ["t-0", "t-1", "t-2", "t-3"]:
		db.get_team_by_id(id).set_vrs(2200)
	_play_season()
	var clamped := 0
	for id in reported:
		for series in reported[id]:
			clamped += 1 if series[0] + series[2] != series[1] else 0
	assert_true(clamped > 0, "some series ended on a bound")

	var loaded: TournamentManager = autofree(TournamentManager.new())
	loaded.from_dict(tm.to_dict())
	var core: GameCore = autofree(GameCore.new())
	core.from_dict({"team_database": db.to_dict(), "tournament_manager": tm.to_dict()})
	var names := {}
	for team in db.get_teams():
		names[team.get_id()] = team.get_name()
	for team in db.get_teams():
		var id: String = team.get_id()
		var history := tm.get_rating_history(id)
		if not assert_eq(_as_reported(history), reported.get(id, []), "%s series by series" % id):
			continue
		assert_true(history.all(func(e): return e.opponent_name == names[e.opponent_id]), "%s opponents named" % id)
		if not history.is_empty():
			assert_eq(history.back().vrs_after, team.get_vrs(), "%s ends on its rating" % id)
		assert_eq(loaded.get_rating_history(id), history, "%s after a save and load" % id)
		assert_eq(core.get_rating_history(id), history, "%s through the game core" % id)

	# Each entry names the node it was read from.
	var entry: Dictionary = tm.get_rating_history("t-0")[0]
	var node := {}
	for t in tm.get_tournaments():
		for stage in t.stages:
			for n in stage.nodes:
				if t.id == entry.tour_id and n.id == entry.match_id:
					node = n
					assert_eq([entry.tour_name, entry.stage_name, entry.match_name, entry.date],
							[t.name, stage.name, n.name, n.date], "where the first series was played")
	assert_true(not node.is_empty(), "the node of the first series exists")


func test_teams_without_series_and_games_without_tournaments_have_no_history() -> void:
	_play_season()
	var idle := db.get_teams().filter(func(team): return not reported.has(team.get_id()))
	assert_true(not idle.is_empty(), "some teams were never invited")
	for id in ["", "t-999", idle[0].get_id()]:
		assert_eq(tm.get_rating_history(id), [], "no history for '%s'" % id)
	var core: GameCore = autofree(GameCore.new())
	assert_eq(core.get_rating_history("t-0"), [], "a new game has none")
