#include "SetupBuilder.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

#include "FilePack.h"
#include "SetupData.h"
#include "SetupUnpack.h"
#include "support/FaultyFileSystem.h"
#include "support/ImageHead.h"
#include "support/TempFolder.h"

namespace pelorin {
namespace {

class SetupBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.Write("image", "MZ image");
    folder_.Write("editor", "MZ editor");
    folder_.Write("info", "Pelorin\r\n");
  }
  String Build(const std::vector<SetupItem>& items) {
    return BuildSetupFile(files_, output_, folder_.Path("image"), items, sizes_);
  }
  bool OnlyOutputAndSources() const {
    for (const char* leftover : {"setup.exe.tmp", "setup.exe.lst", "setup.exe.mif"})
      if (folder_.Exists(leftover)) return false;
    return true;
  }

  testing::TempFolder folder_;
  testing::FaultyFileSystem files_;
  String output_ = folder_.Path("setup.exe");
  SetupSizes sizes_;
};

TEST_F(SetupBuilderTest, WritesImagePackAndTrailerThatSetupReadsBack) {
  ASSERT_EQ(Build({{"Pelorin.exe", folder_.Path("editor")}, {"%SETUPINFO%", folder_.Path("info")}}), "");
  const String setup = folder_.Read("setup.exe");
  EXPECT_EQ(sizes_.total, setup.size());
  EXPECT_EQ(setup.size() % 8, 0u) << "signing would pad the file and part the trailer from the table";
  EXPECT_EQ(setup.rfind("MZ image", 0), 0u);
  const auto trailer = ParseTrailer(std::string_view(setup).substr(setup.size() - kTrailerSize), setup.size());
  ASSERT_TRUE(trailer);
  const PackList list = ParsePackList(std::string_view(setup).substr(trailer->listPosition - 1, trailer->listLength));
  ASSERT_EQ(list.records.size(), 2u);
  EXPECT_EQ(setup.substr(trailer->dataPosition - 1 + list.records[0].offset - 1, list.records[0].size), "MZ editor");
  EXPECT_TRUE(OnlyOutputAndSources());
}

// Signing packs the signed programs again: everything else, stored times too, stays as built.
TEST_F(SetupBuilderTest, PacksASetupAgainWithItemsReplacedAndRefusesASignedOne) {
  const FileTime built{2026, 5, 4, 3, 2, 1};
  ASSERT_EQ(Build({{"Pelorin.exe", folder_.Path("editor"), built}, {"%SETUPINFO%", folder_.Path("info"), built}}), "");
  folder_.MakeFolder("unpacked");
  String image;
  std::vector<SetupItem> items;
  ASSERT_EQ(ReadSetupFile(files_, output_, folder_.Path("unpacked"), image, items), "");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(folder_.Read("unpacked\\image"), "MZ image");
  folder_.Write("signed", "MZ signed editor");
  items[0].source = folder_.Path("signed");
  ASSERT_EQ(BuildSetupFile(files_, folder_.Path("again.exe"), image, items, sizes_), "");

  std::unique_ptr<FileReader> again;
  ASSERT_FALSE(files_.OpenForReading(folder_.Path("again.exe"), again));
  const auto trailer = FindTrailer(*again);
  ASSERT_TRUE(trailer);
  const String setup = folder_.Read("again.exe");
  const PackList list = ParsePackList(std::string_view(setup).substr(trailer->listPosition - 1, trailer->listLength));
  ASSERT_EQ(list.records.size(), 2u);
  EXPECT_EQ(list.records[0].time, built);
  EXPECT_EQ(list.records[1].time, built);
  EXPECT_EQ(setup.substr(trailer->dataPosition - 1 + list.records[0].offset - 1, list.records[0].size), "MZ signed editor");

  folder_.Write("image", testing::ImageHead(0, 0));
  ASSERT_EQ(Build({{"Pelorin.exe", folder_.Path("editor")}}), "");
  const String table(64, 'C');
  folder_.Write("setup.exe", testing::ImageHead(sizes_.total, table.size()) +
                                 folder_.Read("setup.exe").substr(testing::ImageHead(0, 0).size()) + table);
  EXPECT_NE(ReadSetupFile(files_, output_, folder_.Path("unpacked"), image, items).find("is signed"), String::npos);
}

