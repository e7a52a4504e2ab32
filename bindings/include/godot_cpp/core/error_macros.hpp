// Guards for conditions that mean a bug in the calling code: they report through the engine's error
// output (print_error, print_error_with_message, print_warning) and return safely instead of crashing.
// A message may be a C string or a String, as in godot-cpp.
#pragma once

#include <godot_cpp/godot.hpp>
#include <godot_cpp/variant/string.hpp>

namespace godot::internal {
void report_error(const char *p_function, const char *p_file, int p_line, const char *p_error, bool p_warning = false);
void report_error(const char *p_function, const char *p_file, int p_line, const String &p_error, bool p_warning = false);
void report_error(const char *p_function, const char *p_file, int p_line, const char *p_error, const char *p_message);
void report_error(const char *p_function, const char *p_file, int p_line, const char *p_error, const String &p_message);
} // namespace godot::internal

#define GODOT_REPORT(m_error) ::godot::internal::report_error(__FUNCTION__, __FILE__, __LINE__, m_error)
#define GODOT_REPORT_MSG(m_error, m_msg) ::godot::internal::report_error(__FUNCTION__, __FILE__, __LINE__, m_error, m_msg)

#define ERR_FAIL_COND(m_cond)                               \
	if (m_cond) {                                           \
		GODOT_REPORT("Condition \"" #m_cond "\" is true."); \
		return;                                             \
	} else                                                  \
		((void)0)

#define ERR_FAIL_COND_MSG(m_cond, m_msg)                               \
	if (m_cond) {                                                      \
		GODOT_REPORT_MSG("Condition \"" #m_cond "\" is true.", m_msg); \
		return;                                                        \
	} else                                                             \
		((void)0)

#define ERR_FAIL_COND_V(m_cond, m_retval)                                         \
	if (m_cond) {                                                                 \
		GODOT_REPORT("Condition \"" #m_cond "\" is true. Returning: " #m_retval); \
		return m_retval;                                                          \
	} else                                                                        \
		((void)0)

#define ERR_FAIL_COND_V_MSG(m_cond, m_retval, m_msg)                                         \
	if (m_cond) {                                                                            \
		GODOT_REPORT_MSG("Condition \"" #m_cond "\" is true. Returning: " #m_retval, m_msg); \
		return m_retval;                                                                     \
	} else                                                                                   \
		((void)0)

#define ERR_FAIL_NULL(m_param)                               \
	if ((m_param) == nullptr) {                              \
		GODOT_REPORT("Parameter \"" #m_param "\" is null."); \
		return;                                              \
	} else                                                   \
		((void)0)

#define ERR_FAIL_NULL_MSG(m_param, m_msg)                               \
	if ((m_param) == nullptr) {                                         \
		GODOT_REPORT_MSG("Parameter \"" #m_param "\" is null.", m_msg); \
		return;                                                         \
	} else                                                              \
		((void)0)

#define ERR_FAIL_NULL_V(m_param, m_retval)                   \
	if ((m_param) == nullptr) {                              \
		GODOT_REPORT("Parameter \"" #m_param "\" is null."); \
		return m_retval;                                     \
	} else                                                   \
		((void)0)

#define ERR_FAIL_NULL_V_MSG(m_param, m_retval, m_msg)                   \
	if ((m_param) == nullptr) {                                         \
		GODOT_REPORT_MSG("Parameter \"" #m_param "\" is null.", m_msg); \
		return m_retval;                                                \
	} else                                                              \
		((void)0)

#define ERR_FAIL_INDEX_V(m_index, m_size, m_retval)                         \
	if ((m_index) < 0 || (m_index) >= (m_size)) {                           \
		GODOT_REPORT("Index " #m_index " is out of bounds (" #m_size ")."); \
		return m_retval;                                                    \
	} else                                                                  \
		((void)0)

// Reports and goes on.
#define ERR_PRINT(m_msg) GODOT_REPORT(m_msg)
#define WARN_PRINT(m_msg) ::godot::internal::report_error(__FUNCTION__, __FILE__, __LINE__, m_msg, true)
