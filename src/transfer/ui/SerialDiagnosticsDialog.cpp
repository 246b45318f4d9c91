#include "transfer/ui/SerialDiagnosticsDialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "framework/ui/ControlIds.h"
#include "platform/ControlNames.h"
#include "transfer/CableLink.h"

namespace tavrin {
namespace {

QLineEdit* AddField(QGridLayout* grid, int row, int column, const QString& label, int id,
                    QWidget* parent, QMap<int, QLineEdit*>& fields) {
  if (!label.isEmpty()) grid->addWidget(new QLabel(label, parent), row, column);
  auto* field = new QLineEdit(parent);
  field->setReadOnly(true);
  field->setFocusPolicy(Qt::NoFocus);
  field->setObjectName(ControlName(id));
  grid->addWidget(field, row, column + 1);
  fields.insert(id, field);
  return field;
}

}  // namespace

SerialDiagnosticsDialog::SerialDiagnosticsDialog(CableLink& link,
                                                 std::function<void()> openSettings,
                                                 QWidget* parent)
    : QDialog(parent), link_(link) {
  setWindowTitle(QStringLiteral("シリアル通信"));
  setModal(false);

  auto* lineBox = new QGroupBox(QStringLiteral("回線"), this);
  auto* lineLayout = new QGridLayout(lineBox);
  line_ = new QLabel(lineBox);
  line_->setObjectName(ControlName(ids::serial::kLine));
  line_->setFixedSize(28, 28);
  connect_ = new QPushButton(lineBox);
  connect_->setObjectName(ControlName(ids::serial::kConnect));
  reset_ = new QPushButton(QStringLiteral("リセット"), lineBox);
  reset_->setObjectName(ControlName(ids::serial::kReset));
  lineLayout->addWidget(line_, 0, 0);
  lineLayout->addWidget(connect_, 0, 1);
  lineLayout->addWidget(reset_, 0, 2);

  auto* settingsBox = new QGroupBox(QStringLiteral("設定"), this);
  auto* settingsLayout = new QVBoxLayout(settingsBox);
  auto* settings = new QPushButton(QStringLiteral("設定"), settingsBox);
  settings->setObjectName(ControlName(ids::serial::kSettings));
  settingsLayout->addWidget(settings);

  auto* infoBox = new QGroupBox(QStringLiteral("通信情報"), this);
  auto* info = new QGridLayout(infoBox);
  AddField(info, 0, 0, QStringLiteral("ファイル"), ids::serial::kFile, infoBox, fields_);
  AddField(info, 1, 0, QStringLiteral("ｵｰﾌﾟﾝﾓｰﾄﾞ"), ids::serial::kOpenMode, infoBox, fields_);
  AddField(info, 2, 0, QStringLiteral("ｺﾏﾝﾄﾞ"), ids::serial::kCommand, infoBox, fields_);
  AddField(info, 3, 0, QStringLiteral("応答"), ids::serial::kStatus, infoBox, fields_);
  AddField(info, 3, 2, QString(), ids::serial::kAnswer, infoBox, fields_);
  AddField(info, 4, 0, QStringLiteral("ﾊﾞｲﾄ数"), ids::serial::kByteCount, infoBox, fields_);
  AddField(info, 5, 0, QStringLiteral("ｽﾃｰﾀｽ"), ids::serial::kStatusLine, infoBox, fields_);
  AddField(info, 6, 0, QStringLiteral("受信ｲﾍﾞﾝﾄ数"), ids::serial::kReceiveEvents, infoBox,
           fields_);
  AddField(info, 6, 2, QStringLiteral("受信ﾊﾞｲﾄ数"), ids::serial::kReceiveBytes, infoBox, fields_);
  AddField(info, 7, 0, QStringLiteral("送信要求"), ids::serial::kSendRequests, infoBox, fields_);
  AddField(info, 7, 2, QStringLiteral("送信完了ｲﾍﾞﾝﾄ数"), ids::serial::kSendCompletions, infoBox,
           fields_);
  AddField(info, 8, 0, QStringLiteral("状態遷移"), ids::serial::kLinkState, infoBox, fields_);
  // The file path and the status line need the whole width.
  for (int id : {ids::serial::kFile, ids::serial::kStatusLine}) {
    info->removeWidget(fields_[id]);
    info->addWidget(fields_[id], id == ids::serial::kFile ? 0 : 5, 1, 1, 3);
  }

  auto* clear = new QPushButton(QStringLiteral("クリア"), this);
  clear->setObjectName(ControlName(ids::serial::kClear));
  auto* close = new QPushButton(QStringLiteral("閉じる"), this);
  close->setObjectName(ControlName(kIdOk));

  auto* layout = new QGridLayout(this);
  layout->addWidget(lineBox, 0, 0);
  layout->addWidget(settingsBox, 0, 1);
  layout->addWidget(infoBox, 1, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(clear);
  buttons->addWidget(close);
  layout->addLayout(buttons, 2, 0, 1, 2);

  connect(connect_, &QPushButton::clicked, this, [this] {
    if (link_.PortOpen()) {
      link_.CloseLink(true);
    } else {
      link_.RefreshPorts();
      link_.OpenLink();
    }
    ShowLine();
  });
  connect(reset_, &QPushButton::clicked, this, [this] {
    link_.CloseLink(true);
    ShowLine();
  });
  connect(settings, &QPushButton::clicked, this, [openSettings] { openSettings(); });
  connect(clear, &QPushButton::clicked, this, [this] { link_.ClearDiagnostics(); });
  connect(close, &QPushButton::clicked, this, &SerialDiagnosticsDialog::Hide);

  ShowDiagnostics(link_.Diagnostics());
  ShowLine();
  setFixedSize(sizeHint().expandedTo(QSize(420, 0)));
}

void SerialDiagnosticsDialog::SetTransferRunning(bool running) {
  connect_->setEnabled(!running);
  reset_->setEnabled(!running);
}

void SerialDiagnosticsDialog::ShowAt(int x, int y) {
  if (!isVisible()) {
    move(x, y);
    show();
  }
  raise();
  activateWindow();
}

namespace {

QString Letter(char letter) { return letter == 0 ? QString() : QString(QLatin1Char(letter)); }

template <class T>
QString Number(const std::optional<T>& value) {
  return value ? QString::number(static_cast<long long>(*value)) : QString();
}

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void SerialDiagnosticsDialog::ShowDiagnostics(const LinkDiagnostics& d) {
  // Straight to text: an optional<int> made on the way misleads GCC's optimiser into a warning.
  const QString linkState =
      d.linkState ? QString::number(static_cast<int>(*d.linkState)) : QString();
  const std::pair<int, QString> values[] = {
      {ids::serial::kFile, QString::fromStdString(d.filePath)},
      {ids::serial::kOpenMode, Letter(d.openMode)},
      {ids::serial::kCommand, Letter(d.command)},
      {ids::serial::kStatus, Letter(d.status)},
      {ids::serial::kAnswer, Text(AnswerText(d.answerByte))},
      {ids::serial::kByteCount, Number(d.byteCount)},
      {ids::serial::kStatusLine, Text(d.statusLine)},
      {ids::serial::kReceiveEvents, Number(d.receiveEvents)},
      {ids::serial::kReceiveBytes, Number(d.receiveBytes)},
      {ids::serial::kSendRequests, Number(d.sendRequests)},
      {ids::serial::kSendCompletions, Number(d.sendCompletions)},
      {ids::serial::kLinkState, linkState},
  };
  for (const auto& [id, value] : values) {
    // The link publishes after every byte; a field that did not change is left alone.
    if (fields_[id]->text() != value) fields_[id]->setText(value);
  }
}

void SerialDiagnosticsDialog::ShowLine() {
  const bool open = link_.PortOpen();
  connect_->setText(open ? QStringLiteral("切断") : QStringLiteral("接続"));
  line_->setPixmap(QPixmap(open ? QStringLiteral(":/pictures/line-open.png")
                                : QStringLiteral(":/pictures/line-closed.png")));
}

void SerialDiagnosticsDialog::Hide() {
  if (!isVisible()) return;
  const QPoint position = pos();
  hide();
  emit Closed(position);
}

void SerialDiagnosticsDialog::closeEvent(QCloseEvent* event) {
  event->ignore();
  Hide();
}

void SerialDiagnosticsDialog::reject() { Hide(); }

}  // namespace tavrin
