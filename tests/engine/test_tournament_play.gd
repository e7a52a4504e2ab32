extends TestCase
# Invitations, match play and completion as advance_day drives them: the day's steps and signals, the
# seeded acceptance draws and seeds of open and Major fields, rest days and the seeding of later stages,
# nodes that wait for both teams, the prize split and honours, and fields that are short or lose teams
# still coming to an end.

const Fixture := preload("res://tournament_fixture.gd")
const SEED := 424242
const TWO_32 := 4294967296.0
const TWO_64 := 18446744073709551616.0

var db: TeamDatabase
var tm: TournamentManager
var hooks: TeamforgeTestHooks


func before_each() -> void:
	hooks = TeamforgeTestHooks.new()
	db = autofree(TeamDatabase.new())
	db.initialize_defaults()
	tm = autofree(TournamentManager.new())
	tm.set_team_database(db)
	tm.get_match_simulator().set_seed(SEED)


func after_each() -> void:
	db = null
	tm = null
	hooks = null


func _tournament(id := 1) -> Dictionary:
	return Fixture.find(tm.get_tournaments(), id)


func _days(count: int) -> void:
	for i in count:
		tm.advance_day()


func _play_out(max_days := 300) -> int:
	var days := 0
	while days < max_days and not tm.get_tournaments().all(func(t): return t.status == "COMPLETED"):
		tm.advance_day()
		days += 1
	assert_true(tm.get_tournaments().all(func(t): return t.status == "COMPLETED"),
			"every tournament completed within %d days" % max_days)
	return days


# Advances until `reached` holds: a status that never comes fails within max_days instead of hanging.
func _advance_until(reached: Callable, max_days := 100) -> bool:
	for day in max_days:
		if reached.call():
			return true
		tm.advance_day()
	return assert_true(reached.call(), "reached within %d days" % max_days)


# The database's teams best rating first, equal ratings in list order.
func _ranked() -> Array:
	var teams := db.get_teams().duplicate()
	var order := {}
	for i in teams.size():
		order[teams[i]] = i
	teams.sort_custom(func(a, b): return a.get_vrs() > b.get_vrs() or (a.get_vrs() == b.get_vrs() and order[a] < order[b]))
	return teams


func _draw(outputs: Array, at: int) -> float:
	return (float(outputs[at]) + float(outputs[at + 1]) * TWO_32) / TWO_64


func _ids_of(teams: Array) -> Array:
	return teams.map(func(t): return t.get_id() if t is TeamData else t.id)


func _by_rating(teams: Array) -> Array:
	var ranked := _ranked()
	var sorted := teams.duplicate()
	sorted.sort_custom(func(a, b): return ranked.find(a) < ranked.find(b))
	return sorted


func test_each_day_moves_the_date_steps_every_tournament_in_turn_and_rests_every_team() -> void:
	# The best teams never play an open-tier league (rank offset 64), so only the day's rest moves them.
	var top := _ranked().slice(0, 4)
	for i in 4:
		top[i].set_stamina([100, 99, -7, 250][i])
	assert_true(tm.create_tournament("EPL", "TIER_OPEN", "2026-01-03"), "created")
	var log := []
	db.current_date_changed.connect(func(date): log.append(["date", date]))
	for name in ["tournament_updated", "day_advanced"]:
		tm.connect(name, func(arg): log.append([name, arg]))
	var days := []
	for day in 5:
		log.clear()
		assert_true(tm.advance_day())
		days.append([_tournament().status, log.duplicate()])
		if day == 0:
			assert_eq(top.map(func(team): return team.get_stamina()), [100, 100, 0, 100], "one point, within 0 to 100")
	var quiet := func(date): return [["date", date], ["day_advanced", date]]
	assert_eq(days, [["PENDING", quiet.call("2026-01-02")],
			["WAITING", [["date", "2026-01-03"], ["tournament_updated", 1], ["day_advanced", "2026-01-03"]]],
			["WAITING", quiet.call("2026-01-04")], ["WAITING", quiet.call("2026-01-05")],
			["ACTIVE", [["date", "2026-01-06"], ["tournament_updated", 1], ["tournament_updated", 1],
				["day_advanced", "2026-01-06"]]]], "invited on its date, started and played on its start date")
	assert_eq(_tournament().stages[0].nodes.slice(0, 4).map(func(n): return [n.date, n.status]),
			range(4).map(func(_i): return ["2026-01-06", "PLAYED"]), "the start date's matches are played that day")

	var alone: TournamentManager = autofree(TournamentManager.new())
	var alone_log := watch_signals(alone, ["day_advanced"])
	assert_eq([alone.advance_day(), alone_log], [false, []], "no day without a database")


