// A person at the keyboard: typing, Enter and Tab, undo and redo, the text limit, paste.

#include <QAbstractScrollArea>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <cstring>
#include <functional>

#include "tests/platform/richedit/RichEditFixture.h"

namespace richedit::test {
namespace {

class WindowTest : public RichEditTest {
 protected:
  // Types "abc" and Enter, then pastes "stay" offered as plain text and as the given RTF.
  void typeBreakThenPaste(const char* rtf) {
    auto* rich = new QMimeData;
    rich->setText(QStringLiteral("stay"));
    rich->setData(QStringLiteral("text/rtf"), QByteArray(rtf));
    QApplication::clipboard()->setMimeData(rich);
    type(QStringLiteral("abc"));
    key(Qt::Key_Return, QStringLiteral("\r"));
    key(Qt::Key_V, QString(), Qt::ControlModifier);
  }
};

TEST_F(WindowTest, TypingEnterAndTab) {
  view()->setFocus();
  type(QStringLiteral("Sit"));
  key(Qt::Key_Return, QStringLiteral("\r"));
  key(Qt::Key_Tab, QStringLiteral("\t"));
  type(QStringLiteral("stay"));
  EXPECT_EQ(range(0, -1), "Sit\r\tstay");
  EXPECT_EQ(send(EM_GETLINECOUNT), 2);
  EXPECT_EQ(send(EM_GETMODIFY), 1);
  key(Qt::Key_Backspace);
  EXPECT_EQ(range(0, -1), "Sit\r\tsta");
  EXPECT_EQ(selection().cpMin, 8);
}

TEST_F(WindowTest, TypedTextTakesTheInsertionPointFormat) {
  type(QStringLiteral("ab"));
  CHARFORMAT2A bold{};
  bold.cbSize = sizeof bold;
  bold.dwMask = CFM_BOLD;
  bold.dwEffects = CFE_BOLD;
  send(EM_SETCHARFORMAT, SCF_SELECTION, &bold);
  type(QStringLiteral("cd"));
  select(2, 4);
  CHARFORMAT2A got{};
  got.cbSize = sizeof got;
  send(EM_GETCHARFORMAT, SCF_SELECTION, &got);
  EXPECT_EQ(got.dwMask & CFM_BOLD, CFM_BOLD);
  EXPECT_TRUE(got.dwEffects & CFE_BOLD);
  select(0, 2);
  send(EM_GETCHARFORMAT, SCF_SELECTION, &got);
  EXPECT_FALSE(got.dwEffects & CFE_BOLD);
}

TEST_F(WindowTest, UndoAndRedoFromTheKeyboard) {
  type(QStringLiteral("heel"));
  key(Qt::Key_Z, QString(), Qt::ControlModifier);
  EXPECT_EQ(range(0, -1), "");
  key(Qt::Key_Y, QString(), Qt::ControlModifier);
  EXPECT_EQ(range(0, -1), "heel");
}

TEST_F(WindowTest, UndoLimitHoldsForTheKeyboard) {
  send(EM_SETUNDOLIMIT, 1);
  type(QStringLiteral("a"));
  key(Qt::Key_Return, QStringLiteral("\r"));
  type(QStringLiteral("b"));
  key(Qt::Key_Return, QStringLiteral("\r"));
  const std::string before = range(0, -1);
  key(Qt::Key_Z, QString(), Qt::ControlModifier);
  const std::string once = range(0, -1);
  EXPECT_NE(once, before);
  key(Qt::Key_Z, QString(), Qt::ControlModifier);
  EXPECT_EQ(range(0, -1), once);  // only one step may be undone
}

// A paste is one step however many edits it makes inside the document.
TEST_F(WindowTest, UndoLimitCountsStepsNotTheEditsInThem) {
  send(EM_SETUNDOLIMIT, 2);
  typeBreakThenPaste("{\\rtf1\\ansi\\pard\\fs20 stay\\par}");
  ASSERT_EQ(range(0, -1), "abc\rstay");
  key(Qt::Key_Z, QString(), Qt::ControlModifier);
  EXPECT_EQ(range(0, -1), "abc\r");
  key(Qt::Key_Z, QString(), Qt::ControlModifier);
  EXPECT_EQ(range(0, -1), "abc");
  EXPECT_EQ(send(EM_CANUNDO), 0);  // the typing lies beyond the two steps kept
  key(Qt::Key_Z, QString(), Qt::ControlModifier);
  EXPECT_EQ(range(0, -1), "abc");
}

TEST_F(WindowTest, TextLimitRefusesTypingAndCutsPaste) {
  send(EM_EXLIMITTEXT, 0, 6);
  type(QStringLiteral("abcdefgh"));
  EXPECT_EQ(range(0, -1), "abcdef");
  select(2, 4);  // "cd" goes, room for two more
  QApplication::clipboard()->setText(QStringLiteral("WXYZ"));
  key(Qt::Key_V, QString(), Qt::ControlModifier);
  EXPECT_EQ(range(0, -1), "abWXef");
}

TEST_F(WindowTest, UndoTakesBackThePasteAloneNotTheBreakTypedBeforeIt) {
  // Bare RTF, and RTF as the control itself copies it (paragraph properties, closing \par).
  for (const char* rtf : {"{\\rtf1\\ansi stay}", "{\\rtf1\\ansi\\pard\\fs20 stay\\par\r\n}"}) {
    SCOPED_TRACE(rtf);
    setText("");
    typeBreakThenPaste(rtf);
    ASSERT_EQ(range(0, -1), "abc\rstay");
    key(Qt::Key_Z, QString(), Qt::ControlModifier);
    EXPECT_EQ(range(0, -1), "abc\r");
    key(Qt::Key_Z, QString(), Qt::ControlModifier);
    EXPECT_EQ(range(0, -1), "abc");
  }
}

TEST_F(WindowTest, CutCopyAndPasteKeepRichText) {
  setText("bold rest");
  select(0, 4);
  CHARFORMAT2A f{};
  f.cbSize = sizeof f;
  f.dwMask = CFM_BOLD;
  f.dwEffects = CFE_BOLD;
  send(EM_SETCHARFORMAT, SCF_SELECTION, &f);
  key(Qt::Key_C, QString(), Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "bold");
  EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("text/rtf")));
  key(Qt::Key_X, QString(), Qt::ControlModifier);
  EXPECT_EQ(range(0, -1), " rest");
  EXPECT_EQ(send(EM_CANPASTE), 1);
  select(5, 5);
  key(Qt::Key_V, QString(), Qt::ControlModifier);
  EXPECT_EQ(range(0, -1), " restbold");
}

