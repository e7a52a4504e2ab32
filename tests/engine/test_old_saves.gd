extends TestCase
# Saves made by earlier releases of the library (saves/<n>-<commit>/, made by tools/make_release_saves.sh)
# still load and play on: a GameCore game in the middle of its season, a TournamentManager with its
# database and a Major in its Swiss stage, an EconomySystem with open and settled guesses, each as text
# and as compressed binary. Beside each save lies what this library reached from it when the set was
# recorded: the state right after the load, and the champions, the funds and the final state after
# playing on with a fixed seed. That is a pin, not a judgement: a change that makes an old save load or
# play differently fails here, and only a change meant to do so records the results again.

const Outcomes := preload("res://old_save_outcomes.gd")
const SAVES := "res://saves"
# The first tournament-manager release, the last one before archiving, and the one that seeds games.
const RELEASES := ["1-ff9d2ea", "2-3787b72", "3-17b50af"]


func test_every_release_save_loads_and_plays_on_to_its_recorded_result() -> void:
	var kept := Array(DirAccess.get_directories_at(SAVES))
	for release in RELEASES:
		assert_true(release in kept, "the saves of %s are kept" % release)
	for release in kept:
		for kind in Outcomes.KINDS:
			var folder := Outcomes.save_folder(SAVES, release, kind)
			if folder != SAVES.path_join(release):
				# The same bytes as an earlier release's save, which is played where it is kept.
				assert_true(FileAccess.file_exists(folder.path_join(kind + ".expected.txt")),
						"%s %s: the same save as %s, kept there" % [release, kind, folder.get_file()])
				continue
			var expected = str_to_var(FileAccess.get_file_as_string(folder.path_join(kind + ".expected.txt")))
			if not assert_true(expected is Dictionary and not expected.is_empty(), "%s %s: a recorded result" % [release, kind]):
				continue
			for form in Outcomes.FORMS:
				var save = Outcomes.read_save(folder.path_join("%s.%s" % [kind, form]))
				if assert_true(save is Dictionary and not save.is_empty(), "%s %s.%s reads" % [release, kind, form]):
					assert_eq(Outcomes.outcome(kind, save), expected, "%s %s.%s" % [release, kind, form])
