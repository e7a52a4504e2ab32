extends SceneTree
# Completing a tournament loaded from an oversized save: an "ACTIVE" tournament with no stage left and
# N participants, a quarter of them already placed, completes on the next day. Run:
#   tools/run_benchmarks.sh bench_completion
# Prints figures only; it checks nothing. The hash of the standings shows the results stay the same
# from one build to the next.

const FIELDS := [500, 1000, 2000, 4000, 8000]
const REPEATS := 3
const LABELS := ["1st", "2nd", "3rd-4th", "5th-8th", "9th-16th"]


func _save(field: int, db: TeamDatabase) -> Dictionary:
	var teams := db.get_teams()
	var participants := []
	var placements := []
	var initial := {}
	for i in field:
		# Roster teams first, so prizes are paid into the database as well.
		var entry: Dictionary = teams[i].to_dict() if i < teams.size() else {"id": "p-%d" % i, "name": "P %d" % i,
			"vrs": 900 + (i * 37) % 400}
		entry["seed"] = i + 1
		participants.append(entry)
		if i % 4 == 0:
			placements.append({"team": entry, "tag": LABELS[(i / 4) % LABELS.size()], "vrs_before": entry["vrs"]})
		if i % 3 == 0:
			initial[entry["id"]] = entry["vrs"] - 5
	return {"tournaments": [{"id": 1, "status": "ACTIVE", "format_id": "EPL", "tier_id": "TIER_OPEN", "prize": 80000,
		"participants": participants, "placements": placements, "initial_vrs": initial, "current_stage_idx": 0}]}


func _init() -> void:
	var dir := DirAccess.open("res://")
	var build := dir.read_link("bin") if dir != null and dir.is_link("bin") else "res://bin"
	print("Library measured: %s" % build)
	for field in FIELDS:
		var times: Array[int] = []
		var digest := ""
		for r in REPEATS:
			var db := TeamDatabase.new()
			db.initialize_defaults()
			var tm := TournamentManager.new()
			tm.set_team_database(db)
			tm.from_dict(_save(field, db))
			var start := Time.get_ticks_usec()
			tm.advance_day()
			times.append(Time.get_ticks_usec() - start)
			var done: Dictionary = tm.get_tournaments()[0]
			digest = "%s, %d standings, hash %x" % [done["status"], done["standings"].size(),
				var_to_str(done["standings"]).hash()]
			tm.free()
			db.free()
		times.sort()
		print("%5d participants: %9.1f ms  (%s)" % [field, times[REPEATS / 2] / 1000.0, digest])
	print("Method: median of %d runs of the advance_day that completes the tournament, wall clock, one engine" % REPEATS)
	print("process; every figure includes the bound call and the engine dictionaries of the standings.")
	quit()
