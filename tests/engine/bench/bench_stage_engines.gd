extends SceneTree
# Cost of the stage engines: building each stage plan, and a whole 16-team Swiss stage seeded, paired
# round by round, scored and closed. Needs the test build (the tournament probe). Run:
#   tools/godot --headless --path tests/engine -s res://bench/bench_stage_engines.gd
# Prints figures only; it checks nothing.

const SECONDS_PER_CASE := 2.0
const START := "2026-03-01"
# Node ids of each Swiss round of a stage numbered from 1000.
const SWISS_ROUNDS := [[1000, 1008], [1008, 1016], [1016, 1024], [1024, 1030], [1030, 1033]]


# Runs `work` in batches of 16 for about `seconds`; returns [runs, microseconds].
func _time(work: Callable, seconds: float) -> Array:
	var budget := int(seconds * 1000000.0)
	var runs := 0
	var start := Time.get_ticks_usec()
	while Time.get_ticks_usec() - start < budget:
		for i in 16:
			work.call()
		runs += 16
	return [runs, Time.get_ticks_usec() - start]


func _report(label: String, result: Array) -> void:
	print("%s: %d in %.2f s, %.1f us each" % [label, result[0], result[1] / 1000000.0, float(result[1]) / result[0]])


func _init() -> void:
	var db := TeamDatabase.new()
	db.initialize_defaults()
	var entries := []
	for i in 16:
		var team: TeamData = db.get_team_at(i)
		entries.append({"id": team.get_id(), "name": team.get_name(), "vrs": team.get_vrs(), "seed": i + 1})

	print("Stage engines (each case runs on a fresh probe holding one tournament)")
	var probe := TeamforgeTournamentProbe.new()
	_report("build Swiss stage (33 nodes)", _time(func():
		probe = TeamforgeTournamentProbe.new()
		probe.build_swiss("Stage 1", 16, 1000, START), SECONDS_PER_CASE))
	_report("build 16-team playoffs (15 nodes)", _time(func():
		probe = TeamforgeTournamentProbe.new()
		probe.build_single_elim("Playoffs", 16, true, 1000, START), SECONDS_PER_CASE))
	_report("build blast bracket (14 nodes)", _time(func():
		probe = TeamforgeTournamentProbe.new()
		probe.build_blast("Blast Finals", true, 1000, START), SECONDS_PER_CASE))
	_report("build group stage (24 nodes)", _time(func():
		probe = TeamforgeTournamentProbe.new()
		probe.build_groups(1000, START), SECONDS_PER_CASE))
	_report("empty probe alone (subtract from the above)", _time(func():
		probe = TeamforgeTournamentProbe.new(), SECONDS_PER_CASE))

	var swiss_stage := func():
		probe = TeamforgeTournamentProbe.new()
		probe.set_database(db)
		probe.set_tournament({"format_id": "MAJOR", "current_stage_idx": 0})
		var index := probe.build_swiss("Stage 1", 16, 1000, START)
		probe.seed_stage(index, entries, true)
		for ids in SWISS_ROUNDS:
			for id in range(ids[0], ids[1]):
				probe.score_node(index, "m_%d" % id, 2, 1)
			probe.advance_swiss(index)
		probe.close_swiss(index)
	_report("Swiss stage played through (33 results, 4 pairings, close)", _time(swiss_stage, SECONDS_PER_CASE))
	print("Method: every run starts from a new probe (with its own simulator), whose cost is the 'empty probe'")
	print("line. The Swiss run makes 33 score calls, 5 advance calls and one close from the script, so its")
	print("figure also holds about 45 bound calls and 33 node-id formats on the script side.")
	db.free()
	quit()
