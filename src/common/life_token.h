#pragma once

// Tells a call in progress whether the object it runs on still exists. A signal handler may free the
// emitting object (or its owner) in the middle of a call; the call takes a watch before it emits and
// returns at once, without touching the object, when the watch reads dead afterwards.

#include <memory>

namespace teamforge {

class LifeToken {
public:
	using Watch = std::shared_ptr<const bool>;

	LifeToken() :
			alive(std::make_shared<bool>(true)) {}
	~LifeToken() { *alive = false; }
	LifeToken(const LifeToken &) = delete;
	LifeToken &operator=(const LifeToken &) = delete;

	Watch watch() const { return alive; }

private:
	std::shared_ptr<bool> alive;
};

inline bool still_alive(const LifeToken::Watch &p_watch) {
	return p_watch != nullptr && *p_watch;
}

} // namespace teamforge
