extends "res://addons/teamforge/controls/control_drawing.gd"
# What the charts share: a title row, the plot area inside it, the demo theme's font and colours, axis
# numbers at round steps, and texts that never overlap. Everything is drawn in _draw with the engine's
# own primitives, so a chart needs no image and follows the theme it is placed under. Measuring, shortening
# and placing text come from the addon's controls; the font and colours are the demo theme's labels'.

## Series colours, readable on the theme's dark panels; the first is the theme's accent.
const PALETTE := [Color(0.98, 0.62, 0.16), Color(0.35, 0.74, 0.97), Color(0.48, 0.85, 0.47),
		Color(0.94, 0.43, 0.63), Color(0.72, 0.6, 0.98), Color(0.96, 0.87, 0.4)]

## Drawn above the plot in the theme's header colour.
@export var title := "":
	set(value):
		title = value
		queue_redraw()
## Drawn in the middle of the plot when there is nothing to show.
@export var empty_text := "":
	set(value):
		empty_text = value
		queue_redraw()


static func colour(index: int) -> Color:
	return PALETTE[posmod(index, PALETTE.size())]


## A round step (1, 2, 2.5 or 5 times a power of ten) that cuts the span into about `count` parts.
static func nice_step(span: float, count: int) -> float:
	if span <= 0.0 or count < 1:
		return 1.0
	var raw := span / count
	var power := pow(10.0, floorf(log(raw) / log(10.0)))
	for factor in [1.0, 2.0, 2.5, 5.0, 10.0]:
		if raw <= factor * power:
			return factor * power
	return 10.0 * power


## The round values from low to high (both included when they fall on a step).
static func ticks(low: float, high: float, count: int) -> PackedFloat64Array:
	var values := PackedFloat64Array()
	var step := nice_step(high - low, count)
	var value := ceilf(low / step - 1e-9) * step
	while value <= high + step * 1e-6 and values.size() <= count * 3:
		values.append(value)
		value += step
	return values


func text_font() -> Font:
	return get_theme_font("font", "Label")


func text_size() -> int:
	return get_theme_font_size("font_size", "Label")


func text_colour() -> Color:
	return get_theme_color("font_color", "Label")


func muted_colour() -> Color:
	return get_theme_color("font_color", "MutedLabel")


func accent_colour() -> Color:
	return get_theme_color("font_color", "HeaderLabel")


## The area below the title row.
func body_rect() -> Rect2:
	var top := MARGIN + (line_height(text_size() + 1) + 4.0 if title != "" else 0.0)
	return Rect2(MARGIN, top, size.x - 2.0 * MARGIN, size.y - top - MARGIN)


## The title row: the title on the left, and a legend of coloured names on the right when given.
func draw_title_row(legend: Array = []) -> void:
	var y := MARGIN + line_height(text_size() + 1) / 2.0
	if title != "":
		draw_text(title, MARGIN, y, accent_colour(), text_size() + 1)
	var x := size.x - MARGIN
	for i in range(legend.size() - 1, -1, -1):
		var entry: Array = legend[i]
		var name: String = entry[0]
		x -= text_width(name, small_size())
		if x < MARGIN + text_width(title, text_size() + 1) + 24.0:
			break
		draw_text(name, x, y, text_colour(), small_size())
		x -= 14.0
		draw_rect(Rect2(x, y - 4.0, 10.0, 8.0), entry[1])
		x -= 14.0


func draw_empty(area: Rect2) -> void:
	if empty_text != "":
		draw_text(empty_text, area.get_center().x, area.get_center().y, muted_colour(), text_size(),
				HORIZONTAL_ALIGNMENT_CENTER)


## A box of text lines near `anchor`, kept inside the chart.
func draw_note(lines: PackedStringArray, anchor: Vector2) -> void:
	var size_used := small_size()
	var width := 0.0
	for line in lines:
		width = maxf(width, text_width(line, size_used))
	var height := line_height(size_used)
	var box := Rect2(anchor + Vector2(12.0, -height * lines.size() - 14.0),
			Vector2(width + 16.0, height * lines.size() + 10.0))
	box.position.x = clampf(box.position.x, 0.0, maxf(size.x - box.size.x, 0.0))
	if box.position.x < anchor.x and box.end.x > anchor.x - 8.0:
		box.position.x = anchor.x - box.size.x - 12.0
	box.position.x = maxf(box.position.x, 0.0)
	box.position.y = clampf(box.position.y, 0.0, maxf(size.y - box.size.y, 0.0))
	draw_style_box(get_theme_stylebox("panel", "PanelContainer"), box)
	draw_rect(box, accent_colour(), false, 1.0)
	for i in lines.size():
		draw_text(lines[i], box.position.x + 8.0, box.position.y + 5.0 + height * (i + 0.5), text_colour(), size_used)
