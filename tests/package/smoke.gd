extends SceneTree
# Smoke test of the packaged addon, run in a fresh project that has little but the unpacked zip: the
# classes are there, a seeded best-of-three series plays and replays, and a whole league tournament runs
# from creation to completion with its prize money, honours and the organiser's funds, and a refusal's code
# read in two languages from the addon's catalogues, which the addon's plugin listed in the project's
# translations (tools/test_package.sh enables it in the editor first).
#   godot --headless --path <project> -s res://smoke.gd

const CLASSES := ["TeamData", "TeamDatabase", "GameCore", "MatchSimulator", "TournamentManager",
		"EconomySystem", "GameSettings"]
const MAX_DAYS := 120

var failures: PackedStringArray = []


func _init() -> void:
	for class_name_ in CLASSES:
		_expect(ClassDB.class_exists(class_name_) and ClassDB.can_instantiate(class_name_),
				"%s is not an instantiable class" % class_name_)
	if failures.is_empty():
		_play_series()
		_play_tournament()
		_translate_a_code()
	if failures.is_empty():
		print("smoke test passed")
		quit(0)
		return
	for failure in failures:
		printerr("smoke test: " + failure)
	quit(1)


func _expect(p_condition: bool, p_failure: String) -> void:
	if not p_condition:
		failures.append(p_failure)


func _series(p_seed: int) -> Dictionary:
	var database := TeamDatabase.new()
	database.initialize_defaults()
	var team_a := database.get_team_at(0)
	var team_b := database.get_team_at(1)
	var simulator := MatchSimulator.new()
	simulator.seed = p_seed
	var announced := []
	simulator.match_simulated.connect(func(report): announced.append(report))
	var report := simulator.simulate_match(team_a, team_b)
	_expect(announced.size() == 1 and announced[0] == report, "match_simulated was not emitted once with the report")
	_expect(team_a.wins + team_b.wins == 1 and team_a.losses + team_b.losses == 1,
			"the series did not count one win and one loss: %s" % [[team_a.wins, team_a.losses, team_b.wins, team_b.losses]])
	database.free()
	return report


func _play_series() -> void:
	var report := _series(2026)
	if report.has("error"):
		failures.append("simulate_match failed: %s" % report.error)
		return
	_expect(maxi(report.score_a, report.score_b) == 2 and mini(report.score_a, report.score_b) <= 1,
			"a best-of-three ended %d-%d" % [report.score_a, report.score_b])
	_expect(report.map_reports.size() == report.score_a + report.score_b,
			"%d map reports for a %d-%d series" % [report.map_reports.size(), report.score_a, report.score_b])
	_expect(report.winner_id == (report.team_a_id if report.score_a > report.score_b else report.team_b_id),
			"the winner does not match the score")
	var replay := _series(2026)
	_expect(replay == report, "the same seed did not replay the same series")


func _play_tournament() -> void:
	var database := TeamDatabase.new()
	database.initialize_defaults()
	var manager := TournamentManager.new()
	manager.team_database = database
	manager.match_simulator.seed = 7
	var completed := []
	manager.tournament_completed.connect(func(id): completed.append(id))
	var funds_before := manager.available_funds

	if not manager.create_tournament("EPL", "TIER_OPEN", "2026-01-03"):
		failures.append("create_tournament refused: %s" % manager.get_last_create_error())
	else:
		var days := 0
		while manager.tournaments[0].status != "COMPLETED" and days < MAX_DAYS:
			manager.advance_day()
			days += 1
		var tournament: Dictionary = manager.tournaments[0]
		_expect(tournament.status == "COMPLETED", "not completed after %d days: %s" % [days, tournament.status])
		_expect(completed == [tournament.id], "tournament_completed carried %s" % [completed])
		_expect(tournament.standings.size() == tournament.size,
				"%d standings for %d teams" % [tournament.standings.size(), tournament.size])
		if not tournament.standings.is_empty():
			var first: Dictionary = tournament.standings[0]
			var champion := database.get_team_by_id(first.team.id)
			_expect(first.placement == "1st", "the first standing is %s" % first.placement)
			_expect(champion != null and first.prize > 0 and champion.prize_total == first.prize,
					"the champion was not paid its prize of %d" % first.prize)
			_expect(champion != null and champion.honors.size() == 1, "the champion has no honour")
			print("%s: %s won after %d days" % [tournament.name, first.team.name, days])
		_expect(manager.available_funds == funds_before - tournament.prize + tournament.total_heat,
				"funds %d after paying %d and earning %d heat from %d" % [manager.available_funds,
				tournament.prize, tournament.total_heat, funds_before])
	manager.free()
	database.free()


# The documented way: the catalogues in the project's translation list, a GameSettings node driving the locale.
func _translate_a_code() -> void:
	var manager := TournamentManager.new()
	manager.create_tournament("EPL", "TIER_OPEN", "2026-01-03")
	var code := manager.get_last_create_error()
	manager.free()
	var settings := GameSettings.new()
	settings.locale_changed.connect(TranslationServer.set_locale)
	var words := {}
	for locale in ["de", "fr"]:
		settings.current_locale = locale
		words[locale] = tr(code)
	settings.free()
	_expect(code == "ERROR_TEAM_DATABASE_REQUIRED" and words == {
			"de": "Es gibt keine Teams zum Einladen: Starte zuerst ein neues Spiel.",
			"fr": "Aucune équipe à inviter : commencez d'abord une nouvelle partie."},
			"%s reads %s" % [code, words])
