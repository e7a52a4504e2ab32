@tool
extends EditorPlugin
# The packaged addon in the editor, on the fresh project of tools/test_package.sh (installed there as
# res://addons/teamforge_probe). First the Teamforge plugin: enabling it lists each of the addon's
# catalogues once in the project's translations, after the entries the project had; disabling it takes
# out the catalogues and nothing else; both are saved to project.godot. It is left enabled, so that the
# smoke test finds the catalogues listed. Then the example scene played as F6 plays it: the editor starts
# its own executable again as a game process on the scene, whose output reaches the editor's Output panel
# (and, inherited, this run's output, which tools/test_package.sh checks). Then every class with its icon:
# the four node classes in the scene tree, all seven in the create dialog, saved as a screenshot of the
# editor's window.
#   godot --editor --single-window --path <project> -- --screenshot=<png>

const PLUGIN := "teamforge"
const TRANSLATIONS := "internationalization/locale/translations"
# In the order the plugin lists them: English, the fallback, first.
const CATALOGUES := ["en", "de", "es", "fr", "pt_BR", "ru"]
# What the project lists before the plugin is enabled (tools/test_package.sh writes it): the user's own
# catalogue, and one of the addon's listed by hand.
const OWN := "res://own.en.po"
const LISTED_BY_HAND := "res://addons/teamforge/locale/teamforge.de.po"
const NODE_CLASSES := ["GameCore", "TeamDatabase", "TournamentManager", "GameSettings"]
const OTHER_CLASSES := ["TeamData", "MatchSimulator", "EconomySystem"]
const TIMEOUT_MS := 120000
const EXAMPLE := "res://addons/teamforge/example/example.tscn"
# What the example prints first once its season is played.
const EXAMPLE_LINE := "Teamforge example: "

var failures := PackedStringArray()


func _enter_tree() -> void:
	_run.call_deferred()


func _run() -> void:
	var started := Time.get_ticks_msec()
	await _frames(5)
	while EditorInterface.get_resource_filesystem().is_scanning():
		if Time.get_ticks_msec() - started > TIMEOUT_MS:
			_finish("the editor's scan did not end")
			return
		await _frames(1)
	_check_plugin()
	# Before the example is opened for the picture: playing saves the open scenes first.
	await _play_example()
	var screenshot := _option("--screenshot=")
	if not screenshot.is_empty():
		await _show_classes(screenshot)
	_finish("")


func _check_plugin() -> void:
	var catalogues := PackedStringArray()
	for locale in CATALOGUES:
		catalogues.append("res://addons/teamforge/locale/teamforge.%s.po" % locale)
	var before := _saved_translations()
	_expect(before == PackedStringArray([OWN, LISTED_BY_HAND]), "the project did not start with its own list: %s" % before)

	EditorInterface.set_plugin_enabled(PLUGIN, true)
	_expect(EditorInterface.is_plugin_enabled(PLUGIN), "the Teamforge plugin did not enable")
	var enabled := _saved_translations()
	var expected := PackedStringArray([OWN, LISTED_BY_HAND])
	for catalogue in catalogues:
		if catalogue != LISTED_BY_HAND:
			expected.append(catalogue)
	_expect(enabled == expected, "enabled, project.godot lists %s instead of %s" % [enabled, expected])
	_expect(PackedStringArray(ProjectSettings.get_setting(TRANSLATIONS)) == enabled,
			"the project settings and project.godot differ after enabling")
	print("plugin enabled: %d translations listed" % enabled.size())

	EditorInterface.set_plugin_enabled(PLUGIN, false)
	var disabled := _saved_translations()
	_expect(disabled == PackedStringArray([OWN]), "disabled, project.godot lists %s instead of only %s" % [disabled, OWN])
	print("plugin disabled: %s" % ", ".join(disabled))

	EditorInterface.set_plugin_enabled(PLUGIN, true)
	var again := _saved_translations()
	_expect(again.size() == 1 + catalogues.size() and again[0] == OWN and Array(catalogues).all(func(c): return again.count(c) == 1),
			"enabled again, project.godot lists %s" % again)


func _play_example() -> void:
	var output := _output_panel()
	if output == null:
		return
	EditorInterface.play_custom_scene(EXAMPLE)
	var started := Time.get_ticks_msec()
	# A game process that fails to start leaves the editor "playing"; only its output tells.
	while not output.get_parsed_text().contains(EXAMPLE_LINE):
		if not EditorInterface.is_playing_scene() or Time.get_ticks_msec() - started > TIMEOUT_MS:
			failures.append("the example played from the editor printed no \"%s\" line in %d ms; the Output panel shows: %s"
					% [EXAMPLE_LINE, Time.get_ticks_msec() - started, output.get_parsed_text().right(600)])
			EditorInterface.stop_playing_scene()
			return
		await _frames(1)
	var line := output.get_parsed_text().substr(output.get_parsed_text().find(EXAMPLE_LINE)).get_slice("\n", 0)
	print("played from the editor: %s printed \"%s\"" % [EXAMPLE, line])
	EditorInterface.stop_playing_scene()
	await _frames(5)
	_expect(not EditorInterface.is_playing_scene(), "the example's game process did not stop")


