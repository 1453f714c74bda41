#include "platform/richedit/InputMessages.h"

#include <QKeyEvent>

namespace richedit {

WPARAM mouseKeyState(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons) {
  WPARAM state = 0;
  if (buttons & Qt::LeftButton) state |= 0x0001;    // MK_LBUTTON
  if (buttons & Qt::RightButton) state |= 0x0002;   // MK_RBUTTON
  if (mods & Qt::ShiftModifier) state |= 0x0004;    // MK_SHIFT
  if (mods & Qt::ControlModifier) state |= 0x0008;  // MK_CONTROL
  if (buttons & Qt::MiddleButton) state |= 0x0010;  // MK_MBUTTON
  return state;
}

LPARAM pointParam(const QPoint& client) {
  return MAKELONG(WORD(client.x()), WORD(client.y()));
}

UINT mouseButtonMessage(QEvent::Type type, Qt::MouseButton button) {
  int first = 0;  // the button's down message; up and double click follow it
  switch (button) {
    case Qt::LeftButton:
      first = WM_LBUTTONDOWN;
      break;
    case Qt::RightButton:
      first = WM_RBUTTONDOWN;
      break;
    case Qt::MiddleButton:
      first = WM_MBUTTONDOWN;
      break;
    default:
      return 0;
  }
  switch (type) {
    case QEvent::MouseButtonPress:
      return UINT(first);
    case QEvent::MouseButtonRelease:
      return UINT(first + 1);
    case QEvent::MouseButtonDblClick:
      return UINT(first + 2);
    default:
      return 0;
  }
}

WPARAM virtualKey(const QKeyEvent& event) {
  const int key = event.key();
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
    return WPARAM(key);  // the platform's codes for letters and digits are their ASCII capitals
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return WPARAM(0x70 + (key - Qt::Key_F1));
  switch (key) {
    case Qt::Key_Backspace:
      return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 0x0D;
    case Qt::Key_Shift:
      return 0x10;
    case Qt::Key_Control:
      return 0x11;
    case Qt::Key_Alt:
      return 0x12;
    case Qt::Key_Escape:
      return 0x1B;
    case Qt::Key_Space:
      return 0x20;
    case Qt::Key_PageUp:
      return 0x21;
    case Qt::Key_PageDown:
      return 0x22;
    case Qt::Key_End:
      return 0x23;
    case Qt::Key_Home:
      return 0x24;
    case Qt::Key_Left:
      return 0x25;
    case Qt::Key_Up:
      return 0x26;
    case Qt::Key_Right:
      return 0x27;
    case Qt::Key_Down:
      return 0x28;
    case Qt::Key_Insert:
      return 0x2D;
    case Qt::Key_Delete:
      return 0x2E;
    default:
      return 0;
  }
}

WPARAM typedCharacter(const QKeyEvent& event) {
  if (event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return 0;
  if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) return 0x0D;
  if (event.key() == Qt::Key_Tab) return 0x09;
  const QString text = event.text();
  if (text.isEmpty() || !text.at(0).isPrint()) return 0;
  return text.at(0).unicode();
}

}  // namespace richedit
