extends TestCase
# TeamDatabase: the default roster, the shared team list, lookups, replace-in-place, the database
# dictionary, the order of its signals, and calls back into the database from its own signals.

const SIGNALS := ["current_date_changed", "team_changed", "teams_rebuilt", "database_reset"]
const FIRST_DAY := "2026-01-01"
const TEAM_KEYS := ["id", "name", "region", "vrs", "stamina", "wins", "losses", "prize_total", "honors",
		"historical_honors"]

var db: TeamDatabase


func before_each() -> void:
	db = autofree(TeamDatabase.new())


func after_each() -> void:
	db = null


static func _team(id: String, team_name := "", vrs := 1000) -> TeamData:
	var t := TeamData.new()
	t.set_id(id)
	t.set_name(team_name)
	t.set_vrs(vrs)
	return t


func _ids() -> Array:
	var ids := []
	for t in db.get_teams():
		ids.append(t.get_id() if t is TeamData else t)
	return ids


func _row(index: int) -> Array:
	var t := db.get_team_at(index)
	if t == null:
		return []
	return [t.get_id(), t.get_name(), t.get_region(), t.get_vrs()]


# Roster


func test_new_database_is_empty_on_the_first_day() -> void:
	assert_eq(db.get_team_count(), 0)
	assert_eq(db.get_current_date(), FIRST_DAY)
	assert_eq(db.to_dict(), {"current_date": FIRST_DAY, "teams": []})


func test_initialize_defaults_loads_the_roster_rows() -> void:
	var log := watch_signals(db, SIGNALS)
	db.initialize_defaults()
	assert_eq(db.get_team_count(), 100)
	assert_eq(db.get_current_date(), FIRST_DAY)
	assert_eq(_row(0), ["t-0", "Vitality", "EU", 2090])
	assert_eq(_row(4), ["t-4", "The MongolZ", "AS", 1858])
	assert_eq(_row(28), ["t-28", "EYEBALLERS", "EU", 1422])
	assert_eq(_row(29), ["t-29", "Ninjas in Pyjamas", "EU", 1422])
	assert_eq(_row(45), ["t-45", "Passion UA", "AM", 1310])
	assert_eq(_row(57), ["t-57", "Betclic", "EU", 1272])
	assert_eq(_row(62), ["t-62", "AM", "EU", 1238])
	assert_eq(_row(64), ["t-64", "Sashi", "EU", 1233])
	assert_eq(_row(65), ["t-65", "Nuclear TigeRES", "EU", 1233])
	assert_eq(_row(99), ["t-99", "5star", "AS", 1070])
	var first := db.get_team_at(0)
	assert_eq([first.get_stamina(), first.get_wins(), first.get_losses(), first.get_prize_total()], [100, 0, 0, 0])
	assert_eq(first.get_honors(), [])
	assert_eq(log, [["current_date_changed", FIRST_DAY], ["teams_rebuilt"], ["database_reset"]])


func test_roster_ids_follow_the_row_numbers() -> void:
	db.initialize_defaults()
	var expected := []
	for i in 100:
		expected.append("t-%d" % i)
	assert_eq(_ids(), expected)
	var betclic := db.get_team_by_id("t-57")
	assert_true(betclic != null and betclic.get_name() == "Betclic", "t-57 is Betclic")


func test_roster_is_sorted_by_rating_with_three_ties_and_its_region_counts() -> void:
	db.initialize_defaults()
	var ties := []
	var regions := {}
	for i in 100:
		var t := db.get_team_at(i)
		regions[t.get_region()] = regions.get(t.get_region(), 0) + 1
		if i > 0:
			var previous := db.get_team_at(i - 1).get_vrs()
			assert_true(previous >= t.get_vrs(), "row %d (%d) after %d" % [i, t.get_vrs(), previous])
			if previous == t.get_vrs():
				ties.append(i - 1)
	assert_eq(ties, [28, 46, 64], "rows opening an equal pair")
	assert_eq(regions, {"EU": 66, "AM": 23, "AS": 11})


