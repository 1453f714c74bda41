#include "app/WebLinks.h"

#include <QDesktopServices>

namespace kl {

namespace {

LinkOpener& Opener() {
  static LinkOpener opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  return opener;
}

}  // namespace

QUrl WebAddressOf(const std::string& linkText) {
  QString text = QString::fromStdString(linkText).trimmed();
  if (text.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
    text.prepend(QLatin1String("http://"));
  const QUrl url(text, QUrl::StrictMode);
  if (!url.isValid()) return {};
  const QString scheme = url.scheme().toLower();
  const bool web = (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
                   !url.host().isEmpty();
  const bool mail = scheme == QLatin1String("mailto") && !url.path().isEmpty();
  return web || mail ? url : QUrl();
}

bool OpenLinkOnClick(const std::string& linkText, TMouseButton button,
                     Qt::KeyboardModifiers modifiers) {
  // A plain click places the caret in the link to edit it; Ctrl+click follows it.
  if (button != TMouseButton::mbLeft || !(modifiers & Qt::ControlModifier)) return false;
  const QUrl url = WebAddressOf(linkText);
  return !url.isEmpty() && Opener()(url);
}

void SetLinkOpener(LinkOpener opener) {
  Opener() = std::move(opener);
}

}  // namespace kl
