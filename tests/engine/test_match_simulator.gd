extends TestCase
# MatchSimulator: draw order, map and series rules, rating and stamina updates, the report,
# the signal, and robustness against odd teams and seeds.

const INT32_MAX := 2147483647
const INT32_MIN := -2147483648
const INT64_MAX := 9223372036854775807
const MAP_POOL := [["Mirage", 70], ["Nuke", 60], ["Ancient", 50], ["Dust 2", 40],
		["Inferno", 30], ["Overpass", 20], ["Anubis", 10]]
const REPORT_KEYS := ["team_a_id", "team_a_name", "team_b_id", "team_b_name", "winner_id",
		"winner_name", "loser_id", "loser_name", "score_a", "score_b", "is_bo5", "probability_a",
		"probability_b", "map_reports", "vrs_before_a", "vrs_before_b", "vrs_after_a", "vrs_after_b",
		"vrs_delta_a", "vrs_delta_b", "stamina_before_a", "stamina_before_b", "stamina_after_a",
		"stamina_after_b", "stamina_drop_a", "stamina_drop_b", "change"]
const MAP_KEYS := ["map_name", "mapName", "score_a", "scoreA", "score_b", "scoreB",
		"round_history", "roundHistory", "overtime_count"]

var hooks: TeamforgeTestHooks
var reentrant_sim: MatchSimulator
var reentrant_log: Array = []


# The raw generator outputs of one seed, consumed by the draw rules.
class Stream:
	var hooks: TeamforgeTestHooks
	var seed_value: int
	var raw: Array = []
	var pos := 0

	func _init(p_hooks: TeamforgeTestHooks, p_seed: int) -> void:
		hooks = p_hooks
		seed_value = p_seed

	func next_u32() -> int:
		if pos >= raw.size():
			raw.append_array(hooks.mt_raw(seed_value, raw.size(), 2048))
		var x: int = raw[pos]
		pos += 1
		return x

	# Only small ranges here, so x * s stays far below 2^63.
	func uniform(lo: int, hi: int) -> int:
		var s := hi - lo + 1
		var threshold := 4294967296 % s
		while true:
			var m := next_u32() * s
			if (m & 0xFFFFFFFF) >= threshold:
				return lo + (m >> 32)
		return lo

	func real() -> float:
		var x1 := next_u32()
		var x2 := next_u32()
		return (float(x1) + float(x2) * 4294967296.0) / 18446744073709551616.0


func before_each() -> void:
	hooks = TeamforgeTestHooks.new()
	reentrant_log = []


func after_each() -> void:
	hooks = null
	reentrant_sim = null


func _team(id: String, vrs: int, stamina := 100) -> TeamData:
	var t := TeamData.new()
	t.set_id(id)
	t.set_name("Team " + id)
	t.set_region("EU")
	t.set_vrs(vrs)
	t.set_stamina(stamina)
	return t


func _seeded(seed_value: int) -> MatchSimulator:
	var sim := MatchSimulator.new()
	sim.set_seed(seed_value)
	return sim


func _ref_pick(stream: Stream, count: int) -> Array:
	var out := []
	if count < 1:
		return out
	var pool := MAP_POOL.duplicate()
	for k in mini(count, 7):
		var total := 0
		for entry in pool:
			total += entry[1]
		if total < 1:
			break
		var roll := stream.uniform(1, total)
		var running := 0
		for j in pool.size():
			running += pool[j][1]
			if running >= roll:
				out.append(pool[j][0])
				pool.remove_at(j)
				break
	return out


func _ref_map(stream: Stream, map_name: String, p: float) -> Dictionary:
	if is_nan(p) or is_inf(p):
		p = 0.5
	p = clampf(p, 0.01, 0.99)
	var a := 0
	var b := 0
	var overtime := 0
	var history := []
	while history.size() < 96:
		if overtime == 0:
			if a == 12 and b == 12:
				overtime = 1
			elif a >= 13 or b >= 13:
				break
		if overtime > 0:
			var tie := (overtime + 4) * 3
			while a == tie and b == tie:
				overtime += 1
				tie = (overtime + 4) * 3
			if (a >= tie + 1 or b >= tie + 1) and a != b:
				break
		if p > stream.real():
			a += 1
			history.append("A")
		else:
			b += 1
			history.append("B")
	if history.size() >= 96 and a == b:
		if p > stream.real():
			a += 1
			history.append("A")
		else:
			b += 1
			history.append("B")
	return {"map_name": map_name, "mapName": map_name, "score_a": a, "scoreA": a, "score_b": b,
			"scoreB": b, "round_history": history, "roundHistory": history, "overtime_count": overtime}


