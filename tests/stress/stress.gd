extends SceneTree
## Seeded stress run of the library: random calls of all seven classes with hostile arguments, mutated
## saves, and signal handlers that re-enter, free, load or start a new game. After every call it checks
## that no engine or script error was reported, that every tournament the library can play moves on
## within BOUND_DAYS of its latest date and is completed within LIFE_DAYS, and that the saves, views and
## payloads kept from earlier calls still read as they did when handed out. Run it through
## tools/stress.sh:
##   tools/godot --headless --path tests/stress -s res://stress.gd -- [--seed S] [--calls N]
##       [--budget SECONDS] [--episodes N] [--skip category,...] [--keep-going] [--trace]
## Episode k of a run has the seed S + k and a world of its own, so "--seed E --calls K" replays the
## first K calls of the episode with seed E exactly; every failure prints that command.

const CATEGORIES := {
	"hostile_calls": "every bound method called with hostile arguments",
	"bad_dates": "tournaments created with invitation dates that are not calendar dates: refused",
	"mutate_types": "saves loaded with values of the wrong type",
	"mutate_keys": "saves loaded with keys missing",
	"mutate_indices": "saves loaded with stage, round, link and counter values pointing nowhere",
	"mutate_ids": "saves loaded with foreign or duplicated team ids",
	"reenter": "handlers calling back: days, creation, loading the emitter's own save, any method",
	"load_handlers": "handlers loading an earlier save into the game, the manager or the database",
	"new_game_handlers": "handlers starting a new game or putting new objects in place of the running ones",
	"swap_database": "handlers giving the running manager another database or none",
	"free_handlers": "handlers freeing the database, the settings or a game, or dropping a simulator",
	"free_running": "handlers freeing the manager whose day or match is running",
	"game_parts": "a game's own manager and database, reached through its signal connection, freed or rewired",
	"handouts": "a script changing what the library handed out must not change the game",
	"kept_saves": "saves, views and payloads compared after every later call with what they were",
}
# What a handler of each category can do; one is drawn per action (_act runs it).
const HANDLER_ACTIONS := {
	"reenter": ["advance the game", "advance the manager", "create a tournament", "load the emitter's own save",
		"make a hostile call"],
	"load_handlers": ["load the game", "load the manager", "load the database", "load the game's manager"],
	"new_game_handlers": ["start a new game", "put in a new manager", "put in a new game"],
	"swap_database": ["give the manager a new database", "take the manager's database",
		"give the manager the game's database"],
	"free_handlers": ["free the database", "free the settings", "free the game", "drop the manager's simulator"],
	"free_running": ["free the running manager"],
	"game_parts": ["free the game's manager", "free the game's database", "free the game while its parts work",
		"take the game's database", "give the game's manager our database"],
	"handouts": ["change the payload"],
	"kept_saves": ["keep the emitter's save"],
}
const MUTATIONS := ["mutate_types", "mutate_keys", "mutate_indices", "mutate_ids"]
# Steps of the main loop and their weights; the first five are ordinary play and always run.
const STEPS := {"advance_game": 8, "advance_manager": 8, "create": 2, "reload": 0.3, "bet": 1,
	"keep_save": 1, "hostile_call": 5, "bad_date": 0.5, "load_mutated": 1.5, "change_handout": 1}
const STEP_CATEGORY := {"keep_save": "kept_saves", "hostile_call": "hostile_calls", "bad_date": "bad_dates",
	"load_mutated": "mutate", "change_handout": "handouts"}
const LIVE := ["PENDING", "WAITING", "ACTIVE"]
# Days a live tournament may stay without a date beyond its latest one (rest days come on top): a stage
# schedules its rounds ahead, and after a forward jump of the date one round is played a day.
const BOUND_DAYS := 30
const LIFE_DAYS := 200
const MAX_KEPT := 6
const MAX_TOURNAMENTS := 12
const I32_MAX := 2147483647
const I64_MAX := 9223372036854775807
const INTS := [0, 1, 2, 3, 7, -1, I32_MAX, -I32_MAX - 1, I64_MAX, -I64_MAX - 1, 1 << 32, 100000000]
const FORMATS := ["MAJOR", "IEM", "EWC", "BLAST", "EPL"]
const TIERS := ["HIGHEST", "TIER_S", "TIER_1", "TIER_2", "TIER_3", "TIER_OPEN"]
const CITIES := ["Oslo", "Rome", "Lisbon", "Cairo", "Lima", "", "  Katowice  "]
const BAD_DATES := ["abc", "9999-99-99", "2026-13-45", "2026-02-30", "2026-03-01 junk", "", "2026-1-5", "2027-00-10"]
const INDEX_KEYS := ["current_stage_idx", "current_round", "next_id", "rest", "size", "stage_idx", "seed",
	"stage_seed", "next_tournament_id", "next_guess_id", "score_a", "score_b"]
