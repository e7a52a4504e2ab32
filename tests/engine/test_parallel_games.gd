extends TestCase
# Separate games on separate threads: each game's objects made, played, saved and freed by one thread,
# several games at once. A seeded season saves the same on a Thread and on the WorkerThreadPool as when
# played alone on the main thread.

const SEEDS := [7, 2026, 31337]
const REQUESTS := [["MAJOR", "HIGHEST", "2026-01-05", "Paris"], ["IEM", "TIER_S", "2026-01-10", "Cologne"],
	["EPL", "TIER_2", "2026-01-03", ""], ["BLAST", "HIGHEST", "2026-02-01", "London"], ["EWC", "HIGHEST", "2026-02-10", ""]]


# Off the main thread a game cannot fail the test, so it says whether its season came to an end: a
# tournament left pending stops at the cap.
static func _play(game: Object) -> bool:
	for r in REQUESTS:
		game.create_tournament(r[0], r[1], r[2], r[3])
	var ended := advance_until(game, func(): return game.get_tournament_summaries().all(func(s): return s.status == "COMPLETED"), 365)
	game.archive_tournaments_before("2026-03-15")
	return ended


# One seeded season on whatever thread calls it: its save, its events and its summaries.
static func _season(seed_value: int) -> Dictionary:
	var db := TeamDatabase.new()
	db.initialize_defaults()
	var tm := TournamentManager.new()
	tm.set_team_database(db)
	tm.get_match_simulator().set_seed(seed_value)
	var events := [0]
	tm.achievement_event.connect(func(_event: Dictionary) -> void: events[0] += 1)
	var ended := _play(tm)
	var save := {"ended": ended, "team_database": db.to_dict(), "tournament_manager": tm.to_dict(), "events": events[0],
		"summaries": tm.get_tournament_summaries()}
	tm.free()
	db.free()
	return save


# A game through GameCore, seeded at random: it must relay its events and load back on its thread.
static func _game_core_season() -> Dictionary:
	var game := GameCore.new()
	var relayed := [0]
	game.achievement_event.connect(func(_event: Dictionary) -> void: relayed[0] += 1)
	var ended := _play(game)
	var loaded := GameCore.new()
	loaded.from_dict(game.to_dict())
	var result := {"ended": ended, "relayed": relayed[0] > 0, "loads back": loaded.to_dict() == game.to_dict(),
		"archived": game.get_tournament_summaries().any(func(s): return s.archived)}
	loaded.free()
	game.free()
	return result


func test_seasons_on_threads_and_the_worker_pool_save_as_played_one_after_another() -> void:
	var sequential := SEEDS.map(_season)
	if not assert_true(sequential.all(func(s): return s.ended), "every season ends"):
		return
	assert_true(sequential[0].summaries.any(func(s): return s.archived), "the season archives")
	assert_ne(sequential[0], sequential[1], "different seeds play different seasons")

	var threads: Array[Thread] = []
	for work in SEEDS.map(func(seed_value): return _season.bind(seed_value)) + [_game_core_season, _game_core_season]:
		threads.append(Thread.new())
		threads[-1].start(work)
	var results := threads.map(func(thread): return thread.wait_to_finish())
	assert_eq(results.slice(0, SEEDS.size()), sequential, "seasons played on Threads")
	for result in results.slice(SEEDS.size()):
		assert_eq(result, {"ended": true, "relayed": true, "loads back": true, "archived": true}, "a GameCore on its own Thread")

	var pooled := []
	pooled.resize(SEEDS.size())
	var mutex := Mutex.new()
	var task := WorkerThreadPool.add_group_task(func(i: int) -> void:
		var save := _season(SEEDS[i])
		mutex.lock()
		pooled[i] = save
		mutex.unlock(), SEEDS.size(), -1, true)
	WorkerThreadPool.wait_for_group_task_completion(task)
	assert_eq(pooled, sequential, "seasons played on the WorkerThreadPool")