func test_roster_records_do_not_share_honors_arrays() -> void:
	db.initialize_defaults()
	db.get_team_at(0).get_honors().append({"title": "Cup"})
	assert_eq(db.get_team_at(1).get_honors(), [], "honours of row 1")
	assert_eq(db.get_team_at(99).get_honors(), [], "honours of row 99")


func test_initialize_defaults_resets_a_changed_database_with_new_records() -> void:
	db.initialize_defaults()
	var stored := db.get_teams()
	var old_first := db.get_team_at(0)
	old_first.set_vrs(5)
	db.add_or_update_team(_team("extra"))
	db.set_current_date("2031-02-03")
	var log := watch_signals(db, SIGNALS)
	db.initialize_defaults()
	assert_eq(db.get_team_count(), 100)
	assert_false(db.has_team("extra"))
	assert_eq(db.get_team_at(0).get_vrs(), 2090)
	assert_false(is_same(db.get_team_at(0), old_first), "row 0 is a new record")
	assert_same(db.get_teams(), stored, "the stored array is refilled in place")
	assert_eq(log, [["current_date_changed", FIRST_DAY], ["teams_rebuilt"], ["database_reset"]])


func test_clear_database_empties_the_list_in_place_and_resets_the_date() -> void:
	db.initialize_defaults()
	db.set_current_date("2027-07-07")
	var stored := db.get_teams()
	var log := watch_signals(db, SIGNALS)
	db.clear_database()
	assert_eq(db.get_team_count(), 0)
	assert_same(db.get_teams(), stored)
	assert_eq(stored, [])
	assert_eq(db.get_current_date(), FIRST_DAY)
	assert_eq(log, [["current_date_changed", FIRST_DAY], ["teams_rebuilt"], ["database_reset"]])


# Date


func test_set_current_date_emits_only_when_the_date_changes() -> void:
	var log := watch_signals(db, SIGNALS)
	db.set_current_date(FIRST_DAY)
	assert_eq(log, [], "the same date")
	db.set_current_date("not a date")
	db.set_current_date("not a date")
	assert_eq(db.get_current_date(), "not a date")
	assert_eq(log, [["current_date_changed", "not a date"]])
	db.set("current_date", "")
	assert_eq(db.get_current_date(), "", "the property goes through the setter, which stores any text")
	assert_eq(signal_names(log), ["current_date_changed", "current_date_changed"])


func test_date_handlers_read_the_new_date_from_the_database() -> void:
	var seen := []
	db.current_date_changed.connect(func(date): seen.append([date, db.get_current_date()]))
	db.set_current_date("2026-05-06")
	db.from_dict({"current_date": "2026-07-08"})
	db.clear_database()
	db.set_current_date("2026-09-10")
	db.initialize_defaults()
	assert_eq(seen, [["2026-05-06", "2026-05-06"], ["2026-07-08", "2026-07-08"], [FIRST_DAY, FIRST_DAY],
			["2026-09-10", "2026-09-10"], [FIRST_DAY, FIRST_DAY]], "the argument and the stored date agree")


# The team list


func test_get_teams_is_the_stored_array() -> void:
	db.initialize_defaults()
	var log := watch_signals(db, SIGNALS)
	var teams := db.get_teams()
	assert_same(teams, db.get_teams())
	teams.append(_team("appended"))
	assert_eq(db.get_team_count(), 101)
	assert_true(db.has_team("appended"))
	teams.reverse()
	assert_eq(db.get_team_at(0).get_id(), "appended")
	assert_eq(log, [], "changing the array directly announces nothing")


func test_set_teams_keeps_the_records_and_skips_everything_else() -> void:
	var a := _team("a")
	var b := _team("b")
	var stored := db.get_teams()
	var log := watch_signals(db, SIGNALS)
	var given := [a, "c", 7, null, b, {"id": "d"}, MatchSimulator.new()]
	db.set_teams(given)
	assert_eq(db.get_team_count(), 2)
	assert_same(db.get_team_at(0), a)
	assert_same(db.get_team_at(1), b)
	assert_eq(log, [["teams_rebuilt"]])
	assert_same(db.get_teams(), stored, "the stored array is refilled, not replaced")
	given.clear()
	assert_eq(db.get_team_count(), 2, "the caller's array is not kept")


