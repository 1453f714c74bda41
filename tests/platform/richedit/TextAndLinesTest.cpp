// Whole text, ranges and display lines, as the platform's control answers them.

#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include "platform/richedit/ParagraphLayout.h"
#include "tests/platform/richedit/RichEditFixture.h"

namespace richedit::test {
namespace {

using TextTest = RichEditTest;

TEST_F(TextTest, BreaksBecomeOneCharacterAndReadBackAsCrLf) {
  struct Case {
    const char* in;
    const char* whole;   // WM_GETTEXT
    const char* ranged;  // EM_GETTEXTRANGE {0, -1}
    LRESULT positions;   // EM_GETTEXTLENGTHEX characters
  };
  const Case cases[] = {
      {"a\rb", "a\r\nb", "a\rb", 3},
      {"a\nb", "a\r\nb", "a\rb", 3},
      {"a\r\nb", "a\r\nb", "a\rb", 3},
      {"X\r\r\nY", "X Y", "X Y", 3},
      {"caf\xC3\xA9\r", "caf\xC3\xA9\r\n", "caf\xC3\xA9\r", 5},
      {"", "", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(send(WM_SETTEXT, 0, c.in), 1);
    EXPECT_EQ(text(), c.whole);
    EXPECT_EQ(send(WM_GETTEXTLENGTH), LRESULT(std::strlen(c.whole)));
    EXPECT_EQ(range(0, -1), c.ranged);
    GETTEXTLENGTHEX ask{GTL_NUMCHARS | GTL_PRECISE, 0};
    EXPECT_EQ(send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&ask), 0), c.positions);
  }
}

TEST_F(TextTest, TextLengthCountsBreaksAsAskedFor) {
  setText("a\rtest\rstring");
  GETTEXTLENGTHEX chars{GTL_NUMCHARS | GTL_PRECISE, 0};
  GETTEXTLENGTHEX crlf{GTL_NUMCHARS | GTL_PRECISE | GTL_USECRLF, 0};
  EXPECT_EQ(send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&chars), 0), 13);
  EXPECT_EQ(send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&crlf), 0), 15);
}

TEST_F(TextTest, SetTextKeepsModifyFlagAndClearsUndo) {
  replace("typed");
  ASSERT_EQ(send(EM_GETMODIFY), -1);
  send(EM_SETMODIFY, 0);
  setText("loaded");
  EXPECT_EQ(send(EM_GETMODIFY), 0);
  EXPECT_EQ(send(EM_CANUNDO), 0);
  EXPECT_EQ(selection().cpMin, 0);
}

TEST_F(TextTest, SetTextReadsRtf) {
  setText("{\\rtf sometext}");
  EXPECT_EQ(range(0, -1), "sometext");
}

TEST_F(TextTest, TextRangeClampsAndRefusesBadRanges) {
  setText("foo bar\r\nfoo bar");
  struct Case {
    LONG from, to;
    const char* want;
  };
  const Case cases[] = {
      {4, 11, "bar\rfoo"}, {0, -1, "foo bar\rfoo bar"},
      {12, 100, "bar"},    {-1, 5, ""},
      {1, -1, ""},         {3, 3, ""},
      {5, 2, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << "," << c.to);
    EXPECT_EQ(range(c.from, c.to), c.want);
  }
}

