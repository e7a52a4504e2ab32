extends TestCase
# TournamentManager's records and save format: every key in its order, every default, the load step
# (non-dictionaries skipped, the next id kept past every loaded one), quota normalisation, values from
# text saves, malformed input, and the links to the team database and the simulator.

const WarningTrap := preload("res://warning_trap.gd")

const I32_MAX := 2147483647
const I32_MIN := -2147483648
const I64_MAX := 9223372036854775807
const I64_MIN := -I64_MAX - 1
const SAVE_KEYS := ["tournaments", "next_tournament_id", "available_funds", "major_slots", "epl_counters", "match_log"]
const TOURNAMENT_KEYS := ["id", "status", "name", "format_id", "tier_id", "city", "prize", "size", "inv_date",
		"start_date", "stages", "current_stage_idx", "rest", "placements", "standings", "date", "initial_vrs",
		"vrs_delta_map", "total_heat", "major_slots", "major_direct", "participants", "advanced_pool"]
const STAGE_KEYS := ["type", "name", "rounds", "nodes", "next_date", "records", "final_groups", "current_round",
		"is_playoff", "groups", "next_id"]
const NODE_KEYS := ["id", "name", "group_name", "team_a", "team_b", "winner_to", "loser_to", "status", "is_bo5",
		"loser_tag", "date", "details", "heat", "winner", "loser", "score_a", "score_b", "vrs_delta_a", "vrs_delta_b"]
const DEFAULT_QUOTAS := {"stage3": {"EU": 6, "AM": 1, "AS": 1}, "stage2": {"EU": 5, "AM": 3, "AS": 0},
		"stage1": {"EU": 6, "AM": 6, "AS": 4}}
const DEFAULT_COUNTERS := {"HIGHEST": 1, "TIER_S": 1, "TIER_1": 1, "TIER_2": 1, "TIER_3": 1, "TIER_OPEN": 1, "EWC": 1}

var tm: TournamentManager


func before_each() -> void:
	tm = autofree(TournamentManager.new())


func after_each() -> void:
	tm = null


func _entry(id: String, vrs := 1500) -> Dictionary:
	return {"id": id, "name": "Team " + id, "region": "EU", "vrs": vrs, "stamina": 90, "wins": 3, "losses": 1,
		"prize_total": 5000, "honors": ["Cup"], "seed": 1}


# A node with a value other than its default under every key.
func _played_node(id: String) -> Dictionary:
	var a := _entry("t-1")
	var b := _entry("t-2", 1400)
	return {"id": id, "name": "Upper R1", "group_name": "Bo3", "team_a": a, "team_b": b,
		"winner_to": {"id": "m_1004", "slot": "team_a"}, "loser_to": {"id": "m_1007", "slot": "team_b"},
		"status": "PLAYED", "is_bo5": true, "loser_tag": "7th-8th", "date": "2026-05-01",
		"details": [{"map": "Nuke", "score_a": 13, "score_b": 9}], "heat": 1234, "winner": a, "loser": b,
		"score_a": 2, "score_b": 1, "vrs_delta_a": 12, "vrs_delta_b": -12}


func _full_tournament(id: int) -> Dictionary:
	var entry := _entry("t-1")
	# Completed: a load puts right the positions of running tournaments only, and this one leads nowhere.
	return {"id": id, "status": "COMPLETED", "name": "Lisbon Major 2026", "format_id": "MAJOR", "tier_id": "HIGHEST",
		"city": "Lisbon", "prize": 2000000, "size": 32, "inv_date": "2026-03-01", "start_date": "2026-04-30",
		"stages": [{"type": "BLAST_BRACKET", "name": "Blast Finals", "rounds": [{"name": "Round 1", "groups": []}],
			"nodes": [_played_node("m_1000"), _played_node("m_1001")], "next_date": "2026-05-08",
			"records": [{"team": entry, "seed": 1, "w": 3, "l": 0}], "final_groups": {"3-0": []}, "current_round": 4,
			"is_playoff": true, "groups": [{"name": "Upper Bracket", "rounds": []}], "next_id": 1014}],
		"current_stage_idx": 2, "rest": 3, "placements": [{"team": entry, "tag": "5th-8th", "vrs_before": 1500}],
		"standings": [{"placement": "1st"}], "date": "2026-03-01", "initial_vrs": {"t-1": 1500},
		"vrs_delta_map": {"t-1": 12}, "total_heat": 99, "major_slots": {"stage3": {"EU": 9}},
		"major_direct": {"stage3": [entry], "stage2": [], "stage1": []}, "participants": [entry], "advanced_pool": [entry]}


