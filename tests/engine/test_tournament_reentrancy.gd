extends TestCase
# Signal handlers run inside TournamentManager.advance_day. Every call a handler can make back into
# the manager or its database, from every signal the day emits, must leave a sound state: a day whose
# records or database were replaced stops at once and writes nothing into the new state; other calls
# let the day go on; and the season still plays to its end afterwards.

var db: TeamDatabase
var tm: TournamentManager


func before_each() -> void:
	db = autofree(TeamDatabase.new())
	db.initialize_defaults()
	tm = autofree(TournamentManager.new())
	tm.set_team_database(db)
	tm.get_match_simulator().set_seed(99)


func after_each() -> void:
	db = null
	tm = null


func _all_completed() -> bool:
	return tm.get_tournaments().all(func(t): return t.status == "COMPLETED")


# [what the handler does, whether the day goes on afterwards]
# A handler leaves what it handed over in `stash`.
func _actions(snapshot: Dictionary, stash: Dictionary) -> Dictionary:
	return {
		"load a save": [func() -> void: tm.from_dict(snapshot), false],
		"replace the tournaments": [func() -> void:
			stash["replaced"] = tm.get_tournaments()
			tm.set_tournaments(stash.replaced.duplicate(true)), false],
		"drop the database": [func() -> void: tm.set_team_database(null), false],
		"free the database": [func() -> void: db.free(), false],
		"free the manager": [func() -> void: tm.free(), false],
		"organise a tournament": [func() -> void: assert_true(tm.create_tournament("EPL", "TIER_3",
				"2026-12-%02d" % (tm.get_tournaments().size() + 1)), "created from a handler"), true],
		"advance another day": [func() -> void: assert_false(tm.advance_day(), "no day inside a day"), true],
		"drop the simulator": [func() -> void: tm.set_match_simulator(null), true],
	}


# Emitters and signals of a day, each with a filter on the arguments.
func _sources() -> Array:
	var any := func(_args: Array) -> bool: return true
	var event_of := func(type: String) -> Callable: return func(args: Array) -> bool: return args[0].type == type
	return [[db, "current_date_changed", any], [tm, "tournament_updated", any],
			[tm, "achievement_event", event_of.call("match_played")],
			[tm, "achievement_event", event_of.call("swiss_round_advanced")],
			[tm, "achievement_event", event_of.call("swiss_stage_completed")],
			[tm, "achievement_event", event_of.call("tournament_completed")], [tm, "tournament_completed", any],
			[tm.get_match_simulator(), "match_simulated", any]]


func test_every_call_back_from_every_signal_of_a_day_is_safe() -> void:
	var runs := 0
	for source_index in _sources().size():
		for action_name in _actions({}, {}):
			# Freeing an object from its own signal is an error in the engine itself.
			var emitter: Object = _sources()[source_index][0]
			if (emitter == db and action_name == "free the database") or (emitter == tm and action_name == "free the manager"):
				continue
			before_each()
			_run_case(source_index, action_name)
			runs += 1
	assert_eq(runs, 57, "every signal met every call")


