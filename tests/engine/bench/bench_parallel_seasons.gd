extends SceneTree
# Independent games in parallel: seeded seasons (bench_season's 28 tournaments over 365 days, each on its
# own TeamDatabase and TournamentManager) played one after another, then on one Thread per core, then as
# a WorkerThreadPool group task. Prints the wall time of each way, the speedup over the sequential run and
# whether every season's save matches the sequential one; then the same for saving the seasons. Run
# through tools/run_benchmarks.sh bench_parallel_seasons (Release), or after linking a build into
# tests/engine:
#   tools/godot --headless --path tests/engine -s res://bench/bench_parallel_seasons.gd
# The speedup can only be as good as the cores are free: the load average and the cores the process kept
# busy are printed beside it.
# Prints figures only; it checks nothing.

const SEASON_SCRIPT := preload("res://bench/bench_season.gd")
const FIRST_SEED := 20260101
const RUNS := 3


# One whole season; returns its database and manager, for the caller to save and free.
static func play_season(seed_value: int) -> Array:
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
	return [db, tm]


static func save_and_free(game: Array) -> Dictionary:
	var save := {"team_database": game[0].to_dict(), "tournament_manager": game[1].to_dict()}
	game[1].free()
	game[0].free()
	return save


# Runs work(i) for every index on one Thread per core, each thread taking every n-th index.
static func on_threads(count: int, threads: int, work: Callable) -> Array:
	var results := []
	results.resize(count)
	var mutex := Mutex.new()
	var running: Array[Thread] = []
	for t in threads:
		running.append(Thread.new())
		running[-1].start(func() -> void:
			for i in range(t, count, threads):
				var result = work.call(i)
				mutex.lock()
				results[i] = result
				mutex.unlock())
	for thread in running:
		thread.wait_to_finish()
	return results


static func on_pool(count: int, work: Callable) -> Array:
	var results := []
	results.resize(count)
	var mutex := Mutex.new()
	# High priority: low-priority tasks may use only part of the pool (one thread of two).
	var task := WorkerThreadPool.add_group_task(func(i: int) -> void:
		var result = work.call(i)
		mutex.lock()
		results[i] = result
		mutex.unlock(), count, -1, true)
	WorkerThreadPool.wait_for_group_task_completion(task)
	return results


# The first line of a /proc file (their length reads as 0, so the file is read line by line).
func _proc_line(path: String) -> String:
	var file := FileAccess.open(path, FileAccess.READ)
	return file.get_line().strip_edges() if file != null else ""


# The process's user and system time in clock ticks (the kernel's 100 per second), or 0 where /proc
# is missing: the cores the run actually got, whatever else the machine was doing.
func _cpu_ticks() -> int:
	var fields := _proc_line("/proc/self/stat").get_slice(") ", 1).split(" ")
	return fields[11].to_int() + fields[12].to_int() if fields.size() > 12 else 0


# [wall microseconds, cores busy on average, what the work returned].
func _timed(work: Callable) -> Array:
	var ticks := _cpu_ticks()
	var start := Time.get_ticks_usec()
	var result = work.call()
	var wall := Time.get_ticks_usec() - start
	return [wall, (_cpu_ticks() - ticks) * 10000.0 / maxi(wall, 1), result]


func _report(what: String, timed: Array, sequential_us: int, same = null) -> void:
	var line := "    %-17s %6.0f ms wall, %4.2f cores busy" % [what, timed[0] / 1000.0, timed[1]]
	if sequential_us > 0:
		line += ", speedup %.2fx" % (float(sequential_us) / timed[0])
	if same != null:
		line += ", saves identical: %s" % same
	print(line)


func _init() -> void:
	var dir := DirAccess.open("res://")
	var build := dir.read_link("bin") if dir != null and dir.is_link("bin") else "res://bin"
	print("Library measured: %s" % build)
	var cores := OS.get_processor_count()
	var seeds := []
	for i in cores * 2:
		seeds.append(FIRST_SEED + i)
	var play := func(i: int) -> Array: return play_season(seeds[i])
	print("%d seeded seasons of %d tournaments; %d cores; %d threads; %d runs" % [seeds.size(),
			SEASON_SCRIPT.SEASON.size(), cores, cores, RUNS])
	# Warm up: the first season pays for the engine's first allocations.
	save_and_free(play_season(FIRST_SEED))
	for run in RUNS:
		print("run %d (load average %s):" % [run + 1, _proc_line("/proc/loadavg")])
		print("  playing the seasons")
		var sequential := _timed(func() -> Array: return range(seeds.size()).map(play))
		_report("sequential", sequential, 0)
		var threads := _timed(func() -> Array: return on_threads(seeds.size(), cores, play))
		var pool := _timed(func() -> Array: return on_pool(seeds.size(), play))
		# The games were played on other threads; saved here, one thread at a time.
		var expected: Array = sequential[2].map(save_and_free)
		_report("%d Threads" % cores, threads, sequential[0], threads[2].map(save_and_free) == expected)
		_report("WorkerThreadPool", pool, sequential[0], pool[2].map(save_and_free) == expected)

		print("  playing and saving the seasons")
		var play_and_save := func(i: int) -> Dictionary: return save_and_free(play_season(seeds[i]))
		sequential = _timed(func() -> Array: return range(seeds.size()).map(play_and_save))
		_report("sequential", sequential, 0)
		threads = _timed(func() -> Array: return on_threads(seeds.size(), cores, play_and_save))
		_report("%d Threads" % cores, threads, sequential[0], threads[2] == sequential[2])
	print("Wall times; cores busy: the process's CPU time over the wall time (below the thread count, the")
	print("machine was shared). Saving converts a whole season to dictionaries, which is mostly the engine's")
	print("allocations: an editor build counts every allocation in one shared counter, which the threads share.")
	quit()
