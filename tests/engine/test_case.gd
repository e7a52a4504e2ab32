class_name TestCase
extends RefCounted
## Base of every engine suite. An assertion that fails records expected and actual and lets the
## test go on, so one run shows every broken expectation; each returns whether it held, so a test
## can stop early where going on would only cascade (`if not assert_not_null(t): return`).
##
## Equality is strict about types: an int and a float never compare equal (a rating that comes back
## as 1500.0 is a fault), while String and StringName do. Arrays compare element by element and
## dictionaries key by key, recursively; key order is checked only by assert_keys. A null object
## reference equals null.
##
## Members the runner uses start with _tc_ so that they cannot clash with a suite's own.

var _tc_failures: PackedStringArray = []
var _tc_to_free: Array[Object] = []
var _tc_watches: Array = []  # [WeakRef to the emitter, signal name, connected Callable]


func assert_eq(actual, expected, msg := "") -> bool:
	var diff := _tc_difference(actual, expected, "")
	if diff != "":
		_tc_record(msg, diff)
		return false
	return true


func assert_ne(actual, unexpected, msg := "") -> bool:
	if _tc_difference(actual, unexpected, "") == "":
		_tc_record(msg, "expected anything but %s" % _tc_fmt(unexpected))
		return false
	return true


func assert_true(cond, msg := "") -> bool:
	if not (cond is bool and cond):
		_tc_record(msg, "expected true, got %s" % _tc_fmt_typed(cond))
		return false
	return true


func assert_false(cond, msg := "") -> bool:
	if not (cond is bool and not cond):
		_tc_record(msg, "expected false, got %s" % _tc_fmt_typed(cond))
		return false
	return true


func assert_null(v, msg := "") -> bool:
	if v != null:
		_tc_record(msg, "expected null, got %s" % _tc_fmt_typed(v))
		return false
	return true


func assert_not_null(v, msg := "") -> bool:
	if v == null:
		_tc_record(msg, "expected a value, got null")
		return false
	return true


func assert_same(a, b, msg := "") -> bool:
	if not is_same(a, b):
		_tc_record(msg, "expected the very same %s, got another: %s" % [_tc_fmt_typed(b), _tc_fmt_typed(a)])
		return false
	return true


func assert_almost_eq(actual, expected, eps, msg := "") -> bool:
	if not (_tc_is_number(actual) and _tc_is_number(expected)):
		_tc_record(msg, "expected a number near %s, got %s" % [_tc_fmt_typed(expected), _tc_fmt_typed(actual)])
		return false
	if not absf(float(actual) - float(expected)) <= float(eps):
		_tc_record(msg, "expected %s within %s, got %s" % [_tc_fmt(expected), _tc_fmt(eps), _tc_fmt(actual)])
		return false
	return true


func assert_keys(dict, expected_keys: Array, msg := "") -> bool:
	if not dict is Dictionary:
		_tc_record(msg, "expected a Dictionary with keys %s, got %s" % [_tc_fmt(expected_keys), _tc_fmt_typed(dict)])
		return false
	var keys: Array = dict.keys()
	if _tc_difference(keys, expected_keys, "") != "":
		_tc_record(msg, "expected keys %s in this order, got %s" % [_tc_fmt(expected_keys), _tc_fmt(keys)])
		return false
	return true


func fail(msg) -> void:
	_tc_failures.append(str(msg))


## Advances `game` (a TournamentManager or a GameCore) a day at a time until `reached` holds, at most
## `max_days` days, and says whether it came. Every loop that waits for the game goes through here, so
## a fault that leaves a tournament pending fails its test in seconds instead of at the engine's limit.
## Static for games played on other threads, which report instead of asserting.
static func advance_until(game: Object, reached: Callable, max_days: int) -> bool:
	for day in max_days:
		if reached.call():
			return true
		game.advance_day()
	return reached.call()


## advance_until as a check: the test fails, naming `what`, when the cap comes first.
func assert_reached(game: Object, reached: Callable, max_days: int, what: String) -> bool:
	if advance_until(game, reached, max_days):
		return true
	_tc_record(what, "not reached within %d days" % max_days)
	return false


## Connects to each named signal of `obj`; every emission appends [name, arg0, arg1, ...] to the
## returned log. The runner disconnects after the test.
func watch_signals(obj: Object, names: Array) -> Array:
	var log := []
	if obj == null:
		fail("watch_signals: no object to watch")
		return log
	for name in names:
		if not obj.has_signal(name):
			fail("watch_signals: %s has no signal %s" % [obj, _tc_fmt(name)])
			continue
		var logger := _tc_logger(log, String(name))
		obj.connect(name, logger)
		_tc_watches.append([weakref(obj), StringName(name), logger])
	return log


