extends SceneTree
# Shows a scene in a window and saves what the window shows: the package test's pictures of the addon's
# example and of a scene a new project makes with the bracket control. A script instead of a scene is run as
# a full-window Control's script.
#   godot --path <project> -s res://screenshot.gd -- --scene=<res://... .tscn or .gd> --out=<png>

const FRAMES := 10


func _initialize() -> void:
	_shoot.call_deferred()


func _shoot() -> void:
	var path := _option("--scene=")
	var out := _option("--out=")
	var scene: Node
	if path.ends_with(".gd"):
		scene = Control.new()
		scene.set_anchors_and_offsets_preset(Control.PRESET_FULL_RECT)
		scene.set_script(load(path))
	else:
		scene = (load(path) as PackedScene).instantiate()
	root.add_child(scene)
	for frame in FRAMES:
		await process_frame
	await RenderingServer.frame_post_draw
	var error := root.get_texture().get_image().save_png(out)
	if error != OK:
		push_error("screenshot: %s could not be saved (%s)" % [out, error_string(error)])
	else:
		print("screenshot: %s" % out)
	quit(0 if error == OK else 1)


func _option(prefix: String) -> String:
	for argument in OS.get_cmdline_user_args():
		if argument.begins_with(prefix):
			return argument.trim_prefix(prefix)
	return ""
