#include "bench/support/JournalGenerator.h"

#include <QDir>
#include <QFile>
#include <random>
#include <vector>

namespace kl::bench {
namespace {

constexpr int kEntryBytes = 5000;

const std::vector<std::string>& TrainingWords() {
  static const std::vector<std::string> words = {
      "sit",     "stay",    "recall",  "heel",    "down",    "come",    "lake",     "park",
      "leash",   "treat",   "vet",     "paw",     "left",    "right",   "walk",     "ball",
      "fetch",   "trick",   "clicker", "reward",  "calm",    "focus",   "squirrel", "bike",
      "water",   "swim",    "crate",   "morning", "evening", "minutes", "seconds",  "hold",
      "release", "whistle", "wait",    "place",   "touch",   "the",     "and",      "then",
      "with",    "at",      "we",      "he",      "was",     "very",    "good"};
  return words;
}

// Made-up words, so the vocabulary is as wide as a year of real notes.
std::vector<std::string> MadeUpWords(std::mt19937& random, int count) {
  static const char* syllables[] = {"ka",  "lo", "mi", "ren", "ta", "vo",  "pe", "sun",
                                    "dar", "li", "mo", "bre", "na", "tho", "gu", "fel"};
  std::uniform_int_distribution<int> syllable(0, 15), length(2, 4);
  std::vector<std::string> words;
  for (int i = 0; i < count; ++i) {
    std::string word;
    for (int n = length(random); n > 0; --n) word += syllables[syllable(random)];
    words.push_back(word);
  }
  return words;
}

std::string EntryRtf(int number, std::mt19937& random, const std::vector<std::string>& rare) {
  std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 "
      "Arial;}}\r\n\\viewkind4\\uc1\\pard\\b\\f0\\fs20 Tuesday, 08 Dec 2026 22:15\\b0\\par\r\n";
  const auto& common = TrainingWords();
  std::uniform_int_distribution<std::size_t> pickCommon(0, common.size() - 1);
  std::uniform_int_distribution<std::size_t> pickRare(0, rare.size() - 1);
  std::uniform_int_distribution<int> percent(0, 99);
  rtf += "Rex was keen today. ";
  if (number % 100 == 0) rtf += "We walked to zanzibar beach. ";
  if (number % 7 == 0) rtf += "We practised sit stay recall by the gate. ";
  int words = 0;
  while (rtf.size() < kEntryBytes) {
    const int kind = percent(random);
    if (kind < 60)
      rtf += common[pickCommon(random)];
    else if (kind < 97)
      rtf += rare[pickRare(random)];
    else if (kind < 98)
      rtf += "\\b Rex\\b0";
    else if (kind < 99)
      rtf += "M\\'fcller";
    else
      rtf += "\\u-10179?\\u-9195?";  // a dog
    rtf += ++words % 15 == 0 ? ".\\par\r\n" : " ";
  }
  return rtf + "\\par\r\n}\r\n";
}

bool WriteBytes(const QString& path, const std::string& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}

}  // namespace

bool GenerateJournal(const std::string& folder, int count) {
  const QDir root(QString::fromStdString(folder));
  if (!root.mkpath("Journals")) return false;
  std::mt19937 random(20261211);
  const std::vector<std::string> rare = MadeUpWords(random, 3000);
  std::string journal = "[Journal]\r\n";
  std::string entries = "[Entries]\r\n";
  for (int number = 2; number < count + 2; ++number) {
    const QString path =
        root.filePath(QStringLiteral("Journals/%1.klb").arg(20240000000000LL + number));
    if (!WriteBytes(path, EntryRtf(number, random, rare))) return false;
    journal += std::to_string(number) + "=Training " + std::to_string(number) + "\r\n";
    if (number == 2) journal += "Count=" + std::to_string(count + 1) + "\r\n";
    entries += std::to_string(number) + "=" + path.toStdString() + "\r\n";
  }
  return WriteBytes(root.filePath("journal.ini"), journal + entries);
}

}  // namespace kl::bench
