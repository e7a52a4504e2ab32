extends TestCase
# The binding layer's own promises, through a test-only probe: member-function callables connect and
# compare by target, die with their object, and drive Array.sort_custom; references taken in C++ keep
# and release engine objects correctly.

var database: TeamDatabase


func before_each() -> void:
	database = autofree(TeamDatabase.new())


func after_each() -> void:
	database = null


func test_connected_member_callable_receives_the_signal_argument() -> void:
	var probe := TeamforgeBindingProbe.new()
	assert_eq(probe.watch(database, "current_date_changed"), OK)
	database.set_current_date("2026-03-04")
	assert_eq(probe.get_received(), ["2026-03-04"])


func test_equal_callables_find_the_connection_and_disconnect_it() -> void:
	var probe := TeamforgeBindingProbe.new()
	var other := TeamforgeBindingProbe.new()
	assert_false(probe.is_watching(database, "current_date_changed"))
	probe.watch(database, "current_date_changed")
	assert_true(probe.is_watching(database, "current_date_changed"), "a fresh callable equals the connected one")
	assert_false(other.is_watching(database, "current_date_changed"), "another object's callable differs")
	probe.unwatch(database, "current_date_changed")
	assert_false(probe.is_watching(database, "current_date_changed"))
	database.set_current_date("2026-05-06")
	assert_eq(probe.get_received(), [], "nothing arrives after disconnecting")


func test_connection_ends_when_the_target_is_freed() -> void:
	var probe := TeamforgeBindingProbe.new()
	probe.watch(database, "current_date_changed")
	probe = null  # the last reference: the probe is freed
	database.set_current_date("2026-07-08")
	assert_eq(database.get_signal_connection_list("current_date_changed").size(), 0)


func test_sort_custom_calls_a_member_callable() -> void:
	database.initialize_defaults()
	var teams: Array = database.get_teams().duplicate()
	teams.reverse()
	var probe := TeamforgeBindingProbe.new()
	var sorted: Array = probe.sort_by_vrs(teams)
	assert_eq(sorted.size(), 100)
	for i in range(1, sorted.size()):
		if not assert_true(sorted[i - 1].vrs >= sorted[i].vrs, "order at %d" % i):
			return
	assert_eq(teams[0].name, "5star", "the input array is left as it was")


func test_records_created_in_the_library_live_exactly_as_long_as_a_reference() -> void:
	database.initialize_defaults()
	var team: TeamData = database.get_team_at(3)
	var held: WeakRef = weakref(team)
	assert_eq(team.get_reference_count(), 2, "the list and this variable")
	database.clear_database()
	assert_eq(team.get_reference_count(), 1)
	team = null
	assert_null(held.get_ref(), "freed with its last reference")


func test_a_script_record_handed_to_the_library_is_shared_not_copied() -> void:
	var team := TeamData.new()
	team.id = "x"
	database.add_or_update_team(team)
	assert_same(database.get_team_by_id("x"), team)
	assert_eq(team.get_reference_count(), 2)
	database.from_dict({})
	assert_eq(team.get_reference_count(), 1, "released when the list is rebuilt")


func test_default_arguments_fill_a_short_call() -> void:
	var simulator := MatchSimulator.new()
	var a := TeamData.new()
	var b := TeamData.new()
	var report: Dictionary = simulator.callv("simulate_match", [a, b])
	assert_eq(report.get("is_bo5"), false)
	var economy := EconomySystem.new()
	var short: int = economy.callv("calculate_match_heat", [a, b, 1000000, {}])
	assert_eq(short, economy.calculate_match_heat(a, b, 1000000, {}, 1))


func test_nodes_made_with_memnew_are_freed_with_memdelete() -> void:
	var probe := TeamforgeBindingProbe.new()
	var before := Performance.get_monitor(Performance.OBJECT_NODE_COUNT)
	assert_eq(probe.roster_size_of_a_native_database(), 100)
	assert_eq(Performance.get_monitor(Performance.OBJECT_NODE_COUNT), before, "no node left behind")