func test_a_new_manager_starts_with_the_documented_state() -> void:
	assert_eq(tm.get_tournaments(), [])
	assert_eq(tm.get_available_funds(), 10000000)
	assert_eq(tm.get_major_slots(), DEFAULT_QUOTAS)
	assert_keys(tm.get_major_slots(), ["stage3", "stage2", "stage1"], "quota stages in order")
	assert_keys(tm.get_major_slots()["stage2"], ["EU", "AM", "AS"], "quota regions in order")
	assert_eq([tm.get_match_log(), tm.get_last_create_error(), tm.get_team_database()], [{}, "", null])
	assert_true(tm.get_match_simulator() is MatchSimulator, "a simulator of its own")
	var saved := tm.to_dict()
	assert_keys(saved, SAVE_KEYS)
	assert_eq(saved, {"tournaments": [], "next_tournament_id": 1, "available_funds": 10000000,
		"major_slots": DEFAULT_QUOTAS, "epl_counters": DEFAULT_COUNTERS, "match_log": {}})
	assert_keys(saved["epl_counters"], DEFAULT_COUNTERS.keys(), "counters in order")


func test_every_key_of_a_tournament_survives_loading_and_saving_in_order() -> void:
	var given := _full_tournament(4)
	tm.set_tournaments([given])
	var back: Array = tm.get_tournaments()
	if not assert_eq(back.size(), 1):
		return
	assert_eq(back[0], given, "the same tournament")
	assert_keys(back[0], TOURNAMENT_KEYS, "tournament keys")
	assert_keys(back[0]["stages"][0], STAGE_KEYS, "stage keys")
	assert_keys(back[0]["stages"][0]["nodes"][1], NODE_KEYS, "node keys")
	assert_keys(back[0]["stages"][0]["nodes"][1]["loser_to"], ["id", "slot"], "link keys")
	# Neither the given records nor the ones handed back share a container with the manager's.
	var text := var_to_str(back)
	for record in [given, back[0]]:
		record["participants"][0]["name"] = "changed"
		record["participants"].reverse()
		record["stages"][0]["nodes"][1]["details"].clear()
		record["stages"][0]["records"].clear()
		record["standings"].pop_front()
		record["major_direct"]["stage3"].clear()
	assert_eq(var_to_str(tm.get_tournaments()), text, "the manager's records are its own")
	assert_eq(tm.to_dict()["next_tournament_id"], 5, "next id past the loaded one")
	var copy: TournamentManager = autofree(TournamentManager.new())
	copy.from_dict(tm.to_dict())
	assert_eq(copy.to_dict(), tm.to_dict(), "save, load, save")


# Lists held directly in a record's lists (a stage's groups, a hand-built placement list) are copied on
# load as well: a script that goes on changing what it loaded changes nothing in the manager.
func test_lists_inside_the_lists_of_a_loaded_record_are_the_managers_own() -> void:
	for load_by in ["set_tournaments", "from_dict"]:
		var placements := [["kept"]]
		var groups := [["kept"], [["kept"]]]
		var given := {"id": 1, "format_id": "IEM", "status": "COMPLETED", "placements": placements,
			"stages": [{"type": "SWISS", "name": "Groups", "groups": groups}]}
		if load_by == "set_tournaments":
			tm.set_tournaments([given])
		else:
			tm.from_dict({"tournaments": [given]})
		placements[0].append("changed")
		groups[0].append("changed")
		groups[1][0].append("changed")
		var t: Dictionary = tm.get_tournaments()[0]
		assert_eq([t.placements, t.stages[0].groups], [[["kept"]], [["kept"], [["kept"]]]],
				"%s: the loaded lists stay as loaded" % load_by)