# Expected course of a series from the raw outputs; play_all plays every drawn map
# (what a simulator that forgot to stop would do).
func _ref_series(stream: Stream, vrs_a: int, vrs_b: int, bo5: bool, play_all := false) -> Dictionary:
	var total := vrs_a + vrs_b
	var p := float(vrs_a) / float(total) if total > 0 else 0.5
	var maps := _ref_pick(stream, 5 if bo5 else 3)
	var need := 3 if bo5 else 2
	var reports := []
	var maps_a := 0
	var maps_b := 0
	for map_name in maps:
		var r := _ref_map(stream, map_name, p)
		if maps_a < need and maps_b < need:
			reports.append(r)
			if r["score_a"] > r["score_b"]:
				maps_a += 1
			else:
				maps_b += 1
		if not play_all and (maps_a == need or maps_b == need):
			break
	var drop_a := stream.uniform(10, 20) if bo5 else stream.uniform(5, 10)
	var drop_b := stream.uniform(10, 20) if bo5 else stream.uniform(5, 10)
	return {"maps": maps, "map_reports": reports, "score_a": maps_a, "score_b": maps_b,
			"drop_a": drop_a, "drop_b": drop_b, "probability_a": p}


func _rating_change(own: int, opp: int, won: int) -> int:
	var expected := 1.0 / (pow(10.0, float(opp - own) / 400.0) + 1.0)
	return int(round((1400 - own) * 0.005 + (won - expected) * 40.0))


# Plays seeds from 1 up on fresh teams until `accept` likes the report.
func _find_series(vrs_a: int, vrs_b: int, bo5: bool, accept: Callable, limit := 3000,
		stamina_a := 100, stamina_b := 100) -> Dictionary:
	for seed_value in range(1, limit + 1):
		var a := _team("a", vrs_a, stamina_a)
		var b := _team("b", vrs_b, stamina_b)
		var report: Dictionary = _seeded(seed_value).simulate_match(a, b, bo5)
		if accept.call(report):
			return {"seed": seed_value, "report": report, "a": a, "b": b}
	return {}


func _check_map_invariants(m: Dictionary, where: String) -> void:
	var history: Array = m["round_history"]
	var a := history.count("A")
	var b := history.count("B")
	assert_eq(a + b, history.size(), where + ": only A and B in the history")
	assert_eq([m["score_a"], m["score_b"]], [a, b], where + ": scores count the history")
	assert_eq([m["scoreA"], m["scoreB"], m["roundHistory"], m["mapName"]],
			[m["score_a"], m["score_b"], history, m["map_name"]], where + ": camel-case copies")
	var ot: int = m["overtime_count"]
	var hi := maxi(a, b)
	var lo := mini(a, b)
	if ot == 0:
		assert_true(hi == 13 and lo <= 11, where + ": regulation ends 13 to at most 11, got %d-%d" % [a, b])
	else:
		var tie := (ot + 4) * 3
		assert_true(hi == tie + 1 and lo >= tie - 3 and lo < tie,
				where + ": overtime %d ends at %d, got %d-%d" % [ot, tie + 1, a, b])
	if history.size() > 0:
		assert_eq(history[-1], "A" if a > b else "B", where + ": the map winner takes the last round")


