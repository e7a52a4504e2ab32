extends "res://addons/teamforge/controls/control_drawing.gd"
# One match map by map, as a card over the bracket: the match's name, day and length, both teams with their
# maps won, then a row per map with its score, its overtimes and a strip of its rounds, each coloured by the
# team that won it (a gap at the half and before overtime). A match not played yet says when it is due.
# The card sizes itself to its texts; a click on its cross closes it.

signal closed

const Texts := preload("res://addons/teamforge/controls/control_texts.gd")

const PADDING := 12.0
const ROUND_WIDTH := 5.0
const ROUND_GAP := 1.0
const HALF := 12
const REGULATION := 24
const CLOSE_SIZE := 18.0

## The match shown, as the library gave it, or empty.
var node: Dictionary = {}
## Its name as the bracket calls it.
var label := ""
## A row per map played: {"map": name, "score_a": int, "score_b": int, "rounds": Array of "A"/"B",
## "overtimes": int}.
var rows: Array = []
## The longest width the card may take.
var max_width := 520.0

var _lines: Array = []


func _init() -> void:
	mouse_filter = MOUSE_FILTER_STOP
	visible = false


func show_match(match_node: Dictionary, match_label: String) -> void:
	node = match_node
	label = match_label
	rows.clear()
	var details = node.get("details", [])
	for report in details if details is Array else []:
		if report is Dictionary:
			var rounds = report.get("round_history", [])
			rows.append({"map": Texts.name_of(str(report.get("map_name", ""))), "score_a": Texts.number(report.get("score_a", 0)),
					"score_b": Texts.number(report.get("score_b", 0)), "rounds": Texts.array(rounds),
					"overtimes": Texts.number(report.get("overtime_count", 0))})
	visible = true
	_fit()


func close() -> void:
	if visible:
		visible = false
		node = {}
		closed.emit()


func team_name(side: int) -> String:
	var team = node.get("team_a" if side == 0 else "team_b", {})
	return str(team.get("name", "")) if team is Dictionary and not team.is_empty() else Texts.text("TEAMFORGE_BRACKET_TBD")


## The texts of the header lines, for the card and for a test.
func header_lines() -> PackedStringArray:
	var played: bool = str(node.get("status", "")) == "PLAYED"
	var lines := PackedStringArray([label])
	var score := "%d : %d" % [Texts.number(node.get("score_a", 0)), Texts.number(node.get("score_b", 0))] if played else \
			Texts.text("TEAMFORGE_BRACKET_VERSUS")
	lines.append("%s  %s  %s" % [team_name(0), score, team_name(1)])
	var when := Texts.text("TEAMFORGE_BRACKET_PLAYED_ON" if played else "TEAMFORGE_BRACKET_DUE_ON") % Texts.date(str(node.get("date", "")))
	lines.append(" · ".join([when, Texts.text("TEAMFORGE_BRACKET_BEST_OF") % (5 if str(node.get("is_bo5",
			false)) == "true" else 3)]))
	if played and rows.is_empty():
		lines.append(Texts.text("TEAMFORGE_BRACKET_NO_MAPS"))
	return lines


# Both teams in the colours of their rounds, the score between them.
func _draw_teams(x: float, middle: float, width: float, font_size: int) -> void:
	var played: bool = str(node.get("status", "")) == "PLAYED"
	var score := "  %d : %d  " % [Texts.number(node.get("score_a", 0)), Texts.number(node.get("score_b", 0))] if played else \
			"  %s  " % Texts.text("TEAMFORGE_BRACKET_VERSUS")
	var room := maxf((width - text_width(score, font_size)) / 2.0, 0.0)
	var a := shorten(team_name(0), room, font_size)
	draw_text(a, x, middle, side_colour(0), font_size)
	x += text_width(a, font_size)
	draw_text(score, x, middle, text_colour(), font_size)
	x += text_width(score, font_size)
	draw_text(shorten(team_name(1), room, font_size), x, middle, side_colour(1), font_size)


func overtime_text(row: Dictionary) -> String:
	return Texts.count("TEAMFORGE_BRACKET_OVERTIMES", row.overtimes) if row.overtimes > 0 else ""


func _map_width() -> float:
	var width := 0.0
	for row in rows:
		width = maxf(width, text_width(row.map, text_size() - 1))
	return width