const BAD_INDICES := [-1, -2, -I32_MAX - 1, I32_MAX, I64_MAX, 5, 9, 64, 1000000]
const FOREIGN_IDS := ["t-100", "t-9999", "", "t-0", "t-1", "T-0", "x y"]
const NO_DAY := -(1 << 62)


## Collects engine and script errors; the library's warnings are by design.
class ErrorTrap:
	extends Logger
	var errors: PackedStringArray = []
	var _mutex := Mutex.new()

	func _log_error(function: String, file: String, line: int, code: String, rationale: String,
			_editor_notify: bool, error_type: int, _script_backtraces: Array[ScriptBacktrace]) -> void:
		if error_type != ERROR_TYPE_WARNING:
			_mutex.lock()
			errors.append("%s (%s:%d in %s)" % [rationale if rationale != "" else code, file, line, function])
			_mutex.unlock()

	func take() -> PackedStringArray:
		_mutex.lock()
		var taken := errors
		errors = PackedStringArray()
		_mutex.unlock()
		return taken


var rng := RandomNumberGenerator.new()
var trap := ErrorTrap.new()
var opts := {"seed": 1, "calls": 0, "budget": 0.0, "episodes": 0, "keep_going": false, "trace": false}
var enabled := {}
var date_form := RegEx.create_from_string("^(\\d{4})-(\\d{2})-(\\d{2})$")
var long_text := "x".repeat(5000)
var days := {}  # date text -> day number, as read before
var freed_node: Node
var started_ms := 0
var episodes := 0
var calls := 0
var failures := 0
var object_baseline := -1
var tally := {}  # steps, handler actions and completed tournaments, for the summary
var stopped := false

# One episode's world. Objects replaced inside a handler wait in the graveyard until the call returns.
var game: GameCore
var db: TeamDatabase
var tm: TournamentManager
var sim: MatchSimulator
var eco: EconomySystem
var settings: GameSettings
var spare_team: TeamData
var graveyard: Array[Object] = []
var connected := {}  # instance ids whose signals reach _on_signal
var game_parts := {}  # instance ids of objects reached inside a game
var history := {}  # class -> earlier saves (private copies), for loading
var kept: Array = []  # [what, the value handed out, its text then, step]
var deadlines := {}  # manager id -> {"day", "next" day to look, "moved": {tournament: [day moved, progress, first seen]}}
var sizes := {}  # manager instance id -> tournaments it held when last checked
var episode_seed := 0
var step := 0
var step_name := ""
var step_actions: PackedStringArray = []
var failed := false
var handler_rate := 0.0
var hostility := 1.0
var depth := 0
var emitting: Array[int] = []  # objects emitting the signals whose handlers run
var calling: Array[int] = []  # objects in a Variant call of ours


func _initialize() -> void:
	OS.add_logger(trap)
	freed_node = Node.new()
	freed_node.free()
	for category in CATEGORIES:
		enabled[category] = true
	var args := OS.get_cmdline_user_args()
	var i := 0
	while i < args.size():
		var flag := args[i]
		var value := args[i + 1] if i + 1 < args.size() else ""
		i += 2
		match flag:
			"--seed", "--calls", "--episodes":
				opts[flag.trim_prefix("--")] = value.to_int()
			"--budget":
				opts.budget = value.to_float()
			"--skip":
				for category in value.split(",", false):
					if not enabled.has(category):
						_usage("unknown category %s" % category)
						return
					enabled[category] = false
			"--keep-going", "--trace":
				opts[flag.trim_prefix("--").replace("-", "_")] = true
				i -= 1
			_:
				_usage("unknown argument %s" % flag)
				return
	enabled.mutate = MUTATIONS.any(func(m: String) -> bool: return enabled[m])
	print("stress: seed %d, skipped: %s" % [opts.seed, ", ".join(CATEGORIES.keys().filter(func(c): return not enabled[c]))])
	started_ms = Time.get_ticks_msec()


func _usage(message: String) -> void:
	stopped = true
	printerr("stress: %s\ncategories:" % message)
	for category in CATEGORIES:
		printerr("  %-18s %s" % [category, CATEGORIES[category]])
	quit(2)


# One episode per frame, so that anything deferred runs and a leak shows between episodes.
func _process(_delta: float) -> bool:
	if stopped:
		return true
	var objects := int(Performance.get_monitor(Performance.OBJECT_COUNT))
	if object_baseline >= 0 and objects > object_baseline:
		_report("leak", "%d objects still alive after the episode was torn down" % [objects - object_baseline])
		failures += 1
	var out_of_time: bool = opts.budget > 0 and Time.get_ticks_msec() - started_ms > opts.budget * 1000
	var out_of_calls: bool = opts.calls > 0 and calls >= opts.calls
	var out_of_episodes: bool = opts.episodes > 0 and episodes >= opts.episodes
	if out_of_time or out_of_calls or out_of_episodes or (failures > 0 and not opts.keep_going):
		print("stress: %d calls in %d episodes, %.1f s, %d failures" % [calls, episodes,
				(Time.get_ticks_msec() - started_ms) / 1000.0, failures])
		var counts := tally.keys().map(func(k: String) -> String: return "%s %d" % [k, tally[k]])
		counts.sort()
		print("stress: ran %s" % ", ".join(counts))
		OS.remove_logger(trap)
		quit(1 if failures > 0 else 0)
		return false
	object_baseline = objects
	_run_episode(opts.seed + episodes)
	episodes += 1
	return false