// The uninstaller is the image with the removal mark; only a mark that ends the file (before
// a certificate table) right behind the image it names makes the removal role. A setup file
// cut short right after a packed uninstaller, or a setup file with its pack, stays setup.
TEST_F(SetupBuilderTest, TheRemovalMarkMakesTheUninstallerAndNothingElse) {
  const auto hasMark = [&](const String& bytes) {
    folder_.Write("probe.exe", bytes);
    std::unique_ptr<FileReader> reader;
    return !files_.OpenForReading(folder_.Path("probe.exe"), reader) && HasRemovalMark(*reader);
  };
  const String image = testing::ImageHead(0, 0);
  folder_.Write("image", image);
  ASSERT_EQ(BuildRemovalFile(files_, folder_.Path("Uninstall.exe"), folder_.Path("image")), "");
  const String removal = folder_.Read("Uninstall.exe");
  EXPECT_EQ(removal, image + FormatRemovalMark(image.size()));
  EXPECT_FALSE(folder_.Exists("Uninstall.exe.tmp"));
  EXPECT_TRUE(hasMark(removal));
  EXPECT_FALSE(hasMark(image));
  EXPECT_FALSE(hasMark(image + FormatRemovalMark(image.size() + 8)));

  ASSERT_EQ(Build({{"Uninstall.exe", folder_.Path("Uninstall.exe")}, {"Pelorin.exe", folder_.Path("editor")}}), "");
  const String setup = folder_.Read("setup.exe");
  EXPECT_FALSE(hasMark(setup));
  const std::size_t packed = setup.find(removal.substr(image.size()));
  ASSERT_NE(packed, String::npos);
  EXPECT_FALSE(hasMark(setup.substr(0, packed + kRemovalMarkSize))) << "a setup file cut short";
  const auto trailer = ParseTrailer(std::string_view(setup).substr(setup.size() - kTrailerSize), setup.size());
  ASSERT_TRUE(trailer);
  const PackList list = ParsePackList(std::string_view(setup).substr(trailer->listPosition - 1, trailer->listLength));
  ASSERT_TRUE(list.Find("Uninstall.exe"));
  EXPECT_EQ(list.Find("Uninstall.exe")->size, kSelfItemHead + kRemovalMarkSize) << "packed as its item, not as a copy";
}

