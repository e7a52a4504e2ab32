extends TestCase
# EconomySystem: odds, match heat, staking, settling, the ledger, saving, and money
# amounts at the 64-bit limit.

const INT32_MAX := 2147483647
const INT32_MIN := -2147483648
const INT64_MAX := 9223372036854775807
const START_FUNDS := 10000000
const GUESS_KEYS := ["id", "status", "tour_id", "tour_name", "stage_idx", "match_id", "match_name",
		"match_date", "team_a_id", "team_a_name", "team_b_id", "team_b_name", "pick_team_id", "pick_name",
		"amount", "chosen_odds", "odds_a", "odds_b", "potential_payout", "success", "payout", "settle_date",
		"winner_name"]
const PLACED_ENTRY_KEYS := ["type", "guess_id", "tour_id", "match_id", "delta", "balance_after", "date"]
const SETTLED_ENTRY_KEYS := ["type", "guess_id", "delta", "balance_after", "date", "success"]

var eco: EconomySystem
var fav: TeamData
var dog: TeamData


func before_each() -> void:
	eco = EconomySystem.new()
	# 1500 against 1200 prices the favourite at 1.0 and the underdog at 1.86.
	fav = _team("t-1", "Alpha", 1500)
	dog = _team("t-2", "Beta", 1200)


func after_each() -> void:
	eco = null
	fav = null
	dog = null


func _team(id: String, team_name: String, vrs: int) -> TeamData:
	var t := TeamData.new()
	t.set_id(id)
	t.set_name(team_name)
	t.set_vrs(vrs)
	return t


func _place(pick: String, amount: int) -> Dictionary:
	return _place_on(fav, dog, pick, amount)


func _place_on(team_a: TeamData, team_b: TeamData, pick: String, amount: int) -> Dictionary:
	return eco.place_guess(3, "Cup", 1, "R1-M2", "Alpha vs Beta", "2026-03-04", team_a, team_b, pick, amount)


func _snapshot() -> Array:
	return [eco.get_funds(), eco.get_next_guess_id(), eco.get_guess_history().duplicate(true),
			eco.get_fund_ledger().duplicate(true)]


func test_new_economy_state() -> void:
	assert_eq(eco.get_funds(), START_FUNDS, "starting funds")
	assert_eq(eco.get_next_guess_id(), 1, "starting serial")
	assert_eq([eco.get_guess_history(), eco.get_fund_ledger()], [[], []], "empty history and ledger")
	var saved: Dictionary = eco.to_dict()
	assert_keys(saved, ["funds", "next_guess_id", "guess_history", "fund_ledger"], "saved keys")


func test_odds_from_ratings() -> void:
	var cases := [[1500, 1200, 1.0, 1.86], [1400, 1350, 1.43, 1.56], [1001, 1000, 1.09, 1.79],
			[2000, 1000, 1.0, 2.19], [1200, 1500, 1.86, 1.0], [1000, 1000, 1.5, 1.5],
			# The baseline stops at 1000, so these are priced from 1000 as well.
			[1002, 1001, 1.09, 1.79], [1003, 1001, 1.0, 1.91],
			[INT32_MAX, 1, 1.0, 2.19], [-5, 3000, 2.19, 1.0], [INT32_MIN, INT32_MIN, 1.5, 1.5], [0, 0, 1.5, 1.5]]
	for c in cases:
		var r: Dictionary = eco.calculate_guess_ratios(_team("a", "A", c[0]), _team("b", "B", c[1]))
		assert_eq([r.get("ratio_a"), r.get("ratio_b")], [c[2], c[3]], "odds for %d v %d" % [c[0], c[1]])
	var both_null: Dictionary = eco.calculate_guess_ratios(null, null)
	assert_keys(both_null, ["ratio_a", "ratio_b", "team_a_id", "team_b_id"], "odds keys")
	assert_eq(both_null, {"ratio_a": 1.5, "ratio_b": 1.5, "team_a_id": "", "team_b_id": ""}, "null teams")
	assert_eq(typeof(both_null["ratio_a"]), TYPE_FLOAT, "odds are floats")
	var one_null: Dictionary = eco.calculate_guess_ratios(null, _team("b", "B", 1500))
	assert_eq([one_null["ratio_a"], one_null["team_a_id"], one_null["team_b_id"]], [2.19, "", "b"],
			"a null team counts as 1000")


func _heat(a: TeamData, b: TeamData, prize: int, ranks := {}, mult := 1) -> int:
	return eco.calculate_match_heat(a, b, prize, ranks, mult)


