extends SceneTree
# A career through GameCore: the main job's 21 tournaments organised on the first day of every year,
# the calendar played day by day to the next year, ten seasons, with the interface's listeners connected. The career is played twice: as it is,
# and archiving at every turn of the year what finished before the season just played. After each
# season it prints what a game pays as the career grows. Run through tools/run_benchmarks.sh
# bench_career (Release), or after linking a build into tests/engine:
#   tools/godot --headless --path tests/engine -s res://bench/bench_career.gd [-- --seasons=N] [--only=plain|archived]
# GameCore's simulator is seeded at random, so two runs differ a little in their figures.
# Prints figures only; it checks nothing.

const DEFAULT_SEASONS := 10
const FIRST_YEAR := 2026
const REPEATS := 5
const SAVE_PATH := "user://bench_career.save"

# Month and day, format, tier, host city: the main job's season.
const SCHEDULE := [
	["01-03", "EPL", "TIER_OPEN", ""], ["01-10", "BLAST", "TIER_1", "Lisbon"], ["01-20", "EPL", "TIER_3", ""],
	["02-01", "IEM", "TIER_1", "Dallas"], ["02-10", "MAJOR", "HIGHEST", "Austin"], ["03-01", "EPL", "TIER_2", ""],
	["03-15", "BLAST", "TIER_S", "Copenhagen"], ["04-01", "IEM", "TIER_S", "Melbourne"], ["05-01", "EPL", "TIER_1", ""],
	["05-20", "EWC", "HIGHEST", ""], ["06-01", "IEM", "HIGHEST", "Cologne"], ["07-01", "EPL", "TIER_S", ""],
	["07-15", "MAJOR", "HIGHEST", "Budapest"], ["08-01", "EPL", "HIGHEST", ""], ["09-01", "BLAST", "HIGHEST", "Abu Dhabi"],
	["09-15", "EPL", "TIER_OPEN", ""], ["10-01", "IEM", "TIER_1", "Chengdu"], ["10-10", "BLAST", "TIER_1", "Atlanta"],
	["10-20", "EPL", "TIER_3", ""], ["11-01", "IEM", "TIER_S", "Sydney"], ["11-20", "EPL", "TIER_OPEN", ""],
]


func _seasons_option() -> int:
	for arg in OS.get_cmdline_user_args():
		if arg.begins_with("--seasons="):
			return maxi(1, arg.trim_prefix("--seasons=").to_int())
	return DEFAULT_SEASONS


func _only_option() -> String:
	for arg in OS.get_cmdline_user_args():
		if arg.begins_with("--only="):
			return arg.trim_prefix("--only=")
	return ""


# The median of REPEATS timed runs in microseconds: the machine may be busy, and the median shrugs off
# the runs it disturbed. What the work returns is released after the clock stops.
func _median_usec(work: Callable, repeats := REPEATS) -> float:
	var times: Array[int] = []
	for i in repeats:
		var start := Time.get_ticks_usec()
		var result = work.call()
		times.append(Time.get_ticks_usec() - start)
		result = null
	times.sort()
	return float(times[repeats / 2])


# The process's user and system time in clock ticks (100 a second), 0 without /proc: what share of a
# core the run got while the machine was shared.
func _cpu_ticks() -> int:
	var file := FileAccess.open("/proc/self/stat", FileAccess.READ)
	var fields := file.get_line().get_slice(") ", 1).split(" ") if file != null else PackedStringArray()
	return fields[11].to_int() + fields[12].to_int() if fields.size() > 12 else 0


# What a game's interface connects: GameCore builds the views of these signals only for listeners.
func _listen(game: GameCore) -> void:
	game.leaderboard_changed.connect(func(_data: Dictionary) -> void: pass)
	game.organize_changed.connect(func(_data: Dictionary) -> void: pass)


func _usec(work: Callable) -> int:
	var start := Time.get_ticks_usec()
	work.call()
	return Time.get_ticks_usec() - start


