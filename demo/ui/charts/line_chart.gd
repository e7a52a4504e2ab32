extends "res://ui/charts/chart.gd"
# Lines over a numeric x axis: a polyline and a marker per point for each series, round numbers up the
# y axis, labelled ticks along the x axis, and the point under the mouse picked out with its note. As
# steps, a value holds until the next point: a rating changes only at a match.

## The point under the mouse changed; series and index are -1 when there is none.
signal point_hovered(series_index: int, point_index: int)

const HOVER_RADIUS := 12.0

## Each series: {"name": String, "color": Color, "points": PackedVector2Array, "notes": Array of
## PackedStringArray (the lines shown when pointing at the point; optional)}.
var series: Array = []
## Labelled x positions, [x, text] pairs; when empty the x axis shows round numbers.
var x_ticks: Array = []
## Turns a y value into its axis text.
var y_text: Callable = func(value: float) -> String: return str(roundi(value))
## Draw each point's value as holding until the next point.
var steps := false
## A dot on every point; a dense series reads better without.
var markers := true
## Smallest span of the y axis, so a flat line does not fill the height with noise.
var min_y_span := 10.0
## Extra values the axes must reach (the x range of a season that has not ended yet).
var x_domain := Vector2(INF, -INF)
var hovered := Vector2i(-1, -1)

var _x_range := Vector2(0.0, 1.0)
var _y_range := Vector2(0.0, 1.0)


func _ready() -> void:
	mouse_filter = MOUSE_FILTER_PASS
	mouse_exited.connect(_set_hovered.bind(Vector2i(-1, -1)))


func set_series(list: Array) -> void:
	series = list
	hovered = Vector2i(-1, -1)
	_fit_ranges()
	queue_redraw()


func point_count(series_index: int) -> int:
	return series[series_index].points.size()


## The plot area: below the title, right of the y labels, above the x labels.
func plot_rect() -> Rect2:
	var body := body_rect()
	var label_width := 0.0
	for value in ticks(_y_range.x, _y_range.y, 5):
		label_width = maxf(label_width, text_width(y_text.call(value), small_size()))
	var bottom := line_height(small_size()) + 6.0
	return Rect2(body.position.x + label_width + 8.0, body.position.y + 4.0,
			maxf(body.size.x - label_width - 16.0, 1.0), maxf(body.size.y - bottom - 4.0, 1.0))


## Where a data point is drawn, in the chart's own coordinates.
func screen_position(point: Vector2) -> Vector2:
	var area := plot_rect()
	var fx := (point.x - _x_range.x) / (_x_range.y - _x_range.x)
	var fy := (point.y - _y_range.x) / (_y_range.y - _y_range.x)
	return Vector2(area.position.x + fx * area.size.x, area.end.y - fy * area.size.y)


## The nearest point within reach of `position`, as (series, index), or (-1, -1).
func point_at(position: Vector2) -> Vector2i:
	var best := Vector2i(-1, -1)
	# Points as near as each other: the first series, and the earlier point, wins.
	var best_distance := HOVER_RADIUS + 0.001
	for s in series.size():
		var points: PackedVector2Array = series[s].points
		for i in points.size():
			var distance := screen_position(points[i]).distance_to(position)
			if distance < best_distance:
				best_distance = distance
				best = Vector2i(s, i)
	return best


## The note of the hovered point, empty when none.
func hovered_note() -> PackedStringArray:
	if hovered.x < 0:
		return PackedStringArray()
	var notes: Array = series[hovered.x].get("notes", [])
	return notes[hovered.y] if hovered.y < notes.size() else PackedStringArray()


func _gui_input(event: InputEvent) -> void:
	if event is InputEventMouseMotion:
		_set_hovered(point_at(event.position))


func _set_hovered(point: Vector2i) -> void:
	if point != hovered:
		hovered = point
		queue_redraw()
		point_hovered.emit(point.x, point.y)


func _fit_ranges() -> void:
	var low := Vector2(x_domain.x, INF)
	var high := Vector2(x_domain.y, -INF)
	for entry in series:
		for point in entry.points:
			low = Vector2(minf(low.x, point.x), minf(low.y, point.y))
			high = Vector2(maxf(high.x, point.x), maxf(high.y, point.y))
	if low.y > high.y:
		low.y = 0.0
		high.y = 1.0
	if low.x > high.x:
		low.x = 0.0
		high.x = 1.0
	if high.x - low.x < 1e-9:
		high.x = low.x + 1.0
	var pad := maxf(min_y_span - (high.y - low.y), 0.0) / 2.0
	low.y -= pad
	high.y += pad
	var step := nice_step(high.y - low.y, 5)
	_x_range = Vector2(low.x, high.x)
	_y_range = Vector2(floorf(low.y / step) * step, ceilf(high.y / step) * step)
	if _y_range.y - _y_range.x < 1e-9:
		_y_range.y = _y_range.x + step


func _draw() -> void:
	_fit_ranges()
	draw_title_row(series.map(func(entry): return [entry.name, entry.color]))
	var area := plot_rect()
	var small := small_size()
	for value in ticks(_y_range.x, _y_range.y, 5):
		var y := screen_position(Vector2(_x_range.x, value)).y
		draw_line(Vector2(area.position.x, y), Vector2(area.end.x, y), grid_colour())
		draw_text(y_text.call(value), area.position.x - 6.0, y, muted_colour(), small, HORIZONTAL_ALIGNMENT_RIGHT)
	_draw_x_axis(area, small)
	if series.all(func(entry): return entry.points.is_empty()):
		draw_empty(area)
		return
	for entry in series:
		_draw_series(entry)
	if hovered.x >= 0:
		var point := screen_position(series[hovered.x].points[hovered.y])
		draw_circle(point, 6.0, series[hovered.x].color, false, 2.0, true)
		var note := hovered_note()
		if not note.is_empty():
			draw_note(note, point)


func _draw_x_axis(area: Rect2, small: int) -> void:
	draw_line(Vector2(area.position.x, area.end.y), area.end, muted_colour())
	var labels: Array = x_ticks
	if labels.is_empty():
		labels = Array(ticks(_x_range.x, _x_range.y, 6)).map(func(value): return [value, str(roundi(value))])
	var free_from := -INF
	var y := area.end.y + 4.0 + line_height(small) / 2.0
	for tick in labels:
		if tick[0] < _x_range.x - 1e-9 or tick[0] > _x_range.y + 1e-9:
			continue
		var x := screen_position(Vector2(tick[0], _y_range.x)).x
		draw_line(Vector2(x, area.end.y), Vector2(x, area.end.y + 3.0), muted_colour())
		var width := text_width(tick[1], small)
		var left := clampf(x - width / 2.0, 0.0, size.x - width)
		# A label that would run into the previous one is left out; its tick mark stays.
		if left >= free_from:
			draw_text(tick[1], left, y, muted_colour(), small)
			free_from = left + width + 8.0


func _draw_series(entry: Dictionary) -> void:
	var points: PackedVector2Array = entry.points
	var line := PackedVector2Array()
	for i in points.size():
		var at := screen_position(points[i])
		if steps and i > 0:
			line.append(Vector2(at.x, line[line.size() - 1].y))
		line.append(at)
	# A value holds to the end of the axis: a team that has not played since keeps its rating.
	if steps and not points.is_empty() and _x_range.y > points[points.size() - 1].x:
		line.append(screen_position(Vector2(_x_range.y, points[points.size() - 1].y)))
	if line.size() > 1:
		draw_polyline(line, entry.color, 2.0, true)
	if markers:
		for point in points:
			draw_circle(screen_position(point), 3.0, entry.color, true, -1.0, true)
