extends "res://ui/charts/chart.gd"
# Horizontal bars, one row per entry: its label on the left, the bar scaled to the largest value, and
# the value's text at the bar's end. Rows share the height and stay within a readable thickness.

const MAX_ROW := 30.0

## Each bar: {"label": String, "value": float, "text": String (shown at the bar's end), "color": Color
## (optional; the theme's muted text colour otherwise, so coloured bars stand out)}.
var bars: Array = []


func set_bars(list: Array) -> void:
	bars = list
	queue_redraw()


## The rectangle of the bar at `index`, in the chart's own coordinates.
func bar_rect(index: int) -> Rect2:
	var area := body_rect()
	var row := minf(area.size.y / maxi(bars.size(), 1), MAX_ROW)
	var label_width := _label_width(area)
	var value_width := 0.0
	for bar in bars:
		value_width = maxf(value_width, text_width(bar.text, small_size()))
	var top: float = bars.map(func(bar): return float(bar.value)).max() if not bars.is_empty() else 0.0
	var span := maxf(area.size.x - label_width - value_width - 20.0, 1.0)
	var fraction := clampf(float(bars[index].value) / top, 0.0, 1.0) if top > 0.0 else 0.0
	return Rect2(area.position.x + label_width + 8.0, area.position.y + row * index + row * 0.18,
			maxf(span * fraction, 1.0), row * 0.64)


func _label_width(area: Rect2) -> float:
	var width := 0.0
	for bar in bars:
		width = maxf(width, text_width(bar.label, small_size()))
	return minf(width, area.size.x * 0.4)


func _draw() -> void:
	draw_title_row()
	var area := body_rect()
	if bars.is_empty() or bars.all(func(bar): return float(bar.value) <= 0.0):
		draw_empty(area)
		return
	var small := small_size()
	var label_width := _label_width(area)
	for i in bars.size():
		var bar: Dictionary = bars[i]
		var rect := bar_rect(i)
		var middle := rect.get_center().y
		var label: String = bar.label
		# A label wider than its column is cut with an ellipsis rather than run into the bar.
		while label.length() > 1 and text_width(label, small) > label_width:
			label = label.left(label.length() - 2) + "…"
		draw_text(label, area.position.x + label_width, middle, text_colour(), small, HORIZONTAL_ALIGNMENT_RIGHT)
		draw_rect(rect, bar.get("color", muted_colour()))
		draw_text(bar.text, rect.end.x + 6.0, middle, muted_colour(), small)
