#include "platform/QtFileDialogs.h"

#include <QDir>
#include <QFileDialog>

namespace tavrin {

QString ToQtNameFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    QStringList patterns;
    for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      // Linux file names are case-sensitive; files from the timer's world use either case.
      patterns << pattern.trimmed();
      if (pattern.trimmed() != pattern.trimmed().toLower()) patterns << pattern.trimmed().toLower();
    }
    if (!description.isEmpty())
      filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                     QLatin1Char(')');
  }
  return filters.join(QStringLiteral(";;"));
}

std::optional<std::string> QtFileDialogs::Run(const FileDialogRequest& request) {
  QFileDialog dialog(parent_, QString::fromStdString(request.title));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilter(ToQtNameFilter(request.filter));
  dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
  dialog.setDirectory(request.initialFolder.empty()
                          ? QDir::currentPath()
                          : QString::fromStdString(request.initialFolder));
  if (!request.defaultFileName.empty()) {
    dialog.selectFile(QString::fromStdString(request.defaultFileName));
  }
  if (!(request.flags & kOverwritePrompt)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("ファイルの場所："));
  dialog.setLabelText(QFileDialog::FileName, QStringLiteral("ファイル名："));
  dialog.setLabelText(QFileDialog::FileType, QStringLiteral("ファイルの種類："));
  dialog.setLabelText(QFileDialog::Accept,
                      request.save ? QStringLiteral("保存(&S)") : QStringLiteral("開く(&O)"));
  dialog.setLabelText(QFileDialog::Reject, QStringLiteral("キャンセル"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(dialog.selectedFiles().first()).toStdString();
}

}  // namespace tavrin
