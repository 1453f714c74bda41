#include "store/RecoveryFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "platform/richedit/rtf/RtfReader.h"

namespace kl {

std::string RecoveryFileName(int number, const std::string& entryFile) {
  if (number < 1) return "new-entry.klb";
  // The path may have been written with "\" on the original platform.
  const QString path = QString::fromStdString(entryFile);
  QString stem = path.mid(std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1);
  if (stem.endsWith(QStringLiteral(".klb"), Qt::CaseInsensitive)) stem.chop(4);
  return "entry-" + std::to_string(number) + "-" + stem.toStdString() + ".klb";
}

bool ParseRecoveryFileName(const std::string& name, int& number, std::string& entryName) {
  if (name == "new-entry.klb") {
    number = -1;
    entryName.clear();
    return true;
  }
  static const QRegularExpression pattern(QStringLiteral("^entry-([1-9][0-9]{0,9})-(.+)\\.klb$"));
  const QRegularExpressionMatch match = pattern.match(QString::fromStdString(name));
  if (!match.hasMatch()) return false;
  bool ok = false;
  const int parsed = match.captured(1).toInt(&ok);
  if (!ok) return false;
  number = parsed;
  entryName = match.captured(2).toStdString();
  return true;
}

std::string FirstWordsOfRtf(const std::string& path, int maxChars) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  // The start of a long entry is enough to find its first words.
  const QByteArray data = file.read(256 * 1024);
  QTextDocument document;
  document.setUndoRedoEnabled(false);
  QTextCursor cursor(&document);
  if (!richedit::rtf::RtfReader().read(data, cursor).ok) return {};
  QString text = document.toPlainText();
  text.remove(QChar::ObjectReplacementCharacter);
  text = text.simplified();
  if (text.size() > maxChars) {
    const qsizetype cut = text.lastIndexOf(u' ', maxChars);
    text = text.left(cut > maxChars / 2 ? cut : maxChars) + QStringLiteral("...");
  }
  return text.toStdString();
}

}  // namespace kl
