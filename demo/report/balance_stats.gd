extends RefCounted
# The balance report's figures over all seasons, merged in season order so that the sums (floating
# point ones included) come out the same however many threads, shards or machines played the seasons.
# Every figure of the layout is a ratio of sums over the seasons (sum of numerators / sum of
# denominators) with its standard error across seasons, so that one season's share and a thousand
# seasons' share no longer look alike.

const SeasonSample := preload("res://report/season_sample.gd")
const FigureLayout := preload("res://report/figure_layout.gd")

## Pre-season rating ranks grouped for the table and the charts: [first, last], both included.
const RANK_GROUPS := FigureLayout.RANK_GROUPS
const TOP_TEAMS := SeasonSample.TOP_TEAMS
## Two-sided 95 % interval: this many standard errors either side.
const INTERVAL_Z := 1.96
## A figure taken over fewer than this many events (series, titles, stages, seasons) is marked small.
const SMALL_SAMPLE := 30

var seasons := 0
## By pre-season rank (index 0 is the best-rated team): titles and prize money over all seasons.
var titles_by_rank := PackedInt64Array()
var prize_by_rank := PackedInt64Array()
## By rank after the season (0 best): the mean rating, next to the ratings before it by pre-season rank.
var start_by_rank := PackedFloat64Array()
var end_by_rank := PackedFloat64Array()
## By gap band, summed over all seasons (see SeasonSample).
var series := PackedInt64Array()
var favourite_wins := PackedInt64Array()
var implied_sum := PackedFloat64Array()
var favourite_payout := PackedFloat64Array()
var underdog_payout := PackedFloat64Array()
## Per season, in season order.
var start_spread := PackedFloat64Array()
var end_spread := PackedFloat64Array()
var top_ten_share := PackedFloat64Array()
## By figure of the layout: the value (ratio of sums, or the sum for totals), its standard error across
## seasons (-1 where it cannot be told: fewer than two seasons, or nothing counted) and the sample size
## (the sum of the denominators: series, titles, team-seasons, seasons).
var layout: FigureLayout
var figure_value := PackedFloat64Array()
var figure_error := PackedFloat64Array()
var figure_n := PackedFloat64Array()


func _init(samples: Array, figure_layout: FigureLayout = null) -> void:
	seasons = samples.size()
	for sample in samples:
		_add(sample)
	for i in start_by_rank.size():
		start_by_rank[i] /= maxi(seasons, 1)
		end_by_rank[i] /= maxi(seasons, 1)
	layout = figure_layout
	if layout != null:
		_figures(samples)


## [value, standard error, sample size] of one figure from its per-season numerators and denominators.
static func figure_of(numerators: PackedFloat64Array, denominators: PackedFloat64Array, total: bool) -> PackedFloat64Array:
	var count := numerators.size()
	var num := 0.0
	var den := 0.0
	for s in count:
		num += numerators[s]
		den += denominators[s]
	if total:
		# A total over the seasons: its error follows from the seasons' spread around their mean.
		var mean := num / maxi(count, 1)
		var squares := 0.0
		for s in count:
			squares += (numerators[s] - mean) * (numerators[s] - mean)
		var total_error := sqrt(squares * count / (count - 1)) if count > 1 else -1.0
		return PackedFloat64Array([num, total_error, count])
	if den <= 0.0:
		return PackedFloat64Array([0.0, -1.0, den])
	var ratio := num / den
	if count < 2:
		return PackedFloat64Array([ratio, -1.0, den])
	var squares := 0.0
	for s in count:
		var residual := numerators[s] - ratio * denominators[s]
		squares += residual * residual
	return PackedFloat64Array([ratio, sqrt(squares * count / (count - 1)) / den, den])


func figure_count() -> int:
	return figure_value.size()


func key(i: int) -> String:
	return layout.keys[i]


func find(figure_key: String) -> int:
	return layout.index.get(figure_key, -1)


## The figure's value by key; 0 for a key the layout lacks.
func get_value(figure_key: String) -> float:
	var i := find(figure_key)
	return figure_value[i] if i >= 0 else 0.0