func _run_episode(seed: int) -> void:
	episode_seed = seed
	print("episode seed=%d" % seed)
	rng.seed = seed
	step = 0
	failed = false
	# Calm episodes let seasons run long; wild ones meet more hostile actions.
	handler_rate = [0.0, 0.003, 0.02, 0.06][rng.randi() % 4]
	hostility = [0.1, 0.4, 1.0][rng.randi() % 3]
	game = GameCore.new()
	db = TeamDatabase.new()
	db.initialize_defaults()
	tm = TournamentManager.new()
	sim = MatchSimulator.new()
	eco = EconomySystem.new()
	settings = GameSettings.new()
	spare_team = TeamData.new()
	_repair()
	var length := rng.randi_range(200, 600)
	while step < length and not failed and (opts.calls <= 0 or calls < opts.calls):
		step += 1
		calls += 1
		step_name = _pick_step()
		step_actions.clear()
		if opts.trace:
			print("  step %d: %s" % [step, step_name])
		tally[step_name] = tally.get(step_name, 0) + 1
		call("_step_" + step_name)
		_check()
		_repair()
	for node in [tm, db, game, settings] + graveyard:
		if is_instance_valid(node):
			node.free()
	graveyard.clear()
	for parts in [connected, game_parts, history, deadlines, sizes]:
		parts.clear()
	kept.clear()
	sim = null
	eco = null
	spare_team = null


func _pick_step() -> String:
	var weights := {}
	var total := 0.0
	for name in STEPS:
		var category: String = STEP_CATEGORY.get(name, "")
		weights[name] = 0.0 if not enabled.get(category, true) else STEPS[name] * (hostility if category != "" else 1.0)
		total += weights[name]
	var roll := rng.randf() * total
	for name in STEPS:
		roll -= weights[name]
		if roll < 0:
			return name
	return "advance_game"


# Steps


func _step_advance_game() -> void:
	game.advance_day()


func _step_advance_manager() -> void:
	tm.advance_day()


func _step_create() -> void:
	var target: Object = tm if rng.randf() < 0.5 else game
	var today := _day(_date_of(tm) if target == tm else game.get_current_date())
	var manager: Object = tm if target == tm else _game_part(0)
	# A season's worth of tournaments makes every save and check slow.
	if manager == null or sizes.get(manager.get_instance_id(), 0) < MAX_TOURNAMENTS:
		_create(target, _date_text(today + rng.randi_range(1, 20)) if today != NO_DAY else "")


func _step_bad_date() -> void:
	_create(tm if rng.randf() < 0.5 else game, BAD_DATES[rng.randi() % BAD_DATES.size()])


func _create(target: Object, inv_date: String) -> void:
	if target.call("get_credits" if target is GameCore else "get_available_funds") < 100000000:
		target.call("set_credits" if target is GameCore else "set_available_funds", 1 << 40)
	var result = _call(target, "create_tournament", [FORMATS[rng.randi() % 5], TIERS[rng.randi() % 6], inv_date,
			CITIES[rng.randi() % CITIES.size()]])
	_check_created(target, inv_date, result)


func _check_created(target: Object, inv_date: String, result) -> void:
	var ok: bool = result.get("ok") == true if result is Dictionary else result  # a handler may have changed it
	if ok and enabled.bad_dates and _day(inv_date) == NO_DAY:
		_fail("bad_dates", "%s.create_tournament accepted the invitation date \"%s\"" % [target.get_class(), inv_date])


func _step_reload() -> void:
	var target: Object = [game, tm, db, eco][rng.randi() % 4]
	var saves: Array = history.get(target.get_class(), [])
	if not saves.is_empty():
		_call(target, "from_dict", [saves[rng.randi() % saves.size()].duplicate(true)])


func _step_bet() -> void:
	var teams := db.get_teams()
	if teams.size() >= 2:
		var a: TeamData = teams[rng.randi() % teams.size()]
		var b: TeamData = teams[rng.randi() % teams.size()]
		eco.place_guess(1, "Cup", 0, "m_1000", "a v b", _date_of(tm), a, b, a.id, rng.randi_range(1, 5000))
	var guesses := eco.get_guess_history()
	var guess = guesses[rng.randi() % guesses.size()] if not guesses.is_empty() else null
	if guess is Dictionary:
		eco.settle_prediction(str(guess.get("id", "")), "t-0", "Zero", _date_of(tm))


