#include "framework/dialogs/FindDialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kl {

namespace {

QString ToQ(const std::string& text) {
  return QString::fromStdString(text);
}

// A dialog that reports its closing however it closes (Close, Escape, the window frame).
class FindWindow : public QDialog {
 public:
  FindWindow(QWidget* parent, std::function<void()> closed)
      : QDialog(parent), closed_(std::move(closed)) {}

 protected:
  void done(int result) override {
    QDialog::done(result);
    if (closed_) closed_();
  }

 private:
  std::function<void()> closed_;
};

}  // namespace

TFindDialog::TFindDialog(QWidget* owner) : TFindDialog(owner, Kind::Find) {}

TFindDialog::TFindDialog(QWidget* owner, Kind kind)
    : Options{TFindOption::frDown}, kind_(kind), owner_(owner) {}

TFindDialog::~TFindDialog() {
  closing_ = true;  // nothing is raised while the dialog goes
  delete window_.data();
}

void TFindDialog::SetFindText(const std::string& text) {
  findText_ = text;
  if (findEdit_) findEdit_->setText(ToQ(text).left(MaxTextLength));
}

void TFindDialog::Build() {
  auto* window = new FindWindow(owner_, [this] { Closed(); });
  window_ = window;
  window->setWindowTitle(kind_ == Kind::Find ? QStringLiteral("Find") : QStringLiteral("Replace"));
  window->setModal(false);
  window->setSizeGripEnabled(false);

  auto* fields = new QGridLayout;
  findEdit_ = new QLineEdit(window);
  findEdit_->setObjectName(QStringLiteral("findText"));
  findEdit_->setMaxLength(MaxTextLength);
  auto* findLabel = new QLabel(QStringLiteral("Fi&nd what:"), window);
  findLabel->setBuddy(findEdit_);
  fields->addWidget(findLabel, 0, 0);
  fields->addWidget(findEdit_, 0, 1);
  if (kind_ == Kind::Replace) {
    replaceEdit_ = new QLineEdit(window);
    replaceEdit_->setObjectName(QStringLiteral("replaceText"));
    replaceEdit_->setMaxLength(MaxTextLength);
    auto* replaceLabel = new QLabel(QStringLiteral("Re&place with:"), window);
    replaceLabel->setBuddy(replaceEdit_);
    fields->addWidget(replaceLabel, 1, 0);
    fields->addWidget(replaceEdit_, 1, 1);
  }

  matchCase_ = new QCheckBox(QStringLiteral("Match &case"), window);
  matchCase_->setObjectName(QStringLiteral("matchCase"));
  wholeWord_ = new QCheckBox(QStringLiteral("Match &whole word only"), window);
  wholeWord_->setObjectName(QStringLiteral("wholeWord"));
  auto* checks = new QVBoxLayout;
  checks->addWidget(wholeWord_);
  checks->addWidget(matchCase_);
  auto* options = new QHBoxLayout;
  options->addLayout(checks);
  if (kind_ == Kind::Find) {
    direction_ = new QGroupBox(QStringLiteral("Direction"), window);
    up_ = new QRadioButton(QStringLiteral("&Up"), direction_);
    up_->setObjectName(QStringLiteral("up"));
    down_ = new QRadioButton(QStringLiteral("&Down"), direction_);
    down_->setObjectName(QStringLiteral("down"));
    auto* radios = new QHBoxLayout(direction_);
    radios->addWidget(up_);
    radios->addWidget(down_);
    options->addWidget(direction_);
  }

  auto* buttons = new QVBoxLayout;
  auto button = [&](const char* caption, const char* name) {
    auto* b = new QPushButton(QString::fromLatin1(caption), window);
    b->setObjectName(QString::fromLatin1(name));
    buttons->addWidget(b);
    return b;
  };
  findNext_ = button("&Find Next", "findNext");
  findNext_->setDefault(true);  // Enter runs Find Next
  QObject::connect(findNext_, &QPushButton::clicked, window,
                   [this] { Pressed(TFindOption::frFindNext); });
  if (kind_ == Kind::Replace) {
    replace_ = button("&Replace", "replace");
    replaceAll_ = button("Replace &All", "replaceAll");
    QObject::connect(replace_, &QPushButton::clicked, window,
                     [this] { Pressed(TFindOption::frReplace); });
    QObject::connect(replaceAll_, &QPushButton::clicked, window,
                     [this] { Pressed(TFindOption::frReplaceAll); });
  }
  QPushButton* close = button("Close", "close");
  QObject::connect(close, &QPushButton::clicked, window, &QDialog::reject);
  buttons->addStretch();

  auto* left = new QVBoxLayout;
  left->addLayout(fields);
  left->addLayout(options);
  left->addStretch();
  auto* all = new QHBoxLayout(window);
  all->addLayout(left, 1);
  all->addLayout(buttons);

  QObject::connect(findEdit_, &QLineEdit::textChanged, window, [this] { UpdateButtons(); });
}