func test_states_outside_the_catalog_are_kept_as_written_and_never_acted_on() -> void:
	# A save from elsewhere may name statuses, stage types, formats and tiers the library does not know, or
	# known ones in another case: each is saved back as written, and none reads as a state a day acts on.
	var odd := _full_tournament(1)
	odd["status"] = "waiting"
	odd["format_id"] = "LAN"
	odd["tier_id"] = "TIER_9"
	odd["inv_date"] = "2026-01-01"
	odd["start_date"] = "2026-01-01"
	odd["stages"][0]["type"] = "ROUND_ROBIN"
	odd["stages"][0]["nodes"][0]["status"] = "DELAYED"
	odd["stages"][0]["nodes"][1]["status"] = ""
	odd["current_stage_idx"] = 0
	odd["rest"] = 0
	var blank := _full_tournament(2)
	blank["status"] = ""
	blank["format_id"] = ""
	blank["tier_id"] = "highest"
	blank["stages"][0]["type"] = "swiss"
	blank["current_stage_idx"] = 0
	blank["rest"] = 0
	tm.set_tournaments([odd, blank])
	assert_eq(tm.get_tournaments(), [odd, blank], "unknown texts load as written")
	var db: TeamDatabase = autofree(TeamDatabase.new())
	tm.set_team_database(db)
	assert_true(tm.advance_day(), "the day runs")
	assert_eq(tm.get_tournaments(), [odd, blank], "a day leaves them as they were")
	var copy: TournamentManager = autofree(TournamentManager.new())
	copy.from_dict(tm.to_dict())
	assert_eq(copy.get_tournaments(), [odd, blank], "save and load keep them")


func test_missing_keys_load_their_defaults() -> void:
	tm.set_tournaments([{"stages": [{"nodes": [{}]}]}])
	var t: Dictionary = tm.get_tournaments()[0]
	var stage: Dictionary = t["stages"][0]
	assert_eq(stage["nodes"][0], {"id": "", "name": "", "group_name": "", "team_a": {}, "team_b": {},
		"winner_to": {"id": "", "slot": ""}, "loser_to": {"id": "", "slot": ""}, "status": "PENDING", "is_bo5": false,
		"loser_tag": "", "date": "", "details": [], "heat": 0, "winner": {}, "loser": {}, "score_a": 0, "score_b": 0,
		"vrs_delta_a": 0, "vrs_delta_b": 0}, "node defaults")
	stage.erase("nodes")
	assert_eq(stage, {"type": "", "name": "", "rounds": [], "next_date": "", "records": [], "final_groups": {},
		"current_round": 1, "is_playoff": false, "groups": [], "next_id": 0}, "stage defaults")
	t.erase("stages")
	assert_eq(t, {"id": 0, "status": "PENDING", "name": "", "format_id": "", "tier_id": "", "city": "", "prize": 0,
		"size": 0, "inv_date": "", "start_date": "", "current_stage_idx": 0, "rest": 0, "placements": [],
		"standings": [], "date": "", "initial_vrs": {}, "vrs_delta_map": {}, "total_heat": 0, "major_slots": {},
		"major_direct": {}, "participants": [], "advanced_pool": []}, "tournament defaults")
	# Loading replaces everything, so nothing of the earlier records is left.
	tm.set_tournaments([{"id": 2}])
	assert_eq(tm.get_tournaments()[0]["stages"], [], "a later load keeps no old stage")


func test_loading_skips_everything_but_dictionaries_and_keeps_ids_ahead() -> void:
	tm.from_dict({"next_tournament_id": 3, "tournaments": [1, "x", {"id": 7}, null, [{"id": 50}], {"id": 2}]})
	assert_eq(tm.get_tournaments().map(func(t): return t["id"]), [7, 2], "only the dictionaries, in order")
	assert_eq(tm.to_dict()["next_tournament_id"], 8, "raised past the largest id")
	tm.from_dict({"next_tournament_id": 20, "tournaments": [{"id": 7}]})
	assert_eq(tm.to_dict()["next_tournament_id"], 20, "a larger saved id stays")
	# set_tournaments keeps the current next id and only raises it.
	tm.set_tournaments([{"id": 3}])
	assert_eq(tm.to_dict()["next_tournament_id"], 20)
	tm.set_tournaments([{"id": I32_MAX}])
	assert_eq(tm.to_dict()["next_tournament_id"], I32_MAX, "held at the top instead of wrapping")
	for not_a_list in [{"id": 1}, "tournaments", 5, PackedStringArray(["a"])]:
		tm.set_tournaments([{"id": 1}])
		tm.from_dict({"tournaments": not_a_list})
		assert_eq(tm.get_tournaments(), [], "tournaments given as %s" % type_string(typeof(not_a_list)))


