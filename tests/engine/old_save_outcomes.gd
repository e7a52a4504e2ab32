extends RefCounted
# What today's library reaches from a save kept from an earlier release: the state right after the load,
# then the game played on with a fixed seed to the end of its season (GameCore), its tournaments played
# to the end (TournamentManager with its database), or its open guesses settled (EconomySystem). The
# old-save suite and the recording tool (tools/make_release_saves.sh results) both go through here.

const KINDS := ["game_core", "tournament_manager", "economy"]
const FORMS := ["txt", "bin"]
const SEED := 7
const SEASON_END := "2026-12-31"
const MAX_DAYS := 400


## The folder that holds a release's save of a kind: the release's own, or that of the earlier release
## whose save it wrote byte for byte, named by <kind>.same_as (one copy of each distinct save is kept).
static func save_folder(saves: String, release: String, kind: String) -> String:
	var same_as := saves.path_join(release).path_join(kind + ".same_as")
	if FileAccess.file_exists(same_as):
		return saves.path_join(FileAccess.get_file_as_string(same_as).strip_edges())
	return saves.path_join(release)


static func read_save(path: String) -> Variant:
	if path.ends_with(".txt"):
		return str_to_var(FileAccess.get_file_as_string(path))
	var file := FileAccess.open_compressed(path, FileAccess.READ, FileAccess.COMPRESSION_ZSTD)
	if file == null:
		return null
	var value: Variant = file.get_var()
	file.close()
	return value


static func digest(value: Variant) -> String:
	return var_to_str(value).sha256_text()


static func outcome(kind: String, save: Dictionary) -> Dictionary:
	match kind:
		"game_core":
			return _game_core(save)
		"tournament_manager":
			return _manager(save)
		"economy":
			return _economy(save)
	return {}


static func _game_core(save: Dictionary) -> Dictionary:
	var game := GameCore.new()
	game.from_dict(save)
	var result := {"loaded": digest(game.to_dict())}
	game.set_seed(SEED)
	for day in MAX_DAYS:
		if game.get_current_date() >= SEASON_END:
			break
		game.advance_day()
	result["date"] = game.get_current_date()
	result["champions"] = game.get_tournament_summaries().map(func(s): return [s.name, s.status, s.champion_name])
	result["credits"] = game.get_credits()
	result["final"] = digest(game.to_dict())
	game.free()
	return result


static func _manager(save: Dictionary) -> Dictionary:
	var db := TeamDatabase.new()
	db.from_dict(save.get("team_database", {}))
	var tm := TournamentManager.new()
	tm.set_team_database(db)
	tm.from_dict(save.get("tournament_manager", {}))
	var result := {"loaded": digest([db.to_dict(), tm.to_dict()])}
	tm.get_match_simulator().set_seed(SEED)
	for day in MAX_DAYS:
		if tm.get_tournaments().all(func(t): return t.status == "COMPLETED"):
			break
		tm.advance_day()
	result["date"] = db.get_current_date()
	result["champions"] = tm.get_tournaments().map(func(t): return [t.name, t.status,
			t.standings[0].team.name if not t.standings.is_empty() else ""])
	result["funds"] = tm.get_available_funds()
	result["final"] = digest([db.to_dict(), tm.to_dict()])
	tm.free()
	db.free()
	return result


# Each open guess settles as won by its match's first team.
static func _economy(save: Dictionary) -> Dictionary:
	var eco := EconomySystem.new()
	eco.from_dict(save)
	var result := {"loaded": digest(eco.to_dict())}
	var settled := 0
	for guess in eco.get_guess_history():
		if guess.status == "OPEN":
			settled += int(eco.settle_prediction(guess.id, guess.team_a_id, guess.team_a_name, "2026-04-01").get("ok", false))
	result["settled"] = settled
	result["funds"] = eco.get_funds()
	result["final"] = digest(eco.to_dict())
	return result
