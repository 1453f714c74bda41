// Character and paragraph formats through their records, and how they show.

#include <QImage>
#include <QTextEdit>
#include <functional>

#include "tests/platform/richedit/RichEditFixture.h"

namespace richedit::test {
namespace {

CHARFORMAT2A charRecord(DWORD mask = 0, DWORD effects = 0) {
  CHARFORMAT2A f{};
  f.cbSize = sizeof f;
  f.dwMask = mask;
  f.dwEffects = effects;
  return f;
}

PARAFORMAT2 paraRecord(DWORD mask = 0) {
  PARAFORMAT2 p{};
  p.cbSize = sizeof p;
  p.dwMask = mask;
  return p;
}

class FormatTest : public RichEditTest {
 protected:
  CHARFORMAT2A getChar(WPARAM scope) {
    CHARFORMAT2A f = charRecord();
    send(EM_GETCHARFORMAT, scope, &f);
    return f;
  }
  void setChar(WPARAM scope, CHARFORMAT2A f) { send(EM_SETCHARFORMAT, scope, &f); }
  PARAFORMAT2 getPara() {
    PARAFORMAT2 p = paraRecord();
    send(EM_GETPARAFORMAT, 0, &p);
    return p;
  }
  void setPara(PARAFORMAT2 p) { send(EM_SETPARAFORMAT, 0, &p); }
};

TEST_F(FormatTest, DefaultFormatAnswer) {
  const CHARFORMAT2A f = getChar(SCF_DEFAULT);
  EXPECT_EQ(f.dwMask, CFM_ALL2);
  EXPECT_EQ(f.dwEffects, CFE_AUTOCOLOR | CFE_AUTOBACKCOLOR);
  EXPECT_EQ(f.yHeight, 200);
  EXPECT_STREQ(f.szFaceName, "DejaVu Sans");
  CHARFORMATA small{};
  small.cbSize = sizeof small;
  EXPECT_EQ(send(EM_GETCHARFORMAT, SCF_DEFAULT, &small), LRESULT(CFM_ALL));
  EXPECT_EQ(small.dwMask, CFM_ALL);
}

TEST_F(FormatTest, RecordsOfAnotherSizeAreRefused) {
  for (UINT size : {0u, 59u, 61u, 100u}) {
    CHARFORMAT2A f = charRecord(CFM_BOLD, CFE_BOLD);
    f.cbSize = size;
    EXPECT_EQ(send(EM_SETCHARFORMAT, SCF_DEFAULT, &f), 0);
    EXPECT_EQ(send(EM_GETCHARFORMAT, SCF_DEFAULT, &f), 0);
    PARAFORMAT2 p = paraRecord(PFM_ALIGNMENT);
    p.cbSize = size;
    EXPECT_EQ(send(EM_SETPARAFORMAT, 0, &p), 0);
  }
}

TEST_F(FormatTest, SelectionAttributesRoundTrip) {
  setText("kennel notes");
  select(0, 6);
  CHARFORMAT2A f = charRecord(CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT |
                                  CFM_PROTECTED | CFM_COLOR | CFM_SIZE | CFM_FACE | CFM_CHARSET,
                              CFE_BOLD | CFE_UNDERLINE | CFE_PROTECTED);
  f.yHeight = 241;
  f.crTextColor = RGB(200, 10, 20);
  f.bCharSet = 238;
  f.bPitchAndFamily = FIXED_PITCH;
  std::strcpy(f.szFaceName, "DejaVu Sans Mono");
  EXPECT_EQ(send(EM_SETCHARFORMAT, SCF_SELECTION, &f), 1);
  const CHARFORMAT2A got = getChar(SCF_SELECTION);
  EXPECT_EQ(got.dwMask, CFM_ALL2);
  EXPECT_EQ(got.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_PROTECTED |
                             CFE_AUTOCOLOR),
            CFE_BOLD | CFE_UNDERLINE | CFE_PROTECTED);
  EXPECT_EQ(got.yHeight, 241);
  EXPECT_EQ(got.crTextColor, RGB(200, 10, 20));
  EXPECT_EQ(got.bCharSet, 238);
  EXPECT_EQ(got.bPitchAndFamily, FIXED_PITCH);
  EXPECT_STREQ(got.szFaceName, "DejaVu Sans Mono");
  EXPECT_EQ(got.wWeight, 700);

