extends TestCase
# The Swiss engine at work: the seeded shuffle, seeding, the records, pairing round by round within
# record groups, the end of the stage and its close with final groups, placements and qualifiers.

const EVENT_KEYS := ["type", "tour_id", "format_id", "tier_id", "status", "current_stage_idx", "context"]
const FINAL_KEYS := ["3-0", "3-1", "3-2", "2-3", "1-3", "0-3"]

var probe: TeamforgeTournamentProbe
var hooks: TeamforgeTestHooks
var db: TeamDatabase


func before_each() -> void:
	probe = TeamforgeTournamentProbe.new()
	hooks = TeamforgeTestHooks.new()
	db = autofree(TeamDatabase.new())
	db.initialize_defaults()
	probe.set_database(db)


func after_each() -> void:
	probe = null
	hooks = null
	db = null


# Team entries of the first `count` roster teams, seeded 20, 21, ... (distinct from their positions).
func _entries(count: int) -> Array:
	var entries := []
	for i in count:
		var team: TeamData = db.get_team_at(i)
		entries.append({"id": team.get_id(), "name": team.get_name(), "vrs": team.get_vrs(), "seed": 20 + i})
	return entries


# The shuffle written out from its definition on raw generator outputs: [order, the simulator's new seed].
func _reference_shuffle(items: Array, simulator_seed: int) -> Array:
	var n := items.size()
	var s := ((n * 0x9E3779B1) & 0xFFFFFFFF) ^ (simulator_seed & 0xFFFFFFFF)
	var outputs: Array = hooks.mt_raw(s, 0, 4 * n + 16)
	var at := 0
	var order := items.duplicate()
	for i in range(n - 1, 0, -1):
		var span := i + 1
		var threshold := (1 << 32) % span
		var product: int = outputs[at] * span
		at += 1
		while (product & 0xFFFFFFFF) < threshold:
			product = outputs[at] * span
			at += 1
		var j := product >> 32
		var held = order[i]
		order[i] = order[j]
		order[j] = held
	return [order, outputs[at]]


func _record_of(stage: Dictionary, id: String) -> Dictionary:
	for record in stage.records:
		if record is Dictionary and record.team.get("id", "") == id:
			return record
	return {}


func _key(record: Dictionary) -> String:
	return "%d-%d" % [record.w, record.l]


# Plays the stage to its end, the better seed (lower "seed") winning every match; returns what was seen:
# rounds played, the teams that played at 2-0 and at 0-2, and any pairing outside a record group.
func _play_out(index: int) -> Dictionary:
	var seen := {"rounds": 0, "had_2_0": [], "had_0_2": [], "mispaired": []}
	for guard in 6:
		if probe.swiss_finished(index):
			break
		var stage: Dictionary = probe.get_stage(index)
		var round_name := "Round %d" % stage.current_round
		var due: Array = stage.nodes.filter(func(n): return n.name == round_name and n.status == "PENDING" \
				and not n.team_a.is_empty() and not n.team_b.is_empty())
		# An open round is never paired over.
		probe.advance_swiss(index)
		if not due.is_empty():
			assert_eq(probe.get_stage(index).current_round, stage.current_round, "open round stays")
		for node in due:
			var a := _record_of(stage, node.team_a.id)
			var b := _record_of(stage, node.team_b.id)
			if _key(a) != node.group_name or _key(b) != node.group_name:
				seen.mispaired.append(node.id)
			for record in [a, b]:
				if _key(record) == "2-0":
					seen.had_2_0.append(record.team.id)
				if _key(record) == "0-2":
					seen.had_0_2.append(record.team.id)
			var a_wins: bool = node.team_a.get("seed", 99) < node.team_b.get("seed", 99)
			probe.score_node(index, node.id, 2 if a_wins else 1, 1 if a_wins else 2)
		seen.rounds += 1
		probe.advance_swiss(index)
	return seen


func test_shuffle_follows_the_simulator_seed_and_moves_it_on() -> void:
	var sim: MatchSimulator = probe.get_simulator()
	var entries := _entries(16)
	for start_seed in [12345, -7, 0]:
		sim.set_seed(start_seed)
		var expected := _reference_shuffle(entries, start_seed)
		var first: Array = probe.shuffle(entries)
		var moved := sim.get_seed()
		assert_eq([first, moved], expected, "shuffle of 16 from seed %d" % start_seed)
		sim.set_seed(start_seed)
		assert_eq([probe.shuffle(entries), sim.get_seed()], [first, moved], "same seed, same draw")
		assert_ne(first, entries, "the order changes")
	assert_eq(entries, _entries(16), "the given list stays as it was")
	assert_true(not is_same(probe.shuffle(entries), entries), "a new array")
	# Even nothing to shuffle draws the next seed.
	for items in [[], ["only"], [1, 2, 3]]:
		sim.set_seed(99)
		var expected := _reference_shuffle(items, 99)
		assert_eq([probe.shuffle(items), sim.get_seed()], expected, "shuffle of %s" % [items])
	assert_ne(_reference_shuffle([], 99)[1], 99, "an empty shuffle still moves the seed")


