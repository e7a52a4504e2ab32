extends "res://ui/charts/chart.gd"
# Horizontal bars with their 95 % interval drawn as a whisker, the sample size beside each value, pale
# bars where the sample is too small to trust, an optional reference tick (what the odds imply) and an
# optional mark for another report's value with the change, starred where it lies beyond the noise. An
# axis with round steps and its label runs along the bottom, so the chart reads without the README.

## The other report's value (a diamond) and the reference the bar is read against (a tick).
const OTHER_COLOUR := Color(0.94, 0.43, 0.63)
const REFERENCE_COLOUR := Color(0.96, 0.87, 0.4)

## Each row: {"label", "value", "low", "high", "n": sample size, "small": bool, "color", and optionally
## "reference": float, "other": float, "change": String, "marked": bool}.
var rows: Array = []
var value_text: Callable = func(value: float) -> String: return "%.2f" % value
var axis_label := ""
## Legend entries [name, colour] for the title row.
var legend: Array = []


func set_rows(list: Array) -> void:
	rows = list
	queue_redraw()


func _draw() -> void:
	draw_title_row(legend)
	var area := body_rect()
	if rows.is_empty():
		draw_empty(area)
		return
	var small := small_size()
	var axis_height := line_height(small) + 4.0
	var plot_height := area.size.y - axis_height
	var row_height := minf(plot_height / rows.size(), 26.0)
	var label_width := 0.0
	var note_width := 0.0
	for row in rows:
		label_width = maxf(label_width, text_width(row.label, small))
		note_width = maxf(note_width, text_width(_note(row), small))
	label_width = minf(label_width, area.size.x * 0.34)
	var left := area.position.x + label_width + 8.0
	var right := area.end.x - note_width - 8.0
	var top := 0.0
	var bottom := 0.0
	for row in rows:
		for field in ["value", "low", "high", "reference", "other"]:
			if row.has(field):
				top = maxf(top, row[field])
				bottom = minf(bottom, row[field])
	if top <= bottom:
		top = bottom + 1.0
	var steps := ticks(bottom, top, 4)
	top = maxf(top, steps[steps.size() - 1]) if not steps.is_empty() else top
	var scale := func(value: float) -> float: return left + (right - left) * (value - bottom) / (top - bottom)
	for i in rows.size():
		var row: Dictionary = rows[i]
		var middle := area.position.y + row_height * (i + 0.5)
		var label: String = row.label
		while label.length() > 1 and text_width(label, small) > label_width:
			label = label.left(label.length() - 2) + "…"
		draw_text(label, area.position.x + label_width, middle, text_colour(), small, HORIZONTAL_ALIGNMENT_RIGHT)
		var bar_colour: Color = row.get("color", colour(0))
		if row.get("small", false):
			bar_colour = Color(bar_colour, 0.35)
		var zero: float = scale.call(0.0)
		var end: float = scale.call(row.value)
		draw_rect(Rect2(minf(zero, end), middle - row_height * 0.3, maxf(absf(end - zero), 1.0), row_height * 0.6), bar_colour)
		if row.high > row.low:
			var low: float = scale.call(row.low)
			var high: float = scale.call(row.high)
			draw_line(Vector2(low, middle), Vector2(high, middle), text_colour(), 1.5)
			for x in [low, high]:
				draw_line(Vector2(x, middle - row_height * 0.22), Vector2(x, middle + row_height * 0.22), text_colour(), 1.5)
		if row.has("reference"):
			var x: float = scale.call(row.reference)
			draw_line(Vector2(x, middle - row_height * 0.42), Vector2(x, middle + row_height * 0.42), REFERENCE_COLOUR, 2.0)
		if row.has("other"):
			var x: float = scale.call(row.other)
			var size_used := row_height * 0.28
			draw_colored_polygon(PackedVector2Array([Vector2(x, middle - size_used), Vector2(x + size_used, middle),
					Vector2(x, middle + size_used), Vector2(x - size_used, middle)]), OTHER_COLOUR)
		draw_text(_note(row), right + 6.0, middle, accent_colour() if row.get("marked", false) else muted_colour(), small)
	var axis_y := area.position.y + row_height * rows.size() + 2.0
	draw_line(Vector2(left, axis_y), Vector2(right, axis_y), grid_colour(), 1.0)
	for tick in steps:
		var x: float = scale.call(tick)
		draw_line(Vector2(x, axis_y), Vector2(x, axis_y + 3.0), muted_colour(), 1.0)
		draw_text(value_text.call(tick), x, axis_y + axis_height / 2.0 + 1.0, muted_colour(), small - 1, HORIZONTAL_ALIGNMENT_CENTER)
	if axis_label != "":
		# After the last tick, where the value column leaves room.
		draw_text(axis_label, right + 6.0, axis_y + axis_height / 2.0 + 1.0, muted_colour(), small - 1)


func _note(row: Dictionary) -> String:
	var note := "%s  n=%s" % [value_text.call(row.value), _count(row.n)]
	if row.get("small", false):
		note += " few"
	if row.has("change"):
		note += "  %s%s" % [row.change, "*" if row.get("marked", false) else ""]
	return note


static func _count(n: float) -> String:
	if n >= 1e6:
		return "%.1fM" % (n / 1e6)
	if n >= 1e4:
		return "%dk" % roundi(n / 1e3)
	return str(roundi(n))
