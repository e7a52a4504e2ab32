extends SceneTree
# Prints the strongest teams of the built-in roster, as the library loads it.

const SHOWN := 10


func _init() -> void:
	var database := TeamDatabase.new()
	database.initialize_defaults()
	var teams: Array = database.get_teams().duplicate()
	teams.sort_custom(func(a: TeamData, b: TeamData) -> bool: return a.vrs > b.vrs)
	print("Teamforge: %d teams on %s; the top %d by rating:" % [database.get_team_count(), database.get_current_date(), SHOWN])
	for i in mini(SHOWN, teams.size()):
		var team: TeamData = teams[i]
		print("%2d. %-16s %-2s %4d" % [i + 1, team.name, team.region, team.vrs])
	teams.clear()
	database.free()
	quit(0)
