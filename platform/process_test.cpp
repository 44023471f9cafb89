#include "platform/process.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/test_temp_dir.h"

namespace corvan {
namespace {

using Words = std::vector<std::string>;

TEST(PosixProcessStarter, ReportsTheExitStatus) {
    PosixProcessStarter starter;
    std::string error;
    auto p = starter.start("/bin/sh", {"-c", "exit 3"}, &error);
    ASSERT_NE(p, nullptr) << error;
    EXPECT_GT(p->pid(), 0);
    EXPECT_EQ(p->waitFor(10000), 3);
    EXPECT_EQ(p->waitFor(0), 3);  // asking again keeps the answer
}

TEST(PosixProcessStarter, WaitingForARunningProgramTimesOut) {
    PosixProcessStarter starter;
    auto p = starter.start("/bin/sh", {"-c", "exec sleep 30"}, nullptr);
    ASSERT_NE(p, nullptr);
    EXPECT_FALSE(p->waitFor(0).has_value());
    EXPECT_FALSE(p->waitFor(20).has_value());
    auto killer = starter.start("/bin/kill", {std::to_string(p->pid())}, nullptr);
    ASSERT_NE(killer, nullptr);
    EXPECT_EQ(killer->waitFor(10000), 0);
    EXPECT_EQ(p->waitFor(10000), 128 + 15);
}

TEST(PosixProcessStarter, MissingProgramGivesAnError) {
    PosixProcessStarter starter;
    std::string error;
    EXPECT_EQ(starter.start("/no/such/eCor", {}, &error), nullptr);
    EXPECT_NE(error.find("/no/such/eCor"), std::string::npos) << error;
    testing::TempDir tmp;
    const std::string plain = (tmp.path() / "notes.txt").string();
    std::ofstream(plain) << "#!/bin/sh\n";
    std::filesystem::permissions(plain, std::filesystem::perms::owner_read);
    error.clear();
    EXPECT_EQ(starter.start(plain, {}, &error), nullptr);  // not executable
    EXPECT_FALSE(error.empty());
}

TEST(SplitCommandLine, BlanksSeparateAndQuotesGroup) {
    EXPECT_EQ(splitCommandLine("ecor.exe  AUDI A4  \"\\STORAGE CARD\\X\" z"),
              Words({"ecor.exe", "AUDI", "A4", "\\STORAGE CARD\\X", "z"}));
    EXPECT_EQ(splitCommandLine("a\"b c\"d"), Words({"ab cd"}));
    EXPECT_EQ(splitCommandLine("x \"\" y"), Words({"x", "", "y"}));
    EXPECT_EQ(splitCommandLine("\t\"open"), Words({"open"}));
    EXPECT_EQ(splitCommandLine("   "), Words{});
    EXPECT_EQ(splitCommandLine(""), Words{});
}

}  // namespace
}  // namespace corvan
