extends SceneTree
# The balance report: plays many seeded seasons of the main job's schedule on the engine's worker threads
# and reports how the game's numbers behave, every figure with its 95 % interval across seasons and its
# sample size: titles and prize money by pre-season rating rank (over all events, by tier, by format and
# tier, by region), whether the prediction odds match how often favourites win, upsets by series length,
# stage kind and stamina, Swiss 3-0 and 0-3 rates by seed, repeat champions, the organiser's prize pools
# against the heat credited, the spread of the ratings and the richest teams' share of the prize money.
# Prints a table, writes balance.csv and draws balance.png and balance_splits.png with the demo's chart
# controls (in a window, so it needs a display: tools/balance_report.sh brings a virtual one).
#   tools/run_demo.sh --xvfb --script demo/report/balance_report.gd -- [--seasons=N] [--seed=S] [--threads=T]
#       [--baseline=K] [--out=DIR] [--shard=I/N] [--part=FILE ...] [--compare=CSV]
# Season i is played with the simulator seed S * 1000 + i, so it is exactly tools/run_main.sh --seed=<that>.
# The report is the same for the same N and S whatever T: every season runs on objects of its own, and the
# seasons are merged in their own order. --shard=I/N plays only the seasons i with i % N = I - 1 and writes
# them to balance.part; --part=FILE given once per partial merges them into the report of all N seasons,
# byte for byte the one a single run writes. K seasons (default 20) are played again on this thread, to
# check that and to measure the speedup and the cost per series, each followed by the same season played
# bare (organised, played and freed, nothing read), which that cost is weighed against. Lines beginning
# "time:" hold the timings and "progress:" lines the progress; everything else is reproducible.

const SeasonSample := preload("res://report/season_sample.gd")
const BalanceStats := preload("res://report/balance_stats.gd")
const FigureLayout := preload("res://report/figure_layout.gd")
const ReportComparison := preload("res://report/report_comparison.gd")
const ReportPage := preload("res://report/report_page.gd")
const Texts := preload("res://ui/texts.gd")
const Main := preload("res://main.gd")

const DEFAULT_SEASONS := 200
const DEFAULT_SEED := 2026
const DEFAULT_BASELINE := 20
const SEEDS_PER_REPORT_SEED := 1000
const PARTIAL_FORMAT := "teamforge balance report partial 2"
## Runs longer than this show a progress line, at most one per PROGRESS_EVERY_S.
const PROGRESS_AFTER_S := 3.0
const PROGRESS_EVERY_S := 5.0


func _initialize() -> void:
	_run()


