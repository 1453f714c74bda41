#include "search/SearchQuery.h"

#include <QChar>
#include <QStringList>

namespace kl {
namespace {

char32_t CodePointAt(QStringView text, qsizetype i, qsizetype& width) {
  if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
    width = 2;
    return QChar::surrogateToUcs4(text[i], text[i + 1]);
  }
  width = 1;
  return text[i].unicode();
}

// Splits the query into its whitespace-separated parts, a quoted stretch being one part (an
// unclosed quote runs to the end).
struct QueryPart {
  QString text;
  bool quoted = false;
};

std::vector<QueryPart> SplitQuery(const QString& query) {
  std::vector<QueryPart> parts;
  QString current;
  bool inQuote = false;
  const auto flush = [&](bool quoted) {
    if (!current.isEmpty()) parts.push_back({current, quoted});
    current.clear();
  };
  for (const QChar c : query) {
    if (c == u'"') {
      flush(inQuote);
      inQuote = !inQuote;
    } else if (!inQuote && c.isSpace()) {
      flush(false);
    } else {
      current += c;
    }
  }
  flush(inQuote);
  return parts;
}

bool IsOperator(const QString& part) {
  return part == u"AND" || part == u"OR" || part == u"NOT" || part == u"NEAR";
}

// The words inside a part, split where the index splits them.
QStringList WordsOf(QStringView text) {
  QStringList words;
  QString word;
  for (qsizetype i = 0; i < text.size();) {
    qsizetype width = 1;
    const char32_t c = CodePointAt(text, i, width);
    if (IsWordCharacter(c)) {
      word += text.mid(i, width);
    } else if (!word.isEmpty()) {
      words.append(word);
      word.clear();
    }
    i += width;
  }
  if (!word.isEmpty()) words.append(word);
  return words;
}

QString Quoted(const QString& text) {
  QString escaped = text;
  escaped.replace(u'"', QStringLiteral("\"\""));
  return u'"' + escaped + u'"';
}

}  // namespace

bool IsWordCharacter(char32_t c) {
  switch (QChar::category(c)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
    case QChar::Other_PrivateUse:
    case QChar::Symbol_Other:
    case QChar::Mark_NonSpacing:
      return true;
    default:
      return false;
  }
}

QString FoldWord(QStringView word) {
  const QString decomposed = word.toString().normalized(QString::NormalizationForm_KD);
  QString folded;
  folded.reserve(decomposed.size());
  for (const QChar c : decomposed) {
    if (c.category() != QChar::Mark_NonSpacing) folded += c;
  }
  return folded.toCaseFolded();
}

std::vector<TQueryTerm> QueryTerms(const std::string& query) {
  std::vector<TQueryTerm> terms;
  for (const QueryPart& part : SplitQuery(QString::fromStdString(query))) {
    if (!part.quoted && IsOperator(part.text)) continue;
    const bool prefix = !part.quoted && part.text.endsWith(u'*');
    const QStringList words = WordsOf(part.text);
    for (qsizetype i = 0; i < words.size(); ++i)
      terms.push_back({FoldWord(words[i]), prefix && i + 1 == words.size()});
  }
  return terms;
}

std::string PlainWordsExpression(const std::string& query) {
  QStringList pieces;
  for (const QueryPart& part : SplitQuery(QString::fromStdString(query))) {
    const QStringList words = WordsOf(part.text);
    if (words.isEmpty()) continue;
    if (part.quoted) {
      pieces.append(Quoted(words.join(u' ')));
    } else {
      // The part's own text, so the engine splits it as it split the entries ("30-second" is
      // the phrase "30 second").
      const bool prefix = part.text.endsWith(u'*');
      QString text = part.text;
      while (text.endsWith(u'*')) text.chop(1);
      pieces.append(Quoted(text) + (prefix ? QStringLiteral("*") : QString()));
    }
  }
  return pieces.join(u' ').toStdString();
}

std::vector<TTextMatch> FindTerms(const QString& text, const std::vector<TQueryTerm>& terms) {
  std::vector<TTextMatch> matches;
  if (terms.empty()) return matches;
  const auto matchesTerm = [&terms](const QString& folded) {
    for (const TQueryTerm& term : terms) {
      if (term.prefix ? folded.startsWith(term.word) : folded == term.word) return true;
    }
    return false;
  };
  qsizetype start = -1;
  const auto endWord = [&](qsizetype end) {
    if (start >= 0 && matchesTerm(FoldWord(QStringView(text).mid(start, end - start))))
      matches.push_back({int(start), int(end - start)});
    start = -1;
  };
  for (qsizetype i = 0; i < text.size();) {
    qsizetype width = 1;
    const char32_t c = CodePointAt(text, i, width);
    if (IsWordCharacter(c)) {
      if (start < 0) start = i;
    } else {
      endWord(i);
    }
    i += width;
  }
  endWord(text.size());
  return matches;
}

}  // namespace kl
