#pragma once

#include "data/BookSettings.h"

namespace qv {

class Settings;

// The lifecycle's settings, kept by the settings store.
class StoredBookSettings : public BookSettings {
public:
    explicit StoredBookSettings(Settings &settings) : m_settings(settings) {}

    QStringList &addressBooks() override;
    void listAddressBooks(const QStringList &names) override;
    QString &defaultBookName() override;
    QString &packagePassword() override;
    archive::PackageCipher encryption() override;
    void writeAll() override;
    QStringList legacyUserNames() override;
    void finishLegacyUpgrade() override;

private:
    Settings &m_settings;
};

} // namespace qv