func _step_keep_save() -> void:
	var handout := _handout()
	_keep(handout[0], handout[1])


func _step_hostile_call() -> void:
	var target := _random_object()
	var methods := ClassDB.class_get_method_list(target.get_class(), true)
	var method: Dictionary = methods[rng.randi() % methods.size()]
	var args: Array = method.args.map(func(arg: Dictionary): return _hostile(arg.type, arg.name, target))
	if opts.trace:
		print("    %s.%s%s" % [target.get_class(), method.name, _describe(args)])
	var result = _call(target, method.name, args)
	if method.name == "create_tournament":
		_check_created(target, args[2], result)


func _step_load_mutated() -> void:
	var target: Object = [tm, game, _random_object()][rng.randi() % 3]
	var kinds := MUTATIONS.filter(func(m: String) -> bool: return enabled[m])
	var save: Dictionary = _mutated(_save_of(target), kinds, rng.randi_range(1, 4))
	_call(target, "from_dict", [save])


func _step_change_handout() -> void:
	var handout := _handout()
	_change(handout[1], handout[0])


# [what, value]: a save, a view or the tournament records, all of them new containers for the caller.
func _handout() -> Array:
	var target := _random_object()
	return [["%s.to_dict()" % target.get_class(), target.call("to_dict")],
		["GameCore.get_organize_data()", game.get_organize_data()],
		["GameCore.get_leaderboard_data()", game.get_leaderboard_data(["ALL", "EU"][rng.randi() % 2], ["VRS", "PRIZE"][rng.randi() % 2])],
		["TournamentManager.get_tournaments()", tm.get_tournaments()]][rng.randi() % 4]


# Handlers


func _on_signal(...args: Array) -> void:
	var signal_name: String = args.pop_back()
	var emitter := instance_from_id(args.pop_back())
	var payload = args[0] if not args.is_empty() else null
	if enabled.kept_saves and (payload is Dictionary) and rng.randf() < 0.02:
		_keep("payload of %s.%s" % [emitter.get_class(), signal_name], payload)
	if depth >= 2 or rng.randf() >= handler_rate:
		return
	var actions := HANDLER_ACTIONS.keys().filter(func(a: String) -> bool: return enabled[a])
	if actions.is_empty():
		return
	var action: String = actions[rng.randi() % actions.size()]
	var what: String = HANDLER_ACTIONS[action][rng.randi() % HANDLER_ACTIONS[action].size()]
	_replace_freed()
	var mark := emitting.size()
	emitting.append(emitter.get_instance_id())
	if emitter == game and signal_name == "achievement_event" and _game_part(0) != null:
		emitting.append(_game_part(0).get_instance_id())  # the game relays its manager's emission
	step_actions.append("%s: %s from %s.%s" % [action, what, emitter.get_class(), signal_name])
	if opts.trace:
		print("    handler: %s" % step_actions[-1])
	tally["handler " + action] = tally.get("handler " + action, 0) + 1
	depth += 1
	_act(what, emitter, payload)
	depth -= 1
	emitting.resize(mark)


# Runs one thing a handler can do (a name from HANDLER_ACTIONS). Objects are freed only while they neither
# emit nor take a Variant call: the engine itself refuses that.
func _act(what: String, emitter: Object, payload) -> void:
	var manager := _game_part(0)
	var free_if_quiet := func(target: Object) -> void:
		if is_instance_valid(target) and not _is_busy(target):
			target.free()
	match what:
		"advance the game":
			game.advance_day()
		"advance the manager":
			tm.advance_day()
		"create a tournament":
			_step_create()
		"load the emitter's own save":
			_call(emitter, "from_dict", [emitter.call("to_dict")])
		"make a hostile call":
			if enabled.hostile_calls:
				_step_hostile_call()
		"load the game", "load the manager", "load the database", "load the game's manager":
			var target: Object = {"load the game": game, "load the manager": tm, "load the database": db}.get(what, manager)
			if target != null:
				var save := _save_of(target)
				if enabled.mutate and rng.randf() < 0.5:
					save = _mutated(save, MUTATIONS.filter(func(m: String) -> bool: return enabled[m]), 1)
				_call(target, "from_dict", [save])
		"start a new game":
			game.initialize_new_game()
			_pin_seeds()
		"put in a new manager":
			graveyard.append(tm)
			tm = TournamentManager.new()
			tm.set_team_database(db)
			_pin_seeds()
		"put in a new game":
			graveyard.append(game)
			game = GameCore.new()
			_pin_seeds()
		"give the manager a new database":
			var today := _day(_date_of(tm))
			graveyard.append(db)
			db = TeamDatabase.new()
			db.initialize_defaults()
			db.set_current_date(_date_text(today + rng.randi_range(-3, 3)) if today != NO_DAY else "2026-06-01")
			tm.set_team_database(db)
		"take the manager's database":
			tm.set_team_database(null)
		"give the manager the game's database":
			tm.set_team_database(_game_part(1))
		"free the database":
			free_if_quiet.call(db)
		"free the settings":
			free_if_quiet.call(settings)
		"free the game":
			# Freeing a game from inside its own parts' work is game_parts.
			if not emitting.any(func(id: int) -> bool: return game_parts.has(id)):
				free_if_quiet.call(game)
		"drop the manager's simulator":
			tm.set_match_simulator(_seeded_simulator())
		"free the running manager":
			free_if_quiet.call(tm)
		"free the game's manager":
			free_if_quiet.call(manager)
		"free the game's database":
			free_if_quiet.call(_game_part(1))
		"free the game while its parts work":
			free_if_quiet.call(game)
		"take the game's database":
			if manager != null:
				manager.set_team_database(null)
		"give the game's manager our database":
			if manager != null:
				manager.set_team_database(db)
		"change the payload":
			_change(payload, "the payload of a signal of %s" % emitter.get_class())
		"keep the emitter's save":
			if emitter.has_method("to_dict"):
				_keep("%s.to_dict() inside its signal" % emitter.get_class(), emitter.call("to_dict"))


