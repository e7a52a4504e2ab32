extends TestCase
# Every value that crosses into the library is converted by the binding layer; a conversion that
# loses its target's old storage leaks on every call. Each case repeats one kind of crossing many
# times and checks that the engine's static memory stays flat. A leak of a single engine Array per
# call (its private block) would grow it by over a megabyte here.

const REPEATS := 20000
# Room for the engine's own caches and allocator slack, far below one block per call.
const ALLOWED_GROWTH := 64 * 1024


# Runs `step` once to warm caches up, then REPEATS times; returns the growth of static memory.
func _growth(step: Callable, repeats := REPEATS) -> int:
	step.call(0)
	var before := OS.get_static_memory_usage()
	for i in repeats:
		step.call(i)
	return OS.get_static_memory_usage() - before


func _assert_flat(step: Callable, what: String, repeats := REPEATS) -> void:
	var growth := _growth(step, repeats)
	assert_true(growth <= ALLOWED_GROWTH, "%s: static memory grew by %d bytes over %d calls" % [what, growth, repeats])


func test_from_dict_of_every_class_leaves_no_memory_behind() -> void:
	var team := TeamData.new()
	var saved_team := {"id": "t-1", "name": "Alpha", "region": "EU", "vrs": 1500, "stamina": 80,
			"wins": 3, "losses": 2, "prize_total": 5000, "honors": [{"title": "Cup"}]}
	_assert_flat(func(_i): team.from_dict(saved_team), "TeamData.from_dict")
	_assert_flat(func(_i): team.from_dict({"historical_honors": []}), "TeamData.from_dict with historical honours")

	var database: TeamDatabase = autofree(TeamDatabase.new())
	var saved_database := {"current_date": "2026-02-03", "teams": [saved_team, {"id": "t-2"}, 7]}
	_assert_flat(func(_i): database.from_dict(saved_database), "TeamDatabase.from_dict", REPEATS / 4)

	var simulator := MatchSimulator.new()
	_assert_flat(func(i): simulator.from_dict({"seed": i + 1, "match_history": [1]}), "MatchSimulator.from_dict")

	var economy := EconomySystem.new()
	var saved_economy := {"funds": 100, "next_guess_id": 4, "guess_history": [{"id": "g"}], "fund_ledger": []}
	_assert_flat(func(_i): economy.from_dict(saved_economy), "EconomySystem.from_dict")

	var settings: GameSettings = autofree(GameSettings.new())
	_assert_flat(func(i): settings.from_dict({"current_locale": "de" if i % 2 else "fr"}), "GameSettings.from_dict")


func test_container_and_text_arguments_through_callv_leave_no_memory_behind() -> void:
	# callv takes the Variant call path: every argument is converted by the binding layer.
	var team := TeamData.new()
	_assert_flat(func(_i): team.callv("from_dict", [{"honors": []}]), "Dictionary argument")
	_assert_flat(func(_i): team.callv("set_honors", [[{"title": "Cup"}]]), "Array argument")
	_assert_flat(func(_i): team.callv("set_name", [&"Alpha"]), "StringName converted to String")
	_assert_flat(func(i): team.callv("set_vrs", [float(i)]), "float converted to int")

	var economy := EconomySystem.new()
	_assert_flat(func(_i): economy.callv("from_dict", [{}]), "empty Dictionary argument")
	_assert_flat(func(_i): economy.callv("set_guess_history", [[]]), "empty Array argument")
	var a := TeamData.new()
	var b := TeamData.new()
	_assert_flat(func(_i): economy.callv("calculate_match_heat", [a, b, 1000, {"": 1}]), "references and a rank map")

	var database: TeamDatabase = autofree(TeamDatabase.new())
	_assert_flat(func(_i): database.callv("set_teams", [[a, b, "x"]]), "team list argument")


func test_reports_and_signals_leave_no_memory_behind() -> void:
	var simulator := MatchSimulator.new()
	simulator.set_seed(11)
	var a := TeamData.new()
	var b := TeamData.new()
	var received := []
	simulator.match_simulated.connect(func(report): received.append(report.size()))
	_assert_flat(func(i):
		a.vrs = 1500
		b.vrs = 1400
		simulator.simulate_match(a, b, i % 2 == 0)
		received.clear(), "simulate_match with a connected handler", REPEATS / 4)
