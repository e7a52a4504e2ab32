extends TestCase
# Every bound method survives any argument a script can pass, and the object still reads, saves and
# loads the same afterwards. Methods come from ClassDB, so a method bound later is covered too. Each
# argument keeps its declared Variant type: the engine refuses any other type with its own error.
# Left out: numeric text beyond 64 bits and containers that hold themselves, which the engine's own
# text conversion (used by loading, as by str()) reports as errors; and freeing a node from inside
# its own signal, which the engine refuses with an error.

const CLASSES := ["TeamData", "TeamDatabase", "GameCore", "MatchSimulator", "TournamentManager", "EconomySystem", "GameSettings"]
const I32_MAX := 2147483647
const I32_MIN := -2147483648
const I64_MAX := 9223372036854775807
const I64_MIN := -I64_MAX - 1
# A state per class that takes calls past the early exits of an empty object.
const LOADED := {
	"TeamData": {"id": "t-0", "vrs": I32_MAX, "stamina": I32_MIN, "wins": I32_MAX, "losses": I32_MAX,
			"prize_total": I64_MIN, "honors": [null, {}]},
	"TeamDatabase": {"current_date": "2026-02-30", "teams": [{"id": ""}, {"id": "t-0", "vrs": I32_MIN}]},
	"MatchSimulator": {"seed": -1},
	"TournamentManager": {"next_tournament_id": I32_MIN, "available_funds": I64_MIN,
			"major_slots": {"stage1": {"EU": I64_MAX, "AS": -1}}, "epl_counters": {"EWC": I64_MAX, "TIER_2": "x"},
			"tournaments": [{"id": I32_MAX, "format_id": "MAJOR", "inv_date": "2026-02-30", "participants": [{"id": "t-0"}],
				"stages": [{"type": "SWISS", "nodes": [{"id": "m_1", "team_a": {"id": "t-0"}, "winner_to": {"id": "m_1"}}, 5]}, null]},
				{"id": -5, "format_id": "EWC", "inv_date": ""}, "junk"]},
	"EconomySystem": {"funds": I64_MAX, "next_guess_id": I64_MAX, "fund_ledger": [null], "guess_history": [
			{"id": "", "status": "OPEN", "pick_team_id": "", "amount": I64_MAX, "chosen_odds": 15.0},
			{"id": "t-0", "pick_team_id": "t-0", "amount": I64_MIN, "chosen_odds": INF}, null]},
	"GameSettings": {"current_locale": "日本語"},
}
# A game holds the two states above, nested as its save nests them.
const LOADED_GAME := {"team_database": LOADED.TeamDatabase, "tournament_manager": LOADED.TournamentManager}

# Compiled as the suite loads: the engine keeps a compiled script without a path alive until it
# exits, so one compiled during a test would count as a leak.
static var _typed_calls := _compile_typed_calls()

var _huge := "x".repeat(100000)
var _wrong_node: Node
var _freed  # a freed Node; untyped, as a typed variable refuses one
var _keys := []  # every key of the save dictionaries, and team ids
var _getters := {}  # class -> its getters without arguments
# What a save leaves out: the manager's links to other objects and its last error.
const NOT_SAVED := {"TournamentManager": ["get_team_database", "get_match_simulator", "get_last_create_error"]}


func before_each() -> void:
	_wrong_node = autofree(GameSettings.new())
	var node := Node.new()
	node.free()
	_freed = node
	_keys = ["", "t-0"]
	for cls in CLASSES:
		_getters[cls] = ClassDB.class_get_method_list(cls, true).filter(func(m: Dictionary) -> bool:
			return m["name"].begins_with("get_") and m["args"].is_empty()).map(func(m): return m["name"])
		var obj := _make(cls, true)
		_collect_keys(obj.call("to_dict"))
		_dispose(obj)


