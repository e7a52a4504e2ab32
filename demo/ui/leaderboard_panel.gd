extends VBoxContainer
# The leaderboard as the game core ranks it: every team with rating, record, prize money and honours, filtered
# to one region and sorted by rating or by prize money. "Rank" is the world rank, so a region or the prize
# order shows where each team stands globally.

const Texts := preload("res://ui/texts.gd")
const TableRows := preload("res://ui/table_rows.gd")

enum Column { RANK, TEAM, REGION, RATING, RECORD, PRIZE, HONOURS }

const TITLES := ["DEMO_RANK", "DEMO_TEAM", "DEMO_REGION", "DEMO_RATING", "DEMO_RECORD", "DEMO_PRIZE_MONEY",
		"DEMO_HONOURS"]
const WIDTHS := [70, 0, 120, 80, 90, 140, 90]
# The options show keys: the option button translates them itself.
const REGION_FILTERS := {"ALL": "DEMO_ALL_REGIONS", "EU": "REGION_EU", "AM": "REGION_AM", "AS": "REGION_AS"}
const SORT_MODES := {"VRS": "DEMO_RATING", "PRIZE": "DEMO_PRIZE_MONEY"}

var core: GameCore
## The leaderboard dictionary on show, as the game core returned it.
var view: Dictionary = {}

var _rows: TableRows

@onready var region_filter: OptionButton = %RegionFilter
@onready var sort_mode: OptionButton = %SortMode
@onready var table: Tree = %Table
@onready var summary: Label = %Summary


func _ready() -> void:
	for column in TITLES.size():
		table.set_column_title(column, TITLES[column])
		table.set_column_expand(column, WIDTHS[column] == 0)
		table.set_column_custom_minimum_width(column, WIDTHS[column])
		if column != Column.TEAM and column != Column.REGION:
			table.set_column_title_alignment(column, HORIZONTAL_ALIGNMENT_RIGHT)
	for code in REGION_FILTERS:
		region_filter.add_item(REGION_FILTERS[code])
		region_filter.set_item_metadata(region_filter.item_count - 1, code)
	for code in SORT_MODES:
		sort_mode.add_item(SORT_MODES[code])
		sort_mode.set_item_metadata(sort_mode.item_count - 1, code)
	_rows = TableRows.new(table, WIDTHS)
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
	var selected_id := ""
	if table.get_selected() != null:
		selected_id = str(table.get_selected().get_metadata(0))
	_rows.show(view.get("teams", []), func(item: TreeItem, row: Dictionary) -> void: _write_row(item, row, selected_id))
	summary.text = Texts.text("DEMO_LEADERBOARD_SUMMARY").format({
			"teams": Texts.count("DEMO_TEAM_COUNT", int(view.get("count", 0))),
			"region": Texts.text(REGION_FILTERS.get(region_code(), "DEMO_ALL_REGIONS")),
			"order": Texts.text(SORT_MODES.get(sort_code(), "DEMO_RATING")),
			"date": Texts.date(view.get("current_date", ""))})


func _write_row(item: TreeItem, row: Dictionary, selected_id: String) -> void:
	item.set_metadata(0, row.id)
	item.set_text(Column.RANK, str(row.rank))
	item.set_text(Column.TEAM, row.name)
	item.set_text(Column.REGION, Texts.region_name(row.region_key))
	item.set_text(Column.RATING, str(row.vrs))
	item.set_text(Column.RECORD, "%d-%d" % [row.wins, row.losses])
	item.set_text(Column.PRIZE, Texts.money(row.prize_total))
	item.set_text(Column.HONOURS, str(row.honors.size()))
	for column in [Column.RANK, Column.RATING, Column.RECORD, Column.PRIZE, Column.HONOURS]:
		item.set_text_alignment(column, HORIZONTAL_ALIGNMENT_RIGHT)
	item.set_tooltip_text(Column.RANK, _rank_tooltip(row))
	item.set_tooltip_text(Column.TEAM, Texts.text("DEMO_TEAM_TOOLTIP") % [row.name, row.stamina])
	item.set_tooltip_text(Column.HONOURS, _honours_tooltip(row.honors))
	if row.id == selected_id:
		item.select(0)
	else:
		item.deselect(0)


static func _rank_tooltip(row: Dictionary) -> String:
	if row.regional_rank > 0:
		return Texts.text("DEMO_RANK_IN_REGION") % [row.global_rank, row.regional_rank, Texts.region_name(row.region_key)]
	return Texts.text("DEMO_RANK_WORLD") % row.global_rank


static func _honours_tooltip(honors: Array) -> String:
	var lines := PackedStringArray()
	for honour in honors:
		if honour is Dictionary:
			lines.append("%s: %s (%s)" % [honour.get("name", ""), Texts.name_of(str(honour.get("placement", ""))),
					Texts.money(int(honour.get("prize", 0)))])
	return "\n".join(lines) if not lines.is_empty() else Texts.text("DEMO_NO_HONOURS")
