extends SceneTree
# The balance report's arithmetic on two hand-made seasons of three teams: titles and prize money go to
# the pre-season rank, the ratings after the season to the rank after it, and the calibration's rates and
# returns are what the counts say. Then the figures with their spread: ratios of sums with the standard
# error across seasons, small samples marked, a comparison that marks only a change beyond its noise, and
# partial results that merge into the seasons of one run (and refuse to merge otherwise). Run in the demo
# project by tests/report/test_balance_report.sh; prints "balance stats: N checks, N failed" and exits 1
# on a failure.

const SeasonSample := preload("res://report/season_sample.gd")
const BalanceStats := preload("res://report/balance_stats.gd")
const FigureLayout := preload("res://report/figure_layout.gd")
const ReportComparison := preload("res://report/report_comparison.gd")
const BalanceReport := preload("res://report/balance_report.gd")

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
	_check_records()
	_check_spread()
	_check_comparison()
	_check_merge()
	for failure in failures:
		print("FAIL ", failure)
	print("balance stats: %d checks, %d failed" % [checks, failures.size()])
	quit(1 if not failures.is_empty() else 0)


# Hand-made tournament summaries, prize money and series log read as a season: the series of completed
# tournaments alone are counted, an unknown stage kind counts as "OTHER", the Swiss records by seed follow
# from each stage's series, the organiser's heat from the series' heat, and upsets, titles and prize money by
# tier, the organiser and repeat champions come out as the records say.
func _check_records() -> void:
	var layout := FigureLayout.new(["EU", "AM", "EU", "AS"])
	var sample := SeasonSample.new(0, layout)
	sample.start_ratings = PackedInt64Array([1500, 1400, 1450, 1300])
	var series_log := _log([
		# Tournament, stage, kind, teams, seeds, ratings, stamina before, score, best of five, heat.
		[1, 0, "SWISS", "t-0", "t-3", 2, 1, 1500, 1300, 90, 100, 0, 2, false, 1000],
		[1, 0, "SWISS", "t-0", "t-3", 2, 1, 1490, 1310, 100, 80, 2, 1, false, 1000],
		[2, 0, "SINGLE_ELIM", "t-1", "t-2", 0, 0, 1400, 1450, 70, 70, 3, 1, true, 1500000],
		[3, 0, "SWISS", "t-1", "t-2", 1, 2, 1400, 1450, 70, 70, 0, 2, false, 70],
		[2, 1, "SOMETHING_NEW", "t-2", "t-1", 0, 0, 1450, 1400, 60, 40, 2, 0, false, 1500000],
	] + range(3).map(func(_i): return [1, 1, "SWISS", "t-0", "t-3", 2, 1, 1400, 1400, 100, 100, 2, 0, false, 1000]))
	var epl := {"id": 1, "status": "COMPLETED", "format_id": "EPL", "tier_id": "TIER_OPEN", "prize": 80000,
			"start_date": "2026-01-03", "champion_id": "t-3"}
	var major := {"id": 2, "status": "COMPLETED", "format_id": "MAJOR", "tier_id": "HIGHEST", "prize": 2000000,
			"start_date": "2026-02-10", "champion_id": "t-3"}
	var running := {"id": 3, "status": "ACTIVE", "format_id": "EPL", "tier_id": "TIER_1", "prize": 100000,
			"start_date": "2026-12-20", "champion_id": ""}
	var prizes := {1: PackedInt64Array([30000, 0, 0, 50000]), 2: PackedInt64Array([0, 0, 0, 2000000])}
	sample._read_records([major, running, epl], series_log, prizes, {"t-0": 0, "t-1": 1, "t-2": 2, "t-3": 3})
	var figure := func(key: String) -> Array: return [sample.values[2 * layout.index[key]], sample.values[2 * layout.index[key] + 1]]
	expect_eq(sample.matches, 7, "the series of the completed tournaments, not of the running one")
	expect_eq([figure.call("upset_by_length|Bo3|underdog_win_rate"), figure.call("upset_by_length|Bo5|underdog_win_rate")],
			[[1.0, 3.0], [1.0, 1.0]], "upsets by series length; equal ratings have no underdog")
	expect_eq([figure.call("upset_by_stage|SWISS|underdog_win_rate"), figure.call("upset_by_stage|SINGLE_ELIM|underdog_win_rate"),
			figure.call("upset_by_stage|OTHER|underdog_win_rate")], [[1.0, 2.0], [1.0, 1.0], [0.0, 1.0]], "upsets by stage kind")
	# The upset came with the favourite 10 behind on stamina, the wins 20 ahead.
	expect_eq([figure.call("upset_by_stamina|-19 to -5|underdog_win_rate"), figure.call("upset_by_stamina|20 or more|underdog_win_rate"),
			figure.call("upset_by_stamina|-4 to 4|underdog_win_rate")], [[1.0, 1.0], [0.0, 2.0], [1.0, 1.0]], "upsets by stamina gap")
	# Stage 0: both teams 1-1; stage 1: seed 2 went 3-0, seed 1 0-3.
	expect_eq([figure.call("swiss|seed 1|nil_three_rate"), figure.call("swiss|seed 2|three_nil_rate"),
			figure.call("swiss|seeds 1-4|three_nil_rate")], [[1.0, 2.0], [1.0, 2.0], [1.0, 4.0]], "Swiss records by seed")
	expect_eq([figure.call("tier_titles|TIER_OPEN #4-5|title_share"), figure.call("tier_titles|TIER_OPEN #1|title_share"),
			figure.call("tier_titles|HIGHEST top 10|title_share")], [[1.0, 1.0], [0.0, 1.0], [1.0, 1.0]], "titles by tier and rank")
	expect_eq([figure.call("tier_prize|TIER_OPEN #1|mean_prize"), figure.call("event_prize|MAJOR HIGHEST #4-5|mean_prize")],
			[[30000.0, 1.0], [2000000.0, 1.0]], "prize money by tier and by event")
	expect_eq([figure.call("organiser|TIER_OPEN|heat_credited"), figure.call("organiser|season|heat_less_prize")],
			[[5000.0, 1.0], [925000.0, 1.0]], "the organiser's heat against its prize pools")
	expect_eq([figure.call("champions|season|distinct_champions"), figure.call("champions|season|repeat_title_share"),
			figure.call("champions|season|most_titles_by_one_team")], [[1.0, 1.0], [1.0, 2.0], [2.0, 1.0]], "repeat champions")


