// Search across the journal: the search field above the tree filters it to the matching entries
// as the person types, best first; opening a found entry selects the first matching word and
// marks the others until the field is emptied.
#include <QLocale>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include "app/EntryTree.h"
#include "app/MainForm.h"
#include "app/SearchField.h"
#include "app/SearchMarks.h"
#include "editor/KlRichEdit.h"
#include "framework/dialogs/Dialogs.h"
#include "search/JournalSearch.h"
#include "search/SearchIndex.h"
#include "search/SearchQuery.h"
#include "store/GlobalUnit.h"

namespace kl {

namespace {

QString Number(int n) {
  return QLocale::system().toString(n);
}

// A snippet for a tooltip: the matched words between «guillemets» shown in bold.
QString SnippetHint(const std::string& snippet) {
  QString hint = QString::fromStdString(snippet).toHtmlEscaped();
  hint.replace(u'\u00AB', QStringLiteral("<b>"));
  hint.replace(u'\u00BB', QStringLiteral("</b>"));
  return QStringLiteral("<p style='white-space:normal'>%1</p>").arg(hint);
}

}  // namespace

void TfrmMain::BuildSearch() {
  edtSearch->setObjectName("edtSearch");
  edtSearch->setPlaceholderText("Search entries");
  edtSearch->setToolTip("Search all entries (Ctrl+E)");
  edtSearch->OnEscape = [this] { ClearSearch(); };
  edtSearch->OnEnter = [this] { OpenBestMatch(); };
  edtSearch->OnDown = [this] {
    QTreeWidgetItem* root = tvEntries->topLevelItem(0);
    if (!root || root->childCount() == 0) return;
    tvEntries->setCurrentItem(root->child(0));
    tvEntries->setFocus();
  };
  connect(edtSearch, &QLineEdit::textChanged, this, [this] { edtSearchChange(); });
  for (const QKeySequence& keys :
       {QKeySequence(Qt::CTRL | Qt::Key_E), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F)}) {
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this] { FocusSearch(); });
  }
  tvEntries->OnNodeHint = [this](int number) { return SearchHint(number); };
  searchMarks_ = new TSearchMarks(*rchMain);
  journalSearch_ = std::make_unique<TJournalSearch>();
  journalSearch_->OnProgress = [this] { UpdateSearchStatus(); };
  journalSearch_->OnIndexChange = [this] { RefreshSearchResults(); };
  journalSearch_->OnMessage = [](const std::string& message) { ShowMessage(message); };
}

void TfrmMain::StartJournalSearch() {
  journalSearch_->Start(SearchIndexFile());
  UpdateSearchStatus();
}

void TfrmMain::FocusSearch() {
  edtSearch->setFocus(Qt::ShortcutFocusReason);
  edtSearch->selectAll();
}

void TfrmMain::edtSearchChange() {
  const std::string query = edtSearch->text().toStdString();
  if (edtSearch->text().trimmed().isEmpty()) {
    searchResults_.clear();
    tvEntries->ShowAll();
    searchMarks_->Clear();
  } else {
    searchResults_ = journalSearch_->RankedMatches(query);
    tvEntries->ShowOnly(searchResults_);
  }
  UpdateSearchStatus();
}

void TfrmMain::RefreshSearchResults() {
  if (edtSearch->text().trimmed().isEmpty()) return;
  std::vector<int> results = journalSearch_->RankedMatches(edtSearch->text().toStdString());
  // Unchanged results leave the tree, and the person's place in it, alone.
  if (results == searchResults_) return;
  searchResults_ = std::move(results);
  tvEntries->ShowOnly(searchResults_);
  UpdateSearchStatus();
}

void TfrmMain::UpdateSearchStatus() {
  const bool searching = !edtSearch->text().trimmed().isEmpty();
  const int shown = tvEntries->topLevelItem(0) ? tvEntries->topLevelItem(0)->childCount() : 0;
  edtSearch->SetCount(searching ? Number(shown) : QString());
  QString indexing;
  if (journalSearch_->Indexing() && journalSearch_->EntriesToCheck() > 0) {
    indexing = QStringLiteral("Indexing %1 of %2 entries…")
                   .arg(Number(journalSearch_->EntriesChecked()),
                        Number(journalSearch_->EntriesToCheck()));
  }
  edtSearch->setPlaceholderText(indexing.isEmpty() ? QStringLiteral("Search entries") : indexing);
  QString tip = searching ? QStringLiteral("%1 matching entries").arg(Number(shown))
                          : QStringLiteral("Search all entries (Ctrl+E)");
  if (!indexing.isEmpty()) tip += QStringLiteral("\n") + indexing;
  edtSearch->setToolTip(tip);
}

void TfrmMain::ClearSearch() {
  edtSearch->clear();
  rchMain->SetFocus();
}

void TfrmMain::OpenBestMatch() {
  QTreeWidgetItem* root = tvEntries->topLevelItem(0);
  if (edtSearch->text().trimmed().isEmpty() || !root || root->childCount() == 0) return;
  tvEntries->setCurrentItem(root->child(0));
  tvEntriesDblClick(tvEntries);
}

void TfrmMain::ShowSearchMatches() {
  if (edtSearch->text().trimmed().isEmpty()) {
    searchMarks_->Clear();
    return;
  }
  searchMarks_->Mark(QueryTerms(edtSearch->text().toStdString()));
  const std::vector<TTextMatch>& matches = searchMarks_->Matches();
  if (matches.empty()) return;
  const TTextMatch first = matches.front();
  rchMain->SetSelection(first.start, first.start + first.length, ScrollCaret::Yes);
  rchMain->SetFocus();
  // Once the entry is laid out at the editor's width, the match is scrolled into view again:
  // before that the editor can only guess where the lines of a long entry fall.
  QTimer::singleShot(0, this, [this, first] {
    if (rchMain->SelectionStart() == first.start && rchMain->SelectionLength() == first.length)
      rchMain->SetSelection(first.start, first.start + first.length, ScrollCaret::Yes);
  });
}

void TfrmMain::EntrySearchChanged(int number) {
  if (number <= 0 || !journalSearch_) return;
  std::string title;
  GetEntryTitle(number, title);
  std::string path;
  GetEntryFileName(number, "", path);
  journalSearch_->EntrySaved(number, title, path);
}

QString TfrmMain::SearchHint(int number) {
  if (edtSearch->text().trimmed().isEmpty()) return {};
  const std::string snippet = journalSearch_->Snippet(edtSearch->text().toStdString(), number);
  return snippet.empty() ? QString() : SnippetHint(snippet);
}

}  // namespace kl