func test_match_heat() -> void:
	var alpha := _team("a", "Alpha", 1500)
	var beta := _team("b", "Beta", 1500)
	var vit := _team("a", "Vitality", 1500)
	var faze := _team("b", "FaZe", 1500)
	assert_eq(_heat(alpha, beta, 1000000), 750, "unranked, not top")
	assert_eq(_heat(vit, faze, 1000000, {"a": 1, "b": 2}), 44415, "ranked 1 and 2, both top teams")
	assert_eq(_heat(vit, faze, 1000000), 7402, "top teams unranked")
	assert_eq(_heat(vit, beta, 1000000), 2356, "one top team")
	assert_eq(_heat(_team("a", "vitality", 1500), beta, 1000000), 750, "top-team names are case-sensitive")
	assert_eq(_heat(alpha, beta, 1000000, {"a": 5, "b": 21}), 1837, "rank 5 counts, rank 21 does not")
	assert_eq(_heat(alpha, beta, 1000000, {"a": 6, "b": 20}), 1875, "ranks 6 and 20 count 2.5 each")
	assert_eq(_heat(alpha, beta, 1000000, {"x": 1}), 750, "ranks of other ids do not count")
	# 5 x 5 x 0.25 = 6.25, whose root 2.5 rounds away from zero (half to even would give 2).
	assert_eq(_heat(_team("a", "A", 5), _team("b", "B", 5), 1000000), 3, "a half rounds up")
	assert_eq(_heat(null, null, 1000000, {"": 1}), 500, "null teams: rating 1000, unranked")


func test_heat_multiplier_and_prize() -> void:
	var alpha := _team("a", "Alpha", 1500)
	var beta := _team("b", "Beta", 1500)
	assert_eq(_heat(alpha, beta, 1000000, {}, 3), 1299, "multiplier 3")
	assert_eq(_heat(alpha, beta, 1000000, {}, 0), 750, "multiplier 0 counts as 1")
	assert_eq(_heat(alpha, beta, 1000000, {}, -7), 750, "negative multiplier counts as 1")
	assert_eq(_heat(alpha, beta, 1000000, {}, INT32_MIN), 750, "most negative multiplier counts as 1")
	assert_eq(_heat(alpha, beta, 1000000, {}, INT32_MAX), 34755713, "largest multiplier")
	assert_eq(_heat(alpha, beta, 0), 0, "no prize, no heat")
	assert_eq(_heat(alpha, beta, -1000000), 750, "a negative prize is squared")


func test_heat_out_of_range_gives_zero() -> void:
	var big_a := _team("a", "Vitality", INT32_MAX)
	var big_b := _team("b", "FaZe", INT32_MAX)
	assert_eq(_heat(big_a, big_b, INT32_MAX, {"a": 1, "b": 1}), 0, "beyond 32 bits")
	var top_a := _team("a", "Vitality", 2200)
	var top_b := _team("b", "FaZe", 2200)
	assert_eq(_heat(top_a, top_b, INT32_MAX, {"a": 1, "b": 2}), 139891380, "largest prize still in range")
	assert_eq(_heat(top_a, top_b, INT32_MAX, {"a": 1, "b": 2}, 1000), 0, "multiplied past 32 bits")
	assert_eq(_heat(_team("a", "Alpha", -1500), _team("b", "Beta", 1500), 1000000), 0, "negative rating")
	assert_eq(_heat(_team("a", "Alpha", INT32_MIN), _team("b", "Beta", INT32_MIN), INT32_MIN), 0,
			"two most negative ratings and prize")