func test_open_invitation_draws_acceptance_from_the_seed_and_seeds_the_field() -> void:
	var teams := db.get_teams()
	for i in teams.size():
		teams[i].set_stamina((i * 37) % 101)
	assert_true(tm.create_tournament("EWC", "HIGHEST", "2026-01-02"), "created")

	# The draw written out: two outputs per examined team, one more becomes the simulator's seed.
	var outputs: Array = hooks.mt_raw(SEED ^ (1 * 7919), 0, 2 * teams.size() + 1)
	var accepted := []
	var reserve := []
	var at := 0
	for team in _ranked():
		if accepted.size() >= 16:
			break
		(accepted if team.get_stamina() / 100.0 > _draw(outputs, at) else reserve).append(team)
		at += 2
	assert_true(reserve.size() > 0, "some teams declined")
	while accepted.size() < 16 and not reserve.is_empty():
		accepted.append(reserve.pop_front())
	var field := _by_rating(accepted)
	var stamina_then := field.map(func(team): return team.get_stamina())

	var log := watch_signals(tm, ["tournament_updated"])
	_days(1)
	var t := _tournament()
	assert_eq([t.status, log], ["WAITING", [["tournament_updated", 1]]], "invited on its date, announced once")
	assert_eq(tm.get_match_simulator().get_seed(), outputs[at], "the invitation moves the seed on")
	assert_eq(t.participants.map(func(p): return p.id), _ids_of(field), "accepted teams, then the reserve, by rating")
	for i in field.size():
		var p: Dictionary = t.participants[i]
		assert_eq([p.seed, p.vrs, p.stamina, t.initial_vrs[p.id]], [i + 1, field[i].get_vrs(), stamina_then[i],
				field[i].get_vrs()], "seed and snapshot of %s" % p.id)
	assert_eq(t.stages[0].nodes[0].team_a.id, field[0].get_id(), "the playoffs open with seed 1")
	assert_eq(t.stages[0].nodes[0].team_b.id, field[1].get_id(), "against seed 2")

	# Whatever the stamina, an open field is the best teams after the tier's offset: examined teams
	# accept at 100, and at 0 the reserve fills it in the same order.
	for stamina in [100, 0]:
		var manager: TournamentManager = autofree(TournamentManager.new())
		manager.set_team_database(db)
		manager.create_tournament("EPL", "TIER_1", hooks.add_days(db.get_current_date(), 1))
		for team in teams:
			team.set_stamina(stamina)
		manager.advance_day()
		var league: Dictionary = manager.get_tournaments()[0]
		assert_eq(league.participants.map(func(p): return p.id), _ids_of(_ranked().slice(16, 40)),
				"stamina %d: ranks 17 to 40" % stamina)
		var labels: Array = league.participants.map(func(p): return [p.seed, p.invited_stage, p.stage_seed])
		for i in 24:
			assert_eq(labels[i], [i + 1, "Stage 2 Direct" if i < 8 else "Stage 1", i + 1 if i < 8 else i - 7],
					"league seed %d" % (i + 1))


# The Major invitation written out from its rules, for the default quota map.
func _reference_major(simulator_seed: int) -> Dictionary:
	var quotas := {"stage3": {"EU": 6, "AM": 1, "AS": 1}, "stage2": {"EU": 5, "AM": 3, "AS": 0},
			"stage1": {"EU": 6, "AM": 6, "AS": 4}}
	var seed := simulator_seed
	var invited := {}
	var lists := {"stage3": [], "stage2": [], "stage1": []}
	var pool := _ranked()
	for region in ["EU", "AM", "AS"]:
		var candidates := pool.filter(func(t): return t.get_region() == region)
		var backup := []
		for stage in ["stage3", "stage2", "stage1"]:
			for k in quotas[stage][region]:
				var chosen: TeamData = null
				while chosen == null and not candidates.is_empty():
					var team: TeamData = candidates.pop_front()
					if invited.has(team.get_id()):
						continue
					if seed >= 0:
						var out: Array = hooks.mt_raw((team.get_id().hash() ^ seed) & 0xFFFFFFFF, 0, 3)
						seed = out[0]
						if team.get_stamina() / 100.0 > _draw(out, 1):
							chosen = team
							continue
					backup.append(team)
				while chosen == null and not backup.is_empty():
					var team: TeamData = backup.pop_front()
					if not invited.has(team.get_id()):
						chosen = team
				if chosen != null:
					invited[chosen.get_id()] = true
					lists[stage].append(chosen)
	for team in pool:
		if invited.size() >= 32:
			break
		if not invited.has(team.get_id()):
			invited[team.get_id()] = true
			lists.stage1.append(team)
	for stage in lists:
		lists[stage] = _ids_of(_by_rating(lists[stage]))
	return lists


