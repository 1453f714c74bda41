#pragma once
// Addresses in an entry that a Ctrl+click opens in the desktop's browser or mail program. An
// entry may have come from someone else, so only web pages and mail are ever opened: a file:
// or program address in it is not handed to the desktop.

#include <QUrl>
#include <functional>
#include <string>

#include "editor/KlRichEdTypes.h"

namespace kl {

// The address to open for a link's text: http, https and mailto addresses as they stand, and
// a www. address as a web page; an empty URL for anything else.
QUrl WebAddressOf(const std::string& linkText);

// Opens a link's address when the click asks for it (the left button with Ctrl held) and the
// address is one to open; answers whether it was handed to the desktop.
bool OpenLinkOnClick(const std::string& linkText, TMouseButton button,
                     Qt::KeyboardModifiers modifiers);

// What hands an address to the desktop; tests put a recorder in its place.
using LinkOpener = std::function<bool(const QUrl&)>;
void SetLinkOpener(LinkOpener opener);

}  // namespace kl