func test_set_teams_given_its_own_stored_array_keeps_the_teams() -> void:
	db.initialize_defaults()
	var before := db.get_teams().duplicate()
	db.get_teams().append("junk")
	db.set_teams(db.get_teams())
	assert_eq(db.get_team_count(), 100)
	assert_eq(db.get_teams(), before, "the same records in the same order, without the junk")


func test_teams_property_goes_through_set_teams() -> void:
	var log := watch_signals(db, SIGNALS)
	db.set("teams", [_team("a"), "junk"])
	assert_eq(_ids(), ["a"])
	assert_eq(log, [["teams_rebuilt"]])


func test_team_count_counts_every_element_but_other_reads_skip_non_teams() -> void:
	var a := _team("a")
	db.get_teams().append_array(["a", a, 3])
	assert_eq(db.get_team_count(), 3)
	assert_null(db.get_team_at(0), "a text element")
	assert_same(db.get_team_at(1), a)
	assert_same(db.get_team_by_id("a"), a)
	var saved := db.to_dict()
	assert_eq(saved["teams"].size(), 1, "only the record is saved")


func test_get_team_at_outside_the_list_is_null() -> void:
	db.initialize_defaults()
	for index in [-1, 100, 2147483647, -2147483648]:
		assert_null(db.get_team_at(index), "index %d" % index)
	assert_eq(db.get_team_at(99).get_id(), "t-99")


func test_get_team_by_id_is_exact_and_finds_the_first_match() -> void:
	var first := _team("dup", "first")
	var second := _team("dup", "second")
	db.get_teams().append_array([first, second, _team("")])
	assert_same(db.get_team_by_id("dup"), first)
	assert_null(db.get_team_by_id("DUP"), "ids are case-sensitive")
	assert_null(db.get_team_by_id("dup "), "ids are not trimmed")
	assert_eq(db.get_team_by_id("").get_id(), "", "an empty id is an id like any other")
	assert_true(db.has_team("dup"))
	assert_false(db.has_team("missing"))


# The id index follows ids changed in the middle of a tournament: two teams seated first in round 2 swap
# ids, and each match is still played by the team that now holds the id it was seated with.
func test_matches_are_played_by_the_team_holding_the_id_after_ids_swap() -> void:
	db.initialize_defaults()
	var tm: TournamentManager = autofree(TournamentManager.new())
	tm.set_team_database(db)
	tm.get_match_simulator().set_seed(11)
	tm.create_tournament("EPL", "TIER_OPEN", "2026-01-02", "")
	var round_2 := func() -> Array:
		return tm.get_tournaments()[0].stages[0].nodes.filter(func(n): return n.name == "Round 2")
	if not assert_reached(tm, func(): return tm.get_tournaments()[0].stages[0].current_round == 2, 60, "round 2"):
		return
	var seated: Array = round_2.call().map(func(n): return [n.id, n.team_a.id, n.team_b.id])
	var pending: Array = round_2.call().filter(func(n): return n.status == "PENDING")
	if not assert_true(pending.size() >= 2, "two pending round-2 matches"):
		return
	var first: TeamData = db.get_team_by_id(pending[0].team_a.id)
	var second: TeamData = db.get_team_by_id(pending[1].team_a.id)
	var first_id := first.get_id()
	first.set_id(second.get_id())
	second.set_id(first_id)
	# Who holds an id now, read from the list itself rather than through the index under test.
	var holder := {}
	var rating_before := {}
	for team in db.get_teams():
		holder[team.get_id()] = team
		rating_before[team.get_id()] = team.get_vrs()
	tm.advance_day()
	var pending_ids: Array = pending.map(func(n): return n.id)
	var played: Array = round_2.call().filter(func(n): return n.status == "PLAYED" and n.id in pending_ids)
	assert_eq(round_2.call().map(func(n): return [n.id, n.team_a.id, n.team_b.id]), seated, "every match keeps its seats")
	assert_true(played.any(func(n): return n.id == pending[0].id) and played.any(func(n): return n.id == pending[1].id),
			"both matches of the swapped teams are played that day")
	for node in played:
		for side in [["team_a", "vrs_delta_a"], ["team_b", "vrs_delta_b"]]:
			var entry: Dictionary = node[side[0]]
			var team: TeamData = holder[entry.id]
			assert_eq([entry.name, team.get_vrs()], [team.get_name(), rating_before[entry.id] + node[side[1]]],
					"%s %s: the name and the rating change are those of %s" % [node.id, side[0], entry.id])


