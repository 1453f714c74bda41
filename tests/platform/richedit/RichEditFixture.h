#pragma once
// A control in a shown window of fixed size and font, so that display lines are the same on
// every run, and a sink that records what the control tells its host.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QKeyEvent>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/richedit/RichEditControl.h"

namespace richedit::test {

struct RecordingSink : RichEditNotifySink {
  struct Note {
    UINT code;
    CHARRANGE range{-1, -1};
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
  };
  std::vector<Note> notes;
  LRESULT protectedAnswer = 0;
  LRESULT saveClipboardAnswer = 0;
  std::function<LRESULT(UINT msg)> filterAnswer;  // EN_MSGFILTER: 0 lets the input through
  std::function<void(UINT code)> whileTold;       // runs inside each notification

  void onCommandNotify(WORD code) override {
    notes.push_back({code});
    if (whileTold) whileTold(code);
  }
  LRESULT onNotify(NMHDR& header) override {
    Note n{header.code};
    if (whileTold) whileTold(header.code);
    switch (header.code) {
      case EN_SELCHANGE:
        n.range = reinterpret_cast<SELCHANGE&>(header).chrg;
        break;
      case EN_PROTECTED: {
        auto& r = reinterpret_cast<ENPROTECTED&>(header);
        n.range = r.chrg;
        n.msg = r.msg;
        notes.push_back(n);
        return protectedAnswer;
      }
      case EN_LINK: {
        auto& r = reinterpret_cast<ENLINK&>(header);
        n.range = r.chrg;
        n.msg = r.msg;
        break;
      }
      case EN_REQUESTRESIZE: {
        auto& r = reinterpret_cast<REQRESIZE&>(header);
        n.range = {r.rc.top, r.rc.bottom};
        break;
      }
      case EN_MSGFILTER: {
        auto& r = reinterpret_cast<MSGFILTER&>(header);
        n.msg = r.msg;
        n.wParam = r.wParam;
        n.lParam = r.lParam;
        notes.push_back(n);
        return filterAnswer ? filterAnswer(r.msg) : 0;
      }
      case EN_SAVECLIPBOARD: {
        auto& r = reinterpret_cast<ENSAVECLIPBOARD&>(header);
        n.range = {r.cObjectCount, r.cch};
        notes.push_back(n);
        return saveClipboardAnswer;
      }
      default:
        break;
    }
    notes.push_back(n);
    return 0;
  }
  int count(UINT code) const {
    int n = 0;
    for (const Note& note : notes) n += note.code == code ? 1 : 0;
    return n;
  }
  void clear() { notes.clear(); }
};

class RichEditTest : public ::testing::Test {
 protected:
  static constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_SAVESEL;

  RichEditTest() : control(kStyle) {
    CHARFORMAT2A f{};
    f.cbSize = sizeof f;
    f.dwMask = CFM_FACE | CFM_SIZE;
    f.yHeight = 200;
    std::strcpy(f.szFaceName, "DejaVu Sans");
    control.Perform(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&f));
    control.resize(300, 200);
    control.show();
    control.setNotifySink(&sink);
  }

  LRESULT send(UINT msg, WPARAM w = 0, LPARAM l = 0) { return control.Perform(msg, w, l); }
  template <typename T>
  LRESULT send(UINT msg, WPARAM w, T* p) {
    return control.Perform(msg, w, reinterpret_cast<LPARAM>(p));
  }

  void setText(const std::string& text) { send(WM_SETTEXT, 0, text.c_str()); }
  std::string text() {
    std::string buffer(size_t(send(WM_GETTEXTLENGTH)) + 1, '\0');
    buffer.resize(size_t(send(WM_GETTEXT, buffer.size(), buffer.data())));
    return buffer;
  }
  std::string range(LONG from, LONG to) {
    std::string buffer(4 * size_t(std::max(to - from, 0) + 64), '\0');
    TEXTRANGEA r{{from, to}, buffer.data()};
    buffer.resize(size_t(send(EM_GETTEXTRANGE, 0, &r)));
    return buffer;
  }
  CHARRANGE selection() {
    CHARRANGE r{};
    send(EM_EXGETSEL, 0, &r);
    return r;
  }
  LRESULT select(LONG from, LONG to) {
    CHARRANGE r{from, to};
    return send(EM_EXSETSEL, 0, &r);
  }
  void replace(const std::string& text, bool canUndo = true) {
    send(EM_REPLACESEL, canUndo ? 1 : 0, text.c_str());
  }
  QWidget* view() { return control.focusProxy(); }
  void key(Qt::Key k, const QString& text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, k, mods, text);
    QApplication::sendEvent(view(), &press);
    QKeyEvent release(QEvent::KeyRelease, k, mods, text);
    QApplication::sendEvent(view(), &release);
  }
  void type(const QString& text) {
    for (QChar ch : text) key(Qt::Key_unknown, QString(ch));
  }

  RecordingSink sink;
  RichEditControl control;
};

}  // namespace richedit::test
