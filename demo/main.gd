extends SceneTree
# The main job: one seeded season. Organises a year of tournaments of every format and tier, plays the
# calendar day by day to the year's end, and prints each finished tournament's podium and the final
# leaderboard as the game core shows it.
#   tools/godot --headless --path demo -s res://main.gd -- [--seed=N]

const Texts := preload("res://ui/texts.gd")
const DEFAULT_SEED := 2026
const SEASON_END := "2026-12-31"
const FUNDS := 40000000
const LEADERBOARD_ROWS := 20

# Format, tier, invitation date, host city: every combination the catalog allows, spread over the year.
const SCHEDULE := [
	["EPL", "TIER_OPEN", "2026-01-03", ""],
	["BLAST", "TIER_1", "2026-01-10", "Lisbon"],
	["EPL", "TIER_3", "2026-01-20", ""],
	["IEM", "TIER_1", "2026-02-01", "Dallas"],
	["MAJOR", "HIGHEST", "2026-02-10", "Austin"],
	["EPL", "TIER_2", "2026-03-01", ""],
	["BLAST", "TIER_S", "2026-03-15", "Copenhagen"],
	["IEM", "TIER_S", "2026-04-01", "Melbourne"],
	["EPL", "TIER_1", "2026-05-01", ""],
	["EWC", "HIGHEST", "2026-05-20", ""],
	["IEM", "HIGHEST", "2026-06-01", "Cologne"],
	["EPL", "TIER_S", "2026-07-01", ""],
	["MAJOR", "HIGHEST", "2026-07-15", "Budapest"],
	["EPL", "HIGHEST", "2026-08-01", ""],
	["BLAST", "HIGHEST", "2026-09-01", "Abu Dhabi"],
	["EPL", "TIER_OPEN", "2026-09-15", ""],
	["IEM", "TIER_1", "2026-10-01", "Chengdu"],
	["BLAST", "TIER_1", "2026-10-10", "Atlanta"],
	["EPL", "TIER_3", "2026-10-20", ""],
	["IEM", "TIER_S", "2026-11-01", "Sydney"],
	["EPL", "TIER_OPEN", "2026-11-20", ""],
]

var database: TeamDatabase
var manager: TournamentManager


func _init() -> void:
	# The printout is English on every machine, whatever its system language.
	TranslationServer.set_locale("en")
	var seed_value := _seed_option()
	database = TeamDatabase.new()
	database.initialize_defaults()
	manager = TournamentManager.new()
	manager.set_team_database(database)
	var simulator := MatchSimulator.new()
	simulator.set_seed(seed_value)
	manager.set_match_simulator(simulator)
	manager.set_available_funds(FUNDS)
	manager.tournament_completed.connect(_print_podium)

	print("Teamforge season %s, seed %d, %d teams, organiser funds %s" % [database.get_current_date().left(4),
			seed_value, database.get_team_count(), Texts.money(FUNDS)])
	for request in SCHEDULE:
		if not manager.create_tournament(request[0], request[1], request[2], request[3]):
			printerr("could not organise %s: %s" % [request, manager.get_last_create_error()])
	print("%d tournaments organised\n" % manager.get_tournaments().size())

	var started := Time.get_ticks_usec()
	var days := 0
	while database.get_current_date() < SEASON_END:
		manager.advance_day()
		days += 1
	var elapsed_ms := (Time.get_ticks_usec() - started) / 1000.0

	var core := GameCore.new()
	core.from_dict({"team_database": database.to_dict(), "tournament_manager": manager.to_dict()})
	_print_leaderboard(core.get_leaderboard_data("ALL", "VRS"))
	var finished := manager.get_tournaments().filter(func(t): return t.status == "COMPLETED").size()
	print("\n%d days played in %.1f ms; %d of %d tournaments completed; organiser funds %s" % [days, elapsed_ms,
			finished, manager.get_tournaments().size(), Texts.money(manager.get_available_funds())])

	core.free()
	manager.free()
	database.free()
	quit(0)


func _seed_option() -> int:
	for arg in OS.get_cmdline_user_args():
		if arg.begins_with("--seed="):
			return arg.trim_prefix("--seed=").to_int()
	return DEFAULT_SEED


func _print_podium(tournament_id: int) -> void:
	for t in manager.get_tournaments():
		if t.id != tournament_id:
			continue
		print("%s  (%s %s, %s to %s, pool %s)" % [t.name, t.format_id, t.tier_id, t.start_date,
				database.get_current_date(), Texts.money(t.prize)])
		for i in mini(3, t.standings.size()):
			var standing: Dictionary = t.standings[i]
			print("    %-8s %-22s %-3s %12s" % [standing.placement, standing.team.name, standing.team.region,
					Texts.money(standing.prize)])
		print("")


func _print_leaderboard(view: Dictionary) -> void:
	print("Leaderboard on %s" % view.current_date)
	print("%4s  %-22s %-6s %6s %9s %14s %7s" % ["#", "Team", "Region", "Rating", "Record", "Prize money", "Honours"])
	for i in mini(LEADERBOARD_ROWS, view.teams.size()):
		var row: Dictionary = view.teams[i]
		print("%4d  %-22s %-6s %6d %9s %14s %7d" % [row.display_rank, row.name, row.region, row.vrs,
				"%d-%d" % [row.wins, row.losses], Texts.money(row.prize_total), row.honors.size()])