  CHARFORMAT2A weight = charRecord(CFM_WEIGHT);
  weight.wWeight = 600;
  setChar(SCF_SELECTION, weight);
  EXPECT_EQ(getChar(SCF_SELECTION).wWeight, 600);
  EXPECT_EQ(getChar(SCF_SELECTION).dwEffects & CFE_BOLD, 0u);

  setChar(SCF_SELECTION, charRecord(CFM_COLOR, CFE_AUTOCOLOR));
  EXPECT_TRUE(getChar(SCF_SELECTION).dwEffects & CFE_AUTOCOLOR);
}

TEST_F(FormatTest, MixedSelectionClearsMaskAndReportsTheStart) {
  setText("bold plain");
  select(0, 4);
  setChar(SCF_SELECTION, charRecord(CFM_BOLD | CFM_SIZE, CFE_BOLD));
  select(0, 10);
  const CHARFORMAT2A mixed = getChar(SCF_SELECTION);
  EXPECT_EQ(mixed.dwMask & CFM_BOLD, 0u);
  EXPECT_EQ(mixed.dwMask & CFM_ITALIC, CFM_ITALIC);
  EXPECT_EQ(mixed.dwMask & CFM_SIZE, CFM_SIZE);     // no height was given, so it stayed uniform
  EXPECT_EQ(mixed.dwEffects & CFE_BOLD, CFE_BOLD);  // the format at the selection's start

  // Writing bold over the whole selection makes it uniform.
  setChar(SCF_SELECTION, charRecord(CFM_BOLD | CFM_ITALIC, CFE_BOLD));
  EXPECT_EQ(getChar(SCF_SELECTION).dwMask & (CFM_BOLD | CFM_ITALIC), CFM_BOLD | CFM_ITALIC);
}

TEST_F(FormatTest, InsertionPointFormatAppliesToTheNextText) {
  setText("abc");
  select(3, 3);
  setChar(SCF_SELECTION, charRecord(CFM_BOLD, CFE_BOLD));
  EXPECT_EQ(send(EM_GETMODIFY), 0);  // nothing changed yet
  EXPECT_TRUE(getChar(SCF_SELECTION).dwEffects & CFE_BOLD);
  replace("d");
  select(3, 4);
  EXPECT_TRUE(getChar(SCF_SELECTION).dwEffects & CFE_BOLD);
  select(1, 2);
  EXPECT_FALSE(getChar(SCF_SELECTION).dwEffects & CFE_BOLD);

  // Moving away discards a pending format.
  select(1, 1);
  setChar(SCF_SELECTION, charRecord(CFM_ITALIC, CFE_ITALIC));
  select(2, 2);
  select(1, 1);
  replace("x");
  select(1, 2);
  EXPECT_FALSE(getChar(SCF_SELECTION).dwEffects & CFE_ITALIC);
}

TEST_F(FormatTest, WordAtTheCaret) {
  setText("sit stay heel");
  select(6, 6);
  setChar(SCF_SELECTION | SCF_WORD, charRecord(CFM_ITALIC, CFE_ITALIC));
  select(4, 8);
  EXPECT_EQ(getChar(SCF_SELECTION).dwMask & CFM_ITALIC, CFM_ITALIC);
  EXPECT_TRUE(getChar(SCF_SELECTION).dwEffects & CFE_ITALIC);
  select(0, 3);
  EXPECT_FALSE(getChar(SCF_SELECTION).dwEffects & CFE_ITALIC);
  select(10, 10);
  EXPECT_FALSE(getChar(SCF_SELECTION | SCF_WORD).dwEffects & CFE_ITALIC);
}

TEST_F(FormatTest, DefaultFormatChangesUnformattedText) {
  setText("plain");
  CHARFORMAT2A f = charRecord(CFM_SIZE);
  f.yHeight = 400;
  setChar(SCF_DEFAULT, f);
  select(0, 5);
  EXPECT_EQ(getChar(SCF_SELECTION).yHeight, 400);
  EXPECT_EQ(send(EM_GETMODIFY), 0);
}

TEST_F(FormatTest, ParagraphAttributesRoundTrip) {
  setText("first\rsecond");
  select(0, 0);
  for (WORD align : {PFA_RIGHT, PFA_CENTER, PFA_JUSTIFY, PFA_LEFT}) {
    PARAFORMAT2 p = paraRecord(PFM_ALIGNMENT);
    p.wAlignment = align;
    setPara(p);
    EXPECT_EQ(getPara().wAlignment, align);
  }
  PARAFORMAT2 p =
      paraRecord(PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_NUMBERING | PFM_RTLPARA);
  p.dxStartIndent = 300;
  p.dxRightIndent = 150;
  p.dxOffset = 200;
  p.wNumbering = PFN_BULLET;
  p.wEffects = PFE_RTLPARA;
  setPara(p);
  const PARAFORMAT2 got = getPara();
  EXPECT_EQ(got.dxStartIndent, 300);
  EXPECT_EQ(got.dxRightIndent, 150);
  EXPECT_EQ(got.dxOffset, 200);
  EXPECT_EQ(got.wNumbering, PFN_BULLET);
  EXPECT_EQ(got.wEffects, PFE_RTLPARA);
  EXPECT_EQ(got.dwMask, PFM_ALL2);

  PARAFORMAT2 relative = paraRecord(PFM_OFFSETINDENT);
  relative.dxStartIndent = -100;
  setPara(relative);
  EXPECT_EQ(getPara().dxStartIndent, 200);
}

TEST_F(FormatTest, ParagraphRecordReportsAllTheControlHolds) {
  setText("sit\rstay");
  const PARAFORMAT2 fresh = getPara();
  EXPECT_EQ(fresh.dwMask, PFM_ALL2);
  EXPECT_EQ(fresh.wNumbering, 0);
  EXPECT_EQ(fresh.wNumberingStart, 0);  // until a start is set
  EXPECT_EQ(fresh.wNumberingStyle, 0);
  EXPECT_EQ(fresh.wNumberingTab, 0);
  PARAFORMAT small{};
  small.cbSize = sizeof small;
  EXPECT_EQ(send(EM_GETPARAFORMAT, 0, &small), LRESULT(PFM_ALL));

  struct Case {
    const char* what;
    DWORD mask;
    void (*fill)(PARAFORMAT2&);
    bool (*holds)(const PARAFORMAT2&);
  };
  const Case cases[] = {
      {"keep together and with the next", PFM_KEEP | PFM_KEEPNEXT,
       [](PARAFORMAT2& p) { p.wEffects = PFE_KEEP | PFE_KEEPNEXT; },
       [](const PARAFORMAT2& p) { return p.wEffects == (PFE_KEEP | PFE_KEEPNEXT); }},
      {"page break before, no widow control", PFM_PAGEBREAKBEFORE | PFM_NOWIDOWCONTROL,
       [](PARAFORMAT2& p) { p.wEffects = PFE_PAGEBREAKBEFORE | PFE_NOWIDOWCONTROL; },
       [](const PARAFORMAT2& p) {
         return p.wEffects == (PFE_PAGEBREAKBEFORE | PFE_NOWIDOWCONTROL);
       }},
      {"no line numbers, no hyphens, side by side",
       PFM_NOLINENUMBER | PFM_DONOTHYPHEN | PFM_SIDEBYSIDE,
       [](PARAFORMAT2& p) { p.wEffects = PFE_NOLINENUMBER | PFE_DONOTHYPHEN | PFE_SIDEBYSIDE; },
       [](const PARAFORMAT2& p) {
         return p.wEffects == (PFE_NOLINENUMBER | PFE_DONOTHYPHEN | PFE_SIDEBYSIDE);
       }},
      {"style", PFM_STYLE, [](PARAFORMAT2& p) { p.sStyle = 3; },
       [](const PARAFORMAT2& p) { return p.sStyle == 3; }},
      {"shading", PFM_SHADING, [](PARAFORMAT2& p) { p.wShadingWeight = 25, p.wShadingStyle = 2; },
       [](const PARAFORMAT2& p) { return p.wShadingWeight == 25 && p.wShadingStyle == 2; }},
      {"borders", PFM_BORDER,
       [](PARAFORMAT2& p) { p.wBorders = 0x0F, p.wBorderWidth = 30, p.wBorderSpace = 60; },
       [](const PARAFORMAT2& p) {
         return p.wBorders == 0x0F && p.wBorderWidth == 30 && p.wBorderSpace == 60;
       }},
      {"numbering start", PFM_NUMBERINGSTART, [](PARAFORMAT2& p) { p.wNumberingStart = 4; },
       [](const PARAFORMAT2& p) { return p.wNumberingStart == 4; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    setText("sit\rstay");
    select(0, 0);
    PARAFORMAT2 p = paraRecord(c.mask);
    c.fill(p);
    setPara(p);
    const PARAFORMAT2 first = getPara();
    EXPECT_TRUE(c.holds(first));
    EXPECT_EQ(first.dwMask, PFM_ALL2);
    select(0, 8);  // both paragraphs: this one differs
    EXPECT_EQ(getPara().dwMask & c.mask, 0u);
    EXPECT_EQ(getPara().dwMask | c.mask, PFM_ALL2);
    // Cleared again, the paragraph reads as one never given it.
    select(0, 0);
    PARAFORMAT2 none = paraRecord(c.mask);
    setPara(none);
    select(0, 8);
    EXPECT_EQ(getPara().dwMask, PFM_ALL2);
  }
}

TEST_F(FormatTest, ParagraphMarkHasTheFormatInForceAtItsBreak) {
  // "First" and its mark in 8 points; "Second" and its mark in 12.5; "Third" in 13 with its
  // mark after the group in 12.5; "Fourth" in 11 with the final mark.
  setText(
      "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\fs10{\\pard\\fs16 First\\par\n"
      "\\fs25 Second\\par\n{\\fs26 Third}\\par\n{\\fs22 Fourth\\par}}}}");
  ASSERT_EQ(range(0, -1), "First\rSecond\rThird\rFourth");
  struct Case {
    LONG from;
    LONG to;
    LONG height;  // twips
  };
  const Case cases[] = {{5, 6, 160}, {12, 13, 250}, {17, 18, 260}, {18, 19, 250}, {25, 26, 220}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from);
    select(c.from, c.to);
    CHARFORMAT2A f = getChar(SCF_SELECTION);
    EXPECT_EQ(f.yHeight, c.height);
    EXPECT_EQ(f.dwMask & CFM_SIZE, CFM_SIZE);
  }
  // "Third" with its mark is of two sizes.
  select(13, 19);
  EXPECT_EQ(getChar(SCF_SELECTION).dwMask & CFM_SIZE, 0u);
  // A format given to a selection that holds a mark is the mark's too.
  select(13, 19);
  setChar(SCF_SELECTION, charRecord(CFM_BOLD, CFE_BOLD));
  select(18, 19);
  EXPECT_EQ(getChar(SCF_SELECTION).dwEffects & CFE_BOLD, CFE_BOLD);
  select(19, 20);
  EXPECT_EQ(getChar(SCF_SELECTION).dwEffects & CFE_BOLD, 0u);
}

TEST_F(FormatTest, EmptiedParagraphReturnsToTheDefaultFormat) {
  struct Case {
    DWORD style;
    WORD alignment;  // the control's own
  };
  const Case cases[] = {{ES_LEFT, PFA_LEFT},
                        {ES_CENTER, PFA_CENTER},
                        {ES_RIGHT, PFA_RIGHT},
                        {ES_CENTER | ES_RIGHT, PFA_CENTER}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    RichEditControl other(kStyle | c.style);
    other.resize(300, 200);
    other.show();
    auto perform = [&](UINT msg, WPARAM w, auto l) { return other.Perform(msg, w, LPARAM(l)); };
    auto alignment = [&] {
      PARAFORMAT2 p = paraRecord();
      perform(EM_GETPARAFORMAT, 0, &p);
      return p.wAlignment;
    };
    auto alignAll = [&](WORD a) {
      CHARRANGE all{0, -1};
      perform(EM_EXSETSEL, 0, &all);
      PARAFORMAT2 p = paraRecord(PFM_ALIGNMENT);
      p.wAlignment = a;
      perform(EM_SETPARAFORMAT, 0, &p);
      return alignment();
    };
    auto selectAll = [&] {
      CHARRANGE all{0, -1};
      perform(EM_EXSETSEL, 0, &all);
    };
    const WORD other_alignment = c.alignment == PFA_LEFT ? PFA_RIGHT : PFA_LEFT;
    EXPECT_EQ(alignment(), c.alignment);
    perform(WM_SETTEXT, 0, "123");
    EXPECT_EQ(alignment(), c.alignment);  // a new text starts in the default format

    struct Emptying {
      const char* what;
      std::function<void()> act;
      const char* after;
    };
    QWidget* typed = other.focusProxy();
    const Emptying ways[] = {
        {"cut", [&] { selectAll(), perform(WM_CUT, 0, 0); }, ""},
        {"cleared", [&] { selectAll(), perform(WM_CLEAR, 0, 0); }, ""},
        {"replaced", [&] { selectAll(), perform(EM_REPLACESEL, 1, "4"); }, "4"},
        {"typed over",
         [&] {
           selectAll();
           QKeyEvent press(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
           QApplication::sendEvent(typed, &press);
         },
         "5"},
        {"deleted by key",
         [&] {
           selectAll();
           QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
           QApplication::sendEvent(typed, &press);
         },
         ""},
    };
    for (const Emptying& way : ways) {
      SCOPED_TRACE(way.what);
      perform(WM_SETTEXT, 0, "123\r456");
      EXPECT_EQ(alignAll(other_alignment), other_alignment);
      way.act();
      EXPECT_EQ(alignment(), c.alignment);
      char buffer[16] = {};
      perform(WM_GETTEXT, sizeof buffer, buffer);
      EXPECT_STREQ(buffer, way.after);
    }
    // Text deleted without the final mark leaves its paragraph as it was.
    perform(WM_SETTEXT, 0, "123");
    alignAll(other_alignment);
    CHARRANGE text{0, 3};
    perform(EM_EXSETSEL, 0, &text);
    perform(WM_CLEAR, 0, 0);
    EXPECT_EQ(alignment(), other_alignment);
  }
}

TEST_F(FormatTest, RightToLeftParagraphStartsAtTheRight) {
  setText("heel");
  PARAFORMAT2 p = paraRecord(PFM_RTLPARA | PFM_ALIGNMENT);
  p.wEffects = PFE_RTLPARA;
  p.wAlignment = PFA_LEFT;  // the leading edge, which is the right one here
  setPara(p);
  POINT end{};
  send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&end), 4);
  EXPECT_GT(end.x, 200);
  p.wEffects = 0;
  setPara(p);
  send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&end), 4);
  EXPECT_LT(end.x, 100);
}

