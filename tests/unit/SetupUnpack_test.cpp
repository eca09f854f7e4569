#include "SetupUnpack.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include <algorithm>
#include <filesystem>

#include "support/FaultyFileSystem.h"
#include "support/ImageHead.h"
#include "support/TempFolder.h"

namespace pelorin {
namespace {

// Builds a self-extracting file as the build tool does: image, list copy, data copy, one
// spare byte, trailer.
class SetupUnpackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::pair<const char*, String> items[] = {
        {"Uninstall.exe", "MZ uninstall"},
        {"%SETUPINFO%", "Pelorin\r\n1.2 (build 16)\r\nBrackwater\r\n 1 \r\n 0 \r\n\r\n 1 \r\n 1 \r\nPelorin.exe\r\n 0 \r\n"},
        {"%SHORTCUTS%", "Pelorin\xFFPelorin.exe\xFEPrograms\\Brackwater\\Pelorin\\\r\n"},
        {"%LICENSE%", "Licence text\r\n"},
        {"%README%", "Readme text\r\n"},
        {"%SIDEPIC%", "BM picture"},
    };
    for (const auto& [name, bytes] : items) {
      folder_.Write("source\\item", bytes);
      ASSERT_EQ(AddFile(files_, folder_.Path("pack.mif"), folder_.Path("pack.lst"),
                        folder_.Path("source\\item"), name).result, AddResult::kAdded);
    }
  }

  String SetupProgram(const String& image = "MZ the setup program image") {
    const String list = folder_.Read("pack.lst");
    const String data = folder_.Read("pack.mif");
    const Trailer trailer{image.size() + 1, list.size(), image.size() + list.size() + 1, data.size()};
    return image + list + data + "\xFF" + FormatTrailer(trailer);
  }

  // The same file signed: an image whose security directory names the certificate table
  // appended after the trailer, or one from `tableStart` to the end.
  String SignedProgram(std::optional<std::uint32_t> tableStart = std::nullopt) {
    const String table(1480, 'C');
    const std::size_t end = SetupProgram(testing::ImageHead(0, 0)).size() + table.size();
    const std::uint32_t start = tableStart.value_or(end - table.size());
    return SetupProgram(testing::ImageHead(start, end - start)) + table;
  }

  UnpackOutcome Unpack(const String& program) {
    folder_.Write("setup.exe", program);
    folder_.MakeFolder("Temp\\SetupTemp");
    return UnpackSetupData(files_, folder_.Path("setup.exe"), setup_);
  }

  testing::TempFolder folder_;
  testing::FaultyFileSystem files_;
  SetupFiles setup_ = SetupFilesIn(folder_.Path("Temp\\SetupTemp"));
};

// Everything is read through the one handle on the image: no copy of the pack, the setup
// information or the shortcut list is made; only what the wizard takes as files.
TEST_F(SetupUnpackTest, ReadsThePackFromTheImageAndWritesOnlyTheWizardsFiles) {
  UnpackOutcome outcome = Unpack(SetupProgram());
  ASSERT_EQ(outcome.result, UnpackResult::kReady);
  for (const char* name : {"Setup.lst", "Setup.mif", "SetupInfo.txt", "ShortCuts.txt"})
    EXPECT_FALSE(folder_.Exists(String("Temp\\SetupTemp\\") + name)) << name;
  String item(12, '\0');
  std::size_t got = 0;
  ASSERT_FALSE(outcome.data->Seek(outcome.list.Find("Uninstall.exe")->offset - 1));
  ASSERT_FALSE(outcome.data->Read(item.data(), item.size(), got));
  EXPECT_EQ(item.substr(0, got), "MZ uninstall");
  EXPECT_EQ(folder_.Read("Temp\\SetupTemp\\License.txt"), "Licence text\r\n");
  EXPECT_EQ(folder_.Read("Temp\\SetupTemp\\SidePic.bmp"), "BM picture");
  EXPECT_EQ(outcome.info.appName, "Pelorin");
  EXPECT_EQ(outcome.info.appVersion, "1.2 (build 16)");
  ASSERT_EQ(outcome.shortcuts.size(), 1u);
  EXPECT_EQ(outcome.shortcuts[0], "Pelorin\xFFPelorin.exe\xFEPrograms\\Brackwater\\Pelorin\\");

  // Held open as written until the wizard has read them, then closed and deleted.
  for (const auto& file : outcome.heldFiles) EXPECT_TRUE(file);
  for (bool held : outcome.held) EXPECT_TRUE(held);
  EXPECT_EQ(outcome.heldBytes[2], "BM picture");
  RemoveSetupDataFiles(files_, setup_, &outcome);
  for (const auto& file : outcome.heldFiles) EXPECT_FALSE(file);
  EXPECT_FALSE(folder_.Exists("Temp\\SetupTemp\\License.txt"));
  EXPECT_EQ(outcome.list.records.size(), 6u);
}

