// EM_STREAMIN / EM_STREAMOUT through the callback protocol.

#include <cctype>

#include "tests/platform/richedit/RichEditFixture.h"

namespace richedit::test {
namespace {

// A source or sink the callback works on: hands out or takes at most `chunk` bytes a call,
// and answers `failWith` from call number `failAt` on.
struct Pipe {
  std::string data;
  size_t pos = 0;
  LONG chunk = 1 << 20;
  int calls = 0;
  int failAt = -1;
  DWORD failWith = 0;
  LONG largestAsk = 0;
};

DWORD CALLBACK_in(DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* pcb) {
  auto& p = *reinterpret_cast<Pipe*>(cookie);
  p.largestAsk = std::max(p.largestAsk, cb);
  if (++p.calls == p.failAt) return p.failWith;
  const LONG n = LONG(std::min<size_t>({size_t(cb), size_t(p.chunk), p.data.size() - p.pos}));
  std::memcpy(buffer, p.data.data() + p.pos, size_t(n));
  p.pos += size_t(n);
  *pcb = n;
  return 0;
}

DWORD CALLBACK_out(DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* pcb) {
  auto& p = *reinterpret_cast<Pipe*>(cookie);
  p.largestAsk = std::max(p.largestAsk, cb);
  if (++p.calls == p.failAt) return p.failWith;
  const LONG n = std::min(cb, p.chunk);
  p.data.append(reinterpret_cast<const char*>(buffer), size_t(n));
  *pcb = n;
  return 0;
}

class StreamTest : public RichEditTest {
 protected:
  LRESULT streamIn(WPARAM format, Pipe& pipe, DWORD* error = nullptr) {
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&pipe), 0xDEAD, CALLBACK_in};
    const LRESULT n = send(EM_STREAMIN, format, &es);
    if (error != nullptr) *error = es.dwError;
    return n;
  }
  LRESULT streamOut(WPARAM format, Pipe& pipe, DWORD* error = nullptr) {
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&pipe), 0xDEAD, CALLBACK_out};
    const LRESULT n = send(EM_STREAMOUT, format, &es);
    if (error != nullptr) *error = es.dwError;
    return n;
  }
};

TEST_F(StreamTest, TextInDecodesAsTheBytesAllow) {
  struct Case {
    WPARAM format;
    std::string bytes;
    const char* want;  // as EM_GETTEXTRANGE gives it, UTF-8
  };
  const Case cases[] = {
      {SF_TEXT, "line one\r\nline two", "line one\rline two"},
      {SF_TEXT,
       "\xEF\xBB\xBF"
       "bom",
       "bom"},
      {SF_TEXT, "caf\xE9 \x93quoted\x94",
       "caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D"},  // Windows-1252
      {SF_TEXT | SF_UNICODE, std::string("h\0i\0\r\0", 6), "hi\r"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.want);
    Pipe pipe{c.bytes};
    pipe.chunk = 3;
    DWORD error = 1;
    EXPECT_EQ(streamIn(c.format, pipe, &error), LRESULT(c.bytes.size()));
    EXPECT_EQ(error, 0u);
    EXPECT_EQ(range(0, -1), c.want);
  }
}

