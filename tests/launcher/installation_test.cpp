// Installing the system components on a game folder of the test's own, and
// reading the locale's decimal separator.

#include "launcher/installation.h"

#include "platform/os/executable.h"
#include "platform/os/library.h"
#include "platform/os/locale.h"
#include "platform/os/system_folder.h"
#include "platform/ui/mouse_pointer.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

enum class Kind { Missing, Logs, NoEntryPoint, Blocks, NotALibrary };

const char* BuiltComponent(Kind kind) {
    switch (kind) {
        case Kind::Logs:
            return LOGGING_COMPONENT;
        case Kind::NoEntryPoint:
            return PLAIN_COMPONENT;
        case Kind::Blocks:
            return BLOCKING_COMPONENT;
        default:
            return nullptr;
    }
}

// Sets an environment variable for the fixture's life.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() { old_.empty() ? unsetenv(name_) : setenv(name_, old_.c_str(), 1); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    std::string old_;
};

// A game folder and a user of the test's own, with components beside the
// executable that log their registration.
class Installation : public testing::Test {
protected:
    Installation() {
        fs::create_directory(Game());
        os::SetExecutableFolder(Game().string());
    }
    ~Installation() override {
        os::SetExecutableFolder({});
        ReleaseBlockedComponents();
    }

    fs::path Game() const { return fs::path(root_.path().toStdString()) / "game"; }
    fs::path UserSystemFolder() const {
        std::string buffer(200, '\0');
        buffer.resize(os::GetSystemDirectoryA(buffer, 200));
        return buffer;
    }

    void Place(const char* name, Kind kind) {
        const fs::path target = Game() / name;
        if (kind == Kind::NotALibrary)
            std::ofstream(target) << "not a library\n";
        else if (kind != Kind::Missing)
            fs::copy_file(BuiltComponent(kind), target, fs::copy_options::overwrite_existing);
    }

    // The log's lines, each "<entry point> <path of the library>".
    std::vector<std::string> Log() const {
        std::vector<std::string> lines;
        std::ifstream log(root_.filePath("log").toStdString());
        for (std::string line; std::getline(log, line);) lines.push_back(line);
        return lines;
    }
    // The same with the libraries' file names only.
    std::vector<std::string> Registered() const {
        std::vector<std::string> lines = Log();
        for (std::string& line : lines) {
            const size_t blank = line.find(' ');
            line = line.substr(0, blank) + " " + fs::path(line.substr(blank + 1)).filename().string();
        }
        return lines;
    }

    static std::vector<std::string> Files(const fs::path& folder) {
        std::vector<std::string> names;
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(folder, ignored)) names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    // A blocked registration's thread holds its library: loading the same
    // file again reaches it.
    void ReleaseBlockedComponents() {
        for (const fs::path& path : blocked_) {
            const os::HMODULE library = os::LoadLibraryA(path.string());
            if (!library) continue;
            if (const os::FARPROC release = os::GetProcAddress(library, "Release")) release();
            os::FreeLibrary(library);
        }
        blocked_.clear();
    }

    QTemporaryDir root_;
    ScopedEnvironment data_{"XDG_DATA_HOME", root_.filePath("data").toStdString()};
    ScopedEnvironment log_{"QUELLMAR_TEST_COMPONENT_LOG", root_.filePath("log").toStdString()};
    std::vector<fs::path> blocked_;
};

TEST_F(Installation, CopiesWhatIsMissingAndRegistersTheSystemFoldersCopyInOrder) {
    struct Case {
        const char* what;
        Kind msxml, msinet;
        std::vector<std::string> copied;
        std::vector<std::string> registered;
    };
    const std::vector<std::string> both = {"msinet.ocx", "msxml.dll"};
    const std::vector<Case> cases = {
        {"both present", Kind::Logs, Kind::Logs, both, {"DllRegisterServer msxml.dll", "DllRegisterServer msinet.ocx"}},
        {"msxml.dll missing", Kind::Missing, Kind::Logs, {}, {}},
        {"msinet.ocx missing", Kind::Logs, Kind::Missing, {"msxml.dll"}, {"DllRegisterServer msxml.dll"}},
        {"not a library", Kind::NotALibrary, Kind::Logs, both, {"DllRegisterServer msinet.ocx"}},
        {"no entry point", Kind::NoEntryPoint, Kind::Logs, both, {"DllRegisterServer msinet.ocx"}},
        {"never returns", Kind::Blocks, Kind::Logs, both, {"DllRegisterServer msinet.ocx"}},
    };
    for (const Case& c : cases) {
        fs::remove_all(Game());
        fs::remove_all(UserSystemFolder());
        fs::remove(root_.filePath("log").toStdString());
        fs::create_directory(Game());
        Place("msxml.dll", c.msxml);
        Place("msinet.ocx", c.msinet);
        if (c.msxml == Kind::Blocks) blocked_.push_back(UserSystemFolder() / "msxml.dll");
        RegistrationWaitMilliseconds = 300;

        InstalleComposants();
        EXPECT_EQ(Files(Game() / "system"), c.copied) << c.what;
        EXPECT_EQ(Files(UserSystemFolder()), c.copied) << c.what;
        EXPECT_EQ(Registered(), c.registered) << c.what;
        EXPECT_EQ(ui::MousePointer(), ui::vbDefault) << c.what;
    }
}