TEST_F(TextTest, GetTextCutsToTheBufferWithoutSplittingACharacter) {
  setText("ab\xC3\xA9z");
  char buffer[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(send(WM_GETTEXT, 4, buffer), 2);  // "ab" and the zero; the two-byte letter does not fit
  EXPECT_STREQ(buffer, "ab");
  EXPECT_EQ(send(WM_GETTEXT, 0, buffer), 0);
}

TEST_F(TextTest, ReplaceSelectionAnswersLengthAndNullDeletes) {
  setText("hello world");
  select(0, 5);
  EXPECT_EQ(send(EM_REPLACESEL, 1, "bye"), 3);
  EXPECT_EQ(range(0, -1), "bye world");
  EXPECT_EQ(selection().cpMin, 3);
  select(3, 9);
  send(EM_REPLACESEL, 1, LPARAM(0));
  EXPECT_EQ(range(0, -1), "bye");
  EXPECT_EQ(send(EM_GETMODIFY), -1);
}

// The answer is the length of the string passed, before its line breaks fold into one each.
TEST_F(TextTest, ReplaceSelectionAnswersTheLengthPassed) {
  struct Case {
    const char* text;
    LRESULT answer;
    const char* want;
  };
  for (const Case c : {Case{"a\r\nb", 4, "a\rb"}, Case{"x\ny\rz", 5, "x\ry\rz"}, Case{"", 0, ""}}) {
    setText("");
    EXPECT_EQ(send(EM_REPLACESEL, 1, c.text), c.answer);
    EXPECT_EQ(range(0, -1), c.want);
  }
}

// A range refused answers 0 and leaves the caller's buffer as it was.
TEST_F(TextTest, RefusedTextRangeLeavesTheBuffer) {
  setText("foo bar\r\nfoo bar");
  struct Case {
    LONG from, to;
    LRESULT answer;
  };
  for (const Case c :
       {Case{-1, 3, 0}, Case{1, -1, 0}, Case{4, 4, 0}, Case{6, 2, 0}, Case{4, 11, 7}}) {
    SCOPED_TRACE(testing::Message() << c.from << "," << c.to);
    char buffer[32];
    std::memset(buffer, '#', sizeof buffer);
    TEXTRANGEA r{{c.from, c.to}, buffer};
    EXPECT_EQ(send(EM_GETTEXTRANGE, 0, &r), c.answer);
    if (c.answer == 0) {
      EXPECT_EQ(buffer[0], '#');
    }
  }
}

TEST_F(TextTest, SetTextClearsTheModifyFlag) {
  replace("typed");
  ASSERT_EQ(send(EM_GETMODIFY), -1);
  for (const char* text : {"plain", "{\\rtf1 rich}"}) {
    send(EM_SETMODIFY, 1);
    setText(text);
    EXPECT_EQ(send(EM_GETMODIFY), 0);
  }
}

TEST_F(TextTest, TextLimitCutsReplacementButNotSetText) {
  EXPECT_EQ(send(EM_GETLIMITTEXT), 32767);
  send(EM_EXLIMITTEXT, 0, 5);
  setText("longer than five");
  EXPECT_EQ(range(0, -1), "longer than five");  // WM_SETTEXT ignores the limit
  setText("abc");
  select(3, 3);
  EXPECT_EQ(send(EM_REPLACESEL, 1, "defgh"), 5);  // the length passed, not what fitted
  EXPECT_EQ(range(0, -1), "abcde");
  send(EM_EXLIMITTEXT, 0, 0);
  EXPECT_EQ(send(EM_GETLIMITTEXT), 65536);
}

using LinesTest = RichEditTest;

TEST_F(LinesTest, LineCountOfShortTexts) {
  const std::pair<const char*, LRESULT> cases[] = {
      {"", 1}, {"RichEdit1", 1}, {"RichEdit1\r", 2}, {"\r\r", 3}, {"a\rb\rc", 3}};
  for (auto [in, lines] : cases) {
    SCOPED_TRACE(in);
    setText(in);
    EXPECT_EQ(send(EM_GETLINECOUNT), lines);
  }
}

TEST_F(LinesTest, GetLineCopiesWithBreakUpToCapacity) {
  setText("foo bar\n\nbar\n");
  const std::pair<int, const char*> cases[] = {
      {0, "foo bar\r"}, {1, "\r"}, {2, "bar\r"}, {3, "\r"}};
  for (auto [line, want] : cases) {
    SCOPED_TRACE(line);
    char buffer[64] = {};
    const WORD capacity = sizeof buffer;
    std::memcpy(buffer, &capacity, sizeof capacity);
    EXPECT_EQ(send(EM_GETLINE, line, buffer), LRESULT(std::strlen(want)));
    EXPECT_EQ(std::string(buffer, std::strlen(want)), want);
  }
  char small[8] = {2, 0, 'x', 'x', 'x', 'x', 'x', 'x'};
  EXPECT_EQ(send(EM_GETLINE, 0, small), 2);
  EXPECT_EQ(std::string(small, 3), "fox");  // no terminating zero
  char none[4] = {0, 0, 'x', 'x'};
  EXPECT_EQ(send(EM_GETLINE, 0, none), 0);
  char beyond[8] = {8, 0};
  EXPECT_EQ(send(EM_GETLINE, 9, beyond), 0);
}

TEST_F(LinesTest, IndexLengthAndLineFromChar) {
  setText("one\rtwo two\r");
  EXPECT_EQ(send(EM_LINEINDEX, 0), 0);
  EXPECT_EQ(send(EM_LINEINDEX, 1), 4);
  EXPECT_EQ(send(EM_LINEINDEX, 2), 12);
  EXPECT_EQ(send(EM_LINEINDEX, 3), -1);
  EXPECT_EQ(send(EM_LINELENGTH, 1), 3);
  EXPECT_EQ(send(EM_LINELENGTH, 5), 7);
  EXPECT_EQ(send(EM_LINELENGTH, 99), 0);
  EXPECT_EQ(send(EM_EXLINEFROMCHAR, 0, 0), 0);
  EXPECT_EQ(send(EM_EXLINEFROMCHAR, 0, 4), 1);
  EXPECT_EQ(send(EM_EXLINEFROMCHAR, 0, 12), 2);
  EXPECT_EQ(send(EM_EXLINEFROMCHAR, 0, 500), 2);
  EXPECT_EQ(send(EM_LINEFROMCHAR, 5), 1);
  select(6, 6);
  EXPECT_EQ(send(EM_LINEINDEX, WPARAM(-1)), 4);  // the caret's line
}

TEST_F(LinesTest, WrappedParagraphSpansDisplayLines) {
  std::string para;
  for (int i = 0; i < 40; ++i) para += "word ";
  setText(para + "\rtail");
  const LRESULT lines = send(EM_GETLINECOUNT);
  ASSERT_GT(lines, 3);  // the long paragraph wraps at 300 pixels
  LONG expectedStart = 0;
  for (LRESULT line = 0; line + 1 < lines; ++line) {
    const LRESULT start = send(EM_LINEINDEX, WPARAM(line));
    EXPECT_EQ(start, expectedStart);
    EXPECT_EQ(send(EM_EXLINEFROMCHAR, 0, start), line);
    expectedStart = LONG(start + send(EM_LINELENGTH, WPARAM(start)));
    if (line + 2 < lines) {
      EXPECT_EQ(range(LONG(start), expectedStart).back(), ' ');
    }
  }
  EXPECT_EQ(expectedStart, LONG(para.size()));  // the paragraph's lines cover it exactly
  EXPECT_EQ(send(EM_LINEINDEX, WPARAM(lines - 1)), LRESULT(para.size() + 1));
  char buffer[16] = {16, 0};
  EXPECT_EQ(send(EM_GETLINE, WPARAM(lines - 1), buffer), 5);  // "tail" and its paragraph mark

  // A narrower window wraps into more lines.
  control.resize(150, 200);
  QApplication::processEvents();
  EXPECT_GT(send(EM_GETLINECOUNT), lines);
}

TEST_F(LinesTest, LinesFollowEdits) {
  setText("a\rb");
  select(1, 1);
  replace("\rmiddle");
  EXPECT_EQ(send(EM_GETLINECOUNT), 3);
  EXPECT_EQ(send(EM_LINEINDEX, 2), 9);
  select(0, 9);
  replace("");
  EXPECT_EQ(send(EM_GETLINECOUNT), 1);
  EXPECT_EQ(send(EM_LINELENGTH, 0), 1);
}

TEST_F(LinesTest, LineMapStaysRightAfterEditsInALongText) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "paragraph " + std::to_string(i) + "\r";
  setText(text);
  const LRESULT lines = send(EM_GETLINECOUNT);
  const LRESULT lastStart = send(EM_LINEINDEX, WPARAM(lines - 1));
  select(5000, 5000);
  replace("\r");
  EXPECT_EQ(send(EM_GETLINECOUNT), lines + 1);
  EXPECT_EQ(send(EM_LINEINDEX, WPARAM(lines)), lastStart + 1);
  EXPECT_EQ(send(EM_EXLINEFROMCHAR, 0, lastStart + 1), lines);
  replace("more words");  // within one paragraph
  EXPECT_EQ(send(EM_LINEINDEX, WPARAM(lines)), lastStart + 11);
  select(0, 5001);
  replace("");
  EXPECT_EQ(send(EM_LINEINDEX, WPARAM(send(EM_GETLINECOUNT) - 1)), lastStart + 11 - 5001);
}