func test_series_follow_the_draw_rules() -> void:
	# Maps first, then rounds of the maps played, then the two drops, all from one engine.
	var cases := [[1400, 1400], [1000, 1800], [2200, 600], [0, 0]]
	for seed_value in [1, 2, 3, 99, 2024]:
		for ratings in cases:
			for bo5 in [false, true]:
				var where := "seed %d %s bo5=%s" % [seed_value, ratings, bo5]
				var sim := _seeded(seed_value)
				var report: Dictionary = sim.simulate_match(_team("a", ratings[0]), _team("b", ratings[1]), bo5)
				var stream := Stream.new(hooks, seed_value)
				var ref := _ref_series(stream, ratings[0], ratings[1], bo5)
				assert_eq(report.get("map_reports"), ref["map_reports"], where + ": map reports")
				assert_eq([report.get("score_a"), report.get("score_b")], [ref["score_a"], ref["score_b"]], where + ": score")
				assert_eq([report.get("stamina_drop_a"), report.get("stamina_drop_b")], [ref["drop_a"], ref["drop_b"]],
						where + ": drops")
				assert_eq(sim.pick_maps(7), _ref_pick(stream, 7), where + ": engine position after the series")


func test_same_seed_replays_the_same_series() -> void:
	for bo5 in [false, true]:
		var a1 := _team("x", 1500, 60)
		var b1 := _team("y", 1500, 90)
		var a2 := _team("x", 1500, 60)
		var b2 := _team("y", 1500, 90)
		var r1: Dictionary = _seeded(424242).simulate_match(a1, b1, bo5)
		var r2: Dictionary = _seeded(424242).simulate_match(a2, b2, bo5)
		assert_eq(r1, r2, "reports of a replayed series")
		assert_eq([a1.to_dict(), b1.to_dict()], [a2.to_dict(), b2.to_dict()], "team updates of a replayed series")
		var r3: Dictionary = _seeded(424243).simulate_match(_team("x", 1500, 60), _team("y", 1500, 90), bo5)
		assert_ne(r3["map_reports"], r1["map_reports"], "another seed plays another series")


func test_best_of_three_stops_after_two_nil() -> void:
	var found := _find_series(1400, 1400, false, func(r): return r["map_reports"].size() == 2, 200)
	assert_false(found.is_empty(), "a 2-0 series within 200 seeds")
	if found.is_empty():
		return
	var seed_value: int = found["seed"]
	var report: Dictionary = found["report"]
	assert_true([report["score_a"], report["score_b"]] in [[2, 0], [0, 2]], "two maps only in a 2-0")
	var sim := _seeded(seed_value)
	sim.simulate_match(_team("a", 1400), _team("b", 1400))
	var stream := Stream.new(hooks, seed_value)
	var ref := _ref_series(stream, 1400, 1400, false)
	assert_eq(ref["maps"].size(), 3, "three maps are drawn before play")
	assert_eq([report["map_reports"][0]["map_name"], report["map_reports"][1]["map_name"]],
			ref["maps"].slice(0, 2), "the first two drawn maps are played")
	var expected_next := _ref_pick(stream, 7)
	assert_eq(sim.pick_maps(7), expected_next, "the third map's rounds are never drawn")
	# Had the third map been played, the engine would sit elsewhere: the check above can fail.
	var wasteful := Stream.new(hooks, seed_value)
	_ref_series(wasteful, 1400, 1400, false, true)
	assert_ne(_ref_pick(wasteful, 7), expected_next, "the replay distinguishes a played third map")


func test_best_of_five_ends_at_three_maps() -> void:
	for seed_value in range(1, 40):
		var r: Dictionary = _seeded(seed_value).simulate_match(_team("a", 1500), _team("b", 1450), true)
		var maps: int = r["map_reports"].size()
		assert_eq(maxi(r["score_a"], r["score_b"]), 3, "seed %d: bo5 winner takes three" % seed_value)
		assert_eq(r["score_a"] + r["score_b"], maps, "seed %d: every reported map counts" % seed_value)
		assert_true(maps >= 3 and maps <= 5, "seed %d: 3 to 5 maps, got %d" % [seed_value, maps])