func _run() -> void:
	var seasons := maxi(int(_option("seasons", str(DEFAULT_SEASONS))), 1)
	var seed_value := int(_option("seed", str(DEFAULT_SEED)))
	var threads := maxi(int(_option("threads", str(OS.get_processor_count()))), 1)
	var out_dir := _option("out", OS.get_user_data_dir().path_join("report"))
	var shard_text := _option("shard", "1/1")
	var parts := _options("part")
	var compare_path := _option("compare", "")
	DirAccess.make_dir_recursive_absolute(out_dir)
	var layout := FigureLayout.new(roster_regions())

	var samples := []
	var shard := Vector2i(1, 1)
	if not parts.is_empty():
		var merged := merge_parts(parts, layout)
		if merged.has("error"):
			_fail(merged.error)
			return
		samples = merged.samples
		seasons = merged.seasons
		seed_value = merged.seed
	else:
		shard = parse_shard(shard_text)
		if shard.x < 1:
			_fail("--shard needs I/N with 1 <= I <= N, not '%s'" % shard_text)
			return
		var indices := shard_seasons(seasons, shard)
		var baseline := clampi(int(_option("baseline", str(DEFAULT_BASELINE))), 0, indices.size())
		var started := Time.get_ticks_usec()
		samples = play_seasons(indices, seed_value, threads, layout)
		var pooled_s := (Time.get_ticks_usec() - started) / 1e6
		# Each season again on this thread, and then once more played bare: taken in turns, the two costs
		# see the same machine even when its speed drifts.
		started = Time.get_ticks_usec()
		var single := []
		var report_usec := 0
		var bare_usec := 0
		for i in baseline:
			single.append(SeasonSample.new(seed_value * SEEDS_PER_REPORT_SEED + indices[i], layout))
			single[i].play()
			report_usec += single[i].play_usec
			bare_usec += SeasonSample.play_bare(seed_value * SEEDS_PER_REPORT_SEED + indices[i])
		var single_s := (Time.get_ticks_usec() - started - bare_usec) / 1e6
		var single_matches := 0
		for i in baseline:
			single_matches += single[i].matches
			if single[i].fingerprint() != samples[i].fingerprint():
				_fail("season %d came out differently on one thread" % indices[i])
				return
		print("time: %d seasons on %d threads in %.1f s (%.2f s a season)" % [indices.size(), threads, pooled_s,
				pooled_s / maxi(indices.size(), 1)])
		if baseline > 0:
			var estimate := report_usec / 1e6 / baseline * indices.size()
			print("time: %d of them again on one thread in %.1f s, with the same figures; all %d would take %.1f s there: speedup %.2f" % [
					baseline, single_s, indices.size(), estimate, estimate / maxf(pooled_s, 1e-6)])
			print("time: report cost per series played: %.1f us (one thread, %d series); the same seasons played bare (organised, played and freed, nothing read): %.1f us" % [
					float(report_usec) / maxi(single_matches, 1), single_matches, float(bare_usec) / maxi(single_matches, 1)])
		if shard.y > 1:
			var part_path := out_dir.path_join("balance.part")
			var error := write_part(part_path, samples, indices, seasons, seed_value, shard, layout)
			if error != "":
				_fail(error)
				return
			print("shard %d/%d: seasons %s of %d, seed %d; wrote %s" % [shard.x, shard.y, _index_text(indices), seasons,
					seed_value, part_path])
			quit(0)
			return

	var stats := BalanceStats.new(samples, layout)
	for line in report_lines(stats, seed_value):
		print(line)
	var comparison: ReportComparison = null
	if compare_path != "":
		comparison = ReportComparison.new()
		var problem := comparison.read(compare_path)
		if problem != "":
			_fail(problem)
			return
		comparison.compare(stats)
		for line in comparison_lines(stats, comparison):
			print(line)

	var csv_path := out_dir.path_join("balance.csv")
	if not _write_text(csv_path, csv_rows(stats, seed_value)):
		_fail("cannot write %s" % csv_path)
		return
	if comparison != null and not _write_text(out_dir.path_join("balance_compare.csv"), comparison.csv_rows(stats)):
		_fail("cannot write %s" % out_dir.path_join("balance_compare.csv"))
		return

	if DisplayServer.get_name() == "headless":
		# Nothing is drawn without a display, so the frame would never come.
		print("wrote %s; no picture without a display" % csv_path)
		quit(0)
		return
	var written := [csv_path]
	for page_index in ReportPage.PAGES.size():
		var page := ReportPage.new()
		root.add_child(page)
		page.show_report(stats, seed_value, page_index, comparison)
		for i in 3:
			await process_frame
		await RenderingServer.frame_post_draw
		var png_path := out_dir.path_join(ReportPage.PAGES[page_index])
		var saved := root.get_texture().get_image().save_png(png_path)
		page.free()
		if saved != OK:
			_fail("cannot write " + png_path)
			return
		written.append(png_path)
	print("wrote %s" % ", ".join(written))
	quit(0)


## The regions of the default roster, by roster position.
static func roster_regions() -> Array:
	var database := TeamDatabase.new()
	database.initialize_defaults()
	var regions := database.get_teams().map(func(team: TeamData): return team.get_region())
	database.free()
	return regions


## "I/N" as (I, N); (0, 0) when malformed or out of range.
static func parse_shard(text: String) -> Vector2i:
	var halves := text.split("/")
	if halves.size() != 2 or not halves[0].is_valid_int() or not halves[1].is_valid_int():
		return Vector2i()
	var shard := Vector2i(halves[0].to_int(), halves[1].to_int())
	return shard if shard.y >= 1 and shard.x >= 1 and shard.x <= shard.y else Vector2i()


## The seasons of shard I of N: every N-th from I - 1, so that shards take as long as each other.
static func shard_seasons(seasons: int, shard: Vector2i) -> PackedInt64Array:
	var indices := PackedInt64Array()
	for i in range(shard.x - 1, seasons, shard.y):
		indices.append(i)
	return indices


