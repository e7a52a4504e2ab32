extends Control
# Plays one seeded season and shows the leaderboard. The same seed plays the same season on every run;
# change season_seed in the inspector for another one. Also prints a short summary.
#   godot --path <project> res://addons/teamforge/example/example.tscn

## The match simulator's seed: one seed, one season.
@export var season_seed := 2026
## How many teams the leaderboard shows.
@export var shown_teams := 10

# Format, tier, invitation date and host city of each tournament of the season.
const SEASON := [
	["EPL", "TIER_OPEN", "2026-01-03", ""],
	["BLAST", "TIER_1", "2026-01-10", "Lisbon"],
	["IEM", "TIER_1", "2026-02-01", "Dallas"],
]
const MAX_DAYS := 365
const COLUMNS := ["#", "Team", "Region", "Rating", "Record", "Prize money"]

@onready var core: GameCore = $GameCore
@onready var title: Label = %Title
@onready var table: GridContainer = %Leaderboard


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
	var leaderboard: Dictionary = core.get_leaderboard_data("ALL", "VRS")
	title.text = "Season of seed %d, leaderboard on %s" % [season_seed, leaderboard.current_date]
	_fill_table(leaderboard.teams)
	_print_summary(leaderboard)


func _season_over() -> bool:
	return core.get_tournament_summaries().all(func(summary): return summary.status == "COMPLETED")


func _fill_table(p_teams: Array) -> void:
	for child in table.get_children():
		child.queue_free()
	table.columns = COLUMNS.size()
	for heading in COLUMNS:
		_add_cell(heading, true)
	for row in p_teams.slice(0, shown_teams):
		_add_cell(str(row.display_rank), false)
		_add_cell(row.name, false)
		_add_cell(row.region, false)
		_add_cell(str(row.vrs), false)
		_add_cell("%d-%d" % [row.wins, row.losses], false)
		_add_cell(_money(row.prize_total), false)


func _add_cell(p_text: String, p_heading: bool) -> void:
	var label := Label.new()
	label.text = p_text
	if p_heading:
		label.add_theme_color_override("font_color", Color("#ffca5f"))
	table.add_child(label)


func _print_summary(p_leaderboard: Dictionary) -> void:
	var summaries: Array = core.get_tournament_summaries()
	print("Teamforge example: seed %d, %d tournaments, season over on %s" % [season_seed, summaries.size(),
			p_leaderboard.current_date])
	for summary in summaries:
		print("  %s (%s %s): %s" % [summary.name, summary.format_id, summary.tier_id,
				summary.champion_name if summary.status == "COMPLETED" else summary.status])
	var leaders := PackedStringArray()
	for row in p_leaderboard.teams.slice(0, 3):
		leaders.append("%d. %s (%d)" % [row.display_rank, row.name, row.vrs])
	print("  leaderboard: " + ", ".join(leaders))


static func _money(p_amount: int) -> String:
	var digits := str(absi(p_amount))
	var grouped := ""
	while digits.length() > 3:
		grouped = "," + digits.right(3) + grouped
		digits = digits.left(digits.length() - 3)
	return ("-" if p_amount < 0 else "") + "$" + digits + grouped
