#include "framework/dialogs/QtDialogs.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QTreeView>
#include <algorithm>

#include "framework/Font.h"
#include "framework/dialogs/FileFilter.h"
#include "framework/dialogs/FontColorChoice.h"

namespace kl {
namespace {

QString ToQ(const std::string& text) {
  return QString::fromStdString(text);
}

void CentreOnScreen(QWidget& widget) {
  QScreen* screen = widget.screen() ? widget.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QSize size = widget.frameGeometry().size();
  widget.move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

// A dialog that places itself at the centre of the screen once it knows its final size, as the
// program's message boxes and the input box are shown.
template <typename Dialog>
class ScreenCentred : public Dialog {
 public:
  using Dialog::Dialog;

 protected:
  void showEvent(QShowEvent* event) override {
    Dialog::showEvent(event);
    CentreOnScreen(*this);
  }
};

// The platform's yes/no box must be answered by one of its buttons: Escape does nothing and the
// box has no working close button, so a stray key never throws an entry's unsaved text away.
class YesNoBox : public ScreenCentred<QMessageBox> {
 public:
  YesNoBox() { setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint); }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->matches(QKeySequence::Cancel)) {
      event->accept();
      return;
    }
    ScreenCentred<QMessageBox>::keyPressEvent(event);
  }
  // Closing by the window system (a close box, Alt+F4) is no answer. A click on a button
  // closes the box without a close event reaching here.
  void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

// A short message must not make its box narrower than its caption: the window frame would cut
// the caption to a few letters.
int CaptionWidth(const QWidget& dialog) {
  return dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()) + 160;
}

void KeepCaptionVisible(QMessageBox& box) {
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    grid->addItem(new QSpacerItem(CaptionWidth(box), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
}

QMessageBox::Icon ToQtIcon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Question:
      return QMessageBox::Question;
    case MsgIcon::Error:
      return QMessageBox::Critical;
    case MsgIcon::Warning:
      return QMessageBox::Warning;
    case MsgIcon::Information:
      return QMessageBox::Information;
    case MsgIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QString ButtonText(const MessageRequest& request, std::size_t index, const char* fallback) {
  return index < request.buttonTexts.size() ? ToQ(request.buttonTexts[index])
                                            : QString::fromLatin1(fallback);
}

QFont ToQFont(const TFont& font) {
  QFont qfont(ToQ(font.Name));
  if (font.Size > 0) qfont.setPointSize(font.Size);
  qfont.setBold(font.Style.contains(TFontStyle::Bold));
  qfont.setItalic(font.Style.contains(TFontStyle::Italic));
  qfont.setUnderline(font.Style.contains(TFontStyle::Underline));
  qfont.setStrikeOut(font.Style.contains(TFontStyle::StrikeOut));
  return qfont;
}

// What the font dialog chose; the character set is not on Qt's dialog and stays.
void TakeQFont(const QFont& qfont, TFont& font) {
  font.Name = qfont.family().toStdString();
  if (qfont.pointSizeF() > 0) font.Size = std::max(1, qRound(qfont.pointSizeF()));
  TFontStyles style;
  if (qfont.bold()) style.include(TFontStyle::Bold);
  if (qfont.italic()) style.include(TFontStyle::Italic);
  if (qfont.underline()) style.include(TFontStyle::Underline);
  if (qfont.strikeOut()) style.include(TFontStyle::StrikeOut);
  font.Style = style;
}

// The picture dialog's preview: the picked bitmap, scaled into a fixed pane beside the list.
void AddPicturePreview(QFileDialog& dialog) {
  auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
  if (!grid) return;
  auto* preview = new QLabel(&dialog);
  preview->setObjectName(QStringLiteral("picturePreview"));
  preview->setFixedSize(180, 180);
  preview->setAlignment(Qt::AlignCenter);
  preview->setFrameShape(QFrame::StyledPanel);
  grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
  QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
    const QPixmap picture(path);
    if (picture.isNull()) {
      preview->clear();
      return;
    }
    preview->setPixmap(
        picture.width() <= preview->width() && picture.height() <= preview->height()
            ? picture
            : picture.scaled(preview->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
  });
}

// Qt's own file dialog opens so small that the columns of its detailed list (name, size, kind,
// date) are cut; it opens large enough for them, within the screen.
void OpenLargeEnough(QFileDialog& dialog) {
  QSize size(860, 520);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
  dialog.resize(size.expandedTo(dialog.sizeHint()));
  // The detailed list keeps its columns as wide as what they show; the name takes the rest.
  if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    QHeaderView* header = list->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
  }
}

void SetUpMessageBox(QMessageBox& box, const MessageRequest& request) {
  box.setWindowTitle(ToQ(request.caption));
  box.setTextFormat(Qt::PlainText);  // a title or a path is never read as markup
  box.setText(ToQ(request.text));
  box.setIcon(ToQtIcon(request.icon));
}

}  // namespace

