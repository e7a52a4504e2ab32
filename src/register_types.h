#pragma once

#include <godot_cpp/godot.hpp>

void initialize_module(godot::ModuleInitializationLevel p_level);
void uninitialize_module(godot::ModuleInitializationLevel p_level);
