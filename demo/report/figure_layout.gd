extends RefCounted
# The balance report's figures in a fixed order, one "section|group|metric" key each, so that a season can
# keep its figures as one flat array of numerators and denominators and any number of seasons, played
# anywhere, line up. Built from the schedule and the roster's regions, the same on every machine.

const Main := preload("res://main.gd")

## Pre-season rating ranks grouped for the table and the charts: [first, last], both included.
const RANK_GROUPS := [[1, 1], [2, 2], [3, 3], [4, 5], [6, 10], [11, 20], [21, 30], [31, 50], [51, 100]]
## Rating-gap bands of the calibration: lower bounds, in rating points.
const GAP_BANDS := [0, 25, 50, 100, 150, 200, 300, 400]
## Tiers from the highest down; those the schedule plays are reported.
const TIERS := ["HIGHEST", "TIER_S", "TIER_1", "TIER_2", "TIER_3", "TIER_OPEN"]
## Stage kinds as the tournament records name them; any other is counted as "OTHER".
const STAGE_KINDS := ["SWISS", "IEM_GROUPS", "BLAST_BRACKET", "SINGLE_ELIM", "OTHER"]
const SERIES_LENGTHS := ["Bo1", "Bo3", "Bo5"]
## The favourite's stamina minus the underdog's, in bands: lower bounds.
const STAMINA_BANDS := [-100, -19, -4, 5, 20]
## The lowest stamina lead a series can show (stamina runs from 0 to 100).
const STAMINA_LEAD_MIN := -100
## Seeds within a Swiss stage; higher seeds are counted together in the last group.
const SWISS_SEEDS := 16

var keys := PackedStringArray()
var index := {}
## Keys whose value is a total over all seasons rather than a ratio (counts of titles and series).
var totals := {}
var tiers: Array = []
var events: Array = []
var regions: Array = []
## The region of each team, by roster position.
var team_regions: Array = []
## Where the figures counted for every series and every Swiss record sit, found once rather than by key:
## [underdog win rate, implied underdog rate] by series length, by stage kind and by stamina band, and
## by Swiss seed (1-based, less one) the 3-0 and 0-3 rates of the seed and of its group of four.
var length_index: Array = []
var stage_index := {}
var stamina_index: Array = []
var swiss_index: Array = []
## By 0-based rank: [titles, title share, mean prize, mean rating before, mean rating after]; by rank group:
## [title share, mean prize].
var rank_index: Array = []
var rank_group_index: Array = []
## The gap band of every rating gap from 0 to the last bound, and the stamina band of every lead from
## STAMINA_LEAD_MIN to -STAMINA_LEAD_MIN: looked up by value rather than searched for every series. A gap past
## the last bound and a lead past either end fall in the outer bands.
var gap_band := _band_table(GAP_BANDS, 0, GAP_BANDS[-1])
var stamina_band := _band_table(STAMINA_BANDS, STAMINA_LEAD_MIN, -STAMINA_LEAD_MIN)


