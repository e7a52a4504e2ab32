extends SceneTree
# Series throughput of MatchSimulator driven from GDScript, how much of the time the library itself
# takes, and how it compares with the same series written in GDScript (script_series.gd). Run:
#   tools/godot --headless --path tests/engine -s res://bench/bench_simulator.gd
# Prints figures only; it checks nothing. Measure a Release build: the engine loads the library under
# its debug name, so link the release library under that name in the build's bin folder first, e.g.
#   ln -sf libteamforge.linux.template_release.x86_64.so build/release/bin/libteamforge.linux.template_debug.x86_64.so
#   tools/link_extension.sh build/release tests/engine

const ScriptSeries := preload("res://bench/script_series.gd")

const SECONDS_PER_CASE := 3.0
# The comparison with GDScript alternates short runs of each side and keeps each side's best, so that
# load from other processes on the machine does not bias the ratio.
const COMPARISON_ROUNDS := 10
const SECONDS_PER_ROUND := 0.3
const SEED := 20260101


func _reset(a: TeamData, b: TeamData) -> void:
	a.set_vrs(1550)
	a.set_stamina(100)
	a.set_wins(0)
	a.set_losses(0)
	b.set_vrs(1450)
	b.set_stamina(100)
	b.set_wins(0)
	b.set_losses(0)


func _team(id: String) -> TeamData:
	var t := TeamData.new()
	t.set_id(id)
	t.set_name("Team " + id)
	return t


# Runs `with_library` series (or the same loop calling a trivial getter instead) for about
# `seconds`; returns [series, microseconds].
func _run_for(sim: MatchSimulator, bo5: bool, seconds: float, with_library: bool) -> Array:
	var a := _team("a")
	var b := _team("b")
	sim.set_seed(SEED)
	var budget := int(seconds * 1000000.0)
	var series := 0
	var start := Time.get_ticks_usec()
	var elapsed := 0
	while elapsed < budget:
		# Batches of 64 keep the clock reads out of the measurement.
		for i in 64:
			_reset(a, b)
			if with_library:
				sim.simulate_match(a, b, bo5)
			else:
				sim.get_seed()
		series += 64
		elapsed = Time.get_ticks_usec() - start
	return [series, elapsed]


# The same loop around the GDScript series.
func _run_script_for(series_script: ScriptSeries, bo5: bool, seconds: float) -> Array:
	var a := _team("a")
	var b := _team("b")
	series_script.set_seed(SEED)
	var budget := int(seconds * 1000000.0)
	var series := 0
	var start := Time.get_ticks_usec()
	var elapsed := 0
	while elapsed < budget:
		for i in 64:
			_reset(a, b)
			series_script.simulate_match(a, b, bo5)
		series += 64
		elapsed = Time.get_ticks_usec() - start
	return [series, elapsed]


# The same number of iterations without the series, to time the loop and the resets alone.
func _run_count(sim: MatchSimulator, iterations: int) -> int:
	var a := _team("a")
	var b := _team("b")
	var start := Time.get_ticks_usec()
	var done := 0
	while done < iterations:
		for i in 64:
			_reset(a, b)
			sim.get_seed()
		done += 64
	return Time.get_ticks_usec() - start


func _init() -> void:
	var sim := MatchSimulator.new()
	var series_script := ScriptSeries.new()
	var dir := DirAccess.open("res://")
	var build := dir.read_link("bin") if dir != null and dir.is_link("bin") else "res://bin"
	print("Library measured: %s" % build)
	print("MatchSimulator series throughput (seed %d, teams 1550 v 1450 reset before every series)" % SEED)
	for bo5 in [false, true]:
		var label := "best-of-five " if bo5 else "best-of-three"
		var full := _run_for(sim, bo5, SECONDS_PER_CASE, true)
		var series: int = full[0]
		var full_us: int = full[1]
		var loop_us := _run_count(sim, series)
		var per_series_us := float(full_us) / series
		var overhead_us := float(loop_us) / series
		var library_share := clampf((full_us - loop_us) / float(full_us), 0.0, 1.0)
		var best_native := INF
		var best_script := INF
		for round in COMPARISON_ROUNDS:
			var native := _run_for(sim, bo5, SECONDS_PER_ROUND, true)
			best_native = minf(best_native, float(native[1]) / native[0])
			var scripted := _run_script_for(series_script, bo5, SECONDS_PER_ROUND)
			best_script = minf(best_script, float(scripted[1]) / scripted[0])
		print("%s: %d series in %.2f s = %.0f series/s (%.2f us each)" % [
				label, series, full_us / 1000000.0, series / (full_us / 1000000.0), per_series_us])
		print("    loop and resets alone %.2f us per series; share inside the library %.1f %%" % [
				overhead_us, library_share * 100.0])
		print("    best of %d alternating runs: native %.2f us, GDScript %.2f us: native is %.2f times faster" % [
				COMPARISON_ROUNDS, best_native, best_script, best_script / best_native])
	print("Method: each series is one simulate_match call plus eight TeamData setter calls that reset the pair.")
	print("The same loop with simulate_match replaced by a trivial bound call (get_seed) is timed for the same")
	print("number of iterations; its time is the script and binding overhead. Library share = (time with series -")
	print("time of the trivial loop) / time with series. It includes building the report dictionaries, which")
	print("the library does, and leaves one bound-call dispatch per series on the script side. The GDScript")
	print("series (bench/script_series.gd) runs in the same loop with the same resets; the two alternate in")
	print("short runs and the ratio compares the best run of each, loops as a whole.")
	quit()
