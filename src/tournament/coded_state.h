#pragma once

// A state the records hold as an enum, turned into text only where a save, a view or a signal reads or
// writes it. A text that names no known state (a save from elsewhere, a value a script set) reads as
// OTHER and is kept as given, so it is written back unchanged.

#include "common/dictionary_keys.h"

#include <godot_cpp/variant/string.hpp>

#include <cstddef>

namespace teamforge {

// Specialised for each state: text(i) is the text of the i-th code, for every code before OTHER.
template <class Code>
struct CodeTexts;

template <class Code>
class CodedState {
public:
	CodedState() = default;
	CodedState(Code p_code) :
			code(p_code) {}

	static CodedState from_text(const godot::String &p_text) {
		for (size_t i = 0; i < static_cast<size_t>(Code::OTHER); i++) {
			if (p_text == fixed_text(CodeTexts<Code>::text(i))) {
				return CodedState(static_cast<Code>(i));
			}
		}
		CodedState other;
		other.other_text = p_text;
		return other;
	}

	Code get() const { return code; }
	godot::String text() const {
		return code == Code::OTHER ? other_text : fixed_text(CodeTexts<Code>::text(static_cast<size_t>(code)));
	}

	bool operator==(Code p_code) const { return code == p_code; }
	bool operator!=(Code p_code) const { return code != p_code; }

private:
	// A record made in code and never given a state reads as the empty text, as before it had one.
	Code code = Code::OTHER;
	godot::String other_text;
};

} // namespace teamforge
