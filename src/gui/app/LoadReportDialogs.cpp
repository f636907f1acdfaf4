#include "app/LoadReportDialogs.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace pelo {

namespace {

QFont FormFont(int pixel_size) {
  QFont font(QString::fromUtf8("ＭＳ Ｐゴシック"));
  font.setPixelSize(pixel_size);
  return font;
}

}  // namespace

TLoadReportDialog::TLoadReportDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName("LoadReportDialog");
  setWindowTitle(QString::fromUtf8(kLoadReportCaption));
  setFont(FormFont(12));
  setFixedSize(kClientWidth, kClientHeight);

  auto* form_layout = new QVBoxLayout(this);
  form_layout->setContentsMargins(0, 0, 0, 0);
  form_layout->setSpacing(0);

  // Panel1 fills the window above the bottom panel, with an 8-pixel border.
  auto* panel1 = new QWidget(this);
  panel1->setObjectName("Panel1");
  auto* panel1_layout = new QVBoxLayout(panel1);
  panel1_layout->setContentsMargins(8, 8, 8, 8);
  panel1_layout->setSpacing(0);

  auto* panel2 = new QWidget(panel1);
  panel2->setObjectName("Panel2");
  panel2->setFixedHeight(57);
  auto* image = new QLabel(panel2);
  image->setObjectName("Image1");
  image->setGeometry(16, 8, 32, 32);
  image->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
  label_msg_ = new QLabel(QString::fromUtf8(kLoadReportMessage), panel2);
  label_msg_->setObjectName("LabelMsg");
  label_msg_->setFont(FormFont(15));
  label_msg_->move(72, 16);
  label_msg_->adjustSize();

  memo_ = new QPlainTextEdit(panel1);
  memo_->setObjectName("Memo");
  memo_->setReadOnly(true);
  memo_->setFont(FormFont(15));
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QPalette memo_palette = memo_->palette();
  memo_palette.setColor(QPalette::Text, Qt::black);
  memo_->setPalette(memo_palette);

  panel1_layout->addWidget(panel2);
  panel1_layout->addWidget(memo_, 1);

  panel_bottom_ = new QWidget(this);
  panel_bottom_->setObjectName("PanelBottom");
  panel_bottom_->setFixedHeight(kBottomHeight);
  close_button_ = new QPushButton(QString::fromUtf8("閉じる"), panel_bottom_);
  close_button_->setObjectName("CloseBtn");
  close_button_->setGeometry(kClientWidth - 75 - kCloseRightGap, 4, 75, 25);
  close_button_->setDefault(true);
  close_button_->setFocus();
  panel_bottom_->installEventFilter(this);

  form_layout->addWidget(panel1, 1);
  form_layout->addWidget(panel_bottom_);

  connect(close_button_, &QPushButton::clicked, this, [this] { CloseBtnClick(); });
}

void TLoadReportDialog::SetLines(const std::vector<std::string>& lines) {
  QStringList texts;
  texts.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) texts.append(QString::fromStdString(line));
  memo_->setPlainText(texts.join(QLatin1Char('\n')));
}

void TLoadReportDialog::SetHeading(const std::string& heading) {
  if (heading.empty()) return;
  label_msg_->setText(QString::fromStdString(heading));
  label_msg_->adjustSize();
}

void TLoadReportDialog::CloseBtnClick() { close(); }

void TLoadReportDialog::PanelBottomResize() {
  close_button_->move(panel_bottom_->width() - close_button_->width() - kCloseRightGap,
                      close_button_->y());
}

bool TLoadReportDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == panel_bottom_ && event->type() == QEvent::Resize) PanelBottomResize();
  return QDialog::eventFilter(watched, event);
}

bool ExecuteLoadReportDialog(const TLoadErrorReport& report, TUserNotices& notices,
                             QWidget* parent) {
  TLoadReportDialog dialog(parent);
  dialog.SetLines(report.lines);
  dialog.SetHeading(report.heading);
  // Centred on the screen, like every dialog of the program.
  QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
  if (screen != nullptr) {
    QRect frame = dialog.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    dialog.move(frame.topLeft());
  }
  notices.Beep(TBeepKind::kExclamation);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace pelo