# The text of the editor's Output panel, where the played game's prints arrive through the debugger.
func _output_panel() -> RichTextLabel:
	for panel in EditorInterface.get_base_control().find_children("*", "EditorLog", true, false):
		for label: RichTextLabel in panel.find_children("*", "RichTextLabel", true, false):
			return label
	failures.append("the editor has no Output panel")
	return null


# The translations as saved in project.godot, read back from the file.
func _saved_translations() -> PackedStringArray:
	var project := ConfigFile.new()
	if project.load("res://project.godot") != OK:
		failures.append("project.godot cannot be read")
		return PackedStringArray()
	return PackedStringArray(project.get_value("internationalization", "locale/translations", PackedStringArray()))


func _show_classes(p_path: String) -> void:
	EditorInterface.open_scene_from_path("res://addons/teamforge/example/example.tscn")
	await _frames(5)
	EditorInterface.set_main_screen_editor("2D")
	var root := EditorInterface.get_edited_scene_root()
	if root == null:
		failures.append("the example scene did not open")
		return
	_expect(root.get_node_or_null("GameCore") is GameCore, "the example scene holds no GameCore node")
	# The other node classes beside it, for the picture; the scene is not saved.
	for class_name_ in NODE_CLASSES.slice(1):
		var node: Node = ClassDB.instantiate(class_name_)
		node.name = class_name_
		root.add_child(node)
		node.owner = root
	# The create dialog of any object, showing only the library's classes and their bases.
	var blocked: Array[StringName] = []
	for class_name_ in ClassDB.get_inheriters_from_class("Object"):
		if not (NODE_CLASSES + OTHER_CLASSES).has(String(class_name_)) and class_name_ not in [&"Node", &"RefCounted"]:
			blocked.append(class_name_)
	EditorInterface.popup_create_dialog(func(_type): pass, &"Object", "", "Teamforge classes", blocked)
	await _frames(10)
	var scene_tree := _tree_with_root(root.name)
	var create_tree := _tree_with_root("Object")
	if create_tree != null:
		create_tree.get_root().set_collapsed_recursive(false)
		# GameCore selected: the dialog shows its description from the library's class reference.
		var item := create_tree.get_root()
		while item != null and item.get_text(0) != "GameCore":
			item = item.get_next_in_tree()
		if item != null:
			item.select(0)
	await _frames(20)
	# Each class is drawn with its own icon, not its base class's.
	_expect_icons(scene_tree, NODE_CLASSES, "the scene tree")
	_expect_icons(create_tree, NODE_CLASSES + OTHER_CLASSES, "the create dialog")
	var image := EditorInterface.get_base_control().get_viewport().get_texture().get_image()
	var error := image.save_png(p_path)
	_expect(error == OK, "the screenshot could not be saved to %s (%s)" % [p_path, error_string(error)])
	print("screenshot: %s (%dx%d)" % [p_path, image.get_width(), image.get_height()])


func _tree_with_root(p_text: String) -> Tree:
	for tree: Tree in EditorInterface.get_base_control().get_tree().root.find_children("*", "Tree", true, false):
		if tree.is_visible_in_tree() and tree.get_root() != null and tree.get_root().get_text(0) == p_text:
			return tree
	failures.append("no visible tree starts with %s" % p_text)
	return null


func _expect_icons(p_tree: Tree, p_classes: Array, p_where: String) -> void:
	if p_tree == null:
		return
	var icons := {}
	var item := p_tree.get_root()
	while item != null:
		var icon := item.get_icon(0)
		icons[item.get_text(0)] = icon.resource_path if icon != null else ""
		item = item.get_next_in_tree()
	for class_name_ in p_classes:
		var expected := "res://addons/teamforge/icons/%s.svg" % class_name_
		_expect(icons.get(class_name_) == expected, "%s shows %s with the icon %s, not %s" % [p_where, class_name_,
				icons.get(class_name_, "(not shown)"), expected])
	print("%s: %s" % [p_where, ", ".join(p_classes.map(func(c): return "%s %s" % [c, icons.get(c, "?").get_file()]))])


func _option(p_prefix: String) -> String:
	for arg in OS.get_cmdline_user_args():
		if arg.begins_with(p_prefix):
			return arg.trim_prefix(p_prefix)
	return ""


func _frames(p_count: int) -> void:
	for i in p_count:
		await get_tree().process_frame


func _expect(p_condition: bool, p_failure: String) -> void:
	if not p_condition:
		failures.append(p_failure)


func _finish(p_failure: String) -> void:
	if not p_failure.is_empty():
		failures.append(p_failure)
	for failure in failures:
		printerr("editor probe: " + failure)
	if failures.is_empty():
		print("editor probe passed")
	get_tree().quit(0 if failures.is_empty() else 1)
