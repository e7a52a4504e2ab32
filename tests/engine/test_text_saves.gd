extends TestCase
# Saves that went through JSON: every number comes back as a float. Integers read from such floats hold
# at the limits of their field instead of wrapping, and every value in range reads exactly as the engine
# converts it.

const INT32_MAX := 2147483647
const INT32_MIN := -2147483648
const INT64_MAX := 9223372036854775807
const INT64_MIN := -9223372036854775808


func _through_json(data: Dictionary) -> Dictionary:
	return JSON.parse_string(JSON.stringify(data))


func test_team_fields_hold_at_their_limits() -> void:
	var team := TeamData.new()
	team.vrs = INT32_MAX
	team.stamina = INT32_MIN
	team.wins = INT32_MAX
	team.losses = 0
	team.prize_total = INT64_MAX
	var loaded := TeamData.new()
	loaded.from_dict(_through_json(team.to_dict()))
	assert_eq([loaded.vrs, loaded.stamina, loaded.wins, loaded.losses, loaded.prize_total],
			[INT32_MAX, INT32_MIN, INT32_MAX, 0, INT64_MAX], "int32 limits exact, int64 maximum held")
	team.prize_total = INT64_MIN
	loaded.from_dict(_through_json(team.to_dict()))
	assert_eq(loaded.prize_total, INT64_MIN, "int64 minimum is exact in a float")
	loaded.from_dict({"vrs": 3.0e9, "stamina": -3.0e9, "wins": INF, "losses": NAN, "prize_total": -1.0e30})
	assert_eq([loaded.vrs, loaded.stamina, loaded.wins, loaded.losses, loaded.prize_total],
			[INT32_MAX, INT32_MIN, INT32_MAX, 0, INT64_MIN], "beyond the range of each field")
	loaded.from_dict({"vrs": 1500.9, "stamina": -7.9, "wins": 2147483647.5, "losses": -2147483648.9,
			"prize_total": 9007199254740994.0})
	assert_eq([loaded.vrs, loaded.stamina, loaded.wins, loaded.losses, loaded.prize_total],
			[1500, -7, INT32_MAX, INT32_MIN, 9007199254740994], "in range: truncated as the engine does")


func test_database_teams_keep_their_prize_money() -> void:
	var database: TeamDatabase = autofree(TeamDatabase.new())
	database.initialize_defaults()
	database.get_team_at(0).prize_total = INT64_MAX
	database.get_team_at(1).prize_total = 123456789012
	var loaded: TeamDatabase = autofree(TeamDatabase.new())
	loaded.from_dict(_through_json(database.to_dict()))
	assert_eq([loaded.get_team_count(), loaded.get_team_at(0).prize_total, loaded.get_team_at(1).prize_total,
			loaded.get_team_at(2).vrs], [100, INT64_MAX, 123456789012, 1882], "prize money and ratings")


func test_economy_keeps_funds_and_guess_ids_at_the_limit() -> void:
	var economy := EconomySystem.new()
	economy.set_funds(INT64_MAX)
	economy.set_next_guess_id(INT64_MAX)
	var loaded := EconomySystem.new()
	loaded.from_dict(_through_json(economy.to_dict()))
	assert_eq([loaded.get_funds(), loaded.get_next_guess_id()], [INT64_MAX, INT64_MAX],
			"funds keep their sign, guess ids do not restart at 1")
	economy.set_funds(INT64_MIN)
	loaded.from_dict(_through_json(economy.to_dict()))
	assert_eq(loaded.get_funds(), INT64_MIN, "debt at the limit")


func test_a_guess_from_a_text_save_settles_with_its_stake() -> void:
	var economy := EconomySystem.new()
	var a := TeamData.new()
	a.id = "a"
	var b := TeamData.new()
	b.id = "b"
	var id: String = economy.place_guess(1, "Cup", 0, "M", "a v b", "d", a, b, "a", 1000)["guess"]["id"]
	var loaded := EconomySystem.new()
	loaded.from_dict(_through_json(economy.to_dict()))
	var settled: Dictionary = loaded.settle_prediction(id, "a", "A", "d2")
	assert_eq([settled.get("ok"), settled["guess"].get("payout"), loaded.get_funds()],
			[true, 1500, 10000000 - 1000 + 1500], "stake and odds read from floats")


func test_simulator_seed_keeps_its_sign() -> void:
	var simulator := MatchSimulator.new()
	simulator.set_seed(INT64_MAX)
	var loaded := MatchSimulator.new()
	loaded.from_dict(_through_json(simulator.to_dict()))
	assert_eq(loaded.get_seed(), INT64_MAX, "largest seed")
	simulator.set_seed(-12345)
	loaded.from_dict(_through_json(simulator.to_dict()))
	assert_eq(loaded.get_seed(), -12345, "negative seed")
	loaded.from_dict({"seed": 7.0})
	var direct := MatchSimulator.new()
	direct.set_seed(7)
	assert_eq(loaded.pick_maps(7), direct.pick_maps(7), "a float seed gives the same stream")
