extends SceneTree
# The balance report's arithmetic on two hand-made seasons of three teams: titles and prize money go to
# the pre-season rank, the ratings after the season to the rank after it, and the calibration's rates and
# returns are what the counts say. Run in the demo project by tests/report/test_balance_report.sh; prints
# "balance stats: N checks, N failed" and exits 1 on a failure.

const SeasonSample := preload("res://report/season_sample.gd")
const BalanceStats := preload("res://report/balance_stats.gd")

var checks := 0
var failures := PackedStringArray()


func _initialize() -> void:
	var first := _season([1300, 1500, 1400], [1450, 1480, 1300], [0, 2, 1], [100, 500, 400])
	first.series[0] = 4
	first.favourite_wins[0] = 3
	first.implied_sum[0] = 2.4
	first.favourite_payout[0] = 4.2
	first.underdog_payout[0] = 1.8
	# Equal ratings before the season: the roster's order ranks them.
	var second := _season([1400, 1400, 1200], [1350, 1300, 1250], [1, 0, 0], [300, 0, 0])
	second.series[2] = 2
	second.favourite_wins[2] = 2
	second.implied_sum[2] = 1.2
	second.favourite_payout[2] = 2.6
	var stats := BalanceStats.new([first, second])

	expect_eq(Array(stats.titles_by_rank), [3, 1, 0], "titles by pre-season rank")
	expect_eq(Array(stats.prize_by_rank), [800, 400, 100], "prize money by pre-season rank")
	expect_eq(stats.title_share([1, 1]), 0.75, "the favourite's share of the titles")
	expect_eq(stats.mean_prize([2, 3]), 125.0, "mean prize of ranks 2 and 3 in a season")
	expect_eq(Array(stats.end_by_rank), [1415.0, 1375.0, 1275.0], "mean ratings by rank after the season")
	expect_eq([stats.observed_rate(0), stats.implied_rate(0), stats.observed_rate(2)], [0.75, 0.6, 1.0], "win rates")
	expect_eq([snappedf(stats.expected_return(0, true), 1e-9), snappedf(stats.expected_return(0, false), 1e-9)],
			[0.05, -0.55], "returns on favourites and underdogs of one band")
	expect_eq(snappedf(stats.expected_return(-1, true), 1e-9), snappedf(6.8 / 6.0 - 1.0, 1e-9), "return over all bands")
	expect_eq(snappedf(stats.start_spread[0], 1e-6), snappedf(sqrt(20000.0 / 3.0), 1e-6), "spread before the season")
	expect_eq(Array(stats.top_ten_share), [1.0, 1.0], "three teams are all in the top ten")
	for failure in failures:
		print("FAIL ", failure)
	print("balance stats: %d checks, %d failed" % [checks, failures.size()])
	quit(1 if not failures.is_empty() else 0)


static func _season(start: Array, end: Array, titles: Array, prize: Array) -> SeasonSample:
	var sample := SeasonSample.new(0)
	sample.start_ratings = PackedInt64Array(start)
	sample.end_ratings = PackedInt64Array(end)
	sample.titles = PackedInt64Array(titles)
	sample.prize_money = PackedInt64Array(prize)
	return sample


func expect_eq(actual: Variant, expected: Variant, message: String) -> void:
	checks += 1
	if typeof(actual) != typeof(expected) or actual != expected:
		failures.append("%s: expected %s, got %s" % [message, var_to_str(expected), var_to_str(actual)])