func test_overtime_scoring() -> void:
	var seen_16_14 := false
	var seen_second_overtime := false
	var maps_checked := 0
	for seed_value in range(1, 600):
		var r: Dictionary = _seeded(seed_value).simulate_match(_team("a", 1700), _team("b", 1700), true)
		var names := []
		for m in r["map_reports"]:
			maps_checked += 1
			_check_map_invariants(m, "seed %d %s" % [seed_value, m["map_name"]])
			names.append(m["map_name"])
			var s := [m["score_a"], m["score_b"]]
			if s == [16, 14] or s == [14, 16]:
				seen_16_14 = true
				assert_eq(m["overtime_count"], 1, "a 16-14 map had one overtime")
				assert_eq(m["round_history"].size(), 30, "a 16-14 map has 30 rounds")
			if m["overtime_count"] == 2:
				seen_second_overtime = true
				assert_true(mini(m["score_a"], m["score_b"]) >= 15, "second overtime only after 15-15")
		for name in names:
			assert_eq(names.count(name), 1, "seed %d: maps of a series are distinct" % seed_value)
		if seen_16_14 and seen_second_overtime and seed_value > 100:
			break
	assert_true(seen_16_14, "a 16-14 map among %d maps" % maps_checked)
	assert_true(seen_second_overtime, "a second overtime among %d maps" % maps_checked)


func test_a_map_level_after_96_rounds_gets_exactly_one_more() -> void:
	# With this seed the first map of a best-of-three between two 1400 teams stands 48-48 after 96 rounds.
	var report: Dictionary = _seeded(585429).simulate_match(_team("a", 1400), _team("b", 1400))
	var m: Dictionary = report["map_reports"][0]
	var history: Array = m["round_history"]
	assert_eq([history.size(), m["overtime_count"], absi(m["score_a"] - m["score_b"])], [97, 12, 1],
			"97 rounds, twelve overtimes, a one-round margin")
	assert_eq(history.slice(0, 96).count("A"), 48, "level at 48-48 after 96 rounds")
	assert_eq(history[96], "A" if m["score_a"] > m["score_b"] else "B", "the extra round decides the map")


func test_both_round_history_keys_hold_one_array() -> void:
	var report: Dictionary = _seeded(5).simulate_match(_team("a", 1500), _team("b", 1400), true)
	for m in report["map_reports"]:
		assert_same(m["roundHistory"], m["round_history"], m["map_name"])


func test_round_odds_follow_the_ratings() -> void:
	# Ratings 2200 and 1 clamp p to 0.99: the weaker side still takes about one round in a hundred.
	# Ratings 0 and 0 play at even odds.
	for odds_case in [[2200, 1, 0.004, 0.02], [0, 0, 0.45, 0.55]]:
		var sim := _seeded(777)
		var rounds_b := 0
		var rounds := 0
		for i in 150:
			var r: Dictionary = sim.simulate_match(_team("a", odds_case[0]), _team("b", odds_case[1]))
			for m in r["map_reports"]:
				rounds_b += m["round_history"].count("B")
				rounds += m["round_history"].size()
		var share := float(rounds_b) / float(rounds)
		assert_true(share > odds_case[2] and share < odds_case[3],
				"ratings %d v %d: B won %d of %d rounds" % [odds_case[0], odds_case[1], rounds_b, rounds])


func _expect_changes(vrs_a: int, vrs_b: int, a_wins: bool, delta_a: int, delta_b: int) -> void:
	var want_a := 2 if a_wins else 0
	var found := _find_series(vrs_a, vrs_b, false, func(r): return r["score_a"] == want_a)
	var where := "%d v %d, %s wins" % [vrs_a, vrs_b, "A" if a_wins else "B"]
	assert_false(found.is_empty(), where + ": found a seed")
	if found.is_empty():
		return
	var r: Dictionary = found["report"]
	assert_eq([r["vrs_delta_a"], r["vrs_delta_b"]], [delta_a, delta_b], where + ": deltas")
	assert_eq([r["vrs_after_a"], r["vrs_after_b"]], [vrs_a + delta_a, vrs_b + delta_b], where + ": ratings after")
	assert_eq([found["a"].get_vrs(), found["b"].get_vrs()], [vrs_a + delta_a, vrs_b + delta_b], where + ": teams")
	assert_eq(r["change"], absi(delta_a), where + ": change")
	assert_eq([r["vrs_before_a"], r["vrs_before_b"]], [vrs_a, vrs_b], where + ": ratings before")