func _run_case(source_index: int, action_name: String) -> void:
	tm.create_tournament("EPL", "TIER_OPEN", "2026-01-02")
	tm.create_tournament("BLAST", "TIER_1", "2026-01-03", "Oslo")
	tm.create_tournament("IEM", "TIER_1", "2026-01-04", "Rome")
	var snapshot := tm.to_dict()
	var source: Array = _sources()[source_index]
	var stash := {}
	var action: Array = _actions(snapshot, stash)[action_name]
	var label := "%s from %s" % [action_name, source[1]]
	# Fires once, on the first matching emission after the first matches were played.
	var state := {"armed": false, "fired": false, "day_advanced": 0, "tournaments": 0, "date": ""}
	var handler := func(...args: Array) -> void:
		if state.armed and not state.fired and source[2].call(args):
			state.fired = true
			state.tournaments = tm.get_tournaments().size()
			action[0].call()
	var emitter: Object = source[0]
	emitter.connect(source[1], handler)
	tm.day_advanced.connect(func(_date: String) -> void: state.day_advanced += 1)
	tm.achievement_event.connect(func(_event: Dictionary) -> void: state.armed = true)

	var days := 0
	while not state.fired and days < 200:
		state.date = db.get_current_date()
		state.day_advanced = 0
		assert_true(tm.advance_day() or not is_instance_valid(tm), "%s: the day ran" % label)
		days += 1
	if not assert_true(state.fired, "%s: the handler ran" % label):
		return
	assert_eq(state.day_advanced, 1 if action[1] else 0, "%s: the day ends only if it went on" % label)
	match action_name:
		"load a save":
			assert_eq(tm.to_dict(), snapshot, "%s: the loaded state is left as saved" % label)
		"replace the tournaments":
			assert_eq(tm.get_tournaments(), stash.replaced, "%s: the new records are left as given" % label)
		"drop the database", "free the database":
			assert_null(tm.get_team_database(), "%s: no database" % label)
			assert_false(tm.advance_day(), "%s: no day without a database" % label)
			if is_instance_valid(db):
				tm.set_team_database(db)
			else:
				db = autofree(TeamDatabase.new())
				db.initialize_defaults()
				db.set_current_date(TeamforgeTestHooks.new().add_days(state.date, 1))
				tm.set_team_database(db)
		"free the manager":
			assert_eq(db.get_current_date(), TeamforgeTestHooks.new().add_days(state.date, 1), "%s: the day began" % label)
			tm = autofree(TournamentManager.new())
			tm.set_team_database(db)
			tm.from_dict(snapshot)
		"organise a tournament":
			assert_eq(tm.get_tournaments().size(), state.tournaments + 1, "%s: it joins the list" % label)
		"advance another day":
			assert_eq(db.get_current_date(), TeamforgeTestHooks.new().add_days(state.date, 1), "%s: one day" % label)

	if emitter != null and is_instance_valid(emitter) and emitter.is_connected(source[1], handler):
		emitter.disconnect(source[1], handler)
	while not _all_completed() and days < 400:
		tm.advance_day()
		days += 1
	assert_true(_all_completed(), "%s: the season still ends" % label)
	assert_not_null(tm.get_match_simulator(), "%s: a simulator is made again when one is needed" % label)


# Returns the save of a seeded season; `hostile` handlers rework everything they are handed.
func _season_save(hostile: bool) -> String:
	before_each()
	tm.get_match_simulator().set_seed(7)
	var early := {}
	if hostile:
		tm.achievement_event.connect(func(e: Dictionary) -> void:
			var context: Dictionary = e.context
			if context.has("records"):
				context.records.sort_custom(func(a, b): return a.team.name < b.team.name)
				context.records[0].team.id = "nobody"
			for key in ["standings", "final_groups", "record_before_by_id"]:
				if context.has(key):
					context[key].clear())
		tm.get_match_simulator().match_simulated.connect(func(report: Dictionary) -> void:
			report.map_reports.clear()
			report.score_a = 99)
		tm.tournament_updated.connect(func(_id: int) -> void:
			var seen: Array = tm.get_tournaments()
			seen[0].participants.reverse()
			seen[0].stages.clear()
			tm.get_major_slots().clear()
			if early.is_empty() and seen[0].status == "ACTIVE":
				early.save = tm.to_dict()
				early.text = var_to_str(early.save))
	tm.create_tournament("EPL", "TIER_OPEN", "2026-01-02")
	tm.create_tournament("MAJOR", "HIGHEST", "2026-01-03", "Paris")
	var days := 0
	while not _all_completed() and days < 300:
		tm.advance_day()
		days += 1
	assert_true(_all_completed(), "the season ends within 300 days")
	if hostile:
		assert_eq(var_to_str(early.save), early.text, "a save taken mid-season stays as it was taken")
	return var_to_str(tm.to_dict())


