class_name TeamforgeStandingsTable
extends Control
## A tournament's Swiss stage as a table (each team's seed, wins, losses and whether it is through, out or still
## playing) and, once the tournament is completed, its final standings (placement, team, region, prize money and
## the rating before, after and its change).
##
## Bind it to a [GameCore] or a [TournamentManager] with [member source] and [member tournament_id], or hand it a
## tournament's dictionary with [method show_tournament]. The table is a [Tree] ([member tree]), styled by the
## theme's [code]Tree[/code] items; the colour that marks the champion and the teams through is the theme item
## [code]winner_color[/code] of the type [code]TeamforgeStandingsTable[/code] (or of the
## [member Control.theme_type_variation] set here).

enum Content {
	## The final standings once the tournament is completed, the Swiss stage before.
	AUTO,
	## The Swiss stage only.
	SWISS,
	## The final standings only (empty before the end).
	FINAL,
}
enum SwissColumn { TEAM, SEED, WINS, LOSSES, RESULT }
enum StandingColumn { PLACE, TEAM, REGION, PRIZE, RATING_BEFORE, RATING_AFTER, CHANGE }

const Texts := preload("res://addons/teamforge/controls/control_texts.gd")
const TableColumns := preload("res://addons/teamforge/controls/table_columns.gd")
const SourceLink := preload("res://addons/teamforge/controls/source_link.gd")

## [member stage_index] for every Swiss stage of the tournament, each under its name.
const ALL_SWISS_STAGES := -2
const SWISS_TITLES := ["TEAMFORGE_TEAM", "TEAMFORGE_SEED", "TEAMFORGE_WINS", "TEAMFORGE_LOSSES", ""]
const SWISS_WIDTHS := [0, 70, 70, 70, 120]
const STANDING_TITLES := ["TEAMFORGE_PLACE", "TEAMFORGE_TEAM", "TEAMFORGE_REGION", "TEAMFORGE_PRIZE",
		"TEAMFORGE_RATING_BEFORE", "TEAMFORGE_RATING_AFTER", "TEAMFORGE_CHANGE"]
const STANDING_WIDTHS := [90, 0, 110, 120, 110, 110, 80]
const THEME_TYPE := &"TeamforgeStandingsTable"
const DEFAULT_COLOURS := {&"winner_color": Color(0.98, 0.62, 0.16)}

## A [GameCore] or a [TournamentManager] to read the tournament from; anything else shows nothing.
@export var source: Node:
	set(value):
		source = value
		_link.bind(value, SourceLink.TOURNAMENT_SIGNALS)
		_link.request()
## The id of the tournament to show, as the library gives it ("3"); "" shows nothing.
@export var tournament_id := "":
	set(value):
		tournament_id = value
		_link.request()
## The index of the Swiss stage in the tournament's "stages": -1 the latest one under way or played,
## [constant ALL_SWISS_STAGES] every one.
@export var stage_index := -1:
	set(value):
		stage_index = value
		_show_again()
## What the table shows: see [enum Content].
@export var content := Content.AUTO:
	set(value):
		content = value
		_show_again()

## The table.
var tree: Tree
## The tournament shown, as it was handed in.
var tournament: Dictionary = {}
## Whether the table shows final standings (else Swiss records).
var shows_standings := false

var _link := SourceLink.new(refresh)


func _init() -> void:
	tree = Tree.new()
	tree.name = "Table"
	tree.column_titles_visible = true
	tree.hide_root = true
	tree.select_mode = Tree.SELECT_ROW
	tree.set_anchors_and_offsets_preset(PRESET_FULL_RECT)
	add_child(tree)


## Reads the tournament from the source again and shows it.
func refresh() -> void:
	if _link.is_bound():
		show_tournament(_link.tournament(tournament_id))


## Shows a tournament's dictionary, as get_tournament() hands it out.
func show_tournament(t: Dictionary) -> void:
	tournament = t
	var completed := str(t.get("status", "")) == "COMPLETED"
	shows_standings = content == Content.FINAL or (content == Content.AUTO and completed)
	tree.clear()
	var titles: Array = STANDING_TITLES if shows_standings else SWISS_TITLES
	var widths: Array = STANDING_WIDTHS if shows_standings else SWISS_WIDTHS
	tree.columns = titles.size()
	# Standings are a flat list; Swiss records sit under their stage's heading.
	if shows_standings:
		tree.add_theme_constant_override(&"item_margin", 0)
	else:
		tree.remove_theme_constant_override(&"item_margin")
	TableColumns.set_columns(tree, titles, widths)
	var root := tree.create_item()
	if shows_standings:
		if completed:
			_show_standings(root)
	else:
		_show_swiss(root)
	TableColumns.fit(tree, widths)


## The Swiss stages shown: their indexes in the tournament's "stages".
func swiss_stages() -> Array:
	var stages := Texts.array(tournament.get("stages"))
	var swiss := range(stages.size()).filter(func(index: int) -> bool:
		return stages[index] is Dictionary and str(stages[index].get("type", "")) == "SWISS")
	if stage_index == ALL_SWISS_STAGES:
		return swiss
	if stage_index >= 0:
		return [stage_index] if stage_index in swiss else []
	# The latest drawn, or the first before any is.
	var drawn := swiss.filter(func(index: int) -> bool: return not Texts.array(stages[index].get("records")).is_empty())
	return [drawn.back()] if not drawn.is_empty() else swiss.slice(0, 1)


