extends TestCase
# Separate games on separate threads: each game's objects made, played, saved and freed by one thread,
# several games at once. A seeded season saves the same on a Thread and on the WorkerThreadPool as when
# played alone on the main thread.

const SEEDS := [7, 2026, 31337]
const REQUESTS := [["MAJOR", "HIGHEST", "2026-01-05", "Paris"], ["IEM", "TIER_S", "2026-01-10", "Cologne"],
	["EPL", "TIER_2", "2026-01-03", ""], ["BLAST", "HIGHEST", "2026-02-01", "London"], ["EWC", "HIGHEST", "2026-02-10", ""]]
const MAX_DAYS := 365


# One season on whatever thread calls it; returns its save and the number of completed tournaments.
static func _season(seed_value: int) -> Dictionary:
	var db := TeamDatabase.new()
	db.initialize_defaults()
	var tm := TournamentManager.new()
	tm.set_team_database(db)
	tm.get_match_simulator().set_seed(seed_value)
	var events := [0]
	tm.achievement_event.connect(func(_event: Dictionary) -> void: events[0] += 1)
	for r in REQUESTS:
		tm.create_tournament(r[0], r[1], r[2], r[3])
	for day in MAX_DAYS:
		if tm.get_tournament_summaries().all(func(s): return s.status == "COMPLETED"):
			break
		tm.advance_day()
	tm.archive_tournaments_before("2026-03-15")
	var save := {"team_database": db.to_dict(), "tournament_manager": tm.to_dict(), "events": events[0],
		"summaries": tm.get_tournament_summaries()}
	tm.free()
	db.free()
	return save


# A whole game through GameCore, whose simulator is seeded at random: its save cannot be known ahead,
# but it must play through and load back.
static func _game_core_season() -> Array:
	var game := GameCore.new()
	var relayed := [0]
	game.achievement_event.connect(func(_event: Dictionary) -> void: relayed[0] += 1)
	for r in REQUESTS:
		game.create_tournament(r[0], r[1], r[2], r[3])
	for day in MAX_DAYS:
		if game.get_tournament_summaries().all(func(s): return s.status == "COMPLETED"):
			break
		game.advance_day()
	var loaded := GameCore.new()
	loaded.from_dict(game.to_dict())
	var result := [game.get_tournament_summaries().map(func(s): return s.status), relayed[0],
		loaded.to_dict() == game.to_dict()]
	loaded.free()
	game.free()
	return result


func test_seasons_on_threads_and_the_worker_pool_save_as_played_one_after_another() -> void:
	var sequential := SEEDS.map(_season)
	for save in sequential:
		assert_true(save.summaries.all(func(s): return s.status == "COMPLETED"), "every tournament completes")
		assert_true(save.summaries.any(func(s): return s.archived), "some tournaments were archived")
	assert_ne(sequential[0], sequential[1], "different seeds play different seasons")

	var threads: Array[Thread] = []
	for seed_value in SEEDS:
		var thread := Thread.new()
		thread.start(_season.bind(seed_value))
		threads.append(thread)
	assert_eq(threads.map(func(thread): return thread.wait_to_finish()), sequential, "seasons played on Threads")

	var pooled := []
	pooled.resize(SEEDS.size())
	var mutex := Mutex.new()
	var task := WorkerThreadPool.add_group_task(func(i: int) -> void:
		var save := _season(SEEDS[i])
		mutex.lock()
		pooled[i] = save
		mutex.unlock(), SEEDS.size())
	WorkerThreadPool.wait_for_group_task_completion(task)
	assert_eq(pooled, sequential, "seasons played on the WorkerThreadPool")


func test_games_through_game_core_play_side_by_side_on_threads() -> void:
	var threads: Array[Thread] = []
	for i in 2:
		var thread := Thread.new()
		thread.start(_game_core_season)
		threads.append(thread)
	for thread in threads:
		var result: Array = thread.wait_to_finish()
		assert_eq(result[0], REQUESTS.map(func(_r): return "COMPLETED"), "every tournament of the game completes")
		assert_true(result[1] > 0, "GameCore relays the manager's events on its thread")
		assert_true(result[2], "the game saves and loads back on its thread")