func test_formatting_uses_the_engine_operator() -> void:
	var probe := TeamforgeBindingProbe.new()
	assert_eq(probe.format_pair("%s-%03d", "t", 7), "t-007")
	# A rejected format gives what the engine's % operator gives: its error text.
	assert_eq(probe.format_pair("%d and %d", 1, "x"), "a number is required", "a value of the wrong type")
	assert_eq(probe.format_pair("%s %s %s", 1, 2), "not enough arguments for format string", "too few values")


func test_read_only_lookup_of_a_missing_key_gives_null() -> void:
	# The engine reports a const operator[] look-up of a missing key as a bug, in godot-cpp as in the
	# binding layer; a read that may miss goes through get() with a default.
	var probe := TeamforgeBindingProbe.new()
	assert_eq(probe.read_key({"a": 1}, "a"), 1, "present key")
	assert_eq(probe.read_key({"a": 1}, &"a"), 1, "StringName finds the String key")
	assert_null(probe.read_key({"a": 1}, "b"), "missing key")
	assert_null(probe.read_key({}, 0), "empty dictionary")


func test_names_objects_and_hashes_cross_the_binding_layer_as_scripts_see_them() -> void:
	var probe := TeamforgeBindingProbe.new()
	var team := TeamData.new()
	var mixed: Dictionary = probe.mix_values("team ", &"alpha", team)
	assert_eq(mixed.joined, "team alpha", "String + StringName")
	assert_eq(mixed.suffixed, "team !", "String + C string")
	assert_eq(mixed.converted, "alpha", "String from StringName")
	assert_false(mixed.same, "different texts")
	assert_true(probe.mix_values("alpha", &"alpha", null).same, "StringName == String by content")
	assert_same(mixed.held, team, "an object pointer assigned to a Variant stays the object")
	assert_eq(mixed.hash, hash(&"alpha"), "the engine's own hash")
	assert_eq(team.get_reference_count(), 2, "this variable and the result; the Ref let go")
	mixed = {}
	assert_eq(team.get_reference_count(), 1)
	assert_null(probe.mix_values("", &"", null).held, "a Ref assigned null holds nothing")


func test_c_strings_are_latin1_and_utf8_goes_through_string_utf8() -> void:
	var probe := TeamforgeBindingProbe.new()
	var decoded: Dictionary = probe.decode_and_search("", "")
	assert_eq(decoded.latin1, "café", "one byte, one character")
	assert_eq(decoded.utf8_as_c_string, "cafÃ©", "UTF-8 bytes read as Latin-1")
	assert_eq(decoded.utf8, "café")
	assert_eq(decoded.utf8_prefix, "café", "a length in bytes cuts the text")
	assert_eq(decoded.name, &"café", "StringName from a C string")
	assert_eq(typeof(decoded.name), TYPE_STRING_NAME)
	assert_eq(decoded.variant, "café", "Variant from a C string")


func test_string_searches_match_the_engine() -> void:
	var probe := TeamforgeBindingProbe.new()
	# [text, part]: each result must equal the script's own String method.
	var cases := [["Grand Final", "Final"], ["Grand Final", "final"], ["Swiss R1", "Swiss"], ["ab", ""],
		["", "a"], ["Ünïcode Ünï", "Ünï"], ["semi-final", "semi"], ["aaa", "aa"]]
	for pair in cases:
		var text: String = pair[0]
		var part: String = pair[1]
		var found: Dictionary = probe.decode_and_search(text, part)
		var where := "%s / %s" % [text, part]
		assert_eq(found.begins_with, text.begins_with(part), "begins_with " + where)
		assert_eq(found.contains, text.contains(part), "contains " + where)
		assert_eq(found.find, text.find(part), "find " + where)
		assert_eq(found.find_after_first, text.find(part, text.find(part) + 1), "find from " + where)
	assert_eq(probe.decode_and_search("Ünïcode Ünï", "Ünï").find_after_first, 8, "positions count characters")