TEST_F(LinesTest, LongTextIsLaidOutOnlyAsFarAsAsked) {
  auto* layout =
      dynamic_cast<ParagraphLayout*>(static_cast<QTextEdit*>(view())->document()->documentLayout());
  ASSERT_NE(layout, nullptr);
  std::string text;
  std::string wrapping;
  for (int i = 0; i < 30; ++i) wrapping += "heel ";
  for (int i = 0; i < 3000; ++i)
    text += (i % 3 == 0 ? wrapping : "sit " + std::to_string(i)) + "\r";
  setText(text);
  EXPECT_GT(layout->paragraphsNotLaidOut(), 2500u);
  EXPECT_EQ(send(EM_EXLINEFROMCHAR, 0, 0), 0);
  EXPECT_GT(layout->paragraphsNotLaidOut(), 2500u);  // the first line needs the first paragraph

  // Answers far into the text are those of the full layout.
  const LONG late = LONG(text.size()) - 3;
  const LRESULT lineOfLate = send(EM_EXLINEFROMCHAR, 0, late);
  const LRESULT startOfLate = send(EM_LINEINDEX, WPARAM(lineOfLate));
  const LRESULT lines = send(EM_GETLINECOUNT);
  EXPECT_EQ(layout->paragraphsNotLaidOut(), 0u);
  setText(text);
  EXPECT_EQ(send(EM_GETLINECOUNT), lines);
  EXPECT_EQ(send(EM_EXLINEFROMCHAR, 0, late), lineOfLate);
  EXPECT_EQ(send(EM_LINEINDEX, WPARAM(lineOfLate)), startOfLate);
  EXPECT_EQ(range(LONG(startOfLate), late), "sit 29");

  // Idle time lays out the rest; the document's height is then that of its paragraphs.
  setText(text);
  for (int i = 0; i < 10000 && layout->paragraphsNotLaidOut() > 0; ++i) {
    QApplication::processEvents();
  }
  ASSERT_EQ(layout->paragraphsNotLaidOut(), 0u);
  QTextDocument* doc = static_cast<QTextEdit*>(view())->document();
  const QRectF last = layout->blockBoundingRect(doc->lastBlock());
  EXPECT_DOUBLE_EQ(layout->documentSize().height(), last.bottom() + doc->documentMargin());
}