func test_guess_record_and_ledger_entry() -> void:
	eco.set_next_guess_id(17)
	var res := _place("t-2", 1000)
	assert_keys(res, ["ok", "guess", "funds"], "success keys")
	assert_eq([res.get("ok"), res.get("funds")], [true, START_FUNDS - 1000], "stake booked")
	var g: Dictionary = res.get("guess", {})
	assert_keys(g, GUESS_KEYS, "guess keys")
	assert_eq(g, {"id": "3:R1-M2:17", "status": "OPEN", "tour_id": 3, "tour_name": "Cup", "stage_idx": 1,
			"match_id": "R1-M2", "match_name": "Alpha vs Beta", "match_date": "2026-03-04",
			"team_a_id": "t-1", "team_a_name": "Alpha", "team_b_id": "t-2", "team_b_name": "Beta",
			"pick_team_id": "t-2", "pick_name": "Beta", "amount": 1000, "chosen_odds": 1.86, "odds_a": 1.0,
			"odds_b": 1.86, "potential_payout": 1860, "success": null, "payout": 0, "settle_date": "",
			"winner_name": ""}, "guess record")
	assert_eq([typeof(g.get("chosen_odds")), typeof(g.get("odds_a")), typeof(g.get("success"))],
			[TYPE_FLOAT, TYPE_FLOAT, TYPE_NIL], "value types")
	assert_same(g, eco.get_guess_history()[0], "the stored record is handed out")
	assert_eq(eco.get_next_guess_id(), 18, "serial advanced")
	var ledger: Array = eco.get_fund_ledger()
	assert_eq(ledger.size(), 1, "one ledger entry")
	if ledger.size() == 1:
		assert_keys(ledger[0], PLACED_ENTRY_KEYS, "stake entry keys")
		assert_eq(ledger[0], {"type": "GUESS_PLACED", "guess_id": "3:R1-M2:17", "tour_id": 3, "match_id": "R1-M2",
				"delta": -1000, "balance_after": START_FUNDS - 1000, "date": "2026-03-04"}, "stake entry")


func test_pick_of_team_a_takes_its_odds() -> void:
	var g: Dictionary = _place("t-1", 1000).get("guess", {})
	assert_eq([g.get("pick_name"), g.get("chosen_odds"), g.get("potential_payout")], ["Alpha", 1.0, 1000], "favourite")
	var even: Dictionary = _place_on(_team("x", "X", 1300), _team("y", "Y", 1300), "x", 3).get("guess", {})
	assert_eq([even.get("chosen_odds"), even.get("potential_payout")], [1.5, 5], "3 at 1.5 rounds half away from zero")


func test_two_guesses_on_one_match() -> void:
	eco.set_next_guess_id(17)
	_place("t-1", 100)
	_place("t-2", 200)
	var history: Array = eco.get_guess_history()
	var ledger: Array = eco.get_fund_ledger()
	assert_eq(history.map(func(g): return g["id"]), ["3:R1-M2:18", "3:R1-M2:17"], "history newest first")
	assert_eq(ledger.map(func(e): return e["guess_id"]), ["3:R1-M2:17", "3:R1-M2:18"], "ledger oldest first")
	assert_eq(ledger.map(func(e): return e["balance_after"]), [START_FUNDS - 100, START_FUNDS - 300], "running balance")
	assert_eq(eco.get_funds(), START_FUNDS - 300, "both stakes deducted")


func test_stake_limits() -> void:
	eco.set_funds(5000)
	var res := _place("t-1", 5001)
	assert_eq(res, {"ok": false, "error": "ERROR_INSUFFICIENT_FUNDS"}, "one unit too many")
	assert_keys(res, ["ok", "error"], "failure keys")
	assert_eq([eco.get_funds(), eco.get_next_guess_id()], [5000, 1], "nothing booked")
	res = _place("t-1", 5000)
	assert_eq([res.get("ok"), res.get("funds"), eco.get_funds()], [true, 0, 0], "the whole balance")
	res = _place("t-2", 0)
	assert_eq(res.get("ok"), true, "a zero stake is accepted even with no funds")
	var g: Dictionary = res.get("guess", {})
	assert_eq([g.get("status"), g.get("amount"), g.get("potential_payout")], ["OPEN", 0, 0], "zero stake guess")
	assert_eq(eco.get_fund_ledger()[-1]["delta"], 0, "zero stake entry")


func test_failures_change_nothing_and_come_in_order() -> void:
	_place("t-1", 10)
	eco.set_funds(-100)
	var before := _snapshot()
	var cases := [
		[null, dog, "nobody", -5, "ERROR_INVALID_TEAM_DATA"],
		[fav, null, "t-1", 1, "ERROR_INVALID_TEAM_DATA"],
		[fav, dog, "nobody", -5, "ERROR_INVALID_PICK_TEAM"],
		[fav, dog, "", 1, "ERROR_INVALID_PICK_TEAM"],
		[fav, dog, "t-2", -50, "ERROR_GUESS_AMOUNT_NEGATIVE"],
		[fav, dog, "t-2", 1, "ERROR_INSUFFICIENT_FUNDS"],
	]
	for c in cases:
		var res := _place_on(c[0], c[1], c[2], c[3])
		assert_eq(res, {"ok": false, "error": c[4]}, "failure for %s" % [c.slice(2)])
		assert_eq(_snapshot(), before, "state after %s" % c[4])
	var missing: Dictionary = eco.settle_prediction("3:R1-M2:99", "t-1", "Alpha", "2026-03-05")
	assert_eq(missing, {"ok": false, "error": "ERROR_GUESS_NOT_FOUND"}, "unknown guess id")
	assert_eq(_snapshot(), before, "state after an unknown guess")