# add_or_update_team


func test_add_or_update_team_appends_a_new_id() -> void:
	db.initialize_defaults()
	var log := watch_signals(db, SIGNALS)
	var t := _team("new")
	db.add_or_update_team(t)
	assert_eq(db.get_team_count(), 101)
	assert_same(db.get_team_at(100), t)
	assert_eq(log, [["team_changed", "new"]])


func test_add_or_update_team_replaces_the_record_in_place() -> void:
	db.initialize_defaults()
	var old := db.get_team_at(5)
	var log := watch_signals(db, SIGNALS)
	var replacement := _team("t-5", "Replacement", 1500)
	db.add_or_update_team(replacement)
	assert_eq(db.get_team_count(), 100)
	assert_same(db.get_team_at(5), replacement)
	assert_same(db.get_team_by_id("t-5"), replacement)
	assert_false(db.get_teams().has(old), "the old record left the list")
	assert_eq(log, [["team_changed", "t-5"]])


func test_add_or_update_team_replaces_only_the_first_match_past_non_teams() -> void:
	var first := _team("x", "first")
	var second := _team("x", "second")
	db.get_teams().append_array(["x", first, second])
	var replacement := _team("x", "third")
	db.add_or_update_team(replacement)
	assert_eq(db.get_teams(), ["x", replacement, second])


func test_add_or_update_team_with_a_listed_record_keeps_one_entry() -> void:
	var t := _team("a")
	var log := watch_signals(db, SIGNALS)
	db.add_or_update_team(t)
	db.add_or_update_team(t)
	assert_eq(db.get_teams(), [t])
	assert_eq(log, [["team_changed", "a"], ["team_changed", "a"]])


func test_add_or_update_team_ignores_null_and_other_classes() -> void:
	db.initialize_defaults()
	var before := db.get_teams().duplicate()
	var log := watch_signals(db, SIGNALS)
	db.add_or_update_team(null)
	# Through Variants, as an untyped script would pass them.
	var wrong: Variant = MatchSimulator.new()
	db.add_or_update_team(wrong)
	var node: Variant = autofree(Node.new())
	db.add_or_update_team(node)
	var untyped: Variant = db
	untyped.add_or_update_team(null)
	untyped.add_or_update_team(wrong)
	assert_eq(db.get_teams(), before)
	assert_eq(log, [])


# The database dictionary


func test_to_dict_writes_the_date_and_one_dictionary_per_team() -> void:
	db.initialize_defaults()
	db.set_current_date("2026-05-06")
	db.get_team_at(3).get_honors().append({"title": "Cup"})
	var d := db.to_dict()
	assert_keys(d, ["current_date", "teams"])
	assert_eq(d["current_date"], "2026-05-06")
	assert_eq(d["teams"].size(), 100)
	assert_keys(d["teams"][0], TEAM_KEYS)
	assert_eq(d["teams"][3], db.get_team_at(3).to_dict())
	assert_eq(d["teams"][99]["name"], "5star")
	assert_false(is_same(d["teams"], db.get_teams()), "the saved list is a new array")


func test_round_trip_of_the_default_roster() -> void:
	db.initialize_defaults()
	db.get_team_at(0).set_prize_total(5_000_000_000)
	db.get_team_at(7).get_honors().append({"title": "Cup", "place": 1})
	var saved := db.to_dict()
	var other: TeamDatabase = autofree(TeamDatabase.new())
	other.from_dict(saved)
	assert_eq(other.to_dict(), saved)
	assert_eq(other.get_team_count(), 100)
	assert_false(is_same(other.get_team_at(0), db.get_team_at(0)), "loading builds new records")