func test_major_stage_plays_out_by_record_groups_and_closes() -> void:
	_check_stage_close("MAJOR", 0, {2: "25th-27th", 1: "28th-30th", 0: "31st-32nd"})


func test_epl_second_stage_and_other_formats_tag_their_eliminated_teams() -> void:
	_check_stage_close("EPL", 1, {2: "9th-11th", 1: "12th-14th", 0: "15th-16th"})
	probe = TeamforgeTournamentProbe.new()
	probe.set_database(db)
	_check_stage_close("MAJOR", 2, {2: "9th-11th", 1: "12th-14th", 0: "15th-16th"})
	probe = TeamforgeTournamentProbe.new()
	probe.set_database(db)
	_check_stage_close("IEM", 0, {2: "PLACEMENT_UNKNOWN", 1: "PLACEMENT_UNKNOWN", 0: "PLACEMENT_UNKNOWN"})


func _check_stage_close(format_id: String, stage_idx: int, tags: Dictionary) -> void:
	var what := "%s stage %d" % [format_id, stage_idx]
	probe.set_tournament({"id": 4, "format_id": format_id, "tier_id": "TIER_1", "current_stage_idx": stage_idx})
	var index := probe.build_swiss("Stage X", 16, 1000, "2026-03-01")
	var entries := _entries(16)
	entries[5].erase("seed")
	probe.get_simulator().set_seed(777)
	var drawn := _reference_shuffle(entries, 777)
	probe.seed_stage(index, entries, true)

	var stage: Dictionary = probe.get_stage(index)
	var pairs := []
	for node in stage.nodes.slice(0, 8):
		pairs.append_array([node.team_a, node.team_b])
	assert_eq([pairs, probe.get_simulator().get_seed()], drawn, "%s: round 1 holds the shuffled list" % what)
	assert_keys(stage.records[0], ["team", "seed", "w", "l"], "record keys")
	assert_eq(stage.records.map(func(r): return [r.team.id, r.seed, r.w, r.l]),
			entries.map(func(e): return [e.id, e.get("seed", 6), 0, 0]), "%s: records in seed order" % what)

	var log := watch_signals(probe, ["achievement_event"])
	var placements_at_close := []
	probe.achievement_event.connect(func(event):
		if event.type == "swiss_stage_completed":
			placements_at_close.append(probe.get_tournament().placements.size()))
	var seen := _play_out(index)
	assert_eq([seen.rounds, seen.mispaired, probe.swiss_finished(index)], [5, [], true],
			"%s: five rounds, every pair within its record group" % what)

	stage = probe.get_stage(index)
	var advanced: Array = log.map(func(entry): return entry[1]).filter(func(e): return e.type == "swiss_round_advanced")
	assert_eq(advanced.map(func(e): return e.context.current_round), [2, 3, 4, 5], "rounds paired")
	if advanced.size() == 4:
		assert_keys(advanced[0], EVENT_KEYS, "event keys")
		assert_keys(advanced[0].context, ["stage_idx", "stage_name", "current_round", "records"], "context keys")
		assert_eq([advanced[0].tour_id, advanced[0].format_id, advanced[0].current_stage_idx,
				advanced[0].context.stage_idx, advanced[0].context.stage_name],
				[4, format_id, stage_idx, stage_idx, "Stage X"], "event fields")
	for record in stage.records:
		var id: String = record.team.id
		assert_eq([record.get("had_2_0", false), record.get("had_0_2", false)],
				[id in seen.had_2_0, id in seen.had_0_2], "%s: flags of %s" % [what, id])

	probe.close_swiss(index)
	stage = probe.get_stage(index)
	assert_keys(stage.final_groups, FINAL_KEYS, "final group keys")
	assert_eq(FINAL_KEYS.map(func(k): return stage.final_groups[k].size()), [2, 3, 3, 3, 3, 2], "final groups")
	for key in FINAL_KEYS:
		for record in stage.final_groups[key]:
			assert_eq(_key(record), key, "record in its final group")
	var completed = log.back()[1]
	assert_eq([completed.type, completed.context.keys(), placements_at_close],
			["swiss_stage_completed", ["stage_idx", "stage_name", "final_groups", "records"], [0]],
			"%s: the close is announced before any placement" % what)

	var tournament := probe.get_tournament()
	var expected_placements := []
	var expected_pool := []
	for record in stage.records:
		if record.l == 3:
			expected_placements.append([record.team.id, tags[record.w]])
		if record.w == 3:
			expected_pool.append(record.team)
	assert_eq(tournament.placements.map(func(p): return [p.team.id, p.tag]), expected_placements,
			"%s: eliminated teams placed by their wins" % what)
	assert_eq([tournament.advanced_pool, expected_pool.size()], [expected_pool, 8], "%s: qualifiers" % what)


