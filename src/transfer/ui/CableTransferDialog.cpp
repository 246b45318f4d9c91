#include "transfer/ui/CableTransferDialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "framework/ui/ControlIds.h"
#include "model/ImageLayout.h"
#include "platform/ControlNames.h"
#include "transfer/CableMessages.h"

namespace tavrin {
namespace {

QLabel* WrappingLabel(const std::string& text, QWidget* parent) {
  auto* label = new QLabel(QString::fromStdString(text), parent);
  label->setWordWrap(true);
  return label;
}

}  // namespace

CableTransferDialog::CableTransferDialog(CableLink& link, TransferMode mode,
                                         const std::string& settingsTitle, MessageSink& messages,
                                         EndedHandler onEnded, QWidget* parent)
    : QDialog(parent),
      link_(link),
      mode_(mode),
      settingsTitle_(settingsTitle),
      messages_(messages),
      onEnded_(std::move(onEnded)),
      monitor_(*this) {
  monitor_.Attach(link_);
  const bool writing = mode == TransferMode::Write;
  setWindowTitle(QString::fromUtf8(writing ? kCableWriteTitle : kCableReadTitle));
  QLabel* message =
      WrappingLabel(writing ? CableWriteMessage(settingsTitle) : CableReadMessage(), this);
  message->setObjectName(ControlName(ids::transfer::kText));
  QLabel* instruction =
      WrappingLabel(writing ? CableWriteInstruction() : CableReadInstruction(), this);

  auto* group = new QGroupBox(QStringLiteral("ステータス"), this);
  status_ = WrappingLabel(status_text::kWaiting, group);
  status_->setObjectName(ControlName(ids::transfer::kStatus));
  // A status may hold a command the user has to run.
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  port_ = WrappingLabel(std::string(), group);
  port_->setObjectName(ControlName(ids::transfer::kPort));
  port_->hide();  // until there is a port to name
  progress_ = new QProgressBar(group);
  progress_->setRange(0, static_cast<int>(layout::kImageSize));
  progress_->setValue(0);
  progress_->setFormat(QStringLiteral("%v / %m"));
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(status_);
  groupLayout->addWidget(port_);
  groupLayout->addWidget(progress_);

  // The templates' OK button is never shown: the cancel button closes, and says "OK" at the end.
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(ControlName(kIdOk));
  ok->hide();
  cancel_ = new QPushButton(QStringLiteral("キャンセル"), this);
  cancel_->setObjectName(ControlName(kIdCancel));
  cancel_->setDefault(true);
  connect(cancel_, &QPushButton::clicked, this, &CableTransferDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(message);
  layout->addSpacing(6);
  layout->addWidget(instruction);
  layout->addSpacing(6);
  layout->addWidget(group);
  layout->addLayout(buttons);
  // The window keeps its width and grows only when the status has more to say.
  message->setFixedWidth(420);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  // Sized now, so that the window opens at the stored place without a resize after it.
  layout->activate();
}

void CableTransferDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (started_) return;
  started_ = true;
  StartConnection();
}

void CableTransferDialog::StartConnection() {
  if (!link_.CountPorts()) {
    monitor_.ShowNoPort();
    return;
  }
  link_.StartSearch();
}

void CableTransferDialog::ShowStatus(const std::string& text) {
  status_->setText(QString::fromStdString(text));
}

void CableTransferDialog::ShowPort(const std::string& text) {
  port_->setText(QString::fromStdString(text));
  port_->show();
}

void CableTransferDialog::ShowBytes(int bytes) { progress_->setValue(bytes); }

void CableTransferDialog::Finished() {
  // A search that found no timer leaves the user nothing but to cancel.
  if (monitor_.SearchFailed()) return;
  Conclude();
}

void CableTransferDialog::Conclude() {
  const bool succeeded = monitor_.State() == DialogState::Succeeded;
  const std::vector<std::string> problems =
      onEnded_ ? onEnded_(monitor_.State()) : std::vector<std::string>{};
  QString status = status_->text();
  for (const std::string& problem : problems) status += "\n" + QString::fromStdString(problem);
  status_->setText(status);
  if (succeeded) cancel_->setText(QStringLiteral("OK"));
  cancel_->setEnabled(true);
  const std::string text =
      mode_ == TransferMode::Write
          ? (succeeded ? CableWriteSuccess(settingsTitle_)
                       : CableWriteFailure(settingsTitle_, monitor_.Detail()))
          : (succeeded ? CableReadSuccess() : CableReadFailure(monitor_.Detail()));
  // The link is still inside the event that ended the transfer; the message waits until it is
  // out of it.
  QTimer::singleShot(0, this, [this, text, succeeded] {
    if (closed_) return;
    messages_.Show(text, windowTitle().toStdString(), MsgButtons::Ok,
                   succeeded ? MsgIcon::Information : MsgIcon::Exclamation);
    reject();
  });
}

void CableTransferDialog::reject() {
  if (closed_) return;
  closed_ = true;
  link_.EndTransfer(monitor_.State());
  QDialog::reject();
}

}  // namespace tavrin
