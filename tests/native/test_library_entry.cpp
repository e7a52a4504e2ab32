// The entry point against hosts that cannot run the library: it must refuse (return false) and leave the
// initialisation record untouched, so the engine never calls back into it. A complete host is covered by
// every engine suite.
#include <dlfcn.h>
#include <gdextension_interface.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using EntryFunction = GDExtensionBool (*)(GDExtensionInterfaceGetProcAddress, GDExtensionClassLibraryPtr,
		GDExtensionInitialization *);

std::string missing_function;

void dummy_function() {}

// Offers every function except the one named in missing_function.
GDExtensionInterfaceFunctionPtr lookup(const char *p_name) {
	if (missing_function == p_name) {
		return nullptr;
	}
	return dummy_function;
}

EntryFunction load_entry() {
	void *handle = dlopen(TEAMFORGE_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
	if (handle == nullptr) {
		ADD_FAILURE() << dlerror();
		return nullptr;
	}
	return reinterpret_cast<EntryFunction>(dlsym(handle, "teamforge_library_init"));
}

GDExtensionInitialization untouched_record() {
	GDExtensionInitialization record;
	std::memset(&record, 0xAB, sizeof(record));
	return record;
}

} // namespace

TEST(LibraryEntry, RefusesAHostWithoutARequiredFunction) {
	EntryFunction entry = load_entry();
	ASSERT_NE(entry, nullptr);
	for (const char *name : { "classdb_register_extension_class5", "register_main_loop_callbacks", "mem_alloc2" }) {
		missing_function = name;
		GDExtensionInitialization record = untouched_record();
		const GDExtensionInitialization expected = untouched_record();
		EXPECT_FALSE(entry(lookup, nullptr, &record)) << "accepted a host without " << name;
		EXPECT_EQ(std::memcmp(&record, &expected, sizeof(record)), 0) << "filled the record without " << name;
	}
}

TEST(LibraryEntry, FillsTheRecordForACompleteHostAtSceneLevel) {
	EntryFunction entry = load_entry();
	ASSERT_NE(entry, nullptr);
	missing_function.clear();
	GDExtensionInitialization record = untouched_record();
	ASSERT_TRUE(entry(lookup, nullptr, &record));
	EXPECT_EQ(record.minimum_initialization_level, GDEXTENSION_INITIALIZATION_SCENE);
	EXPECT_NE(record.initialize, nullptr);
	EXPECT_NE(record.deinitialize, nullptr);
}

// Export templates have no editor help; the library must still load there.
TEST(LibraryEntry, AcceptsAHostWithoutEditorHelp) {
	EntryFunction entry = load_entry();
	ASSERT_NE(entry, nullptr);
	missing_function = "editor_help_load_xml_from_utf8_chars_and_len";
	GDExtensionInitialization record = untouched_record();
	EXPECT_TRUE(entry(lookup, nullptr, &record));
	EXPECT_EQ(record.minimum_initialization_level, GDEXTENSION_INITIALIZATION_SCENE);
}