# Statically typed calls compile to the engine's validated calls, which reach the library through
# ptrcall rather than through the Variant call that callv takes. One function per method.
static func _compile_typed_calls() -> Dictionary:
	var compiled := {}
	for cls in CLASSES:
		var src := PackedStringArray(["extends RefCounted"])
		for m in ClassDB.class_get_method_list(cls, true):
			src.append("func m_%s(o: %s, a: Array) -> Variant:" % [m["name"], cls])
			var names := PackedStringArray()
			for arg in m["args"]:
				var type: String = arg["class_name"] if arg["type"] == TYPE_OBJECT else type_string(arg["type"])
				type = "" if arg["type"] == TYPE_NIL else ": " + type
				src.append("\tvar a%d%s = a[%d]" % [names.size(), type, names.size()])
				names.append("a%d" % names.size())
			var invocation := "o.%s(%s)" % [m["name"], ", ".join(names)]
			src.append("\t%s\n\treturn null" % invocation if _is_void(m) else "\treturn " + invocation)
		var script := GDScript.new()
		script.source_code = "\n".join(src)
		compiled[cls] = script if script.reload() == OK else null
	return compiled


static func _is_void(method: Dictionary) -> bool:
	return method["return"]["type"] == TYPE_NIL and not method["return"]["usage"] & PROPERTY_USAGE_NIL_IS_VARIANT


static func _team(id: String, vrs := 1000) -> TeamData:
	var t := TeamData.new()
	t.from_dict({"id": id, "vrs": vrs})
	return t


static func _make(cls: String, loaded: bool) -> Object:
	var obj: Object = ClassDB.instantiate(cls)
	if loaded:
		obj.call("from_dict", (LOADED_GAME if cls == "GameCore" else LOADED[cls]).duplicate(true))
	return obj


static func _dispose(obj: Object) -> void:
	if obj is Node:
		obj.free()


func _collect_keys(value) -> void:
	if value is Array:
		for element in value:
			_collect_keys(element)
	elif value is Dictionary:
		for key in value:
			if not key in _keys:
				_keys.append(key)
			_collect_keys(value[key])


# Any Variant at all, for dictionaries and arrays.
func _garbage() -> Array:
	return [null, true, 0, -1, I64_MAX, I64_MIN, 1e300, -INF, NAN, "", _huge, "日本語", "2026-02-30", "-12abc",
		&"id", [], [null], [{}], [[[]]], {}, {null: null}, Vector2i(1, -1), Color.RED, PackedInt64Array([I64_MIN]),
		PackedStringArray(["t-0"]), Callable(), _team("t-0"), MatchSimulator.new(), _wrong_node, _freed]


# Values of one declared type, the first one plain. Made anew per method, as calls may change them.
func _values(type: int) -> Array:
	match type:
		TYPE_NIL:  # a Variant parameter
			return _garbage()
		TYPE_BOOL:
			return [false, true]
		TYPE_INT:
			return [1, 0, -1, I32_MAX, I32_MIN, I64_MAX, I64_MIN, 1 << 31, 1 << 32, (1 << 32) + 1]
		TYPE_FLOAT:
			return [1.0, 0.0, -1.0, 1e308, -1e308, INF, -INF, NAN]
		TYPE_STRING:
			return ["", _huge, "日本語", "2026-02-30", "t-0", " t-0\n", "🏆 %s %d {0} \\"]
		TYPE_ARRAY:
			var frozen := [{"id": ""}]
			frozen.make_read_only()
			return [[], _garbage(), [{}, {"id": null}, {"id": "t-0", "vrs": I64_MAX, "honors": {}}], [[[[]]]],
				frozen, Array([1], TYPE_INT, &"", null),
				Array([_team("t-0")], TYPE_OBJECT, &"TeamData", null), range(1000)]
		TYPE_DICTIONARY:
			var frozen := {"teams": [{"id": "t-0"}], "guess_history": [{}]}
			frozen.make_read_only()
			# Keys typed for numbers: every look-up by a text key would be an engine error.
			var int_keyed := Dictionary({1: 2}, TYPE_INT, &"", null, TYPE_INT, &"", null)
			var dicts := [{}, frozen, Dictionary({"id": "t-0"}, TYPE_STRING, &"", null, TYPE_STRING, &"", null), int_keyed,
				{"teams": [int_keyed], "guess_history": [int_keyed], "tournaments": [int_keyed],
					"team_database": int_keyed, "tournament_manager": {"tournaments": [int_keyed]}},
				{null: null, 0: 1, -1.5: "x", true: [], [1]: {}, {}: 2, Vector2i(): 3, &"id": &"t-0", _freed: 4}]
			# Each value under every key, and again in arrays next to such a dictionary.
			for value in _garbage():
				var flat := {}
				var nested := {}
				for key in _keys:
					flat[key] = value
					nested[key] = [flat, value]
				dicts.append_array([flat, nested])
			return dicts
		TYPE_OBJECT:
			var high := _team("t-0")
			high.from_dict({"id": "t-0", "name": _huge, "vrs": I32_MAX, "stamina": I32_MAX, "wins": I32_MAX,
					"losses": I32_MAX, "prize_total": I64_MAX})
			var low := _team("", I32_MIN)
			low.from_dict({"vrs": I32_MIN, "stamina": I32_MIN, "wins": I32_MIN, "prize_total": I64_MIN})
			return [_team(""), null, high, low, MatchSimulator.new(), _wrong_node, _freed]
	fail("no values for arguments of type %s" % type_string(type))
	return []


