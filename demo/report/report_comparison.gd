extends RefCounted
# A report against another one (its balance.csv): each figure's change and whether it is larger than its
# noise. The noise of a change is the two reports' standard errors combined (the seasons of the two runs
# are independent draws); a change is marked when it lies beyond the noise at a 5 % chance of marking
# anything at all among all the figures compared (a Bonferroni bound over their number), so a rerun with
# other seeds and no change to the game marks nothing, however many figures the report holds. Errors
# estimated from few seasons are themselves rough, so the bound follows Student's t with the smaller
# run's seasons less one as degrees of freedom.

const BalanceStats := preload("res://report/balance_stats.gd")

const FAMILY_FALSE_ALARM := 0.05

## key -> [value, standard error] of the other report.
var other := {}
## By figure of this report: the other's value, the change, the change in noise units (z), and whether
## it was compared at all (the other report has the figure and both runs' seasons varied in it).
var other_value := PackedFloat64Array()
var change := PackedFloat64Array()
var score := PackedFloat64Array()
var compared := PackedByteArray()
var marked := PackedByteArray()
var compared_count := 0
var marked_count := 0
var threshold := 0.0
var source := ""
var other_seasons := 0


## Reads the other report's CSV; returns "" or what is wrong with it.
func read(path: String) -> String:
	source = path
	var file := FileAccess.open(path, FileAccess.READ)
	if file == null:
		return "cannot read %s" % path
	var header := file.get_csv_line()
	var columns := {}
	for i in header.size():
		columns[header[i]] = i
	for needed in ["section", "group", "metric", "value", "se"]:
		if not columns.has(needed):
			return "%s is no balance report CSV (it has no column %s)" % [path, needed]
	while not file.eof_reached():
		var row := file.get_csv_line()
		if row.size() < header.size():
			continue
		if row[columns.section] == "run" and row[columns.metric] == "seasons":
			other_seasons = row[columns.value].to_int()
		var se_text: String = row[columns.se]
		other["%s|%s|%s" % [row[columns.section], row[columns.group], row[columns.metric]]] = PackedFloat64Array([
				row[columns.value].to_float(), se_text.to_float() if se_text.is_valid_float() else -1.0])
	return ""


func compare(stats: BalanceStats) -> void:
	var count := stats.figure_count()
	for array in [other_value, change, score]:
		array.resize(count)
	for array in [compared, marked]:
		array.resize(count)
	for i in count:
		var theirs: PackedFloat64Array = other.get(stats.key(i), PackedFloat64Array())
		if theirs.is_empty():
			continue
		# Both sides as the CSV holds them, so that a figure that did not move shows no change at all.
		var mine := ("%.6f" % stats.figure_value[i]).to_float()
		var my_error := ("%.6f" % stats.figure_error[i]).to_float()
		other_value[i] = theirs[0]
		change[i] = mine - theirs[0]
		# A figure that did not vary over one run's seasons tells nothing of its noise (a group that never won a
		# title in three seasons): its change is shown and left unmarked.
		if my_error <= 0.0 or theirs[1] <= 0.0:
			continue
		# Totals grow with the seasons played: runs of different lengths differ in them without any change.
		if stats.layout.totals.has(stats.key(i)):
			continue
		compared[i] = 1
		compared_count += 1
		var noise := sqrt(my_error * my_error + theirs[1] * theirs[1])
		score[i] = change[i] / noise
	var degrees := mini(stats.seasons, other_seasons if other_seasons > 0 else stats.seasons) - 1
	threshold = t_quantile(1.0 - FAMILY_FALSE_ALARM / (2.0 * maxi(compared_count, 1)), degrees)
	for i in count:
		if compared[i] and absf(score[i]) > threshold:
			marked[i] = 1
			marked_count += 1


## The standard normal distribution's quantile (Acklam's rational approximation, relative error below
## 1.2e-9), for 0 < p < 1.
static func normal_quantile(p: float) -> float:
	const A := [-39.69683028665376, 220.9460984245205, -275.9285104469687, 138.3577518672690, -30.66479806614716, 2.506628277459239]
	const B := [-54.47609879822406, 161.5858368580409, -155.6989798598866, 66.80131188771972, -13.28068155288572]
	const C := [-0.007784894002430293, -0.3223964580411365, -2.400758277161838, -2.549732539343734, 4.374664141464968, 2.938163982698783]
	const D := [0.007784695709041462, 0.3224671290700398, 2.445134137142996, 3.754408661907416]
	p = clampf(p, 1e-300, 1.0 - 1e-16)
	if p < 0.02425:
		var q := sqrt(-2.0 * log(p))
		return (((((C[0] * q + C[1]) * q + C[2]) * q + C[3]) * q + C[4]) * q + C[5]) / ((((D[0] * q + D[1]) * q + D[2]) * q + D[3]) * q + 1.0)
	if p > 1.0 - 0.02425:
		return -normal_quantile(1.0 - p)
	var r := (p - 0.5) * (p - 0.5)
	var x := p - 0.5
	return (((((A[0] * r + A[1]) * r + A[2]) * r + A[3]) * r + A[4]) * r + A[5]) * x / (((((B[0] * r + B[1]) * r + B[2]) * r + B[3]) * r + B[4]) * r + 1.0)


## Student's t quantile with `degrees` degrees of freedom: the t at which the two-sided tail beyond it
## is 2 (1 - p), found by bisection on the closed form of the distribution for whole degrees. From 1,000
## degrees on, the normal quantile differs from it by less than the seasons' noise.
static func t_quantile(p: float, degrees: int) -> float:
	if degrees < 1:
		return INF
	if degrees >= 1000:
		return normal_quantile(p)
	var tail := 2.0 * (1.0 - p)
	var low := 0.0
	var high := 1e7
	for step in 200:
		var middle := (low + high) / 2.0
		if 1.0 - _t_inside(middle, degrees) > tail:
			low = middle
		else:
			high = middle
	return (low + high) / 2.0


## P(|T| < t) for Student's t with whole `degrees` (the series of the classic closed forms).
static func _t_inside(t: float, degrees: int) -> float:
	var theta := atan(t / sqrt(float(degrees)))
	var c2 := cos(theta) * cos(theta)
	var sum := 1.0
	var term := 1.0
	if degrees % 2 == 0:
		for k in range(2, degrees, 2):
			term *= c2 * (k - 1) / k
			sum += term
		return sin(theta) * sum
	if degrees == 1:
		return 2.0 * theta / PI
	for k in range(3, degrees, 2):
		term *= c2 * (k - 1) / k
		sum += term
	return 2.0 / PI * (theta + sin(theta) * cos(theta) * sum)


## The comparison as rows for balance_compare.csv.
func csv_rows(stats: BalanceStats) -> PackedStringArray:
	var rows := PackedStringArray(["section,group,metric,value,other_value,change,z,beyond_noise"])
	for i in stats.figure_count():
		if not other.has(stats.key(i)):
			continue
		var parts := stats.key(i).split("|")
		rows.append("%s,%s,%s,%.6f,%.6f,%.6f,%s,%d" % [parts[0], parts[1], parts[2], stats.figure_value[i], other_value[i],
				change[i], "%.3f" % score[i] if compared[i] else "", marked[i]])
	return rows
