extends SceneTree
# Makes one release's set of saves with whatever library the project loads: a GameCore game in the middle
# of its season, a TournamentManager (with its database) whose Major is in its Swiss stage, and an
# EconomySystem with open and settled guesses; each as text (var_to_str) and as compressed binary
# (store_var, zstd). Only members the first tournament-manager release already had are used, so an old
# build makes its set with this same script (tools/make_release_saves.sh).
#   godot --headless --path <project> -s res://release_saves.gd -- --out=<folder>

const SEED := 424242


func _initialize() -> void:
	var out := ""
	for argument in OS.get_cmdline_user_args():
		if argument.begins_with("--out="):
			out = argument.trim_prefix("--out=")
	if out == "" or DirAccess.make_dir_recursive_absolute(out) != OK:
		printerr("release_saves: give an existing or new folder as --out=<folder>")
		quit(2)
		return
	var saves := {"game_core": _game_core_save(), "tournament_manager": _manager_save(), "economy": _economy_save()}
	for kind in saves:
		if saves[kind].is_empty():
			printerr("release_saves: no %s save" % kind)
			quit(1)
			return
		var text := FileAccess.open(out.path_join(kind + ".txt"), FileAccess.WRITE)
		text.store_string(var_to_str(saves[kind]) + "\n")
		text.close()
		var binary := FileAccess.open_compressed(out.path_join(kind + ".bin"), FileAccess.WRITE, FileAccess.COMPRESSION_ZSTD)
		binary.store_var(saves[kind])
		binary.close()
	print("release_saves: wrote %s" % ", ".join(saves.keys()))
	quit(0)


# A game seeded through its own member where the release has one, else through its manager's simulator.
func _seed_game(game: GameCore) -> void:
	if game.has_method("set_seed"):
		game.call("set_seed", SEED)
		return
	for connection in game.get_incoming_connections():
		var source: Object = connection.signal.get_object()
		if source is TournamentManager:
			source.get_match_simulator().set_seed(SEED)


# Three tournaments on the day of the save: one finished (archived where the release can), one under
# way, one still to come.
func _game_core_save() -> Dictionary:
	var game := GameCore.new()
	_seed_game(game)
	game.set_credits(5000000)
	game.create_tournament("BLAST", "TIER_S", "2026-01-05", "London")
	game.create_tournament("IEM", "TIER_1", "2026-02-01", "Cologne")
	game.create_tournament("EPL", "TIER_2", "2026-05-01", "")
	while game.get_current_date() < "2026-02-20":
		game.advance_day()
	# Releases that archive keep the finished tournament as its history only.
	if game.has_method("archive_tournaments_before"):
		game.call("archive_tournaments_before", "2026-02-20")
	var save: Dictionary = game.to_dict()
	game.free()
	return save


# A Major in the second round of its first Swiss stage; the database comes along, as a game keeps both.
func _manager_save() -> Dictionary:
	var db := TeamDatabase.new()
	db.initialize_defaults()
	var tm := TournamentManager.new()
	tm.set_team_database(db)
	tm.get_match_simulator().set_seed(SEED)
	tm.create_tournament("MAJOR", "HIGHEST", "2026-01-05", "Paris")
	var save := {}
	for day in 200:
		var major: Dictionary = tm.get_tournaments()[0]
		if major.status == "ACTIVE" and major.stages[major.current_stage_idx].type == "SWISS" \
				and major.stages[major.current_stage_idx].current_round == 2:
			save = {"team_database": db.to_dict(), "tournament_manager": tm.to_dict()}
			break
		tm.advance_day()
	tm.free()
	db.free()
	return save


# Four guesses on two matches of the roster's teams, the first match settled.
func _economy_save() -> Dictionary:
	var db := TeamDatabase.new()
	db.initialize_defaults()
	var teams := db.get_teams()
	var eco := EconomySystem.new()
	var ids := []
	for i in 4:
		var a: TeamData = teams[2 * (i >> 1)]
		var b: TeamData = teams[2 * (i >> 1) + 1]
		var pick: TeamData = a if i % 2 == 0 else b
		var placed: Dictionary = eco.place_guess(4, "Cup", 0, "R1-M%d" % ((i >> 1) + 1), "%s vs %s" % [a.get_name(), b.get_name()],
				"2026-03-0%d" % ((i >> 1) + 1), a, b, pick.get_id(), 1000 * (i + 1))
		ids.append(placed.get("guess", {}).get("id", ""))
	eco.settle_prediction(ids[0], teams[0].get_id(), teams[0].get_name(), "2026-03-01")
	eco.settle_prediction(ids[1], teams[0].get_id(), teams[0].get_name(), "2026-03-01")
	var save: Dictionary = eco.to_dict()
	db.free()
	return save
