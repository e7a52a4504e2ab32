extends TestCase
# TeamData: defaults, unchecked setters, the shared honours array, the team dictionary and loading it
# back with the engine's conversions.

const KEYS := ["id", "name", "region", "vrs", "stamina", "wins", "losses", "prize_total", "honors",
		"historical_honors"]
const DEFAULTS := {"id": "", "name": "", "region": "", "vrs": 1000, "stamina": 100, "wins": 0, "losses": 0,
		"prize_total": 0, "honors": [], "historical_honors": []}
const BIG_PRIZE := 6_000_000_123  # well above 2^32


func _filled() -> TeamData:
	var t := TeamData.new()
	t.set_id("t-7")
	t.set_name("Falcons")
	t.set_region("EU")
	t.set_vrs(1813)
	t.set_stamina(42)
	t.set_wins(11)
	t.set_losses(4)
	t.set_prize_total(BIG_PRIZE)
	t.set_honors([{"title": "Cup", "place": 1}])
	return t


func test_new_record_holds_the_defaults() -> void:
	var t := TeamData.new()
	assert_eq([t.get_id(), t.get_name(), t.get_region()], ["", "", ""])
	assert_eq([t.get_vrs(), t.get_stamina(), t.get_wins(), t.get_losses(), t.get_prize_total()], [1000, 100, 0, 0, 0])
	assert_eq(t.get_honors(), [])
	assert_eq(t.to_dict(), DEFAULTS)
	assert_keys(t.to_dict(), KEYS)


func test_setters_store_values_unchecked() -> void:
	var t := TeamData.new()
	t.set_stamina(250)
	t.set_vrs(-5)
	t.set_wins(-1)
	t.set_losses(2147483647)
	t.set_prize_total(-BIG_PRIZE)
	t.set_id("  odd id ")
	assert_eq([t.get_stamina(), t.get_vrs(), t.get_wins(), t.get_losses()], [250, -5, -1, 2147483647])
	assert_eq(t.get_prize_total(), -BIG_PRIZE, "prize total keeps 64 bits")
	assert_eq(t.get_id(), "  odd id ", "id is not trimmed")


func test_properties_read_and_write_the_fields() -> void:
	var t := TeamData.new()
	t.set("vrs", 1234)
	t.set("prize_total", BIG_PRIZE)
	t.set("name", "Spirit")
	assert_eq([t.get_vrs(), t.get_prize_total(), t.get_name()], [1234, BIG_PRIZE, "Spirit"])
	assert_eq(t.get("region"), "")
	assert_same(t.get("honors"), t.get_honors())


func test_appending_to_get_honors_changes_the_record() -> void:
	var t := TeamData.new()
	t.get_honors().append({"title": "Major"})
	assert_eq(t.get_honors(), [{"title": "Major"}])
	assert_eq(t.to_dict()["honors"], [{"title": "Major"}])


func test_set_honors_keeps_the_given_array_itself() -> void:
	var t := TeamData.new()
	var honors := [{"title": "Cup"}]
	t.set_honors(honors)
	assert_same(t.get_honors(), honors)
	honors.append({"title": "League"})
	assert_eq(t.get_honors().size(), 2, "a later append by the caller shows in the record")


func test_each_new_record_has_its_own_honors_array() -> void:
	var a := TeamData.new()
	var b := TeamData.new()
	a.get_honors().append("x")
	assert_eq(b.get_honors(), [], "honours of another record")


func test_to_dict_writes_every_field_in_order() -> void:
	var t := _filled()
	var d := t.to_dict()
	assert_keys(d, KEYS)
	assert_eq(d, {"id": "t-7", "name": "Falcons", "region": "EU", "vrs": 1813, "stamina": 42, "wins": 11,
			"losses": 4, "prize_total": BIG_PRIZE, "honors": [{"title": "Cup", "place": 1}],
			"historical_honors": [{"title": "Cup", "place": 1}]})


func test_to_dict_carries_one_detached_copy_of_the_honors_under_both_keys() -> void:
	var t := _filled()
	var d := t.to_dict()
	assert_same(d["honors"], d["historical_honors"])
	assert_eq(d["honors"], t.get_honors())
	d["honors"][0]["title"] = "changed"
	d["honors"].clear()
	assert_eq(t.get_honors(), _filled().get_honors(), "the record's honours are its own")


func test_to_dict_returns_a_new_dictionary() -> void:
	var t := _filled()
	var d := t.to_dict()
	d["name"] = "changed"
	d["vrs"] = 1
	assert_eq([t.get_name(), t.get_vrs()], ["Falcons", 1813])
	assert_false(is_same(t.to_dict(), t.to_dict()), "each call builds a new dictionary")