# Checks


func _check() -> void:
	var errors := trap.take()
	if not errors.is_empty():
		_fail("error", "the engine reported: %s" % " | ".join(errors.slice(0, 3)))
	# The hash is a quick look; the text decides.
	for entry in kept:
		if entry[1].hash() != entry[4] and var_to_str(entry[1]) != entry[2]:
			_fail("kept_saves", "%s, handed out at step %d, has changed since: %s" % [entry[0], entry[3],
					_difference(entry[2], var_to_str(entry[1]))])
			kept.erase(entry)
			break
	for manager in [tm, _game_part(0)]:
		if manager != null and is_instance_valid(manager):
			_check_deadlines(manager)


# A live tournament whose dates are calendar dates must make progress (status, stage, rest days or a
# played match) within BOUND_DAYS of its latest date, or of the day it last moved, was first seen, or the
# manager's date jumped; and it must be completed within LIFE_DAYS of its invitation or first sight. A
# date that is not a calendar date never comes, by design. The tournaments are read when the earliest
# deadline is reached, and at least once a week.
func _check_deadlines(manager: TournamentManager) -> void:
	var today := _day(_date_of(manager))
	var track: Dictionary = deadlines.get_or_add(manager.get_instance_id(), {"day": NO_DAY, "next": NO_DAY, "moved": {}})
	if today == track.day:
		return
	if today == NO_DAY or track.day + 1 != today:
		track.moved = {}
		track.next = today
	track.day = today
	if today == NO_DAY or today < track.next:
		return
	track.next = today + 7
	var moved := {}
	var tournaments := manager.get_tournaments()
	sizes[manager.get_instance_id()] = tournaments.size()
	for t in tournaments:
		var key := "%d|%s|%s|%s" % [t.id, t.name, t.inv_date, t.format_id]
		if not t.status in LIVE:
			if t.status == "COMPLETED" and track.moved.has(key):
				tally["tournaments completed"] = tally.get("tournaments completed", 0) + 1
			continue
		var state := _progress(t)
		var last: Array = track.moved.get(key, [today, "", today])
		moved[key] = last if last[1] == state[1] else [today, state[1], last[2]]
		if state[0] == null:
			continue
		var due: int = maxi(moved[key][0], state[0]) + clampi(t.rest, 0, I32_MAX) + BOUND_DAYS
		# However it moves, it ends: a Major takes 111 days from its invitation.
		var inv_day := _day(t.inv_date)
		due = mini(due, maxi(last[2], inv_day) + LIFE_DAYS if inv_day != NO_DAY else due)
		if today > due:
			_fail("stall", "%s: tournament %d \"%s\" (%s %s, stage %d of %d, invited %s, first seen %s) is still %s on %s" % [
					"TournamentManager" if manager == tm else "the game's manager", t.id, t.name, t.format_id, t.tier_id,
					t.current_stage_idx, t.stages.size(), t.inv_date, _date_text(last[2]), t.status, _date_of(manager)])
			return
		track.next = mini(track.next, due + 1)
	track.moved = moved


# [the day number of the latest date a tournament holds (NO_DAY for none, null if one is not a date),
# what shows its progress]
func _progress(t: Dictionary) -> Array:
	var dates := [t.inv_date, t.start_date]
	var played := 0
	for stage in t.stages:
		dates.append(stage.next_date)
		for node in stage.nodes:
			dates.append(node.date)
			played += 1 if node.status == "PLAYED" else 0
	var latest = NO_DAY
	for date in dates:
		if date != "" and latest != null:
			var day := _day(date)
			latest = maxi(latest, day) if day != NO_DAY else null
	return [latest, "%s %d %d %d %d" % [t.status, t.current_stage_idx, t.stages.size(), t.rest, played]]


func _fail(category: String, message: String) -> void:
	failed = true
	failures += 1
	_report(category, message)


