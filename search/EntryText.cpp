#include "search/EntryText.h"

#include <QFile>
#include <QTextCursor>
#include <QTextDocument>

#include "platform/richedit/rtf/RtfReader.h"

namespace kl {
namespace {

QString PlainTextOf(const QTextDocument& document) {
  QString text = document.toRawText();
  QString plain;
  plain.reserve(text.size());
  for (const QChar c : text) {
    switch (c.unicode()) {
      case QChar::ObjectReplacementCharacter:  // a picture or an object: no words
        break;
      case QChar::ParagraphSeparator:
      case QChar::LineSeparator:
        plain += u'\n';
        break;
      default:
        plain += c;
    }
  }
  return plain;
}

}  // namespace

TEntryText ReadEntryText(const std::string& path) {
  TEntryText entry;
  entry.stamp = StampOf(path);
  if (entry.stamp.size < 0) {
    entry.problem = "file missing";
    return entry;
  }
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) {
    entry.problem = "file unreadable: " + file.errorString().toStdString();
    return entry;
  }
  const QByteArray data = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    entry.problem = "file unreadable: " + file.errorString().toStdString();
    return entry;
  }
  QTextDocument document;
  QTextCursor cursor(&document);
  const richedit::rtf::ReadResult read = richedit::rtf::RtfReader().read(data, cursor);
  if (!read.ok) {
    entry.problem = "not an RTF document";
    return entry;
  }
  entry.text = PlainTextOf(document);
  return entry;
}

}  // namespace kl