func test_correct_pick_pays_stake_times_odds() -> void:
	var id: String = _place("t-2", 1000)["guess"]["id"]
	var res: Dictionary = eco.settle_prediction(id, "t-2", "Beta", "2026-03-05")
	assert_keys(res, ["ok", "guess", "funds"], "settle keys")
	assert_eq([res.get("ok"), res.get("funds"), eco.get_funds()], [true, START_FUNDS + 860, START_FUNDS + 860],
			"paid 1860")
	var g: Dictionary = res.get("guess", {})
	assert_keys(g, GUESS_KEYS + ["winner_team_id"], "settled guess keys")
	assert_eq([g.get("status"), g.get("success"), g.get("payout"), g.get("settle_date"), g.get("winner_name"),
			g.get("winner_team_id")], ["SETTLED", true, 1860, "2026-03-05", "Beta", "t-2"], "settled fields")
	assert_eq(eco.get_guess_history()[0], g, "the history holds the settled record")
	var entry: Dictionary = eco.get_fund_ledger()[-1]
	assert_keys(entry, SETTLED_ENTRY_KEYS, "settlement entry keys")
	assert_eq(entry, {"type": "GUESS_SETTLED", "guess_id": id, "delta": 1860, "balance_after": START_FUNDS + 860,
			"date": "2026-03-05", "success": true}, "settlement entry")


func test_settling_twice_pays_once() -> void:
	var id: String = _place("t-2", 1000)["guess"]["id"]
	var first: Dictionary = eco.settle_prediction(id, "t-2", "Beta", "2026-03-05")
	var after_first := _snapshot()
	var second: Dictionary = eco.settle_prediction(id, "t-1", "Alpha", "2026-03-06")
	assert_keys(second, ["ok", "error", "guess"], "already-settled keys")
	assert_eq([second.get("ok"), second.get("error")], [false, "ERROR_GUESS_ALREADY_SETTLED"], "second settlement")
	assert_eq(second.get("guess"), first.get("guess"), "the settled record comes back unchanged")
	assert_eq(_snapshot(), after_first, "funds, history and ledger change once")


func test_winner_matching_neither_team_loses() -> void:
	var id: String = _place("t-1", 1000)["guess"]["id"]
	var res: Dictionary = eco.settle_prediction(id, "t-99", "Gamma", "2026-03-05")
	assert_eq([res.get("ok"), res.get("funds")], [true, START_FUNDS - 1000], "settled as lost")
	assert_eq([res["guess"]["success"], res["guess"]["payout"]], [false, 0], "no payout")
	var entry: Dictionary = eco.get_fund_ledger()[-1]
	assert_eq([entry["delta"], entry["success"], entry["balance_after"]], [0, false, START_FUNDS - 1000], "lost entry")


func test_settle_reads_script_made_history() -> void:
	var target := {"id": "g1", "status": "WEIRD", "pick_team_id": "t-1", "amount": 200, "chosen_odds": 1.5}
	eco.set_guess_history([5, "g1", null, [], {"status": "OPEN"}, target, {"id": "g1", "amount": 999999}])
	var res: Dictionary = eco.settle_prediction("g1", "t-1", "Alpha", "d")
	assert_eq([res.get("ok"), res.get("funds")], [true, START_FUNDS + 300], "first dictionary with the id, any status")
	assert_eq(eco.get_guess_history()[5].get("status"), "SETTLED", "settled in place")
	eco.set_guess_history([{"id": "bare"}])
	res = eco.settle_prediction("bare", "", "", "d")
	assert_eq([res.get("ok"), res["guess"].get("success"), res["guess"].get("payout")], [true, true, 0],
			"missing fields take their defaults")


