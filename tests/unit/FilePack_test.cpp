#include "FilePack.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"
#include <sys/resource.h>
#include <sys/stat.h>

#include <fstream>

#include "support/FaultyFileSystem.h"
#include "support/TempFolder.h"

namespace pelorin {
namespace {

// Answers the older-file question as told and remembers what it was asked.
class AnsweringUi : public PackUi {
 public:
  bool answer = false;
  std::vector<std::pair<String, String>> asked;
  bool ConfirmOverwriteOlder(const String& newText, const String& oldText) override {
    asked.emplace_back(newText, oldText);
    return answer;
  }
};

class FilePackTest : public ::testing::Test {
 protected:
  void Source(const String& name, const String& bytes, const FileTime& time) {
    folder_.Write(name, bytes);
    ASSERT_FALSE(files_.SetFileTimes(folder_.Path(name), time));
  }
  AddResult Add(const String& source, const String& item) {
    return AddFile(files_, Data(), List(), folder_.Path(source), item).result;
  }
  ExtractOutcome Extract(const String& item, const String& destination) {
    return ExtractFile(files_, ui_, Data(), List(), item, folder_.Path(destination));
  }
  String Data() const { return folder_.Path("pack.mif"); }
  String List() const { return folder_.Path("pack.lst"); }
  FileTime TimeOf(const String& relative) {
    FileTime time;
    files_.LastWriteTime(folder_.Path(relative), time);
    return time;
  }

