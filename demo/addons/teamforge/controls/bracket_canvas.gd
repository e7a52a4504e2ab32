extends "res://addons/teamforge/controls/control_drawing.gd"
# The drawing inside TeamforgeBracketView: a tournament's elimination stages as brackets, a box per match with
# both teams and their maps won, the winner marked, a slot not decided yet named by where its team comes from, lines from each match to the
# one its winner plays next, the upper bracket above the lower and the grand final beside them. The boxes
# share the width (names too long are shortened, the full name in the tooltip); a taller bracket scrolls with
# the wheel or the bar on the right. Pointing at a team picks out its way through the bracket; a click picks a
# match.

## A match was clicked; "" when the click hit no match.
signal match_clicked(match_id: String)
## The bracket was scrolled.
signal scrolled

const BracketLayout := preload("res://addons/teamforge/controls/bracket_layout.gd")
const Texts := preload("res://addons/teamforge/controls/control_texts.gd")

const GAP_X := 30.0
const MIN_BOX := 104.0
const MAX_BOX := 210.0
const SCORE_WIDTH := 26.0
const BLOCK_GAP := 12.0

## The structure of the tournament shown.
var layout: BracketLayout
## Match id -> its box, in the bracket's coordinates (the view's own ones at the top of the scroll).
var boxes: Dictionary = {}
## Match id -> what its box shows: {"names": [full text of each side], "shown": [the text drawn], "tips": [the
## tooltip of each side], "scores": [text of each side's maps won, "" before the match], "winner": 0, 1 or -1,
## "known": [whether each side's team is known], "ids": [team ids], "label": the match's name, "tip": its note}.
var cells: Dictionary = {}
## Headers and titles drawn: [Rect2, full text, shown text, colour, font size].
var texts: Array = []
## The match picked out (its report is shown), or "".
var selected := ""
## The matches to be played next: both teams known, on the earliest day still to come.
var next_ids: Dictionary = {}

## The height of the whole bracket.
var content_height := 0.0

var _tournament: Dictionary = {}
var _hovered_match := ""
var _hovered_team := ""
var _built_width := -1.0
var _bar: VScrollBar


func _init() -> void:
	mouse_filter = MOUSE_FILTER_STOP
	clip_contents = true
	_bar = VScrollBar.new()
	_bar.set_anchors_and_offsets_preset(PRESET_RIGHT_WIDE)
	_bar.step = 1.0
	_bar.value_changed.connect(func(_value: float) -> void:
		queue_redraw()
		scrolled.emit())
	add_child(_bar)
	resized.connect(func() -> void:
		if not is_equal_approx(size.x, _built_width):
			_rebuild()
		_fit_bar())
	mouse_exited.connect(func() -> void: _set_hover("", ""))


func _notification(what: int) -> void:
	# The bar is as wide as the theme makes it.
	if what == NOTIFICATION_THEME_CHANGED and _bar != null:
		_bar.offset_left = -_bar.get_combined_minimum_size().x


## How far the bracket is scrolled down.
func scroll_offset() -> float:
	return _bar.value if _bar != null and _bar.visible else 0.0


## Scrolls the least that shows a match's box whole.
func reveal(match_id: String) -> void:
	if boxes.has(match_id):
		var box: Rect2 = boxes[match_id]
		var top := scroll_offset()
		if box.position.y - MARGIN < top:
			_bar.value = box.position.y - MARGIN
		elif box.end.y + MARGIN > top + size.y:
			_bar.value = box.end.y + MARGIN - size.y


## A point of the bracket in the view's own coordinates.
func to_view(point: Vector2) -> Vector2:
	return point - Vector2(0.0, scroll_offset())


## Shows the brackets of a tournament's dictionary, as the library hands it out; texts follow the language.
func show_tournament(t: Dictionary) -> void:
	_tournament = t
	layout = BracketLayout.new(t)
	if not layout.nodes.has(selected):
		selected = ""
	_rebuild()


func select(match_id: String) -> void:
	selected = match_id if boxes.has(match_id) else ""
	queue_redraw()


func row_height() -> float:
	return line_height(text_size() - 1) + 5.0


func box_height() -> float:
	return row_height() * 2.0