# A series log's columns from rows of [tournament, stage, kind, team a, team b, seed a, seed b, rating a,
# rating b, stamina a, stamina b, score a, score b, best of five, heat].
static func _log(rows: Array) -> Dictionary:
	var columns := ["tournament_id", "stage_index", "stage_type", "team_a_id", "team_b_id", "seed_a", "seed_b",
			"vrs_before_a", "vrs_before_b", "stamina_before_a", "stamina_before_b", "score_a", "score_b", "is_bo5", "heat"]
	var log := {}
	for c in columns.size():
		log[columns[c]] = rows.map(func(row): return row[c])
	return log


# Three hand-made seasons of the three-team roster: ratios of sums, their errors across seasons, totals
# and the small-sample mark.
func _check_spread() -> void:
	var layout := FigureLayout.new(["EU", "AM", "EU"])
	var seasons := []
	for titles in [[2, 1, 0], [1, 1, 1], [3, 0, 0]]:
		var sample := _season([1500, 1400, 1300], [1500, 1400, 1300], titles, [300, 200, 100], layout)
		sample.series[1] = 10
		sample.favourite_wins[1] = 6 + seasons.size() * 2
		sample.summarise()
		seasons.append(sample)
	var stats := BalanceStats.new(seasons, layout)
	var top := stats.find("rank|1|title_share")
	# 6 of 9 titles; residuals 2 - 2/3*3 = 0, 1 - 2 = -1, 3 - 2 = 1: sqrt(2 * 3 / 2) / 9.
	expect_eq(snappedf(stats.figure_value[top], 1e-9), snappedf(6.0 / 9.0, 1e-9), "the best team's share of the titles")
	expect_eq(snappedf(stats.figure_error[top], 1e-9), snappedf(sqrt(3.0) / 9.0, 1e-9), "its error across seasons")
	expect_eq(stats.figure_n[top], 9.0, "its sample: the titles")
	expect_eq(stats.is_small(top), true, "nine titles are a small sample")
	var bounds := stats.interval(top)
	expect_eq(snappedf(bounds.y - bounds.x, 1e-5), snappedf(2.0 * 1.96 * sqrt(3.0) / 9.0, 1e-5), "the 95 % interval")
	var band := stats.find("calibration|25-49|observed_favourite_rate")
	# 6, 8 and 10 of 10: a mean of 0.8 and a standard error of 2 / sqrt(3) / 10.
	expect_eq([snappedf(stats.figure_value[band], 1e-9), snappedf(stats.figure_error[band], 1e-9), stats.figure_n[band]],
			[0.8, snappedf(0.2 / sqrt(3.0), 1e-9), 30.0], "a calibration rate with its error, over 30 series")
	expect_eq(stats.is_small(band), false, "thirty series are enough")
	var titles := stats.find("rank|1|titles")
	expect_eq([stats.figure_value[titles], stats.figure_n[titles]], [6.0, 3.0], "a total counts all seasons")
	var region := stats.find("region|EU|mean_prize")
	expect_eq([stats.figure_value[region], stats.figure_error[region]], [200.0, 0.0], "a region's mean prize, the same each season")
	expect_eq(stats.get_value("region|AM|teams"), 1.0, "the region's team count")
	var one := BalanceStats.new([seasons[0]], layout)
	expect_eq(one.figure_error[top], -1.0, "one season tells no error")
	var rows := BalanceReport.csv_rows(stats, 5)
	expect_eq(rows[0], "section,group,metric,value,se,low,high,n,small", "the CSV's columns")
	expect_eq(Array(rows).has("rank,1,title_share,0.666667,0.192450,0.289464,1.043869,9,1"), true, "a figure's CSV row")


