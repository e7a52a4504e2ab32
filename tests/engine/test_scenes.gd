extends TestCase
# The library's nodes in scenes a game saves: what a scene keeps of them, and that every instance of a
# saved scene plays a season of its own.

const WarningTrap := preload("res://warning_trap.gd")

const SCENE_PATH := "user://teamforge_scene_test.tscn"


func after_each() -> void:
	if FileAccess.file_exists(SCENE_PATH):
		DirAccess.remove_absolute(SCENE_PATH)


func test_a_saved_scene_keeps_no_simulator_and_each_instance_draws_its_own_seed() -> void:
	var root := Node.new()
	var manager := TournamentManager.new()
	manager.name = "Manager"
	manager.get_match_simulator().set_seed(42)
	var core := GameCore.new()
	core.name = "Core"
	core.set_seed(42)
	for node in [manager, core, TeamDatabase.new(), GameSettings.new()]:
		root.add_child(node)
		node.owner = root
	var trap := WarningTrap.new()
	OS.add_logger(trap)
	var packed := PackedScene.new()
	var packed_status := packed.pack(root)
	OS.remove_logger(trap)
	root.free()
	assert_eq(packed_status, OK, "the scene packs")
	assert_eq(trap.warnings, PackedStringArray(), "packing warns of no property's default value")
	assert_eq(ResourceSaver.save(packed, SCENE_PATH), OK, "the scene saves")
	var text := FileAccess.get_file_as_string(SCENE_PATH)
	assert_false(text.contains("MatchSimulator") or text.contains("match_simulator") or text.contains("seed"),
			"the saved scene holds no simulator and no seed:\n" + text)

	var seeds := []
	for i in 3:
		var scene: PackedScene = ResourceLoader.load(SCENE_PATH, "", ResourceLoader.CACHE_MODE_IGNORE)
		var instance := scene.instantiate()
		var loaded: TournamentManager = instance.get_node("Manager")
		assert_not_null(loaded.get_match_simulator(), "instance %d has a simulator" % i)
		if loaded.get_match_simulator() != null:
			seeds.append(loaded.get_match_simulator().get_seed())
		instance.free()
	assert_eq(seeds.size(), 3)
	assert_false(42 in seeds, "no instance takes the seed the scene was made with: %s" % [seeds])
	assert_true(seeds[0] != seeds[1] and seeds[1] != seeds[2] and seeds[0] != seeds[2],
			"three instances draw three seeds: %s" % [seeds])


func test_the_simulator_stays_a_script_property_that_a_duplicate_does_not_share() -> void:
	var manager: TournamentManager = autofree(TournamentManager.new())
	var simulator := MatchSimulator.new()
	manager.match_simulator = simulator
	assert_same(manager.match_simulator, simulator, "scripts set and read the property")
	assert_same(manager.get_match_simulator(), simulator)
	var twin: TournamentManager = autofree(manager.duplicate())
	assert_not_null(twin.match_simulator, "a duplicate has a simulator")
	assert_false(is_same(twin.match_simulator, simulator), "a duplicate plays with a simulator of its own")
