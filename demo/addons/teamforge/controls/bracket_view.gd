class_name TeamforgeBracketView
extends Control
## Draws every elimination stage of a tournament as a bracket, and opens a match's map-by-map report on a click.
##
## Bind it to a [GameCore] or a [TournamentManager] with [member source] and [member tournament_id]: it reads
## [code]get_tournament(tournament_id)[/code] and draws itself again when the source reports a change. Or hand it a
## tournament's dictionary with [method show_tournament]. Single-elimination playoffs, the double-elimination
## bracket and the double-elimination groups are drawn; Swiss stages have no bracket. A taller bracket scrolls.
## Colours, font and font size are theme items of the type [code]TeamforgeBracketView[/code] (or of the
## [member Control.theme_type_variation] set here): colors [code]font_color[/code], [code]font_muted_color[/code],
## [code]accent_color[/code], [code]font_on_accent_color[/code], [code]box_color[/code], [code]box_hover_color[/code],
## [code]score_color[/code], [code]next_color[/code], [code]report_color[/code], [code]team_b_color[/code]; font
## [code]font[/code]; font size [code]font_size[/code]. Controls a game adds as children (a button) stay on top, and
## the report keeps below them.

## A match was opened by a click (its id), or the report was closed ("").
signal match_selected(match_id: String)

const BracketCanvas := preload("res://addons/teamforge/controls/bracket_canvas.gd")
const BracketLayout := preload("res://addons/teamforge/controls/bracket_layout.gd")
const MatchReport := preload("res://addons/teamforge/controls/match_report.gd")
const SourceLink := preload("res://addons/teamforge/controls/source_link.gd")

const INSET := 8.0

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

## The brackets as drawn: boxes, cells and texts by match id (see bracket_canvas.gd).
var view: BracketCanvas
## The report of the match opened.
var report: MatchReport

var _link := SourceLink.new(refresh)


## True when a tournament's dictionary has an elimination stage with matches to draw.
static func has_bracket(t: Dictionary) -> bool:
	return BracketLayout.has_bracket(t)


func _init() -> void:
	clip_contents = true
	view = BracketCanvas.new()
	view.name = "Brackets"
	view.styled_by = self
	view.set_anchors_and_offsets_preset(PRESET_FULL_RECT)
	add_child(view)
	report = MatchReport.new()
	report.name = "MatchReport"
	report.styled_by = self
	add_child(report)
	view.match_clicked.connect(open_match)
	report.closed.connect(func() -> void:
		view.select("")
		match_selected.emit(""))
	resized.connect(_place_report)
	view.scrolled.connect(_place_report)


## Reads the tournament from the source again and draws it.
func refresh() -> void:
	if not _link.is_bound():
		return
	show_tournament(_link.tournament(tournament_id))


## Draws a tournament's dictionary, as get_tournament() hands it out; the match open stays open while it exists.
func show_tournament(t: Dictionary) -> void:
	view.show_tournament(t)
	if view.selected == "":
		report.close()
	else:
		_show_report(view.selected)


## Opens the report of a match, or closes it for "" or a match not drawn.
func open_match(match_id: String) -> void:
	view.select(match_id)
	if view.selected == "":
		report.close()
		return
	_show_report(match_id)
	match_selected.emit(match_id)


func _show_report(match_id: String) -> void:
	report.show_match(view.layout.nodes[match_id], view.match_label(match_id))
	_place_report()


func _place_report() -> void:
	if not report.visible or not view.boxes.has(view.selected):
		return
	if not is_equal_approx(report.max_width, maxf(size.x * 0.6, 280.0)):
		report.max_width = maxf(size.x * 0.6, 280.0)
		report.show_match(report.node, report.label)
	# Below the controls the game laid over the bracket, in the corner where the card hides the fewest matches,
	# and least of all the one it reports on.
	var top := INSET
	for child in get_children():
		if child is Control and child.visible and child != view and child != report:
			top = maxf(top, child.position.y + child.size.y + 4.0)
	var best := Vector2.ZERO
	var least := INF
	for y in [top, size.y - report.size.y - INSET]:
		for x in [INSET, size.x - report.size.x - INSET - 14.0]:
			var card := Rect2(Vector2(x, maxf(y, 0.0)), report.size)
			var hidden := 0.0
			for id in view.boxes:
				var box := Rect2(view.to_view(view.boxes[id].position), view.boxes[id].size)
				hidden += card.intersection(box).get_area() * (100.0 if id == view.selected else 1.0)
			if hidden < least:
				least = hidden
				best = card.position
	report.position = best