TEST_F(StreamTest, WholeTextLoadIsNotUndoableAndLeavesTheCaretAtTheStart) {
  replace("typed");
  sink.clear();
  send(EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
  Pipe pipe{std::string(10000, 'x')};
  EXPECT_EQ(streamIn(SF_TEXT, pipe), 10000);
  EXPECT_EQ(pipe.largestAsk, 4096);
  EXPECT_GE(pipe.calls, 4);  // three full buffers and the call that delivers nothing
  EXPECT_EQ(send(EM_CANUNDO), 0);
  EXPECT_EQ(send(EM_GETMODIFY), -1);
  EXPECT_EQ(selection().cpMin, 0);
  EXPECT_EQ(selection().cpMax, 0);
  EXPECT_EQ(sink.count(EN_CHANGE), 1);
}

TEST_F(StreamTest, SelectionLoadReplacesOnlyTheSelectionAndCanBeUndone) {
  setText("before after");
  select(7, 12);
  Pipe pipe{"later"};
  EXPECT_EQ(streamIn(SF_TEXT | SFF_SELECTION, pipe), 5);
  EXPECT_EQ(range(0, -1), "before later");
  EXPECT_EQ(send(EM_UNDO), 1);
  EXPECT_EQ(range(0, -1), "before after");
}

TEST_F(StreamTest, FailingCallbackLeavesTheTextAndReportsIt) {
  setText("keep me");
  Pipe pipe{std::string(9000, 'y')};
  pipe.failAt = 2;
  pipe.failWith = 7;
  DWORD error = 0;
  EXPECT_EQ(streamIn(SF_TEXT, pipe, &error), 0);
  EXPECT_EQ(error, 7u);
  EXPECT_EQ(range(0, -1), "keep me");
}

TEST_F(StreamTest, RtfOfSomethingElseEmptiesTheControl) {
  setText("old text");
  Pipe pipe{"plain words"};
  DWORD error = 0;
  EXPECT_EQ(streamIn(SF_RTF, pipe, &error), 0);
  EXPECT_EQ(error, DWORD(-16));
  EXPECT_EQ(send(WM_GETTEXTLENGTH), 0);
}

// RTF answers the characters it put into the control, text the bytes it read; a stream into
// the selection keeps its final paragraph break, one that replaces everything swallows it.
TEST_F(StreamTest, StreamInAnswersWhatItPutIn) {
  struct Case {
    WPARAM format;
    const char* start;  // the text before, all of it selected
    std::string bytes;
    LRESULT answer;
    const char* want;
    LRESULT lengthWithCrLf;  // WM_GETTEXTLENGTH afterwards
  };
  const Case cases[] = {
      {SF_RTF, "", "{\\rtf1\\fi100\\li200\\rtlpar\\qr TestSomeText}", 12, "TestSomeText", 12},
      {SF_RTF, "", "{\\rtf1 TestSomeText\\par}", 12, "TestSomeText", 12},
      {SF_RTF, "", "{\\rtf1 TestSomeText\\par\\par}", 13, "TestSomeText\r", 14},
      {SF_RTF | SFF_SELECTION, "old text", "{\\rtf1 TestSomeText\\par}", 13, "TestSomeText\r", 14},
      {SF_RTF | SFF_SELECTION, "old", "{\\rtf1 TestSomeText}", 12, "TestSomeText", 12},
      {SF_TEXT, "", "TestSomeText", 12, "TestSomeText", 12},
      {SF_TEXT, "", "caf\xC3\xA9", 5, "caf\xC3\xA9", 5},  // bytes, not characters
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    setText(c.start);
    select(0, -1);
    Pipe pipe{c.bytes};
    pipe.chunk = 4;
    DWORD error = 1;
    EXPECT_EQ(streamIn(c.format, pipe, &error), c.answer);
    EXPECT_EQ(error, 0u);
    EXPECT_EQ(range(0, -1), c.want);
    EXPECT_EQ(send(WM_GETTEXTLENGTH), c.lengthWithCrLf);
  }
}

// Inserted into the middle of a paragraph, the fragment's final break splits it.
TEST_F(StreamTest, SelectionStreamKeepsTheFragmentsLastBreak) {
  setText("abcdef");
  select(3, 3);
  Pipe pipe{"{\\rtf1 X\\par}"};
  EXPECT_EQ(streamIn(SF_RTF | SFF_SELECTION, pipe), 2);
  EXPECT_EQ(range(0, -1), "abcX\rdef");
}

TEST_F(StreamTest, TextOutWritesCrLf) {
  setText("TestSomeText\r");
  Pipe pipe;
  DWORD error = 1;
  EXPECT_EQ(streamOut(SF_TEXT, pipe, &error), 14);
  EXPECT_EQ(error, 0u);
  EXPECT_EQ(pipe.data, "TestSomeText\r\n");
  EXPECT_EQ(pipe.calls, 1);

  Pipe wide;
  select(0, 4);
  EXPECT_EQ(streamOut(SF_TEXT | SF_UNICODE | SFF_SELECTION, wide), 8);
  EXPECT_EQ(wide.data, std::string("T\0e\0s\0t\0", 8));
}

TEST_F(StreamTest, OutputErrorsStopTheStream) {
  setText(std::string(9000, 'z'));
  Pipe pipe;
  pipe.failAt = 2;
  pipe.failWith = 2;
  DWORD error = 0;
  EXPECT_EQ(streamOut(SF_TEXT, pipe, &error), 4096);
  EXPECT_EQ(error, 2u);
  Pipe stalled;
  stalled.chunk = 0;
  EXPECT_EQ(streamOut(SF_TEXT, stalled, &error), 0);
  EXPECT_NE(error, 0u);
}

// A callback that takes fewer bytes than offered ends the stream: nothing is offered twice,
// so the output never holds a piece twice over.
TEST_F(StreamTest, ShortWriteEndsTheStream) {
  for (const WPARAM format : {WPARAM(SF_TEXT), WPARAM(SF_RTF)}) {
    SCOPED_TRACE(format);
    setText("TestSomeText");
    Pipe pipe;
    pipe.chunk = 1;
    DWORD error = 1;
    EXPECT_EQ(streamOut(format, pipe, &error), 0);
    EXPECT_EQ(pipe.calls, 1);
    EXPECT_EQ(pipe.data.size(), 1u);
  }
}

TEST_F(StreamTest, RtfOutWritesTheBreaksInTheRange) {
  struct Case {
    const char* text;
    LONG from, to;  // -2: the whole document, not the selection
    int pars;
  };
  const Case cases[] = {
      {"TestSomeText", -2, -2, 1},  // the whole document ends with its mark
      {"TestSomeText", 0, 12, 0},   // a selection without the mark has none
      {"TestSomeText\r", 0, 13, 1}, {"TestSomeText\r", 0, 5, 0},
      {"TestSomeText", 0, -1, 1},  // everything selected takes the final mark in
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " " << c.from << "," << c.to);
    setText(c.text);
    WPARAM format = SF_RTF;
    if (c.from != -2) {
      select(c.from, c.to);
      format |= SFF_SELECTION;
    }
    Pipe pipe;
    streamOut(format, pipe);
    std::size_t pars = 0;
    for (std::size_t at = pipe.data.find("\\par"); at != std::string::npos;
         at = pipe.data.find("\\par", at + 1)) {
      const char next = at + 4 < pipe.data.size() ? pipe.data[at + 4] : ' ';
      if (!std::isalpha(static_cast<unsigned char>(next))) ++pars;  // not \pard
    }
    EXPECT_EQ(int(pars), c.pars);
  }
}

TEST_F(StreamTest, RtfOutIsADocument) {
  setText("entry");
  Pipe pipe;
  EXPECT_GT(streamOut(SF_RTF, pipe), 0);
  EXPECT_EQ(pipe.data.rfind("{\\rtf", 0), 0u);
}

}  // namespace
}  // namespace richedit::test