func test_rating_changes() -> void:
	_expect_changes(1400, 1400, true, 20, -20)
	_expect_changes(1400, 1400, false, -20, 20)
	_expect_changes(1000, 1800, true, 42, -42)
	_expect_changes(1000, 1800, false, 2, -2)
	_expect_changes(2200, 600, true, -4, 4)
	# Changes of different sizes: the loser's own change is checked, not the winner's negated.
	_expect_changes(2000, 1200, true, -3, 1)
	_expect_changes(2000, 1200, false, -43, 41)


func test_written_values_are_clamped() -> void:
	var found := _find_series(2200, 2200, false, func(r): return r["score_a"] == 2)
	assert_false(found.is_empty(), "2200 v 2200 played")
	if not found.is_empty():
		var r: Dictionary = found["report"]
		assert_eq([r["vrs_delta_a"], r["vrs_delta_b"]], [16, -24], "2200 v 2200 deltas before the clamp")
		assert_eq([found["a"].get_vrs(), found["b"].get_vrs()], [2200, 2176], "winner capped at 2200")
		assert_eq([r["vrs_after_a"], r["vrs_after_b"]], [2200, 2176], "report after the cap")
	found = _find_series(600, 600, false, func(r): return r["score_a"] == 2)
	if not found.is_empty():
		var r: Dictionary = found["report"]
		assert_eq([r["vrs_delta_a"], r["vrs_delta_b"]], [24, -16], "600 v 600 deltas before the clamp")
		assert_eq([found["a"].get_vrs(), found["b"].get_vrs()], [624, 600], "loser held at 600")
	# Stamina 3 with a drop of 8 ends at 0 and reports 8 as the stamina before.
	found = _find_series(1400, 1400, false, func(r): return r["stamina_drop_a"] == 8, 500, 3, 250)
	assert_false(found.is_empty(), "a drop of 8 for team A")
	if not found.is_empty():
		var r: Dictionary = found["report"]
		assert_eq([found["a"].get_stamina(), r["stamina_after_a"], r["stamina_before_a"]], [0, 0, 8],
				"stamina 3 minus 8")
		assert_eq([found["b"].get_stamina(), r["stamina_after_b"], r["stamina_before_b"]], [100, 100, 100],
				"stamina 250 is clamped to 100")


func test_stamina_before_is_after_plus_drop_clamped() -> void:
	var staminas := [[100, 100], [50, 7], [0, 12], [-40, 3], [INT32_MIN, INT32_MAX], [101, 99]]
	for i in staminas.size():
		for bo5 in [false, true]:
			var a := _team("a", 1500, staminas[i][0])
			var b := _team("b", 1500, staminas[i][1])
			var r: Dictionary = _seeded(31 + i).simulate_match(a, b, bo5)
			var where := "staminas %s bo5=%s" % [staminas[i], bo5]
			var lo := 10 if bo5 else 5
			var hi := 20 if bo5 else 10
			for side in ["a", "b"]:
				var drop: int = r["stamina_drop_" + side]
				var after: int = r["stamina_after_" + side]
				var start: int = staminas[i][0 if side == "a" else 1]
				assert_true(drop >= lo and drop <= hi, where + ": drop %s in range, got %d" % [side, drop])
				assert_eq(after, clampi(start - drop, 0, 100), where + ": after " + side)
				assert_eq(r["stamina_before_" + side], clampi(after + drop, 0, 100), where + ": before " + side)
			assert_eq([a.get_stamina(), b.get_stamina()], [r["stamina_after_a"], r["stamina_after_b"]], where + ": teams")