// The side picture is made from bytes in memory only where every part the headers promise is
// there: rows, colour table and the header itself.
TEST(BitmapRowsOffset, OnlyWhereEveryPartLiesWithinTheFile) {
  const auto bitmap = [](std::uint32_t rowsAt, std::uint32_t infoSize, std::uint16_t depth, std::uint32_t compression,
                         std::uint32_t colours, std::size_t size) {
    String file(size, '\0');
    const auto put = [&](std::size_t at, std::uint32_t value, int bytes) {
      for (int i = 0; i < bytes && at + i < file.size(); ++i) file[at + i] = static_cast<char>(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put(10, rowsAt, 4);
    put(14, infoSize, 4);
    put(18, 2, 4);  // 2 x 2 pixels: rows of 8 bytes at 24 bits
    put(22, 2, 4);
    put(28, depth, 2);
    put(30, compression, 4);
    put(46, colours, 4);
    return file;
  };
  // Run-length data of the 2 x 2 picture behind a colour table of one entry, with the image
  // size that the info header gives for it.
  const auto compressed = [&](std::uint16_t depth, const String& data, std::uint32_t size, std::int32_t height = 2) {
    String file = bitmap(58, 40, depth, depth == 8 ? 1 : 2, 1, 58) + data;
    for (int i = 0; i < 4; ++i) {
      file[34 + i] = static_cast<char>(size >> (8 * i));
      file[22 + i] = static_cast<char>(static_cast<std::uint32_t>(height) >> (8 * i));
    }
    return file;
  };
  const String rows("\x02\x00\0\0\x02\x00\0\1", 8);
  const struct {
    const char* what;
    String file;
    std::size_t offset;
  } cases[] = {
      {"RLE8", compressed(8, rows, 8), 58},
      {"RLE4", compressed(4, rows, 8), 58},
      {"RLE8 whose size passes the file", compressed(8, rows, 9), 0},
      {"RLE8 whose size cuts off the end of the picture", compressed(8, rows, 6), 0},
      {"RLE8 with a run past its row", compressed(8, String("\x03\x00\0\1", 4), 4), 0},
      {"RLE8 stored top-down", compressed(8, rows, 8, -2), 0},
      {"RLE4 at 8 bits", compressed(8, rows, 8).replace(30, 1, "\x02"), 0},
      {"24 bits", bitmap(54, 40, 24, 0, 0, 70), 54},
      {"8 bits with its colour table", bitmap(54 + 1024, 40, 8, 0, 0, 54 + 1024 + 8), 54 + 1024},
      {"8 bits, the table over the rows", bitmap(54, 40, 8, 0, 0, 200), 0},
      {"a row short", bitmap(54, 40, 24, 0, 0, 69), 0},
      {"compressed, the colour table over the data", bitmap(54, 40, 8, 1, 1, 80), 0},
      {"a header larger than the room", bitmap(54, 124, 24, 0, 0, 70), 0},
      {"no depth", bitmap(54, 40, 0, 0, 0, 70), 0},
      {"not a bitmap", String(70, 'x'), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(BitmapRowsOffset(c.file), c.offset) << c.what;
}

TEST_F(SetupUnpackTest, SetupDataIsAlwaysExtractedOverWhatLiesThere) {
  // A planted file, newer than the item, is replaced without a question; one where setup
  // data is read is never read.
  folder_.Write("Temp\\SetupTemp\\SetupInfo.txt", "Planted\r\n9\r\nEvil\r\n 0 \r\n 1 \r\nC:\\Windows\r\n");
  folder_.Write("Temp\\SetupTemp\\License.txt", "Planted");
  UnpackOutcome outcome = Unpack(SetupProgram());
  ASSERT_EQ(outcome.result, UnpackResult::kReady);
  EXPECT_EQ(outcome.info.appName, "Pelorin");
  EXPECT_FALSE(outcome.info.useFixedPath);
  EXPECT_EQ(folder_.Read("Temp\\SetupTemp\\License.txt"), "Licence text\r\n");
  outcome.data.reset();
  outcome.image.reset();
  RemoveSetupFolder(files_, setup_);
  EXPECT_FALSE(folder_.Exists("Temp\\SetupTemp\\License.txt"));
  EXPECT_EQ(folder_.Read("Temp\\SetupTemp\\SetupInfo.txt").substr(0, 7), "Planted");
}

TEST_F(SetupUnpackTest, TheSetupFolderIsNewAndOfItsOwn) {
  folder_.MakeFolder("Temp");
  SetupFiles setup;
  const PrivateFolderSource source{"", [] { return std::uint64_t{0x1A4}; }};
  ASSERT_FALSE(CreateSetupFolder(files_, folder_.Path("Temp"), source, setup));
  EXPECT_EQ(setup.folder, folder_.Path("Temp\\PelorinSetup-00000000000001a4\\"));
  // The name is taken now: with nothing else to try, the failure is reported.
  EXPECT_TRUE(CreateSetupFolder(files_, folder_.Path("Temp"), source, setup));
}

TEST_F(SetupUnpackTest, ADamagedFileListIsCorruptSetupData) {
  String list = folder_.Read("pack.lst");
  folder_.Write("pack.lst", list + "Extra.exe,22,5,x,0,0,1,1,2001\r\n");
  EXPECT_EQ(Unpack(SetupProgram()).result, UnpackResult::kCorrupt);
}

TEST_F(SetupUnpackTest, SetupInformationWithoutAnApplicationNameIsCorrupt) {
  files_.RemoveFile(folder_.Path("pack.lst"));
  files_.RemoveFile(folder_.Path("pack.mif"));
  folder_.Write("source\\item", "\r\n1.2\r\nBrackwater\r\n");
  ASSERT_EQ(AddFile(files_, folder_.Path("pack.mif"), folder_.Path("pack.lst"), folder_.Path("source\\item"),
                    "%SETUPINFO%").result, AddResult::kAdded);
  EXPECT_EQ(Unpack(SetupProgram()).result, UnpackResult::kCorrupt);
}

TEST_F(SetupUnpackTest, ProgramsWithoutAGoodTrailerAreCorrupt) {
  const String program = SetupProgram();
  String damaged = program;
  damaged[damaged.size() - 272 + 16] = 'x';
  String beyond = program;
  beyond.replace(beyond.size() - 272 + 16 + 128, 10, "9999999999");
  const String signed_ = SignedProgram();
  const struct {
    const char* why;
    String program;
    UnpackResult result;
  } cases[] = {
      {"signed: the trailer stands before the table", signed_, UnpackResult::kReady},
      {"a program image without any payload", "MZ just a program image", UnpackResult::kCorrupt},
      {"a damaged magic", damaged, UnpackResult::kCorrupt},
      {"a copy past the trailer", beyond, UnpackResult::kCorrupt},
      {"an empty file", "", UnpackResult::kCorrupt},
      {"a table that begins inside the pack", SignedProgram(testing::ImageHead(0, 0).size() + 30), UnpackResult::kCorrupt},
      {"signed, then bytes appended after the table", signed_ + String(1480, 'C'), UnpackResult::kCorrupt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    folder_.Remove("Temp");
    EXPECT_EQ(Unpack(c.program).result, c.result);
    EXPECT_TRUE(folder_.Exists("Temp\\SetupTemp"));  // made before the trailer was read
    EXPECT_FALSE(folder_.Exists("Temp\\SetupTemp\\Setup.lst"));  // the pack is read in place
  }
}

TEST_F(SetupUnpackTest, AnUnwritableTemporaryFolderMeansTheDataIsMissing) {
  files_.unwritableFolders.insert(folder_.Path("Temp\\SetupTemp"));
  EXPECT_EQ(Unpack(SetupProgram()).result, UnpackResult::kMissingData);
}

}  // namespace
}  // namespace pelorin
