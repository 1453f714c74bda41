#pragma once
// What a person types into a search: words that must all occur, "quoted words" that must occur
// as a phrase, and word* for any word that begins so. The same words, folded as the index folds
// them (case and diacritics ignored), find the places to mark in an opened entry.

#include <QString>
#include <QStringView>
#include <string>
#include <vector>

namespace kl {

struct TQueryTerm {
  QString word;  // folded
  bool prefix = false;
};

struct TTextMatch {
  int start = 0;  // in UTF-16 code units, as the editor counts positions
  int length = 0;
};

// Whether a character belongs to a word as the index counts words: letters, digits, private-use
// characters and other symbols (so an emoji is a word of its own), and the marks that combine
// with them.
bool IsWordCharacter(char32_t c);

// A word without case and diacritics: "Müller" and "MULLER" both give "muller".
QString FoldWord(QStringView word);

// The query as words to look for, in the order typed; operators of the full-text syntax
// (AND, OR, NOT, NEAR) and punctuation are not words.
std::vector<TQueryTerm> QueryTerms(const std::string& query);

// The query as the full-text engine's plain form: every word and every quoted phrase in quotes
// of its own, so nothing in it can be taken for syntax; word* stays a prefix. Empty when the
// query holds no word at all.
std::string PlainWordsExpression(const std::string& query);

// The words of text that match a term, in text order.
std::vector<TTextMatch> FindTerms(const QString& text, const std::vector<TQueryTerm>& terms);

}  // namespace kl