func test_quota_maps_are_normalised_wherever_they_are_stored() -> void:
	tm.set_major_slots({"stage2": {"AM": -2, "XX": 4, "EU": 9}, "stage9": {"EU": 1}})
	var expected := DEFAULT_QUOTAS.duplicate(true)
	expected["stage2"]["EU"] = 9
	assert_eq(tm.get_major_slots(), expected, "negative and unknown values dropped")
	assert_keys(tm.get_major_slots()["stage2"], ["EU", "AM", "AS"])
	tm.set_major_slots({"stage3": {"EU": 1e30, "AM": "7", "AS": 2.9}, "stage1": 5})
	assert_eq(tm.get_major_slots()["stage3"], {"EU": I64_MAX, "AM": 7, "AS": 2}, "converted, without an upper bound")
	assert_eq(tm.get_major_slots()["stage1"], DEFAULT_QUOTAS["stage1"], "a stage that is not a map")
	tm.from_dict({})
	assert_eq(tm.get_major_slots(), DEFAULT_QUOTAS, "a save without quotas")
	tm.from_dict({"major_slots": {"stage1": {"AS": -1, "EU": 0}}})
	assert_eq(tm.get_major_slots()["stage1"], {"EU": 0, "AM": 6, "AS": 4}, "zero kept, negative replaced")
	# A script holding the map it was handed cannot reach the stored one through a later set.
	var handed := tm.get_major_slots()
	tm.set_major_slots(handed)
	handed["stage1"]["EU"] = 40
	assert_eq(tm.get_major_slots()["stage1"]["EU"], 0, "stored as a new map")


func test_the_match_log_stays_empty() -> void:
	tm.set_match_log({"m": [1, 2]})
	assert_eq(tm.get_match_log(), {})
	tm.from_dict({"match_log": {"x": 1}})
	assert_eq(tm.to_dict()["match_log"], {})
	var handed := tm.get_match_log()
	handed["x"] = 1
	assert_eq(tm.get_match_log(), {}, "a new dictionary every time")


func test_loading_replaces_the_state_and_leaves_the_links_alone() -> void:
	var db: TeamDatabase = autofree(TeamDatabase.new())
	var sim := MatchSimulator.new()
	tm.set_team_database(db)
	tm.set_match_simulator(sim)
	tm.set_available_funds(5)
	tm.create_tournament("NOPE", "HIGHEST", "2030-01-01")
	tm.from_dict({"available_funds": 77, "epl_counters": {"EWC": 4}})
	assert_eq(tm.get_last_create_error(), "ERROR_INVALID_TOURNAMENT_FORMAT", "the last error stays")
	assert_eq([tm.get_available_funds(), tm.to_dict()["epl_counters"]], [77, {"EWC": 4}], "the saved values")
	assert_same(tm.get_team_database(), db, "the database stays")
	assert_same(tm.get_match_simulator(), sim, "the simulator stays")
	tm.from_dict({})
	assert_eq(tm.to_dict(), {"tournaments": [], "next_tournament_id": 1, "available_funds": 10000000,
		"major_slots": DEFAULT_QUOTAS, "epl_counters": {}, "match_log": {}}, "an empty save gives the defaults")


func test_numbers_from_text_saves_keep_their_value_or_saturate() -> void:
	var node := _played_node("m_1")
	node["score_a"] = 1e20
	node["score_b"] = -1e20
	node["heat"] = 12.9
	node["vrs_delta_a"] = "99999999999999999999999"
	node["vrs_delta_b"] = "--5"
	var t := _full_tournament(3)
	t["stages"][0]["nodes"] = [node]
	t["prize"] = float(I32_MAX) * 4.0
	tm.set_tournaments([t])
	tm.set_available_funds(I64_MAX)
	var through_json: Dictionary = JSON.parse_string(JSON.stringify(tm.to_dict()))
	var loaded: TournamentManager = autofree(TournamentManager.new())
	loaded.from_dict(through_json)
	assert_eq(loaded.get_available_funds(), I64_MAX, "funds at the limit come back at the limit")
	var n: Dictionary = loaded.get_tournaments()[0]["stages"][0]["nodes"][0]
	assert_eq([n["score_a"], n["score_b"], n["heat"], n["vrs_delta_a"], n["vrs_delta_b"]],
			[I32_MAX, I32_MIN, 12, I32_MAX, 5], "32-bit fields held at their limits")
	assert_eq(loaded.get_tournaments()[0]["prize"], I32_MAX)
	loaded.from_dict({"available_funds": -1e300, "next_tournament_id": 1e12})
	assert_eq([loaded.get_available_funds(), loaded.to_dict()["next_tournament_id"]], [I64_MIN, I32_MAX])
	loaded.from_dict({"available_funds": NAN, "next_tournament_id": "-99999999999999999999"})
	assert_eq([loaded.get_available_funds(), loaded.to_dict()["next_tournament_id"]], [0, I32_MIN])
	# The saved form of a JSON round trip is plain numbers again.
	assert_eq(typeof(loaded.to_dict()["available_funds"]), TYPE_INT)


