#include "common/dictionary_keys.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <new>
#include <thread>
#include <unordered_map>

namespace teamforge {

namespace {

// Engine values keyed by the address of their literal, in a fixed open-addressed table that readers
// search without a lock: games played on separate threads never wait on one another here. A slot's
// literal is claimed once with a compare-and-swap and its value published once; nothing is removed
// before exit, so a reference stays valid for the library's lifetime. The table holds far more slots
// than the library has literals to name; should it ever fill, the rest go to a locked map.
template <class Value>
class InternTable {
public:
	InternTable() = default;
	InternTable(const InternTable &) = delete;
	InternTable &operator=(const InternTable &) = delete;
	~InternTable() {
		for (Slot &slot : slots) {
			if (slot.ready.load(std::memory_order_acquire)) {
				slot.value()->~Value();
			}
		}
	}

	const Value &get(const char *p_literal) {
		const size_t start = (reinterpret_cast<uintptr_t>(p_literal) * UINT64_C(0x9E3779B97F4A7C15)) >> (64 - SLOT_BITS);
		for (size_t probe = 0; probe < SLOT_COUNT; probe++) {
			Slot &slot = slots[(start + probe) & (SLOT_COUNT - 1)];
			const char *owner = slot.literal.load(std::memory_order_acquire);
			if (owner == nullptr) {
				if (slot.literal.compare_exchange_strong(owner, p_literal, std::memory_order_acq_rel)) {
					new (slot.storage) Value(godot::String(p_literal));
					slot.ready.store(true, std::memory_order_release);
					return *slot.value();
				}
				// Another thread claimed the slot first; owner now holds its literal.
			}
			if (owner == p_literal) {
				// Claimed but possibly not yet built by the thread that claimed it.
				while (!slot.ready.load(std::memory_order_acquire)) {
					std::this_thread::yield();
				}
				return *slot.value();
			}
		}
		std::lock_guard<std::mutex> lock(overflow_mutex);
		auto found = overflow.find(p_literal);
		if (found == overflow.end()) {
			found = overflow.emplace(p_literal, Value(godot::String(p_literal))).first;
		}
		return found->second;
	}

private:
	static constexpr size_t SLOT_BITS = 9;
	static constexpr size_t SLOT_COUNT = size_t(1) << SLOT_BITS;

	struct Slot {
		std::atomic<const char *> literal{ nullptr };
		std::atomic<bool> ready{ false };
		alignas(Value) unsigned char storage[sizeof(Value)];

		Value *value() { return std::launder(reinterpret_cast<Value *>(storage)); }
	};

	Slot slots[SLOT_COUNT];
	std::mutex overflow_mutex;
	// Entries are never removed, so references into the map stay valid.
	std::unordered_map<const char *, Value> overflow;
};

} // namespace

const godot::Variant &dictionary_key(const char *p_literal) {
	static InternTable<godot::Variant> keys;
	return keys.get(p_literal);
}

const godot::String &fixed_text(const char *p_literal) {
	static InternTable<godot::String> texts;
	return texts.get(p_literal);
}

} // namespace teamforge