func _init(roster_regions: Array) -> void:
	for request in Main.SCHEDULE:
		if not events.has(event_of(request[0], request[1])):
			events.append(event_of(request[0], request[1]))
	tiers = TIERS.filter(func(tier): return Main.SCHEDULE.any(func(request): return request[1] == tier))
	team_regions = roster_regions.duplicate()
	for region in roster_regions:
		if not regions.has(region):
			regions.append(region)
	var teams := roster_regions.size()
	for rank in range(1, teams + 1):
		_total("rank|%d|titles" % rank)
		for metric in ["title_share", "mean_prize", "mean_rating_before", "mean_rating_after"]:
			_add("rank|%d|%s" % [rank, metric])
	for group in RANK_GROUPS:
		_add("rank_group|%s|title_share" % rank_label(group))
		_add("rank_group|%s|mean_prize" % rank_label(group))
	for tier in tiers:
		for group in RANK_GROUPS:
			_add("tier_titles|%s %s|title_share" % [tier, rank_label(group)])
			_add("tier_prize|%s %s|mean_prize" % [tier, rank_label(group)])
	for tier in tiers:
		_add("tier_titles|%s top 10|title_share" % tier)
	for event in events:
		for group in RANK_GROUPS:
			_add("event_titles|%s %s|title_share" % [event, rank_label(group)])
			_add("event_prize|%s %s|mean_prize" % [event, rank_label(group)])
	for region in regions:
		for metric in ["teams", "title_share", "mean_prize"]:
			_add("region|%s|%s" % [region, metric])
	for band in GAP_BANDS.size():
		_total("calibration|%s|series" % gap_label(band))
		for metric in ["observed_favourite_rate", "implied_favourite_rate", "return_on_favourite", "return_on_underdog"]:
			_add("calibration|%s|%s" % [gap_label(band), metric])
	_add("calibration|all|return_on_favourite")
	_add("calibration|all|return_on_underdog")
	for pair in [["upset_by_length", SERIES_LENGTHS], ["upset_by_stage", STAGE_KINDS],
			["upset_by_stamina", range(STAMINA_BANDS.size()).map(stamina_label)]]:
		for group in pair[1]:
			_add("%s|%s|underdog_win_rate" % [pair[0], group])
			_add("%s|%s|implied_underdog_rate" % [pair[0], group])
	for seed in SWISS_SEEDS + 1:
		_add("swiss|%s|three_nil_rate" % swiss_label(seed + 1))
		_add("swiss|%s|nil_three_rate" % swiss_label(seed + 1))
	for group in swiss_groups():
		_add("swiss|%s|three_nil_rate" % group)
		_add("swiss|%s|nil_three_rate" % group)
	for rank in range(1, teams + 1):
		rank_index.append(PackedInt64Array(["titles", "title_share", "mean_prize", "mean_rating_before",
				"mean_rating_after"].map(func(metric): return index["rank|%d|%s" % [rank, metric]])))
	for group in RANK_GROUPS:
		rank_group_index.append(PackedInt64Array([index["rank_group|%s|title_share" % rank_label(group)],
				index["rank_group|%s|mean_prize" % rank_label(group)]]))
	for length in SERIES_LENGTHS:
		length_index.append(_pair("upset_by_length|" + length))
	for kind in STAGE_KINDS:
		stage_index[kind] = _pair("upset_by_stage|" + kind)
	for band in STAMINA_BANDS.size():
		stamina_index.append(_pair("upset_by_stamina|" + stamina_label(band)))
	for seed in range(1, SWISS_SEEDS + 2):
		var at := PackedInt64Array([index["swiss|%s|three_nil_rate" % swiss_label(seed)], index["swiss|%s|nil_three_rate" % swiss_label(seed)]])
		if seed <= SWISS_SEEDS:
			at.append(index["swiss|%s|three_nil_rate" % swiss_group(seed)])
			at.append(index["swiss|%s|nil_three_rate" % swiss_group(seed)])
		swiss_index.append(at)
	for metric in ["distinct_champions", "repeat_title_share", "most_titles_by_one_team"]:
		_add("champions|season|%s" % metric)
	for tier in tiers:
		_add("organiser|%s|prize_pool" % tier)
		_add("organiser|%s|heat_credited" % tier)
	for metric in ["prize_pools_paid", "heat_credited", "heat_less_prize"]:
		_add("organiser|season|%s" % metric)
	for metric in ["rating_spread_before", "rating_spread_after", "top_ten_prize_share"]:
		_add("season|mean|%s" % metric)


## The band of every value from `lowest` to `highest` (at index value - lowest).
static func _band_table(bounds: Array, lowest: int, highest: int) -> PackedByteArray:
	var table := PackedByteArray()
	table.resize(highest - lowest + 1)
	for value in range(lowest, highest + 1):
		table[value - lowest] = band_of(bounds, value)
	return table


static func event_of(format_id: String, tier_id: String) -> String:
	return "%s %s" % [format_id, tier_id]


static func rank_label(group: Array) -> String:
	return "#%d" % group[0] if group[0] == group[1] else "#%d-%d" % group


static func gap_label(band: int) -> String:
	return "%d+" % GAP_BANDS[band] if band + 1 >= GAP_BANDS.size() else "%d-%d" % [GAP_BANDS[band], GAP_BANDS[band + 1] - 1]


static func stamina_label(band: int) -> String:
	if band == 0:
		return "%d or less" % (STAMINA_BANDS[1] - 1)
	if band + 1 >= STAMINA_BANDS.size():
		return "%d or more" % STAMINA_BANDS[band]
	return "%d to %d" % [STAMINA_BANDS[band], STAMINA_BANDS[band + 1] - 1]


static func swiss_label(seed: int) -> String:
	return "seed %d+" % (SWISS_SEEDS + 1) if seed > SWISS_SEEDS else "seed %d" % seed


## Seeds in fours, for the charts.
static func swiss_groups() -> Array:
	return range(0, SWISS_SEEDS, 4).map(func(first): return "seeds %d-%d" % [first + 1, first + 4])


static func swiss_group(seed: int) -> String:
	return "seeds %d-%d" % [(seed - 1) / 4 * 4 + 1, (seed - 1) / 4 * 4 + 4]


static func band_of(bounds: Array, value: int) -> int:
	var band := 0
	while band + 1 < bounds.size() and value >= bounds[band + 1]:
		band += 1
	return band


## The rank group (index into RANK_GROUPS) of a 0-based rank.
static func group_of_rank(rank: int) -> int:
	for i in RANK_GROUPS.size():
		if rank + 1 <= RANK_GROUPS[i][1]:
			return i
	return RANK_GROUPS.size() - 1


func size() -> int:
	return keys.size()


func _pair(group: String) -> Vector2i:
	return Vector2i(index[group + "|underdog_win_rate"], index[group + "|implied_underdog_rate"])


func _add(key: String) -> void:
	index[key] = keys.size()
	keys.append(key)


func _total(key: String) -> void:
	totals[key] = true
	_add(key)