  testing::TempFolder folder_;
  testing::FaultyFileSystem files_;
  AnsweringUi ui_;
  const FileTime june17_{2001, 6, 17, 11, 26, 50};
};

TEST_F(FilePackTest, AddWritesTheFormatByteForByte) {
  Source("Uninstall.exe", String(53248, 'u'), june17_);
  Source("Pelorin.exe", "PE!", {2001, 6, 3, 10, 9, 16});
  ASSERT_EQ(Add("Uninstall.exe", "Uninstall.exe"), AddResult::kAdded);
  ASSERT_EQ(Add("Pelorin.exe", "Pelorin.exe"), AddResult::kAdded);

  EXPECT_EQ(folder_.Read("pack.lst"),
            "List File for KESTRELBOX@PACKEDFILE\r\n"
            "Uninstall.exe,22,53248,11,26,50,6,17,2001\r\n"
            "Pelorin.exe,53270,3,10,9,16,6,3,2001\r\n");
  const String data = folder_.Read("pack.mif");
  EXPECT_EQ(data.size(), 21u + 53248u + 3u);
  EXPECT_EQ(data.substr(0, 21), "KESTRELBOX@PACKEDFILE");
  EXPECT_EQ(data.substr(21, 53248), String(53248, 'u'));
  EXPECT_EQ(data.substr(21 + 53248), "PE!");
}

TEST_F(FilePackTest, AddToAnEmptyDataFileWritesTheMagicFirst) {
  folder_.Write("pack.mif", "");
  folder_.Write("pack.lst", "");
  Source("a.txt", "abc", june17_);
  ASSERT_EQ(Add("a.txt", "a.txt"), AddResult::kAdded);
  EXPECT_EQ(folder_.Read("pack.mif"), "KESTRELBOX@PACKEDFILEabc");
  EXPECT_EQ(folder_.Read("pack.lst"),
            "List File for KESTRELBOX@PACKEDFILE\r\na.txt,22,3,11,26,50,6,17,2001\r\n");
}

TEST_F(FilePackTest, AddToAForeignDataFileChangesNothing) {
  folder_.Write("pack.mif", "MZ something else entirely");
  folder_.Write("pack.lst", "keep me\r\n");
  Source("a.txt", "abc", june17_);
  EXPECT_EQ(Add("a.txt", "a.txt"), AddResult::kNotAPack);
  EXPECT_EQ(folder_.Read("pack.mif"), "MZ something else entirely");
  EXPECT_EQ(folder_.Read("pack.lst"), "keep me\r\n");
  EXPECT_EQ(AddFile(files_, Data(), List(), folder_.Path("missing.txt"), "m").result, AddResult::kFailed);
}

TEST_F(FilePackTest, ListingGivesNamesAndSizesBetweenSeparators) {
  folder_.Write("pack.lst", "List File for KESTRELBOX@PACKEDFILE\r\n");
  EXPECT_EQ(ListFiles(files_, List()), "");
  Source("a.txt", "abc", june17_);
  Source("b.txt", "", june17_);
  Add("a.txt", "a.txt");
  Add("b.txt", "%SETUPINFO%");
  EXPECT_EQ(ListFiles(files_, List()), "a.txt\xFF" "3\xFF%SETUPINFO%\xFF" "0\xFF");

  folder_.Write("pack.lst", "List File for something else\r\na.txt,22,3,1,1,1,1,1,2001\r\n");
  EXPECT_EQ(ListFiles(files_, List()), "1");
  folder_.Write("pack.lst", "List File for KESTRELBOX@PACKEDFILE\r\na.txt,22,3,1,1,x,1,1,2001\r\n");
  EXPECT_TRUE(ReadPackList(files_, List()).damaged);
}

TEST_F(FilePackTest, ExtractionCopiesItemsAndStampsTheStoredTime) {
  Source("one.txt", "first", june17_);
  Source("two.txt", "second", june17_);
  Source("empty.txt", "", june17_);
  Add("one.txt", "bin\\x.dll");
  Add("two.txt", "bin\\x.dll");  // a second item of the same name: the first one wins
  Add("empty.txt", "empty.txt");

  EXPECT_EQ(Extract("bin\\x.dll", "out\\deep\\x.dll").result, ExtractResult::kCopied);
  struct stat info {};
  ASSERT_EQ(stat((folder_.Path() + "/out/deep/x.dll").c_str(), &info), 0);
  EXPECT_EQ(info.st_atime, info.st_mtime);
  EXPECT_EQ(TimeOf("out\\deep\\x.dll"), june17_);
  EXPECT_EQ(folder_.Read("out\\deep\\x.dll"), "first");
  EXPECT_FALSE(folder_.Exists("out\\deep\\x.dll.tmp"));

  EXPECT_EQ(Extract("BIN\\X.DLL", "out\\case.dll").result, ExtractResult::kNotListed);
  EXPECT_FALSE(folder_.Exists("out\\case.dll"));

  folder_.Write("kept\\empty.txt", "old bytes");
  ui_.answer = true;  // the file just written is newer than the item
  EXPECT_EQ(Extract("empty.txt", "kept\\empty.txt").result, ExtractResult::kEmptyItem);
  EXPECT_EQ(folder_.Read("kept\\empty.txt"), "old bytes");
  EXPECT_EQ(Extract("empty.txt", "made\\for\\nothing.txt").result, ExtractResult::kEmptyItem);
  EXPECT_TRUE(folder_.Exists("made\\for"));
  EXPECT_FALSE(folder_.Exists("made\\for\\nothing.txt"));
}

TEST_F(FilePackTest, NewerExistingFilesAreReplacedOnlyWhenTheUserAgrees) {
  Source("item.txt", "packed", june17_);
  Add("item.txt", "item.txt");
  struct Case {
    FileTime existing;
    bool asked;
  } cases[] = {
      {june17_, false},                       // same time: replaced without a question
      {{2001, 6, 17, 11, 26, 49}, false},     // older
      {{2001, 6, 17, 11, 26, 51}, true},      // one second newer
      {{2001, 6, 17, 11, 27, 50}, true},      // one minute newer
  };
  for (const auto& c : cases) {
    for (bool answer : {false, true}) {
      folder_.Write("dest.txt", "mine");
      folder_.Write("dest.txt.tmp", "half a copy of a run that was killed");
      ASSERT_FALSE(files_.SetFileTimes(folder_.Path("dest.txt"), c.existing));
      ui_.asked.clear();
      ui_.answer = answer;
      const ExtractResult result = Extract("item.txt", "dest.txt").result;
      EXPECT_EQ(ui_.asked.size(), c.asked ? 1u : 0u);
      const bool replaced = !c.asked || answer;
      EXPECT_EQ(result, replaced ? ExtractResult::kCopied : ExtractResult::kKeptNewer);
      EXPECT_EQ(folder_.Read("dest.txt"), replaced ? "packed" : "mine");
      EXPECT_FALSE(folder_.Exists("dest.txt.tmp"));  // whichever file stays
    }
  }
  folder_.Write("dest.txt", "mine");
  files_.SetFileTimes(folder_.Path("dest.txt"), {2001, 6, 17, 11, 26, 51});
  Extract("item.txt", "dest.txt");
  EXPECT_EQ(ui_.asked.back().first, "item.txt - 17/6/2001 11:26:50");
  EXPECT_EQ(ui_.asked.back().second, folder_.Path("dest.txt") + " - 17/6/2001 11:26:51");
}

TEST(FilePackQuestion, OlderFileQuestionReadsAsWritten) {
  EXPECT_STREQ(kOverwriteOlderTitle, "Overwrite existing file with older file?");
  EXPECT_EQ(OverwriteOlderQuestion("new", "old"),
            "Setup has detected that the file: \r\n\r\nnew\r\n\r\nwhich comes with this Application is "
            "older than\r\n\r\nold\r\n\r\nwhich you currently have on your system.  \r\nWould you "
            "like to overwrite your existing file with this older file?");
  EXPECT_EQ(DescribeFileTime("Uninstall.exe", {2001, 6, 17, 11, 26, 50}), "Uninstall.exe - 17/6/2001 11:26:50");
  EXPECT_EQ(DescribeFileTime("a", {2001, 1, 2, 3, 4, 5}), "a - 2/1/2001 3:4:5");
}

TEST_F(FilePackTest, FailedExtractionLeavesTheDestinationAsItWas) {
  Source("item.txt", String(200000, 'p'), june17_);
  Add("item.txt", "item.txt");
  const auto expectIntact = [&](const char* what) {
    EXPECT_EQ(folder_.Read("dest.txt"), "good old file") << what;
    EXPECT_FALSE(folder_.Exists("dest.txt.tmp")) << what;
  };
  folder_.Write("dest.txt", "good old file");
  ui_.answer = true;  // replacing the newer file is wanted; it is the copy that fails

  files_.diskFull = true;
  EXPECT_EQ(Extract("item.txt", "dest.txt").result, ExtractResult::kFailed);
  expectIntact("short write");
  files_.diskFull = false;

  files_.replaceFails = true;
  EXPECT_EQ(Extract("item.txt", "dest.txt").result, ExtractResult::kFailed);
  expectIntact("failed replace");
  files_.replaceFails = false;

  const String data = folder_.Read("pack.mif");
  folder_.Write("pack.mif", data.substr(0, data.size() - 1));
  EXPECT_EQ(Extract("item.txt", "dest.txt").result, ExtractResult::kFailed);
  expectIntact("truncated data file");

  std::filesystem::remove(std::string(folder_.Path() + "/pack.mif"));
  EXPECT_EQ(Extract("item.txt", "dest.txt").result, ExtractResult::kFailed);
  expectIntact("missing data file");

  folder_.Write("pack.lst", "List File for KESTRELBOX@PACKEDFILE\r\nitem.txt,22,999999999999,1,1,1,1,1,2001\r\n");
  folder_.Write("pack.mif", data);
  EXPECT_EQ(Extract("item.txt", "dest.txt").result, ExtractResult::kFailed);
  expectIntact("a size past the data file");
}

long PeakMemoryKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

TEST_F(FilePackTest, MemoryStaysFlatWhileA256MiBItemIsAddedAndExtracted) {
  constexpr std::size_t kItem = 256u << 20;
  {
    std::ofstream big(std::string(folder_.Path() + "/big.bin"), std::ios::binary);
    const String block(1 << 20, 'b');
    for (std::size_t written = 0; written < kItem; written += block.size()) big.write(block.data(), static_cast<std::streamsize>(block.size()));
  }
  const long before = PeakMemoryKiB();
  ASSERT_EQ(Add("big.bin", "big.bin"), AddResult::kAdded);
  ASSERT_EQ(Extract("big.bin", "copy.bin").result, ExtractResult::kCopied);
  const long grown = PeakMemoryKiB() - before;
  std::cout << "peak memory grew by " << grown << " KiB while moving 256 MiB twice\n";
  EXPECT_LT(grown, 16 * 1024);
  EXPECT_EQ(std::filesystem::file_size(std::string(folder_.Path() + "/copy.bin")), kItem);
}

}  // namespace
}  // namespace pelorin
