extends TestCase
# The additions for long careers, on TournamentManager and through GameCore: one tournament by id, the
# summary list, and archiving completed tournaments down to their history without changing any result.

const SEED := 20261201
# The season below ends by June; a tournament left pending fails at this cap instead of at the engine's.
const MAX_DAYS := 365
const SUMMARY_KEYS := ["id", "name", "format_id", "tier_id", "status", "inv_date", "start_date", "prize", "city",
	"champion_id", "champion_name", "archived"]
# What archiving empties; every other field of the record is kept, the standings without the team
# entries' honours.
const DROPPED := {"stages": [], "placements": [], "initial_vrs": {}, "vrs_delta_map": {}, "major_direct": {},
	"participants": [], "advanced_pool": []}
const REQUESTS := [["MAJOR", "HIGHEST", "2026-01-05", "Paris"], ["EPL", "TIER_1", "2026-01-03", ""],
	["IEM", "HIGHEST", "2026-01-04", "Katowice"], ["EWC", "HIGHEST", "2026-01-06", ""],
	["BLAST", "TIER_S", "2026-01-07", "London"], ["EPL", "TIER_OPEN", "2026-02-20", ""],
	["BLAST", "TIER_1", "2026-03-02", "Lisbon"], ["IEM", "TIER_S", "2026-02-01", "Cologne"]]


# A seeded manager with the season organised, and its database.
func _game() -> Array:
	var db: TeamDatabase = autofree(TeamDatabase.new())
	db.initialize_defaults()
	var tm: TournamentManager = autofree(TournamentManager.new())
	tm.set_team_database(db)
	tm.get_match_simulator().set_seed(SEED)
	for r in REQUESTS:
		tm.create_tournament(r[0], r[1], r[2], r[3])
	return [db, tm]


static func _completed(tm: TournamentManager) -> Array:
	return tm.get_tournaments().filter(func(t): return t.status == "COMPLETED")


# Plays until at least three tournaments are completed.
func _play_into_the_season(tm: TournamentManager) -> bool:
	return assert_reached(tm, func(): return _completed(tm).size() >= 3, MAX_DAYS, "three tournaments completed")


func _play_to_the_end(tm: TournamentManager) -> bool:
	return assert_reached(tm, func(): return tm.get_tournaments().all(func(t): return t.status == "COMPLETED"), MAX_DAYS,
			"every tournament completed")


static func _last_day(t: Dictionary) -> String:
	var last := ""
	for stage in t.stages:
		for node in stage.nodes:
			if node.date > last:
				last = node.date
	return last


# The record as archiving leaves it: the match records emptied, and the honours of the moment gone from
# the standings' team entries.
static func _archived_form(t: Dictionary) -> Dictionary:
	var archived := t.duplicate(true)
	archived.merge(DROPPED, true)
	for standing in archived.standings:
		standing.team.honors = []
	return archived


func test_light_queries_match_the_full_records_and_belong_to_the_caller() -> void:
	var tm: TournamentManager = _game()[1]
	_play_into_the_season(tm)
	var list := tm.get_tournaments()
	var summaries := tm.get_tournament_summaries()
	assert_true(list.any(func(t): return t.status != "COMPLETED"), "some tournaments are still running")
	assert_eq(summaries.size(), list.size(), "one summary per tournament")
	for i in mini(list.size(), summaries.size()):
		var t: Dictionary = list[i]
		var summary: Dictionary = summaries[i]
		assert_keys(summary, SUMMARY_KEYS, "%s: summary keys" % t.name)
		for key in ["id", "name", "format_id", "tier_id", "status", "inv_date", "start_date", "prize", "city"]:
			assert_eq(summary[key], t[key], "%s: summary %s" % [t.name, key])
		var champion: Dictionary = t.standings[0].team if t.status == "COMPLETED" else {}
		assert_eq([summary.champion_id, summary.champion_name], [champion.get("id", ""), champion.get("name", "")],
				"%s: champion" % t.name)
		assert_false(summary.archived, "%s: not archived" % t.name)
		assert_eq(tm.get_tournament(t.id), t, "%s: get_tournament gives the same record" % t.name)
	assert_eq([tm.get_tournament(0), tm.get_tournament(-1), tm.get_tournament(1 << 40)], [{}, {}, {}], "unknown ids")

	# What the caller got is its own, at every depth.
	var completed: Dictionary = _completed(tm)[0]
	var mine := tm.get_tournament(completed.id)
	mine.standings[0].team.name = "changed"
	mine.stages[0].nodes.clear()
	summaries[0].name = "changed"
	assert_eq(tm.get_tournament(completed.id), completed, "a changed copy leaves the record alone")
	assert_eq(tm.get_tournament_summaries()[0].name, list[0].name, "a changed summary leaves the record alone")