# Index rows into the argument pools: each argument through its pool while the others keep their
# first value, then all of them at once, each cycling through its pool.
static func _rows(sizes: Array) -> Array:
	var rows := []
	for i in sizes.size():
		for k in range(1, sizes[i]):
			var row := sizes.map(func(_size): return 0)
			row[i] = k
			rows.append(row)
	for k in sizes.reduce(func(longest, size): return maxi(longest, size), 1):
		rows.append(range(sizes.size()).map(func(i): return k % sizes[i]))
	return rows


static func _describe(args: Array) -> String:
	return "(%s)" % ", ".join(args.map(func(v) -> String:
		if typeof(v) == TYPE_STRING:
			return '"%s"' % v.c_escape() if v.length() <= 20 else "<%d characters>" % v.length()
		if typeof(v) == TYPE_OBJECT:
			return v.get_class() if is_instance_valid(v) else "<freed object>"
		return "%s of %d" % [type_string(typeof(v)), v.size()] if v is Array or v is Dictionary else str(v)))


# GDScript itself refuses a wrong or freed object for a typed parameter.
static func _fits_typed(args: Array, method: Dictionary) -> bool:
	for i in args.size():
		if typeof(args[i]) == TYPE_OBJECT and not (is_instance_valid(args[i])
				and args[i].is_class(method["args"][i]["class_name"])):
			return false
	return true


# Records as their dictionaries, so that a loaded copy compares equal to the original.
static func _plain(value) -> Variant:
	if typeof(value) == TYPE_OBJECT and is_instance_valid(value) and value.has_method("to_dict"):
		return value.to_dict()
	return value.map(_plain) if typeof(value) == TYPE_ARRAY else value


# Getters of values a script sets as it likes, which a save holds as plain data.
const FREE_FORM_GETTERS := ["get_honors", "get_guess_history", "get_fund_ledger"]


# What loading keeps of a value: a save is plain data, so objects, callables and signals held in its
# containers are left out.
static func _loaded_form(value) -> Variant:
	var is_reference := func(v) -> bool: return typeof(v) in [TYPE_OBJECT, TYPE_CALLABLE, TYPE_SIGNAL]
	if value is Array:
		var kept: Array = value.duplicate()
		kept.clear()
		for v in value:
			if not is_reference.call(v):
				kept.append(_loaded_form(v))
		return kept
	if value is Dictionary:
		var kept: Dictionary = value.duplicate()
		kept.clear()
		for k in value:
			if not is_reference.call(k) and not is_reference.call(value[k]):
				kept[_loaded_form(k)] = _loaded_form(value[k])
		return kept
	return value


