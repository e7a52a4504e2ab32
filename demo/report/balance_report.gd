extends SceneTree
# The balance report: plays many seeded seasons of the main job's schedule on the engine's worker threads
# and reports how the game's numbers behave: titles and prize money by pre-season rating rank, whether the
# prediction odds match how often favourites win, how the ratings spread out, and how much of the prize
# money the ten richest teams take. Prints a table, writes balance.csv and draws balance.png with the
# demo's chart controls (in a window, so it needs a display: tools/balance_report.sh brings a virtual one).
#   tools/run_demo.sh --xvfb --script demo/report/balance_report.gd -- [--seasons=N] [--seed=S] [--threads=T]
#       [--baseline=K] [--out=DIR]
# Season i is played with the simulator seed S * 1000 + i, so it is exactly tools/run_main.sh --seed=<that>.
# The report is the same for the same N and S whatever T: every season runs on objects of its own, and the
# seasons are merged in their own order. K seasons (default 20) are played again on one thread, to check
# that and to measure the speedup. Lines beginning "time:" hold the timings; everything else is reproducible.

const SeasonSample := preload("res://report/season_sample.gd")
const BalanceStats := preload("res://report/balance_stats.gd")
const ReportPage := preload("res://report/report_page.gd")
const Texts := preload("res://ui/texts.gd")
const Main := preload("res://main.gd")

const DEFAULT_SEASONS := 200
const DEFAULT_SEED := 2026
const DEFAULT_BASELINE := 20
const SEEDS_PER_REPORT_SEED := 1000


func _initialize() -> void:
	_run()


func _run() -> void:
	var seasons := maxi(int(_option("seasons", str(DEFAULT_SEASONS))), 1)
	var seed_value := int(_option("seed", str(DEFAULT_SEED)))
	var threads := maxi(int(_option("threads", str(OS.get_processor_count()))), 1)
	var baseline := clampi(int(_option("baseline", str(DEFAULT_BASELINE))), 0, seasons)
	var out_dir := _option("out", OS.get_user_data_dir().path_join("report"))
	DirAccess.make_dir_recursive_absolute(out_dir)

	var started := Time.get_ticks_usec()
	var samples := play_seasons(seasons, seed_value, threads)
	var pooled_s := (Time.get_ticks_usec() - started) / 1e6
	started = Time.get_ticks_usec()
	var single := play_seasons(baseline, seed_value, 1)
	var single_s := (Time.get_ticks_usec() - started) / 1e6
	for i in baseline:
		if single[i].fingerprint() != samples[i].fingerprint():
			printerr("balance report: season %d came out differently on one thread" % i)
			quit(1)
			return

	var stats := BalanceStats.new(samples)
	var lines := report_lines(stats, seed_value)
	for line in lines:
		print(line)
	print("time: %d seasons on %d threads in %.1f s (%.2f s a season)" % [seasons, threads, pooled_s, pooled_s / seasons])
	if baseline > 0:
		var estimate := single_s / baseline * seasons
		print("time: %d of them again on one thread in %.1f s, with the same figures; all %d would take %.1f s there: speedup %.2f" % [
				baseline, single_s, seasons, estimate, estimate / pooled_s])

	var csv_path := out_dir.path_join("balance.csv")
	var csv := FileAccess.open(csv_path, FileAccess.WRITE)
	if csv == null:
		printerr("balance report: cannot write %s" % csv_path)
		quit(1)
		return
	csv.store_string("\n".join(csv_rows(stats, seed_value)) + "\n")
	csv.close()

	if DisplayServer.get_name() == "headless":
		# Nothing is drawn without a display, so the frame would never come.
		print("wrote %s; no picture without a display" % csv_path)
		quit(0)
		return
	var page := ReportPage.new()
	root.add_child(page)
	page.show_report(stats, seed_value)
	for i in 3:
		await process_frame
	await RenderingServer.frame_post_draw
	var png_path := out_dir.path_join("balance.png")
	var saved := root.get_texture().get_image().save_png(png_path)
	page.free()
	print("wrote %s and %s" % [csv_path, png_path] if saved == OK else "balance report: cannot write " + png_path)
	quit(0 if saved == OK else 1)


## Plays seasons 0 to count - 1, at most `threads` at once on the engine's worker pool; returns them in season
## order.
static func play_seasons(count: int, seed_value: int, threads: int) -> Array:
	var samples := []
	for i in count:
		samples.append(SeasonSample.new(seed_value * SEEDS_PER_REPORT_SEED + i))
	if count > 0:
		var group := WorkerThreadPool.add_group_task(func(i: int) -> void: samples[i].play(), count, threads, true,
				"balance report seasons")
		WorkerThreadPool.wait_for_group_task_completion(group)
	return samples


