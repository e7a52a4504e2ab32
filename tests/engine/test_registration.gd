extends TestCase
# The engine surface of each class as scripts and the editor see it through the class database:
# base classes, registration order, bound methods in binding order (argument names, types, defaults,
# results, constness), properties with their accessors, and signals with typed arguments.
# The class database keeps methods and signals in the order they were bound, so order is compared
# exactly.

const BASES := {
	"TeamData": "RefCounted",
	"TeamDatabase": "Node",
	"MatchSimulator": "RefCounted",
	"TournamentManager": "Node",
	"GameCore": "Node",
	"EconomySystem": "RefCounted",
	"GameSettings": "Node",
}
const REGISTRATION_ORDER := ["TeamData", "TeamDatabase", "GameCore", "MatchSimulator", "TournamentManager", "EconomySystem",
		"GameSettings"]


# One expected method: [name, args, result, const, defaults]; an argument is [name, type] or
# [name, TYPE_OBJECT, class]; a result is a type or [TYPE_OBJECT, class].
static func _method(name: String, args: Array, result = TYPE_NIL, is_const := false, defaults := []) -> Dictionary:
	var arg_list := []
	for arg in args:
		arg_list.append([arg[0], arg[1], arg[2] if arg.size() > 2 else ""])
	var ret: Array = result if result is Array else [result, ""]
	return {"name": name, "args": arg_list, "return": ret, "const": is_const, "defaults": defaults}


static func _getter(name: String, type: int) -> Dictionary:
	return _method(name, [], type, true)


static func _setter(name: String, arg: String, type: int) -> Dictionary:
	return _method(name, [[arg, type]], TYPE_NIL, false)


const TEAM := [TYPE_OBJECT, "TeamData"]
# Bound after the core surface on both TournamentManager and GameCore.
var _career_additions := [
	_method("get_tournament", [["tournament_id", TYPE_INT]], TYPE_DICTIONARY, true),
	_method("get_tournament_summaries", [], TYPE_ARRAY, true),
	_method("archive_tournaments_before", [["date", TYPE_STRING]], TYPE_INT),
]


func test_classes_exist_with_their_base_classes() -> void:
	for cls in BASES:
		if assert_true(ClassDB.class_exists(cls), "%s is registered" % cls):
			assert_eq(ClassDB.get_parent_class(cls), BASES[cls], "base class of %s" % cls)


func test_classes_are_registered_in_table_order() -> void:
	# Inheriters come in the class database's insertion order.
	var registered := Array(ClassDB.get_inheriters_from_class("Object")).filter(func(c): return c in REGISTRATION_ORDER)
	assert_eq(registered, REGISTRATION_ORDER)


func test_each_class_can_be_instantiated_from_a_script() -> void:
	for cls in BASES:
		assert_true(ClassDB.can_instantiate(cls), "%s can be instantiated" % cls)
		var obj: Object = ClassDB.instantiate(cls)
		if not assert_not_null(obj, "instance of %s" % cls):
			continue
		assert_eq(obj.get_class(), cls, "class of a new %s" % cls)
		assert_true(obj.is_class(BASES[cls]), "%s is a %s" % [cls, BASES[cls]])
		# No to-string hook: the engine's own text names the class.
		assert_true(str(obj).begins_with("<%s#" % cls), "%s prints as the engine does: %s" % [cls, str(obj)])
		if not obj is RefCounted:
			obj.free()


func test_team_data_binds_its_methods_in_order() -> void:
	_check_methods("TeamData", [
		_getter("get_id", TYPE_STRING), _setter("set_id", "id", TYPE_STRING),
		_getter("get_name", TYPE_STRING), _setter("set_name", "name", TYPE_STRING),
		_getter("get_region", TYPE_STRING), _setter("set_region", "region", TYPE_STRING),
		_getter("get_vrs", TYPE_INT), _setter("set_vrs", "vrs", TYPE_INT),
		_getter("get_stamina", TYPE_INT), _setter("set_stamina", "stamina", TYPE_INT),
		_getter("get_wins", TYPE_INT), _setter("set_wins", "wins", TYPE_INT),
		_getter("get_losses", TYPE_INT), _setter("set_losses", "losses", TYPE_INT),
		_getter("get_prize_total", TYPE_INT), _setter("set_prize_total", "prize_total", TYPE_INT),
		_getter("get_honors", TYPE_ARRAY), _setter("set_honors", "honors", TYPE_ARRAY),
		_method("to_dict", [], TYPE_DICTIONARY, true),
		_method("from_dict", [["data", TYPE_DICTIONARY]]),
	])