TEST_F(FormatTest, TabStopsAreCappedAt32) {
  setText("a\tb");
  PARAFORMAT2 p = paraRecord(PFM_TABSTOPS);
  p.cTabCount = 40;
  for (int i = 0; i < MAX_TAB_STOPS; ++i) p.rgxTabs[i] = 720 * (i + 1);
  setPara(p);
  PARAFORMAT2 got = getPara();
  EXPECT_EQ(got.cTabCount, 32);
  EXPECT_EQ(got.rgxTabs[0], 720);
  EXPECT_EQ(got.rgxTabs[31], 720 * 32);
  p.cTabCount = 1;
  setPara(p);
  EXPECT_EQ(getPara().cTabCount, 1);
}

TEST_F(FormatTest, ParagraphsOfTheSelectionAndMixedMask) {
  setText("one\rtwo\rthree");
  select(4, 5);
  PARAFORMAT2 p = paraRecord(PFM_ALIGNMENT | PFM_NUMBERING);
  p.wAlignment = PFA_CENTER;
  p.wNumbering = PFN_ARABIC;
  setPara(p);
  select(0, 13);
  const PARAFORMAT2 mixed = getPara();
  EXPECT_EQ(mixed.dwMask & (PFM_ALIGNMENT | PFM_NUMBERING), 0u);
  EXPECT_EQ(mixed.dwMask & PFM_STARTINDENT, PFM_STARTINDENT);
  EXPECT_EQ(mixed.wAlignment, PFA_LEFT);  // the first paragraph's
  select(8, 8);
  EXPECT_EQ(getPara().wAlignment, PFA_LEFT);
  // A selection ending where a paragraph begins does not reach into it.
  select(0, 4);
  EXPECT_EQ(getPara().dwMask & PFM_ALIGNMENT, PFM_ALIGNMENT);
}

