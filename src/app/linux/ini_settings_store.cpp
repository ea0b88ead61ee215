#include "app/linux/ini_settings_store.h"

#include <QDir>
#include <QSettings>

#include <cstdlib>

namespace melodane::on_linux {

namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

std::string IniSettingsStore::DefaultFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && *config) return std::string(config) + "/melodane";
  const char* home = std::getenv("HOME");
  return std::string(home ? home : ".") + "/.config/melodane";
}

std::string IniSettingsStore::PathOf(std::string_view app) const {
  return folder_ + "/" + std::string(app) + ".ini";
}

std::optional<std::string> IniSettingsStore::Load(std::string_view app, std::string_view section,
                                                  std::string_view key) {
  QSettings file(QString::fromStdString(PathOf(app)), QSettings::IniFormat);
  const QString name = Text(section) + "/" + Text(key);
  if (file.status() != QSettings::NoError || !file.contains(name)) return std::nullopt;
  const QVariant value = file.value(name);
  // Text with a comma, typed in by hand without quotes, reads back as a list.
  if (value.typeId() == QMetaType::QStringList) {
    return value.toStringList().join(QStringLiteral(", ")).toStdString();
  }
  return value.toString().toStdString();
}

bool IniSettingsStore::Save(std::string_view app, std::string_view section, std::string_view key,
                            std::string_view text) {
  if (!QDir().mkpath(QString::fromStdString(folder_))) return false;
  QSettings file(QString::fromStdString(PathOf(app)), QSettings::IniFormat);
  file.setValue(Text(section) + "/" + Text(key), Text(text));
  file.sync();
  return file.status() == QSettings::NoError;
}

}  // namespace melodane::on_linux