func test_team_database_binds_its_methods_in_order() -> void:
	_check_methods("TeamDatabase", [
		_method("initialize_defaults", []),
		_method("clear_database", []),
		_getter("get_current_date", TYPE_STRING),
		_setter("set_current_date", "current_date", TYPE_STRING),
		_getter("get_teams", TYPE_ARRAY),
		_setter("set_teams", "teams", TYPE_ARRAY),
		_getter("get_team_count", TYPE_INT),
		_method("get_team_at", [["index", TYPE_INT]], TEAM, true),
		_method("get_team_by_id", [["team_id", TYPE_STRING]], TEAM, true),
		_method("has_team", [["team_id", TYPE_STRING]], TYPE_BOOL, true),
		_method("add_or_update_team", [["team", TYPE_OBJECT, "TeamData"]]),
		_method("to_dict", [], TYPE_DICTIONARY, true),
		_method("from_dict", [["data", TYPE_DICTIONARY]]),
	])


func test_game_core_binds_its_methods_in_order() -> void:
	_check_methods("GameCore", [
		_method("initialize_new_game", []),
		_method("advance_day", [], TYPE_BOOL),
		_getter("get_current_date", TYPE_STRING),
		_method("get_leaderboard_data", [["region_filter", TYPE_STRING], ["sort_mode", TYPE_STRING]], TYPE_DICTIONARY,
				true, ["ALL", "VRS"]),
		_method("get_organize_data", [], TYPE_DICTIONARY, true),
		_method("create_tournament", [["format_id", TYPE_STRING], ["tier_id", TYPE_STRING], ["inv_date", TYPE_STRING],
				["city", TYPE_STRING]], TYPE_DICTIONARY, false, [""]),
		_getter("get_credits", TYPE_INT),
		_setter("set_credits", "credits", TYPE_INT),
		_method("to_dict", [], TYPE_DICTIONARY, true),
		_method("from_dict", [["data", TYPE_DICTIONARY]]),
		# Addition beyond the saved surface: the rating history.
		_method("get_rating_history", [["team_id", TYPE_STRING]], TYPE_ARRAY, true),
	] + _career_additions + [
		# Addition beyond the core surface: one seed for the whole game.
		_setter("set_seed", "seed", TYPE_INT),
	])


func test_match_simulator_binds_its_methods_in_order() -> void:
	_check_methods("MatchSimulator", [
		_method("reseed", []),
		_setter("set_seed", "seed", TYPE_INT),
		_getter("get_seed", TYPE_INT),
		_method("pick_maps", [["count", TYPE_INT]], TYPE_ARRAY),
		_method("simulate_match", [["team_a", TYPE_OBJECT, "TeamData"], ["team_b", TYPE_OBJECT, "TeamData"],
				["is_bo5", TYPE_BOOL]], TYPE_DICTIONARY, false, [false]),
		_getter("get_match_history", TYPE_ARRAY),
		_setter("set_match_history", "match_history", TYPE_ARRAY),
		_method("clear_match_history", []),
		_method("to_dict", [], TYPE_DICTIONARY, true),
		_method("from_dict", [["data", TYPE_DICTIONARY]]),
	])


