extends SceneTree
# The main job: one seeded season, told as a season report. Organises a year of tournaments of every format
# and tier in a GameCore seeded with set_seed, plays the calendar day by day to the year's end, and prints
# every tournament in the order it starts (its format and tier in the catalogue's words, dates, prize pool
# and podium) and the final leaderboard as the game core shows it.
#   tools/godot --headless --path demo -s res://main.gd -- [--seed N | --seed=N]

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

var core: GameCore
# Tournament id -> the day it was completed.
var finished_on := {}


func _init() -> void:
	# The printout is English on every machine, whatever its system language.
	TranslationServer.set_locale("en")
	var seed_value = _seed_option()
	if seed_value == null:
		printerr("usage: main.gd [--seed N | --seed=N]  (N an integer, default %d)" % DEFAULT_SEED)
		quit(2)
		return
	core = GameCore.new()
	core.set_seed(seed_value)
	core.set_credits(FUNDS)
	core.achievement_event.connect(_note_completion)

	print("Teamforge season %s, seed %d, %s, organiser funds %s" % [core.get_current_date().left(4), seed_value,
			Texts.count("DEMO_TEAM_COUNT", core.get_leaderboard_data().count), Texts.money(FUNDS)])
	for request in SCHEDULE:
		var result := core.create_tournament(request[0], request[1], request[2], request[3])
		if not result.ok:
			printerr("could not organise %s: %s" % [request, result.message_key])
	var days := 0
	while core.get_current_date() < SEASON_END:
		core.advance_day()
		days += 1

	var tournaments := _in_starting_order(core.get_organize_data().tournaments)
	print("%d tournaments organised, in the order they start\n" % tournaments.size())
	for t in tournaments:
		_print_tournament(t)
	_print_leaderboard(core.get_leaderboard_data("ALL", "VRS"))
	var completed := tournaments.filter(func(t): return t.status == "COMPLETED").size()
	print("\n%d days played; %d of %d tournaments completed; organiser funds %s" % [days, completed,
			tournaments.size(), Texts.money(core.get_credits())])
	core.free()
	quit(0)


# The seed as given (--seed N or --seed=N), the default without one, null for anything else.
static func _seed_option():
	var args := OS.get_cmdline_user_args()
	var seed_value = DEFAULT_SEED
	var i := 0
	while i < args.size():
		var text := ""
		if args[i] == "--seed" and i + 1 < args.size():
			text = args[i + 1]
			i += 2
		elif args[i].begins_with("--seed="):
			text = args[i].trim_prefix("--seed=")
			i += 1
		else:
			return null
		if not text.is_valid_int():
			return null
		seed_value = text.to_int()
	return seed_value


# By start date, ties in creation order (ids grow with creation).
static func _in_starting_order(tournaments: Array) -> Array:
	var ordered := tournaments.duplicate()
	ordered.sort_custom(func(a, b): return a.start_date < b.start_date or (a.start_date == b.start_date and a.id < b.id))
	return ordered


func _note_completion(event: Dictionary) -> void:
	if event.type == "tournament_completed":
		finished_on[event.tour_id] = core.get_current_date()


func _print_tournament(t: Dictionary) -> void:
	var kind: String = Texts.text("DEMO_TOURNAMENT_TOOLTIP") % [Texts.format_name(t.format_id),
			Texts.tier_name(t.tier_id), Texts.money(t.prize)]
	if t.status != "COMPLETED":
		print("%s  (%s; from %s, %s on %s)\n" % [t.name, kind, Texts.date(t.start_date), Texts.status_name(t.status).to_lower(),
				Texts.date(core.get_current_date())])
		return
	print("%s  (%s; %s to %s)" % [t.name, kind, Texts.date(t.start_date), Texts.date(finished_on.get(t.id, t.date))])
	for i in mini(3, t.standings.size()):
		var standing: Dictionary = t.standings[i]
		print("    %-8s %-22s %-9s %12s" % [Texts.name_of(standing.placement), standing.team.name,
				Texts.region_name("REGION_" + standing.team.region), Texts.money(standing.prize)])
	print("")


func _print_leaderboard(view: Dictionary) -> void:
	print("Leaderboard on %s" % Texts.date(view.current_date))
	print("%4s  %-22s %-9s %6s %9s %14s %7s" % ["#", Texts.text("DEMO_TEAM"), Texts.text("DEMO_REGION"),
			Texts.text("DEMO_RATING"), Texts.text("DEMO_RECORD"), Texts.text("DEMO_PRIZE_MONEY"), Texts.text("DEMO_HONOURS")])
	for i in mini(LEADERBOARD_ROWS, view.teams.size()):
		var row: Dictionary = view.teams[i]
		print("%4d  %-22s %-9s %6d %9s %14s %7d" % [row.display_rank, row.name, Texts.region_name(row.region_key), row.vrs,
				"%d-%d" % [row.wins, row.losses], Texts.money(row.prize_total), row.honors.size()])