func test_handlers_that_rework_what_they_were_given_change_nothing() -> void:
	var clean := _season_save(false)
	assert_true(_all_completed(), "the season ends")
	assert_eq(_season_save(true), clean, "the same season, whatever the handlers did to their copies")


func test_a_database_swapped_while_a_tournament_completes_still_gets_its_prizes() -> void:
	var other: TeamDatabase = autofree(TeamDatabase.new())
	other.initialize_defaults()
	tm.create_tournament("EPL", "TIER_OPEN", "2026-01-02")
	var completed := []
	tm.tournament_completed.connect(func(id: int) -> void: completed.append([id, tm.get_team_database()]))
	tm.achievement_event.connect(func(event: Dictionary) -> void:
		if event.type == "tournament_completed" and tm.get_team_database() == db:
			other.set_current_date(db.get_current_date())
			tm.set_team_database(other))
	var funds := tm.get_available_funds()
	var between := {}
	while not _all_completed() or completed.is_empty():
		if not assert_true(other.get_current_date() < "2026-06-01", "completed in time"):
			return
		tm.advance_day()
		# Between the stopped day and the next, the player sees a tournament still under way.
		if between.is_empty() and tm.get_team_database() == other:
			between = {"summary": tm.get_tournament_summaries()[0], "record": tm.get_tournament(1)}
	assert_eq([between.summary.status, between.summary.champion_id, between.summary.champion_name],
			["ACTIVE", "", ""], "no champion before the completion runs again")
	assert_eq([between.record.status, between.record.standings], ["ACTIVE", []], "no final table either")
	var t: Dictionary = tm.get_tournaments()[0]
	assert_eq(completed, [[1, other]], "completed once, in the database that took over")
	var prizes := {}
	for s in t.standings:
		prizes[s.team.id] = s.prize
	assert_eq(other.get_teams().filter(func(team): return team.get_prize_total() > 0).map(
			func(team): return [team.get_id(), team.get_prize_total()]),
			other.get_teams().map(func(team): return team.get_id()).filter(func(id): return prizes.get(id, 0) > 0).map(
			func(id): return [id, prizes[id]]), "every prize paid")
	assert_eq(other.get_team_by_id(t.standings[0].team.id).get_honors().size(), 1, "the champion's honour")
	assert_eq(tm.get_available_funds(), funds + t.total_heat, "the organiser earns the heat")


# Events are only built while someone listens. A handler that starts listening in the middle of a match
# still gets that match's event whole, with the Swiss table as it stood before the match.
func test_a_listener_connected_during_a_match_gets_that_matchs_whole_event() -> void:
	tm.create_tournament("MAJOR", "HIGHEST", "2026-01-02", "Paris")
	var events := []
	var listener := func(event: Dictionary) -> void: events.append(event)
	var table := {}
	tm.get_match_simulator().match_simulated.connect(func(_report: Dictionary) -> void:
		if table.is_empty():
			for record in tm.get_tournaments()[0].stages[0].records:
				table[record.team.id] = record
			tm.achievement_event.connect(listener))
	var days := 0
	while events.is_empty() and days < 200:
		tm.advance_day()
		days += 1
	assert_false(events.is_empty(), "the events come from the match on")
	assert_eq(events[0].type, "match_played", "the match the handler saw comes first")
	assert_eq(table.size(), 16, "the whole opening table")
	assert_eq(events[0].context.record_before_by_id, table, "the table before the match, both teams at 0-0")


# A game saved from a handler of any signal, loaded into a fresh game and played on, completes every
# tournament once with every prize, honour, stamina gain and heat credit paid once. Each row saves at
# every emission of its signal; the saves nearest the last payout (the last one taken before the last
# tournament announces its end, and the first one from that announcement on) are loaded and played to
# the season's end. Where the loaded game plays the same matches as the season that was never saved,
# its teams and funds end exactly as there; wherever it is, every completed standing is paid once.
const SAVE_SEED := 5


