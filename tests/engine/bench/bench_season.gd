extends SceneTree
# A whole season through TournamentManager.advance_day: 28 tournaments of every format and tier,
# organised on the first day, played over 365 days with the default roster. Run (after linking the
# build to measure with tools/link_extension.sh <build> tests/engine):
#   tools/godot --headless --path tests/engine -s res://bench/bench_season.gd
# The provisioned engine is an editor build and loads the extension's debug entry, so a Release
# library is measured from a folder holding the build's teamforge.gdextension and a link named
# libteamforge.linux.template_debug.x86_64.so to the Release library.
# The timed seasons have no handler connected, as a game that only reads its views after a day; one more
# season with a handler on every match shows what the match reports built for handlers cost.
# Prints figures only; it checks nothing. `-- --runs=N` plays N seasons instead of five
# (tools/count_season_instructions.sh counts the instructions of one); `--no-handler` skips the last season;
# `--series-log` keeps the manager's series log on in the timed seasons, to show what it costs.

const SEED := 20260101
const RUNS := 5
const SEASON := [
	["MAJOR", "HIGHEST", "2026-01-10", "Paris"], ["MAJOR", "HIGHEST", "2026-05-05", "Austin"],
	["MAJOR", "HIGHEST", "2026-09-01", "Shanghai"], ["EWC", "HIGHEST", "2026-04-01", ""],
	["IEM", "HIGHEST", "2026-01-20", "Katowice"], ["IEM", "TIER_S", "2026-03-15", "Cologne"],
	["IEM", "TIER_1", "2026-06-10", "Dallas"], ["IEM", "HIGHEST", "2026-09-20", "Sydney"],
	["BLAST", "HIGHEST", "2026-02-01", "London"], ["BLAST", "TIER_S", "2026-04-20", "Lisbon"],
	["BLAST", "TIER_1", "2026-07-01", "Copenhagen"], ["BLAST", "HIGHEST", "2026-10-15", "Abu Dhabi"],
	["EPL", "HIGHEST", "2026-01-05", ""], ["EPL", "TIER_S", "2026-02-10", ""], ["EPL", "TIER_1", "2026-03-01", ""],
	["EPL", "TIER_2", "2026-03-20", ""], ["EPL", "TIER_3", "2026-04-10", ""], ["EPL", "TIER_OPEN", "2026-05-01", ""],
	["EPL", "HIGHEST", "2026-06-01", ""], ["EPL", "TIER_S", "2026-07-05", ""], ["EPL", "TIER_1", "2026-08-01", ""],
	["EPL", "TIER_2", "2026-08-20", ""], ["EPL", "TIER_3", "2026-09-10", ""], ["EPL", "TIER_OPEN", "2026-10-01", ""],
	["EPL", "TIER_1", "2026-10-20", ""], ["EPL", "TIER_2", "2026-11-01", ""], ["EPL", "TIER_3", "2026-11-15", ""],
	["EPL", "TIER_OPEN", "2026-12-01", ""],
]


# Returns [total microseconds, slowest day in microseconds, its date, completed, matches].
func _season(p_listened: bool) -> Array:
	var db := TeamDatabase.new()
	db.initialize_defaults()
	var tm := TournamentManager.new()
	if OS.get_cmdline_user_args().has("--series-log"):
		tm.set(&"series_log_enabled", true)  # by name: older libraries lack it
	tm.set_team_database(db)
	tm.set_available_funds(1000000000)
	tm.get_match_simulator().set_seed(SEED)
	for request in SEASON:
		if not tm.create_tournament(request[0], request[1], request[2], request[3]):
			print("could not organise %s: %s" % [request, tm.get_last_create_error()])
	if p_listened:
		tm.get_match_simulator().match_simulated.connect(func(_report: Dictionary) -> void: pass)
	var total := 0
	var slowest := 0
	var slowest_date := ""
	for day in 365:
		var start := Time.get_ticks_usec()
		tm.advance_day()
		var spent := Time.get_ticks_usec() - start
		total += spent
		if spent > slowest:
			slowest = spent
			slowest_date = db.get_current_date()
	var tournaments := tm.get_tournaments()
	var completed := tournaments.filter(func(t): return t.status == "COMPLETED").size()
	# A played series keeps its maps; a walkover keeps none.
	var matches := 0
	for tournament in tournaments:
		for stage in tournament.stages:
			for node in stage.nodes:
				matches += 1 if not node.details.is_empty() else 0
	tm.free()
	db.free()
	return [total, slowest, slowest_date, completed, matches]


func _init() -> void:
	var dir := DirAccess.open("res://")
	var build := dir.read_link("bin") if dir != null and dir.is_link("bin") else "res://bin"
	print("Library measured: %s" % build)
	print("Season: %d tournaments organised on 2026-01-01, 365 calls of advance_day, seed %d" % [SEASON.size(), SEED])
	var runs := RUNS
	for argument in OS.get_cmdline_user_args():
		if argument.begins_with("--runs="):
			runs = maxi(int(argument.trim_prefix("--runs=")), 1)
	for run in runs:
		var r := _season(false)
		print("run %d: %.1f ms in all, slowest day %.3f ms (%s), %d of %d completed, %d matches, %.1f us per match" % [
				run + 1, r[0] / 1000.0, r[1] / 1000.0, r[2], r[3], SEASON.size(), r[4], float(r[0]) / maxi(r[4], 1)])
	if not OS.get_cmdline_user_args().has("--no-handler"):
		var r := _season(true)
		print("with a match_simulated handler: %.1f ms in all, slowest day %.3f ms, %.1f us per match" % [
				r[0] / 1000.0, r[1] / 1000.0, float(r[0]) / maxi(r[4], 1)])
	print("Each figure is wall time around the advance_day calls alone; the per-match figure divides the season's")
	print("time by its matches, so it also carries the days' invitations, stage closes and completions.")
	quit()
