#pragma once

namespace teamforge {

// Hands the class reference compiled into the library (doc_classes/*.xml) to the editor's help. Called
// at the EDITOR initialisation level; does nothing in a host without editor help or in a build without
// the reference.
void load_editor_help();

} // namespace teamforge
