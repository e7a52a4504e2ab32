extends TestCase
# The Mersenne Twister and the two draw rules built on it, checked against published
# outputs and against a plain script model of the generator.

const TWO_32 := 4294967296
const TWO_64 := 18446744073709551616.0

var hooks: TeamforgeTestHooks


# Straightforward MT19937, slow but independent of the library.
class RefTwister:
	var state := PackedInt64Array()
	var index := 624

	func _init(seed_value: int) -> void:
		state.resize(624)
		state[0] = seed_value & 0xFFFFFFFF
		for i in range(1, 624):
			var prev: int = state[i - 1]
			state[i] = (1812433253 * (prev ^ (prev >> 30)) + i) & 0xFFFFFFFF

	func next_u32() -> int:
		if index >= 624:
			for i in 624:
				var y: int = (state[i] & 0x80000000) | (state[(i + 1) % 624] & 0x7FFFFFFF)
				var v: int = state[(i + 397) % 624] ^ (y >> 1)
				if y & 1:
					v ^= 0x9908B0DF
				state[i] = v
			index = 0
		var x: int = state[index]
		index += 1
		x ^= x >> 11
		x ^= (x << 7) & 0x9D2C5680
		x ^= (x << 15) & 0xEFC60000
		x ^= x >> 18
		return x


func before_each() -> void:
	hooks = TeamforgeTestHooks.new()


func after_each() -> void:
	hooks = null


# Multiply-and-reject over raw outputs; returns [value, outputs used, rejections].
# The product x * s can pass 2^63, so it is formed from 16-bit halves of x.
func _uniform_from(raw: Array, pos: int, lo: int, hi: int) -> Array:
	var s := hi - lo + 1
	var threshold := TWO_32 % s
	var used := 0
	var rejections := 0
	while true:
		var x: int = raw[pos + used]
		used += 1
		var part_lo: int = (x & 0xFFFF) * s
		var part_hi: int = (x >> 16) * s
		var mixed: int = ((part_hi & 0xFFFF) << 16) + part_lo
		var low32: int = mixed & 0xFFFFFFFF
		var high: int = (part_hi >> 16) + (mixed >> 32)
		if low32 >= threshold:
			return [lo + high, used, rejections]
		rejections += 1
	return []


func test_published_outputs_for_the_default_seed() -> void:
	assert_eq(hooks.mt_raw(5489, 0, 1), [3499211612], "first output for seed 5489")
	assert_eq(hooks.mt_raw(5489, 9999, 1), [4123659995], "10000th output for seed 5489")


func test_outputs_match_a_reference_twister() -> void:
	# 1300 outputs cross two regenerations of the state.
	for seed_value in [0, 1, 5489, 0x7FFFFFFF, 0xFFFFFFFF]:
		var model := RefTwister.new(seed_value)
		var expected := []
		for i in 1300:
			expected.append(model.next_u32())
		var got: Array = hooks.mt_raw(seed_value, 0, 1300)
		assert_eq(got.size(), 1300, "output count for seed %d" % seed_value)
		var first_bad := -1
		for i in mini(got.size(), expected.size()):
			if got[i] != expected[i]:
				first_bad = i
				break
		assert_eq(first_bad, -1, "first differing output for seed %d" % seed_value)


func test_only_the_low_32_bits_of_the_seed_count() -> void:
	assert_eq(hooks.mt_raw((1 << 40) + 5, 0, 8), hooks.mt_raw(5, 0, 8), "bits above 32 ignored")
	assert_eq(hooks.mt_raw(-1, 0, 8), hooks.mt_raw(0xFFFFFFFF, 0, 8), "-1 seeds as 0xFFFFFFFF")
	assert_ne(hooks.mt_raw(6, 0, 8), hooks.mt_raw(5, 0, 8), "different seeds differ")


func test_skip_discards_outputs() -> void:
	var all: Array = hooks.mt_raw(42, 0, 705)
	assert_eq(hooks.mt_raw(42, 700, 5), all.slice(700), "skip 700 then 5")
	assert_eq(hooks.mt_raw(42, 0, 0), [], "no outputs requested")


func _check_uniform(seed_value: int, lo: int, hi: int, count: int) -> int:
	var raw: Array = hooks.mt_raw(seed_value, 0, count * 4 + 64)
	var got: Array = hooks.mt_uniform_int(seed_value, lo, hi, count)
	assert_eq(got.size(), count, "count for [%d, %d]" % [lo, hi])
	var pos := 0
	var rejections := 0
	for i in mini(count, got.size()):
		var step := _uniform_from(raw, pos, lo, hi)
		pos += step[1]
		rejections += step[2]
		if got[i] != step[0]:
			fail("seed %d, [%d, %d], draw %d: expected %d, got %d" % [seed_value, lo, hi, i, step[0], got[i]])
			break
		if got[i] < lo or got[i] > hi:
			fail("draw %d out of range: %d" % [i, got[i]])
			break
	return rejections


func test_uniform_integers_use_multiply_and_reject() -> void:
	for seed_value in [5489, 7, 123456]:
		_check_uniform(seed_value, 1, 280, 200)
		_check_uniform(seed_value, 5, 10, 200)
		_check_uniform(seed_value, 10, 20, 200)
		_check_uniform(seed_value, -5, 5, 200)
		_check_uniform(seed_value, 3, 3, 20)
		# A power-of-two size never rejects.
		_check_uniform(seed_value, 0, 2147483647, 100)


func test_rejection_draws_again() -> void:
	# s = 2^31 + 1 rejects almost half of all outputs, so a missing or wrong rejection
	# step cannot go unnoticed.
	var rejections := _check_uniform(5489, -1073741824, 1073741824, 300)
	assert_true(rejections > 50, "the sample must exercise rejection (saw %d)" % rejections)


func test_uniform_reals_combine_two_outputs_in_order() -> void:
	for seed_value in [5489, 99]:
		var raw: Array = hooks.mt_raw(seed_value, 0, 400)
		var got: Array = hooks.mt_uniform_real(seed_value, 200)
		assert_eq(got.size(), 200, "count of reals")
		for i in mini(200, got.size()):
			var expected: float = (float(raw[2 * i]) + float(raw[2 * i + 1]) * float(TWO_32)) / TWO_64
			if got[i] != expected:
				fail("seed %d, real %d: expected %s, got %s" % [seed_value, i, var_to_str(expected), var_to_str(got[i])])
				break
			if got[i] < 0.0 or got[i] >= 1.0:
				fail("real %d outside [0, 1): %s" % [i, var_to_str(got[i])])
				break


func test_ranges_wider_than_32_bits_take_the_low_word_first() -> void:
	# Such a range draws a 64-bit value from two outputs, the first one as its low word.
	var raw: Array = hooks.mt_raw(5489, 0, 40)
	# s = 2^40 never rejects; the result is the 64-bit value shifted down by 24 bits.
	var wide: Array = hooks.mt_uniform_int(5489, 0, (1 << 40) - 1, 20)
	# The whole int64 range takes the 64-bit value itself, offset by -2^63 (the top bit flipped).
	var full: Array = hooks.mt_uniform_int(5489, -9223372036854775807 - 1, 9223372036854775807, 20)
	for i in 20:
		var low: int = raw[2 * i]
		var high: int = raw[2 * i + 1]
		assert_eq(wide[i], (high << 8) + (low >> 24), "draw %d of [0, 2^40)" % i)
		assert_eq(full[i], ((high ^ 0x80000000) << 32) | low, "draw %d of the int64 range" % i)
