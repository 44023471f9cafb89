#include "platform/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/test_kill_harness.h"
#include "platform/test_temp_dir.h"

namespace corvan {
namespace {
namespace fs = std::filesystem;

size_t entriesIn(const fs::path& dir) {
    size_t n = 0;
    for (auto it = fs::directory_iterator(dir); it != fs::directory_iterator(); ++it) ++n;
    return n;
}

TEST(FileIo, AtomicWriteCreatesThenReplacesAndLeavesNoTemporaryFile) {
    testing::TempDir tmp;
    const fs::path file = tmp.path() / "iCor.cfg";
    ASSERT_TRUE(writeFileAtomic(file, "PATH=[old]"));
    EXPECT_EQ(readWholeFile(file), "PATH=[old]");
    ::chmod(file.c_str(), 0640);
    const std::string bytes("PATH=[\\STORAGE CARD]\r\n\0\xFF", 24);
    ASSERT_TRUE(writeFileAtomic(file, bytes));
    EXPECT_EQ(readWholeFile(file), bytes);
    EXPECT_EQ(entriesIn(tmp.path()), 1u);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(writeFileAtomic(file, ""));
    EXPECT_EQ(readWholeFile(file), "");
}

TEST(FileIo, AtomicWriteIntoAMissingFolderFailsCleanly) {
    testing::TempDir tmp;
    EXPECT_FALSE(writeFileAtomic(tmp.path() / "missing" / "x.cfg", "data"));
    EXPECT_EQ(entriesIn(tmp.path()), 0u);
}

TEST(FileIo, AtomicWriteOverAFolderFailsAndRemovesItsTemporaryFile) {
    testing::TempDir tmp;
    fs::create_directories(tmp.path() / "taken" / "inner");
    EXPECT_FALSE(writeFileAtomic(tmp.path() / "taken", "data"));
    EXPECT_EQ(entriesIn(tmp.path()), 1u);
    EXPECT_TRUE(fs::is_directory(tmp.path() / "taken" / "inner"));
}

TEST(FileIo, ReadingAMissingFileOrAFolderGivesNothing) {
    testing::TempDir tmp;
    EXPECT_FALSE(readWholeFile(tmp.path() / "absent.mnu").has_value());
    EXPECT_FALSE(readWholeFile(tmp.path()).has_value());
}

TEST(FileIo, ReadsLargeFilesWhole) {
    testing::TempDir tmp;
    std::string big(100000, 'A');
    big[54321] = '\0';
    ASSERT_TRUE(writeFileAtomic(tmp.path() / "big.bin", big));
    EXPECT_EQ(readWholeFile(tmp.path() / "big.bin"), big);
}

TEST(FileIo, AWriterKilledAtAnyPointLeavesTheOldFileOrTheNewOne) {
    testing::TempDir tmp;
    const fs::path file = tmp.path() / "iCor.cfg";
    // Two versions of different lengths, large enough that a kill lands inside a write.
    const std::string versions[2] = {std::string(300000, 'a'), std::string(200000, 'b')};
    int seen[2] = {0, 0};
    const auto figures = testing::killWriterRepeatedly(
        40, 7, 15000, [&](uint64_t round) { return writeFileAtomic(file, versions[round % 2]); },
        [&](int kill) {
            const std::string now = readWholeFile(file).value_or("<none>");
            const bool whole = now == versions[0] || now == versions[1];
            ASSERT_TRUE(whole) << "kill " << kill << ": " << now.size() << " bytes";
            ++seen[now == versions[1]];
        });
    EXPECT_FALSE(figures.failed);
    EXPECT_EQ(figures.kills, 40);
    EXPECT_GT(seen[0] + seen[1], 0);
    // The temporaries the kills left go with the next call.
    removeLeftTemporaries(file);
    EXPECT_EQ(entriesIn(tmp.path()), 1u);
}

}  // namespace
}  // namespace corvan