// As on the platform, a paragraph format leaves the flag as it was; the editor component
// marks the entry modified itself when a paragraph changed, so no alignment is lost on close.
TEST_F(FormatTest, ParagraphChangeLeavesTheModifyFlagAsItWas) {
  setText("entry");
  PARAFORMAT2 p = paraRecord(PFM_ALIGNMENT);
  p.wAlignment = PFA_CENTER;
  setPara(p);
  EXPECT_EQ(send(EM_GETMODIFY), 0);
  send(EM_SETMODIFY, 1);
  p.wAlignment = PFA_RIGHT;
  setPara(p);
  EXPECT_EQ(send(EM_GETMODIFY), -1);
}

TEST_F(FormatTest, BulletIsDrawnInTheHangingSpace) {
  setText("walk");
  PARAFORMAT2 p = paraRecord(PFM_NUMBERING | PFM_OFFSET | PFM_STARTINDENT);
  p.wNumbering = PFN_BULLET;
  p.dxStartIndent = 150;
  p.dxOffset = 600;  // text at 750 twips (50 pixels), the bullet before it
  setPara(p);
  QApplication::processEvents();
  const QImage image = view()->grab().toImage();
  auto inkIn = [&](int x0, int x1) {
    int ink = 0;
    for (int y = 0; y < 20; ++y) {
      for (int x = x0; x < x1; ++x) ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    }
    return ink;
  };
  EXPECT_GT(inkIn(8, 40), 0);   // the bullet
  EXPECT_GT(inkIn(50, 90), 0);  // the text starts at start + offset
  POINT at{};
  send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), 0);
  EXPECT_EQ(at.x, 51);
}