# A seeded game of either kind, by closures: "core" is a GameCore, "manager" a TournamentManager with
# its own database. Both save to {"team_database", "tournament_manager"}.
func _saving_game(kind: String, save = null) -> Dictionary:
	var game := {"payouts": {}}
	if kind == "core":
		var core: GameCore = autofree(GameCore.new())
		core.set_seed(SAVE_SEED)
		if save == null:
			core.initialize_new_game()
		else:
			core.from_dict(save)
		game.merge({"emitters": {"core": core}, "save": core.to_dict, "advance": core.advance_day,
				"date": core.get_current_date, "create": core.create_tournament})
		return game
	var base: TeamDatabase = autofree(TeamDatabase.new())
	var manager: TournamentManager = autofree(TournamentManager.new())
	if save == null:
		base.initialize_defaults()
	else:
		base.from_dict(save.team_database)
	manager.set_team_database(base)
	manager.get_match_simulator().set_seed(SAVE_SEED if save == null else save.seed)
	if save != null:
		manager.from_dict(save.tournament_manager)
	# The stamina every team has the moment a tournament pays out.
	manager.tournament_completed.connect(func(id: int) -> void:
		game.payouts[id] = base.get_teams().map(func(team): return team.get_stamina()))
	game.merge({"emitters": {"db": base, "tm": manager, "sim": manager.get_match_simulator()},
			"save": func() -> Dictionary: return {"team_database": base.to_dict(),
					"tournament_manager": manager.to_dict(), "seed": manager.get_match_simulator().get_seed()},
			"advance": manager.advance_day, "date": base.get_current_date, "create": manager.create_tournament})
	return game


func _without_stamina(ending: Dictionary) -> Dictionary:
	var teams := {}
	for id in ending.teams:
		teams[id] = ending.teams[id].slice(0, 2)
	return {"teams": teams, "funds": ending.funds, "standings": ending.standings}


# The season's end as a save shows it: per team [prize total, honours, stamina], the funds, the standings.
func _ending(save: Dictionary) -> Dictionary:
	var teams := {}
	for team in save.team_database.teams:
		teams[team.id] = [team.prize_total, team.honors, team.stamina]
	return {"teams": teams, "funds": save.tournament_manager.available_funds,
			"standings": save.tournament_manager.tournaments.map(func(t): return [t.status, t.standings])}


# What the save owes against where it started: each team's prize total and honour count beyond the
# completed standings it was paid for, and the organiser's funds beyond pools paid and heat earned.
func _unpaid(start: Dictionary, save: Dictionary) -> Dictionary:
	var owed := {}
	var funds: int = start.tournament_manager.available_funds
	for team in start.team_database.teams:
		owed[team.id] = [team.prize_total, team.honors.size()]
	for t in save.tournament_manager.tournaments:
		funds -= t.prize
		if t.status != "COMPLETED":
			continue
		funds += t.total_heat
		for s in t.standings:
			var tier_honour: bool = t.tier_id in ["HIGHEST", "TIER_S"]
			var honour := 1 if s.placement == "1st" or (s.placement == "2nd" and tier_honour) else 0
			owed[s.team.id] = [owed[s.team.id][0] + s.prize, owed[s.team.id][1] + honour]
	var unpaid := {"money": 0, "honours": 0, "funds": funds - save.tournament_manager.available_funds}
	for team in save.team_database.teams:
		unpaid.money += owed[team.id][0] - team.prize_total
		unpaid.honours += owed[team.id][1] - team.honors.size()
	return unpaid