func test_archiving_keeps_the_history_and_changes_no_result() -> void:
	var plain: Array = _game()
	var cut_early: Array = _game()
	var in_handler: Array = _game()
	# Archives every tournament from inside its own completion, while the day still runs.
	var handler_tm: TournamentManager = in_handler[1]
	handler_tm.tournament_completed.connect(func(_id): handler_tm.archive_tournaments_before("9999-12-31"))
	for game in [plain, cut_early, in_handler]:
		if not _play_into_the_season(game[1]):
			return
	var tm: TournamentManager = cut_early[1]
	var before := tm.get_tournaments()
	var summaries_before := tm.get_tournament_summaries()

	# A cut between the completed tournaments' last match days archives the earlier ones only.
	var last_days := _completed(tm).map(_last_day)
	last_days.sort()
	var cut: String = last_days[last_days.size() / 2]
	var expected := before.filter(func(t): return t.status == "COMPLETED" and _last_day(t) < cut).map(func(t): return t.id)
	assert_true(expected.size() >= 1 and expected.size() < last_days.size(), "the cut %s splits the completed" % cut)
	assert_eq(tm.archive_tournaments_before(cut), expected.size(), "count of archived tournaments")
	var after := tm.get_tournaments()
	var summaries := tm.get_tournament_summaries()
	for i in before.size():
		var t: Dictionary = before[i]
		var archived: bool = t.id in expected
		assert_eq(after[i], _archived_form(t) if archived else t, "%s: record after archiving" % t.name)
		assert_keys(after[i], t.keys(), "%s: the record keeps its shape" % t.name)
		var summary: Dictionary = summaries_before[i].duplicate()
		summary.archived = archived
		assert_eq(summaries[i], summary, "%s: summary after archiving" % t.name)
	assert_eq(tm.archive_tournaments_before(cut), 0, "archiving again finds nothing left to drop")
	assert_eq(tm.archive_tournaments_before(""), 0, "nothing finished before an empty date")
	var reloaded: TournamentManager = autofree(TournamentManager.new())
	reloaded.from_dict(tm.to_dict())
	assert_eq(reloaded.to_dict(), tm.to_dict(), "an archived career loads back as it was")

	# The rest of the season plays out the same in all three games; archived records stay as archived.
	var archived_now := after.filter(func(t): return t.id in expected)
	for game in [plain, cut_early, in_handler]:
		if not _play_to_the_end(game[1]):
			return
	assert_eq(cut_early[0].to_dict(), plain[0].to_dict(), "teams after the season, archived early")
	assert_eq(in_handler[0].to_dict(), plain[0].to_dict(), "teams after the season, archived in the handler")
	var full: Array = plain[1].get_tournaments()
	assert_true(full.any(func(t): return t.standings.any(func(s): return not s.team.honors.is_empty())),
			"standings carry honours that archiving drops")
	for game in [cut_early, in_handler]:
		assert_eq(game[1].get_available_funds(), plain[1].get_available_funds(), "funds after the season")
		assert_eq(game[1].get_major_slots(), plain[1].get_major_slots(), "next Major's quotas")
		var list: Array = game[1].get_tournaments()
		for i in full.size():
			var was_archived: bool = game == in_handler or full[i].id in expected
			assert_eq(list[i], _archived_form(full[i]) if was_archived else full[i], "%s after the season" % full[i].name)
	for t in archived_now:
		assert_eq(tm.get_tournament(t.id), t, "%s: the day driver leaves an archived record alone" % t.name)


func test_game_core_reaches_the_light_queries_and_archiving() -> void:
	var game: GameCore = autofree(GameCore.new())
	assert_eq([game.get_tournament_summaries(), game.get_tournament(1), game.archive_tournaments_before("9999-01-01")],
			[[], {}, 0], "a new game has nothing to list or archive")
	for r in REQUESTS:
		game.create_tournament(r[0], r[1], r[2], r[3])
	if not assert_reached(game, func(): return game.get_tournament_summaries().any(func(s): return s.status == "COMPLETED"),
			MAX_DAYS, "a tournament completed"):
		return
	var list: Array = game.get_organize_data().tournaments
	var summaries := game.get_tournament_summaries()
	assert_eq(summaries.map(func(s): return [s.id, s.status, s.name]), list.map(func(t): return [t.id, t.status, t.name]),
			"summaries of the game's tournaments")
	for t in list:
		assert_eq(game.get_tournament(t.id), t, "%s through GameCore" % t.name)
	var completed := list.filter(func(t): return t.status == "COMPLETED")
	assert_eq(game.archive_tournaments_before("9999-01-01"), completed.size(), "archived through GameCore")
	for t in completed:
		assert_eq(game.get_tournament(t.id), _archived_form(t), "%s archived" % t.name)



# A load makes equal honour lists of the records' team entries one list: the loaded game must still
# belong to neither the save it came from nor the saves it hands out, and play on exactly as if never saved.
func test_a_loaded_career_shares_nothing_with_its_saves_and_plays_on_the_same() -> void:
	var game: Array = _game()
	if not _play_into_the_season(game[1]):
		return
	var save: Dictionary = game[1].to_dict()
	var pristine := save.duplicate(true)
	var db: TeamDatabase = autofree(TeamDatabase.new())
	db.from_dict(game[0].to_dict())
	var loaded: TournamentManager = autofree(TournamentManager.new())
	loaded.set_team_database(db)
	loaded.from_dict(save)
	var with_honours := 0
	for t in save.tournaments:
		for stage in t.stages:
			for node in stage.nodes:
				for side in ["team_a", "team_b", "winner", "loser"]:
					if node[side] is Dictionary and not node[side].get("honors", []).is_empty():
						with_honours += 1
						node[side].honors.append({"forged": true})
		for standing in t.standings:
			standing.team.get("honors", []).clear()
	assert_true(with_honours > 10, "the save's entries carry honours (%d)" % with_honours)
	assert_eq(loaded.to_dict(), pristine, "a change to the loaded save reaches nothing in the game")
	var handed: Dictionary = loaded.to_dict()
	for t in handed.tournaments:
		for stage in t.stages:
			for node in stage.nodes:
				if node.team_a is Dictionary and node.team_a.has("honors"):
					node.team_a.honors.clear()
	assert_eq(loaded.to_dict(), pristine, "a change to one handed-out entry reaches no other")
	# The simulator's state is not saved: both go on from the same seed.
	for tm in [game[1], loaded]:
		tm.get_match_simulator().set_seed(SEED + 1)
		if not _play_to_the_end(tm):
			return
	assert_eq(loaded.to_dict(), game[1].to_dict(), "the loaded career plays on as the unsaved one")
	assert_eq(db.to_dict(), game[0].to_dict(), "teams after the season")
