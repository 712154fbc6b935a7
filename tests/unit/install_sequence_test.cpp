#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "byte_buffer.h"
#include "error.h"
#include "install_sequence.h"
#include "messages.h"
#include "trailer.h"

namespace scrinst {
namespace {

using Log = std::vector<std::string>;

// Progress and platform write into one log, so a test sees how the bar's
// moves interleave with the effects.
class RecordingProgress final : public ProgressIndicator {
public:
    explicit RecordingProgress(Log& log) : log_(log) {}
    void SetMax(int maximum) override
    {
        max = maximum;
        log_.push_back("progress max " + std::to_string(maximum));
    }
    void SetPosition(int position) override
    {
        this->position = position;
        log_.push_back("progress " + std::to_string(position));
    }

    int max = 0;
    int position = 0;

private:
    Log& log_;
};

class RecordingPlatform final : public InstallPlatform {
public:
    explicit RecordingPlatform(Log& log) : log_(log) {}

    std::optional<std::string> WindowsDirectory() override
    {
        log_.push_back("windows directory");
        return windowsDirectory;
    }
    void WriteFileReplacing(const std::string& path, std::span<const std::uint8_t> bytes) override
    {
        log_.push_back("write " + path + " (" + std::to_string(bytes.size()) + " bytes)");
        if (writeFailure) {
            throw Error(*writeFailure);
        }
        files[path].assign(bytes.begin(), bytes.end());
    }
    bool SetScreenSaverValue(const std::string& path) override
    {
        log_.push_back("set SCRNSAVE.EXE " + path);
        if (registryWorks) {
            screenSaverValue = path;
        }
        return registryWorks;
    }
    void BroadcastDesktopChange() override { log_.push_back("broadcast desktop change"); }
    void StartCommand(const std::string& commandLine, int showState) override
    {
        log_.push_back("start " + commandLine + " show " + std::to_string(showState));
    }

    std::optional<std::string> windowsDirectory = std::string("C:\\WINDOWS");
    std::optional<std::string> writeFailure;
    bool registryWorks = true;

    std::map<std::string, std::vector<std::uint8_t>> files;
    std::optional<std::string> screenSaverValue;

private:
    Log& log_;
};

TPackageTrailer TrailerNamed(const std::string& name)
{
    TPackageTrailer trailer;
    SetSaverName(trailer, name);
    return trailer;
}

ByteBuffer BufferOf(std::vector<std::uint8_t> bytes)
{
    return ByteBuffer(std::move(bytes));
}

// The message of the error the call raises, or a marker when none is raised.
template <typename Call>
std::string ErrorFrom(Call&& call)
{
    try {
        call();
    } catch (const Error& error) {
        return error.message();
    }
    return "(no error)";
}

const std::string kCommandEntry = "start rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,1 show 9";

class InstallScreenSaverTest : public ::testing::Test {
protected:
    void Install(const ByteBuffer& saver, const TPackageTrailer& trailer, bool intact = true)
    {
        InstallScreenSaver(saver, trailer, intact, progress, platform);
    }
    std::string InstallError(const ByteBuffer& saver, const TPackageTrailer& trailer, bool intact = true)
    {
        return ErrorFrom([&] { Install(saver, trailer, intact); });
    }