// Setup rebuilds the packed uninstaller from its own image: with the signing fields and the
// certificate table it was packed with, whatever signing did to setup's own headers.
TEST_F(SetupBuilderTest, ThePackedUninstallerIsRebuiltFromSetupsImage) {
  const String image = testing::ImageHead(0, 0) + String(40, 'I');
  folder_.Write("image", image);
  const String table(24, 'T');
  const String uninstaller = testing::ImageHead(image.size() + kRemovalMarkSize, table.size()) +
                                  image.substr(testing::ImageHead(0, 0).size()) + FormatRemovalMark(image.size()) + table;
  folder_.Write("Uninstall.exe", uninstaller);
  ASSERT_EQ(Build({{"Pelorin.exe", folder_.Path("editor")}, {"Uninstall.exe", folder_.Path("Uninstall.exe")}}), "");
  String setup = folder_.Read("setup.exe");
  setup.replace(0, testing::ImageHead(0, 0).size(), testing::ImageHead(setup.size(), 8));  // setup signed too
  folder_.Write("setup.exe", setup + String(8, 'S'));

  std::unique_ptr<FileReader> reader;
  ASSERT_FALSE(files_.OpenForReading(output_, reader));
  const auto trailer = FindTrailer(*reader);
  ASSERT_TRUE(trailer);
  String listText;
  ASSERT_FALSE(ReadRange(*reader, trailer->listPosition - 1, trailer->listLength, listText));
  PackList list = ParsePackList(listText);
  std::unique_ptr<FileReader> data = std::make_unique<ImagePart>(*reader, trailer->dataPosition, trailer->dataLength);
  ASSERT_TRUE(RebuildSelfItems(*reader, *trailer, list, data));
  String bytes;
  for (const auto& [name, expected] : {std::pair{"Uninstall.exe", uninstaller}, std::pair{"Pelorin.exe", String("MZ editor")}}) {
    const PackRecord* record = list.Find(name);
    ASSERT_TRUE(record);
    ASSERT_FALSE(ReadRange(*data, record->offset - 1, record->size, bytes));
    EXPECT_EQ(bytes, expected) << name;
  }
  EXPECT_FALSE(SelfItemOf(image, "MZ editor"));
  String item = *SelfItemOf(image, uninstaller);
  EXPECT_EQ(ProgramOfSelfItem(image, item), uninstaller);
  EXPECT_FALSE(ProgramOfSelfItem(image + "more", item)) << "an item of another image";
  EXPECT_FALSE(ProgramOfSelfItem(image, item.substr(0, kSelfItemHead - 1)));

}

TEST_F(SetupBuilderTest, ASignedUninstallerKeepsItsRoleAndABadImageMakesNone) {
  const String image = testing::ImageHead(0, 0);
  const String removal = image + FormatRemovalMark(image.size());
  const auto hasMark = [&](const String& bytes) {
    folder_.Write("probe.exe", bytes);
    std::unique_ptr<FileReader> reader;
    return !files_.OpenForReading(folder_.Path("probe.exe"), reader) && HasRemovalMark(*reader);
  };
  const String table(64, 'C');
  const String signedRemoval = testing::ImageHead(removal.size(), table.size()) + removal.substr(image.size()) + table;
  EXPECT_TRUE(hasMark(signedRemoval));
  folder_.Write("image", "MZ odd");
  EXPECT_NE(BuildRemovalFile(files_, folder_.Path("Uninstall.exe"), folder_.Path("image")), "");
  EXPECT_FALSE(folder_.Exists("Uninstall.exe"));
}

// A failed build leaves no setup file at all: neither a partial one nor the one before.
TEST_F(SetupBuilderTest, AnyFailureLeavesNoSetupFile) {
  const struct {
    const char* why;
    std::vector<SetupItem> items;
    String problem;
  } cases[] = {
      {"device name", {{"Pelorin.exe", folder_.Path("editor")}, {"bin\\CON.dll", folder_.Path("editor")}},
       "cannot add bin\\CON.dll: its name is a device name in Windows"},
      {"missing source", {{"Pelorin.exe", folder_.Path("gone")}}, "cannot add Pelorin.exe from " + folder_.Path("gone")},
      {"invalid pack name", {{"a,b", folder_.Path("editor")}}, "cannot add a,b from"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    folder_.Write("setup.exe", "an earlier setup");
    EXPECT_EQ(Build(c.items).rfind(c.problem, 0), 0u);
    EXPECT_FALSE(folder_.Exists("setup.exe"));
    EXPECT_TRUE(OnlyOutputAndSources());
  }

  folder_.Write("setup.exe", "an earlier setup");
  files_.fullDiskFiles.insert(output_ + ".tmp");
  EXPECT_EQ(Build({{"Pelorin.exe", folder_.Path("editor")}}).rfind("cannot copy " + output_ + ".lst into ", 0), 0u);
  EXPECT_FALSE(folder_.Exists("setup.exe"));
  EXPECT_TRUE(OnlyOutputAndSources());
}

}  // namespace
}  // namespace pelorin
