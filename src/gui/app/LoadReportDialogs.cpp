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

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(CreateBody(), 1);
  CreateButtonBar();
  layout->addWidget(button_bar_);
}

// The warning icon and the message above the list of lines, inside an 8-pixel border.
QWidget* TLoadReportDialog::CreateBody() {
  auto* body = new QWidget(this);
  body->setObjectName("Body");
  auto* body_layout = new QVBoxLayout(body);
  body_layout->setContentsMargins(8, 8, 8, 8);
  body_layout->setSpacing(0);

  auto* heading = new QWidget(body);
  heading->setObjectName("Heading");
  heading->setFixedHeight(57);
  auto* icon = new QLabel(heading);
  icon->setObjectName("Icon");
  icon->setGeometry(16, 8, 32, 32);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
  message_ = new QLabel(QString::fromUtf8(kLoadReportMessage), heading);
  message_->setObjectName("Message");
  message_->setFont(FormFont(15));
  message_->move(72, 16);
  message_->adjustSize();

  lines_ = new QPlainTextEdit(body);
  lines_->setObjectName("Lines");
  lines_->setReadOnly(true);
  lines_->setFont(FormFont(15));
  lines_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QPalette lines_palette = lines_->palette();
  lines_palette.setColor(QPalette::Text, Qt::black);
  lines_->setPalette(lines_palette);

  body_layout->addWidget(heading);
  body_layout->addWidget(lines_, 1);
  return body;
}

void TLoadReportDialog::CreateButtonBar() {
  button_bar_ = new QWidget(this);
  button_bar_->setObjectName("ButtonBar");
  button_bar_->setFixedHeight(kBottomHeight);
  close_button_ = new QPushButton(QString::fromUtf8("閉じる"), button_bar_);
  close_button_->setObjectName("CloseButton");
  close_button_->setGeometry(kClientWidth - 75 - kCloseRightGap, 4, 75, 25);
  close_button_->setDefault(true);
  close_button_->setFocus();
  button_bar_->installEventFilter(this);
  connect(close_button_, &QPushButton::clicked, this, &QWidget::close);
}

void TLoadReportDialog::SetLines(const std::vector<std::string>& lines) {
  QStringList texts;
  texts.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) texts.append(QString::fromStdString(line));
  lines_->setPlainText(texts.join(QLatin1Char('\n')));
}

void TLoadReportDialog::SetHeading(const std::string& heading) {
  if (heading.empty()) return;
  message_->setText(QString::fromStdString(heading));
  message_->adjustSize();
}

void TLoadReportDialog::PlaceCloseButton() {
  close_button_->move(button_bar_->width() - close_button_->width() - kCloseRightGap,
                      close_button_->y());
}

bool TLoadReportDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == button_bar_ && event->type() == QEvent::Resize) PlaceCloseButton();
  return QDialog::eventFilter(watched, event);
}

bool ExecuteLoadReportDialog(const TLoadErrorReport& report, TUserNotices& notices,
                             QWidget* parent) {
  TLoadReportDialog dialog(parent);
  std::vector<std::string> lines = report.lines;
  lines.insert(lines.end(), report.notes.begin(), report.notes.end());
  dialog.SetLines(lines);
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
