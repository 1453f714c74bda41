#pragma once
// The platform's message parameters for a person's keyboard and mouse input, as the control
// hands them to its host (EN_MSGFILTER, EN_LINK, EN_PROTECTED).

#include <QEvent>
#include <QPoint>
#include <Qt>

#include "platform/richedit/RichEditTypes.h"

class QKeyEvent;

namespace richedit {

// The MK_* bits of a mouse message's wParam.
WPARAM mouseKeyState(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons);
// A client point packed as a mouse message's lParam.
LPARAM pointParam(const QPoint& client);
// WM_LBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDBLCLK... for a press, release or double click;
// 0 for a button the platform has no message for.
UINT mouseButtonMessage(QEvent::Type type, Qt::MouseButton button);
// The virtual-key code of a key (VK_*); 0 when the platform has none for it.
WPARAM virtualKey(const QKeyEvent& event);
// The character a key types as WM_CHAR would carry it: printable text, CR for Enter and TAB
// for Tab; 0 when the key types nothing (Backspace and Delete act on their key-down).
WPARAM typedCharacter(const QKeyEvent& event);

}  // namespace richedit
