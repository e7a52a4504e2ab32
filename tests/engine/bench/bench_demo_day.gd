extends SceneTree
# What "Next day" costs in the demo game late in a career: the call of the day and the redraws it causes,
# script and library time, measured in the demo project itself. A career of the main job's 21 tournaments a year is played through
# a bare GameCore (archiving at each turn of the year what finished before the season just played, as the
# demo does), loaded into the demo at the start of March of the last season, and "Next day" is pressed on
# each screen in turn. Run through tools/run_benchmarks.sh bench_demo_day (Release; it runs this script in a
# copy of the demo project), or after linking a build into the demo:
#   tools/godot --headless --path demo -s "$PWD/tests/engine/bench/bench_demo_day.gd" [-- --seasons=N] [--archive=no]
# GameCore's simulator is seeded at random, so two runs differ a little. Prints figures only; checks nothing.

const DEFAULT_SEASONS := 10
const FIRST_YEAR := 2026
const DAYS := 24
# Where the last season is loaded: two Majors and their leagues are on.
const LOAD_DAY := "03-01"
const SCREENS := ["Leaderboard", "Organize", "Tournaments", "Predictions", "Statistics"]

# The main job's season, as the career benchmark beside this script plays it (this script runs in the demo
# project, so it is found by its own path).
var _schedule: Array = load(get_script().resource_path.get_base_dir().path_join("bench_career.gd")).SCHEDULE


func _initialize() -> void:
	_run()


func _option(key: String, fallback: String) -> String:
	for arg in OS.get_cmdline_user_args():
		if arg.begins_with("--%s=" % key):
			return arg.get_slice("=", 1)
	return fallback


func _run() -> void:
	TranslationServer.set_locale("en")
	var seasons := maxi(1, _option("seasons", str(DEFAULT_SEASONS)).to_int())
	var archive := _option("archive", "yes") != "no"
	var last_year := FIRST_YEAR + seasons - 1
	var built := Time.get_ticks_msec()
	var snapshots := _play_career(last_year, archive)
	print("Career of %d seasons built in %.1f s (%s); last season loaded on %s" % [seasons,
			(Time.get_ticks_msec() - built) / 1000.0, "archiving at each turn of the year" if archive else "no archiving",
			snapshots.season.team_database.get("current_date", "?")])

	var game = load("res://game.tscn").instantiate()
	game.save_path = "user://bench_demo_day.save"
	root.add_child(game)
	await _frames(2)
	print("\n\"Next day\" with each screen on show, %d days from %s: the day and the redraws it queued, in ms"
			% [DAYS, snapshots.season.team_database.get("current_date", "?")])
	print("%-12s %8s %8s %8s" % ["screen", "median", "max", "min"])
	for screen in SCREENS:
		game.core.from_dict(snapshots.season)
		game.screens.current_tab = game.screens.get_tab_idx_from_control(game.get_node("%" + screen))
		await _frames(3)
		var times: Array[int] = []
		for day in DAYS:
			times.append(await _day_usec(game))
		print("%-12s %8.2f %8.2f %8.2f" % [screen, _median(times) / 1000.0, times.max() / 1000.0, times.min() / 1000.0])

	game.core.from_dict(snapshots.year_end)
	game.screens.current_tab = 0
	await _frames(3)
	var date: String = game.core.get_current_date()
	var turn := await _day_usec(game)
	print("\nThe turn of the year (%s to %s), leaderboard on show: %.2f ms; %d tournaments, %d archived"
			% [date, game.core.get_current_date(), turn / 1000.0, game.core.get_organize_data().tournaments.size(),
			_archived_count(game.core)])
	print("All times in ms, Release library, headless.")
	game.free()
	quit(0)


# Plays the career through a bare GameCore; returns its saves on the last year's LOAD_DAY and on the
# last day of the year before.
func _play_career(last_year: int, archive: bool) -> Dictionary:
	var core := GameCore.new()
	core.initialize_new_game()
	core.set_credits(1000000000000)
	var snapshots := {}
	for year in range(FIRST_YEAR, last_year + 1):
		for request in _schedule:
			var result: Dictionary = core.create_tournament(request[1], request[2], "%d-%s" % [year, request[0]], request[3])
			if not result.ok:
				print("could not organise %s in %d: %s" % [request, year, result.message_key])
		var end := "%d-%s" % [year, LOAD_DAY] if year == last_year else "%d-01-01" % (year + 1)
		var days := 0
		while core.get_current_date() < end:
			days += 1
			if days > 400:
				push_error("the year did not reach %s within 400 days" % end)
				break
			if core.get_current_date() == "%d-12-31" % year and year == last_year - 1:
				snapshots.year_end = core.to_dict()
			core.advance_day()
		if archive and year < last_year and core.has_method("archive_tournaments_before"):
			core.archive_tournaments_before("%d-01-01" % year)
	snapshots.season = core.to_dict()
	if not snapshots.has("year_end"):
		snapshots.year_end = snapshots.season
	core.free()
	return snapshots


func _archived_count(core: GameCore) -> int:
	if not core.has_method("get_tournament_summaries"):
		return 0
	return core.get_tournament_summaries().filter(func(s: Dictionary) -> bool: return s.archived).size()


func _frames(count: int) -> void:
	for i in count:
		await process_frame


# "Next day" pressed: the day, then every call deferred meanwhile (the game's refresh, a chart's), which the
# engine runs in order before the frame's drawing; a call deferred last marks their end.
func _day_usec(game: Node) -> int:
	await process_frame
	var spent := [0]
	var start := Time.get_ticks_usec()
	game.advance(1)
	(func() -> void: spent[0] = Time.get_ticks_usec() - start).call_deferred()
	await process_frame
	return spent[0]


static func _median(times: Array[int]) -> float:
	var sorted := times.duplicate()
	sorted.sort()
	return float(sorted[sorted.size() / 2]) if not sorted.is_empty() else 0.0
