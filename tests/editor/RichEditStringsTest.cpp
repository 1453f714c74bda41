#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "EditorFixture.h"
#include "editor/Conversion.h"
#include "editor/KlTextAttributes.h"
#include "editor/RichEditStrings.h"
#include "framework/Exception.h"
#include "framework/FileStream.h"
#include "framework/MemoryStream.h"
#include "framework/StringList.h"

namespace kl::test {

using namespace richedit;

namespace {

// Hands the control at most `chunk` bytes per read, so that chunk boundaries fall anywhere;
// fails reads or writes when told to.
class ChunkedConversion : public TConversion {
 public:
  explicit ChunkedConversion(std::int64_t chunk, std::int64_t writeBudget = -1)
      : chunk_(chunk), writeBudget_(writeBudget) {}
  std::int64_t ConvertReadStream(TStream& stream, char* buffer, std::int64_t size) override {
    if (chunk_ <= 0) return -1;
    return stream.Read(buffer, std::min(size, chunk_));
  }
  std::int64_t ConvertWriteStream(TStream& stream, const char* buffer, std::int64_t size) override {
    if (writeBudget_ >= 0) {
      size = std::min(size, writeBudget_);  // a full disk: the write comes up short
      writeBudget_ -= size;
    }
    return stream.Write(buffer, size);
  }

 private:
  std::int64_t chunk_;
  std::int64_t writeBudget_;
};

std::string ReadFile(const QString& path) {
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly));
  return f.readAll().toStdString();
}

void WriteFile(const QString& path, const std::string& data) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(data.data(), qint64(data.size()));
}

}  // namespace

class LinesTest : public EditorTest {
 protected:
  TRichEditStrings& Lines() { return edit->Lines(); }
  void LoadPlain(const std::string& bytes) {
    TStringStream in(bytes);
    edit->SetStreamFormat(TRichStreamFormat::sfPlainText);
    Lines().LoadFromStream(in);
  }
};

TEST_F(LinesTest, AddingLinesCountsWithoutTheEmptyLastLine) {
  for (int version : {3, 1}) {
    VersionGuard guard(version);
    edit->Clear();
    EXPECT_EQ(Lines().Count(), 0);
    Lines().Add("a");
    EXPECT_EQ(AllText(), "a\r");
    EXPECT_EQ(Lines().Count(), 1);
    Lines().Add("b");
    EXPECT_EQ(AllText(), "a\rb\r");
    EXPECT_EQ(Lines().Count(), 2);
    EXPECT_EQ(Lines().Get(0), "a");  // without its break, under every version
    EXPECT_EQ(Lines().Get(1), "b");
  }
}

TEST_F(LinesTest, AppendingAfterTextWithoutABreakAddsOne) {
  edit->SetText("Sit");
  Lines().Add("Stay");
  EXPECT_EQ(AllText(), "Sit\rStay");
  Lines().Insert(0, "Heel");
  EXPECT_EQ(AllText(), "Heel\rSit\rStay");
  Lines().Insert(9, "never");  // far past the end
  Lines().Insert(-1, "never");
  EXPECT_EQ(Lines().Count(), 3);
}

TEST_F(LinesTest, PutAndDeleteKeepTheBreaks) {
  Lines().SetText("Sit\nStay\nDown");
  Lines().Put(1, "Heel");
  EXPECT_EQ(AllText(), "Sit\rHeel\rDown\r");
  Lines().Delete(0);
  EXPECT_EQ(AllText(), "Heel\rDown\r");
  Lines().Delete(2);  // the empty last line: nothing to take
  Lines().Delete(1);
  EXPECT_EQ(AllText(), "Heel\r");
  Lines().Put(5, "x");
  Lines().Put(-1, "x");
  Lines().Delete(-1);
  EXPECT_EQ(AllText(), "Heel\r");
  EXPECT_EQ(Sent(EM_REPLACESEL).back().wParam, 0u);  // the lines' own edits are not undoable
}

TEST_F(LinesTest, LongLinesComeBackWhole) {
  edit->SetWordWrap(false);
  const std::string longLine(5000, 'w');
  Lines().SetText(longLine + "\nend");
  EXPECT_EQ(Lines().Get(0), longLine);
  EXPECT_EQ(Lines().Get(1), "end");
}

TEST_F(LinesTest, EveryKindOfLineBreakLoadsAsOneBreakWhereverChunksEnd) {
  const std::string texts[] = {"ab\ncd\n", "ab\rcd\r", "ab\r\ncd\r\n", "ab\rcd\r\n", "ab\r\ncd\r"};
  for (std::int64_t chunk = 1; chunk <= 4; ++chunk) {
    for (const std::string& text : texts) {
      edit->SetDefaultConverter([chunk] { return std::make_unique<ChunkedConversion>(chunk); });
      LoadPlain(text);
      EXPECT_EQ(AllText(), "ab\rcd\r")
          << "chunk " << chunk << " text " << testing::PrintToString(text);
    }
  }
  LoadPlain("a\r\r\nb");  // a CR before a CR LF is a break of its own
  EXPECT_EQ(Lines().Count(), 3);
}