func _check_after(obj: Object, cls: String, method: Dictionary, ret, what: String) -> void:
	var info: Dictionary = method["return"]
	if info["type"] == TYPE_OBJECT:
		assert_true(ret == null or (is_instance_valid(ret) and ret.is_class(info["class_name"])), "%s: result" % what)
	elif not _is_void(method) and info["type"] != TYPE_NIL:
		assert_eq(type_string(typeof(ret)), type_string(info["type"]), "%s: type of the result" % what)
	var saved = obj.call("to_dict")
	if not assert_true(saved is Dictionary, "%s: to_dict afterwards" % what):
		return
	var copy := _make(cls, false)
	copy.call("from_dict", saved)
	# A saved seed of 0 asks the loader for a fresh one.
	var reseeded: bool = cls == "MatchSimulator" and saved["seed"] == 0
	for getter in _getters[cls]:
		if not (reseeded and getter == "get_seed") and not getter in NOT_SAVED.get(cls, []):
			var kept = obj.call(getter)
			assert_eq(_plain(copy.call(getter)), _plain(_loaded_form(kept) if getter in FREE_FORM_GETTERS else kept),
					"%s: %s() once saved and loaded" % [what, getter])
	var again: Dictionary = copy.call("to_dict")
	_dispose(copy)
	if reseeded:
		saved = saved.duplicate()
		saved.erase("seed")
		again.erase("seed")
	assert_eq(again, _loaded_form(saved), "%s: to_dict after loading its save" % what)


func _exercise(typed: bool) -> void:
	for cls in CLASSES:
		var methods := ClassDB.class_get_method_list(cls, true)
		if not assert_true(methods.size() > 2 and (not typed or _typed_calls[cls] != null), "%s is bound" % cls):
			continue
		var caller: Object = _typed_calls[cls].new() if typed else null
		var calls := 0
		for m in methods:
			for loaded in [false, true]:
				var pools: Array = m["args"].map(func(arg): return _values(arg["type"]))
				for row in _rows(pools.map(func(pool): return pool.size())):
					var args := range(row.size()).map(func(i): return pools[i][row[i]])
					if typed and not _fits_typed(args, m):
						continue
					var arg_lists := [args]
					if not typed and not m["default_args"].is_empty():
						arg_lists.append(args.slice(0, args.size() - m["default_args"].size()))
					for given in arg_lists:
						var obj := _make(cls, loaded)
						var ret = caller.call("m_" + m["name"], obj, given) if typed else obj.callv(m["name"], given)
						_check_after(obj, cls, m, ret, "%s%s.%s%s [pool row %s]" % [
								"loaded " if loaded else "", cls, m["name"], _describe(given), row])
						_dispose(obj)
						calls += 1
		assert_true(calls > 2 * methods.size(), "%s: %d calls of %d methods" % [cls, calls, methods.size()])


func test_every_method_survives_extreme_arguments_through_callv() -> void:
	_exercise(false)


func test_every_method_survives_extreme_arguments_through_typed_calls() -> void:
	_exercise(true)


func test_stored_arrays_a_script_made_read_only_change_no_outcome() -> void:
	# Getters hand out the stored arrays themselves, so a script can freeze one in place.
	for cls in CLASSES:
		var methods := ClassDB.class_get_method_list(cls, true)
		for getter in methods.filter(func(m): return m["name"] in _getters[cls] and m["return"]["type"] == TYPE_ARRAY):
			var probe := _make(cls, true)
			var stored: bool = is_same(probe.call(getter["name"]), probe.call(getter["name"]))
			_dispose(probe)
			for m in methods if stored else []:
				var args: Array = m["args"].map(func(arg): return _values(arg["type"])[0])
				var obj := _make(cls, true)
				var reference := _make(cls, true)
				obj.call(getter["name"]).make_read_only()
				obj.callv(m["name"], args)
				reference.callv(m["name"], args)
				assert_eq(obj.call("to_dict"), reference.call("to_dict"),
						"%s.%s after %s() was made read-only" % [cls, m["name"], getter["name"]])
				_dispose(obj)
				_dispose(reference)


# Handlers that call back into the object while it emits