func test_validated_object_is_null_once_the_object_is_freed() -> void:
	var probe := TeamforgeBindingProbe.new()
	var node := TeamDatabase.new()
	var live: Dictionary = probe.validate_object(node)
	assert_same(live.validated, node)
	assert_true(live.unchecked_agrees, "a live object reads the same both ways")
	node.free()
	assert_eq(probe.validate_object(node), {"validated": null}, "a freed object")
	assert_eq(probe.validate_object(7), {"validated": null}, "an int is no object")
	assert_eq(probe.validate_object(null), {"validated": null})
	var team := TeamData.new()
	assert_same(probe.validate_object(team).validated, team)


func test_refs_convert_by_cast_to_and_move_without_counting() -> void:
	var probe := TeamforgeBindingProbe.new()
	var team := TeamData.new()
	var refs: Dictionary = probe.convert_refs(team)
	assert_same(refs.base, team)
	assert_same(refs.team, team, "Ref<RefCounted> to Ref<TeamData>")
	assert_null(refs.simulator, "a TeamData is no MatchSimulator")
	assert_eq(refs.fresh_count, 1, "a raw pointer takes the first reference once")
	assert_eq(refs.moved_count, 1, "a move adds no reference")
	assert_null(refs.source_after_move, "the moved-from Ref is empty")
	assert_eq(refs.move_assigned_count, 1)
	assert_eq(refs.widened_count, 2)
	assert_true(refs.emptied, "ref = nullptr")
	assert_eq(team.get_reference_count(), 3, "this variable and the two results")
	var kept: WeakRef = weakref(refs.kept)
	refs = {}
	assert_null(kept.get_ref(), "the moved record is freed with its last reference")
	var simulator := MatchSimulator.new()
	var other: Dictionary = probe.convert_refs(simulator)
	assert_null(other.team, "a MatchSimulator is no TeamData")
	assert_same(other.simulator, simulator)
	assert_null(probe.convert_refs(null).base, "no object")


class WarningCatcher:
	extends Logger
	var warnings: Array[String] = []

	func _log_error(_function: String, _file: String, _line: int, code: String, rationale: String,
			_editor_notify: bool, error_type: int, _script_backtraces: Array[ScriptBacktrace]) -> void:
		if error_type == ERROR_TYPE_WARNING:
			warnings.append(rationale if rationale != "" else code)


func test_methods_bound_by_bare_name_or_with_fewer_names_are_accepted() -> void:
	var probe := TeamforgeBindingProbe.new()
	assert_eq(probe.describe_binding("mix_values"),
			{"found": true, "arguments": 3, "names": [&"text", &"name", &"object"], "defaults": 0})
	assert_eq(probe.describe_binding(), {"found": true, "arguments": 2, "names": [&"source", &"signal"], "defaults": 0},
			"bound by a bare name with a default: the default (\"watch\") fills the call")
	assert_eq(probe.describe_binding("describe_binding"), {"found": true, "arguments": 1, "names": [], "defaults": 1})
	assert_eq(probe.describe_binding("no_such_method"), {"found": false})
	var listed: Array = ClassDB.class_get_method_list("TeamforgeBindingProbe", true).filter(
			func(m): return m.name == "describe_binding")
	assert_eq(listed.size(), 1, "bound once")
	assert_eq(listed[0].args.size(), 1)
	assert_eq(listed[0].args[0].name, "_unnamed_arg0", "the engine's name for an unnamed argument")
	assert_eq(listed[0].default_args, ["watch"])


func test_warn_print_reaches_the_engine_warning_output() -> void:
	var catcher := WarningCatcher.new()
	OS.add_logger(catcher)
	var returned: String = TeamforgeBindingProbe.new().warn_through_macros("stage list is short")
	OS.remove_logger(catcher)
	assert_eq(catcher.warnings, ["stage list is short", "a C string warning"])
	assert_eq(returned, "stage list is short", "a false condition returns nothing early")


func test_push_warning_reaches_the_engine_warning_output() -> void:
	var catcher := WarningCatcher.new()
	OS.add_logger(catcher)
	TeamforgeBindingProbe.new().warn("calendar is malformed")
	OS.remove_logger(catcher)
	assert_eq(catcher.warnings, ["calendar is malformed"])
