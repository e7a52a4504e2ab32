extends SceneTree
# Creating, saving and loading a TournamentManager that holds 50 tournaments of mixed formats, with
# their complete stage plans. Run:
#   tools/godot --headless --path tests/engine -s res://bench/bench_tournaments.gd
# Prints figures only; it checks nothing.

const TOURNAMENTS := 50
const REPEATS := 20
const KINDS := [["MAJOR", "HIGHEST"], ["IEM", "TIER_S"], ["EWC", "HIGHEST"], ["BLAST", "TIER_1"], ["EPL", "TIER_2"],
	["IEM", "HIGHEST"], ["BLAST", "HIGHEST"], ["EPL", "TIER_OPEN"]]


# A manager with TOURNAMENTS tournaments, each in a year of its own so that every request passes.
func _filled(db: TeamDatabase) -> TournamentManager:
	var tm := TournamentManager.new()
	tm.set_team_database(db)
	tm.set_available_funds(9223372036854775807)
	for i in TOURNAMENTS:
		var kind: Array = KINDS[i % KINDS.size()]
		tm.create_tournament(kind[0], kind[1], "%d-03-01" % (2027 + i), "City %d" % i)
	return tm


# The median of `repeats` timed runs, in microseconds; the machine may be busy with other work, and the
# median shrugs off the runs it disturbed.
func _usec_per(repeats: int, work: Callable) -> float:
	var times: Array[int] = []
	for i in repeats:
		var start := Time.get_ticks_usec()
		work.call()
		times.append(Time.get_ticks_usec() - start)
	times.sort()
	return float(times[repeats / 2])


func _init() -> void:
	var dir := DirAccess.open("res://")
	var build := dir.read_link("bin") if dir != null and dir.is_link("bin") else "res://bin"
	print("Library measured: %s" % build)
	var db := TeamDatabase.new()
	var managers: Array[TournamentManager] = []
	var memory_before := OS.get_static_memory_usage()
	var create_us := _usec_per(REPEATS, func() -> void: managers.append(_filled(db)))
	var memory_per_manager := (OS.get_static_memory_usage() - memory_before) / float(REPEATS)
	var tm := managers[0]
	var nodes := 0
	for t in tm.get_tournaments():
		for stage in t["stages"]:
			nodes += stage["nodes"].size()
	print("%d tournaments (%d stages, %d match nodes), %d runs each" % [tm.get_tournaments().size(),
			tm.get_tournaments().reduce(func(n, t): return n + t["stages"].size(), 0), nodes, REPEATS])
	print("create all:        %9.0f us  (%.1f us per tournament, the bound call included)" % [create_us,
			create_us / TOURNAMENTS])
	print("memory per manager: %8.0f KiB static (records, their dictionaries kept by reference)" % [
			memory_per_manager / 1024.0])

	# Lambdas capture locals by value: results come out through an array.
	var out := [{}]
	var to_dict_us := _usec_per(REPEATS, func() -> void: out[0] = tm.to_dict())
	var saved: Dictionary = out[0]
	print("to_dict:           %9.0f us" % to_dict_us)
	var list_us := _usec_per(REPEATS, func() -> void: tm.get_tournaments())
	print("get_tournaments:   %9.0f us" % list_us)
	var loaded := TournamentManager.new()
	var from_dict_us := _usec_per(REPEATS, func() -> void: loaded.from_dict(saved))
	print("from_dict:         %9.0f us" % from_dict_us)
	var text := var_to_str(saved)
	var parse_us := _usec_per(REPEATS, func() -> void: out[0] = str_to_var(text))
	var text_load_us := _usec_per(REPEATS, func() -> void: loaded.from_dict(str_to_var(text)))
	print("save text:          %8d bytes (var_to_str); str_to_var alone %.0f us, with from_dict %.0f us" % [
			text.length(), parse_us, text_load_us])
	print("save, load, save identical: %s" % [loaded.to_dict() == saved])
	print("Method: wall-clock medians of %d runs inside one engine process, timed from GDScript; every figure" % REPEATS)
	print("includes the bound call and building or reading the engine dictionaries the save format needs.")

	loaded.free()
	for m in managers:
		m.free()
	db.free()
	quit()