func test_malformed_saves_load_what_they_can() -> void:
	var frozen := {"id": 9, "stages": [{"nodes": [{"id": "m_1"}]}]}
	frozen.make_read_only()
	var typed: Array[Dictionary] = [{"id": 10}]
	# Keys typed by a script refuse a text key with an engine error; such maps are read through a copy.
	var int_keys: Dictionary[int, int] = {1: 2}
	var typed_stage: Dictionary[Variant, Variant] = {"type": "SWISS", "nodes": [int_keys, {"id": "m_7", "loser_to": int_keys}]}
	var typed_node: Dictionary[StringName, String] = {&"id": "m_8", &"status": "PLAYED"}
	var saves := [
		{"tournaments": [{"id": "4", "stages": "none", "participants": {"a": 1}, "initial_vrs": [1, 2]}]},
		{"tournaments": [{"stages": [5, {"nodes": {"x": 1}}, {"nodes": [null, {"winner_to": [1], "team_a": 3}]}]}]},
		{"tournaments": [frozen], "major_slots": "x", "epl_counters": [1, 2], "next_tournament_id": [3]},
		{"tournaments": typed, "available_funds": "12abc"},
		{"tournaments": [{"name": {"a": [1]}, "is_bo5": "yes", "current_round": null}]},
		int_keys,
		{"tournaments": [int_keys, {"id": 11, "stages": [typed_stage, {"nodes": [typed_node]}]}], "major_slots": int_keys,
			"epl_counters": int_keys},
	]
	for save in saves:
		tm.from_dict(save)
		var again: TournamentManager = autofree(TournamentManager.new())
		again.from_dict(tm.to_dict())
		assert_eq(again.to_dict(), tm.to_dict(), "stable once loaded: %s" % [save])
	tm.from_dict(saves[1])
	var stages: Array = tm.get_tournaments()[0]["stages"]
	assert_eq(stages.map(func(s): return s["nodes"].size()), [0, 1], "nodes that are not a list, and junk nodes")
	assert_eq(stages[1]["nodes"][0]["winner_to"], {"id": "", "slot": ""}, "a link that is not a map")
	tm.from_dict(saves[2])
	assert_eq([tm.get_tournaments()[0]["stages"][0]["nodes"][0]["id"], tm.get_major_slots(), tm.to_dict()["epl_counters"]],
			["m_1", DEFAULT_QUOTAS, {}], "a frozen tournament reads; wrong types give defaults")
	tm.from_dict(saves[3])
	assert_eq([tm.get_tournaments()[0]["id"], tm.get_available_funds()], [10, 12], "a typed list; digits in text")
	tm.from_dict(saves[6])
	var loaded: Array = tm.get_tournaments()
	assert_eq(loaded.map(func(t): return t["id"]), [0, 11], "maps with typed keys load with their defaults")
	assert_eq([loaded[1]["stages"][0]["type"], loaded[1]["stages"][0]["nodes"].map(func(n): return n["id"]),
			loaded[1]["stages"][1]["nodes"][0]["status"]], ["SWISS", ["", "m_7"], "PLAYED"], "or with what they hold")
	tm.set_major_slots({"stage2": {1: 5, "AM": 1} as Dictionary[Variant, int]})
	assert_eq(tm.get_major_slots()["stage2"], {"EU": 5, "AM": 1, "AS": 0}, "typed quotas")


func test_the_team_database_is_kept_only_while_it_lives() -> void:
	var db := TeamDatabase.new()
	tm.set_team_database(db)
	assert_same(tm.get_team_database(), db)
	assert_same(tm.team_database, db, "the property")
	tm.set_team_database(autofree(GameSettings.new()))
	assert_null(tm.get_team_database(), "a node of another class is stored as none")
	tm.call("set_team_database", TeamData.new())
	assert_null(tm.get_team_database(), "an object that is not a node")
	tm.set_team_database(db)
	db.free()
	assert_null(tm.get_team_database(), "a freed database reads as none")
	assert_eq(tm.to_dict()["tournaments"], [], "and the manager works on")


