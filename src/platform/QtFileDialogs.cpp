#include "platform/QtFileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>

namespace tavrin {
namespace {

// The dialog's file list in the program's language. Qt writes the dates and sizes of its list in
// the system's locale, which need not be Japanese, and leaves "Folder" untranslated; the rest of
// the dialog speaks Japanese through Qt's translations.
class JapaneseFileList : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || files == nullptr || !index.isValid()) {
      return QIdentityProxyModel::data(index, role);
    }
    const QModelIndex file = mapToSource(index);
    const QLocale japanese;  // the program's default
    switch (index.column()) {
      case 1:
        return files->isDir(file) ? QVariant(QString())
                                  : japanese.formattedDataSize(files->size(file));
      case 2:
        if (files->isDir(file)) return QStringLiteral("フォルダー");
        break;
      case 3:
        return japanese.toString(files->lastModified(file), QLocale::ShortFormat);
      default:
        break;
    }
    return QIdentityProxyModel::data(index, role);
  }
};

}  // namespace

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
  // Qt's own dialog, not the desktop's: the program speaks Japanese whatever the desktop's
  // language, and the desktop's dialog follows the desktop (where there is one at all).
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setProxyModel(new JapaneseFileList(&dialog));
  // The type list shows the description as the program words it, "...(*.BIN)"; the patterns Qt
  // matches (both cases) stay out of sight.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
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