func test_major_invitation_fills_regional_quotas_with_seeded_acceptance() -> void:
	var teams := db.get_teams()
	for i in teams.size():
		teams[i].set_stamina((i * 53) % 101)
	for simulator_seed in [SEED, -5]:
		var manager: TournamentManager = autofree(TournamentManager.new())
		manager.set_team_database(db)
		manager.get_match_simulator().set_seed(simulator_seed)
		var year := 2026 + (1 if simulator_seed < 0 else 0)
		assert_true(manager.create_tournament("MAJOR", "HIGHEST", "%d-03-01" % year, "Paris"), "created")
		# A Major invites by the quotas it was created with, whatever the manager's are by then.
		var quotas_then := manager.get_major_slots().duplicate(true)
		manager.set_major_slots({"stage3": {"EU": 0, "AM": 0, "AS": 0}})
		var expected := _reference_major(simulator_seed)
		db.set_current_date("%d-02-28" % year)
		manager.advance_day()
		var t: Dictionary = manager.get_tournaments()[0]
		var direct := {}
		for stage in t.major_direct:
			direct[stage] = t.major_direct[stage].map(func(e): return e.id)
		assert_eq(direct, expected, "seed %d: teams by entry stage" % simulator_seed)
		var field: Array = expected.stage3 + expected.stage2 + expected.stage1
		assert_eq(t.participants.map(func(p): return p.id), field, "seed %d: participants" % simulator_seed)
		for i in field.size():
			var p: Dictionary = t.participants[i]
			assert_eq(p.seed, i + 1, "seed of %s" % p.id)
			assert_eq(p, t.major_direct[p.invited_stage.to_lower().replace(" direct", "").replace(" ", "")][p.stage_seed - 1],
					"participants are the entries of major_direct")
		assert_eq(t.major_slots, quotas_then, "the quotas used are kept")
		assert_eq(t.stages[0].records.map(func(r): return r.team.id).filter(func(id): return not id in expected.stage1),
				[], "Stage 1 plays the Stage 1 invitees")

	# A Major saved without quotas or stages takes the manager's quotas and plans its stages when
	# invited. Quotas far above the field invite no more than the field, and only participants play on.
	tm.create_tournament("MAJOR", "HIGHEST", hooks.add_days(db.get_current_date(), 1), "Rome")
	var saved := tm.get_tournaments()
	saved[0].major_slots = {}
	saved[0].stages = []
	tm.set_tournaments(saved)
	tm.set_major_slots({"stage3": {"EU": 1 << 40, "AM": 1 << 40, "AS": 1 << 40}})
	_days(1)
	var t := _tournament()
	assert_eq([t.participants.size(), t.major_direct.stage3.size(), t.major_direct.stage2.size(),
			t.major_direct.stage1.size()], [32, 32, 0, 0], "an overfull Stage 3 is cut to the field")
	assert_eq(t.major_slots, tm.get_major_slots(), "the manager's quotas are kept as the Major's")
	assert_eq(t.stages.map(func(s): return s.nodes.size()), [33, 33, 33, 7], "the plan is made at the invitation")