## The names alone of a watch_signals log, for checking order.
func signal_names(log: Array) -> Array:
	return log.map(func(entry): return entry[0])


## Frees `obj` after the test (after after_each) unless it is already gone; returns it.
func autofree(obj: Object) -> Object:
	if obj != null and not obj is RefCounted:
		_tc_to_free.append(obj)
	return obj


# A static function's lambda holds no reference to the suite, so a watched RefCounted held by the
# suite does not form a cycle with it.
static func _tc_logger(log: Array, name: String) -> Callable:
	return func(...args: Array) -> void: log.append([name] + args)


# Called by the runner around each test.
func _tc_begin_test() -> void:
	_tc_failures.clear()


func _tc_end_test() -> void:
	for w in _tc_watches:
		var obj: Object = w[0].get_ref()
		if obj != null and obj.is_connected(w[1], w[2]):
			obj.disconnect(w[1], w[2])
	_tc_watches.clear()
	for obj in _tc_to_free:
		if is_instance_valid(obj):
			obj.free()
	_tc_to_free.clear()


func _tc_record(msg: String, detail: String) -> void:
	_tc_failures.append(detail if msg == "" else "%s: %s" % [msg, detail])


static func _tc_difference(actual, expected, path: String) -> String:
	# A null object reference and null are the same nothing.
	if actual == null and expected == null:
		return ""
	var ta := typeof(actual)
	var te := typeof(expected)
	var texts := [TYPE_STRING, TYPE_STRING_NAME]
	if ta in texts and te in texts:
		return "" if String(actual) == String(expected) else _tc_mismatch(path, actual, expected)
	if ta != te:
		return _tc_mismatch(path, actual, expected)
	match ta:
		TYPE_ARRAY:
			for i in mini(actual.size(), expected.size()):
				var diff := _tc_difference(actual[i], expected[i], "%s[%d]" % [path, i])
				if diff != "":
					return diff
			if actual.size() != expected.size():
				return "%s%d elements, expected %d: got %s, expected %s" % [
					_tc_where(path), actual.size(), expected.size(), _tc_fmt(actual), _tc_fmt(expected)]
			return ""
		TYPE_DICTIONARY:
			for key in expected:
				if not actual.has(key):
					return "%smissing key %s in %s" % [_tc_where(path), _tc_fmt(key), _tc_fmt(actual)]
			for key in actual:
				if not expected.has(key):
					return "%sunexpected key %s in %s" % [_tc_where(path), _tc_fmt(key), _tc_fmt(actual)]
			for key in expected:
				var diff := _tc_difference(actual[key], expected[key], "%s[%s]" % [path, _tc_fmt(key)])
				if diff != "":
					return diff
			return ""
		TYPE_OBJECT:
			return "" if is_same(actual, expected) else _tc_mismatch(path, actual, expected)
		TYPE_FLOAT:
			if actual == expected or (is_nan(actual) and is_nan(expected)):
				return ""
			return _tc_mismatch(path, actual, expected)
		_:
			return "" if actual == expected else _tc_mismatch(path, actual, expected)


static func _tc_mismatch(path: String, actual, expected) -> String:
	if typeof(actual) != typeof(expected):
		return "%sexpected %s, got %s" % [_tc_where(path), _tc_fmt_typed(expected), _tc_fmt_typed(actual)]
	return "%sexpected %s, got %s" % [_tc_where(path), _tc_fmt(expected), _tc_fmt(actual)]


static func _tc_where(path: String) -> String:
	return "" if path == "" else "at %s: " % path


static func _tc_is_number(v) -> bool:
	return typeof(v) == TYPE_INT or typeof(v) == TYPE_FLOAT


static func _tc_fmt(v) -> String:
	var text: String
	match typeof(v):
		TYPE_STRING:
			text = '"%s"' % v.c_escape()
		TYPE_STRING_NAME:
			text = '&"%s"' % String(v).c_escape()
		TYPE_NIL:
			text = "null"
		TYPE_OBJECT:
			text = str(v)
		_:
			text = str(v)
	return text if text.length() <= 400 else text.substr(0, 400) + "..."


static func _tc_fmt_typed(v) -> String:
	return "%s (%s)" % [_tc_fmt(v), type_string(typeof(v))]
