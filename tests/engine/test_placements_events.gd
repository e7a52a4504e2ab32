extends TestCase
# Placement weights, the improve-only placement record with its rating before the tournament, and
# the achievement event the manager emits.

const WEIGHTS := {"1st": 5000.0, "2nd": 2000.0, "3rd": 1000.0, "3rd-4th": 900.0, "4th": 800.0,
		"5th-6th": 400.0, "5th-8th": 350.0, "7th-8th": 300.0, "9th-11th": 150.0, "9th-12th": 100.0,
		"12th-14th": 100.0, "15th-16th": 75.0, "9th-16th": 70.0, "17th-19th": 50.0, "13th-16th": 40.0,
		"20th-22nd": 35.0, "17th-24th": 30.0, "23rd-24th": 25.0, "25th-27th": 15.0, "28th-30th": 10.0,
		"31st-32nd": 3.5}

var probe: TeamforgeTournamentProbe
var db: TeamDatabase


func before_each() -> void:
	probe = TeamforgeTournamentProbe.new()
	db = autofree(TeamDatabase.new())
	db.initialize_defaults()
	probe.set_database(db)


func after_each() -> void:
	probe = null
	db = null


func _entry(id: String, vrs := -1) -> Dictionary:
	var entry := {"id": id, "name": "Team " + id}
	if vrs >= 0:
		entry["vrs"] = vrs
	return entry


func _placed() -> Array:
	return probe.get_tournament().placements.map(
			func(p): return [p.team.get("id"), p.tag, p.vrs_before] if p is Dictionary else [null])


func test_placement_weights() -> void:
	for label in WEIGHTS:
		assert_eq(probe.placement_weight(label), WEIGHTS[label], label)
	for label in ["", "1ST", "1st ", "PLACEMENT_UNKNOWN", "33rd"]:
		assert_eq(probe.placement_weight(label), 0.0, "unknown label %s" % label)


func test_placements_only_improve() -> void:
	probe.set_tournament({"initial_vrs": {"t-1": 1234, "t-5": 0}})
	var live: TeamData = db.get_team_by_id("t-2")
	var sequences := [
		["t-1", ["1st", "2nd"]],
		["t-2", ["5th-8th", "3rd-4th"]],
		["t-3", ["9th-12th", "12th-14th"]],  # equal weight: the first stays
		["t-4", ["2nd", "WHATEVER"]],  # an unknown label weighs nothing
		["t-5", ["NOTHING", "31st-32nd"]],  # but anything known beats it
	]
	for row in sequences:
		for label in row[1]:
			if row[0] == "t-2" and label == "3rd-4th":
				live.set_vrs(1777)  # a replacement takes the rating of its own moment
			probe.record_placement(_entry(row[0]), label)
	var vrs_3: int = db.get_team_by_id("t-3").get_vrs()
	var vrs_4: int = db.get_team_by_id("t-4").get_vrs()
	assert_eq(_placed(), [["t-1", "1st", 1234], ["t-2", "3rd-4th", 1777], ["t-3", "9th-12th", vrs_3],
			["t-4", "2nd", vrs_4], ["t-5", "31st-32nd", 0]], "best placement per team, in first-recorded order")

	var entry := _entry("x-99", 1500)
	probe.record_placement(entry, "4th")
	probe.record_placement(_entry("x-98"), "4th")
	probe.record_placement({"name": "nobody"}, "1st")
	probe.record_placement(_entry(""), "1st")
	var placements: Array = probe.get_tournament().placements
	assert_eq(_placed().slice(5), [["x-99", "4th", 1500], ["x-98", "4th", 1000]],
			"no such team: the entry's rating, else 1000; no id, no placement")
	assert_keys(placements[5], ["team", "tag", "vrs_before"], "placement keys")
	assert_eq(placements[5].team, entry, "the entry is kept")

	# Without a database the entry's own rating counts.
	db.free()
	probe.record_placement(_entry("t-7", 901), "5th-6th")
	assert_eq(_placed().back(), ["t-7", "5th-6th", 901], "database freed")


func test_placements_survive_frozen_and_typed_lists() -> void:
	var frozen := [{"team": _entry("t-1"), "tag": "5th-8th", "vrs_before": 1}, "stray"]
	frozen.make_read_only()
	probe.set_tournament({"placements": frozen, "initial_vrs": {"t-1": 10, "t-2": 20}})
	probe.record_placement(_entry("t-1"), "1st")
	probe.record_placement(_entry("t-2"), "2nd")
	assert_eq(probe.get_tournament().placements.slice(1, 2), ["stray"], "stray values stay where they were")
	assert_eq(_placed().filter(func(p): return p.size() == 3), [["t-1", "1st", 10], ["t-2", "2nd", 20]],
			"a frozen list still takes the improvement and the new team")
	var typed: Array[int] = [5]
	var odd: Dictionary[int, int] = {3: 4}
	probe.set_tournament({"placements": typed, "initial_vrs": odd})
	probe.record_placement(odd, "1st")
	probe.record_placement(_entry("t-3"), "3rd")
	assert_eq(_placed(), [[null], ["t-3", "3rd", db.get_team_by_id("t-3").get_vrs()]],
			"a typed list is replaced by one that can hold it; dictionaries with typed keys are read safely")


func test_achievement_event_carries_the_tournament_and_context() -> void:
	var log := watch_signals(probe, ["achievement_event"])
	probe.set_tournament({"id": 12, "format_id": "BLAST", "tier_id": "TIER_S", "status": "ACTIVE", "current_stage_idx": 0})
	var context := {"stage_idx": 0, "note": [1, 2]}
	probe.emit_event("match_played", context)
	probe.set_current_stage(1)
	probe.emit_event("tournament_completed", {})
	assert_eq(log.size(), 2, "one signal per event")
	if log.size() != 2:
		return
	var event: Dictionary = log[0][1]
	assert_keys(event, ["type", "tour_id", "format_id", "tier_id", "status", "current_stage_idx", "context"],
			"event keys")
	assert_eq(event, {"type": "match_played", "tour_id": 12, "format_id": "BLAST", "tier_id": "TIER_S",
			"status": "ACTIVE", "current_stage_idx": 0, "context": context}, "event fields")
	event.context.note.clear()
	assert_eq(context.note, [1, 2], "handlers get a context of their own")
	assert_eq([log[1][1].type, log[1][1].current_stage_idx], ["tournament_completed", 1],
			"the stage index of the moment")