func test_a_major_rests_between_stages_and_seeds_each_from_invitees_and_qualifiers() -> void:
	tm.create_tournament("MAJOR", "HIGHEST", "2026-01-02", "Paris")
	var played := {}
	var events := []
	tm.achievement_event.connect(func(event: Dictionary) -> void:
		events.append(event)
		if event.type == "match_played":
			played[event.context.match_id] = db.get_current_date()
		if event.type == "swiss_stage_completed":
			var t := _tournament()
			var ratings := {}
			for team in db.get_teams():
				ratings[team.get_id()] = team.get_vrs()
			events.append({"placements": t.placements.size(), "ratings": ratings, "stage": event.current_stage_idx}))
	# Per day: rest left, stage index and matches played.
	var days := []
	while _tournament().status != "COMPLETED" and days.size() < 200:
		var before := played.size()
		tm.advance_day()
		var t := _tournament()
		days.append([t.rest, t.current_stage_idx, played.size() - before])
	var t := _tournament()
	for problem in Fixture.problems_of_completed(t, true):
		fail(problem)

	# Every stage close leaves 7 rest days: the stage index moves on, the rest counts down with nothing
	# played, and play resumes the day after the last rest day.
	var closes := 0
	for i in range(1, days.size()):
		if days[i][1] != days[i - 1][1]:
			closes += 1
			assert_eq(days.slice(i, i + 9).map(func(d): return d[0]), [7, 6, 5, 4, 3, 2, 1, 0, 0], "rest after day %d" % i)
			assert_eq(days.slice(i + 1, i + 8).map(func(d): return d[2]), [0, 0, 0, 0, 0, 0, 0], "idle while resting")
			assert_true(days[i + 8][2] > 0, "play resumes after the rest")
	assert_eq(closes, 3, "three stage closes")

	# Each later Swiss stage starts from the direct invitees and the qualifiers, best live rating
	# first; its events see the placements before the close records them.
	var snapshots := events.filter(func(e): return e.has("placements"))
	assert_eq(snapshots.map(func(s): return s.placements), [0, 8, 16], "the close event comes before the placements")
	for stage_idx in [1, 2]:
		var pool: Array = t.major_direct["stage%d" % (stage_idx + 1)].map(func(e): return e.id)
		pool += t.stages[stage_idx - 1].records.filter(func(r): return r.w == 3).map(func(r): return r.team.id)
		var ratings: Dictionary = snapshots[stage_idx - 1].ratings
		var seeded: Array = t.stages[stage_idx].records.map(func(r): return [r.seed, r.team.id])
		var expected := pool.duplicate()
		var order := {}
		for i in pool.size():
			order[pool[i]] = i
		expected.sort_custom(func(a, b): return ratings[a] > ratings[b] or (ratings[a] == ratings[b] and order[a] < order[b]))
		assert_eq(seeded, range(16).map(func(i): return [i + 1, expected[i]]), "stage %d seeds by live rating" % stage_idx)
	assert_eq(t.participants.map(func(p): return p.seed), range(1, 33), "the invitees' own entries keep their field seeds")

	# The snapshot of each match holds the records as they stood, and the 2-0 / 0-2 marks follow them.
	for stage_idx in 3:
		var marks := {}
		for e in events.filter(func(e): return e.get("type") == "match_played" and e.context.stage_idx == stage_idx):
			var before: Dictionary = e.context.record_before_by_id
			for id in [e.context.team_a_id, e.context.team_b_id]:
				var r: Dictionary = before[id]
				if [r.w, r.l] in [[2, 0], [0, 2]]:
					marks["had_%d_%d" % [r.w, r.l] + id] = true
		for r in t.stages[stage_idx].records:
			for mark in ["had_2_0", "had_0_2"]:
				assert_eq(r.get(mark, false), marks.has(mark + r.team.id), "%s of %s" % [mark, r.team.id])


func test_brackets_play_a_node_once_both_teams_are_known_and_its_day_has_come() -> void:
	tm.create_tournament("BLAST", "HIGHEST", "2026-01-02", "London")
	if not _advance_until(func(): return _tournament().status == "WAITING"):
		return
	# One node loses its day, another is moved far ahead.
	var saved := tm.get_tournaments()
	var stage: Dictionary = saved[0].stages[0]
	stage.nodes[0].date = ""
	stage.nodes[1].date = "2027-01-01"
	tm.set_tournaments(saved)
	var played := {}
	tm.achievement_event.connect(func(event: Dictionary) -> void:
		if event.type == "match_played":
			played[event.context.match_name + str(event.context.match_id)] = db.get_current_date())
	if not _advance_until(func(): return _tournament().status != "WAITING"):
		return
	var start: String = db.get_current_date()
	var t := _tournament()
	assert_eq([t.stages[0].nodes[0].status, t.stages[0].nodes[0].date], ["PLAYED", start], "an undated node plays at once")
	assert_eq(t.stages[0].nodes[1].status, "PENDING", "a node whose day lies ahead waits")
	t.stages[0].nodes[1].date = start
	tm.set_tournaments([t])
	_play_out()
	t = _tournament()
	for problem in Fixture.problems_of_completed(t, true):
		fail(problem)
	var lower_r2: Dictionary = t.stages[0].nodes[10]
	var lower_sf: Dictionary = t.stages[0].nodes[11]
	assert_eq(lower_sf.date, lower_r2.date, "the lower semifinal shares its planned day with its feeder")
	assert_eq(hooks.add_days(played[lower_r2.name + lower_r2.id], 1), played[lower_sf.name + lower_sf.id],
			"and is played the day after it")
	var final: Dictionary = t.stages[0].nodes[13]
	assert_eq(t.standings[0].team.id, final.winner.id, "the grand final's winner takes 1st")
	assert_true(final.is_bo5, "a HIGHEST grand final is best of five")