TEST_F(FormatTest, HiddenTextTakesNoRoomButKeepsItsPositions) {
  setText("{\\rtf1 a{\\v secret words}b}");
  QApplication::processEvents();
  EXPECT_EQ(range(0, -1), "asecret wordsb");
  const LRESULT afterA = send(EM_POSFROMCHAR, WPARAM(1), 0);
  const LRESULT atB = send(EM_POSFROMCHAR, WPARAM(13), 0);
  EXPECT_EQ(LOWORD(atB), LOWORD(afterA));  // nothing is shown between a and b
  EXPECT_EQ(HIWORD(atB), HIWORD(afterA));
  EXPECT_EQ(send(EM_GETLINECOUNT), 1);

  // The arrow keys go over it as over nothing: one press moves one character shown.
  select(1, 1);
  key(Qt::Key_Right);
  EXPECT_EQ(selection().cpMin, 14);  // past the hidden words and the b
  key(Qt::Key_Left);
  EXPECT_EQ(selection().cpMin, 13);
  key(Qt::Key_Left);
  EXPECT_EQ(selection().cpMin, 0);
  key(Qt::Key_Right, QString(), Qt::ShiftModifier);
  EXPECT_EQ(selection().cpMin, 0);
  EXPECT_EQ(selection().cpMax, 1);
}