## The rectangle of one side's row: side 0 is team A.
func row_rect(match_id: String, side: int) -> Rect2:
	var box: Rect2 = boxes[match_id]
	return Rect2(box.position + Vector2(0.0, row_height() * side), Vector2(box.size.x, row_height()))


## The match under a point, or "".
func match_at(point: Vector2) -> String:
	for id in boxes:
		if boxes[id].has_point(point):
			return id
	return ""


func match_label(match_id: String) -> String:
	var number: Array = layout.numbers.get(match_id, ["", 1, 1])
	var name := Texts.text(BracketLayout.round_name(number[0]))
	return Texts.text("TEAMFORGE_BRACKET_MATCH_NUMBER") % [name, number[1]] if number[2] > 1 else name


func _rebuild() -> void:
	boxes.clear()
	cells.clear()
	texts.clear()
	next_ids.clear()
	_built_width = size.x
	if layout == null:
		content_height = 0.0
		_fit_bar()
		return
	var y := MARGIN
	# The bar's room is kept whether it shows or not, so scrolling never changes the width.
	var width := maxf(size.x - 2.0 * MARGIN - _bar_width(), MIN_BOX)
	for stage in layout.stages:
		if layout.stages.size() > 1:
			var colour := accent_colour() if int(stage.index) == Texts.number(_tournament.get("current_stage_idx", -1)) \
					and str(_tournament.get("status", "")) == "ACTIVE" else text_colour()
			_add_text(Rect2(MARGIN, y, width, line_height(text_size() + 1)), Texts.name_of(stage.name), colour,
					text_size() + 1)
			y += line_height(text_size() + 1) + 4.0
		y = _place_stage(stage, y, width) + BLOCK_GAP
	content_height = y
	for id in boxes:
		cells[id] = _cell(id)
	_mark_next()
	_fit_bar()


func _bar_width() -> float:
	return _bar.get_combined_minimum_size().x + 4.0 if _bar != null else 0.0


func _fit_bar() -> void:
	if _bar == null:
		return
	_bar.max_value = content_height
	_bar.page = size.y
	_bar.visible = content_height > size.y + 0.5
	queue_redraw()


# Places one stage's boxes from the top `top`; returns the bottom of the lowest.
func _place_stage(stage: Dictionary, top: float, width: float) -> float:
	var columns := 0
	var floating := 0
	for block in stage.blocks:
		if block.floating:
			floating = maxi(floating, block.columns.size())
		else:
			columns = maxi(columns, block.columns.size())
	var count := columns + floating
	var box_width := clampf((width - GAP_X * (count - 1)) / count, MIN_BOX, MAX_BOX)
	var slot := box_height() + 10.0
	var header := line_height(small_size()) + 6.0
	var bottom := top
	for block in stage.blocks:
		if block.floating:
			continue
		if block.title != "":
			_add_text(Rect2(MARGIN, bottom, width, line_height(text_size())), Texts.name_of(block.title), text_colour(),
					text_size())
			bottom += line_height(text_size()) + 2.0
		var rows_top := bottom + header
		var lowest := rows_top
		for c in block.columns.size():
			var ids: Array = block.columns[c]
			var x: float = MARGIN + c * (box_width + GAP_X)
			_add_header(ids, Rect2(x, bottom, box_width + (GAP_X - 6.0 if c + 1 < count else 0.0), header))
			var previous := -INF
			for k in ids.size():
				var at := _fed_centre(ids[k])
				var box_top := at - box_height() / 2.0 if not is_nan(at) else rows_top + k * slot
				box_top = maxf(box_top, previous + slot)
				boxes[ids[k]] = Rect2(x, box_top, box_width, box_height())
				previous = box_top
				lowest = maxf(lowest, box_top + box_height())
		bottom = lowest + BLOCK_GAP
	for block in stage.blocks:
		if not block.floating:
			continue
		for c in block.columns.size():
			var x: float = MARGIN + (columns + c) * (box_width + GAP_X)
			for id in block.columns[c]:
				var at := _fed_centre(id)
				var box_top := at - box_height() / 2.0 if not is_nan(at) else top + header
				boxes[id] = Rect2(x, box_top, box_width, box_height())
				_add_header([id], Rect2(x, box_top - header, box_width, header))
	return bottom - BLOCK_GAP