# A played node saves the maps its series reported, each save with round histories of its own.
func test_a_played_node_saves_the_maps_its_series_reported() -> void:
	tm.create_tournament("BLAST", "HIGHEST", "2026-01-02", "London")
	var reports := []
	var match_ids := []
	tm.get_match_simulator().match_simulated.connect(func(report: Dictionary) -> void: reports.append(report))
	tm.achievement_event.connect(func(event: Dictionary) -> void:
		if event.type == "match_played":
			match_ids.append(event.context.match_id))
	var days := 0
	while _tournament().status != "COMPLETED" and days < 120:
		tm.advance_day()
		days += 1
	assert_eq(_tournament().status, "COMPLETED", "completed within 120 days")
	assert_eq(match_ids.size(), reports.size(), "one event per series")
	var nodes := {}
	for node in _tournament().stages[0].nodes:
		nodes[node.id] = node
	for i in reports.size():
		var node: Dictionary = nodes[match_ids[i]]
		assert_eq(node.details, reports[i].map_reports, "%s keeps the maps of its series" % node.name)
		assert_eq(node.details.size(), node.score_a + node.score_b, "%s: one report per map" % node.name)
	var saved: Dictionary = _tournament().stages[0].nodes[0].details[0]
	saved.round_history.append("X")
	assert_eq(saved.roundHistory.size() + 1, saved.round_history.size(), "each history is an array of its own")
	assert_eq(_tournament().stages[0].nodes[0].details, nodes[_tournament().stages[0].nodes[0].id].details,
			"and the node keeps its own")