TEST_F(LinesTest, AZeroByteDoesNotDropTheRestOfItsChunk) {
  edit->SetDefaultConverter([] { return std::make_unique<ChunkedConversion>(64); });
  LoadPlain(std::string("Sit\0Stay\nDown", 13));
  const std::string text = AllText();
  EXPECT_NE(text.find("Stay\rDown"), std::string::npos) << testing::PrintToString(text);
}

TEST_F(LinesTest, LoadingPutsTheCaretAtTheStart) {
  LoadPlain("Sit\nStay\nDown");
  EXPECT_EQ(edit->SelectionStart(), 0);
  EXPECT_EQ(edit->SelectionLength(), 0);
  EXPECT_TRUE(WasSent(EM_SCROLLCARET));
}

TEST_F(LinesTest, SelectionLoadReplacesOnlyTheSelection) {
  edit->SetText("Sit and stay");
  edit->SetSelection(4, 7, ScrollCaret::No);
  edit->SetStreamMode({TRichStreamMode::smSelection});
  LoadPlain("then");
  EXPECT_EQ(Sent(EM_STREAMIN).back().wParam, SF_TEXT | SFF_SELECTION);
  EXPECT_EQ(AllText(), "Sit then stay");
}

TEST_F(LinesTest, FailedRichLoadIsRetriedAsWholePlainText) {
  edit->SetText("Sit and stay");
  edit->SetSelection(4, 7, ScrollCaret::No);
  edit->SetStreamFormat(TRichStreamFormat::sfRichText);
  edit->SetStreamMode({TRichStreamMode::smSelection});
  TStringStream in("xx not rtf");
  in.SetPosition(3);
  Lines().LoadFromStream(in);
  auto loads = Sent(EM_STREAMIN);
  ASSERT_EQ(loads.size(), 2u);
  EXPECT_EQ(loads[0].wParam, SF_RTF | SFF_SELECTION);
  EXPECT_EQ(loads[1].wParam, SF_TEXT);  // the other format, without the modifiers
  EXPECT_EQ(AllText(), "not rtf");      // from where the stream stood, over the whole text
}

TEST_F(LinesTest, UnreadableStreamFailsToLoad) {
  edit->SetDefaultConverter([] { return std::make_unique<ChunkedConversion>(0); });
  TStringStream in("Sit");
  try {
    Lines().LoadFromStream(in);
    FAIL() << "loaded an unreadable stream";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Failed to Load Stream");
  }
}

TEST_F(LinesTest, StreamFlagsFollowFormatAndModes) {
  struct Case {
    TRichStreamFormat format;
    TRichStreamModes modes;
    bool plainText;
    WPARAM load, save;
  };
  using M = TRichStreamMode;
  using F = TRichStreamFormat;
  const Case cases[] = {
      {F::sfDefault, {}, false, SF_RTF, SF_RTF},
      {F::sfDefault, {}, true, SF_TEXT, SF_TEXT},
      {F::sfRichText,
       {M::smNoObjects, M::smPlainRtf},
       true,
       SF_RTF | SFF_PLAINRTF,
       SF_RTFNOOBJS | SFF_PLAINRTF},
      {F::sfPlainText,
       {M::smUnicode, M::smSelection},
       false,
       SF_TEXT | SF_UNICODE | SFF_SELECTION,
       SF_TEXT | SF_UNICODE | SFF_SELECTION},
  };
  for (const Case& c : cases) {
    edit->SetPlainText(c.plainText);
    edit->SetStreamFormat(c.format);
    edit->SetStreamMode(c.modes);
    sent.clear();
    TMemoryStream out;
    Lines().SaveToStream(out);
    out.SetPosition(0);
    Lines().LoadFromStream(out);
    EXPECT_EQ(Sent(EM_STREAMOUT).back().wParam, c.save);
    EXPECT_EQ(Sent(EM_STREAMIN).front().wParam, c.load);
  }
}

TEST_F(LinesTest, WholeTextAssignmentRaisesNoChange) {
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  Lines().SetText("Sit\nStay");
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(Lines().Count(), 2);
  Lines().Add("Down");
  EXPECT_EQ(changes, 1);
  Lines().Put(0, "Heel");
  Lines().Delete(1);
  EXPECT_EQ(changes, 3);
}