MsgResult QtDialogs::MessageBox(const MessageRequest& request) {
  if (request.buttons == MsgButtons::YesNo) {
    YesNoBox box;
    SetUpMessageBox(box, request);
    QPushButton* yes = box.addButton(ButtonText(request, 0, "&Yes"), QMessageBox::YesRole);
    // An action role: a "No" role would make Qt take Escape and the close box for No.
    box.addButton(ButtonText(request, 1, "&No"), QMessageBox::ActionRole);
    box.setDefaultButton(yes);
    KeepCaptionVisible(box);
    box.exec();
    return box.clickedButton() == yes ? MsgResult::Yes : MsgResult::No;
  }
  ScreenCentred<QMessageBox> box;
  SetUpMessageBox(box, request);
  QPushButton* ok = box.addButton(ButtonText(request, 0, "OK"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  KeepCaptionVisible(box);
  box.exec();
  return MsgResult::Ok;
}

std::string QtDialogs::InputBox(const InputRequest& request) {
  ScreenCentred<QInputDialog> dialog;
  dialog.setWindowTitle(ToQ(request.caption));
  dialog.setLabelText(ToQ(request.prompt));
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setTextValue(ToQ(request.defaultValue));
  if (request.maxLength > 0) {
    if (auto* edit = dialog.findChild<QLineEdit*>()) edit->setMaxLength(request.maxLength);
  }
  dialog.resize(std::max(360, CaptionWidth(dialog)), dialog.sizeHint().height());
  if (dialog.exec() != QDialog::Accepted) return request.defaultValue;
  return dialog.textValue().toStdString();
}

std::optional<std::string> QtDialogs::OpenFile(const OpenFileRequest& request) {
  QFileDialog dialog(nullptr, request.title.empty() ? QFileDialog::tr("Open") : ToQ(request.title));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // The preview pane is a widget of ours inside the dialog, which only Qt's own dialog allows.
  if (request.withPreview) dialog.setOption(QFileDialog::DontUseNativeDialog);
  const QStringList filters = ToQtNameFilters(request.filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const qsizetype index = std::clamp<qsizetype>(request.filterIndex - 1, 0, filters.size() - 1);
    dialog.selectNameFilter(filters[index]);
  }
  QString suffix = ToQ(request.defaultExt);
  if (suffix.startsWith(u'.')) suffix.remove(0, 1);
  dialog.setDefaultSuffix(suffix);
  if (!request.initialDir.empty()) dialog.setDirectory(ToQ(request.initialDir));
  if (request.withPreview) AddPicturePreview(dialog);
  OpenLargeEnough(dialog);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.first().toStdString();
}

bool QtDialogs::ChooseFont(TFont& font) {
  QFontDialog dialog(ToQFont(font));
  // Qt's own dialog, so that the colour list can join its effects.
  dialog.setOption(QFontDialog::DontUseNativeDialog);
  const QComboBox* color = AddFontColorChoice(dialog, font.Color);
  if (dialog.exec() != QDialog::Accepted) return false;
  TakeQFont(dialog.selectedFont(), font);
  font.Color = ChosenFontColor(*color);
  return true;
}

std::optional<PrintRequest> QtDialogs::ChoosePrinter(const PrintRequest& request) {
  QPrinter printer;
  if (!request.printerName.empty()) printer.setPrinterName(ToQ(request.printerName));
  printer.setCopyCount(std::max(1, request.copies));
  QPrintDialog dialog(&printer);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return PrintRequest{printer.printerName().toStdString(), printer.copyCount()};
}

int QtDialogs::ExecModal(QDialog& form) {
  return form.exec();
}

}  // namespace kl
