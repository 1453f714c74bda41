#include "platform/richedit/rtf/RtfObject.h"

#include <QBuffer>

#include "platform/richedit/rtf/RtfHex.h"

namespace richedit::rtf {

namespace {

constexpr int kTwipsPerPixel = 15;

// Whether a control word starts at `at`: the word itself and not a longer one.
bool wordAt(QByteArrayView group, qsizetype at, QByteArrayView word) {
  if (!group.sliced(at).startsWith(word)) return false;
  const qsizetype end = at + word.size();
  return end >= group.size() || !std::isalpha(static_cast<unsigned char>(group[end]));
}

// The text of the destination group that starts with `word` (after it and its delimiter, up to
// its closing brace, nested groups included); empty when there is none. A \bin inside makes
// the text unreliable, so it counts as none.
QByteArrayView destination(QByteArrayView group, QByteArrayView word, bool& found) {
  found = false;
  for (qsizetype at = group.indexOf(word); at >= 0; at = group.indexOf(word, at + 1)) {
    if (!wordAt(group, at, word)) continue;
    qsizetype start = at + word.size();
    if (start < group.size() && group[start] == ' ') ++start;
    int depth = 1;
    for (qsizetype i = start; i < group.size(); ++i) {
      const char c = group[i];
      if (c == '\\') {
        if (group.sliced(i).startsWith("\\bin")) return {};
        ++i;
        continue;
      }
      if (c == '{') ++depth;
      if (c == '}' && --depth == 0) {
        found = true;
        return group.sliced(start, i - start);
      }
    }
    return {};
  }
  return {};
}

// The group's own words before its first nested group: \objemb, \objlink and the sizes.
QByteArrayView head(QByteArrayView group) {
  const qsizetype nested = group.indexOf('{', 1);
  return nested < 0 ? group : group.first(nested);
}

QByteArray png(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

}  // namespace

ObjectGroup readObjectGroup(QByteArrayView group) {
  ObjectGroup object;
  const QByteArrayView words = head(group);
  for (qsizetype at = words.indexOf("\\obj"); at >= 0; at = words.indexOf("\\obj", at + 1)) {
    if (wordAt(words, at, "\\objemb")) object.embedded = true;
    if (wordAt(words, at, "\\objlink")) object.linked = true;
  }
  bool found = false;
  object.className = destination(group, "\\objclass", found).trimmed().toByteArray();
  const QByteArrayView data = destination(group, "\\objdata", found);
  if (found) {
    object.hasData = true;
    HexDecoder().feed(std::string_view(data.data(), std::size_t(data.size())), object.data);
  }
  object.view = destination(group, "\\klbobjview", found).trimmed().toByteArray();
  return object;
}

QByteArray writeObjectGroup(const ObjectToWrite& object) {
  const QByteArray picture = png(object.result);
  const int goalW = object.result.width() * kTwipsPerPixel;
  const int goalH = object.result.height() * kTwipsPerPixel;
  QByteArray out = "{\\object";
  out += object.linked ? "\\objlink" : "\\objemb";
  out += "\\objw" + QByteArray::number(goalW) + "\\objh" + QByteArray::number(goalH);
  out += "\\rsltpict{\\*\\objclass " + object.className + "}{\\*\\objdata\r\n";
  appendHex(out, object.data.constData(), object.data.size());
  out += "}{\\*\\klbobjview ";
  out += object.iconView ? "icon" : "content";
  out += "}{\\result{\\pict\\pngblip\\picw" + QByteArray::number(object.result.width()) + "\\pich" +
         QByteArray::number(object.result.height()) + "\\picwgoal" + QByteArray::number(goalW) +
         "\\pichgoal" + QByteArray::number(goalH) + "\r\n";
  appendHex(out, picture.constData(), picture.size());
  out += "}}}";
  return out;
}

}  // namespace richedit::rtf