# A comparison against a report whose CSV differs from this one in two figures: one by far more than its
# noise, one by less; only the first is marked. A figure that never varied is left uncompared.
func _check_comparison() -> void:
	expect_eq(absf(ReportComparison.normal_quantile(0.975) - 1.959964) < 1e-6, true, "the normal quantile")
	expect_eq(absf(ReportComparison.normal_quantile(1e-6) + 4.753424) < 1e-5, true, "the normal quantile's far tail")
	expect_eq(absf(ReportComparison.t_quantile(0.975, 100000) - 1.959964) < 1e-4, true, "t with many degrees is normal")
	expect_eq([snappedf(ReportComparison.t_quantile(0.975, 3), 1e-3), snappedf(ReportComparison.t_quantile(0.975, 29), 1e-3),
			snappedf(ReportComparison.t_quantile(1.0 - 0.05 / 2.0 / 1018.0, 4), 1e-2)], [3.182, 2.045, 18.61],
			"t quantiles with few degrees, far in the tail too")
	var layout := FigureLayout.new(["EU", "EU"])
	var seasons := []
	for i in 30:
		var sample := _season([1500, 1400], [1500, 1400], [1 + i % 2, 0], [100 + i % 3, 50], layout)
		sample.series[0] = 100 + i % 4
		sample.favourite_wins[0] = 50 + i % 5
		sample.summarise()
		seasons.append(sample)
	var stats := BalanceStats.new(seasons, layout)
	var rows := BalanceReport.csv_rows(stats, 1)
	var far := stats.find("rank|1|mean_prize")
	var near := stats.find("calibration|0-24|observed_favourite_rate")
	var edited := PackedStringArray()
	for row in rows:
		if row.begins_with("rank,1,mean_prize,"):
			row = row.replace("rank,1,mean_prize,%.6f" % stats.figure_value[far], "rank,1,mean_prize,%.6f" % (
					stats.figure_value[far] + 10.0))
		elif row.begins_with("calibration,0-24,observed_favourite_rate,"):
			row = row.replace(",%.6f," % stats.figure_value[near], ",%.6f," % (stats.figure_value[near] + stats.figure_error[near]))
		edited.append(row)
	var path := OS.get_user_data_dir().path_join("test_balance_other.csv")
	var file := FileAccess.open(path, FileAccess.WRITE)
	file.store_string("\n".join(edited) + "\n")
	file.close()
	var comparison := ReportComparison.new()
	expect_eq(comparison.read(path), "", "the other report reads")
	comparison.compare(stats)
	expect_eq([comparison.marked[far], comparison.marked[near], comparison.marked_count], [1, 0, 1],
			"only the change beyond its noise is marked")
	expect_eq(snappedf(comparison.change[far], 1e-6), -10.0, "the change against the other report")
	expect_eq(comparison.compared[stats.find("rank|1|titles")], 0, "a total is left uncompared, though it varied")
	expect_eq(comparison.compared[stats.find("calibration|0-24|series")], 0, "so is a count of series")
	expect_eq(comparison.compared[stats.find("rank|2|title_share")], 0, "so is a share that never varied")
	expect_eq(comparison.compared[near], 1, "a rate that varied is compared")
	var same := ReportComparison.new()
	var own := OS.get_user_data_dir().path_join("test_balance_same.csv")
	file = FileAccess.open(own, FileAccess.WRITE)
	file.store_string("\n".join(rows) + "\n")
	file.close()
	same.read(own)
	same.compare(stats)
	expect_eq([same.marked_count, Array(same.change).all(func(c): return c == 0.0)], [0, true], "against itself nothing changes")
	var broken := OS.get_user_data_dir().path_join("test_balance_broken.csv")
	file = FileAccess.open(broken, FileAccess.WRITE)
	file.store_string("a,b\n1,2\n")
	file.close()
	expect_eq(ReportComparison.new().read(broken).contains("no balance report CSV"), true, "a CSV of something else is refused")
	for name in [path, own, broken]:
		DirAccess.remove_absolute(name)


