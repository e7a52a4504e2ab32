extends SceneTree
# Runs one snippet of the docs that tools/check_snippets.py wrote as a Node script: either its statements
# in _snippet(), or a script of its own whose _ready() runs when it enters the tree. The host node lives in
# the tree while the snippet runs and a few frames after (for what it deferred), then is freed, so what
# the snippet added to the tree goes with it and anything else it left behind shows as a leak at exit.
# What the snippet prints stands between the two marker lines.
#   godot --headless --path <project> -s <this file> -- res://<snippet>.gd

const START := "--- snippet start"
const END := "--- snippet end"
const FRAMES_AFTER := 3


func _initialize() -> void:
	var args := OS.get_cmdline_user_args()
	var script: Script = load(args[0]) if args.size() == 1 else null
	if script == null or not script.can_instantiate():
		printerr("run_snippet: cannot load the snippet %s" % [args])
		quit(1)
		return
	# Untyped, so that a snippet that waits (await) is waited for.
	var host = script.new()
	print(START)
	root.add_child(host)
	if host.has_method("_snippet"):
		await host._snippet()
	for frame in FRAMES_AFTER:
		await process_frame
	print(END)
	host.free()
	quit()