func test_a_save_from_any_handler_loses_and_doubles_no_payout() -> void:
	var any := func(_args: Array) -> bool: return true
	var event_of := func(type: String) -> Callable: return func(args: Array) -> bool: return args[0].type == type
	# [kind, emitter, signal, filter, label]
	var rows := []
	for name in ["current_date_changed", "leaderboard_changed", "organize_changed", "tournament_created"]:
		rows.append(["core", "core", name, any, "GameCore " + name])
	for type in ["match_played", "swiss_round_advanced", "swiss_stage_completed", "tournament_completed"]:
		rows.append(["core", "core", "achievement_event", event_of.call(type), "GameCore achievement " + type])
	for name in ["day_advanced", "tournament_updated", "tournament_completed", "achievement_event"]:
		rows.append(["manager", "tm", name, any, "TournamentManager " + name])
	for name in ["current_date_changed", "team_changed", "teams_rebuilt", "database_reset"]:
		rows.append(["manager", "db", name, any, "TeamDatabase " + name])
	rows.append(["manager", "sim", "match_simulated", any, "MatchSimulator match_simulated"])
	var references := {}
	for row in rows:
		var kind: String = row[0]
		var label: String = row[4]
		var game := _saving_game(kind)
		var start: Dictionary = game.save.call()
		var state := {"announced": 0, "before": null, "after": null, "saves": 0}
		var emitter: Object = game.emitters[row[1]]
		var ends: Object = game.emitters.get("tm", game.emitters.get("core"))
		# The count goes first, so a save made at an announcement counts it.
		ends.achievement_event.connect(func(e: Dictionary) -> void:
			if e.type == "tournament_completed":
				state.announced += 1)
		var saver := func(...args: Array) -> void:
			if not row[3].call(args):
				return
			state.saves += 1
			var save: Dictionary = game.save.call()
			if state.announced < 2:
				state.before = save
			elif state.after == null:
				state.after = save
		emitter.connect(row[2], saver)
		game.create.call("EPL", "TIER_OPEN", "2026-01-02")
		game.create.call("BLAST", "TIER_1", "2026-01-03", "Oslo")
		# The database's own signals come from a script that touches it: a team renamed, the roster rebuilt.
		if row[1] == "db" and row[2] != "current_date_changed":
			var base: TeamDatabase = emitter
			base.add_or_update_team(base.get_teams()[3])
			if row[2] != "team_changed":
				base.set_teams(base.get_teams())
			if row[2] == "database_reset":
				base.initialize_defaults()
		var days := 0
		while state.announced < 2 and days < 300:
			game.advance.call()
			days += 1
		for extra in 2:
			game.advance.call()
		var end_date: String = game.date.call()
		# The simulator outlives the test's nodes: its handler would keep this game, and so itself, alive.
		emitter.disconnect(row[2], saver)
		var ending := _ending(game.save.call())
		if not assert_eq(state.announced, 2, "%s: the season ends in %d days" % [label, days]):
			continue
		# Saving changes nothing: every row's season is its kind's one season.
		if not references.has(kind):
			references[kind] = [ending, game.payouts]
		assert_eq(ending, references[kind][0], "%s: saving changed nothing" % label)
		assert_eq(_unpaid(start, game.save.call()), {"money": 0, "honours": 0, "funds": 0}, "%s: the season pays all" % label)
		var loaded_count := 0
		for which in ["before", "after"]:
			if state[which] == null:
				continue
			loaded_count += 1
			var loaded := _saving_game(kind, state[which])
			var d: String = loaded.date.call()
			while d != end_date and days < 900:
				loaded.advance.call()
				d = loaded.date.call()
				days += 1
			var at := "%s, loaded from the save %s the last announcement" % [label, which]
			var final: Dictionary = loaded.save.call()
			var unpaid := _unpaid(start, final)
			assert_eq(unpaid, {"money": 0, "honours": 0, "funds": 0}, "%s: every payout made once" % at)
			print("  %-40s %-7s saves %3d  unpaid money %7d honours %d funds %7d  same matches %s" % [label, which,
					state.saves, unpaid.money, unpaid.honours, unpaid.funds, _ending(final).standings == ending.standings])
			if _ending(final).standings == ending.standings:
				# The stamina at the season's end differs by the daily point of the day the save cut short;
				# the stamina each payout gives is compared where it is paid.
				assert_eq(_without_stamina(_ending(final)), _without_stamina(ending), "%s: the teams and funds of the season never saved" % at)
				for id in loaded.payouts:
					assert_eq(loaded.payouts[id], references[kind][1][id], "%s: tournament %d's stamina gains" % [at, id])
		assert_true(loaded_count > 0, "%s: a save was made" % label)
