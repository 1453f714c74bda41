// EN_MSGFILTER: with ENM_KEYEVENTS or ENM_MOUSEEVENTS (ENM_SCROLLEVENTS for the wheel) the host
// hears of each key and mouse message before the control acts on it, and a non-zero answer
// keeps the control from acting on it at all. A record the host changes is not acted on in its
// changed form: the answer alone decides.

#include <QKeyEvent>
#include <QWheelEvent>

#include "platform/richedit/InputMessages.h"
#include "platform/richedit/RichEditEngine.h"
#include "platform/richedit/RichEditView.h"

namespace richedit {

namespace {

constexpr LPARAM kKeyDownParam = 1;                  // repeat count 1
constexpr LPARAM kKeyUpParam = LPARAM(0xC0000001u);  // released, and down before

}  // namespace

bool RichEditEngine::hostTakesInput(DWORD maskBits, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!notifier_.wants(maskBits)) return false;
  MSGFILTER record{};
  record.msg = msg;
  record.wParam = wParam;
  record.lParam = lParam;
  return notifier_.notify(record, EN_MSGFILTER) != 0;
}

bool RichEditEngine::hostTakesKey(UINT msg, const QKeyEvent& event) {
  const WPARAM w = msg == WM_CHAR ? typedCharacter(event) : virtualKey(event);
  return hostTakesInput(ENM_KEYEVENTS, msg, w, msg == WM_KEYUP ? kKeyUpParam : kKeyDownParam);
}

bool RichEditEngine::hostTakesMouse(UINT msg, const QPoint& viewportPos, Qt::KeyboardModifiers mods,
                                    Qt::MouseButtons buttons) {
  if (msg == 0) return false;
  const QPoint client = view_.viewport()->mapTo(&control_, viewportPos);
  return hostTakesInput(ENM_MOUSEEVENTS, msg, mouseKeyState(mods, buttons), pointParam(client));
}

bool RichEditEngine::hostTakesWheel(const QWheelEvent& event) {
  // wParam: the key state below the distance turned (120 a notch); lParam: the screen point.
  const WPARAM w = mouseKeyState(event.modifiers(), event.buttons()) |
                   (WPARAM(WORD(std::int16_t(event.angleDelta().y()))) << 16);
  const QPoint screen = event.globalPosition().toPoint();
  return hostTakesInput(ENM_MOUSEEVENTS | ENM_SCROLLEVENTS, WM_MOUSEWHEEL, w, pointParam(screen));
}

}  // namespace richedit