## Plays the given seasons, at most `threads` at once on the engine's worker pool; returns them in the
## order given. On runs longer than a few seconds, prints a progress line now and then.
static func play_seasons(indices: PackedInt64Array, seed_value: int, threads: int, layout: FigureLayout) -> Array:
	var samples := []
	for i in indices:
		samples.append(SeasonSample.new(seed_value * SEEDS_PER_REPORT_SEED + i, layout))
	if indices.is_empty():
		return samples
	var finished := PackedInt64Array([0])
	var lock := Mutex.new()
	var play := func(i: int) -> void:
		samples[i].play()
		lock.lock()
		finished[0] += 1
		lock.unlock()
	var group := WorkerThreadPool.add_group_task(play, samples.size(), threads, true, "balance report seasons")
	var started := Time.get_ticks_msec()
	var shown := -PROGRESS_EVERY_S
	while not WorkerThreadPool.is_group_task_completed(group):
		OS.delay_msec(100)
		var elapsed := (Time.get_ticks_msec() - started) / 1000.0
		if elapsed >= PROGRESS_AFTER_S and elapsed - shown >= PROGRESS_EVERY_S:
			shown = elapsed
			lock.lock()
			var done := finished[0]
			lock.unlock()
			var left := elapsed / maxi(done, 1) * (samples.size() - done) if done > 0 else -1.0
			print("progress: %d of %d seasons played in %d s, %s" % [done, samples.size(), roundi(elapsed),
					"about %d s left" % roundi(left) if left >= 0.0 else "time left not known yet"])
	WorkerThreadPool.wait_for_group_task_completion(group)
	return samples


## Writes a shard's seasons; returns "" or what went wrong.
static func write_part(path: String, samples: Array, indices: PackedInt64Array, seasons: int, seed_value: int,
		shard: Vector2i, layout: FigureLayout) -> String:
	var file := FileAccess.open(path, FileAccess.WRITE)
	if file == null:
		return "cannot write %s" % path
	file.store_var({"format": PARTIAL_FORMAT, "seasons": seasons, "seed": seed_value, "shards": shard.y,
			"shard": shard.x, "keys": layout.keys, "indices": indices,
			"samples": samples.map(func(sample): return sample.fingerprint())})
	file.close()
	return ""


## The seasons of all partials, checked to be one run's shards covering every season once:
## {"samples", "seasons", "seed"} or {"error"}.
static func merge_parts(paths: PackedStringArray, layout: FigureLayout) -> Dictionary:
	var by_index := {}
	var first := {}
	for path in paths:
		var file := FileAccess.open(path, FileAccess.READ)
		if file == null:
			return {"error": "cannot read %s" % path}
		var data = file.get_var()
		if not data is Dictionary or data.get("format") != PARTIAL_FORMAT:
			return {"error": "%s is no partial balance report" % path}
		if first.is_empty():
			first = data
		for field in ["seasons", "seed", "shards"]:
			if data.get(field) != first.get(field):
				return {"error": "%s belongs to another run (its %s is %s, not %s)" % [path, field, data.get(field), first.get(field)]}
		if data.get("keys") != layout.keys:
			return {"error": "%s was written by a report with other figures" % path}
		var indices: PackedInt64Array = data.indices
		for i in indices.size():
			if by_index.has(indices[i]):
				return {"error": "season %d is in more than one partial (%s)" % [indices[i], path]}
			by_index[indices[i]] = SeasonSample.from_fingerprint(data.samples[i])
	var seasons: int = first.seasons
	var samples := []
	for i in seasons:
		if not by_index.has(i):
			return {"error": "no partial holds season %d of %d" % [i, seasons]}
		samples.append(by_index[i])
	if by_index.size() != seasons:
		return {"error": "the partials hold seasons beyond the %d of the run" % seasons}
	return {"samples": samples, "seasons": seasons, "seed": first.seed}


static func _index_text(indices: PackedInt64Array) -> String:
	if indices.size() <= 4:
		return ", ".join(Array(indices).map(str))
	return "%d, %d, ... %d (%d seasons)" % [indices[0], indices[1], indices[indices.size() - 1], indices.size()]


