extends Logger
# Keeps the warnings the engine prints while it is added (OS.add_logger), for tests of what the library
# warns about; the runner itself lets warnings pass.

var warnings: PackedStringArray = []
var _mutex := Mutex.new()


func _log_error(_function: String, _file: String, _line: int, code: String, rationale: String,
		_editor_notify: bool, error_type: int, _script_backtraces: Array[ScriptBacktrace]) -> void:
	if error_type == ERROR_TYPE_WARNING:
		_mutex.lock()
		warnings.append(rationale if rationale != "" else code)
		_mutex.unlock()