func test_report_layout() -> void:
	var a := _team("t-1", 1600, 80)
	var b := _team("t-2", 1300, 70)
	a.set_wins(4)
	b.set_losses(6)
	var r: Dictionary = _seeded(5).simulate_match(a, b)
	assert_keys(r, REPORT_KEYS, "match report keys")
	for m in r["map_reports"]:
		assert_keys(m, MAP_KEYS, "map report keys")
	assert_eq([r["team_a_id"], r["team_a_name"], r["team_b_id"], r["team_b_name"]],
			["t-1", "Team t-1", "t-2", "Team t-2"], "team identity")
	assert_eq(typeof(r["is_bo5"]), TYPE_BOOL, "is_bo5 is a bool")
	assert_eq(r["is_bo5"], false, "best of three by default")
	assert_eq(typeof(r["probability_a"]), TYPE_FLOAT, "probability is a float")
	assert_true(maxi(r["score_a"], r["score_b"]) == 2 and mini(r["score_a"], r["score_b"]) <= 1, "bo3 score")
	var a_won: bool = r["score_a"] > r["score_b"]
	var winner := a if a_won else b
	var loser := b if a_won else a
	assert_eq([r["winner_id"], r["winner_name"], r["loser_id"], r["loser_name"]],
			[winner.get_id(), winner.get_name(), loser.get_id(), loser.get_name()], "winner and loser")
	assert_eq([a.get_wins(), a.get_losses(), b.get_wins(), b.get_losses()],
			[5, 0, 0, 7] if a_won else [4, 1, 1, 6], "records")
	assert_eq([a.get_vrs(), b.get_vrs()], [r["vrs_after_a"], r["vrs_after_b"]], "ratings written")


func test_probability_fields() -> void:
	var r: Dictionary = _seeded(1).simulate_match(_team("a", 1000), _team("b", 1800))
	assert_eq(r["probability_a"], 1000.0 / 2800.0, "p from the ratings")
	assert_eq(r["probability_b"], 1.0 - 1000.0 / 2800.0, "1 - p")
	for ratings in [[0, 0], [-300, 200], [INT32_MIN, 5]]:
		r = _seeded(1).simulate_match(_team("a", ratings[0]), _team("b", ratings[1]))
		assert_eq([r["probability_a"], r["probability_b"]], [0.5, 0.5], "ratings %s give even odds" % [ratings])


func _on_match_simulated_read_teams(report: Dictionary, a: TeamData, b: TeamData, seen: Array) -> void:
	seen.append([report.duplicate(true), a.get_vrs(), b.get_vrs(), a.get_wins() + a.get_losses(),
			b.get_wins() + b.get_losses(), a.get_stamina(), b.get_stamina()])


func test_signal_follows_the_team_updates() -> void:
	var sim := _seeded(12)
	var a := _team("a", 1450, 90)
	var b := _team("b", 1380, 95)
	var seen := []
	sim.match_simulated.connect(_on_match_simulated_read_teams.bind(a, b, seen))
	var emissions := watch_signals(sim, ["match_simulated"])
	var r: Dictionary = sim.simulate_match(a, b)
	assert_eq(emissions.size(), 1, "one emission per series")
	assert_eq(seen.size(), 1, "the handler ran once")
	if seen.size() == 1:
		assert_eq(seen[0][0], r, "the signal carries the returned report")
		assert_eq(seen[0].slice(1), [r["vrs_after_a"], r["vrs_after_b"], 1, 1, r["stamina_after_a"], r["stamina_after_b"]],
				"teams were updated before the signal")
	sim.simulate_match(a, b, true)
	assert_eq(emissions.size(), 2, "a second series emits again")


func test_null_team_is_refused_without_effect() -> void:
	var sim := _seeded(64)
	var t := _team("a", 1500, 77)
	var emissions := watch_signals(sim, ["match_simulated"])
	for args in [[null, t], [t, null], [null, null]]:
		var r: Dictionary = sim.simulate_match(args[0], args[1], true)
		assert_eq(r, {"error": "ERROR_INVALID_TEAM_DATA"}, "error for %s" % [args])
		assert_keys(r, ["error"], "only the error key")
	assert_eq(emissions.size(), 0, "no signal for a refused series")
	assert_eq([t.get_vrs(), t.get_stamina(), t.get_wins(), t.get_losses()], [1500, 77, 0, 0], "team untouched")
	var stream := Stream.new(hooks, 64)
	var expected := _ref_pick(stream, 7)
	var shifted := Stream.new(hooks, 64)
	shifted.next_u32()
	assert_ne(_ref_pick(shifted, 7), expected, "sanity: one draw more moves the pick")
	assert_eq(sim.pick_maps(7), expected, "no draw was taken")