func _report(category: String, message: String) -> void:
	print("FAIL seed=%d step=%d [%s] %s%s: %s" % [episode_seed, step, category, step_name,
			" (%s)" % ", ".join(step_actions) if not step_actions.is_empty() else "", message])
	print("  replay: tools/stress.sh --seed %d --calls %d --trace" % [episode_seed, step])


# The world


func _repair() -> void:
	for node in graveyard:
		if is_instance_valid(node):
			node.free()
	graveyard.clear()
	_replace_freed()
	if tm.get_team_database() != db:
		tm.set_team_database(db)
	for manager in [tm, _game_part(0)]:
		if manager != null and manager.get_match_simulator() == null:
			manager.set_match_simulator(_seeded_simulator())
	_pin_seeds()
	var emitters := [game, db, tm, settings, tm.get_match_simulator()]
	if enabled.game_parts:
		emitters.append_array([_game_part(0), _game_part(1), _game_part(2)])
		for part in emitters.slice(5):
			if part != null:
				game_parts[part.get_instance_id()] = true
	for emitter in emitters:
		if emitter != null and not connected.has(emitter.get_instance_id()):
			connected[emitter.get_instance_id()] = true
			for s in ClassDB.class_get_signal_list(emitter.get_class(), true):
				emitter.connect(s.name, _on_signal.bind(emitter.get_instance_id(), s.name))
	if rng.randf() < 0.05:
		var target := _random_object()
		var saves: Array = history.get_or_add(target.get_class(), [])
		saves.append(target.call("to_dict").duplicate(true))
		if saves.size() > 3:
			saves.remove_at(rng.randi() % saves.size())


# Handlers go on with new objects in place of freed ones; the library is left to cope with the loss.
func _replace_freed() -> void:
	if not is_instance_valid(game):
		game = GameCore.new()
		_pin_seeds()
	if not is_instance_valid(db):
		db = TeamDatabase.new()
		db.initialize_defaults()
	if not is_instance_valid(tm):
		tm = TournamentManager.new()
		tm.set_match_simulator(_seeded_simulator())
	if not is_instance_valid(settings):
		settings = GameSettings.new()


# A new simulator would draw its seed from the clock: pin every reachable one, so a seed replays a run.
func _pin_seeds() -> void:
	for manager in [tm, _game_part(0)]:
		if manager != null and is_instance_valid(manager) and manager.get_match_simulator() != null:
			manager.get_match_simulator().set_seed(rng.randi())
	sim.set_seed(rng.randi())


func _seeded_simulator() -> MatchSimulator:
	var fresh := MatchSimulator.new()
	fresh.set_seed(rng.randi())
	return fresh


# 0: the game's manager, 1: its database, 2: its simulator; found through the game's one connection.
func _game_part(index: int) -> Object:
	if not is_instance_valid(game):
		return null
	for connection in game.get_incoming_connections():
		var manager = connection.signal.get_object()
		if manager is TournamentManager:
			return [manager, manager.get_team_database(), manager.get_match_simulator()][index]
	return null


func _is_busy(object: Object) -> bool:
	return object.get_instance_id() in emitting or object.get_instance_id() in calling


# A call through the engine's Variant path locks the object: the engine refuses to free it meanwhile.
func _call(target: Object, method: String, args: Array) -> Variant:
	calling.append(target.get_instance_id())
	var result = target.callv(method, args)
	calling.pop_back()
	return result


func _random_object() -> Object:
	var teams := db.get_teams()
	var objects := [game, db, tm, tm.get_match_simulator(), sim, eco, settings, spare_team,
		teams[rng.randi() % teams.size()] if not teams.is_empty() else spare_team]
	if enabled.game_parts:
		objects.append(_game_part(0))
	objects = objects.filter(func(o): return o != null)
	return objects[rng.randi() % objects.size()]


func _date_of(manager: TournamentManager) -> String:
	var database := manager.get_team_database() as TeamDatabase
	return database.get_current_date() if database != null else ""


func _save_of(target: Object) -> Dictionary:
	var saves: Array = history.get(target.get_class(), [])
	if not saves.is_empty() and rng.randf() < 0.25:
		return saves[rng.randi() % saves.size()].duplicate(true)
	return target.call("to_dict").duplicate(true)


func _keep(what: String, value) -> void:
	var text := var_to_str(value)
	if text.contains("Object("):
		return  # records of live objects are meant to change
	if kept.size() >= MAX_KEPT:
		kept.remove_at(rng.randi() % kept.size())
	kept.append([what, value, text, step, value.hash()])