func test_completion_splits_the_pool_by_weight_and_honours_by_tier() -> void:
	var teams := db.get_teams()
	var entry := func(i: int) -> Dictionary: return {"id": teams[i].get_id(), "name": teams[i].get_name(), "vrs": 900}
	teams[2].set_vrs(1300)
	teams[3].set_vrs(1400)
	var gone := {"id": "t-gone", "name": "Gone", "vrs": 1234}
	var placements := [[entry.call(0), "1st"], [entry.call(1), "2nd"], [entry.call(2), "3rd-4th"], [entry.call(1), "5th-8th"],
			[{}, "1st"], [entry.call(3), "3rd-4th"], [gone, "PLACEMENT_UNKNOWN"]]
	for tier in ["TIER_1", "TIER_S"]:
		for i in teams.size():
			teams[i].set_honors([])
			teams[i].set_prize_total(0)
			teams[i].set_wins(i + 7)
			teams[i].set_losses(i)
		tm.set_tournaments([{"id": 1, "status": "ACTIVE", "name": "Cup", "format_id": "EPL", "tier_id": tier,
				"prize": 1000000, "size": 5, "start_date": "2026-01-01", "rest": 2, "total_heat": 5000,
				"stages": [{"type": "SINGLE_ELIM", "name": "Playoffs"}],
				"placements": placements.map(func(p): return {"team": p[0], "tag": p[1], "vrs_before": 1111}),
				"participants": [entry.call(0), entry.call(1), entry.call(2), entry.call(3), gone],
				"initial_vrs": {"t-0": 1500}, "vrs_delta_map": {"t-1": -7}}])
		var funds := tm.get_available_funds()
		_days(2)
		assert_eq([_tournament().status, _tournament().rest], ["ACTIVE", 0], "%s: two rest days pass idle" % tier)
		for i in teams.size():
			teams[i].set_stamina(95 if i == 0 else 0)
		_days(1)
		var t := _tournament()
		assert_eq(t.status, "COMPLETED", "%s: a stage without matches ends at once" % tier)
		assert_eq(t.standings.map(func(s): return [s.placement, s.team.id, s.prize]), [["1st", "t-0", 568182],
				["2nd", "t-1", 227273], ["3rd-4th", "t-3", 102273], ["3rd-4th", "t-2", 102273], ["PLACEMENT_UNKNOWN", "t-gone", 0]],
				"%s: shares of 8800, equal places by rating after" % tier)
		var first: Dictionary = t.standings[0]
		assert_eq([first.vrs_before, first.vrs_after, first.delta_vrs], [1500, teams[0].get_vrs(), teams[0].get_vrs() - 1500],
				"ratings from the invitation and now")
		assert_eq([t.standings[1].vrs_before, t.standings[1].delta_vrs], [1111, -7], "the placement's rating and the match sum")
		assert_eq(t.standings[4].team, gone, "a team gone from the database keeps its entry")
		assert_eq(t.standings.slice(0, 4).map(func(s): return [s.team.wins, s.team.losses]), ["t-0", "t-1", "t-3", "t-2"].map(
				func(id): return [db.get_team_by_id(id).get_wins(), db.get_team_by_id(id).get_losses()]), "the record taken afresh")
		assert_eq(_ids_of(teams.slice(0, 4)).map(func(id): return db.get_team_by_id(id).get_prize_total()),
				[568182, 227273, 102273, 102273], "%s: prizes paid" % tier)
		assert_eq(teams.slice(0, 2).map(func(team): return team.get_honors().size()), [1, 1 if tier == "TIER_S" else 0],
				"%s: honours for the winner, and the runner-up in TIER_S" % tier)
		assert_eq(teams[0].get_stamina(), 100, "stamina 95 ends full")
		assert_true(teams.slice(1).all(func(team): return team.get_stamina() >= 11 and team.get_stamina() <= 31),
				"stamina 0 gains 10 to 30, then the day's point")
		assert_eq(tm.get_available_funds() - funds, 5000, "the organiser earns the heat")


func test_short_fields_and_lost_teams_still_finish() -> void:
	# Ten teams for fields of 8 to 32: every tournament ends, every participant with a standing.
	db.set_teams(db.get_teams().slice(0, 10))
	tm.create_tournament("MAJOR", "HIGHEST", "2026-01-02", "Paris")
	tm.create_tournament("EPL", "HIGHEST", "2026-01-02")
	tm.create_tournament("IEM", "HIGHEST", "2026-01-02", "Katowice")
	tm.create_tournament("EWC", "HIGHEST", "2026-01-02")
	tm.create_tournament("BLAST", "HIGHEST", "2026-01-02", "London")
	tm.create_tournament("BLAST", "TIER_1", "2026-01-02", "Lisbon")
	var days := _play_out()
	assert_true(days < 300, "all ended within %d days" % days)
	for t in tm.get_tournaments():
		for problem in Fixture.problems_of_completed(t, false):
			fail(problem)
		# TIER_1 skips the best 16 teams, which leaves nobody.
		var field := 0 if t.tier_id == "TIER_1" else (8 if t.format_id == "BLAST" else 10)
		assert_eq(t.participants.size(), field, "%s: the whole database" % t.name)

	# Teams removed while their matches are pending forfeit them; the tournaments play out in full.
	db.initialize_defaults()
	tm.set_tournaments([])
	# The short Major left quotas for a short field; the next one starts from the defaults again.
	tm.set_major_slots({})
	tm.create_tournament("EWC", "HIGHEST", "2027-01-02")
	tm.create_tournament("MAJOR", "HIGHEST", "2027-01-02", "Madrid")
	db.set_current_date("2027-01-01")
	if not _advance_until(func(): return tm.get_tournaments()[1].status == "ACTIVE"):
		return
	var removed := []
	for t in tm.get_tournaments():
		var node: Dictionary = t.stages[0].nodes.filter(func(n): return n.status == "PENDING" and not n.team_a.is_empty())[0]
		removed.append(node.team_a.id)
	db.set_teams(db.get_teams().filter(func(team): return not team.get_id() in removed))
	_play_out()
	for t in tm.get_tournaments():
		for problem in Fixture.problems_of_completed(t, true):
			fail(problem)
		var forfeits := []
		for stage in t.stages:
			forfeits += stage.nodes.filter(func(n): return n.details.is_empty())
		assert_false(forfeits.is_empty(), "%s: lost teams forfeit" % t.name)
		assert_true(forfeits.all(func(n): return n.loser.get("id") in removed and n.heat == 0 and n.score_a + n.score_b == 1),
				"%s: a forfeit is a 1-0 without heat for the team still there" % t.name)