TEST_F(FormatTest, StripLeftOfTheTextTakesThePageBackground) {
  send(EM_SETOPTIONS, ECOOP_OR, ECO_SELECTIONBAR);
  send(EM_SETBKGNDCOLOR, 0, RGB(255, 250, 200));
  setText("sit");
  QApplication::processEvents();
  const QImage image = view()->grab().toImage();
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(image.pixelColor(x, 30), QColor(255, 250, 200)) << "x " << x;
  }
}

TEST_F(FormatTest, UnderlineTypesThroughTheRecord) {
  setText("sit stay");
  select(0, 3);
  struct Step {
    DWORD mask, effects;
    BYTE type;
    DWORD wantEffect;
    BYTE wantType;
  } steps[] = {
      {CFM_UNDERLINE, CFE_UNDERLINE, 0, CFE_UNDERLINE, CFU_UNDERLINE},  // the default type
      {CFM_UNDERLINETYPE, 0, CFU_UNDERLINEDOUBLE, CFE_UNDERLINE, CFU_UNDERLINEDOUBLE},
      {CFM_UNDERLINE, CFE_UNDERLINE, 0, CFE_UNDERLINE, CFU_UNDERLINEDOUBLE},  // keeps its type
      {CFM_UNDERLINE | CFM_UNDERLINETYPE, CFE_UNDERLINE, CFU_UNDERLINEWAVE, CFE_UNDERLINE,
       CFU_UNDERLINEWAVE},
      {CFM_UNDERLINE | CFM_UNDERLINETYPE, 0, CFU_UNDERLINEWAVE, 0, 0},
      {CFM_UNDERLINETYPE, 0, 200, CFE_UNDERLINE, CFU_UNDERLINE},  // unknown: a plain line
      {CFM_UNDERLINETYPE, 0, CFU_UNDERLINENONE, 0, 0},
  };
  for (const Step& step : steps) {
    CHARFORMAT2A f = charRecord(step.mask, step.effects);
    f.bUnderlineType = step.type;
    setChar(SCF_SELECTION, f);
    const CHARFORMAT2A got = getChar(SCF_SELECTION);
    EXPECT_EQ(got.dwEffects & CFE_UNDERLINE, step.wantEffect) << int(step.type);
    EXPECT_EQ(got.bUnderlineType, step.wantType) << int(step.type);
  }
  // Two types in the selection clear the type's bit, not the underline's.
  CHARFORMAT2A dbl = charRecord(CFM_UNDERLINETYPE);
  dbl.bUnderlineType = CFU_UNDERLINEDOUBLE;
  setChar(SCF_SELECTION, dbl);
  select(4, 8);
  dbl.bUnderlineType = CFU_UNDERLINEDOTTED;
  setChar(SCF_SELECTION, dbl);
  select(0, 8);
  const CHARFORMAT2A mixed = getChar(SCF_SELECTION);
  EXPECT_EQ(mixed.dwMask & CFM_UNDERLINETYPE, 0u);
  select(3, 4);  // the space between keeps no underline
  EXPECT_EQ(getChar(SCF_SELECTION).bUnderlineType, 0);
}