# Changes a nested container of what the library handed out; the game must read the same afterwards.
func _change(handout, what: String) -> void:
	if not (handout is Dictionary or handout is Array) or handout.is_empty():
		return
	# Handouts of this very call may share with each other; only what lives on must not.
	kept = kept.filter(func(entry: Array) -> bool: return entry[3] != step)
	var before := _world_saves().map(func(save: Dictionary) -> int: return save.hash())
	var box = handout
	var path := ""
	for i in rng.randi_range(0, 4):
		var keys: Array = (box.keys() if box is Dictionary else range(box.size())).filter(func(k) -> bool:
			return (box[k] is Dictionary or box[k] is Array) and not box[k].is_empty())
		if keys.is_empty():
			break
		var key = keys[rng.randi() % keys.size()]
		path += "[%s]" % var_to_str(key)
		box = box[key]
	if box.is_read_only():
		return
	match rng.randi() % 4:
		0:
			box.clear()
		1:
			if box is Array:
				box.reverse()
			else:
				box.erase(box.keys()[0])
		2:
			box[0 if box is Array else box.keys()[-1]] = null
		3:
			if box is Array:
				box.append({})
			else:
				box["extra"] = [1]
	var after := _world_saves().map(func(save: Dictionary) -> int: return save.hash())
	var changed := range(after.size()).filter(func(i: int) -> bool: return after[i] != before[i])
	if not changed.is_empty():
		var names := ["TournamentManager", "TeamDatabase", "EconomySystem", "GameSettings", "TeamData", "GameCore"]
		_fail("handouts", "changing %s%s changed the save of %s" % [what, path, ", ".join(changed.map(func(i: int): return names[i]))])


# Hashes are compared rather than texts: a season's save takes seconds to write as text.
func _world_saves() -> Array:
	var saves := [tm.to_dict(), db.to_dict(), eco.to_dict(), settings.to_dict(), spare_team.to_dict()]
	if is_instance_valid(game):
		saves.append(game.to_dict())
	return saves


# Hostile values


# Arrays hold team objects only for the database: a team whose honours hold teams is a reference cycle
# of the script's own making.
func _hostile(type: int, name: String, target: Object) -> Variant:
	match type:
		TYPE_BOOL:
			return rng.randf() < 0.5
		TYPE_INT:
			return INTS[rng.randi() % INTS.size()] if rng.randf() < 0.7 else rng.randi_range(-10, 2000000)
		TYPE_FLOAT:
			return [0.0, -1.5, 1e300, INF, -INF, NAN][rng.randi() % 6]
		TYPE_STRING:
			return _text(name)
		TYPE_ARRAY:
			match rng.randi() % 4:
				0:
					return db.get_teams().duplicate() if target is TeamDatabase else []
				1:
					return _save_of(tm).get("tournaments", [])
				2:
					return [null, 1, "t-0", {}, []]
			return _garbage_list()
		TYPE_DICTIONARY:
			match rng.randi() % 4:
				0:
					return {"teams": 5, "tournaments": [1, "x"], "funds": "rich", "seed": [], "current_date": {}}
				1:
					return {"stage1": {"EU": -1, "AS": I64_MAX}, "EWC": "x", "t-0": 5}
			var save := _save_of(_random_object())
			if enabled.mutate and rng.randf() < 0.5:
				save = _mutated(save, MUTATIONS.filter(func(m: String) -> bool: return enabled[m]), 2)
			return save
		TYPE_OBJECT:
			return [null, spare_team, _random_object(), db, freed_node][rng.randi() % 5]
	return (_garbage_list() + [spare_team, freed_node])[rng.randi() % 11]  # a Variant argument


func _garbage_list() -> Array:
	return [null, true, -1, I64_MAX, 2.5, "", long_text, [null, [[]]], {"id": null}]


func _text(name: String) -> String:
	if rng.randf() < 0.25:
		return ["", " ", "日本語", "%s %d {0}", "t-0\n", long_text][rng.randi() % 6]
	if name.ends_with("date"):
		if name == "inv_date" and not enabled.bad_dates:
			var today := _day(_date_of(tm))
			return _date_text(today + rng.randi_range(1, 30)) if today != NO_DAY else ""
		return BAD_DATES[rng.randi() % BAD_DATES.size()] if rng.randf() < 0.3 else _date_text(_day("2026-01-01") + rng.randi_range(-5, 400))
	if name.contains("format"):
		return FORMATS[rng.randi() % FORMATS.size()]
	if name.contains("tier"):
		return TIERS[rng.randi() % TIERS.size()]
	if name.contains("region"):
		return ["ALL", "EU", "AM", "AS", "Europe", "eu"][rng.randi() % 6]
	if name.contains("sort"):
		return ["VRS", "PRIZE", "vrs"][rng.randi() % 3]
	if name.contains("locale"):
		return ["en", "de", "fr", "zh_CN"][rng.randi() % 4]
	if name.ends_with("id"):
		return ["t-%d" % rng.randi_range(0, 104), str(rng.randi_range(0, 9)), "m_%d" % rng.randi_range(999, 1010)][rng.randi() % 3]
	return CITIES[rng.randi() % CITIES.size()]


