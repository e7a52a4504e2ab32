@tool
extends EditorPlugin
# Opens the editor's help page of every class in res://expected.txt ("<class>\t<text>" lines), one at a
# time, and checks that the page shows the text and no member without a description. The editor builds
# its help in the background and draws a page a few frames after it was asked for, so a page that does
# not pass yet is read again until the time is up. Prints one line per class and quits with 0 when every
# page passed.

const MISSING := "There is currently no description"
const TIMEOUT_MSEC := 60000
const FRAMES_PER_READ := 5

var classes: Array[String] = []
var snippets := {}
var problems := {}
var current := 0
var frames := 0
var started := 0


func _enter_tree() -> void:
	started = Time.get_ticks_msec()
	var file := FileAccess.open("res://expected.txt", FileAccess.READ)
	if file == null:
		printerr("help_probe: res://expected.txt is missing")
		get_tree().quit(2)
		return
	for line in file.get_as_text().split("\n", false):
		var fields := line.split("\t")
		classes.append(fields[0])
		snippets[fields[0]] = fields[1] if fields.size() > 1 else ""


func _process(_delta: float) -> void:
	if current >= classes.size():
		return
	frames += 1
	if frames == 1:
		EditorInterface.get_script_editor().goto_help("class_name:" + classes[current])
		return
	if frames < FRAMES_PER_READ:
		return
	var problem := _read_page(classes[current])
	problems[classes[current]] = problem
	frames = 0
	if problem.is_empty() or Time.get_ticks_msec() - started > TIMEOUT_MSEC:
		current += 1
		if current == classes.size():
			_finish()


# Returns what is wrong with the open page of p_class, or "" when it is right.
func _read_page(p_class: String) -> String:
	for help in EditorInterface.get_script_editor().find_children("*", "EditorHelp", true, false):
		if not help.is_visible_in_tree():
			continue
		for label: RichTextLabel in help.find_children("*", "RichTextLabel", true, false):
			var text := label.get_parsed_text()
			# The heading reads "Class:", blanks (some of them no-break spaces) and the class name.
			var heading := Array(text.get_slice("\n", 0).replace(char(0xa0), " ").replace("\t", " ").split(" ", false))
			if not heading.has("Class:") or not heading.has(p_class):
				continue
			if not text.contains(snippets[p_class]):
				return "the page does not show \"%s\"" % snippets[p_class]
			if text.contains(MISSING):
				var at := text.find(MISSING)
				return "something has no description: ...%s" % text.substr(maxi(0, at - 120), 160).replace("\n", " ")
			return ""
	return "its help page did not open"


func _finish() -> void:
	var failed := 0
	for class_name_ in classes:
		if problems[class_name_].is_empty():
			print("help page OK: %s" % class_name_)
		else:
			failed += 1
			print("help page FAILED: %s: %s" % [class_name_, problems[class_name_]])
	get_tree().quit(1 if failed > 0 else 0)