void TFindDialog::ShowTexts() {
  findEdit_->setText(ToQ(findText_).left(MaxTextLength));
}

void TFindDialog::TakeTexts() {
  findText_ = findEdit_->text().toStdString();
}

void TFindDialog::ShowOptions() {
  matchCase_->setChecked(Options.contains(TFindOption::frMatchCase));
  matchCase_->setVisible(!Options.contains(TFindOption::frHideMatchCase));
  matchCase_->setEnabled(!Options.contains(TFindOption::frDisableMatchCase));
  wholeWord_->setChecked(Options.contains(TFindOption::frWholeWord));
  wholeWord_->setVisible(!Options.contains(TFindOption::frHideWholeWord));
  wholeWord_->setEnabled(!Options.contains(TFindOption::frDisableWholeWord));
  if (direction_) {
    down_->setChecked(Options.contains(TFindOption::frDown));
    up_->setChecked(!Options.contains(TFindOption::frDown));
    direction_->setVisible(!Options.contains(TFindOption::frHideUpDown));
    direction_->setEnabled(!Options.contains(TFindOption::frDisableUpDown));
  }
}

// The search buttons wait for something to search for, as on the platform's dialog.
void TFindDialog::UpdateButtons() {
  const bool any = !findEdit_->text().isEmpty();
  findNext_->setEnabled(any);
  if (replace_) replace_->setEnabled(any);
  if (replaceAll_) replaceAll_->setEnabled(any);
}

void TFindDialog::Execute() {
  if (!window_) Build();
  if (!window_->isVisible()) {
    ShowTexts();
    ShowOptions();
    UpdateButtons();
    window_->show();
    findEdit_->selectAll();
    findEdit_->setFocus();
  }
  window_->raise();
  window_->activateWindow();
}

void TFindDialog::CloseDialog() {
  if (window_ && window_->isVisible()) window_->reject();
}

QWidget* TFindDialog::Handle() const {
  return window_ && window_->isVisible() ? window_.data() : nullptr;
}

TRect TFindDialog::WindowRect() const {
  if (!window_) return {};
  const QRect r = window_->frameGeometry();
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

TPoint TFindDialog::Position() const {
  if (!window_) return {};
  const QPoint p = window_->frameGeometry().topLeft();
  return {p.x(), p.y()};
}

void TFindDialog::SetPosition(const TPoint& point) {
  if (window_) window_->move(point.x, point.y);
}

void TFindDialog::Pressed(TFindOption button) {
  TakeTexts();
  // The flags the dialog shows and the flags of the press; the hide and disable flags stay.
  Options.exclude(TFindOption::frFindNext)
      .exclude(TFindOption::frReplace)
      .exclude(TFindOption::frReplaceAll)
      .exclude(TFindOption::frMatchCase)
      .exclude(TFindOption::frWholeWord);
  if (matchCase_->isChecked()) Options.include(TFindOption::frMatchCase);
  if (wholeWord_->isChecked()) Options.include(TFindOption::frWholeWord);
  if (direction_) {
    if (down_->isChecked())
      Options.include(TFindOption::frDown);
    else
      Options.exclude(TFindOption::frDown);
  }
  Options.include(button);
  if (button == TFindOption::frFindNext) {
    Raise(OnFind, this);
  } else if (kind_ == Kind::Replace) {
    Raise(static_cast<TReplaceDialog*>(this)->OnReplace, this);
  }
}

void TFindDialog::Closed() {
  if (closing_) return;
  TakeTexts();
  Raise(OnClose, this);
}

TReplaceDialog::TReplaceDialog(QWidget* owner) : TFindDialog(owner, Kind::Replace) {}

void TReplaceDialog::SetReplaceText(const std::string& text) {
  replaceText_ = text;
  if (replaceEdit_) replaceEdit_->setText(QString::fromStdString(text).left(MaxTextLength));
}

void TReplaceDialog::ShowTexts() {
  TFindDialog::ShowTexts();
  replaceEdit_->setText(QString::fromStdString(replaceText_).left(MaxTextLength));
}

void TReplaceDialog::TakeTexts() {
  TFindDialog::TakeTexts();
  replaceText_ = replaceEdit_->text().toStdString();
}

}  // namespace kl
