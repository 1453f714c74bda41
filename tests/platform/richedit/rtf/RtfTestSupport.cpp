#include "RtfTestSupport.h"

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>

#include "platform/richedit/rtf/RtfWriter.h"

namespace richedit::rtf::test {

ReadDocument readRtf(const QByteArray& rtf, const ReadOptions& options) {
  ReadDocument read;
  QTextCursor cursor(read.doc.get());
  read.result = RtfReader().read(rtf, cursor, options);
  return read;
}

QString textOf(const QTextDocument& doc) {
  QString text;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    if (b != doc.begin()) text += u'\r';
    text += b.text();
  }
  return text;
}

QTextCharFormat charFormatAt(const QTextDocument& doc, int position) {
  QTextCursor cursor(const_cast<QTextDocument*>(&doc));
  cursor.setPosition(position + 1);
  return cursor.charFormat();
}

QByteArray writeAll(const QTextDocument& doc) {
  return RtfWriter().write(doc, 0, doc.characterCount() - 1);
}

QByteArray readFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

}  // namespace richedit::rtf::test