func test_tournament_manager_binds_its_methods_in_order() -> void:
	_check_methods("TournamentManager", [
		_method("set_team_database", [["team_database_node", TYPE_OBJECT, "Node"]]),
		_method("get_team_database", [], [TYPE_OBJECT, "Node"], true),
		_method("set_match_simulator", [["match_simulator", TYPE_OBJECT, "MatchSimulator"]]),
		_method("get_match_simulator", [], [TYPE_OBJECT, "MatchSimulator"], true),
		_method("create_tournament", [["format_id", TYPE_STRING], ["tier_id", TYPE_STRING], ["inv_date", TYPE_STRING],
				["city", TYPE_STRING]], TYPE_BOOL, false, [""]),
		_method("advance_day", [], TYPE_BOOL),
		_getter("get_tournaments", TYPE_ARRAY), _setter("set_tournaments", "tournaments", TYPE_ARRAY),
		_getter("get_available_funds", TYPE_INT), _setter("set_available_funds", "available_funds", TYPE_INT),
		_getter("get_major_slots", TYPE_DICTIONARY), _setter("set_major_slots", "major_slots", TYPE_DICTIONARY),
		_getter("get_match_log", TYPE_DICTIONARY), _setter("set_match_log", "match_log", TYPE_DICTIONARY),
		_getter("get_last_create_error", TYPE_STRING),
		_method("to_dict", [], TYPE_DICTIONARY, true),
		_method("from_dict", [["data", TYPE_DICTIONARY]]),
		# Addition beyond the saved surface: the rating history.
		_method("get_rating_history", [["team_id", TYPE_STRING]], TYPE_ARRAY, true),
	] + _career_additions + [
		# Addition beyond the core surface: the series log, on the manager alone.
		_setter("set_series_log_enabled", "enabled", TYPE_BOOL), _getter("is_series_log_enabled", TYPE_BOOL),
		_getter("get_series_log", TYPE_DICTIONARY), _method("clear_series_log", []),
	])


func test_economy_system_binds_its_methods_in_order() -> void:
	var a := ["team_a", TYPE_OBJECT, "TeamData"]
	var b := ["team_b", TYPE_OBJECT, "TeamData"]
	_check_methods("EconomySystem", [
		_getter("get_funds", TYPE_INT), _setter("set_funds", "funds", TYPE_INT),
		_getter("get_next_guess_id", TYPE_INT), _setter("set_next_guess_id", "next_guess_id", TYPE_INT),
		_getter("get_guess_history", TYPE_ARRAY), _setter("set_guess_history", "guess_history", TYPE_ARRAY),
		_getter("get_fund_ledger", TYPE_ARRAY), _setter("set_fund_ledger", "fund_ledger", TYPE_ARRAY),
		_method("calculate_guess_ratios", [a, b], TYPE_DICTIONARY, true),
		_method("calculate_match_heat", [a, b, ["prize", TYPE_INT], ["rank_map", TYPE_DICTIONARY],
				["round_multiplier", TYPE_INT]], TYPE_INT, true, [1]),
		_method("place_guess", [["tour_id", TYPE_INT], ["tour_name", TYPE_STRING], ["stage_idx", TYPE_INT],
				["match_id", TYPE_STRING], ["match_name", TYPE_STRING], ["match_date", TYPE_STRING], a, b,
				["pick_team_id", TYPE_STRING], ["amount", TYPE_INT]], TYPE_DICTIONARY),
		_method("settle_prediction", [["guess_id", TYPE_STRING], ["winner_team_id", TYPE_STRING],
				["winner_team_name", TYPE_STRING], ["settle_date", TYPE_STRING]], TYPE_DICTIONARY),
		_method("to_dict", [], TYPE_DICTIONARY, true),
		_method("from_dict", [["data", TYPE_DICTIONARY]]),
	])


func test_game_settings_binds_its_methods_in_order() -> void:
	_check_methods("GameSettings", [
		_setter("set_locale", "locale", TYPE_STRING),
		_getter("get_locale", TYPE_STRING),
		_method("to_dict", [], TYPE_DICTIONARY, true),
		_method("from_dict", [["data", TYPE_DICTIONARY]]),
	])


func test_properties_have_types_and_accessors() -> void:
	_check_properties("TeamData", [["id", TYPE_STRING], ["name", TYPE_STRING], ["region", TYPE_STRING],
			["vrs", TYPE_INT], ["stamina", TYPE_INT], ["wins", TYPE_INT], ["losses", TYPE_INT],
			["prize_total", TYPE_INT], ["honors", TYPE_ARRAY]])
	_check_properties("TeamDatabase", [["current_date", TYPE_STRING], ["teams", TYPE_ARRAY]])
	_check_properties("MatchSimulator", [["seed", TYPE_INT], ["match_history", TYPE_ARRAY]])
	# The simulator is no part of a saved scene, nor of the inspector (test_scenes.gd says why).
	_check_properties("TournamentManager", [["team_database", TYPE_OBJECT],
			["match_simulator", TYPE_OBJECT, "get_match_simulator", "set_match_simulator", PROPERTY_USAGE_NONE],
			["tournaments", TYPE_ARRAY], ["available_funds", TYPE_INT], ["major_slots", TYPE_DICTIONARY],
			["match_log", TYPE_DICTIONARY], ["series_log_enabled", TYPE_BOOL, "is_series_log_enabled", "set_series_log_enabled"]])
	_check_properties("EconomySystem", [["funds", TYPE_INT], ["next_guess_id", TYPE_INT],
			["guess_history", TYPE_ARRAY], ["fund_ledger", TYPE_ARRAY]])
	# The one property whose accessors are not named after it.
	_check_properties("GameSettings", [["current_locale", TYPE_STRING, "get_locale", "set_locale"]])
	_check_properties("GameCore", [])


