extends Control
# What the drawn parts of the bracket share: the theme's font, sizes and colours, and text that is measured,
# shortened and placed by its middle. Every colour, the font and its size are theme items of the type
# "TeamforgeBracketView" (or of the theme type variation set on the TeamforgeBracketView), so a game's theme
# restyles the bracket; without them the bracket looks as the demo draws it.

const MARGIN := 8.0
const THEME_TYPE := &"TeamforgeBracketView"

## Theme item -> its colour when the theme gives none: the demo's dark look.
const DEFAULT_COLOURS := {
	&"font_color": Color(0.88, 0.9, 0.94),
	&"font_muted_color": Color(0.6, 0.63, 0.7),
	&"accent_color": Color(0.98, 0.62, 0.16),
	&"font_on_accent_color": Color(0.08, 0.08, 0.1),
	&"box_color": Color(0.145, 0.16, 0.2),
	&"box_hover_color": Color(0.18, 0.2, 0.25),
	&"score_color": Color(0.1, 0.11, 0.14),
	&"next_color": Color(0.35, 0.74, 0.97),
	&"report_color": Color(0.1, 0.11, 0.14, 0.97),
	&"team_b_color": Color(0.35, 0.74, 0.97),
}

## The control whose theme type variation styles this one (the TeamforgeBracketView around it).
var styled_by: Control


func theme_colour(item: StringName) -> Color:
	for type in _theme_types():
		if has_theme_color(item, type):
			return get_theme_color(item, type)
	return DEFAULT_COLOURS.get(item, Color.WHITE)


func text_font() -> Font:
	for type in _theme_types():
		if has_theme_font(&"font", type):
			return get_theme_font(&"font", type)
	return get_theme_font(&"font", &"Label")


func text_size() -> int:
	for type in _theme_types():
		if has_theme_font_size(&"font_size", type):
			return get_theme_font_size(&"font_size", type)
	return get_theme_font_size(&"font_size", &"Label")


func small_size() -> int:
	return maxi(text_size() - 2, 10)


func text_colour() -> Color:
	return theme_colour(&"font_color")


func muted_colour() -> Color:
	return theme_colour(&"font_muted_color")


func accent_colour() -> Color:
	return theme_colour(&"accent_color")


func grid_colour() -> Color:
	return Color(muted_colour(), 0.22)


## A side's colour in the map strips: team A the accent, team B its own.
func side_colour(side: int) -> Color:
	return accent_colour() if side == 0 else theme_colour(&"team_b_color")


func text_width(text: String, size: int) -> float:
	return text_font().get_string_size(text, HORIZONTAL_ALIGNMENT_LEFT, -1, size).x


func line_height(size: int) -> float:
	return text_font().get_height(size)


## `text` cut to `width` with an ellipsis when it is wider.
func shorten(text: String, width: float, size: int) -> String:
	if text_width(text, size) <= width:
		return text
	var cut := text.length()
	while cut > 0 and text_width(text.left(cut).strip_edges() + "…", size) > width:
		cut -= 1
	return text.left(cut).strip_edges() + "…"


## Draws `text` with its left edge (or its centre, or its right edge) at x and its middle at y.
func draw_text(text: String, x: float, y: float, colour: Color, size: int,
		alignment := HORIZONTAL_ALIGNMENT_LEFT) -> void:
	var font := text_font()
	var width := text_width(text, size)
	var left := x
	if alignment == HORIZONTAL_ALIGNMENT_CENTER:
		left = x - width / 2.0
	elif alignment == HORIZONTAL_ALIGNMENT_RIGHT:
		left = x - width
	var baseline := y - font.get_height(size) / 2.0 + font.get_ascent(size)
	draw_string(font, Vector2(left, baseline), text, HORIZONTAL_ALIGNMENT_LEFT, -1, size, colour)


func _theme_types() -> Array:
	var variation: StringName = styled_by.theme_type_variation if is_instance_valid(styled_by) else &""
	return [variation, THEME_TYPE] if variation != &"" else [THEME_TYPE]