    Log log;
    RecordingProgress progress{log};
    RecordingPlatform platform{log};
    const std::vector<std::uint8_t> saverBytes{'M', 'Z', 0x00, 0xFF, 0x90};
};

TEST_F(InstallScreenSaverTest, RunsEveryStepInOrderAndWritesTheWholeSaver)
{
    ByteBuffer saver = BufferOf(saverBytes);
    saver.setPosition(3);  // a position left by loading must not shorten the file

    Install(saver, TrailerNamed("Starfield"));

    const Log expected = {
        "progress max 3",
        "progress 1",
        "windows directory",
        "progress 2",
        "write C:\\WINDOWS\\Starfield.scr (5 bytes)",
        "progress 3",
        "set SCRNSAVE.EXE C:\\WINDOWS\\Starfield.scr",
        "broadcast desktop change",
        kCommandEntry,
    };
    EXPECT_EQ(log, expected);
    EXPECT_EQ(platform.files["C:\\WINDOWS\\Starfield.scr"], saverBytes);
    EXPECT_EQ(platform.screenSaverValue, "C:\\WINDOWS\\Starfield.scr");
    EXPECT_EQ(progress.max, 3);
    EXPECT_EQ(progress.position, 3);
}

TEST_F(InstallScreenSaverTest, FormsThePathByteForByte)
{
    struct Case {
        const char* label;
        std::string windowsDirectory;
        std::string name;
        std::string path;
    };
    const Case cases[] = {
        {"ordinary folder", "C:\\WINDOWS", "Starfield", "C:\\WINDOWS\\Starfield.scr"},
        {"drive root keeps both separators", "C:\\", "Starfield", "C:\\\\Starfield.scr"},
        {"empty name", "C:\\WINDOWS", "", "C:\\WINDOWS\\.scr"},
        {"blanks and high bytes as stored", "D:\\Win Dir", "Caf\xE9 Saver 2", "D:\\Win Dir\\Caf\xE9 Saver 2.scr"},
        {"name that already ends in .scr", "C:\\WINDOWS", "Old.scr", "C:\\WINDOWS\\Old.scr.scr"},
        {"longest name", "C:\\WINDOWS", std::string(kMaxSaverNameLength, 'n'),
         "C:\\WINDOWS\\" + std::string(kMaxSaverNameLength, 'n') + ".scr"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Log caseLog;
        RecordingProgress caseProgress(caseLog);
        RecordingPlatform casePlatform(caseLog);
        casePlatform.windowsDirectory = c.windowsDirectory;

        InstallScreenSaver(BufferOf(saverBytes), TrailerNamed(c.name), true, caseProgress, casePlatform);

        ASSERT_EQ(casePlatform.files.size(), 1u);
        EXPECT_EQ(casePlatform.files.begin()->first, c.path);
        EXPECT_EQ(casePlatform.screenSaverValue, c.path);
    }
}

TEST_F(InstallScreenSaverTest, EmptySaverGivesAnEmptyFile)
{
    Install(ByteBuffer(), TrailerNamed("Empty"));

    ASSERT_EQ(platform.files.count("C:\\WINDOWS\\Empty.scr"), 1u);
    EXPECT_TRUE(platform.files["C:\\WINDOWS\\Empty.scr"].empty());
    EXPECT_EQ(log.back(), kCommandEntry);
}

// Each failure stops the sequence where it happens, passes its message out
// unchanged and leaves the bar at the step it reached.
TEST_F(InstallScreenSaverTest, StopsAtEachFailureWithItsMessage)
{
    struct Case {
        const char* label;
        void (*arrange)(RecordingPlatform&);
        std::string message;
        int position;
        Log log;
    };
    const std::string cannotCreate = messages::CannotCreateFile("C:\\WINDOWS\\Starfield.scr", "Access is denied");
    const Log throughWrite = {"progress max 3", "progress 1", "windows directory", "progress 2",
                              "write C:\\WINDOWS\\Starfield.scr (5 bytes)"};
    const Case cases[] = {
        {"no Windows directory", [](RecordingPlatform& p) { p.windowsDirectory.reset(); },
         std::string(messages::kNoWindowsDirectory), 1, {"progress max 3", "progress 1", "windows directory"}},
        {"file cannot be created",
         [](RecordingPlatform& p) {
             p.writeFailure = messages::CannotCreateFile("C:\\WINDOWS\\Starfield.scr", "Access is denied");
         },
         cannotCreate, 2, throughWrite},
        {"file cannot be written in full",
         [](RecordingPlatform& p) { p.writeFailure = std::string(messages::kStreamWriteError); },
         "Stream write error", 2, throughWrite},
        {"registry value cannot be set", [](RecordingPlatform& p) { p.registryWorks = false; },
         "Failed to set data for 'SCRNSAVE.EXE'", 3,
         {"progress max 3", "progress 1", "windows directory", "progress 2",
          "write C:\\WINDOWS\\Starfield.scr (5 bytes)", "progress 3", "set SCRNSAVE.EXE C:\\WINDOWS\\Starfield.scr"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Log caseLog;
        RecordingProgress caseProgress(caseLog);
        RecordingPlatform casePlatform(caseLog);
        c.arrange(casePlatform);

        const std::string message = ErrorFrom([&] {
            InstallScreenSaver(BufferOf(saverBytes), TrailerNamed("Starfield"), true, caseProgress, casePlatform);
        });

        EXPECT_EQ(message, c.message);
        EXPECT_EQ(caseProgress.position, c.position);
        EXPECT_EQ(caseLog, c.log);
        EXPECT_FALSE(casePlatform.screenSaverValue.has_value());
    }
}

// The written file stays when only the registry failed; pressing Install again
// goes through every step from the start and overwrites it.
TEST_F(InstallScreenSaverTest, RepeatAfterFailureRepeatsEveryStep)
{
    platform.registryWorks = false;
    EXPECT_EQ(InstallError(BufferOf(saverBytes), TrailerNamed("Starfield")), "Failed to set data for 'SCRNSAVE.EXE'");
    EXPECT_EQ(platform.files.count("C:\\WINDOWS\\Starfield.scr"), 1u);

    log.clear();
    platform.registryWorks = true;
    const std::vector<std::uint8_t> secondBytes{'M', 'Z', 0x01};
    Install(BufferOf(secondBytes), TrailerNamed("Starfield"));

    const Log expected = {
        "progress max 3",
        "progress 1",
        "windows directory",
        "progress 2",
        "write C:\\WINDOWS\\Starfield.scr (3 bytes)",
        "progress 3",
        "set SCRNSAVE.EXE C:\\WINDOWS\\Starfield.scr",
        "broadcast desktop change",
        kCommandEntry,
    };
    EXPECT_EQ(log, expected);
    EXPECT_EQ(platform.files["C:\\WINDOWS\\Starfield.scr"], secondBytes);
    EXPECT_EQ(platform.screenSaverValue, "C:\\WINDOWS\\Starfield.scr");
}

TEST_F(InstallScreenSaverTest, RepeatAfterWriteFailureWritesAgain)
{
    platform.writeFailure = std::string(messages::kStreamWriteError);
    EXPECT_EQ(InstallError(BufferOf(saverBytes), TrailerNamed("Starfield")), "Stream write error");
    EXPECT_TRUE(platform.files.empty());

    log.clear();
    platform.writeFailure.reset();
    Install(BufferOf(saverBytes), TrailerNamed("Starfield"));

    EXPECT_EQ(log.front(), "progress max 3");
    EXPECT_EQ(log.back(), kCommandEntry);
    EXPECT_EQ(platform.files["C:\\WINDOWS\\Starfield.scr"], saverBytes);
}

// Refusals happen before anything moves: no progress, no platform call.
TEST_F(InstallScreenSaverTest, RefusesADamagedPackage)
{
    EXPECT_EQ(InstallError(BufferOf(saverBytes), TrailerNamed("Starfield"), false),
              "This package is damaged; nothing was installed");
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(progress.max, 0);
}

TEST_F(InstallScreenSaverTest, DamageIsReportedBeforeABadName)
{
    EXPECT_EQ(InstallError(BufferOf(saverBytes), TrailerNamed("..\\evil"), false),
              std::string(messages::kPackageDamaged));
    EXPECT_TRUE(log.empty());
}

TEST_F(InstallScreenSaverTest, RefusesNamesThatAreNotPlainFileNames)
{
    const std::string names[] = {"..\\evil", "a/b", "x:y", "CON", "con.txt", "NUL ", "COM1", "LPT9.scr", "tab\t",
                                 std::string("a\0b", 3)};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        log.clear();
        EXPECT_EQ(InstallError(BufferOf(saverBytes), TrailerNamed(name)), messages::InvalidScreenSaverName(name));
        EXPECT_TRUE(log.empty());
    }
    EXPECT_EQ(messages::InvalidScreenSaverName("..\\evil"), "Invalid screen saver name \"..\\evil\"");
    EXPECT_TRUE(platform.files.empty());
}

TEST(ActivateScreenSaver, RecordsBroadcastsThenStartsDisplaySettings)
{
    Log log;
    RecordingPlatform platform(log);

    ActivateScreenSaver("C:\\\\x.scr", platform);

    const Log expected = {"set SCRNSAVE.EXE C:\\\\x.scr", "broadcast desktop change", kCommandEntry};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(platform.screenSaverValue, "C:\\\\x.scr");
}

TEST(ActivateScreenSaver, RegistryFailureStopsBeforeTheBroadcastAndTheCommand)
{
    Log log;
    RecordingPlatform platform(log);
    platform.registryWorks = false;

    EXPECT_EQ(ErrorFrom([&] { ActivateScreenSaver("C:\\WINDOWS\\x.scr", platform); }),
              "Failed to set data for 'SCRNSAVE.EXE'");
    EXPECT_EQ(log, Log{"set SCRNSAVE.EXE C:\\WINDOWS\\x.scr"});
}

}  // namespace
}  // namespace scrinst