func test_the_simulator_can_be_replaced_or_removed() -> void:
	var own: MatchSimulator = tm.get_match_simulator()
	var other := MatchSimulator.new()
	tm.match_simulator = other
	assert_same(tm.get_match_simulator(), other)
	assert_ne(own, other)
	tm.set_match_simulator(null)
	assert_null(tm.get_match_simulator(), "removed until the manager needs one")
	tm.call("set_match_simulator", TeamData.new())
	assert_null(tm.get_match_simulator(), "an object of another class counts as none")


static func _holds_reference(value: Variant) -> bool:
	if value is Array:
		return value.any(_holds_reference)
	if value is Dictionary:
		return value.keys().any(_holds_reference) or value.values().any(_holds_reference)
	return typeof(value) in [TYPE_OBJECT, TYPE_CALLABLE, TYPE_SIGNAL]


# A save is plain data: objects a script left in a save's free-form fields (the manager itself among
# them, which var_to_str would walk through the whole game) are dropped on loading, each place named.
func test_a_save_holding_objects_loads_as_plain_data_and_plays_on() -> void:
	var db: TeamDatabase = autofree(TeamDatabase.new())
	db.initialize_defaults()
	tm.set_team_database(db)
	tm.get_match_simulator().set_seed(5)
	tm.create_tournament("EPL", "TIER_OPEN", "2026-01-02")
	var played := func() -> bool:
		var stages: Array = tm.get_tournaments()[0].stages
		return not stages.is_empty() and stages[0].nodes.any(func(n): return n.status == "PLAYED")
	if not assert_reached(tm, played, 60, "a match played"):
		return
	var save := {"db": db.to_dict(), "tm": tm.to_dict(), "economy": {"funds": 50, "next_guess_id": 2,
			"guess_history": [{"id": 1, "team": db, "stake": 10}], "fund_ledger": [tm, {"amount": 5}]}}
	var t: Dictionary = save.tm.tournaments[0]
	var node: Dictionary = t.stages[0].nodes.filter(func(n): return n.status == "PLAYED")[0]
	node.details[0]["by"] = tm
	t.participants[0].honors = [{"name": "Cup", "by": tm.get_match_simulator()}]
	t.participants.append(db)
	t.initial_vrs[tm] = 1
	t.vrs_delta_map["t-x"] = [[[func() -> void: pass]]]
	save.tm.epl_counters["note"] = tm
	save.db.teams[0].honors = [{"name": "Cup", "by": tm}]
	var team_id: String = save.db.teams[0].id

	var trap := WarningTrap.new()
	OS.add_logger(trap)
	var db2: TeamDatabase = autofree(TeamDatabase.new())
	db2.from_dict(save.db)
	var tm2: TournamentManager = autofree(TournamentManager.new())
	tm2.set_team_database(db2)
	tm2.from_dict(save.tm)
	var economy: EconomySystem = autofree(EconomySystem.new())
	economy.from_dict(save.economy)
	OS.remove_logger(trap)

	var loaded := {"db": db2.to_dict(), "tm": tm2.to_dict(), "economy": economy.to_dict()}
	for part in loaded:
		assert_false(_holds_reference(loaded[part]), "%s: no object at any depth" % part)
		assert_eq(str_to_var(var_to_str(loaded[part])), loaded[part], "%s: the save goes through text" % part)
	var warned := "\n".join(trap.warnings)
	for place in ["tournaments[0].stages[0].nodes[", "honors[0].by", "guess_history[0].team",
			"fund_ledger[0]", "epl_counters.note"]:
		assert_true(warned.contains(place), "a warning names %s:\n%s" % [place, warned])
	var t2: Dictionary = loaded.tm.tournaments[0]
	assert_eq(t2.participants.size(), t.participants.size() - 1, "the other participants kept")
	assert_eq(t2.participants[0].honors, [{"name": "Cup"}], "an honour keeps its plain fields")
	assert_eq(t2.initial_vrs.size(), t.initial_vrs.size() - 1, "an object key dropped")
	assert_eq(t2.vrs_delta_map["t-x"], [[[]]], "a callable dropped from deep inside")
	assert_eq(loaded.economy.fund_ledger, [{"amount": 5}], "the ledger's plain rows kept")
	assert_true(assert_reached(tm2, func() -> bool: return tm2.get_tournaments()[0].status == "COMPLETED", 120,
			"the loaded tournament completes"), "the game plays on")