# Organises the season and plays it to the first day of the next year. Returns the figures of its days
# and creations.
func _play_season(game: GameCore, year: int) -> Dictionary:
	game.set_credits(1000000000000)
	var create_total := 0
	var create_slowest := 0
	for request in SCHEDULE:
		var spent := _usec(func() -> void:
			var result: Dictionary = game.create_tournament(request[1], request[2], "%d-%s" % [year, request[0]], request[3])
			if not result.ok:
				print("could not organise %s in %d: %s" % [request, year, result.message_key]))
		create_total += spent
		create_slowest = maxi(create_slowest, spent)
	var end := "%d-01-01" % (year + 1)
	var ticks := _cpu_ticks()
	var days_total := 0
	var slowest := 0
	var days := 0
	while game.get_current_date() < end:
		if days > 400:
			push_error("the year did not reach %s within 400 days" % end)
			break
		var spent := _usec(func() -> void: game.advance_day())
		days_total += spent
		slowest = maxi(slowest, spent)
		days += 1
	return {"days": days, "days_ms": days_total / 1000.0, "share": (_cpu_ticks() - ticks) * 10000.0 / maxi(days_total, 1), "slowest_ms": slowest / 1000.0,
		"create_ms": create_total / 1000.0 / SCHEDULE.size(), "create_max_ms": create_slowest / 1000.0}


func _measure(game: GameCore, probe: TournamentManager, figures: Dictionary) -> void:
	var out := [null]
	var light := game.has_method("get_tournament_summaries")
	figures.organize_ms = _median_usec(func(): return game.get_organize_data()) / 1000.0
	var tournaments: Array = game.get_organize_data().tournaments
	figures.tournaments = tournaments.size()
	figures.leaderboard_ms = _median_usec(func(): return game.get_leaderboard_data("ALL", "VRS")) / 1000.0
	figures.summaries_ms = _median_usec(func(): return game.get_tournament_summaries()) / 1000.0 if light else -1.0
	var last_id: int = tournaments[-1].id if figures.tournaments > 0 else 0
	tournaments = []
	figures.one_ms = _median_usec(func(): return game.get_tournament(last_id)) / 1000.0 if light else -1.0

	figures.to_dict_ms = _median_usec(func(): return game.to_dict(), 3) / 1000.0
	var saved := game.to_dict()
	# GameCore hands out the list only inside the organize view: the manager's own is measured on a copy.
	probe.from_dict(saved.get("tournament_manager", {}))
	figures.list_ms = _median_usec(func(): return probe.get_tournaments()) / 1000.0
	# A save loaded into a new game, with the interface listening (its refresh then builds both views)
	# and without.
	for listened in [true, false]:
		var loaded_times: Array[int] = []
		for i in 3:
			var loaded := GameCore.new()
			if listened:
				_listen(loaded)
			loaded_times.append(_usec(func() -> void: loaded.from_dict(saved)))
			loaded.free()
		loaded_times.sort()
		figures["from_dict_ms" if listened else "bare_from_dict_ms"] = loaded_times[1] / 1000.0

	var text := [""]
	figures.text_write_ms = _usec(func() -> void: text[0] = var_to_str(saved)) / 1000.0
	figures.text_mb = text[0].length() / 1e6
	figures.text_read_ms = _usec(func() -> void: out[0] = str_to_var(text[0])) / 1000.0
	text[0] = ""
	figures.binary_write_ms = _usec(func() -> void:
		var file := FileAccess.open_compressed(SAVE_PATH, FileAccess.WRITE, FileAccess.COMPRESSION_ZSTD)
		file.store_var(saved)
		file.close()) / 1000.0
	var plain := FileAccess.open(SAVE_PATH, FileAccess.READ)
	figures.binary_mb = plain.get_length() / 1e6
	plain.close()
	figures.binary_read_ms = _usec(func() -> void:
		var file := FileAccess.open_compressed(SAVE_PATH, FileAccess.READ, FileAccess.COMPRESSION_ZSTD)
		out[0] = file.get_var()
		file.close()) / 1000.0
	out[0] = null
	figures.memory_mb = OS.get_static_memory_usage() / 1e6