static func _frozen(value: Variant) -> Variant:
	if value is Dictionary:
		var typed := Dictionary({}, TYPE_STRING, &"", null, TYPE_NIL, &"", null) if value.has("id") else {}
		for key in value:
			typed[key] = _frozen(value[key])
		typed.make_read_only()
		return typed
	if value is Array:
		var copy := []
		for element in value:
			copy.append(_frozen(element))
		copy.make_read_only()
		return copy
	return value


func test_frozen_and_typed_containers_from_a_save_still_play_out() -> void:
	tm.create_tournament("EPL", "TIER_OPEN", "2026-01-02")
	_days(1)
	# Every container of the record frozen, every team entry typed, every team's honours typed and frozen.
	tm.set_tournaments([_frozen(_tournament())])
	for team in db.get_teams():
		var honours := Array([], TYPE_DICTIONARY, &"", null)
		honours.make_read_only()
		team.set_honors(honours)
	_play_out()
	var t := _tournament()
	for problem in Fixture.problems_of_completed(t, true):
		fail(problem)
	var champion: TeamData = db.get_team_by_id(t.standings[0].team.id)
	assert_eq(champion.get_honors().size(), 1, "the champion's honour lands in a frozen list's place")


func test_match_heat_from_ratings_ranks_names_prize_and_round() -> void:
	# Ranks 1-5 at 3000, 6-19 at 2000, then a famous team at rank 20, one at 21, two plain teams after.
	var teams := []
	for i in 23:
		var team := TeamData.new()
		team.set_id("r%d" % (i + 1))
		team.set_name(["Vitality", "FaZe", "Plain", "Other"][i - 19] if i >= 19 else "Team %d" % i)
		team.set_vrs(3000 if i < 5 else (2000 if i < 19 else (1089 if i == 19 else 1000)))
		teams.append(team)
	db.set_teams(teams)
	var probe := TeamforgeTournamentProbe.new()
	probe.set_database(db)
	var e := func(id: String) -> Dictionary: return {"id": id, "vrs": 5, "name": db.get_team_by_id(id).get_name()}
	var plain: Dictionary = e.call("r22")
	var other: Dictionary = e.call("r23")
	var famous: Dictionary = e.call("r21")
	assert_eq([probe.match_heat(plain, other, 2000000, 1), probe.match_heat(plain, other, 1000000, 1),
			probe.match_heat(famous, other, 2000000, 1), probe.match_heat(famous, other, 2000000, 20),
			probe.match_heat(famous, other, 2000000, 0), probe.match_heat(famous, other, 2000000, -4),
			probe.match_heat(e.call("r1"), other, 2000000, 1), probe.match_heat(e.call("r5"), other, 2000000, 1),
			probe.match_heat({"id": "gone"}, other, 2000000, 1)],
			[1000, 500, 3142, 14050, 3142, 3142, 4243, 4243, 1000], "live ratings, prize, famous names, top ranks (the 5th too), round factor")
	# sqrt(2.5 * 9.87^2 * 1089 * 1000) = 9.87 * 1650 = 16285.5 exactly: a half, rounded away from zero.
	assert_eq(probe.match_heat(famous, e.call("r20"), 2000000, 1), 16286, "a rank-20 pairing of two famous names")
	var factors := {"Round 3": 1, "Round of 16": 1, "Upper R1": 1, "Lower R2": 1, "Quarterfinals": 2, "Semifinals": 5,
			"Upper SF": 5, "lower sf": 5, "SEMI FINAL": 5, "Semi-Final": 5, "Grand Final": 20, "Upper Final": 20, "": 1}
	for match_name in factors:
		assert_eq(probe.round_heat_factor(match_name), factors[match_name], "factor of %s" % match_name)