static func report_lines(stats: BalanceStats, seed_value: int) -> PackedStringArray:
	var lines := PackedStringArray()
	lines.append("Teamforge balance report: %d seasons of the main job's schedule (%d tournaments each), seed %d" % [
			stats.seasons, Main.SCHEDULE.size(), seed_value])
	lines.append("Season i replays as tools/run_main.sh --seed=%d+i." % (seed_value * SEEDS_PER_REPORT_SEED))
	lines.append("")
	lines.append("By pre-season rating rank (%d titles in all)" % stats.total_titles())
	lines.append("  %-9s %12s %20s" % ["Rank", "Title share", "Mean prize a season"])
	for group in BalanceStats.RANK_GROUPS:
		lines.append("  %-9s %11.1f%% %20s" % [ReportPage.rank_label(group), 100.0 * stats.title_share(group),
				Texts.money(roundi(stats.mean_prize(group)))])
	lines.append("")
	lines.append("Calibration: the favourite's win rate by rating gap, observed and implied by the prediction odds,")
	lines.append("and the mean return of one unit staked on every favourite or every underdog")
	lines.append("  %-9s %8s %9s %8s %12s %12s" % ["Gap", "Series", "Observed", "Implied", "Favourite", "Underdog"])
	for band in stats.series.size():
		lines.append("  %-9s %8d %8.1f%% %7.1f%% %+11.1f%% %+11.1f%%" % [ReportPage.gap_label(band), stats.series[band],
				100.0 * stats.observed_rate(band), 100.0 * stats.implied_rate(band),
				100.0 * stats.expected_return(band, true), 100.0 * stats.expected_return(band, false)])
	var total := 0
	for count in stats.series:
		total += count
	lines.append("  %-9s %8d %9s %8s %+11.1f%% %+11.1f%%" % ["all", total, "", "", 100.0 * stats.expected_return(-1, true),
			100.0 * stats.expected_return(-1, false)])
	lines.append("")
	lines.append("Rating spread (standard deviation of all ratings): %.1f before the season, %.1f after it (%.1f to %.1f)" % [
			BalanceStats.mean(stats.start_spread), BalanceStats.mean(stats.end_spread), Array(stats.end_spread).min(),
			Array(stats.end_spread).max()])
	lines.append("Share of a season's prize money held by its ten richest teams: %.1f%% (%.1f%% to %.1f%%)" % [
			100.0 * BalanceStats.mean(stats.top_ten_share), 100.0 * Array(stats.top_ten_share).min(),
			100.0 * Array(stats.top_ten_share).max()])
	return lines


## The figures as rows of section, group, metric, value: one table, easy to load and to compare.
static func csv_rows(stats: BalanceStats, seed_value: int) -> PackedStringArray:
	var rows := PackedStringArray(["section,group,metric,value"])
	rows.append("run,,seasons,%d" % stats.seasons)
	rows.append("run,,seed,%d" % seed_value)
	for rank in stats.titles_by_rank.size():
		rows.append("rank,%d,titles,%d" % [rank + 1, stats.titles_by_rank[rank]])
		rows.append("rank,%d,title_share,%.6f" % [rank + 1, float(stats.titles_by_rank[rank]) / maxi(stats.total_titles(), 1)])
		rows.append("rank,%d,mean_prize,%.2f" % [rank + 1, float(stats.prize_by_rank[rank]) / stats.seasons])
		rows.append("rank,%d,mean_rating_before,%.2f" % [rank + 1, stats.start_by_rank[rank]])
		rows.append("rank,%d,mean_rating_after,%.2f" % [rank + 1, stats.end_by_rank[rank]])
	for band in stats.series.size():
		var gap := ReportPage.gap_label(band)
		rows.append("calibration,%s,series,%d" % [gap, stats.series[band]])
		rows.append("calibration,%s,observed_favourite_rate,%.6f" % [gap, stats.observed_rate(band)])
		rows.append("calibration,%s,implied_favourite_rate,%.6f" % [gap, stats.implied_rate(band)])
		rows.append("calibration,%s,return_on_favourite,%.6f" % [gap, stats.expected_return(band, true)])
		rows.append("calibration,%s,return_on_underdog,%.6f" % [gap, stats.expected_return(band, false)])
	rows.append("calibration,all,return_on_favourite,%.6f" % stats.expected_return(-1, true))
	rows.append("calibration,all,return_on_underdog,%.6f" % stats.expected_return(-1, false))
	for season in stats.seasons:
		rows.append("season,%d,rating_spread_before,%.4f" % [season, stats.start_spread[season]])
		rows.append("season,%d,rating_spread_after,%.4f" % [season, stats.end_spread[season]])
		rows.append("season,%d,top_ten_prize_share,%.6f" % [season, stats.top_ten_share[season]])
	return rows


static func _option(key: String, fallback: String) -> String:
	for arg in OS.get_cmdline_user_args():
		if arg.begins_with("--%s=" % key):
			return arg.get_slice("=", 1)
	return fallback
