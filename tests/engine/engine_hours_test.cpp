// The engine-hours store on real files, each test in a fresh temporary working directory.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "engine.h"
#include "fake_host.h"

using namespace engine;
namespace fs = std::filesystem;

namespace {

class EngineHoursTest : public ::testing::Test {
protected:
    void SetUp() override { InstallEngineFakeHost(); }

    static void WriteFile(const std::string& path, const std::string& content) {
        std::ofstream(path, std::ios::binary) << content;
    }
    static std::optional<std::string> ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        if (!in) return std::nullopt;
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // A load that starts from the last good digits of an earlier read.
    static void LoadAfterGoodRead(const std::string& content, int32_t earlier) {
        std::strcpy(HoursDigits, "0000 ");
        HoursValue = earlier;
        SaveEngineHours();  // leaves the digits of `earlier`
        WriteFile(kHoursFile, content);
        LoadEngineHours();
    }

    ScratchDirectory scratch;
};

TEST_F(EngineHoursTest, LoadReadsTheFirstFourCharacters) {
    fs::create_directory(kHoursFolder);
    struct Case {
        std::string content;
        int32_t base;
    };
    const Case cases[] = {
        {"0123 ", 123},
        {"0123", 123},
        {"0123\n", 123},
        {"01234", 123},
        {"9999 ", 9999},
        {":000 ", 10000},
        {"<345 ", 12345},
        {"\x7f" "999 ", 79999},
        // Not a whole record: the last good digits (456) stay.
        {"", 456},
        {"012", 456},
        {"01\n3 ", 456},
        {"\n0123", 456},
        {"0a23 ", 456},
        {"012 ", 456},
        {"/123 ", 456},         // code 47, below '0'
        {"\x80" "123 ", 456},   // above 127
        {"\xff" "123 ", 456},
        {"-123 ", 456},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "file '" << c.content << "'");
        LoadAfterGoodRead(c.content, 456);
        EXPECT_EQ(HoursBase, c.base);
    }
}

TEST_F(EngineHoursTest, FirstInstallWithoutFileGivesZero) {
    LoadEngineHours();
    EXPECT_EQ(HoursBase, 0);
    fs::create_directory(kHoursFolder);
    WriteFile(kHoursFile, "");
    LoadEngineHours();
    EXPECT_EQ(HoursBase, 0);
    WriteFile(kHoursFile, "12");  // too short for a record
    LoadEngineHours();
    EXPECT_EQ(HoursBase, 0);
}

TEST_F(EngineHoursTest, SaveWritesTheFiveCharacterRecord) {
    fs::create_directory(kHoursFolder);
    struct Case {
        int32_t value;
        std::string content;
    };
    const Case cases[] = {
        {7, "0007 "},       {123, "0123 "},   {9999, "9999 "},
        {10000, ":000 "},   {12345, "<345 "}, {79999, "\x7f" "999 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        HoursValue = c.value;
        SaveEngineHours();
        EXPECT_EQ(ReadFile(kHoursFile), c.content);
        HoursBase = 0;
        LoadEngineHours();
        EXPECT_EQ(HoursBase, c.value) << "reads back as itself";
    }
    EXPECT_FALSE(fs::exists(kHoursTemporaryFile));
}

TEST_F(EngineHoursTest, ZeroHoursLeaveTheFileAlone) {
    HoursValue = 0;
    SaveEngineHours();
    EXPECT_FALSE(fs::exists(kHoursFolder)) << "nothing is created, not even the folder";
    fs::create_directory(kHoursFolder);
    SaveEngineHours();
    EXPECT_FALSE(fs::exists(kHoursFile));
    WriteFile(kHoursFile, "0042 ");
    SaveEngineHours();
    EXPECT_EQ(ReadFile(kHoursFile), "0042 ");
}

// Past 79999 the first character would need a code above 127; the file and the digits keep the
// last good record, so nothing reads back as another value.
TEST_F(EngineHoursTest, UnstorableHoursKeepTheLastGoodRecord) {
    fs::create_directory(kHoursFolder);
    HoursValue = 250;
    SaveEngineHours();
    for (int32_t value : {80000, 100000, INT32_MAX, -1, INT32_MIN}) {
        SCOPED_TRACE(value);
        HoursValue = value;
        SaveEngineHours();
        EXPECT_EQ(ReadFile(kHoursFile), "0250 ");
        EXPECT_STREQ(HoursDigits, "0250 ");
    }
    fs::remove(kHoursFile);
    HoursValue = 90000;
    SaveEngineHours();
    EXPECT_FALSE(fs::exists(kHoursFile));
}

// The digits outlive a deleted file within one module lifetime.
TEST_F(EngineHoursTest, DeletedFileGivesTheLastSavedHours) {
    fs::create_directory(kHoursFolder);
    HoursValue = 250;
    SaveEngineHours();
    fs::remove(kHoursFile);
    LoadEngineHours();
    EXPECT_EQ(HoursBase, 250);
}

// Without a folder to write in, a save stores nothing on disk, but the digits still serve the
// next install of the same module lifetime.
TEST_F(EngineHoursTest, SaveWithoutAWritableFolderIsSkipped) {
    struct Setup {
        const char* what;
        void (*make)();
    };
    const Setup setups[] = {
        {"no folder", [] {}},
        {"folder is a file", [] { WriteFile(kHoursFolder, "not a folder"); }},
    };
    for (const Setup& s : setups) {
        SCOPED_TRACE(s.what);
        fs::remove_all(kHoursFolder);
        std::strcpy(HoursDigits, "0000 ");
        s.make();
        HoursValue = 321;
        SaveEngineHours();
        EXPECT_FALSE(fs::is_regular_file(kHoursFile));
        EXPECT_STREQ(HoursDigits, "0321 ");
        LoadEngineHours();
        EXPECT_EQ(HoursBase, 321);
    }
}

// The temporary file cannot be made: the old file stays whole.
TEST_F(EngineHoursTest, SaveThatCannotStartLeavesTheOldFile) {
    fs::create_directory(kHoursFolder);
    WriteFile(kHoursFile, "0100 ");
    fs::create_directory(kHoursTemporaryFile);
    HoursValue = 200;
    SaveEngineHours();
    EXPECT_EQ(ReadFile(kHoursFile), "0100 ");
}

// A disk that fills up in the middle of the record: the write fails after two characters. The old
// file stays whole and no half-written file is left behind.
TEST_F(EngineHoursTest, InterruptedSaveLeavesTheOldFileWhole) {
    fs::create_directory(kHoursFolder);
    WriteFile(kHoursFile, "0100 ");
    HoursValue = 234;

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit tiny = saved;
    tiny.rlim_cur = 2;
    auto* previous_handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    SaveEngineHours();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous_handler);

    EXPECT_EQ(ReadFile(kHoursFile), "0100 ");
    EXPECT_FALSE(fs::exists(kHoursTemporaryFile));

    SaveEngineHours();  // with room again, the same save goes through
    EXPECT_EQ(ReadFile(kHoursFile), "0234 ");
}

// A stale temporary file from an earlier crash is simply replaced.
TEST_F(EngineHoursTest, StaleTemporaryFileIsReplaced) {
    fs::create_directory(kHoursFolder);
    WriteFile(kHoursTemporaryFile, "garbage and more");
    HoursValue = 55;
    SaveEngineHours();
    EXPECT_EQ(ReadFile(kHoursFile), "0055 ");
    EXPECT_FALSE(fs::exists(kHoursTemporaryFile));
}

}  // namespace