func _career(seasons: int, archiving: bool) -> void:
	var game := GameCore.new()
	_listen(game)
	var probe := TournamentManager.new()
	var can_archive := game.has_method("archive_tournaments_before")
	print("\n%s" % ("With archiving: after each season, archive_tournaments_before(first day of that season)"
			if archiving else "Without archiving"))
	if archiving and not can_archive:
		print("(this library has no archive_tournaments_before; nothing is archived)")
	print("season tourn  days ms  cpu  slowest  create  organize  leaderb  tourn.list  summaries  one  to_dict  from_dict  (bare)"
			+ "  text MB  write  read  zstd MB  write  read  static MB  archive")
	for season in seasons:
		var year := FIRST_YEAR + season
		var figures := _play_season(game, year)
		figures.archive_ms = -1.0
		if archiving and can_archive:
			var count := [0]
			figures.archive_ms = _usec(func() -> void:
				count[0] = game.archive_tournaments_before("%d-01-01" % year)) / 1000.0
		_measure(game, probe, figures)
		print("%6d %5d %8.1f %4.2f %8.3f %7.2f %9.2f %8.2f %11s %10s %4s %8.1f %10.1f %7.1f %8.2f %6.0f %5.0f %8.2f %6.0f %5.0f %10.1f %8s" % [
				season + 1, figures.tournaments, figures.days_ms, figures.share, figures.slowest_ms, figures.create_ms, figures.organize_ms,
				figures.leaderboard_ms, "%.2f" % figures.list_ms, _ms_or_dash(figures.summaries_ms), _ms_or_dash(figures.one_ms, "%.2f"),
				figures.to_dict_ms, figures.from_dict_ms, figures.bare_from_dict_ms, figures.text_mb, figures.text_write_ms, figures.text_read_ms,
				figures.binary_mb, figures.binary_write_ms, figures.binary_read_ms, figures.memory_mb,
				_ms_or_dash(figures.archive_ms)])
	probe.free()
	game.free()


func _ms_or_dash(value: float, format := "%.3f") -> String:
	return "-" if value < 0.0 else format % value


func _init() -> void:
	var dir := DirAccess.open("res://")
	var build := dir.read_link("bin") if dir != null and dir.is_link("bin") else "res://bin"
	print("Library measured: %s" % build)
	var seasons := _seasons_option()
	print("Career: %d seasons of %d tournaments through GameCore, organised on each 1 January" % [seasons, SCHEDULE.size()])
	var only := _only_option()
	if only != "archived":
		_career(seasons, false)
	if only != "plain":
		_career(seasons, true)
	DirAccess.remove_absolute(ProjectSettings.globalize_path(SAVE_PATH))
	print("\nAll times in ms. days ms: every advance_day of the season; cpu: the share of a core the process got")
	print("meanwhile (below 1, the machine was shared); slowest: the season's slowest day; create: one")
	print("GameCore.create_tournament on average (its result carries the organize data); organize, leaderb(oard),")
	print("tourn.list (TournamentManager.get_tournaments on a manager loaded from the save), summaries,")
	print("one (get_tournament of the latest id), to_dict: medians of repeated calls, the result released")
	print("after the clock stops; from_dict: the save loaded into a new GameCore (median of 3) that listens to")
	print("leaderboard_changed and organize_changed, so its refresh builds both views; (bare): nobody listens;")
	print("text: var_to_str / str_to_var of the game's save; zstd: FileAccess.open_compressed with Zstandard,")
	print("store_var / get_var; static MB: OS.get_static_memory_usage after the season.")
	quit()
