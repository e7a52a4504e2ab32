extends RefCounted
# A table whose rows follow a list of records, one row each, in order: a row is written again only when its
# record changed, and the columns are widened for the rows written alone. In a long career most rows of a
# table read the same from one day to the next, and then cost nothing.

const TableColumns := preload("res://addons/teamforge/controls/table_columns.gd")

var tree: Tree
var widths: Array
## Rows written so far: a day that changes no record writes none.
var written := 0
## Gives the line shown over the table while it has no row, saying why; none when not valid.
var empty_reason := Callable()

var _records: Array = []
var _locale := ""
var _empty_label: Label


func _init(table: Tree, column_widths: Array) -> void:
	tree = table
	widths = column_widths


## Shows the records; write_row(item, record) fills one row, the whole row.
func show(records: Array, write_row: Callable) -> void:
	var locale := TranslationServer.get_locale()
	# A new language: every row again.
	var all := locale != _locale or tree.get_root() == null
	if all:
		tree.clear()
		tree.create_item()
		_records.clear()
		_locale = locale
	var root := tree.get_root()
	while _records.size() > records.size():
		root.get_child(_records.size() - 1).free()
		_records.pop_back()
	var changed: Array = []
	for index in records.size():
		var item: TreeItem
		if index < _records.size():
			if _records[index] == records[index]:
				continue
			item = root.get_child(index)
		else:
			item = tree.create_item(root)
			_records.append(null)
		write_row.call(item, records[index])
		# A copy: some records are live state that changes in place (the economy's guesses).
		var record = records[index]
		_records[index] = record.duplicate(true) if record is Dictionary or record is Array else record
		changed.append(item)
	written += changed.size()
	if all:
		TableColumns.fit(tree, widths)
	elif not changed.is_empty():
		TableColumns.widen(tree, widths, changed)
	_say_why_empty(records.is_empty())


func _say_why_empty(empty: bool) -> void:
	if not empty_reason.is_valid():
		return
	if _empty_label == null:
		_empty_label = Label.new()
		_empty_label.name = "EmptyReason"
		_empty_label.theme_type_variation = &"MutedLabel"
		_empty_label.autowrap_mode = TextServer.AUTOWRAP_WORD_SMART
		_empty_label.horizontal_alignment = HORIZONTAL_ALIGNMENT_CENTER
		_empty_label.mouse_filter = Control.MOUSE_FILTER_IGNORE
		_empty_label.set_anchors_and_offsets_preset(Control.PRESET_FULL_RECT, Control.PRESET_MODE_MINSIZE, 16)
		# Below the column titles.
		_empty_label.offset_top = 48
		tree.add_child(_empty_label)
	_empty_label.visible = empty
	if empty:
		_empty_label.text = empty_reason.call()