# Three seasons written as two shards merge back into the seasons in their order; partials of another run,
# a season twice or a season missing are refused.
func _check_merge() -> void:
	var layout := FigureLayout.new(["EU", "AM"])
	var seasons := []
	for i in 3:
		var sample := _season([1500, 1400], [1450 + i, 1400], [i % 2, 1], [100 * i, 50], layout)
		sample.seed_value = 7000 + i
		sample.summarise()
		seasons.append(sample)
	var dir := OS.get_user_data_dir()
	var first := BalanceReport.shard_seasons(3, Vector2i(1, 2))
	var second := BalanceReport.shard_seasons(3, Vector2i(2, 2))
	expect_eq([Array(first), Array(second)], [[0, 2], [1]], "shards take every other season")
	expect_eq([BalanceReport.parse_shard("2/3"), BalanceReport.parse_shard("4/3"), BalanceReport.parse_shard("x")],
			[Vector2i(2, 3), Vector2i(), Vector2i()], "shard options")
	BalanceReport.write_part(dir.path_join("a.part"), [seasons[0], seasons[2]], first, 3, 7, Vector2i(1, 2), layout)
	BalanceReport.write_part(dir.path_join("b.part"), [seasons[1]], second, 3, 7, Vector2i(2, 2), layout)
	var merged := BalanceReport.merge_parts(PackedStringArray([dir.path_join("b.part"), dir.path_join("a.part")]), layout)
	expect_eq(merged.get("error", ""), "", "the shards merge")
	if merged.has("samples"):
		expect_eq(merged.samples.map(func(sample): return sample.fingerprint()), seasons.map(func(sample): return sample.fingerprint()),
				"the merged seasons are the seasons, in their order")
		expect_eq(BalanceReport.csv_rows(BalanceStats.new(merged.samples, layout), 7), BalanceReport.csv_rows(
				BalanceStats.new(seasons, layout), 7), "the merged CSV is the single run's")
	expect_eq(BalanceReport.merge_parts(PackedStringArray([dir.path_join("a.part")]), layout).get("error", ""),
			"no partial holds season 1 of 3", "a missing shard")
	expect_eq(BalanceReport.merge_parts(PackedStringArray([dir.path_join("a.part"), dir.path_join("a.part")]), layout).get(
			"error", "").begins_with("season 0 is in more than one partial"), true, "a shard twice")
	BalanceReport.write_part(dir.path_join("c.part"), [seasons[1]], second, 3, 8, Vector2i(2, 2), layout)
	expect_eq(BalanceReport.merge_parts(PackedStringArray([dir.path_join("a.part"), dir.path_join("c.part")]), layout).get(
			"error", "").contains("belongs to another run"), true, "a shard of another seed")
	expect_eq(BalanceReport.merge_parts(PackedStringArray([dir.path_join("a.part")]), FigureLayout.new(["EU", "AS"])).get(
			"error", "").contains("other figures"), true, "a shard of other figures")
	for name in ["a.part", "b.part", "c.part"]:
		DirAccess.remove_absolute(dir.path_join(name))


static func _season(start: Array, end: Array, titles: Array, prize: Array, layout: FigureLayout = null) -> SeasonSample:
	var sample := SeasonSample.new(0, layout)
	sample.start_ratings = PackedInt64Array(start)
	sample.end_ratings = PackedInt64Array(end)
	sample.titles = PackedInt64Array(titles)
	sample.prize_money = PackedInt64Array(prize)
	return sample


func expect_eq(actual: Variant, expected: Variant, message: String) -> void:
	checks += 1
	if typeof(actual) != typeof(expected) or actual != expected:
		failures.append("%s: expected %s, got %s" % [message, var_to_str(expected), var_to_str(actual)])