func test_records_survive_frozen_and_retyped_containers() -> void:
	var index := probe.build_swiss("Stage 1", 16, 1000, "2026-03-01")
	probe.seed_stage(index, _entries(16), true)
	# Handlers freeze what they are handed: the list and one of its records.
	probe.achievement_event.connect(func(event):
		if event.type == "swiss_round_advanced":
			var records: Array = event.context.records
			records[1].make_read_only()
			records.make_read_only())
	# A restored game may hold the list as a typed array, with stray values in it.
	var stage: Dictionary = probe.get_stage(index)
	var typed: Array[Dictionary] = []
	typed.assign(stage.records)
	stage.records = typed
	probe.set_stage(index, stage)
	var seen := _play_out(index)
	stage = probe.get_stage(index)
	assert_eq([seen.rounds, seen.mispaired, probe.swiss_finished(index)], [5, [], true], "played out")
	assert_eq(stage.records.map(func(r): return r.w + r.l).filter(func(n): return n < 3), [],
			"every result counted")
	assert_eq(stage.records.map(func(r): return r.w).reduce(func(a, b): return a + b, 0),
			stage.records.map(func(r): return r.l).reduce(func(a, b): return a + b, 0), "wins match losses")

	var junk: Dictionary = probe.get_stage(index)
	junk.records = [7, "x", null] + junk.records
	probe.set_stage(index, junk)
	probe.close_swiss(index)
	assert_eq(probe.get_tournament().advanced_pool.size(), 8, "stray records are passed over")


func test_short_empty_and_overfull_fields_still_end() -> void:
	# Fourteen teams: a round-1 match stays empty and stranded teams can never reach three.
	for count in [14, 20, 9]:
		var index := probe.build_swiss("Stage 1", 16, 1000, "2026-03-01")
		probe.seed_stage(index, _entries(count), true)
		var seen := _play_out(index)
		assert_eq([seen.rounds <= 5, probe.swiss_finished(index)], [true, true], "%d teams end" % count)
		probe.close_swiss(index)
		var stage: Dictionary = probe.get_stage(index)
		var qualified: Array = stage.records.filter(func(r): return r.w == 3).map(func(r): return r.team)
		assert_eq(probe.get_tournament().advanced_pool, qualified, "%d teams: only three-win teams go on" % count)
		assert_eq(stage.final_groups.keys().slice(0, 6), FINAL_KEYS, "%d teams: final groups" % count)

	var empty := probe.build_swiss("Stage 2", 16, 2000, "2026-03-01")
	probe.seed_stage(empty, [], false)
	assert_true(probe.swiss_finished(empty), "a stage without teams is over at once")
	probe.close_swiss(empty)
	var stage: Dictionary = probe.get_stage(empty)
	assert_eq([stage.final_groups, probe.get_tournament().advanced_pool],
			[{"3-0": [], "3-1": [], "3-2": [], "2-3": [], "1-3": [], "0-3": []}, []], "empty close")


func test_close_stops_when_a_handler_interrupts_the_day() -> void:
	var index := probe.build_swiss("Stage 1", 16, 1000, "2026-03-01")
	probe.seed_stage(index, _entries(16), true)
	_play_out(index)
	probe.achievement_event.connect(func(event):
		if event.type == "swiss_stage_completed":
			probe.interrupt())
	probe.close_swiss(index)
	var tournament := probe.get_tournament()
	assert_eq([tournament.placements, tournament.advanced_pool], [[], []], "nothing recorded after the interruption")
	assert_eq(probe.get_stage(index).final_groups.size(), 6, "final groups were set before the event")