## The texts of each team row as shown, top to bottom (headings and notes left out).
func row_texts() -> Array:
	var rows := []
	var pending: Array = tree.get_root().get_children() if tree.get_root() != null else []
	while not pending.is_empty():
		var item: TreeItem = pending.pop_front()
		if item.get_child_count() > 0:
			pending = item.get_children() + pending
			continue
		if item.get_metadata(0) == null:
			continue
		var texts := []
		for column in tree.columns:
			texts.append(item.get_text(column))
		rows.append(texts)
	return rows


func _show_swiss(root: TreeItem) -> void:
	var stages := Texts.array(tournament.get("stages"))
	for index in swiss_stages():
		var stage: Dictionary = stages[index]
		var stage_item := tree.create_item(root)
		stage_item.set_text(SwissColumn.TEAM, Texts.name_of(str(stage.get("name", ""))))
		stage_item.set_expand_right(SwissColumn.TEAM, true)
		var rows: Array = Texts.array(stage.get("records")).filter(func(record: Variant) -> bool: return record is Dictionary)
		rows.sort_custom(_record_before)
		for record: Dictionary in rows:
			var team := Texts.dictionary(record.get("team"))
			var wins := Texts.number(record.get("w", 0))
			var losses := Texts.number(record.get("l", 0))
			var item := tree.create_item(stage_item)
			item.set_metadata(0, str(team.get("id", "")))
			item.set_text(SwissColumn.TEAM, _team_name(team))
			item.set_text(SwissColumn.SEED, str(Texts.number(record.get("seed", 0))))
			item.set_text(SwissColumn.WINS, str(wins))
			item.set_text(SwissColumn.LOSSES, str(losses))
			for column in [SwissColumn.SEED, SwissColumn.WINS, SwissColumn.LOSSES]:
				item.set_text_alignment(column, HORIZONTAL_ALIGNMENT_RIGHT)
			if wins >= 3:
				item.set_text(SwissColumn.RESULT, Texts.text("TEAMFORGE_THROUGH"))
				item.set_custom_color(SwissColumn.RESULT, _colour(&"winner_color"))
			elif losses >= 3:
				item.set_text(SwissColumn.RESULT, Texts.text("TEAMFORGE_OUT"))
			else:
				item.set_text(SwissColumn.RESULT, Texts.text("TEAMFORGE_PLAYING"))
		if rows.is_empty():
			var note := tree.create_item(stage_item)
			note.set_text(SwissColumn.TEAM, Texts.text("TEAMFORGE_DRAWN_AT_START"))
			note.set_expand_right(SwissColumn.TEAM, true)


func _show_standings(root: TreeItem) -> void:
	for standing in Texts.array(tournament.get("standings")):
		if not standing is Dictionary:
			continue
		var team := Texts.dictionary(standing.get("team"))
		var item := tree.create_item(root)
		item.set_metadata(0, str(team.get("id", "")))
		item.set_text(StandingColumn.PLACE, Texts.name_of(str(standing.get("placement", ""))))
		item.set_text(StandingColumn.TEAM, _team_name(team))
		item.set_text(StandingColumn.REGION, Texts.name_of("REGION_" + str(team.get("region", ""))))
		item.set_text(StandingColumn.PRIZE, Texts.money(Texts.number(standing.get("prize", 0))))
		item.set_text(StandingColumn.RATING_BEFORE, str(Texts.number(standing.get("vrs_before", 0))))
		item.set_text(StandingColumn.RATING_AFTER, str(Texts.number(standing.get("vrs_after", 0))))
		item.set_text(StandingColumn.CHANGE, "%+d" % Texts.number(standing.get("delta_vrs", 0)))
		for column in [StandingColumn.PRIZE, StandingColumn.RATING_BEFORE, StandingColumn.RATING_AFTER,
				StandingColumn.CHANGE]:
			item.set_text_alignment(column, HORIZONTAL_ALIGNMENT_RIGHT)
		if str(standing.get("placement", "")) == "1st":
			item.set_custom_color(StandingColumn.TEAM, _colour(&"winner_color"))


func _show_again() -> void:
	if not tournament.is_empty():
		show_tournament(tournament)


func _colour(item: StringName) -> Color:
	for type in [theme_type_variation, THEME_TYPE]:
		if type != &"" and has_theme_color(item, type):
			return get_theme_color(item, type)
	return DEFAULT_COLOURS[item]


static func _team_name(team: Dictionary) -> String:
	return str(team.get("name", "")) if not team.is_empty() else Texts.text("TEAMFORGE_TBD")


static func _record_before(x: Dictionary, y: Dictionary) -> bool:
	var xw := Texts.number(x.get("w", 0))
	var yw := Texts.number(y.get("w", 0))
	if xw != yw:
		return xw > yw
	var xl := Texts.number(x.get("l", 0))
	var yl := Texts.number(y.get("l", 0))
	if xl != yl:
		return xl < yl
	return Texts.number(x.get("seed", 0)) < Texts.number(y.get("seed", 0))