func test_loaded_positions_that_lead_nowhere_are_put_right_and_play_out() -> void:
	tm.create_tournament("EPL", "TIER_OPEN", "2026-01-02")
	var pending: Dictionary = _tournament()
	if not _advance_until(func(): return _tournament().status == "ACTIVE" and _tournament().stages[0].current_round == 2):
		return
	var running: Dictionary = _tournament()
	var world := db.to_dict()
	# [what, the record, the change, [stage index, rest, rounds of the two Swiss stages] after loading]
	var cases := [
		["a negative stage index", running, ["current_stage_idx", -5], [0, 0, 2, 1]],
		["an endless rest", running, ["rest", 2147483647], [0, 3, 2, 1]],
		["a Swiss round far below the first", running, ["round", -2147483648], [0, 0, 2, 1]],
		["a Swiss round past the last", running, ["round", 77], [0, 0, 2, 1]],
		["a later Swiss stage past its last round", running, ["later round", 40], [0, 0, 2, 1]],
		["pending matches on days that never come", running, ["match days", "zzzz"], [0, 0, 2, 1]],
		["invitation and start on no day", pending, ["dates", "abc"], [0, 0, 1, 1]],
		["a stage index past the end", running, ["current_stage_idx", 99], [3, 0, 2, 1]],
	]
	for c in cases:
		db.from_dict(world)
		var t: Dictionary = c[1].duplicate(true)
		match c[2][0]:
			"round":
				t.stages[0].current_round = c[2][1]
			"later round":
				t.stages[1].current_round = c[2][1]
			"match days":
				for node in t.stages[0].nodes.filter(func(n): return n.status == "PENDING"):
					node.date = c[2][1]
			"dates":
				t.merge({"inv_date": c[2][1], "start_date": c[2][1], "current_stage_idx": 4}, true)
			_:
				t[c[2][0]] = c[2][1]
		tm.set_tournaments([t])
		var loaded := _tournament()
		assert_eq([loaded.current_stage_idx, loaded.rest, loaded.stages[0].current_round, loaded.stages[1].current_round],
				c[3], "%s: put right on loading" % c[0])
		var days := _play_out(120)
		if c[3][0] == 3:
			# Past the end every stage counts as over: it completes on its next day, every team unranked.
			assert_eq([days, _tournament().standings.map(func(s): return s.placement)],
					[1, running.participants.map(func(_p): return "PLACEMENT_UNKNOWN")], c[0])
			continue
		assert_true(days < 120, "%s: completed after %d days" % [c[0], days])
		for problem in Fixture.problems_of_completed(_tournament(), true):
			fail("%s: %s" % [c[0], problem])
	# A record the library wrote loads back as it was.
	tm.set_tournaments([running])
	assert_eq(_tournament(), running, "a sound record is left alone")


# The counter of a stage saved in its last round, damaged: the round with seated teams is round 5, so
# loading puts it back there, its pairs play as saved, and the season goes on as from the sound record.
func test_a_damaged_counter_in_the_last_swiss_round_is_put_back_to_it() -> void:
	tm.get_match_simulator().set_seed(7)
	tm.create_tournament("EPL", "TIER_OPEN", "2026-01-02")
	if not _advance_until(func(): return _tournament().status == "ACTIVE" and _tournament().stages[0].current_round == 5):
		return
	var sound: Dictionary = _tournament()
	var world := db.to_dict()
	var pairs := func(t: Dictionary) -> Array:
		return t.stages[0].nodes.filter(func(n): return n.name == "Round 5").map(func(n): return [n.id, n.team_a.id, n.team_b.id])
	var seated: Array = pairs.call(sound)
	assert_true(not seated.is_empty() and seated.all(func(p): return p[1] != "" and p[2] != ""), "round 5 is seated: %s" % [seated])
	var finals := []
	for damaged in [true, false]:
		db.from_dict(world)
		var t := sound.duplicate(true)
		if damaged:
			t.stages[0].current_round = 77
		tm.set_tournaments([t])
		assert_eq(_tournament().stages[0].current_round, 5, "damaged %s: the counter reads round 5" % damaged)
		tm.get_match_simulator().set_seed(8)
		_play_out(120)
		var played := _tournament()
		assert_eq(played.status, "COMPLETED", "damaged %s: the tournament completes" % damaged)
		assert_eq(pairs.call(played), seated, "damaged %s: round 5 plays the pairs it was saved with" % damaged)
		for problem in Fixture.problems_of_completed(played, true):
			fail("damaged %s: %s" % [damaged, problem])
		finals.append([played, db.to_dict()])
	assert_eq(finals[0], finals[1], "the damaged save plays on exactly as the sound one")