# The middle of the boxes whose winners come here, NAN when none is placed.
func _fed_centre(match_id: String) -> float:
	var sum := 0.0
	var count := 0
	for feeder in layout.feeders.get(match_id, []):
		if boxes.has(feeder[0]):
			sum += boxes[feeder[0]].get_center().y
			count += 1
	return sum / count if count > 0 else NAN


func _add_header(ids: Array, rect: Rect2) -> void:
	var node: Dictionary = layout.nodes[ids[0]]
	_add_text(rect, Texts.text(BracketLayout.round_name(str(node.get("name", "")))), muted_colour(), small_size())


func _add_text(rect: Rect2, text: String, colour: Color, font_size: int) -> void:
	texts.append([rect, text, shorten(text, rect.size.x, font_size), colour, font_size])


func _cell(match_id: String) -> Dictionary:
	var node: Dictionary = layout.nodes[match_id]
	var played: bool = str(node.get("status", "")) == "PLAYED"
	var cell := {"names": [], "shown": [], "tips": [], "scores": [], "known": [], "ids": [], "winner": -1,
			"label": match_label(match_id)}
	var room: float = boxes[match_id].size.x - SCORE_WIDTH - 14.0
	for side in 2:
		var slot: String = ["team_a", "team_b"][side]
		var team = node.get(slot, {})
		var known: bool = team is Dictionary and not team.is_empty()
		var name: String = str(team.get("name", "")) if known else Texts.text("TEAMFORGE_BRACKET_TBD")
		var tip := name
		var source: Array = layout.sources.get(match_id, {}).get(slot, [])
		if not known and not source.is_empty():
			tip = Texts.text("TEAMFORGE_BRACKET_WINNER_OF" if source[1] else "TEAMFORGE_BRACKET_LOSER_OF") % match_label(source[0])
		cell.names.append(name)
		cell.shown.append(shorten(name, room, text_size() - 1))
		cell.tips.append(tip)
		cell.known.append(known)
		cell.ids.append(str(team.get("id", "")) if known else "")
		cell.scores.append(str(Texts.number(node.get("score_a" if side == 0 else "score_b", 0))) if played else "")
	if played:
		var winner = node.get("winner", {})
		var winner_id: String = str(winner.get("id", "")) if winner is Dictionary else ""
		if winner_id != "" and winner_id in cell.ids:
			cell.winner = cell.ids.find(winner_id)
		else:
			cell.winner = 0 if Texts.number(node.get("score_a", 0)) > Texts.number(node.get("score_b", 0)) else 1
	var parts := PackedStringArray([cell.label])
	if str(node.get("date", "")) != "":
		parts.append(Texts.date(str(node.date)))
	parts.append(Texts.text("TEAMFORGE_BRACKET_BEST_OF") % (5 if str(node.get("is_bo5", false)) == "true" else 3))
	cell.tip = " · ".join(parts) + "\n" + Texts.text(
			"TEAMFORGE_BRACKET_CLICK_HINT" if played else "TEAMFORGE_BRACKET_CLICK_PENDING")
	return cell


func _mark_next() -> void:
	var first := ""
	for id in cells:
		var node: Dictionary = layout.nodes[id]
		if str(node.get("status", "")) != "PLAYED" and cells[id].known.all(func(known: bool) -> bool: return known):
			var date := str(node.get("date", ""))
			if first == "" or date < first:
				first = date
				next_ids.clear()
			if date == first:
				next_ids[id] = true


func _gui_input(event: InputEvent) -> void:
	if not event is InputEventMouse:
		return
	var at: Vector2 = event.position + Vector2(0.0, scroll_offset())
	if event is InputEventMouseMotion:
		var id := match_at(at)
		var team := ""
		if id != "":
			var side := 0 if at.y < boxes[id].position.y + row_height() else 1
			team = cells[id].ids[side]
		_set_hover(id, team)
	elif event is InputEventMouseButton and event.pressed:
		if event.button_index == MOUSE_BUTTON_WHEEL_UP or event.button_index == MOUSE_BUTTON_WHEEL_DOWN:
			_bar.value += (-1.0 if event.button_index == MOUSE_BUTTON_WHEEL_UP else 1.0) * box_height()
		elif event.button_index == MOUSE_BUTTON_LEFT:
			var id := match_at(at)
			select(id)
			match_clicked.emit(id)
		accept_event()