TEST_F(FormatTest, StrikeHighlightAndSpacingThroughTheRecord) {
  setText("heel");
  select(0, 4);
  CHARFORMAT2A f = charRecord(CFM_STRIKEOUT | CFM_BACKCOLOR | CFM_SPACING, CFE_STRIKEOUT);
  f.crBackColor = RGB(255, 255, 0);
  f.sSpacing = 40;
  setChar(SCF_SELECTION, f);
  CHARFORMAT2A got = getChar(SCF_SELECTION);
  EXPECT_EQ(got.dwEffects & (CFE_STRIKEOUT | CFE_AUTOBACKCOLOR), CFE_STRIKEOUT);
  EXPECT_EQ(got.crBackColor, RGB(255, 255, 0));
  EXPECT_EQ(got.sSpacing, 40);
  EXPECT_EQ(got.dwMask & (CFM_STRIKEOUT | CFM_BACKCOLOR | CFM_SPACING),
            CFM_STRIKEOUT | CFM_BACKCOLOR | CFM_SPACING);

  // What the record set is what a saved stream carries.
  std::string rtf;
  EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&rtf), 0,
                [](DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* done) -> DWORD {
                  reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<char*>(buffer),
                                                                 size_t(cb));
                  *done = cb;
                  return 0;
                }};
  send(EM_STREAMOUT, SF_RTF, &es);
  EXPECT_NE(rtf.find("\\strike"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("\\highlight1"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("\\expndtw40"), std::string::npos) << rtf;

  f = charRecord(CFM_BACKCOLOR | CFM_SPACING, CFE_AUTOBACKCOLOR);
  setChar(SCF_SELECTION, f);
  got = getChar(SCF_SELECTION);
  EXPECT_EQ(got.dwEffects & CFE_AUTOBACKCOLOR, CFE_AUTOBACKCOLOR);
  EXPECT_EQ(got.sSpacing, 0);
  // The small record has no room for these: its mask bits are ignored.
  CHARFORMATA small{};
  small.cbSize = sizeof small;
  small.dwMask = CFM_BACKCOLOR;
  send(EM_SETCHARFORMAT, SCF_SELECTION, &small);
  EXPECT_EQ(getChar(SCF_SELECTION).dwEffects & CFE_AUTOBACKCOLOR, CFE_AUTOBACKCOLOR);
}

TEST_F(FormatTest, ParagraphSpacingThroughTheRecordAndOnScreen) {
  setText("one\rtwo\rthree");
  POINT before{};
  send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&before), 4);
  select(4, 4);
  PARAFORMAT2 p = paraRecord(PFM_SPACEBEFORE | PFM_SPACEAFTER | PFM_LINESPACING);
  p.dySpaceBefore = 300;  // 20 pixels
  p.dySpaceAfter = 150;
  p.bLineSpacingRule = LSR_DOUBLE;
  p.dyLineSpacing = 999;  // no amount for this rule
  setPara(p);
  PARAFORMAT2 got = getPara();
  EXPECT_EQ(got.dySpaceBefore, 300);
  EXPECT_EQ(got.dySpaceAfter, 150);
  EXPECT_EQ(got.bLineSpacingRule, LSR_DOUBLE);
  EXPECT_EQ(got.dyLineSpacing, 0);
  EXPECT_EQ(got.dwMask & (PFM_SPACEBEFORE | PFM_SPACEAFTER | PFM_LINESPACING),
            PFM_SPACEBEFORE | PFM_SPACEAFTER | PFM_LINESPACING);

  POINT second{}, third{};
  send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&second), 4);
  send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&third), 8);
  EXPECT_EQ(second.y, before.y + 20);
  const int lineHeight = before.y;  // the first line starts at 0
  EXPECT_GE(third.y - second.y, 2 * lineHeight + 10 - 1);

  p = paraRecord(PFM_LINESPACING);
  p.bLineSpacingRule = LSR_EXACTLY;
  p.dyLineSpacing = 600;  // 40 pixels
  setPara(p);
  send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&third), 8);
  EXPECT_EQ(third.y - second.y, 40 + 10);
  p.bLineSpacingRule = 9;  // no such rule: ignored
  setPara(p);
  EXPECT_EQ(getPara().bLineSpacingRule, LSR_EXACTLY);
  p.bLineSpacingRule = LSR_ATLEAST;
  p.dyLineSpacing = -5;
  setPara(p);
  EXPECT_EQ(getPara().dyLineSpacing, 0);

  // Over paragraphs that differ, the mask drops what is not uniform.
  select(0, 13);
  got = getPara();
  EXPECT_EQ(got.dwMask & (PFM_SPACEBEFORE | PFM_LINESPACING), 0u);
  // The small record carries none of this.
  PARAFORMAT small{};
  small.cbSize = sizeof small;
  EXPECT_EQ(send(EM_GETPARAFORMAT, 0, &small) & PFM_SPACEBEFORE, 0);
}

}  // namespace
}  // namespace richedit::test