func test_pick_maps_counts() -> void:
	var sim := _seeded(2026)
	assert_eq(sim.pick_maps(0), [], "zero maps")
	assert_eq(sim.pick_maps(-3), [], "negative count")
	assert_eq(sim.pick_maps(INT32_MIN), [], "most negative count")
	var stream := Stream.new(hooks, 2026)
	assert_eq(sim.pick_maps(9), _ref_pick(stream, 7), "nine asks for all seven, drawn from an untouched engine")
	var all: Array = sim.pick_maps(INT32_MAX)
	var names := []
	for entry in MAP_POOL:
		names.append(entry[0])
	var sorted_all := all.duplicate()
	sorted_all.sort()
	var sorted_names := names.duplicate()
	sorted_names.sort()
	assert_eq(sorted_all, sorted_names, "every map exactly once")
	for count in range(1, 8):
		var s2 := _seeded(300 + count)
		assert_eq(s2.pick_maps(count), _ref_pick(Stream.new(hooks, 300 + count), count), "weighted pick of %d" % count)


func test_seed_round_trip_and_saved_dictionary() -> void:
	var sim := MatchSimulator.new()
	for value in [0, 7, INT32_MAX, 4294967295, 4294967296 + 5, INT64_MAX, -1, -9223372036854775807 - 1]:
		sim.set_seed(value)
		assert_eq(sim.get_seed(), value, "seed %d round trip" % value)
		assert_eq(sim.seed, value, "seed property %d" % value)
		assert_eq(sim.pick_maps(7), _ref_pick(Stream.new(hooks, value & 0xFFFFFFFF), 7),
				"seed %d drives the engine by its low 32 bits" % value)
	sim.set_seed(7)
	var saved: Dictionary = sim.to_dict()
	assert_keys(saved, ["seed", "match_history"], "saved keys")
	assert_eq(saved, {"seed": 7, "match_history": []}, "saved dictionary")
	var restored := MatchSimulator.new()
	restored.from_dict({"seed": 7})
	var direct := _seeded(7)
	assert_eq(restored.get_seed(), 7, "restored seed")
	var a1 := _team("a", 1500)
	var b1 := _team("b", 1500)
	var a2 := _team("a", 1500)
	var b2 := _team("b", 1500)
	assert_eq(restored.simulate_match(a1, b1), direct.simulate_match(a2, b2), "from_dict seed 7 plays like set_seed 7")


func test_missing_or_zero_seed_reseeds() -> void:
	var seeds := {}
	for data in [{}, {"seed": 0}, {"other": 7}]:
		var sim := _seeded(7)
		sim.from_dict(data)
		assert_ne(sim.get_seed(), 0, "%s reseeds" % [data])
		seeds[sim.get_seed()] = true
	var fresh_a := MatchSimulator.new()
	var fresh_b := MatchSimulator.new()
	seeds[fresh_a.get_seed()] = true
	seeds[fresh_b.get_seed()] = true
	assert_eq(seeds.size(), 5, "every reseed gives a new seed")


func test_match_history_stays_empty() -> void:
	var sim := _seeded(3)
	sim.set_match_history([1, {"x": 2}])
	assert_eq(sim.get_match_history(), [], "set_match_history ignores its argument")
	sim.match_history = ["y"]
	assert_eq(sim.match_history, [], "property setter ignores its argument")
	sim.simulate_match(_team("a", 1500), _team("b", 1500))
	sim.simulate_match(_team("a", 1500), _team("b", 1500), true)
	assert_eq(sim.get_match_history(), [], "matches leave no history")
	var h: Array = sim.get_match_history()
	h.append(1)
	assert_eq(sim.get_match_history(), [], "the returned array is not the simulator's")
	sim.clear_match_history()
	assert_eq(sim.to_dict()["match_history"], [], "saved history")


