extends SceneTree
# Records beside each kept save what today's library reaches from it (<kind>.expected.txt), through the
# code the old-save suite checks with. Run by tools/make_release_saves.sh results.

const Outcomes := preload("res://old_save_outcomes.gd")


func _initialize() -> void:
	var saves := ""
	for argument in OS.get_cmdline_user_args():
		if argument.begins_with("--saves="):
			saves = argument.trim_prefix("--saves=")
	var status := 0
	for release in DirAccess.get_directories_at(saves):
		for kind in Outcomes.KINDS:
			var folder := saves.path_join(release)
			if Outcomes.save_folder(saves, release, kind) != folder:
				continue  # recorded beside the earlier release's copy
			var results := []
			for form in Outcomes.FORMS:
				var save = Outcomes.read_save(folder.path_join("%s.%s" % [kind, form]))
				results.append(Outcomes.outcome(kind, save) if save is Dictionary else {})
			# Both forms hold the same state, so they must reach the same result.
			if results[0].is_empty() or results[0] != results[1]:
				printerr("record_old_save_results: %s %s: the forms differ or do not load: %s" % [release, kind, results])
				status = 1
				continue
			var file := FileAccess.open(folder.path_join(kind + ".expected.txt"), FileAccess.WRITE)
			file.store_string(var_to_str(results[0]) + "\n")
			file.close()
			print("%s %s: %s" % [release, kind, results[0]])
	quit(status)