TEST_F(LinesTest, TextShownStaysInPlaceWhileTheRestIsLaidOut) {
  auto* edit = static_cast<QTextEdit*>(view());
  auto* layout = dynamic_cast<ParagraphLayout*>(edit->document()->documentLayout());
  ASSERT_NE(layout, nullptr);
  std::string text;
  for (int i = 0; i < 3000; ++i) {
    text += "Walk " + std::to_string(i) + (i % 2 ? " wide wide wide wide wide wide wide\r" : "\r");
  }
  setText(text);
  QApplication::processEvents();
  const double estimated = layout->documentSize().height();
  QScrollBar* bar = edit->verticalScrollBar();
  bar->setValue(bar->maximum() / 2);
  QApplication::processEvents();
  const int shown = edit->cursorForPosition(QPoint(0, 0)).blockNumber();
  ASSERT_GT(shown, 100);
  for (int i = 0; i < 10000 && layout->paragraphsNotLaidOut() > 0; ++i) {
    QApplication::processEvents();
  }
  ASSERT_EQ(layout->paragraphsNotLaidOut(), 0u);
  ASSERT_NE(layout->documentSize().height(), estimated);  // the estimate was not the truth
  EXPECT_EQ(edit->cursorForPosition(QPoint(0, 0)).blockNumber(), shown);
}