func test_locked_records_never_lose_a_stake_or_pay_twice() -> void:
	# A read-only or wrongly typed history cannot take the new record; the library books into a plain
	# copy instead of taking the stake without its guess.
	var numbers: Array[int] = [1, 2]
	eco.set_guess_history(numbers)
	var locked_ledger := []
	locked_ledger.make_read_only()
	eco.set_fund_ledger(locked_ledger)
	var placed := _place("t-2", 1000)
	var history: Array = eco.get_guess_history()
	assert_eq([placed.get("ok"), history.size(), history[0]], [true, 3, placed.get("guess")], "guess stored")
	assert_eq(eco.get_fund_ledger().size(), 1, "ledger entry stored")
	assert_eq(numbers, [1, 2], "the script's typed array is left alone")
	# A read-only record would stay open after paying; it is replaced by a settled copy.
	var id: String = placed["guess"]["id"]
	history[0].make_read_only()
	assert_true(eco.settle_prediction(id, "t-2", "Beta", "d").get("ok"), "first settlement")
	var funds_after := eco.get_funds()
	assert_eq(eco.settle_prediction(id, "t-2", "Beta", "d").get("error"), "ERROR_GUESS_ALREADY_SETTLED")
	assert_eq(eco.get_funds(), funds_after, "paid once")


func test_a_typed_guess_record_is_settled_in_a_plain_copy() -> void:
	# The engine trusts what a typed dictionary holds: a number stored behind its checks crashes the
	# engine when a script reads it back as a String.
	var g: Dictionary[String, String] = {"id": "x", "pick_team_id": "t-0", "amount": "500", "chosen_odds": "2.0"}
	eco.set_guess_history([g])
	var res: Dictionary = eco.settle_prediction("x", "t-0", "W", "d")
	assert_eq([res.get("ok"), res.get("funds")], [true, START_FUNDS + 1000], "paid from the record's texts")
	var stored: Dictionary = eco.get_guess_history()[0]
	assert_false(stored.is_typed(), "the history holds a plain record")
	assert_eq([stored.get("status"), stored.get("success"), stored.get("payout")], ["SETTLED", true, 1000])
	assert_same(res.get("guess"), stored, "the result carries the stored record")
	assert_false(g.has("payout"), "the script's typed record is left as it was")
	var lengths := 0
	for key in g:
		var text: String = g[key]
		lengths += text.length()
	assert_eq(lengths, 10, "the typed record still reads back as texts")
	assert_eq(eco.settle_prediction("x", "t-0", "W", "d").get("error"), "ERROR_GUESS_ALREADY_SETTLED")


func test_a_history_typed_for_dictionaries_stays_shared() -> void:
	var history: Array[Dictionary] = []
	eco.set_guess_history(history)
	var id: String = _place("t-2", 100)["guess"]["id"]
	assert_same(eco.get_guess_history(), history, "still the script's array")
	assert_true(eco.settle_prediction(id, "t-2", "Beta", "d").get("ok"), "settled")
	assert_eq([history.size(), history[0].get("status"), history[0].get("payout")], [1, "SETTLED", 186],
			"placed and settled in the script's typed array")


func test_a_save_shares_nothing_with_the_live_arrays() -> void:
	_place("t-1", 10)
	var saved: Dictionary = eco.to_dict()
	assert_keys(saved, ["funds", "next_guess_id", "guess_history", "fund_ledger"], "saved keys")
	assert_eq([saved["funds"], saved["next_guess_id"]], [START_FUNDS - 10, 2], "saved numbers")
	var text := var_to_str(saved)
	var id: String = eco.get_guess_history()[0]["id"]
	assert_true(eco.settle_prediction(id, "t-1", "Alpha", "d").get("ok"), "settled in place")
	_place("t-2", 10)
	assert_eq(var_to_str(saved), text, "the save stays as it was taken")
	var history := []
	var ledger := []
	eco.set_guess_history(history)
	eco.set_fund_ledger(ledger)
	_place("t-2", 10)
	assert_eq([history.size(), ledger.size()], [1, 1], "new entries land in the given arrays")
	assert_same(eco.guess_history, history, "guess_history property")
	assert_same(eco.fund_ledger, ledger, "fund_ledger property")
	var other := EconomySystem.new()
	other.from_dict(saved)
	assert_eq([other.get_funds(), other.get_next_guess_id()], [START_FUNDS - 10, 2], "restored numbers")
	other.place_guess(3, "Cup", 1, "R1-M3", "Alpha vs Beta", "2026-03-04", fav, dog, "t-1", 5)
	assert_eq(var_to_str(saved), text, "playing on after loading leaves the loaded save alone")


