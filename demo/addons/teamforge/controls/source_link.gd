extends RefCounted
# A control's link to its source, a GameCore or a TournamentManager: the source's change signals ask for one
# refresh, run once at the end of the frame however many signals a day sends. The source may be freed at any
# time; a freed or unfitting source reads as none, and one freed in the tree clears the control by itself. The link holds the source weakly, so a control never keeps
# a game alive.

## What a tournament's view listens to: a day passed, a match was played, a tournament changed.
const TOURNAMENT_SIGNALS := [&"current_date_changed", &"achievement_event", &"tournament_updated", &"day_advanced"]
const LEADERBOARD_SIGNALS := [&"leaderboard_changed"]

var _refresh: Callable
var _source: WeakRef
var _connections: Array = []
var _pending := false


func _init(refresh: Callable) -> void:
	_refresh = refresh


func bind(node: Object, signals: Array) -> void:
	var old := source()
	for connection in _connections:
		if old != null and old.is_connected(connection[0], connection[1]):
			old.disconnect(connection[0], connection[1])
	_connections.clear()
	_source = weakref(node) if node != null and is_instance_valid(node) else null
	if _source == null:
		return
	for signal_name: StringName in signals:
		if node.has_signal(signal_name):
			var call := request.unbind(1)
			node.connect(signal_name, call)
			_connections.append([signal_name, call])
	# A source leaving the tree is often on its way out: the next refresh finds out.
	if node is Node:
		node.connect(&"tree_exited", request)
		_connections.append([&"tree_exited", request])


## The source while it exists, else null.
func source() -> Object:
	var node: Object = _source.get_ref() if _source != null else null
	return node if node != null and is_instance_valid(node) else null


## Whether a source was set (it may since have been freed).
func is_bound() -> bool:
	return _source != null


## A refresh at the end of this frame.
func request() -> void:
	if not _pending and _refresh.is_valid():
		_pending = true
		_run.call_deferred()


## The source's tournament by its id ("3"), or an empty dictionary.
func tournament(id: String) -> Dictionary:
	var node := source()
	if node == null or not node.has_method(&"get_tournament") or not id.strip_edges().is_valid_int():
		return {}
	var t: Variant = node.call(&"get_tournament", id.strip_edges().to_int())
	return t if t is Dictionary else {}


## The source's leaderboard for a region and order, or an empty dictionary.
func leaderboard(region: String, sort_by: String) -> Dictionary:
	var node := source()
	if node == null or not node.has_method(&"get_leaderboard_data"):
		return {}
	var data: Variant = node.call(&"get_leaderboard_data", region, sort_by)
	return data if data is Dictionary else {}


func _run() -> void:
	_pending = false
	if _refresh.is_valid():
		_refresh.call()
