extends SceneTree
## Runs the engine suites: every res://test_*.gd, each test_* method in source order, with
## before_each/after_each around it. Usage:
##   tools/godot --headless --path tests/engine -s res://runner.gd [-- --filter=substr]
## The filter is matched against "<suite file>::<test>". Prints "FAIL <suite>::<test>: <message>" per
## failed test and ends with the line "N passed, N failed"; exits 1 on any failure.
##
## Errors the engine reports while a test runs (script errors, engine errors, including the
## library's own error guards) fail that test, so a fault is pinned to the test that caused it.
## Objects still alive after a suite is released fail the suite as a leak.

const TestCaseScript := preload("res://test_case.gd")
# A suite that does not parse can report dozens of errors; the engine output above has them all.
const MAX_PROBLEMS_SHOWN := 8


## Collects engine and script errors; warnings are left alone (the library warns by design).
class ErrorTrap:
	extends Logger

	var _errors: PackedStringArray = []
	var _mutex := Mutex.new()

	func _log_error(function: String, file: String, line: int, code: String, rationale: String,
			_editor_notify: bool, error_type: int, _script_backtraces: Array[ScriptBacktrace]) -> void:
		if error_type == ERROR_TYPE_WARNING:
			return
		var kind := "SCRIPT ERROR" if error_type == ERROR_TYPE_SCRIPT else "engine error"
		var text := rationale if rationale != "" else code
		_mutex.lock()
		_errors.append("%s: %s (%s:%d in %s)" % [kind, text, file, line, function])
		_mutex.unlock()

	func _log_message(_message: String, _error: bool) -> void:
		pass

	func take() -> PackedStringArray:
		_mutex.lock()
		var errors := _errors
		_errors = PackedStringArray()
		_mutex.unlock()
		return errors


var _trap: ErrorTrap
var _passed := 0
var _failed := 0


func _initialize() -> void:
	var code = _run()
	# A script error inside the runner itself leaves `code` null: still quit, and fail.
	quit(code if code is int else 1)


func _run() -> int:
	_trap = ErrorTrap.new()
	OS.add_logger(_trap)
	var filter := _filter_argument()
	var ran_any := false
	for file in _suite_files():
		ran_any = _run_suite(file, filter) or ran_any
	if not ran_any:
		_report("runner.gd", "<discovery>", ["no test ran (filter %s)" % [filter if filter != "" else "none"]])
	OS.remove_logger(_trap)
	_trap = null
	print("%d passed, %d failed" % [_passed, _failed])
	return 1 if _failed > 0 else 0


func _filter_argument() -> String:
	for arg in OS.get_cmdline_user_args():
		if arg.begins_with("--filter="):
			return arg.trim_prefix("--filter=")
	return ""


func _suite_files() -> PackedStringArray:
	var files := PackedStringArray()
	for file in DirAccess.get_files_at("res://"):
		if file.begins_with("test_") and file.ends_with(".gd"):
			files.append(file)
	files.sort()
	return files


# Returns whether any test of the suite was selected.
func _run_suite(file: String, filter: String) -> bool:
	# A filtered run does not even load suites it cannot select (another suite may be mid-edit).
	if filter != "" and not _may_select(file, filter):
		return false
	var script = load("res://" + file)
	var load_errors := _trap.take()
	# Counted after loading: the engine keeps a loaded script alive in its cache.
	var objects_before := Performance.get_monitor(Performance.OBJECT_COUNT)
	if not script is GDScript or not script.can_instantiate():
		_report(file, "<load>", Array(load_errors) if not load_errors.is_empty() else ["the suite does not load"])
		return true
	var tests := _test_names(script, file, filter)
	if tests.is_empty():
		return false
	var suite = script.new()
	var init_errors := _trap.take()
	if not suite is TestCaseScript:
		if suite is Object and not suite is RefCounted:
			suite.free()
		_report(file, "<load>", ["the suite does not extend TestCase"] + Array(init_errors))
		return true
	if not init_errors.is_empty():
		_report(file, "<init>", Array(init_errors))
	for test in tests:
		_run_test(suite, file, test)
	suite = null
	var leaked := Performance.get_monitor(Performance.OBJECT_COUNT) - objects_before
	if leaked > 0:
		_report(file, "<suite>", ["%d objects still alive after the suite was released (leak)" % leaked])
	return true


func _may_select(file: String, filter: String) -> bool:
	if ("%s::" % file).contains(filter):
		return true
	var source := FileAccess.get_file_as_string("res://" + file)
	var pattern := RegEx.create_from_string("(?m)^func\\s+(test_\\w+)")
	for found in pattern.search_all(source):
		if ("%s::%s" % [file, found.get_string(1)]).contains(filter):
			return true
	return false


func _test_names(script: GDScript, file: String, filter: String) -> PackedStringArray:
	var names := PackedStringArray()
	# Source order; methods of the base class follow the suite's own and start with no "test_".
	for method in script.get_script_method_list():
		var name: String = method["name"]
		if not name.begins_with("test_") or names.has(name):
			continue
		# String.contains("") is false, hence the explicit test for no filter.
		if filter == "" or ("%s::%s" % [file, name]).contains(filter):
			names.append(name)
	return names


func _run_test(suite: TestCaseScript, file: String, test: String) -> void:
	_trap.take()
	suite._tc_begin_test()
	if suite.has_method("before_each"):
		suite.call("before_each")
	var result = suite.call(test)
	var problems: Array = []
	if result is Object and result.get_class() == "GDScriptFunctionState":
		problems.append("the test awaits; tests must run to the end in one call")
	if suite.has_method("after_each"):
		suite.call("after_each")
	suite._tc_end_test()
	problems.append_array(Array(suite._tc_failures))
	problems.append_array(Array(_trap.take()))
	if problems.is_empty():
		_passed += 1
	else:
		_report(file, test, problems)


func _report(file: String, test: String, problems: Array) -> void:
	_failed += 1
	var shown := PackedStringArray(problems.slice(0, MAX_PROBLEMS_SHOWN))
	if problems.size() > MAX_PROBLEMS_SHOWN:
		shown.append("(%d more)" % (problems.size() - MAX_PROBLEMS_SHOWN))
	print("FAIL %s::%s: %s" % [file, test, "; ".join(shown)])