func test_round_trip_keeps_every_field_including_a_prize_above_2_pow_31() -> void:
	var t := _filled()
	var back := TeamData.new()
	back.from_dict(t.to_dict())
	assert_eq(back.to_dict(), t.to_dict())
	assert_eq(back.get_prize_total(), BIG_PRIZE)
	for prize in [2147483648, 9223372036854775807, -9223372036854775807 - 1]:
		t.set_prize_total(prize)
		back.from_dict(t.to_dict())
		assert_eq(back.get_prize_total(), prize, "prize total %d" % prize)


func test_from_dict_reads_each_key() -> void:
	var t := TeamData.new()
	var honors := [{"title": "Cup"}]
	t.from_dict({"id": "x-1", "name": "Liquid", "region": "AM", "vrs": 1339, "stamina": 77, "wins": 3,
			"losses": 9, "prize_total": 250000, "honors": honors})
	assert_eq(t.to_dict(), {"id": "x-1", "name": "Liquid", "region": "AM", "vrs": 1339, "stamina": 77,
			"wins": 3, "losses": 9, "prize_total": 250000, "honors": honors, "historical_honors": honors})
	honors[0]["title"] = "changed"
	assert_eq(t.get_honors(), [{"title": "Cup"}], "the loaded honours are detached from the data")


func test_from_dict_with_missing_keys_restores_every_default() -> void:
	var t := _filled()
	t.from_dict({})
	assert_eq(t.to_dict(), DEFAULTS)
	t = _filled()
	t.from_dict({"name": "Only name", "unknown": 5})
	var expected := DEFAULTS.duplicate()
	expected["name"] = "Only name"
	assert_eq(t.to_dict(), expected)


func test_from_dict_does_not_empty_the_previous_honors_array() -> void:
	# Another record or a save may share the old array; loading must not wipe it.
	var t := TeamData.new()
	var old := [{"title": "Cup"}]
	t.set_honors(old)
	t.from_dict({})
	assert_eq(t.get_honors(), [])
	assert_eq(old, [{"title": "Cup"}], "the array the record held before")


func test_from_dict_converts_values_like_the_engine() -> void:
	var t := TeamData.new()
	t.from_dict({"vrs": "1500", "stamina": 12.9, "wins": true, "losses": "7 wins", "name": 5, "id": 3.5,
			"region": &"AS", "prize_total": "6000000123"})
	assert_eq(t.get_vrs(), 1500, "vrs from text")
	assert_eq(t.get_stamina(), 12, "stamina from a float is truncated")
	assert_eq(t.get_wins(), 1, "wins from a bool")
	assert_eq(t.get_losses(), 7, "losses from text with a number first")
	assert_eq(t.get_name(), "5", "name from an int")
	assert_eq(t.get_id(), "3.5", "id from a float")
	assert_eq(t.get_region(), "AS", "region from a StringName")
	assert_eq(t.get_prize_total(), BIG_PRIZE, "prize total from text keeps 64 bits")
	var d := t.to_dict()
	assert_eq([typeof(d["vrs"]), typeof(d["name"]), typeof(d["prize_total"])], [TYPE_INT, TYPE_STRING, TYPE_INT])
	t.from_dict({"vrs": -12.9})
	assert_eq(t.get_vrs(), -12, "negative floats truncate toward zero")


func test_from_dict_with_non_array_honors_leaves_none() -> void:
	for value in ["Major", 3, {"title": "Cup"}, null, PackedStringArray(["Cup"])]:
		var t := _filled()
		t.from_dict({"honors": value})
		assert_eq(t.get_honors(), [], "honours from %s" % type_string(typeof(value)))


func test_from_dict_takes_historical_honors_when_honors_is_missing() -> void:
	var t := TeamData.new()
	var old := [{"title": "Old cup"}]
	t.from_dict({"historical_honors": old})
	assert_eq(t.get_honors(), old)


func test_from_dict_honors_key_wins_over_historical_honors() -> void:
	var t := TeamData.new()
	t.from_dict({"honors": [{"title": "New"}], "historical_honors": [{"title": "Old"}]})
	assert_eq(t.get_honors(), [{"title": "New"}])
	t.from_dict({"historical_honors": [{"title": "Old"}], "honors": null})
	assert_eq(t.get_honors(), [], "a present honors key that is no array still wins")
	t.from_dict({"historical_honors": "Old", "honors": [1]})
	assert_eq(t.get_honors(), [1])


func test_from_dict_survives_out_of_range_numbers() -> void:
	# Whatever the conversion makes of them, these must load without a crash or an engine error.
	var t := TeamData.new()
	for value in [1e300, -1e300, INF, -INF, NAN, 9223372036854775807, -9223372036854775807 - 1, 4294967296 + 5]:
		t.from_dict({"vrs": value, "stamina": value, "wins": value, "losses": value, "prize_total": value})
		assert_eq(typeof(t.get_vrs()), TYPE_INT)
		assert_eq(typeof(t.get_prize_total()), TYPE_INT)
	t.from_dict({"prize_total": 9223372036854775807})
	assert_eq(t.get_prize_total(), 9223372036854775807)
