#pragma once

namespace teamforge {

// True when a headless editor (an import, a build server's first run) found the library while scanning the
// project, as it does when the project was never opened. Loaded like that, the library registers nothing:
// such an editor often quits within its first frames, and the engine then builds help for the extension's
// classes in a call that runs after the editor has freed its help, and crashes
// (godotengine/godot#111048). The editor lists the extension all the same, so every later start loads it
// in full. Asked at the SCENE initialisation level.
bool is_found_by_headless_editor_scan();

} // namespace teamforge
