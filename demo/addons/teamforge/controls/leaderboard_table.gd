class_name TeamforgeLeaderboardTable
extends Control
## The leaderboard as a table: rank, team, region, rating, record (wins-losses), prize money and honours.
##
## Bind it to a [GameCore] with [member source]: it reads [code]get_leaderboard_data(region, sort_by)[/code] and
## reads it again when the game core emits [code]leaderboard_changed[/code]. Or hand it a leaderboard with
## [method show_leaderboard]. "Rank" is the world rank, so a region or the prize order shows where each team
## stands in the world. A row is written again only when its team changed. The table is a [Tree] ([member tree]),
## styled by the theme's [code]Tree[/code] items like any other.

enum Column { RANK, TEAM, REGION, RATING, RECORD, PRIZE, HONOURS }

const Texts := preload("res://addons/teamforge/controls/control_texts.gd")
const TableRows := preload("res://addons/teamforge/controls/table_rows.gd")
const SourceLink := preload("res://addons/teamforge/controls/source_link.gd")

const TITLES := ["TEAMFORGE_RANK", "TEAMFORGE_TEAM", "TEAMFORGE_REGION", "TEAMFORGE_RATING", "TEAMFORGE_RECORD",
		"TEAMFORGE_PRIZE_MONEY", "TEAMFORGE_HONOURS"]
const WIDTHS := [70, 0, 120, 80, 90, 140, 90]

## A [GameCore] to read the leaderboard from; anything else shows nothing.
@export var source: Node:
	set(value):
		source = value
		_link.bind(value, SourceLink.LEADERBOARD_SIGNALS)
		_link.request()
## "ALL", or one region: "EU", "AM", "AS".
@export var region := "ALL":
	set(value):
		region = value
		_link.request()
## "VRS" (by rating) or "PRIZE" (by prize money).
@export var sort_by := "VRS":
	set(value):
		sort_by = value
		_link.request()
## How many rows to show at most; 0 shows every team.
@export var max_rows := 0:
	set(value):
		max_rows = maxi(value, 0)
		if not data.is_empty():
			show_leaderboard(data)
## Whether the honours column is shown.
@export var show_honours := true:
	set(value):
		show_honours = value
		_set_up_columns()
		if not data.is_empty():
			show_leaderboard(data)

## The table.
var tree: Tree
## The leaderboard shown, as it was handed in.
var data: Dictionary = {}

var _rows: TableRows
var _link := SourceLink.new(refresh)


func _init() -> void:
	tree = Tree.new()
	tree.name = "Table"
	tree.column_titles_visible = true
	tree.hide_root = true
	tree.select_mode = Tree.SELECT_ROW
	tree.add_theme_constant_override(&"item_margin", 0)
	tree.set_anchors_and_offsets_preset(PRESET_FULL_RECT)
	add_child(tree)
	_set_up_columns()


# The columns, honours last when shown; every row is written again.
func _set_up_columns() -> void:
	tree.clear()
	tree.columns = TITLES.size() if show_honours else TITLES.size() - 1
	for column in tree.columns:
		tree.set_column_title(column, TITLES[column])
		tree.set_column_expand(column, WIDTHS[column] == 0)
		tree.set_column_custom_minimum_width(column, WIDTHS[column])
		if column != Column.TEAM and column != Column.REGION:
			tree.set_column_title_alignment(column, HORIZONTAL_ALIGNMENT_RIGHT)
	tree.remove_meta(&"allotted_widths")
	_rows = TableRows.new(tree, WIDTHS.slice(0, tree.columns))


## Reads the leaderboard from the source again and shows it.
func refresh() -> void:
	if _link.is_bound():
		show_leaderboard(_link.leaderboard(region, sort_by))


## Shows a leaderboard as get_leaderboard_data() hands it out (its "teams", in order).
func show_leaderboard(leaderboard: Dictionary) -> void:
	data = leaderboard
	var teams: Array = Texts.array(leaderboard.get("teams")).filter(func(row: Variant) -> bool: return row is Dictionary)
	if max_rows > 0:
		teams = teams.slice(0, max_rows)
	var selected_id := str(tree.get_selected().get_metadata(0)) if tree.get_selected() != null else ""
	_rows.show(teams, func(item: TreeItem, row: Dictionary) -> void: _write_row(item, row, selected_id))


## The texts of each row as shown, top to bottom.
func row_texts() -> Array:
	var rows := []
	for item in tree.get_root().get_children() if tree.get_root() != null else []:
		var texts := []
		for column in tree.columns:
			texts.append(item.get_text(column))
		rows.append(texts)
	return rows


func _write_row(item: TreeItem, row: Dictionary, selected_id: String) -> void:
	var id := str(row.get("id", ""))
	var name := str(row.get("name", ""))
	item.set_metadata(0, id)
	item.set_text(Column.RANK, str(Texts.number(row.get("rank", 0))))
	item.set_text(Column.TEAM, name)
	item.set_text(Column.REGION, Texts.name_of(str(row.get("region_key", ""))))
	item.set_text(Column.RATING, str(Texts.number(row.get("vrs", 0))))
	item.set_text(Column.RECORD, "%d-%d" % [Texts.number(row.get("wins", 0)), Texts.number(row.get("losses", 0))])
	item.set_text(Column.PRIZE, Texts.money(Texts.number(row.get("prize_total", 0))))
	for column in [Column.RANK, Column.RATING, Column.RECORD, Column.PRIZE]:
		item.set_text_alignment(column, HORIZONTAL_ALIGNMENT_RIGHT)
	if show_honours:
		var honours := Texts.array(row.get("honors"))
		item.set_text(Column.HONOURS, str(honours.size()))
		item.set_text_alignment(Column.HONOURS, HORIZONTAL_ALIGNMENT_RIGHT)
		item.set_tooltip_text(Column.HONOURS, _honours_tooltip(honours))
	item.set_tooltip_text(Column.RANK, _rank_tooltip(row))
	item.set_tooltip_text(Column.TEAM, Texts.text("TEAMFORGE_TEAM_TOOLTIP") % [name, Texts.number(row.get("stamina", 0))])
	if id == selected_id and id != "":
		item.select(0)
	else:
		item.deselect(0)


static func _rank_tooltip(row: Dictionary) -> String:
	var region_name := Texts.name_of(str(row.get("region_key", "")))
	if Texts.number(row.get("regional_rank", 0)) > 0:
		return Texts.text("TEAMFORGE_RANK_IN_REGION") % [Texts.number(row.get("global_rank", 0)),
				Texts.number(row.get("regional_rank", 0)), region_name]
	return Texts.text("TEAMFORGE_RANK_WORLD") % Texts.number(row.get("global_rank", 0))


static func _honours_tooltip(honors: Array) -> String:
	var lines := PackedStringArray()
	for honour in honors:
		if honour is Dictionary:
			lines.append("%s: %s (%s)" % [str(honour.get("name", "")), Texts.name_of(str(honour.get("placement", ""))),
					Texts.money(Texts.number(honour.get("prize", 0)))])
	return "\n".join(lines) if not lines.is_empty() else Texts.text("TEAMFORGE_NO_HONOURS")
