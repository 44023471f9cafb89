// The callers' side of the library on a small installation: reading a "\dtc\" file, the
// library loaded from the DLL folder, the lookups in the text, and the writer tool.
#include "engine/dtcbase/dtc_client.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/dtcbase/definition_text.h"
#include "engine/dtcbase/testing/dtc_test_rig.h"
#include "platform/file_io.h"

namespace corvan::dtc {
namespace {

using Status = FileContent::Status;

class DtcClientTest : public ::testing::Test {
  protected:
    testing::DtcRig rig;
    ModuleContext ctx = rig.context("EXE");
    const std::string data{testing::DtcRig::kDataPath};
};

TEST_F(DtcClientTest, FileIsReadWholeOrSaysWhyNot) {
    rig.writeFile("dtc", "ENGINE.DTC", "abc");
    const FileContent read = readDtcFile(ctx, data, "engine.dtc");  // any case, as on the device
    EXPECT_EQ(read.status, Status::Read);
    EXPECT_EQ(read.bytes, (std::vector<unsigned char>{'a', 'b', 'c'}));
    EXPECT_EQ(read.devicePath, "STORAGE CARD\\CORVANDATA\\dtc\\engine.dtc");

    EXPECT_EQ(readDtcFile(ctx, data, "NONE.DTC").status, Status::Missing);
    EXPECT_EQ(readDtcFile(ctx, data, "").status, Status::Missing);  // the folder itself
    std::filesystem::create_directories(rig.install() / "dtc" / "SUB.DTC");
    EXPECT_EQ(readDtcFile(ctx, data, "SUB.DTC").status, Status::Missing);

    // Larger than the terminal can hold: never read.
    std::filesystem::resize_file(rig.install() / "dtc" / "ENGINE.DTC", kMaxFileBytes + 1);
    const FileContent huge = readDtcFile(ctx, data, "ENGINE.DTC");
    EXPECT_EQ(huge.status, Status::NoMemory);
    EXPECT_TRUE(huge.bytes.empty());
}

TEST_F(DtcClientTest, LibraryMakesTheTextOrSaysWhyNot) {
    const std::string text = "[P0100][\"Caudal\xEDmetro\"][\"Conector\"][1]";
    const auto file = encodeStoredFile(text).value();

    const DecodedText missing = decodeWithLibrary(ctx, data, file);
    EXPECT_EQ(missing.status, DecodedText::Status::LibraryMissing);
    EXPECT_EQ(missing.libraryPath, "STORAGE CARD\\CORVANDATA\\DLL\\DTCBASE.dll");

    rig.installPlugin(CORVAN_DTCBASE_PLUGIN);
    const DecodedText decoded = decodeWithLibrary(ctx, data, file);
    ASSERT_EQ(decoded.status, DecodedText::Status::Decoded);
    EXPECT_EQ(decoded.text, "[P0100][\"Caudalímetro\"][\"Conector\"][1]");  // now UTF-8

    auto damaged = file;
    damaged.back() ^= 1;
    EXPECT_EQ(decodeWithLibrary(ctx, data, damaged).status, DecodedText::Status::Rejected);
    EXPECT_EQ(decodeWithLibrary(ctx, data, {}).status, DecodedText::Status::Rejected);
}

TEST(DefinitionText, FieldsOfTheFirstEntryOfACode) {
    const std::string text =
        "[P0100][\"Mass air flow\"][\"Check connector\"][7]\r\n"
        "[P0300][\"Misfire\"][\"\"][]\r\n"
        "[P0400][Unquoted text][\"Detail @FRAME=\"][x]\r\n"
        "[P0500][\"Cut off";
    const auto p0100 = findDefinition(text, "P0100");
    ASSERT_TRUE(p0100);
    EXPECT_EQ(p0100->description, "Mass air flow");
    EXPECT_EQ(p0100->detail, "Check connector");
    EXPECT_EQ(p0100->extra, "7");
    const auto bracketed = findDefinition(text, "[P0300]");
    ASSERT_TRUE(bracketed);
    EXPECT_EQ(bracketed->description, "Misfire");
    EXPECT_EQ(bracketed->detail, "");
    const auto unquoted = findDefinition(text, "P0400");
    ASSERT_TRUE(unquoted);
    EXPECT_EQ(unquoted->description, "Unquoted text");
    EXPECT_EQ(unquoted->detail, "Detail @FRAME=");
    const auto cut = findDefinition(text, "P0500");  // the file ends inside the entry
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->description, "Cut off");
    EXPECT_EQ(cut->detail, "");
    EXPECT_FALSE(findDefinition(text, "P0101"));
    EXPECT_FALSE(findDefinition(text, ""));
}

TEST(DefinitionText, ActuatorEntriesByFiveDigitCode) {
    const std::string text =
        "[00017][\"Fuel pump relay\"][ACT017.htm]\r\n[01195][\"End of test\"][]\r\n[00018][\"Cut";
    const auto pump = findActuator(text, 17);
    ASSERT_TRUE(pump);
    EXPECT_EQ(pump->description, "Fuel pump relay");
    EXPECT_EQ(pump->helpDocument, "ACT017.htm");
    const auto end = findActuator(text, 1195);
    ASSERT_TRUE(end);
    EXPECT_EQ(end->description, "End of test");
    EXPECT_EQ(end->helpDocument, "");
    EXPECT_EQ(findActuator(text, 18)->description, "Cut");
    EXPECT_FALSE(findActuator(text, 170));
    EXPECT_FALSE(findActuator(text, 7));
}

TEST(WriterTool, WritesWhatTheLibraryReadsAndRefusesABadSource) {
    testing::TempDir dir;
    const auto source = dir.path() / "codes.txt", out = dir.path() / "CODES.DTC";
    writeFileAtomic(source, "# codes\n[P0100][\"Caudalímetro\"][\"\"][]\n");
    const std::string tool = CORVAN_DTC_WRITE;
    ASSERT_EQ(
        std::system((tool + " codes '" + source.string() + "' '" + out.string() + "'").c_str()), 0);
    auto bytes = readWholeFile(out).value_or("");
    std::vector<uint8_t> content(bytes.begin(), bytes.end());
    const auto length = decodeInPlace(content);
    ASSERT_TRUE(length);
    EXPECT_EQ(std::string(content.begin(), content.begin() + *length),
              "[P0100][\"Caudal\xEDmetro\"][\"\"][]\r\n");

    writeFileAtomic(source, "[P0100][\"a\"]\n");
    const int status = std::system((tool + " codes '" + source.string() + "' '" +
                                    (dir.path() / "BAD.DTC").string() + "' 2>/dev/null")
                                       .c_str());
    EXPECT_NE(status, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "BAD.DTC"));
    EXPECT_NE(std::system((tool + " show '" + source.string() + "' >/dev/null 2>&1").c_str()), 0);
}

}  // namespace
}  // namespace corvan::dtc
