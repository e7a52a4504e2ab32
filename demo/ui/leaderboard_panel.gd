extends VBoxContainer
# The leaderboard as the game core ranks it: every team with rating, record, prize money and honours (the addon's
# TeamforgeLeaderboardTable), filtered to one region and sorted by rating or by prize money, and a line saying
# what is shown.

const Texts := preload("res://ui/texts.gd")
# The options show keys: the option button translates them itself.
const REGION_FILTERS := {"ALL": "DEMO_ALL_REGIONS", "EU": "REGION_EU", "AM": "REGION_AM", "AS": "REGION_AS"}
const SORT_MODES := {"VRS": "DEMO_RATING", "PRIZE": "DEMO_PRIZE_MONEY"}

var core: GameCore
## The leaderboard dictionary on show, as the game core returned it.
var view: Dictionary = {}

@onready var region_filter: OptionButton = %RegionFilter
@onready var sort_mode: OptionButton = %SortMode
@onready var table: TeamforgeLeaderboardTable = %Table
@onready var summary: Label = %Summary


func _ready() -> void:
	for code in REGION_FILTERS:
		region_filter.add_item(REGION_FILTERS[code])
		region_filter.set_item_metadata(region_filter.item_count - 1, code)
	for code in SORT_MODES:
		sort_mode.add_item(SORT_MODES[code])
		sort_mode.set_item_metadata(sort_mode.item_count - 1, code)
	region_filter.item_selected.connect(func(_index: int) -> void: refresh())
	sort_mode.item_selected.connect(func(_index: int) -> void: refresh())


func bind(game_core: GameCore) -> void:
	core = game_core


func region_code() -> String:
	return region_filter.get_item_metadata(region_filter.selected) if region_filter.selected >= 0 else "ALL"


func sort_code() -> String:
	return sort_mode.get_item_metadata(sort_mode.selected) if sort_mode.selected >= 0 else "VRS"


func refresh() -> void:
	if core == null:
		return
	view = core.get_leaderboard_data(region_code(), sort_code())
	table.show_leaderboard(view)
	summary.text = Texts.text("DEMO_LEADERBOARD_SUMMARY").format({
			"teams": Texts.count("DEMO_TEAM_COUNT", int(view.get("count", 0))),
			"region": Texts.text(REGION_FILTERS.get(region_code(), "DEMO_ALL_REGIONS")),
			"order": Texts.text(SORT_MODES.get(sort_code(), "DEMO_RATING")),
			"date": Texts.date(view.get("current_date", ""))})