func test_from_dict_defaults_and_conversions() -> void:
	_place("t-1", 10)
	var old_history: Array = eco.get_guess_history()
	eco.from_dict({})
	assert_eq([eco.get_funds(), eco.get_next_guess_id(), eco.get_guess_history(), eco.get_fund_ledger()],
			[START_FUNDS, 1, [], []], "empty dictionary gives a new economy")
	assert_eq(old_history.size(), 1, "the old history array is left alone")
	eco.from_dict({"funds": 1234, "next_guess_id": 0, "guess_history": "x", "fund_ledger": {"a": 1}})
	assert_eq([eco.get_funds(), eco.get_next_guess_id(), eco.get_guess_history(), eco.get_fund_ledger()],
			[1234, 1, [], []], "arrays of the wrong type become empty")
	eco.from_dict({"funds": 77.9, "next_guess_id": -40})
	assert_true(eco.get_funds() in [77, START_FUNDS], "float funds convert or default, got %d" % eco.get_funds())
	assert_eq(eco.get_next_guess_id(), 1, "serial at least 1")
	eco.from_dict({"funds": [1], "next_guess_id": {}, "guess_history": null, "fund_ledger": 3})
	assert_eq([eco.get_next_guess_id(), eco.get_guess_history(), eco.get_fund_ledger()], [1, [], []],
			"unconvertible values")
	eco.from_dict({"funds": -5, "next_guess_id": 9})
	assert_eq([eco.get_funds(), eco.get_next_guess_id()], [-5, 9], "negative funds kept")


func test_next_guess_id_floor() -> void:
	for value in [0, -1, -9223372036854775807 - 1]:
		eco.set_next_guess_id(value)
		assert_eq(eco.get_next_guess_id(), 1, "set_next_guess_id(%d)" % value)
	eco.next_guess_id = 5
	assert_eq(eco.get_next_guess_id(), 5, "property")
	eco.funds = -3
	assert_eq(eco.get_funds(), -3, "funds stored as given")


func test_serial_at_the_limit_does_not_wrap() -> void:
	eco.set_next_guess_id(INT64_MAX)
	var res := _place("t-1", 1)
	assert_eq(res.get("ok"), true, "placed at the last serial")
	assert_eq(res["guess"]["id"] if res.get("ok") else "", "3:R1-M2:9223372036854775807", "id at the last serial")
	assert_true(eco.get_next_guess_id() >= 1, "serial never drops below 1, got %d" % eco.get_next_guess_id())


func test_payouts_saturate_at_the_64_bit_limit() -> void:
	# The whole maximal balance on the favourite at 1.0: the payout is the stake itself.
	eco.set_funds(INT64_MAX)
	var res := _place("t-1", INT64_MAX)
	assert_eq(res.get("ok"), true, "maximal stake accepted")
	var g: Dictionary = res.get("guess", {})
	assert_eq(g.get("potential_payout"), INT64_MAX, "payout of the maximal stake at 1.0")
	assert_eq(eco.get_funds(), 0, "balance after the maximal stake")
	res = eco.settle_prediction(g.get("id", ""), "t-1", "Alpha", "d")
	assert_eq([res.get("funds"), res["guess"].get("payout")], [INT64_MAX, INT64_MAX], "maximal payout")

	# 2^62 on the 2.19 underdog: 1.01e19 does not fit and saturates, and so does the balance.
	eco.set_funds(INT64_MAX)
	res = eco.place_guess(1, "Cup", 0, "M", "m", "d", _team("s", "S", 2000), _team("w", "W", 1000), "w", 1 << 62)
	g = res.get("guess", {})
	assert_eq([g.get("chosen_odds"), g.get("potential_payout")], [2.19, INT64_MAX], "saturated potential payout")
	res = eco.settle_prediction(g.get("id", ""), "w", "W", "d")
	assert_eq([res.get("funds"), eco.get_funds()], [INT64_MAX, INT64_MAX], "balance saturates instead of wrapping")
	var entry: Dictionary = eco.get_fund_ledger()[-1]
	assert_eq([entry.get("delta"), entry.get("balance_after")], [INT64_MAX, INT64_MAX], "saturated ledger entry")


func test_script_made_odds_cannot_corrupt_funds() -> void:
	for odds in [INF, NAN, 1e300]:
		eco.set_funds(1000)
		eco.set_guess_history([{"id": "g", "pick_team_id": "t-1", "amount": INT64_MAX, "chosen_odds": odds}])
		var res: Dictionary = eco.settle_prediction("g", "t-1", "Alpha", "d")
		var payout: int = res["guess"].get("payout", -1) if res.get("ok") else -1
		assert_true(payout >= 0, "odds %s: payout is not negative, got %d" % [odds, payout])
		assert_true(eco.get_funds() >= 1000, "odds %s: funds do not fall on a win, got %d" % [odds, eco.get_funds()])