## [low, high] of the figure's 95 % interval; the value twice when its error cannot be told.
func interval(i: int) -> Vector2:
	var margin := INTERVAL_Z * figure_error[i] if figure_error[i] >= 0.0 else 0.0
	return Vector2(figure_value[i] - margin, figure_value[i] + margin)


func is_small(i: int) -> bool:
	return figure_n[i] < SMALL_SAMPLE


func _figures(samples: Array) -> void:
	var count := layout.size()
	for array in [figure_value, figure_error, figure_n]:
		array.resize(count)
	var numerators := PackedFloat64Array()
	var denominators := PackedFloat64Array()
	numerators.resize(samples.size())
	denominators.resize(samples.size())
	for i in count:
		for s in samples.size():
			numerators[s] = samples[s].values[2 * i]
			denominators[s] = samples[s].values[2 * i + 1]
		var figure := figure_of(numerators, denominators, layout.totals.has(layout.keys[i]))
		figure_value[i] = figure[0]
		figure_error[i] = figure[1]
		figure_n[i] = figure[2]


## Indices of `values` from the largest value down; equal values keep their order.
static func ranked(values: PackedInt64Array) -> Array:
	return SeasonSample.ranked(values)


## Standard deviation of the whole population.
static func spread(values: PackedInt64Array) -> float:
	return SeasonSample.spread(values)


static func mean(values: PackedFloat64Array) -> float:
	var sum := 0.0
	for value in values:
		sum += value
	return sum / maxi(values.size(), 1)


func total_titles() -> int:
	var sum := 0
	for value in titles_by_rank:
		sum += value
	return sum


## Share of all titles won by the teams of a rank group.
func title_share(group: Array) -> float:
	var sum := 0
	for rank in range(group[0], group[1] + 1):
		sum += titles_by_rank[rank - 1] if rank <= titles_by_rank.size() else 0
	return float(sum) / maxi(total_titles(), 1)


## Mean prize money of one team of the group in one season.
func mean_prize(group: Array) -> float:
	var sum := 0
	var teams := 0
	for rank in range(group[0], group[1] + 1):
		if rank <= prize_by_rank.size():
			sum += prize_by_rank[rank - 1]
			teams += 1
	return float(sum) / maxi(teams * seasons, 1)


func observed_rate(band: int) -> float:
	return float(favourite_wins[band]) / maxi(series[band], 1)


func implied_rate(band: int) -> float:
	return implied_sum[band] / maxi(series[band], 1)


## Mean gain per unit staked on the favourite (or the underdog) of every series of the band; with
## band -1, over all series.
func expected_return(band: int, on_favourite: bool) -> float:
	var bands := range(series.size()) if band < 0 else [band]
	var paid := 0.0
	var staked := 0
	for b in bands:
		paid += favourite_payout[b] if on_favourite else underdog_payout[b]
		staked += series[b]
	return paid / maxi(staked, 1) - 1.0


func _add(sample: SeasonSample) -> void:
	var teams := sample.start_ratings.size()
	if titles_by_rank.is_empty():
		for array in [titles_by_rank, prize_by_rank, start_by_rank, end_by_rank]:
			array.resize(teams)
		for array in [series, favourite_wins, implied_sum, favourite_payout, underdog_payout]:
			array.resize(sample.series.size())
	var before := ranked(sample.start_ratings)
	var after := ranked(sample.end_ratings)
	for rank in mini(teams, titles_by_rank.size()):
		titles_by_rank[rank] += sample.titles[before[rank]]
		prize_by_rank[rank] += sample.prize_money[before[rank]]
		start_by_rank[rank] += sample.start_ratings[before[rank]]
		end_by_rank[rank] += sample.end_ratings[after[rank]]
	for band in series.size():
		series[band] += sample.series[band]
		favourite_wins[band] += sample.favourite_wins[band]
		implied_sum[band] += sample.implied_sum[band]
		favourite_payout[band] += sample.favourite_payout[band]
		underdog_payout[band] += sample.underdog_payout[band]
	start_spread.append(spread(sample.start_ratings))
	end_spread.append(spread(sample.end_ratings))
	top_ten_share.append(SeasonSample.top_share(sample.prize_money, TOP_TEAMS))