## The figure as "value ±half-width n=count", with a mark when the sample is small.
static func with_spread(stats: BalanceStats, key: String, shown: Callable) -> String:
	var i := stats.find(key)
	if i < 0:
		return "-"
	var text: String = shown.call(stats.figure_value[i])
	var half := BalanceStats.INTERVAL_Z * stats.figure_error[i]
	text += " ±%s" % shown.call(half).trim_prefix("+") if stats.figure_error[i] >= 0.0 else " ±?"
	return text + (" (few)" if stats.is_small(i) else "")


static func percent(value: float) -> String:
	return "%.1f%%" % (100.0 * value)


static func points(value: float) -> String:
	return "%+.1f%%" % (100.0 * value)


static func report_lines(stats: BalanceStats, seed_value: int) -> PackedStringArray:
	var lines := PackedStringArray()
	var money := func(value: float) -> String: return Texts.money(roundi(value))
	var number := func(value: float) -> String: return "%.1f" % value
	lines.append("Teamforge balance report: %d seasons of the main job's schedule (%d tournaments each), seed %d" % [
			stats.seasons, Main.SCHEDULE.size(), seed_value])
	lines.append("Season i replays as tools/run_main.sh --seed=%d+i." % (seed_value * SEEDS_PER_REPORT_SEED))
	lines.append("Every figure: value ±half its 95%% interval across seasons; (few): fewer than %d events behind it." %
			BalanceStats.SMALL_SAMPLE)
	lines.append("")
	lines.append("By pre-season rating rank (%d titles in all)" % stats.total_titles())
	lines.append("  %-9s %20s %28s" % ["Rank", "Title share", "Mean prize a season"])
	for group in BalanceStats.RANK_GROUPS:
		var label := FigureLayout.rank_label(group)
		lines.append("  %-9s %20s %28s" % [label, with_spread(stats, "rank_group|%s|title_share" % label, percent),
				with_spread(stats, "rank_group|%s|mean_prize" % label, money)])
	lines.append("")
	lines.append("Title share by pre-season rank within each tier")
	var tiers: Array = stats.layout.tiers
	lines.append("  %-9s" % "Rank" + "".join(tiers.map(func(tier): return "%18s" % tier)))
	for group in BalanceStats.RANK_GROUPS:
		var label := FigureLayout.rank_label(group)
		lines.append("  %-9s" % label + "".join(tiers.map(func(tier): return "%18s" % with_spread(stats,
				"tier_titles|%s %s|title_share" % [tier, label], percent))))
	lines.append("  %-9s" % "titles" + "".join(tiers.map(func(tier): return "%18d" % roundi(stats.figure_n[
			stats.find("tier_titles|%s top 10|title_share" % tier)]))))
	lines.append("")
	lines.append("Mean prize money of a team in a season from each tier, by pre-season rank")
	lines.append("  %-9s" % "Rank" + "".join(tiers.map(func(tier): return "%18s" % tier)))
	for group in BalanceStats.RANK_GROUPS:
		var label := FigureLayout.rank_label(group)
		lines.append("  %-9s" % label + "".join(tiers.map(func(tier): return "%18s" % Texts.money(roundi(
				stats.get_value("tier_prize|%s %s|mean_prize" % [tier, label]))))))
	lines.append("  (by format and tier: the event_titles and event_prize rows of the CSV)")
	lines.append("")
	lines.append("By region")
	lines.append("  %-7s %6s %20s %28s" % ["Region", "Teams", "Title share", "Mean prize a team"])
	for region in stats.layout.regions:
		lines.append("  %-7s %6d %20s %28s" % [region, roundi(stats.get_value("region|%s|teams" % region)),
				with_spread(stats, "region|%s|title_share" % region, percent),
				with_spread(stats, "region|%s|mean_prize" % region, money)])
	lines.append("")
	lines.append("Calibration: the favourite's win rate by rating gap, observed and implied by the prediction odds,")
	lines.append("and the mean return of one unit staked on every favourite or every underdog")
	lines.append("  %-9s %8s %16s %8s %18s %18s" % ["Gap", "Series", "Observed", "Implied", "Favourite", "Underdog"])
	for band in stats.series.size():
		var gap := FigureLayout.gap_label(band)
		lines.append("  %-9s %8d %16s %7.1f%% %18s %18s" % [gap, stats.series[band],
				with_spread(stats, "calibration|%s|observed_favourite_rate" % gap, percent),
				100.0 * stats.implied_rate(band), with_spread(stats, "calibration|%s|return_on_favourite" % gap, points),
				with_spread(stats, "calibration|%s|return_on_underdog" % gap, points)])
	var total := 0
	for count in stats.series:
		total += count
	lines.append("  %-9s %8d %16s %8s %18s %18s" % ["all", total, "", "", with_spread(stats, "calibration|all|return_on_favourite", points),
			with_spread(stats, "calibration|all|return_on_underdog", points)])
	lines.append("")
	lines.append("Upsets (the worse-rated side wins), observed against implied by the odds")
	for pair in [["upset_by_length", "Series", FigureLayout.SERIES_LENGTHS], ["upset_by_stage", "Stage", FigureLayout.STAGE_KINDS],
			["upset_by_stamina", "Stamina gap", range(FigureLayout.STAMINA_BANDS.size()).map(FigureLayout.stamina_label)]]:
		lines.append("  %-14s %8s %18s %9s" % [pair[1], "Series", "Observed", "Implied"])
		for group in pair[2]:
			var i := stats.find("%s|%s|underdog_win_rate" % [pair[0], group])
			if stats.figure_n[i] == 0:
				continue
			lines.append("  %-14s %8d %18s %8.1f%%" % [group, roundi(stats.figure_n[i]),
					with_spread(stats, "%s|%s|underdog_win_rate" % [pair[0], group], percent),
					100.0 * stats.get_value("%s|%s|implied_underdog_rate" % [pair[0], group])])
	lines.append("  (the favourite's stamina minus the underdog's; the simulator plays no Bo1 series today)")
	lines.append("")
	lines.append("Swiss stages by seed within the stage")
	lines.append("  %-9s %8s %16s %16s" % ["Seed", "Stages", "3-0", "0-3"])
	for seed in FigureLayout.SWISS_SEEDS + 1:
		var label := FigureLayout.swiss_label(seed + 1)
		var i := stats.find("swiss|%s|three_nil_rate" % label)
		if stats.figure_n[i] == 0:
			continue
		lines.append("  %-9s %8d %16s %16s" % [label, roundi(stats.figure_n[i]), with_spread(stats, "swiss|%s|three_nil_rate" % label, percent),
				with_spread(stats, "swiss|%s|nil_three_rate" % label, percent)])
	lines.append("")
	lines.append("Champions in a season: %s different teams; %s of titles go to a team that already won one; the most by one team %s" % [
			with_spread(stats, "champions|season|distinct_champions", number),
			with_spread(stats, "champions|season|repeat_title_share", percent),
			with_spread(stats, "champions|season|most_titles_by_one_team", number)])
	lines.append("")
	lines.append("The organiser: prize pools paid against the heat credited, a tournament of each tier")
	lines.append("  %-10s %8s %28s %28s" % ["Tier", "Events", "Prize pool", "Heat credited"])
	for tier in tiers:
		var i := stats.find("organiser|%s|prize_pool" % tier)
		lines.append("  %-10s %8d %28s %28s" % [tier, roundi(stats.figure_n[i]), with_spread(stats, "organiser|%s|prize_pool" % tier, money),
				with_spread(stats, "organiser|%s|heat_credited" % tier, money)])
	lines.append("  a season: prize pools %s, heat credited %s, heat less prize pools %s" % [
			with_spread(stats, "organiser|season|prize_pools_paid", money), with_spread(stats, "organiser|season|heat_credited", money),
			with_spread(stats, "organiser|season|heat_less_prize", money)])
	lines.append("")
	lines.append("Rating spread (standard deviation of all ratings): %.1f before the season, %.1f after it (%.1f to %.1f)" % [
			BalanceStats.mean(stats.start_spread), BalanceStats.mean(stats.end_spread), Array(stats.end_spread).min(),
			Array(stats.end_spread).max()])
	lines.append("Share of a season's prize money held by its ten richest teams: %s (seasons from %.1f%% to %.1f%%)" % [
			with_spread(stats, "season|mean|top_ten_prize_share", percent), 100.0 * Array(stats.top_ten_share).min(),
			100.0 * Array(stats.top_ten_share).max()])
	return lines