func _strip_width(rounds: int) -> float:
	return rounds * (ROUND_WIDTH + ROUND_GAP) + (4.0 if rounds > HALF else 0.0) + (4.0 if rounds > REGULATION else 0.0)


func _fit() -> void:
	_lines = Array(header_lines())
	var width := 0.0
	for i in _lines.size():
		width = maxf(width, text_width(_lines[i], text_size() + (1 if i == 1 else -1)))
	var score_width := text_width("00 : 00", text_size() - 1)
	for row in rows:
		width = maxf(width, _map_width() + score_width + _strip_width(row.rounds.size())
				+ text_width(overtime_text(row), small_size()) + 36.0)
	width = minf(width + CLOSE_SIZE + 8.0, max_width - 2.0 * PADDING)
	size = Vector2(width + 2.0 * PADDING, 2.0 * PADDING + _header_height() + rows.size() * _row_height())
	queue_redraw()


func _header_height() -> float:
	return line_height(text_size() - 1) * (_lines.size() - 1) + line_height(text_size() + 1) + 8.0


func _row_height() -> float:
	return line_height(text_size() - 1) + 6.0


func _close_rect() -> Rect2:
	return Rect2(size.x - PADDING - CLOSE_SIZE + 4.0, PADDING - 4.0, CLOSE_SIZE, CLOSE_SIZE)


func _gui_input(event: InputEvent) -> void:
	if event is InputEventMouseButton and event.pressed and event.button_index == MOUSE_BUTTON_LEFT:
		if _close_rect().has_point(event.position):
			close()
		accept_event()


func _draw() -> void:
	if node.is_empty():
		return
	var box := Rect2(Vector2.ZERO, size)
	draw_rect(box, theme_colour(&"report_color"))
	draw_rect(box, accent_colour(), false, 1.0)
	var width := size.x - 2.0 * PADDING
	var x := PADDING
	var y := PADDING
	var cross := _close_rect().grow(-4.0)
	draw_line(cross.position, cross.end, muted_colour(), 2.0, true)
	draw_line(Vector2(cross.end.x, cross.position.y), Vector2(cross.position.x, cross.end.y), muted_colour(), 2.0, true)
	for i in _lines.size():
		var font_size := text_size() + 1 if i == 1 else text_size() - 1
		var middle := y + line_height(font_size) / 2.0
		if i == 1:
			_draw_teams(x, middle, width, font_size)
		else:
			var room := width - (CLOSE_SIZE + 4.0 if i == 0 else 0.0)
			draw_text(shorten(_lines[i], room, font_size), x, middle, accent_colour() if i == 0 else muted_colour(),
					font_size)
		y += line_height(font_size) + (4.0 if i == 1 else 0.0)
	y += 8.0 - 4.0
	var score_width := text_width("00 : 00", text_size() - 1)
	var map_width := _map_width()
	for row in rows:
		var middle := y + _row_height() / 2.0
		draw_text(row.map, x, middle, text_colour(), text_size() - 1)
		var score_x := x + map_width + 12.0
		var a_won: bool = row.score_a > row.score_b
		draw_text(str(row.score_a), score_x + score_width * 0.4, middle, side_colour(0) if a_won else muted_colour(),
				text_size() - 1, HORIZONTAL_ALIGNMENT_RIGHT)
		draw_text(":", score_x + score_width * 0.5, middle, muted_colour(), text_size() - 1, HORIZONTAL_ALIGNMENT_CENTER)
		draw_text(str(row.score_b), score_x + score_width * 0.6, middle, muted_colour() if a_won else side_colour(1),
				text_size() - 1)
		var strip_x := score_x + score_width + 12.0
		for r in row.rounds.size():
			var rx: float = strip_x + r * (ROUND_WIDTH + ROUND_GAP) + (4.0 if r >= HALF else 0.0) + (4.0 if r >= REGULATION else 0.0)
			if rx + ROUND_WIDTH > size.x - PADDING:
				break
			draw_rect(Rect2(rx, middle - 6.0, ROUND_WIDTH, 12.0), side_colour(0 if str(row.rounds[r]) == "A" else 1))
		var overtime := overtime_text(row)
		if overtime != "":
			var ox := strip_x + _strip_width(row.rounds.size()) + 8.0
			draw_text(shorten(overtime, size.x - PADDING - ox, small_size()), ox, middle, muted_colour(), small_size())
		y += _row_height()

