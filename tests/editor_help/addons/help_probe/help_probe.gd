@tool
extends EditorPlugin
# Opens the editor's help page of every class in res://expected.txt ("<class>\t<text>" lines) and checks
# that the page shows the text and no member without a description. The editor builds its help in the
# background, so each page is read again until it passes or the time is up. Prints one line per class
# and quits with 0 when every page passed.

const MISSING := "There is currently no description"
const TIMEOUT_MSEC := 60000
const RETRY_FRAMES := 10

var expected := {}
var passed := {}
var last_problem := {}
var started := 0
var frames := 0


func _enter_tree() -> void:
	started = Time.get_ticks_msec()
	var file := FileAccess.open("res://expected.txt", FileAccess.READ)
	if file == null:
		printerr("help_probe: res://expected.txt is missing")
		get_tree().quit(2)
		return
	for line in file.get_as_text().split("\n", false):
		var fields := line.split("\t")
		expected[fields[0]] = fields[1] if fields.size() > 1 else ""


func _process(_delta: float) -> void:
	frames += 1
	if expected.is_empty() or frames % RETRY_FRAMES != 0:
		return
	for class_name_ in expected:
		if not passed.has(class_name_):
			_read_page(class_name_)
	if passed.size() == expected.size() or Time.get_ticks_msec() - started > TIMEOUT_MSEC:
		_finish()


func _read_page(p_class: String) -> void:
	var script_editor := EditorInterface.get_script_editor()
	script_editor.goto_help("class_name:" + p_class)
	for help in script_editor.find_children("*", "EditorHelp", true, false):
		if not help.visible:
			continue
		for label: RichTextLabel in help.find_children("*", "RichTextLabel", true, false):
			var text := label.get_parsed_text()
			var heading := Array(text.get_slice("\n", 0).replace("\t", " ").split(" ", false))
			if not heading.has("Class:") or not heading.has(p_class):
				continue
			if not text.contains(expected[p_class]):
				last_problem[p_class] = "the page does not show \"%s\"" % expected[p_class]
			elif text.contains(MISSING):
				var at := text.find(MISSING)
				last_problem[p_class] = "a member has no description: ...%s" % text.substr(maxi(0, at - 120), 160).replace("\n", " ")
			else:
				passed[p_class] = true
			return
	last_problem[p_class] = "no help page opened"


func _finish() -> void:
	var failed := 0
	for class_name_ in expected:
		if passed.has(class_name_):
			print("help page OK: %s" % class_name_)
		else:
			failed += 1
			print("help page FAILED: %s: %s" % [class_name_, last_problem.get(class_name_, "not read")])
	set_process(false)
	get_tree().quit(1 if failed > 0 else 0)