## The change of every headline figure against the other report, and every figure beyond its noise.
static func comparison_lines(stats: BalanceStats, comparison: ReportComparison) -> PackedStringArray:
	var lines := PackedStringArray()
	lines.append("")
	lines.append("Against %s: %d figures compared; a change is beyond noise (*) past %.2f standard errors of the difference" % [
			comparison.source.get_file(), comparison.compared_count, comparison.threshold])
	lines.append("(a 5%% chance that a rerun with other seeds marks anything at all). %d beyond noise." % comparison.marked_count)
	lines.append("  %-52s %12s %12s %12s %8s" % ["Figure", "This", "Other", "Change", "z"])
	for i in stats.figure_count():
		var key := stats.key(i)
		var headline := key.begins_with("rank_group|") or key.begins_with("region|") or key.begins_with("upset_by_") \
				or key.begins_with("champions|") or key.begins_with("organiser|season") or key.begins_with("season|") \
				or key.begins_with("tier_titles|") and key.contains(" top 10") or key.begins_with("calibration|all")
		if not (headline or comparison.marked[i]) or not comparison.other.has(key) or stats.figure_n[i] == 0:
			continue
		lines.append("  %-52s %12.4f %12.4f %+12.4f %8s%s" % [key, stats.figure_value[i], comparison.other_value[i],
				comparison.change[i], "%.2f" % comparison.score[i] if comparison.compared[i] else "-",
				" *" if comparison.marked[i] else ""])
	return lines


