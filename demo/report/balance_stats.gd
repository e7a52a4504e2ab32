extends RefCounted
# The balance report's figures over all seasons, merged in season order so that the sums (floating
# point ones included) come out the same however many threads played the seasons.

const SeasonSample := preload("res://report/season_sample.gd")

## Pre-season rating ranks grouped for the table and the charts: [first, last], both included.
const RANK_GROUPS := [[1, 1], [2, 2], [3, 3], [4, 5], [6, 10], [11, 20], [21, 30], [31, 50], [51, 100]]
const TOP_TEAMS := 10

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


func _init(samples: Array) -> void:
	seasons = samples.size()
	for sample in samples:
		_add(sample)
	for i in start_by_rank.size():
		start_by_rank[i] /= maxi(seasons, 1)
		end_by_rank[i] /= maxi(seasons, 1)


## Indices of `values` from the largest value down; equal values keep their order.
static func ranked(values: PackedInt64Array) -> Array:
	var order := range(values.size())
	order.sort_custom(func(a, b): return values[a] > values[b] or (values[a] == values[b] and a < b))
	return order


## Standard deviation of the whole population.
static func spread(values: PackedInt64Array) -> float:
	if values.is_empty():
		return 0.0
	var mean := 0.0
	for value in values:
		mean += value
	mean /= values.size()
	var sum := 0.0
	for value in values:
		sum += (value - mean) * (value - mean)
	return sqrt(sum / values.size())


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
	var richest := ranked(sample.prize_money)
	var top := 0
	var all := 0
	for i in richest.size():
		all += sample.prize_money[richest[i]]
		top += sample.prize_money[richest[i]] if i < TOP_TEAMS else 0
	top_ten_share.append(float(top) / maxi(all, 1))
