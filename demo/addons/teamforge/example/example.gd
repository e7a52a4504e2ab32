extends Control
# Plays one seeded season and shows it with the addon's controls: the leaderboard by prize money, with each
# team's record (TeamforgeLeaderboardTable), and the bracket of the season's Major (TeamforgeBracketView); click
# a match for its report map by map. Both read the GameCore of the scene, bound in the inspector. The same seed
# plays the same season on every run; change season_seed in the inspector for another one. Also prints a short
# summary.
#   godot --path <project> res://addons/teamforge/example/example.tscn

## The match simulator's seed: one seed, one season.
@export var season_seed := 2026

# Format, tier, invitation date and host city of each tournament of the season. The highest tier invites the
# best-rated teams, so the teams at the top play every tournament of the season.
const SEASON := [
	["MAJOR", "HIGHEST", "2026-01-03", "Austin"],
	["BLAST", "HIGHEST", "2026-04-01", "Lisbon"],
	["IEM", "HIGHEST", "2026-06-01", "Cologne"],
]
const MAX_DAYS := 365

@onready var core: GameCore = $GameCore
@onready var title: Label = %Title
@onready var leaderboard: TeamforgeLeaderboardTable = %Leaderboard
@onready var bracket: TeamforgeBracketView = %Bracket


func _ready() -> void:
	core.set_seed(season_seed)
	core.initialize_new_game()
	for request in SEASON:
		var result: Dictionary = core.create_tournament(request[0], request[1], request[2], request[3])
		if not result.ok:
			push_error("Teamforge example: %s %s was refused: %s" % [request[0], request[1], result.message_key])
	var days := 0
	while days < MAX_DAYS and not _season_over():
		core.advance_day()
		days += 1
	var major: Array = core.get_tournament_summaries().filter(func(summary): return summary.format_id == "MAJOR")
	if not major.is_empty():
		bracket.tournament_id = str(major[0].id)
	title.text = "Season of seed %d, played to %s: the top ten by prize money, and %s" % [season_seed,
			core.get_current_date(), major[0].name if not major.is_empty() else "no Major"]
	# The controls redraw themselves at the end of the frame; the summary reads the table now.
	leaderboard.refresh()
	_print_summary()


func _season_over() -> bool:
	return core.get_tournament_summaries().all(func(summary): return summary.status == "COMPLETED")


func _print_summary() -> void:
	var summaries: Array = core.get_tournament_summaries()
	print("Teamforge example: seed %d, %d tournaments, season over on %s" % [season_seed, summaries.size(),
			core.get_current_date()])
	for summary in summaries:
		print("  %s (%s %s): %s" % [summary.name, summary.format_id, summary.tier_id,
				summary.champion_name if summary.status == "COMPLETED" else summary.status])
	# As the table shows them: rank, team, region, rating, record, prize money.
	for row in leaderboard.row_texts():
		print("  #%s %s (%s), rating %s, %s, %s" % row.slice(0, 6))
