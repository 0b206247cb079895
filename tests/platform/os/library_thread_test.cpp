#include "platform/os/library.h"
#include "platform/os/thread.h"

#include <gtest/gtest.h>

using namespace os;

namespace {

TEST(Library, EntryPointsAreFoundByNameAndAMissingOneIsNull) {
    const HMODULE component = LoadLibraryA(TEST_COMPONENT);
    ASSERT_NE(component, 0u);
    const FARPROC entry = GetProcAddress(component, "ReturnsAtOnce");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry(), 7);
    EXPECT_EQ(GetProcAddress(component, "DllRegisterServer"), nullptr);
    EXPECT_TRUE(FreeLibrary(component));
    EXPECT_FALSE(FreeLibrary(component));
    EXPECT_EQ(GetProcAddress(component, "ReturnsAtOnce"), nullptr);
}

TEST(Library, ThatIsMissingOrNotALibraryDoesNotLoad) {
    EXPECT_EQ(LoadLibraryA("/nonexistent/component.dll"), 0u);
    EXPECT_EQ(LoadLibraryA(QUELLMAR_TEST_SOURCE_DIR "/platform/os/CMakeLists.txt"), 0u);
    EXPECT_EQ(LoadLibraryA(""), 0u);
}

TEST(Thread, StartedAtAnEntryPointEndsWithItsResult) {
    const HMODULE component = LoadLibraryA(TEST_COMPONENT);
    const HANDLE thread = CreateThread(GetProcAddress(component, "ReturnsAtOnce"));
    ASSERT_NE(thread, 0u);
    EXPECT_EQ(WaitForSingleObject(thread, 20000), WAIT_OBJECT_0);
    uint32_t code = 0;
    ASSERT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 7u);
    EXPECT_TRUE(CloseHandle(thread));
    EXPECT_FALSE(CloseHandle(thread));
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_FAILED);
    FreeLibrary(component);
    EXPECT_EQ(CreateThread(nullptr), 0u);
}

// The waiter gives up; the library is freed while the thread still runs in it,
// which must not unload the thread's code.
TEST(Thread, ThatDoesNotEndIsGivenUpAfterTheTimeOutAndKeepsItsLibrary) {
    const HMODULE component = LoadLibraryA(TEST_COMPONENT);
    const FARPROC release = GetProcAddress(component, "Release");
    const HANDLE thread = CreateThread(GetProcAddress(component, "BlocksUntilReleased"));
    ASSERT_NE(thread, 0u);
    EXPECT_EQ(WaitForSingleObject(thread, 200), WAIT_TIMEOUT);
    uint32_t code = 0;
    ASSERT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_TRUE(FreeLibrary(component));

    release();  // still loaded: the thread holds it
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    ASSERT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 9u);
    CloseHandle(thread);
}

}  // namespace
