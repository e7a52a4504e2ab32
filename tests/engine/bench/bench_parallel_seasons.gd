extends SceneTree
# Independent games in parallel: seeded seasons (bench_season's 28 tournaments over 365 days, each on its
# own TeamDatabase and TournamentManager) played one after another, then on one Thread per core, then as
# a WorkerThreadPool group task. Prints the wall time of each way, the speedup over the sequential run and
# whether every season's save matches the sequential one. Run through tools/run_benchmarks.sh
# bench_parallel_seasons (Release), or after linking a build into tests/engine:
#   tools/godot --headless --path tests/engine -s res://bench/bench_parallel_seasons.gd
# The speedup can only be as good as the cores are free: the load average is printed beside it.
# Prints figures only; it checks nothing.

const SEASON_SCRIPT := preload("res://bench/bench_season.gd")
const FIRST_SEED := 20260101
const RUNS := 3


# One whole season; returns its save.
static func play_season(seed_value: int) -> Dictionary:
	var db := TeamDatabase.new()
	db.initialize_defaults()
	var tm := TournamentManager.new()
	tm.set_team_database(db)
	tm.set_available_funds(1000000000)
	tm.get_match_simulator().set_seed(seed_value)
	for request in SEASON_SCRIPT.SEASON:
		tm.create_tournament(request[0], request[1], request[2], request[3])
	for day in 365:
		tm.advance_day()
	var save := {"team_database": db.to_dict(), "tournament_manager": tm.to_dict()}
	tm.free()
	db.free()
	return save


func _sequential(seeds: Array) -> Array:
	var saves := []
	for seed_value in seeds:
		saves.append(play_season(seed_value))
	return saves


# Each thread plays every n-th season.
func _on_threads(seeds: Array, threads: int) -> Array:
	var saves := []
	saves.resize(seeds.size())
	var mutex := Mutex.new()
	var running: Array[Thread] = []
	for t in threads:
		var thread := Thread.new()
		thread.start(func() -> void:
			for i in range(t, seeds.size(), threads):
				var save := play_season(seeds[i])
				mutex.lock()
				saves[i] = save
				mutex.unlock())
		running.append(thread)
	for thread in running:
		thread.wait_to_finish()
	return saves


func _on_pool(seeds: Array) -> Array:
	var saves := []
	saves.resize(seeds.size())
	var mutex := Mutex.new()
	var task := WorkerThreadPool.add_group_task(func(i: int) -> void:
		var save := play_season(seeds[i])
		mutex.lock()
		saves[i] = save
		mutex.unlock(), seeds.size())
	WorkerThreadPool.wait_for_group_task_completion(task)
	return saves


# The first line of a /proc file (their length reads as 0, so the file is read line by line).
func _proc_line(path: String) -> String:
	var file := FileAccess.open(path, FileAccess.READ)
	return file.get_line().strip_edges() if file != null else ""


# The process's user and system time in clock ticks (the kernel's 100 per second), or 0 where /proc
# is missing: the cores the run actually got, whatever else the machine was doing.
func _cpu_ticks() -> int:
	var fields := _proc_line("/proc/self/stat").get_slice(") ", 1).split(" ")
	return fields[11].to_int() + fields[12].to_int() if fields.size() > 12 else 0


func _init() -> void:
	var dir := DirAccess.open("res://")
	var build := dir.read_link("bin") if dir != null and dir.is_link("bin") else "res://bin"
	print("Library measured: %s" % build)
	var cores := OS.get_processor_count()
	var seeds := []
	for i in cores * 2:
		seeds.append(FIRST_SEED + i)
	print("%d seeded seasons of %d tournaments; %d cores; %d threads; %d runs" % [seeds.size(),
			SEASON_SCRIPT.SEASON.size(), cores, cores, RUNS])
	# Warm up: the first season pays for interning keys and the engine's first allocations.
	play_season(FIRST_SEED)
	for run in RUNS:
		var out := [[]]
		var sequential := _timed(func() -> void: out[0] = _sequential(seeds))
		var expected: Array = out[0]
		var threads := _timed(func() -> void: out[0] = _on_threads(seeds, cores))
		var threads_same: bool = out[0] == expected
		var pool := _timed(func() -> void: out[0] = _on_pool(seeds))
		var pool_same: bool = out[0] == expected
		print("run %d (load average %s):" % [run + 1, _proc_line("/proc/loadavg")])
		print("    sequential        %6.0f ms wall, %5.2f cores busy" % [sequential[0] / 1000.0, sequential[1]])
		print("    %d Threads         %6.0f ms wall, %5.2f cores busy, speedup %.2fx, saves identical: %s" % [cores,
				threads[0] / 1000.0, threads[1], float(sequential[0]) / threads[0], threads_same])
		print("    WorkerThreadPool  %6.0f ms wall, %5.2f cores busy, speedup %.2fx, saves identical: %s" % [
				pool[0] / 1000.0, pool[1], float(sequential[0]) / pool[0], pool_same])
	print("Wall time of playing every season, saves included (to_dict of database and manager). Cores busy:")
	print("the process's CPU time over the wall time; below the thread count, the machine was shared.")
	quit()


# [wall microseconds, cores busy on average].
func _timed(work: Callable) -> Array:
	var ticks := _cpu_ticks()
	var start := Time.get_ticks_usec()
	work.call()
	var wall := Time.get_ticks_usec() - start
	return [wall, (_cpu_ticks() - ticks) * 10000.0 / maxi(wall, 1)]