func test_signals_have_typed_named_arguments() -> void:
	_check_signals("TeamData", [])
	_check_signals("TeamDatabase", [
		["current_date_changed", [["current_date", TYPE_STRING]]],
		["team_changed", [["team_id", TYPE_STRING]]],
		["teams_rebuilt", []],
		["database_reset", []],
	])
	_check_signals("GameCore", [
		["current_date_changed", [["current_date", TYPE_STRING]]],
		["leaderboard_changed", [["leaderboard_data", TYPE_DICTIONARY]]],
		["organize_changed", [["organize_data", TYPE_DICTIONARY]]],
		["tournament_created", [["result", TYPE_DICTIONARY]]],
		["achievement_event", [["event", TYPE_DICTIONARY]]],
	])
	_check_signals("MatchSimulator", [["match_simulated", [["report", TYPE_DICTIONARY]]]])
	_check_signals("TournamentManager", [
		["day_advanced", [["current_date", TYPE_STRING]]],
		["tournament_created", [["tournament_id", TYPE_INT]]],
		["tournament_updated", [["tournament_id", TYPE_INT]]],
		["tournament_completed", [["tournament_id", TYPE_INT]]],
		["achievement_event", [["event", TYPE_DICTIONARY]]],
	])
	_check_signals("EconomySystem", [])
	_check_signals("GameSettings", [["locale_changed", [["new_locale", TYPE_STRING]]]])


func _check_methods(cls: String, expected: Array) -> void:
	var actual := {}
	var names := []
	for info in ClassDB.class_get_method_list(cls, true):
		names.append(info["name"])
		var args := []
		for arg in info["args"]:
			args.append([arg["name"], arg["type"], String(arg["class_name"])])
		actual[info["name"]] = {
			"name": info["name"],
			"args": args,
			"return": [info["return"]["type"], String(info["return"]["class_name"])],
			"const": (info["flags"] & METHOD_FLAG_CONST) != 0,
			"defaults": info["default_args"],
		}
	if not assert_eq(names, expected.map(func(m): return m["name"]), "%s methods in binding order" % cls):
		return
	for method in expected:
		assert_eq(actual[method["name"]], method, "%s.%s" % [cls, method["name"]])


func _check_properties(cls: String, expected: Array) -> void:
	var props := ClassDB.class_get_property_list(cls, true)
	var names := props.map(func(p): return p["name"])
	if not assert_eq(names, expected.map(func(p): return p[0]), "%s properties in registration order" % cls):
		return
	for i in expected.size():
		var want: Array = expected[i]
		var name: String = want[0]
		var prop: Dictionary = props[i]
		var usage: int = want[4] if want.size() > 4 else PROPERTY_USAGE_DEFAULT
		assert_eq([prop["type"], prop["hint"], prop["hint_string"], prop["usage"]],
				[want[1], PROPERTY_HINT_NONE, "", usage], "%s.%s type, hint and usage" % [cls, name])
		var getter: String = want[2] if want.size() > 2 else "get_" + name
		var setter: String = want[3] if want.size() > 3 else "set_" + name
		assert_eq(ClassDB.class_get_property_getter(cls, name), getter, "%s.%s getter" % [cls, name])
		assert_eq(ClassDB.class_get_property_setter(cls, name), setter, "%s.%s setter" % [cls, name])


func _check_signals(cls: String, expected: Array) -> void:
	var actual := []
	for info in ClassDB.class_get_signal_list(cls, true):
		var args := []
		for arg in info["args"]:
			args.append([arg["name"], arg["type"]])
		actual.append([info["name"], args])
	assert_eq(actual, expected, "%s signals" % cls)