# The save (a private copy) with `count` changes of the given kinds.
func _mutated(copy: Dictionary, kinds: Array, count: int) -> Dictionary:
	for i in count if not kinds.is_empty() else 0:
		var kind: String = kinds[rng.randi() % kinds.size()]
		var spots := []
		_spots(_scope(copy), "", kind, spots)
		if spots.is_empty():
			continue
		var spot: Array = spots[rng.randi() % spots.size()]
		# The stage a live tournament is at is the index that matters most.
		var stage_spots := spots.filter(func(s: Array) -> bool:
			return s[1] is String and s[1] == "current_stage_idx" and s[0].get("status") in LIVE)
		if kind == "mutate_indices" and not stage_spots.is_empty() and rng.randf() < 0.5:
			spot = stage_spots[rng.randi() % stage_spots.size()]
		var box = spot[0]
		var key = spot[1]
		match kind:
			"mutate_types":
				var others := [null, 0, -1, 2.5, "", "x", [], {}, true, [{}], {"id": 1}].filter(func(v): return typeof(v) != typeof(box[key]))
				box[key] = others[rng.randi() % others.size()]
			"mutate_keys":
				box.erase(key)
			"mutate_indices":
				box[key] = BAD_INDICES[rng.randi() % BAD_INDICES.size()] if box[key] is int else "m_%d" % rng.randi_range(-1, 99999)
			"mutate_ids":
				var foreign: String = FOREIGN_IDS[rng.randi() % FOREIGN_IDS.size()]
				if spot.size() > 2:  # a dictionary keyed by team id
					box[foreign] = box[key]
					box.erase(key)
				else:
					box[key] = foreign
	return copy


# Where in a save to mutate: mostly one tournament, live ones first; walking a whole season is slow.
func _scope(save: Dictionary) -> Dictionary:
	var root: Dictionary = save
	for part in ["tournament_manager", "team_database"]:
		if root.get(part) is Dictionary and rng.randf() < 0.7:
			root = root[part]
	var tournaments = root.get("tournaments")
	if not tournaments is Array or rng.randf() < 0.2:
		return root
	var live: Array = tournaments.filter(func(t) -> bool: return t is Dictionary and t.get("status") in LIVE)
	var pool: Array = live if not live.is_empty() and rng.randf() < 0.75 else tournaments
	var pick = pool[rng.randi() % pool.size()] if not pool.is_empty() else null
	return pick if pick is Dictionary else root


# Every place in a save that a mutation of the kind can change: [container, key] (plus a mark for keys).
func _spots(value, name: String, kind: String, out: Array) -> void:
	for key in (value.keys() if value is Dictionary else range(value.size())):
		var child = value[key]
		var child_name: String = key if key is String else name
		match kind:
			"mutate_types":
				out.append([value, key])
			"mutate_keys":
				if value is Dictionary:
					out.append([value, key])
			"mutate_indices":
				if child is int and child_name in INDEX_KEYS or child is String and (
						name in ["winner_to", "loser_to"] and key == "id" or name == "match_ids"):
					out.append([value, key])
			"mutate_ids":
				if child is String and child.begins_with("t-"):
					out.append([value, key])
				if key is String and key.begins_with("t-"):
					out.append([value, key, "key"])
		if child is Dictionary or child is Array:
			_spots(child, child_name, kind, out)


# Dates


# The day number of a calendar date in the library's form, NO_DAY for anything else.
func _day(date: String) -> int:
	if days.has(date):
		return days[date]
	var parts := date_form.search(date)
	if parts == null:
		return NO_DAY
	var y := parts.get_string(1).to_int()
	var m := parts.get_string(2).to_int()
	var d := parts.get_string(3).to_int()
	var month_days := [31, 29 if y % 4 == 0 and (y % 100 != 0 or y % 400 == 0) else 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]
	if m < 1 or m > 12 or d < 1 or d > month_days[m - 1]:
		return NO_DAY
	days[date] = int(Time.get_unix_time_from_datetime_dict({"year": y, "month": m, "day": d})) / 86400
	return days[date]


func _date_text(day: int) -> String:
	return Time.get_date_string_from_unix_time(day * 86400)


# Reporting


func _difference(before: String, after: String) -> String:
	var at := 0
	while at < mini(before.length(), after.length()) and before[at] == after[at]:
		at += 1
	return "at character %d, \"%s\" became \"%s\"" % [at, before.substr(maxi(at - 40, 0), 80).c_escape(),
			after.substr(maxi(at - 40, 0), 80).c_escape()]


func _describe(args: Array) -> String:
	return "(%s)" % ", ".join(args.map(func(v) -> String:
		if v is String:
			return '"%s"' % v.c_escape() if v.length() <= 24 else "<%d characters>" % v.length()
		if typeof(v) == TYPE_OBJECT:
			return v.get_class() if is_instance_valid(v) else "<freed>"
		return "%s of %d" % [type_string(typeof(v)), v.size()] if v is Array or v is Dictionary else str(v)))
