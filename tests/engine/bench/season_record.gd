extends SceneTree
# Records everything the bench season hands to scripts, as var_to_str text, so that two builds of the
# library can be compared line by line (tools/record_season.sh does the staging and the comparison):
#   listened   the season of bench_season.gd through TournamentManager, with every signal of the manager,
#              its simulator and the team database recorded as it arrives, then the manager's and the
#              database's saves;
#   unlisted   the same season with no handler connected anywhere, then both saves: payloads that are
#              only built for listeners must leave the season as it was;
#   game_core  the season through GameCore, with the game core's signals recorded, then its save;
#   retyped    the season saved on its 60th day, loaded with its lists and maps typed as a script may
#              type them, and played on, then both saves.
# Each section ends with a line "== <section> sha256 <hash>" of its own lines.
#   tools/godot --headless --path <project> -s res://bench/season_record.gd -- --out=<file>

const Bench := preload("res://bench/bench_season.gd")
const DAYS := 365

var _lines := PackedStringArray()


func _record(source: String, signal_name: String, args: Array) -> void:
	_lines.append("%s.%s %s" % [source, signal_name, var_to_str(args)])


# Every signal the object's own class declares, recorded under p_source.
func _listen(object: Object, source: String) -> void:
	for info in ClassDB.class_get_signal_list(object.get_class(), true):
		var signal_name: String = info.name
		match info.args.size():
			0:
				object.connect(signal_name, func() -> void: _record(source, signal_name, []))
			1:
				object.connect(signal_name, func(a) -> void: _record(source, signal_name, [a]))
			_:
				push_error("no recorder for %s.%s" % [source, signal_name])


func _organise(create: Callable) -> void:
	for request in Bench.SEASON:
		create.call(request[0], request[1], request[2], request[3])


# A default team database and a manager on it with the bench season's funds and seed: [database, manager].
func _seeded_manager() -> Array:
	var db := TeamDatabase.new()
	db.initialize_defaults()
	var tm := TournamentManager.new()
	tm.set_team_database(db)
	tm.set_available_funds(1000000000)
	tm.get_match_simulator().set_seed(Bench.SEED)
	return [db, tm]


func _manager_season(listened: bool) -> void:
	var pair := _seeded_manager()
	var db: TeamDatabase = pair[0]
	var tm: TournamentManager = pair[1]
	if listened:
		_listen(tm, "manager")
		_listen(tm.get_match_simulator(), "simulator")
		_listen(db, "database")
	_organise(tm.create_tournament)
	for day in DAYS:
		tm.advance_day()
	_lines.append("manager.to_dict %s" % var_to_str(tm.to_dict()))
	_lines.append("database.to_dict %s" % var_to_str(db.to_dict()))
	tm.free()
	db.free()


# Typed containers take other paths when the tournaments write into them.
func _retyped(save: Dictionary) -> Dictionary:
	for t in save.tournaments:
		var placements: Array[Dictionary] = []
		placements.assign(t.placements)
		t.placements = placements
		var deltas: Dictionary[String, int] = {}
		deltas.assign(t.vrs_delta_map)
		t.vrs_delta_map = deltas
		for stage in t.stages:
			var records: Array[Dictionary] = []
			records.assign(stage.records)
			stage.records = records
			for node in stage.nodes:
				for side in ["team_a", "team_b"]:
					var entry: Dictionary[String, Variant] = {}
					entry.assign(node[side])
					node[side] = entry
	return save


func _retyped_season() -> void:
	var pair := _seeded_manager()
	var db: TeamDatabase = pair[0]
	var tm: TournamentManager = pair[1]
	_organise(tm.create_tournament)
	for day in 60:
		tm.advance_day()
	var seed := tm.get_match_simulator().get_seed()
	tm.from_dict(_retyped(tm.to_dict()))
	tm.get_match_simulator().set_seed(seed)
	for day in DAYS - 60:
		tm.advance_day()
	_lines.append("manager.to_dict %s" % var_to_str(tm.to_dict()))
	_lines.append("database.to_dict %s" % var_to_str(db.to_dict()))
	tm.free()
	db.free()


func _game_core_season() -> void:
	var core := GameCore.new()
	core.initialize_new_game()
	core.set_credits(1000000000)
	# The game core keeps its manager to itself; the relay's connection leads to it.
	var manager: TournamentManager = core.get_incoming_connections()[0].signal.get_object()
	manager.get_match_simulator().set_seed(Bench.SEED)
	_listen(core, "core")
	_organise(core.create_tournament)
	for day in DAYS:
		core.advance_day()
	_lines.append("core.to_dict %s" % var_to_str(core.to_dict()))
	core.free()


func _close_section(section: String, from: int) -> void:
	var text := "\n".join(_lines.slice(from))
	_lines.append("== %s sha256 %s" % [section, text.sha256_text()])
	print("%s: %d lines, sha256 %s" % [section, _lines.size() - from, text.sha256_text()])


func _init() -> void:
	var out := ""
	for argument in OS.get_cmdline_user_args():
		if argument.begins_with("--out="):
			out = argument.trim_prefix("--out=")
	if out.is_empty():
		push_error("usage: -s res://bench/season_record.gd -- --out=<file>")
		quit(2)
		return
	var start := 0
	_manager_season(true)
	_close_section("listened", start)
	start = _lines.size()
	_manager_season(false)
	_close_section("unlisted", start)
	start = _lines.size()
	_game_core_season()
	_close_section("game_core", start)
	start = _lines.size()
	_retyped_season()
	_close_section("retyped", start)
	var file := FileAccess.open(out, FileAccess.WRITE)
	if file == null:
		push_error("cannot write %s" % out)
		quit(1)
		return
	file.store_string("\n".join(_lines) + "\n")
	file.close()
	quit()
