#include "platform/QtProfileStore.h"

namespace tavrin {
namespace {

const QString kSection = QStringLiteral("TAVRIN/");

QString Key(const std::string& key) { return kSection + QString::fromStdString(key); }

}  // namespace

QtProfileStore::QtProfileStore()
    : settings_(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("VXA Applications"),
                QStringLiteral("Tavrin")) {}

std::optional<int> QtProfileStore::ReadInt(const std::string& key) const {
  const QVariant value = settings_.value(Key(key));
  if (!value.isValid()) return std::nullopt;
  // A hand-edited file holds text; anything that is not a whole number counts as missing.
  bool ok = false;
  const int number = value.toString().trimmed().toInt(&ok);
  if (value.typeId() == QMetaType::QStringList || !ok) return std::nullopt;
  return number;
}

std::optional<std::string> QtProfileStore::ReadString(const std::string& key) const {
  const QVariant value = settings_.value(Key(key));
  if (!value.isValid() || value.typeId() == QMetaType::QStringList) return std::nullopt;
  if (!value.canConvert<QString>()) return std::nullopt;
  return value.toString().toStdString();
}

void QtProfileStore::WriteInt(const std::string& key, int value) {
  settings_.setValue(Key(key), value);
}

void QtProfileStore::WriteString(const std::string& key, const std::string& value) {
  settings_.setValue(Key(key), QString::fromStdString(value));
}

bool QtProfileStore::Sync() {
  settings_.sync();
  return settings_.status() == QSettings::NoError;
}

}  // namespace tavrin