TEST_F(WindowTest, DraggingBeyondAWordSelectsWholeWords) {
  setText("sit stay heel");
  auto drag = [&](LONG from, LONG to) {
    select(0, 0);  // a press inside a selection would start dragging it instead
    auto* viewport = static_cast<QAbstractScrollArea*>(view())->viewport();
    auto at = [&](LONG pos) {
      POINT p{};
      send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&p), pos);
      return QPointF(p.x - 1 + 1, p.y + 4);  // client to viewport, just right of the caret spot
    };
    QMouseEvent press(QEvent::MouseButtonPress, at(from), viewport->mapToGlobal(at(from)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent move(QEvent::MouseMove, at(to), viewport->mapToGlobal(at(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, at(to), viewport->mapToGlobal(at(to)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
    return selection();
  };
  CHARRANGE plain = drag(5, 10);
  EXPECT_EQ(plain.cpMin, 5);
  EXPECT_EQ(plain.cpMax, 10);
  send(EM_SETOPTIONS, ECOOP_OR, ECO_AUTOWORDSELECTION);
  CHARRANGE words = drag(5, 10);
  EXPECT_EQ(words.cpMin, 4);
  EXPECT_EQ(words.cpMax, 13);
  CHARRANGE inside = drag(5, 7);
  EXPECT_EQ(inside.cpMin, 5);
  EXPECT_EQ(inside.cpMax, 7);
}

TEST_F(WindowTest, PastedImageBecomesAPictureSavedAsPng) {
  QImage image(4, 3, QImage::Format_RGB32);
  image.fill(Qt::red);
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  const std::pair<const char*, std::function<void(QMimeData&)>> offers[] = {
      {"Qt image", [&](QMimeData& m) { m.setImageData(image); }},
      {"PNG bytes", [&](QMimeData& m) { m.setData(QStringLiteral("image/png"), png); }},
  };
  for (const auto& [what, offer] : offers) {
    SCOPED_TRACE(what);
    send(EM_SETTEXTMODE, TM_RICHTEXT);
    setText("ab");
    select(1, 1);
    auto* mime = new QMimeData;
    offer(*mime);
    QApplication::clipboard()->setMimeData(mime);
    EXPECT_EQ(send(EM_CANPASTE), 1);
    EXPECT_EQ(send(EM_CANPASTE, 8), 1);  // CF_DIB
    EXPECT_EQ(send(EM_CANPASTE, 1), 0);  // CF_TEXT: there is none
    key(Qt::Key_V, QString(), Qt::ControlModifier);
    EXPECT_EQ(send(EM_SELECTIONTYPE), SEL_EMPTY);
    select(1, 2);
    EXPECT_EQ(send(EM_SELECTIONTYPE), SEL_OBJECT);
    std::string rtf;
    EDITSTREAM out{reinterpret_cast<DWORD_PTR>(&rtf), 0,
                   [](DWORD_PTR cookie, BYTE* data, LONG size, LONG* written) -> DWORD {
                     reinterpret_cast<std::string*>(cookie)->append(
                         reinterpret_cast<const char*>(data), size_t(size));
                     *written = size;
                     return 0;
                   }};
    send(EM_STREAMOUT, SF_RTF, &out);
    EXPECT_NE(rtf.find("\\pngblip"), std::string::npos);
    EXPECT_NE(rtf.find("\\picw4\\pich3"), std::string::npos);

    // A plain-text control has nowhere to put a picture.
    setText("");
    send(EM_SETTEXTMODE, TM_PLAINTEXT);
    EXPECT_EQ(send(EM_CANPASTE), 0);
    key(Qt::Key_V, QString(), Qt::ControlModifier);
    EXPECT_EQ(range(0, -1), "");
  }
}

constexpr DWORD kBarTestStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_SAVESEL;

TEST(SelectionBarTest, ClickSelectsTheLineAndDoubleClickTheParagraph) {
  RichEditControl control(kBarTestStyle | ES_SELECTIONBAR);
  control.resize(300, 200);
  control.show();
  std::string first;
  for (int i = 0; i < 30; ++i) first += "word ";
  const std::string text = first + "\rsecond";
  control.Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  ASSERT_GT(control.Perform(EM_GETLINECOUNT, 0, 0), 2);
  QWidget* view = control.focusProxy();
  auto press = [&](QEvent::Type type, LONG lineStart) {
    const LRESULT at = control.Perform(EM_POSFROMCHAR, WPARAM(lineStart), 0);
    const QPointF bar(2, HIWORD(at) + 4);  // in the strip left of the text
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent e(type, bar, view->mapToGlobal(bar), button, held, Qt::NoModifier);
    QApplication::sendEvent(view, &e);
    CHARRANGE r{};
    control.Perform(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
    return r;
  };
  const LONG line1 = LONG(control.Perform(EM_LINEINDEX, 1, 0));
  const LONG line2 = LONG(control.Perform(EM_LINEINDEX, 2, 0));
  CHARRANGE r = press(QEvent::MouseButtonPress, line1);
  EXPECT_EQ(r.cpMin, line1);
  EXPECT_EQ(r.cpMax, line2);
  r = press(QEvent::MouseButtonDblClick, line1);
  EXPECT_EQ(r.cpMin, 0);
  EXPECT_EQ(r.cpMax, LONG(first.size()) + 1);  // with its paragraph mark
  const LONG last = LONG(first.size()) + 1;
  r = press(QEvent::MouseButtonPress, last);
  EXPECT_EQ(r.cpMin, last);
  EXPECT_EQ(r.cpMax, last + 6);

  // Dragging from the bar takes in whole lines, down or up from the first.
  press(QEvent::MouseButtonPress, line1);
  r = press(QEvent::MouseMove, last);
  EXPECT_EQ(r.cpMin, line1);
  EXPECT_EQ(r.cpMax, last + 6);
  r = press(QEvent::MouseMove, 0);
  EXPECT_EQ(r.cpMin, 0);
  EXPECT_EQ(r.cpMax, line2);
  press(QEvent::MouseButtonRelease, 0);

  // Without the style the strip is not there: the same click places the caret in the text.
  RichEditControl plain(kBarTestStyle);
  plain.resize(300, 200);
  plain.show();
  plain.Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  const LRESULT at = plain.Perform(EM_POSFROMCHAR, WPARAM(line1), 0);
  const QPointF p(2, HIWORD(at) + 4);
  auto* viewport = static_cast<QAbstractScrollArea*>(plain.focusProxy())->viewport();
  QMouseEvent e(QEvent::MouseButtonPress, p, viewport->mapToGlobal(p), Qt::LeftButton,
                Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &e);
  CHARRANGE caret{};
  plain.Perform(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  EXPECT_EQ(caret.cpMin, caret.cpMax);
}

TEST_F(WindowTest, ClickInTheSelectionWithoutDraggingPlacesTheCaret) {
  setText("sit stay heel");
  select(4, 8);
  auto* viewport = static_cast<QAbstractScrollArea*>(view())->viewport();
  const LRESULT at = send(EM_POSFROMCHAR, WPARAM(6), 0);
  const QPointF p(LOWORD(at) - 1 + 1, HIWORD(at) + 4);
  QMouseEvent press(QEvent::MouseButtonPress, p, viewport->mapToGlobal(p), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &press);
  EXPECT_EQ(selection().cpMax, 8);  // the press alone keeps the selection, ready to drag it
  QMouseEvent release(QEvent::MouseButtonRelease, p, viewport->mapToGlobal(p), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &release);
  EXPECT_EQ(selection().cpMin, 6);
  EXPECT_EQ(selection().cpMax, 6);
}

// Maximising or restoring the window rewraps the text; what was at the top of the view stays
// in view, however long the entry.
TEST_F(WindowTest, ResizingKeepsTheTextAtTheTopInView) {
  std::string text;
  for (int i = 0; i < 3000; ++i)
    text += "Paragraph " + std::to_string(i) + " sit stay heel down come recall wait leave it\r";
  setText(text);
  auto* edit = qobject_cast<QTextEdit*>(view());
  ASSERT_NE(edit, nullptr);
  QApplication::processEvents();
  const int wanted = edit->document()->findBlockByNumber(1500).position() + 20;
  QTextCursor at(edit->document());
  for (const QSize size : {QSize(300, 200), QSize(900, 700), QSize(250, 180), QSize(600, 400)}) {
    SCOPED_TRACE(size.width());
    at.setPosition(wanted);
    edit->setTextCursor(at);
    edit->ensureCursorVisible();
    QApplication::processEvents();
    const int top = edit->cursorForPosition(QPoint(0, 0)).position();
    control.resize(size);
    QApplication::processEvents();
    at.setPosition(top);
    const QRect shown = edit->cursorRect(at);
    EXPECT_GE(shown.top(), -shown.height()) << "the old top line went above the view";
    EXPECT_LE(shown.bottom(), edit->viewport()->height()) << "the old top line went below";
  }
}

// Typing a line, pasting or inserting a picture at the bottom of the view brings the caret into
// view, whole.
TEST_F(WindowTest, TheCaretStaysInViewWholeAfterEditsAtTheBottom) {
  auto* edit = qobject_cast<QTextEdit*>(view());
  ASSERT_NE(edit, nullptr);
  std::string text;
  for (int i = 0; i < 40; ++i) text += "line " + std::to_string(i) + "\r";
  setText(text);
  view()->setFocus();
  CHARRANGE end{-1, -1};
  end.cpMin = end.cpMax = int(send(WM_GETTEXTLENGTH));
  send(EM_EXSETSEL, 0, &end);
  QApplication::processEvents();
  const auto caretWhole = [&] {
    QApplication::processEvents();
    const QRect caret = edit->cursorRect();
    return caret.top() >= 0 && caret.bottom() < edit->viewport()->height();
  };
  key(Qt::Key_Return, QStringLiteral("\r"));
  type(QStringLiteral("typed"));
  EXPECT_TRUE(caretWhole()) << "after a typed line";

  auto* pasted = new QMimeData;
  pasted->setText(QStringLiteral("one\ntwo\nthree\nfour\nfive\nsix\nseven\neight\nnine\nten"));
  QApplication::clipboard()->setMimeData(pasted);
  key(Qt::Key_V, QString(), Qt::ControlModifier);
  EXPECT_TRUE(caretWhole()) << "after a paste";

  QImage tall(60, 150, QImage::Format_RGB32);
  tall.fill(Qt::darkGreen);
  QApplication::clipboard()->setImage(tall);
  key(Qt::Key_V, QString(), Qt::ControlModifier);
  EXPECT_TRUE(caretWhole()) << "after a picture";

  // The same through the messages the editor component sends for its commands.
  QApplication::clipboard()->setMimeData(pasted = new QMimeData);
  pasted->setText(QStringLiteral("a\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk\nl"));
  send(WM_PASTE);
  EXPECT_TRUE(caretWhole()) << "after WM_PASTE";
  send(EM_REPLACESEL, 1, "1\r2\r3\r4\r5\r6\r7\r8\r9\r10\r11\r12");
  EXPECT_TRUE(caretWhole()) << "after EM_REPLACESEL";
  std::string picture =
      "{\\rtf1{\\pict\\dibitmap0\\picw1\\pich1\\picwgoal1500\\pichgoal1500 "
      "28000000010000000100000001001800000000000400000000000000000000000000"
      "000000000000ff000000}}";
  struct Cookie {
    std::string data;
    std::size_t at = 0;
  } cookie{picture};
  EDITSTREAM in{reinterpret_cast<DWORD_PTR>(&cookie), 0,
                [](DWORD_PTR c, BYTE* buffer, LONG size, LONG* got) -> DWORD {
                  auto* source = reinterpret_cast<Cookie*>(c);
                  const std::size_t n =
                      std::min<std::size_t>(std::size_t(size), source->data.size() - source->at);
                  std::memcpy(buffer, source->data.data() + source->at, n);
                  source->at += n;
                  *got = LONG(n);
                  return 0;
                }};
  send(EM_STREAMIN, SF_RTF | SFF_SELECTION, &in);
  EXPECT_TRUE(caretWhole()) << "after a picture streamed in at the selection";
}

TEST_F(WindowTest, ReadOnlyRefusesTyping) {
  setText("fixed");
  send(EM_SETREADONLY, 1);
  type(QStringLiteral("x"));
  key(Qt::Key_Z, QString(), Qt::ControlModifier);
  EXPECT_EQ(range(0, -1), "fixed");
}

}  // namespace
}  // namespace richedit::test