TEST_F(Installation, ALaterStartCopiesNothingAndRegistersAgain) {
    Place("msxml.dll", Kind::Logs);
    Place("msinet.ocx", Kind::Logs);
    InstalleComposants();
    // Were they copied again, these would replace the working copies.
    Place("msxml.dll", Kind::NotALibrary);
    Place("msinet.ocx", Kind::NotALibrary);
    InstalleComposants();
    const std::string system = UserSystemFolder().string();
    EXPECT_EQ(Log(), (std::vector<std::string>{
                         "DllRegisterServer " + system + "/msxml.dll",
                         "DllRegisterServer " + system + "/msinet.ocx",
                         "DllRegisterServer " + system + "/msxml.dll",
                         "DllRegisterServer " + system + "/msinet.ocx",
                     }));
}

// The game folder is shared, the system folder is each user's own.
TEST_F(Installation, AnotherUserOfAnInstalledGameFolderGetsCopiesOfHisOwn) {
    Place("msxml.dll", Kind::Logs);
    Place("msinet.ocx", Kind::Logs);
    InstalleComposants();
    const ScopedEnvironment otherUser("XDG_DATA_HOME", root_.filePath("other").toStdString());
    InstalleComposants();
    EXPECT_EQ(Files(UserSystemFolder()), (std::vector<std::string>{"msinet.ocx", "msxml.dll"}));
    EXPECT_EQ(Registered().size(), 4u);
}

TEST_F(Installation, ASystemPathThatIsAFileStopsTheInstallation) {
    Place("msxml.dll", Kind::Logs);
    Place("msinet.ocx", Kind::Logs);
    std::ofstream(Game() / "system") << "a file\n";
    InstalleComposants();
    EXPECT_TRUE(fs::is_regular_file(Game() / "system"));
    EXPECT_EQ(Files(UserSystemFolder()), std::vector<std::string>{});
    EXPECT_EQ(Registered(), std::vector<std::string>{});
    EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
}

TEST_F(Installation, RegistrationRunsTheEntryPointToItsEndOrReportsFalse) {
    struct Case {
        const char* what;
        Kind kind;
        bool registerIt;
        bool result;
    };
    const Case cases[] = {
        {"registers", Kind::Logs, true, true},
        {"unregisters", Kind::Logs, false, true},
        {"no entry point", Kind::NoEntryPoint, true, false},
        {"not a library", Kind::NotALibrary, true, false},
        {"never returns", Kind::Blocks, true, false},
        {"missing", Kind::Missing, true, false},
    };
    RegistrationWaitMilliseconds = 200;
    blocked_.push_back(Game() / "never returns.dll");
    for (const Case& c : cases) {
        const std::string name = std::string(c.what) + ".dll";
        Place(name.c_str(), c.kind);
        EXPECT_EQ(EnregistreComposant((Game() / name).string(), c.registerIt), c.result) << c.what;
    }
    EXPECT_FALSE(EnregistreComposant("", true));
    EXPECT_EQ(Registered(),
              (std::vector<std::string>{"DllRegisterServer registers.dll", "DllUnregisterServer unregisters.dll"}));
}

TEST(DecimalSeparator, IsTheLocalesWithoutItsNul) {
    for (const char* separator : {".", ","}) {
        os::SetLocaleDecimalSeparator(separator);
        SepDecimal.clear();
        LitSeparateurDecimal();
        EXPECT_EQ(SepDecimal, separator);
    }
    os::SetLocaleDecimalSeparator(".");
    EXPECT_EQ(CalculeLANGID(0, 1), 1024);
    EXPECT_EQ(CalculeLCID(1024, 0), 1024);
    EXPECT_EQ(EnleveDernierCar(""), "");
    EXPECT_EQ(EnleveDernierCar("a"), "");
    EXPECT_EQ(EnleveDernierCar(std::string(",\0", 2)), ",");
    EXPECT_EQ(EnleveDernierCar("été"), "ét");
}

}  // namespace
