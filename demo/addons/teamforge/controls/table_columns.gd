extends RefCounted
# Lays a table's columns out across its width, so that no language pushes a column out of view and no table
# scrolls sideways. Each column wants its widest text, title included; when the wants fit, every column gets
# them and the expanding columns share what is left; when they do not, each column keeps its title and the
# room beyond is shared out, the narrow columns (dates, sums, odds) whole, the wide ones (names, matches)
# alike. A cell that loses room ends in "…" and shows its full text as its tooltip (the tree's own tooltip
# for a cell without one; a cell's own tooltip holds its text). A header row whose cell spans the row (expand
# right) wants no width of its column.
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
	var pending: Array = tree.get_root().get_children() if tree.get_root() != null else []
	var items: Array = []
	while not pending.is_empty():
		var item: TreeItem = pending.pop_back()
		pending.append_array(item.get_children())
		items.append(item)
	tree.set_meta(&"widest_texts", [])
	widen(tree, widths, items)


## Widens the columns' wants for these rows' texts only; no want gets smaller.
static func widen(tree: Tree, widths: Array, items: Array) -> void:
	var font := tree.get_theme_font("font")
	var font_size := tree.get_theme_font_size("font_size")
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
			if item.get_expand_right(column):
				continue
			var text := tree.atr(item.get_text(column))
			if not measured.has(text):
				measured[text] = font.get_string_size(text, HORIZONTAL_ALIGNMENT_LEFT, -1, font_size).x
			var width: float = measured[text]
			widest[column] = maxf(float(widest[column]) if widest[column] != null else 0.0,
					width + (indent if nested and column == 0 else 0))
	tree.set_meta(&"widest_texts", widest)
	tree.set_meta(&"measured_texts", measured)
	tree.set_meta(&"least_widths", widths)
	lay_out(tree)


## Shares the tree's width among its columns by what each wants; again whenever the tree is resized.
static func lay_out(tree: Tree) -> void:
	if not tree.has_meta(&"least_widths"):
		return
	if not tree.has_meta(&"laid_out_on_resize"):
		tree.set_meta(&"laid_out_on_resize", true)
		tree.resized.connect(func() -> void: lay_out(tree))
	var widths: Array = tree.get_meta(&"least_widths")
	var widest: Array = tree.get_meta(&"widest_texts", [])
	var margins := tree.get_theme_constant("inner_item_margin_left") + tree.get_theme_constant("inner_item_margin_right") \
			+ 2 * tree.get_theme_constant("h_separation")
	var title_font := tree.get_theme_font("title_button_font")
	var title_size := tree.get_theme_font_size("title_button_font_size")
	var title_style := tree.get_theme_stylebox("title_button_normal")
	var floors: Array = []
	var wants: Array = []
	var titles: Dictionary = tree.get_meta(&"measured_titles", {})
	for column in tree.columns:
		var shown := tree.atr(tree.get_column_title(column))
		if not titles.has(shown):
			titles[shown] = title_font.get_string_size(shown, HORIZONTAL_ALIGNMENT_LEFT, -1, title_size).x \
					+ title_style.get_minimum_size().x
		var title: float = titles[shown]
		var text := ceilf(float(widest[column]) if column < widest.size() and widest[column] != null else 0.0) + margins
		floors.append(ceili(title))
		wants.append(maxi(ceili(maxf(title, text)), widths[column] if column < widths.size() else 0))
	tree.set_meta(&"measured_titles", titles)
	var allotted := share(wants, floors, room(tree))
	# A day that changes no width lays nothing out again.
	if tree.get_meta(&"allotted_widths", []) == allotted:
		return
	tree.set_meta(&"allotted_widths", allotted)
	for column in tree.columns:
		# The tree would widen a column to its widest cell: clipping keeps it to the width given here.
		tree.set_column_clip_content(column, true)
		tree.set_column_custom_minimum_width(column, allotted[column])


## The width the columns may fill: the tree's inside, less a vertical scroll bar's width whether shown or not.
static func room(tree: Tree) -> int:
	var panel := tree.get_theme_stylebox("panel")
	var scroll_bar := 0
	for child in tree.get_children(true):
		if child is VScrollBar:
			scroll_bar = ceili(child.get_combined_minimum_size().x)
	return floori(tree.size.x - panel.get_minimum_size().x) - scroll_bar


## Each column its want when all fit; else its floor, and the room beyond shared so that a column wanting less
## than an even share gets all it wants and the others split the rest alike. Before the tree has a size, the
## wants.
static func share(wants: Array, floors: Array, width: int) -> Array:
	var total := 0
	for want in wants:
		total += want
	if width <= 0 or total <= width:
		return wants.duplicate()
	var allotted: Array = []
	var spare := width
	for column in wants.size():
		allotted.append(mini(wants[column], floors[column]))
		spare -= allotted[column]
	var open: Array = range(wants.size()).filter(func(column: int) -> bool: return wants[column] > allotted[column])
	open.sort_custom(func(a: int, b: int) -> bool: return wants[a] - allotted[a] < wants[b] - allotted[b])
	while not open.is_empty() and spare > 0:
		var column: int = open.pop_front()
		var even := spare / (open.size() + 1)
		var extra := mini(wants[column] - allotted[column], even)
		allotted[column] += extra
		spare -= extra
	return allotted