TEST_F(LinesTest, AddStringsLeavesTheSelectionHandlerInPlace) {
  int selections = 0;
  edit->OnSelectionChange = [&](TObject*) { ++selections; };
  TStringList list;
  list.SetText("Sit\nStay");
  edit->SetLines(list);
  EXPECT_EQ(selections, 0);
  EXPECT_EQ(Lines().Text(), "Sit\r\nStay\r\n");
  ASSERT_TRUE(edit->OnSelectionChange);
  edit->SetSelection(1, 2, ScrollCaret::No);
  EXPECT_EQ(selections, 1);
}

TEST_F(LinesTest, FileExtensionsChooseTheFormat) {
  QTemporaryDir dir;
  edit->SetText("Good dog");
  edit->SetPlainText(true);
  Lines().SaveToFile(dir.filePath("entry.RTF").toStdString());
  Lines().SaveToFile(dir.filePath("entry.klb").toStdString());
  EXPECT_EQ(ReadFile(dir.filePath("entry.RTF")).rfind("{\\rtf", 0), 0u);
  EXPECT_EQ(ReadFile(dir.filePath("entry.klb")), "Good dog");
  EXPECT_EQ(edit->StreamFormat(), TRichStreamFormat::sfDefault);

  edit->SetPlainText(false);
  WriteFile(dir.filePath("notes.txt"), "{\\rtf1 not read as rtf}");
  Lines().LoadFromFile(dir.filePath("notes.txt").toStdString());
  EXPECT_EQ(AllText(), "{\\rtf1 not read as rtf}");
  Lines().LoadFromFile(dir.filePath("entry.RTF").toStdString());
  EXPECT_EQ(AllText(), "Good dog");
  EXPECT_THROW(Lines().LoadFromFile(dir.filePath("missing.rtf").toStdString()), Exception);
  EXPECT_EQ(edit->StreamFormat(), TRichStreamFormat::sfDefault);  // put back after a failure
}

TEST_F(LinesTest, RichEntryRoundTripsWithItsFormatting) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("20240101120000.klb").toStdString();
  edit->SetText("Sit Stay");
  edit->SetSelection(0, 3, ScrollCaret::No);
  edit->SelectionAttributes().SetStyle({TFontStyle::Bold});
  Lines().SaveToFile(path);
  edit->Clear();
  Lines().LoadFromFile(path);
  EXPECT_EQ(AllText(), "Sit Stay");
  edit->SetSelection(0, 3, ScrollCaret::No);
  EXPECT_TRUE(edit->SelectionAttributes().Style().contains(TFontStyle::Bold));
}

TEST_F(LinesTest, FailedSaveLeavesTheOldFileWhole) {
  QTemporaryDir dir;
  const QString path = dir.filePath("entry.klb");
  WriteFile(path, "the old entry");
  edit->SetText(std::string(100000, 'x'));
  edit->SetDefaultConverter([] { return std::make_unique<ChunkedConversion>(4096, 1000); });
  try {
    Lines().SaveToFile(path.toStdString());
    FAIL() << "a failed save was reported as success";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Failed to Save Stream");
  }
  EXPECT_EQ(ReadFile(path), "the old entry");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);  // no temporary file left
  EXPECT_THROW(Lines().SaveToFile(dir.filePath("none/entry.klb").toStdString()), Exception);
}

TEST_F(LinesTest, RecreationThatCannotSaveKeepsTheWindowAndItsText) {
  edit->SetText("Only copy of today's notes");
  const auto* window = edit->Control();
  edit->SetDefaultConverter([] { return std::make_unique<ChunkedConversion>(4096, 0); });
  EXPECT_THROW(edit->SetSelectionBar(false), Exception);
  EXPECT_EQ(edit->Control(), window);
  EXPECT_TRUE(edit->SelectionBar());  // the setting still matches the window
  EXPECT_EQ(AllText(), "Only copy of today's notes");
}

TEST_F(LinesTest, PlainTextSwitchDropsFormattingAndKeepsText) {
  edit->SetText("Sit Stay");
  edit->SetSelection(0, 3, ScrollCaret::No);
  edit->SelectionAttributes().SetStyle({TFontStyle::Bold});
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  edit->SetPlainText(true);
  EXPECT_TRUE(edit->PlainText());
  EXPECT_EQ(AllText(), "Sit Stay");
  edit->SetSelection(0, 3, ScrollCaret::No);
  EXPECT_FALSE(edit->SelectionAttributes().Style().contains(TFontStyle::Bold));
  edit->SetPlainText(false);
  EXPECT_EQ(AllText(), "Sit Stay");
  EXPECT_EQ(edit->StreamFormat(), TRichStreamFormat::sfDefault);
}

}  // namespace kl::test