## The figures as rows: section, group, metric, value, standard error, 95 % interval, sample size and a
## mark for small samples. One table, easy to load and to compare (docs/balance-csv.md says what each is).
static func csv_rows(stats: BalanceStats, seed_value: int) -> PackedStringArray:
	var rows := PackedStringArray(["section,group,metric,value,se,low,high,n,small"])
	rows.append("run,,seasons,%d,,,,," % stats.seasons)
	rows.append("run,,seed,%d,,,,," % seed_value)
	for i in stats.figure_count():
		var parts := stats.key(i).split("|")
		var spread := ",,"
		if stats.figure_error[i] >= 0.0:
			var half := BalanceStats.INTERVAL_Z * stats.figure_error[i]
			spread = "%.6f,%.6f,%.6f" % [stats.figure_error[i], stats.figure_value[i] - half, stats.figure_value[i] + half]
		# Totals are counts: whole numbers.
		var shown := "%d" % roundi(stats.figure_value[i]) if stats.layout.totals.has(stats.key(i)) else "%.6f" % stats.figure_value[i]
		rows.append("%s,%s,%s,%s,%s,%d,%d" % [parts[0], parts[1], parts[2], shown, spread, roundi(stats.figure_n[i]),
				1 if stats.is_small(i) else 0])
	for season in stats.seasons:
		rows.append("season,%d,rating_spread_before,%.4f,,,,1,1" % [season, stats.start_spread[season]])
		rows.append("season,%d,rating_spread_after,%.4f,,,,1,1" % [season, stats.end_spread[season]])
		rows.append("season,%d,top_ten_prize_share,%.6f,,,,1,1" % [season, stats.top_ten_share[season]])
	return rows


func _fail(problem: String) -> void:
	printerr("balance report: " + problem)
	quit(1)


static func _write_text(path: String, rows: PackedStringArray) -> bool:
	var file := FileAccess.open(path, FileAccess.WRITE)
	if file == null:
		return false
	file.store_string("\n".join(rows) + "\n")
	file.close()
	return true


static func _option(key: String, fallback: String) -> String:
	for arg in OS.get_cmdline_user_args():
		if arg.begins_with("--%s=" % key):
			return arg.trim_prefix("--%s=" % key)
	return fallback


static func _options(key: String) -> PackedStringArray:
	var found := PackedStringArray()
	for arg in OS.get_cmdline_user_args():
		if arg.begins_with("--%s=" % key):
			found.append(arg.trim_prefix("--%s=" % key))
	return found
