extends RefCounted
# Widens each column of a table to its widest text, title included, so that no language's words are cut off:
# a column keeps at least the width its panel gives it, and a table wider than its place scrolls sideways.
# Measuring text is the dear part of drawing a table: widen() measures only the rows just written, and a
# text it has measured before not again.

const MAX_MEASURED := 4096


## Titles the columns and gives each its least width; a width of 0 lets that column take the room left.
static func set_columns(tree: Tree, titles: Array, widths: Array) -> void:
	for column in titles.size():
		tree.set_column_title(column, titles[column])
		tree.set_column_expand(column, widths[column] == 0)
		tree.set_column_custom_minimum_width(column, widths[column])


static func fit(tree: Tree, widths: Array) -> void:
	var widest := []
	for column in tree.columns:
		widest.append(tree.get_theme_font("title_button_font").get_string_size(tree.atr(tree.get_column_title(column)),
				HORIZONTAL_ALIGNMENT_LEFT, -1, tree.get_theme_font_size("title_button_font_size")).x)
	var pending: Array = tree.get_root().get_children() if tree.get_root() != null else []
	var items: Array = []
	while not pending.is_empty():
		var item: TreeItem = pending.pop_back()
		pending.append_array(item.get_children())
		items.append(item)
	tree.set_meta(&"widest_texts", widest)
	widen(tree, widths, items)


## Widens the columns for these rows' texts only; no column gets narrower.
static func widen(tree: Tree, widths: Array, items: Array) -> void:
	var font := tree.get_theme_font("font")
	var font_size := tree.get_theme_font_size("font_size")
	var margins := tree.get_theme_constant("inner_item_margin_left") + tree.get_theme_constant("inner_item_margin_right") \
			+ 2 * tree.get_theme_constant("h_separation")
	var indent := tree.get_theme_constant("item_margin")
	var widest: Array = tree.get_meta(&"widest_texts", [])
	widest.resize(tree.columns)
	# Names, regions and sums come back day after day: each text is measured once.
	var measured: Dictionary = tree.get_meta(&"measured_texts", {})
	if measured.size() > MAX_MEASURED or tree.get_meta(&"measured_size", 0) != font_size:
		measured = {}
		tree.set_meta(&"measured_size", font_size)
	for item: TreeItem in items:
		var nested := item.get_parent() != tree.get_root()
		for column in tree.columns:
			var text := tree.atr(item.get_text(column))
			if not measured.has(text):
				measured[text] = font.get_string_size(text, HORIZONTAL_ALIGNMENT_LEFT, -1, font_size).x
			var width: float = measured[text]
			widest[column] = maxf(float(widest[column]) if widest[column] != null else 0.0,
					width + (indent if nested and column == 0 else 0))
	tree.set_meta(&"widest_texts", widest)
	tree.set_meta(&"measured_texts", measured)
	for column in tree.columns:
		tree.set_column_custom_minimum_width(column, maxi(widths[column], ceili(float(widest[column])) + margins))