func test_teams_rebuilt_handler_reentering_the_database_ends_as_if_called_in_turn() -> void:
	var team := _team("given")
	var ops := {
		"initialize_defaults": func(d: TeamDatabase) -> void: d.initialize_defaults(),
		"clear_database": func(d: TeamDatabase) -> void: d.clear_database(),
		"set_teams": func(d: TeamDatabase) -> void: d.set_teams([team, "junk", null]),
		"set_teams of its own list": func(d: TeamDatabase) -> void: d.set_teams(d.get_teams()),
		"from_dict": func(d: TeamDatabase) -> void: d.from_dict({"current_date": "2030-01-01", "teams": [{"id": "x"}, 5]}),
		"from_dict of its own save": func(d: TeamDatabase) -> void: d.from_dict(d.to_dict()),
	}
	for outer in ops:
		for inner in ops:
			var db: TeamDatabase = autofree(TeamDatabase.new())
			var calls := [0]
			db.teams_rebuilt.connect(func() -> void:
				calls[0] += 1
				if calls[0] == 1:
					ops[inner].call(db))
			ops[outer].call(db)
			var in_turn: TeamDatabase = autofree(TeamDatabase.new())
			ops[outer].call(in_turn)
			ops[inner].call(in_turn)
			assert_eq(db.to_dict(), in_turn.to_dict(), "%s from a handler of %s" % [inner, outer])
			assert_eq(calls[0], 2, "teams_rebuilt of %s, then of %s" % [outer, inner])


func test_match_simulated_handler_reseeding_and_playing_again() -> void:
	var sim := MatchSimulator.new()
	var a := _team("a", 1500)
	var b := _team("b", 1400)
	var inner := []
	var handler := func(_report: Dictionary) -> void:
		if inner.is_empty():
			inner.append(null)
			sim.set_seed(22)
			inner[0] = sim.simulate_match(a, b, true)
			sim.reseed()
	sim.match_simulated.connect(handler)
	sim.set_seed(11)
	var outer := sim.simulate_match(a, b)
	sim.match_simulated.disconnect(handler)  # it holds the simulator
	var in_turn := MatchSimulator.new()
	var a2 := _team("a", 1500)
	var b2 := _team("b", 1400)
	in_turn.set_seed(11)
	assert_eq(outer, in_turn.simulate_match(a2, b2), "the outer report")
	in_turn.set_seed(22)
	assert_eq(inner, [in_turn.simulate_match(a2, b2, true)], "the report from the handler")
	assert_eq([a.to_dict(), b.to_dict()], [a2.to_dict(), b2.to_dict()], "the teams after both series")
	assert_true(sim.simulate_match(a, b).has("winner_id"), "the simulator plays on after its reseed")


func test_locale_changed_handler_setting_the_locale_again() -> void:
	for inner in ["de", "fr", "", "en", _huge]:
		var settings: GameSettings = autofree(GameSettings.new())
		var log := watch_signals(settings, ["locale_changed"])
		var calls := [0]
		settings.locale_changed.connect(func(_locale: String) -> void:
			calls[0] += 1
			if calls[0] == 1:
				settings.set_locale(inner))
		settings.set_locale("fr")
		var in_turn: GameSettings = autofree(GameSettings.new())
		var in_turn_log := watch_signals(in_turn, ["locale_changed"])
		in_turn.set_locale("fr")
		in_turn.set_locale(inner)
		var what := "set_locale%s from a handler" % _describe([inner])
		assert_eq(settings.get_locale(), in_turn.get_locale(), what)
		assert_eq(log, in_turn_log, what)


func test_handler_dropping_the_last_reference_to_the_simulator() -> void:
	var holder := [MatchSimulator.new()]
	var gone: WeakRef = weakref(holder[0])
	holder[0].match_simulated.connect(func(_report: Dictionary) -> void: holder.clear())
	# A Callable keeps only the object's id, so the holder has the only reference.
	var play := Callable(holder[0], "simulate_match")
	var report = play.call(_team("a"), _team("b"))
	assert_null(gone.get_ref(), "the simulator is gone")
	assert_true(report is Dictionary and report.get("winner_id") in ["a", "b"], "the report survives: %s" % [report])
