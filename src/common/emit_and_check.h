#pragma once

// A signal handler runs inside emit_signal and may free the object that emits, or the node that owns
// it. Work left after an emit holds the object's instance id across it and, when the id no longer finds
// the object, returns at once without touching it:
//     if (!teamforge::emit_and_check(*this, TF_NAME("teams_rebuilt"))) {
//         return;
//     }
// A call that makes another object emit (a child node, the simulator) holds its own id the same way:
//     const godot::ObjectID self(get_instance_id());
//     child->set_current_date(date);
//     if (!teamforge::still_exists(self)) {
//         return;
//     }
// An emit that is the last thing its call does, touching nothing after it, needs neither.

#include <godot_cpp/classes/object.hpp>
#include <godot_cpp/core/object.hpp>
#include <godot_cpp/core/object_id.hpp>
#include <godot_cpp/variant/string_name.hpp>

namespace teamforge {

// Ids are never reused, so a freed object never reads as alive again.
inline bool still_exists(godot::ObjectID p_id) {
	return godot::ObjectDB::get_instance(p_id) != nullptr;
}

// Emits p_signal from p_emitter; false when a handler freed p_emitter.
template <class... Args>
[[nodiscard]] bool emit_and_check(godot::Object &p_emitter, const godot::StringName &p_signal, const Args &...p_args) {
	const godot::ObjectID emitter(p_emitter.get_instance_id());
	p_emitter.emit_signal(p_signal, p_args...);
	return still_exists(emitter);
}

} // namespace teamforge
