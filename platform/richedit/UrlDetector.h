#pragma once
// Finds web and mail addresses in a paragraph's text, as automatic URL detection marks them:
// http://, https://, ftp://, mailto: and www. addresses that start a word.

#include <QList>
#include <QString>

namespace richedit {

struct TextSpan {
  int start = 0;
  int length = 0;
};

QList<TextSpan> findUrls(const QString& text);

}  // namespace richedit
