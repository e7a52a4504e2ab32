#include "tournament/series_log.h"

#include "common/dictionary_keys.h"

#include <godot_cpp/variant/array.hpp>
#include <godot_cpp/variant/variant.hpp>

using godot::Array;
using godot::Dictionary;
using godot::Variant;

namespace teamforge {

namespace {

// A column of p_rows.size() values, p_value(row) of each row.
template <typename Value>
Array column(const std::vector<SeriesLogRow> &p_rows, Value p_value) {
	Array values;
	values.resize(static_cast<int64_t>(p_rows.size()));
	for (size_t i = 0; i < p_rows.size(); i++) {
		values[static_cast<int64_t>(i)] = Variant(p_value(p_rows[i]));
	}
	return values;
}

} // namespace

// A field of the rows, or of their sides, as the column under the field's name.
#define TF_ROW_COLUMN(m_field) log[TF_KEY(#m_field)] = column(rows, [](const SeriesLogRow &p_row) { return p_row.m_field; })
#define TF_SIDE_COLUMN(m_field) log[TF_KEY(#m_field)] = column(rows, [](const SeriesLogRow &p_row) { return p_row.sides.m_field; })

Dictionary SeriesLog::columns() const {
	Dictionary log;
	TF_ROW_COLUMN(tournament_id);
	TF_ROW_COLUMN(stage_index);
	TF_ROW_COLUMN(stage_type);
	TF_ROW_COLUMN(match_id);
	TF_ROW_COLUMN(date);
	TF_ROW_COLUMN(is_bo5);
	TF_ROW_COLUMN(team_a_id);
	TF_ROW_COLUMN(team_b_id);
	TF_ROW_COLUMN(seed_a);
	TF_ROW_COLUMN(seed_b);
	TF_ROW_COLUMN(score_a);
	TF_ROW_COLUMN(score_b);
	TF_SIDE_COLUMN(vrs_before_a);
	TF_SIDE_COLUMN(vrs_before_b);
	TF_SIDE_COLUMN(vrs_after_a);
	TF_SIDE_COLUMN(vrs_after_b);
	TF_SIDE_COLUMN(stamina_before_a);
	TF_SIDE_COLUMN(stamina_before_b);
	TF_SIDE_COLUMN(stamina_after_a);
	TF_SIDE_COLUMN(stamina_after_b);
	TF_ROW_COLUMN(heat);
	return log;
}

#undef TF_ROW_COLUMN
#undef TF_SIDE_COLUMN

} // namespace teamforge