func test_from_dict_of_nothing_leaves_an_empty_list_on_the_first_day() -> void:
	db.initialize_defaults()
	db.set_current_date("2029-09-09")
	var stored := db.get_teams()
	var log := watch_signals(db, SIGNALS)
	db.from_dict({})
	assert_eq(db.get_team_count(), 0)
	assert_eq(db.get_current_date(), FIRST_DAY)
	assert_same(db.get_teams(), stored, "emptied in place")
	assert_eq(log, [["current_date_changed", FIRST_DAY], ["teams_rebuilt"]])


func test_from_dict_loads_dictionaries_and_skips_other_elements() -> void:
	var log := watch_signals(db, SIGNALS)
	db.from_dict({"current_date": "2026-03-01", "teams": [
		{"id": "a", "name": "Alpha", "vrs": 1400}, 5, "b", null, [{"id": "c"}], _team("d"), {"id": "e"},
	]})
	assert_eq(_ids(), ["a", "e"])
	assert_eq(db.get_team_at(0).get_name(), "Alpha")
	assert_eq(db.get_team_at(0).get_vrs(), 1400)
	assert_eq(db.get_team_at(1).get_vrs(), 1000, "missing keys take the record defaults")
	assert_eq(log, [["current_date_changed", "2026-03-01"], ["teams_rebuilt"]])


func test_from_dict_keeps_ids_as_saved() -> void:
	db.from_dict({"teams": [{"id": "x"}, {"id": "x"}, {}]})
	assert_eq(_ids(), ["x", "x", ""])


func test_from_dict_with_teams_that_are_no_array_loads_none() -> void:
	for teams in ["t-0", {"id": "a"}, 3, null]:
		db.initialize_defaults()
		db.from_dict({"teams": teams})
		assert_eq(db.get_team_count(), 0, "teams given as %s" % type_string(typeof(teams)))


func test_from_dict_converts_the_date_without_checking_it() -> void:
	var log := watch_signals(db, SIGNALS)
	db.from_dict({"current_date": 20260101})
	assert_eq(db.get_current_date(), "20260101")
	db.from_dict({"current_date": FIRST_DAY})
	db.from_dict({"current_date": FIRST_DAY})
	assert_eq(log, [["current_date_changed", "20260101"], ["teams_rebuilt"],
			["current_date_changed", FIRST_DAY], ["teams_rebuilt"],
			["current_date_changed", FIRST_DAY], ["teams_rebuilt"]], "loading always announces the date")


# Handlers that call back into the database while it emits


func test_handler_clearing_the_database_during_teams_rebuilt() -> void:
	var calls := [0]
	db.teams_rebuilt.connect(func() -> void:
		calls[0] += 1
		if calls[0] == 1:
			db.clear_database())
	db.initialize_defaults()
	assert_eq(db.get_team_count(), 0)
	assert_eq(db.get_current_date(), FIRST_DAY)
	assert_eq(calls[0], 2, "the inner clear announced its own rebuild")


func test_handler_resetting_the_list_during_teams_rebuilt() -> void:
	db.initialize_defaults()
	var expected := db.get_teams().duplicate()
	var calls := [0]
	db.teams_rebuilt.connect(func() -> void:
		calls[0] += 1
		if calls[0] == 1:
			db.set_teams(db.get_teams()))
	db.set_teams(db.get_teams())
	assert_eq(calls[0], 2)
	assert_eq(db.get_teams(), expected)


func test_handler_reloading_the_roster_during_current_date_changed() -> void:
	var calls := [0]
	db.current_date_changed.connect(func(_date: String) -> void:
		calls[0] += 1
		if calls[0] == 1:
			db.initialize_defaults())
	db.from_dict({"current_date": "2026-02-02", "teams": [{"id": "a"}]})
	assert_eq(db.get_team_count(), 100)
	assert_eq(db.get_current_date(), FIRST_DAY)


func test_handler_adding_another_team_during_team_changed() -> void:
	var seen := []
	db.team_changed.connect(func(team_id: String) -> void:
		seen.append(team_id)
		if seen.size() == 1:
			db.add_or_update_team(_team("extra"))
			db.add_or_update_team(_team("first", "replaced")))
	db.add_or_update_team(_team("first"))
	assert_eq(_ids(), ["first", "extra"])
	assert_eq(db.get_team_by_id("first").get_name(), "replaced")
	assert_eq(seen, ["first", "extra", "first"])