func _set_hover(match_id: String, team: String) -> void:
	if match_id != _hovered_match or team != _hovered_team:
		_hovered_match = match_id
		_hovered_team = team
		queue_redraw()


func _get_tooltip(at_position: Vector2) -> String:
	var at := at_position + Vector2(0.0, scroll_offset())
	for entry in texts:
		if entry[0].has_point(at) and entry[1] != entry[2]:
			return entry[1]
	var id := match_at(at)
	if id == "":
		return ""
	var side := 0 if at.y < boxes[id].position.y + row_height() else 1
	return cells[id].tips[side] + "\n" + cells[id].tip


func _draw() -> void:
	if layout == null or boxes.is_empty():
		return
	draw_set_transform(Vector2(0.0, -scroll_offset()))
	for entry in texts:
		draw_text(entry[2], entry[0].position.x, entry[0].get_center().y, entry[3], entry[4])
	_draw_links()
	for id in boxes:
		_draw_box(id)


# From each match to the slot its winner takes next: out to the right, along the gap, into the slot's row.
func _draw_links() -> void:
	for target in layout.feeders:
		if not boxes.has(target):
			continue
		for feeder in layout.feeders[target]:
			if not boxes.has(feeder[0]):
				continue
			var from: Rect2 = boxes[feeder[0]]
			var to: Rect2 = boxes[target]
			var start := Vector2(from.end.x, from.get_center().y)
			var end := Vector2(to.position.x, to.position.y + row_height() * (1.5 if feeder[1] == "team_b" else 0.5))
			var bend := to.position.x - GAP_X / 2.0
			var decided: bool = cells[feeder[0]].winner >= 0
			var on_path: bool = _hovered_team != "" and decided and cells[feeder[0]].ids[cells[feeder[0]].winner] == _hovered_team
			var colour := accent_colour() if on_path else (Color(muted_colour(), 0.7) if decided else grid_colour())
			draw_polyline(PackedVector2Array([start, Vector2(bend, start.y), Vector2(bend, end.y), end]), colour,
					2.0 if on_path else 1.0, true)


func _draw_box(id: String) -> void:
	var box: Rect2 = boxes[id]
	var cell: Dictionary = cells[id]
	draw_rect(box, theme_colour(&"box_hover_color") if id == _hovered_match else theme_colour(&"box_color"))
	var font_size := text_size() - 1
	for side in 2:
		var row := row_rect(id, side)
		var won: bool = cell.winner == side
		var lost: bool = cell.winner >= 0 and not won
		if _hovered_team != "" and cell.ids[side] == _hovered_team:
			draw_rect(row, Color(accent_colour(), 0.16))
		var score := Rect2(row.end.x - SCORE_WIDTH, row.position.y, SCORE_WIDTH, row.size.y)
		draw_rect(score, accent_colour() if won else theme_colour(&"score_color"))
		if won:
			draw_rect(Rect2(row.position, Vector2(3.0, row.size.y)), accent_colour())
		var colour := muted_colour() if lost or not cell.known[side] else text_colour()
		draw_text(cell.shown[side], row.position.x + 8.0, row.get_center().y, colour, font_size)
		var score_text: String = cell.scores[side] if cell.scores[side] != "" else "–"
		draw_text(score_text, score.get_center().x, score.get_center().y, theme_colour(&"font_on_accent_color") if won else muted_colour(), font_size,
				HORIZONTAL_ALIGNMENT_CENTER)
	draw_line(Vector2(box.position.x, box.get_center().y), Vector2(box.end.x, box.get_center().y), Color(0, 0, 0, 0.35))
	if id == selected:
		draw_rect(box.grow(1.0), accent_colour(), false, 2.0)
	elif next_ids.has(id):
		draw_rect(box.grow(0.5), theme_colour(&"next_color"), false, 1.5)