// Edits that keep a paragraph's height, edits that change it, and a run of edits with redraw
// off (as Replace All makes them) leave every paragraph where a fresh layout of the same text
// puts it.
TEST_F(LinesTest, EditedTextLaysOutAsTheSameTextLoadedFresh) {
  auto* edit = static_cast<QTextEdit*>(view());
  auto* layout = dynamic_cast<ParagraphLayout*>(edit->document()->documentLayout());
  ASSERT_NE(layout, nullptr);
  std::string text;
  for (int i = 0; i < 300; ++i)
    text += "Rex met a dog " + std::string(std::size_t(i % 7) * 9, 'w') + " at the gate\r";
  auto layAllOut = [&] {
    for (int i = 0; i < 10000 && layout->paragraphsNotLaidOut() > 0; ++i)
      QApplication::processEvents();
    ASSERT_EQ(layout->paragraphsNotLaidOut(), 0u);
  };
  auto tops = [&] {
    std::vector<double> all;
    for (QTextBlock b = edit->document()->firstBlock(); b.isValid(); b = b.next())
      all.push_back(layout->blockBoundingRect(b).top());
    all.push_back(layout->documentSize().height());
    return all;
  };
  auto replaceDogs = [&](int from, int count, const std::string& by) {
    for (int n = 0; n < count; ++n) {
      FINDTEXTEXA find{{from, -1}, "dog", {0, 0}};
      if (send(EM_FINDTEXTEX, FR_DOWN, &find) < 0) return;
      select(find.chrgText.cpMin, find.chrgText.cpMax);
      send(EM_REPLACESEL, 1, by.c_str());
      from = find.chrgText.cpMin + LONG(by.size());
    }
  };
  setText(text);
  layAllOut();
  replaceDogs(0, 40, "pup");                                 // the same height
  replaceDogs(2000, 20, "big dog " + std::string(60, 'x'));  // wraps anew
  send(WM_SETREDRAW, 0);
  replaceDogs(6000, 150, "hound");
  send(WM_SETREDRAW, 1);
  layAllOut();
  const std::vector<double> edited = tops();
  const std::string now = this->text();
  ASSERT_NE(now.find("hound"), std::string::npos);
  setText(now);
  layAllOut();
  EXPECT_EQ(tops(), edited);
}

}  // namespace
}  // namespace richedit::test

namespace richedit::test {
namespace {

// The length is kept per paragraph between edits; after every kind of edit it must still be
// the length of what WM_GETTEXT gives.
TEST_F(RichEditTest, TextLengthFollowsEveryEdit) {
  setText("one\rtwo \xC3\xA9t\xC3\xA9\rthree");
  const auto same = [&](const char* step) {
    SCOPED_TRACE(step);
    EXPECT_EQ(send(WM_GETTEXTLENGTH), LRESULT(text().size()));
  };
  same("set");
  select(2, 6);  // across a paragraph break
  replace("\xF0\x9F\x90\x95\r\r");
  same("replace across a break");
  select(0, 0);
  replace("\xE7\x8A\xAC");
  same("insert at the start");
  select(3, -1);
  replace("");
  same("delete to the end");
  select(0, -1);
  replace("a\rb\rc");
  same("replace all");
  send(EM_UNDO);
  same("undo");
}

}  // namespace
}  // namespace richedit::test