func test_extreme_ratings_stay_sound() -> void:
	var cases := [[INT32_MAX, INT32_MAX], [INT32_MAX, 1], [INT32_MIN, 1000], [INT32_MIN, INT32_MAX],
			[-500, 1000], [-1, -1], [0, 2200]]
	for i in cases.size():
		var va: int = cases[i][0]
		var vb: int = cases[i][1]
		var a := _team("a", va)
		var b := _team("b", vb)
		var r: Dictionary = _seeded(90 + i).simulate_match(a, b, i % 2 == 1)
		var where := "ratings %d v %d" % [va, vb]
		assert_keys(r, REPORT_KEYS, where + ": full report")
		if not r.has("score_a"):
			continue
		var a_won: bool = r["score_a"] > r["score_b"]
		var delta_a := _rating_change(va, vb, 1 if a_won else 0)
		var delta_b := _rating_change(vb, va, 0 if a_won else 1)
		assert_eq([r["vrs_delta_a"], r["vrs_delta_b"]], [delta_a, delta_b], where + ": deltas without overflow")
		assert_eq([a.get_vrs(), b.get_vrs()], [clampi(va + delta_a, 600, 2200), clampi(vb + delta_b, 600, 2200)],
				where + ": clamped ratings")
		for m in r["map_reports"]:
			_check_map_invariants(m, where)
	var r2: Dictionary = _seeded(5).simulate_match(_team("a", INT32_MAX), _team("b", 1))
	assert_almost_eq(r2["probability_a"], 2147483647.0 / 2147483648.0, 1e-12, "the rating sum does not overflow")


func test_records_saturate_at_the_32_bit_limit() -> void:
	var a := _team("a", 1500)
	var b := _team("b", 1500)
	a.set_wins(INT32_MAX)
	a.set_losses(INT32_MAX)
	b.set_wins(INT32_MAX)
	b.set_losses(INT32_MAX)
	_seeded(8).simulate_match(a, b)
	assert_eq([a.get_wins(), a.get_losses(), b.get_wins(), b.get_losses()],
			[INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX], "records never wrap to negative")


func test_same_team_on_both_sides() -> void:
	var t := _team("solo", 1500, 50)
	var r: Dictionary = _seeded(4).simulate_match(t, t)
	assert_keys(r, REPORT_KEYS, "a full report")
	assert_eq([t.get_wins(), t.get_losses()], [1, 1], "one win and one loss")
	assert_true(t.get_vrs() >= 600 and t.get_vrs() <= 2200, "rating in range")
	assert_true(t.get_stamina() >= 0 and t.get_stamina() <= 100, "stamina in range")


func _on_match_simulated_reenter(report: Dictionary) -> void:
	reentrant_log.append(report.duplicate(true))
	if reentrant_log.size() == 1:
		var inner: Dictionary = reentrant_sim.simulate_match(_team("c", 1200), _team("d", 1900), true)
		reentrant_log.append(inner)
		reentrant_sim.set_seed(5)


func test_reentrant_series_from_the_handler() -> void:
	reentrant_sim = _seeded(17)
	reentrant_sim.match_simulated.connect(_on_match_simulated_reenter)
	var a := _team("a", 1500)
	var b := _team("b", 1500)
	var r: Dictionary = reentrant_sim.simulate_match(a, b)
	assert_eq(reentrant_log.size(), 3, "outer emission, inner emission, inner result")
	if reentrant_log.size() == 3:
		assert_eq(r, reentrant_log[0], "outer report intact after a nested series")
		assert_eq(reentrant_log[1], reentrant_log[2], "inner report")
		assert_eq(reentrant_log[2]["team_a_id"], "c", "inner series played the other pair")
	assert_eq([a.get_wins() + b.get_wins(), a.get_losses() + b.get_losses()], [1, 1], "outer records once")
	assert_eq(reentrant_sim.pick_maps(7), _ref_pick(Stream.new(hooks, 5), 7), "the handler's reseed stands")
	reentrant_sim.match_simulated.disconnect(_on_match_simulated_reenter)
