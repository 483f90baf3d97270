#include "tools/OptionsDialog.h"

#include "common/AreaFontStyle.h"
#include "common/Hint.h"
#include "common/Prompter.h"
#include "settings/PasswordChange.h"
#include "shell/OwnerName.h"
#include "tools/AreaFontDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace qv {

namespace {

QPushButton *button(const QString &text, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

} // namespace

OptionsDialog::OptionsDialog(Settings &settings, Prompter &prompter, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_settings(settings)
    , m_prompter(prompter)
{
    setObjectName(QStringLiteral("OptionsDialog"));
    setWindowTitle(QStringLiteral("Options"));
    auto *tabs = new QTabWidget(this);
    tabs->addTab(createGeneralTab(), QStringLiteral("General"));
    tabs->addTab(createLayoutTab(), QStringLiteral("Layout"));
    tabs->addTab(createFileTab(), QStringLiteral("File"));

    QPushButton *ok = button(QStringLiteral("&OK"), QStringLiteral("ok"), this);
    ok->setDefault(true);
    setHint(ok, QStringLiteral("Confirm the modification of settings"));
    QPushButton *cancel = button(QStringLiteral("&Cancel"), QStringLiteral("cancel"), this);
    setHint(cancel, QStringLiteral("Cancel the modification of settings"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget *OptionsDialog::createGeneralTab()
{
    auto *tab = new QWidget;
    auto *group = new QGroupBox(QStringLiteral("Confirmation"), tab);
    m_confirmDeletion = new QCheckBox(QStringLiteral("Confirm on &deleting entries"), group);
    m_confirmDeletion->setObjectName(QStringLiteral("confirmDeletion"));
    m_checkOrgSameName = new QCheckBox(QStringLiteral("Check &imported org with the same name as the existing"), group);
    m_checkOrgSameName->setObjectName(QStringLiteral("checkOrgSameName"));
    setHint(m_checkOrgSameName, QStringLiteral("Check imported org with the same name to ensure org info consistency"));
    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_confirmDeletion);
    groupLayout->addWidget(m_checkOrgSameName);

    auto *ownerLabel = new QLabel(QStringLiteral("Owner &name:"), tab);
    m_ownerName = new QLineEdit(tab);
    m_ownerName->setObjectName(QStringLiteral("ownerName"));
    // Left empty, the account's name stands; the field shows it greyed.
    m_ownerName->setPlaceholderText(accountOwnerName());
    setHint(m_ownerName, QStringLiteral("The name in the window title and in the title and footer of printed reports; "
                                        "left empty, the account's name"));
    ownerLabel->setBuddy(m_ownerName);
    auto *ownerRow = new QHBoxLayout;
    ownerRow->addWidget(ownerLabel);
    ownerRow->addWidget(m_ownerName, 1);

    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(group);
    layout->addLayout(ownerRow);
    layout->addStretch();
    return tab;
}

QWidget *OptionsDialog::createLayoutTab()
{
    auto *tab = new QWidget;
    QPushButton *font = button(QStringLiteral("&Font..."), QStringLiteral("font"), tab);
    connect(font, &QPushButton::clicked, this, &OptionsDialog::chooseFont);
    m_sample = new QLineEdit(QStringLiteral("Sample Here"), tab);
    m_sample->setObjectName(QStringLiteral("sample"));
    m_sample->setReadOnly(true);
    m_sample->setAlignment(Qt::AlignCenter);
    // Room for the largest size the font dialog offers.
    QFont largest = m_sample->font();
    largest.setPointSize(AreaFontDialog::kLargest);
    m_sample->setMinimumHeight(QFontMetrics(largest).height() + 12);

    auto *group = new QGroupBox(QStringLiteral("Fonts of Areas"), tab);
    setHint(group, QStringLiteral("Check one to define font"));
    m_areas = new QButtonGroup(this);
    auto *groupLayout = new QVBoxLayout(group);
    const char *captions[] = {"&Surname Initials", "Navigation &Tree", "Entry &List", "Entry &Viewer"};
    for (int area = 0; area < 4; ++area) {
        auto *radio = new QRadioButton(QString::fromLatin1(captions[area]), group);
        radio->setObjectName(QStringLiteral("area%1").arg(area));
        m_areas->addButton(radio, area);
        groupLayout->addWidget(radio);
    }
    connect(m_areas, &QButtonGroup::idClicked, this, &OptionsDialog::showArea);
    m_keepSizes = new QCheckBox(QStringLiteral("&Keep the sizes of areas"), tab);
    m_keepSizes->setObjectName(QStringLiteral("keepSizes"));

    auto *fontRow = new QHBoxLayout;
    fontRow->addWidget(font);
    fontRow->addWidget(m_sample, 1);
    auto *layout = new QVBoxLayout(tab);
    layout->addLayout(fontRow);
    layout->addWidget(group);
    layout->addWidget(m_keepSizes);
    layout->addStretch();
    return tab;
}

QWidget *OptionsDialog::createFileTab()
{
    auto *tab = new QWidget;
    m_saveWithPassword = new QCheckBox(QStringLiteral("Save with password"), tab);
    m_saveWithPassword->setObjectName(QStringLiteral("saveWithPassword"));
    m_saveWithPassword->setChecked(true);
    QPushButton *password = button(QStringLiteral("&Set Password..."), QStringLiteral("setPassword"), tab);
    connect(password, &QPushButton::clicked, this, &OptionsDialog::setPassword);
    auto *label = new QLabel(QStringLiteral("Default path of address books"), tab);
    m_dataDirectory = new QLineEdit(tab);
    m_dataDirectory->setObjectName(QStringLiteral("dataDirectory"));
    m_dataDirectory->setReadOnly(true); // chosen with the browser only
    m_dataDirectory->setMinimumWidth(m_dataDirectory->fontMetrics().averageCharWidth() * 40);
    auto *browse = new QToolButton(tab);
    browse->setObjectName(QStringLiteral("browse"));
    browse->setText(QStringLiteral("..."));
    setHint(browse, QStringLiteral("Select a path.\nThe new setting will take effect after restarting the program."));
    connect(browse, &QToolButton::clicked, this, &OptionsDialog::browseDataDirectory);

    auto *encryptionLabel = new QLabel(QStringLiteral("&Encryption"), tab);
    m_encryption = new QComboBox(tab);
    m_encryption->setObjectName(QStringLiteral("encryption"));
    m_encryption->addItem(QStringLiteral("AES-256 (recommended)"), int(archive::PackageCipher::Aes256));
    m_encryption->addItem(QStringLiteral("Traditional, for old archivers"), int(archive::PackageCipher::Traditional));
    encryptionLabel->setBuddy(m_encryption);

    auto *passwordRow = new QHBoxLayout;
    passwordRow->addWidget(m_saveWithPassword);
    passwordRow->addStretch();
    passwordRow->addWidget(password);
    auto *encryptionRow = new QHBoxLayout;
    encryptionRow->addWidget(encryptionLabel);
    encryptionRow->addWidget(m_encryption, 1);
    auto *directoryRow = new QHBoxLayout;
    directoryRow->addWidget(m_dataDirectory, 1);
    directoryRow->addWidget(browse);
    auto *layout = new QVBoxLayout(tab);
    layout->addLayout(passwordRow);
    layout->addLayout(encryptionRow);
    layout->addSpacing(8);
    layout->addWidget(label);
    layout->addLayout(directoryRow);
    layout->addStretch();
    return tab;
}

bool OptionsDialog::ask()
{
    load();
    if (exec() == QDialog::Accepted) {
        store();
        return true;
    }
    restore();
    return false;
}

bool OptionsDialog::saveWithPassword() const
{
    return m_saveWithPassword->isChecked();
}

void OptionsDialog::load()
{
    m_fonts = {m_settings.surnameGridFont, m_settings.treeFont, m_settings.recListFont, m_settings.recViewFont};
    if (m_areas->checkedId() >= 0)
        showArea(m_areas->checkedId());
    m_confirmDeletion->setChecked(m_settings.confirmDeletion);
    m_checkOrgSameName->setChecked(m_settings.checkOrgSameName);
    m_ownerName->setText(m_settings.ownerName);
    m_keepSizes->setChecked(m_settings.toSaveSize);
    m_dataDirectory->setText(m_settings.dataDir);
    m_encryption->setCurrentIndex(m_encryption->findData(int(m_settings.encryption())));
    m_rememberedSaveWithPassword = m_saveWithPassword->isChecked();
    m_rememberedDataDirectory = m_dataDirectory->text();
}

void OptionsDialog::store()
{
    m_settings.surnameGridFont = m_fonts[0];
    m_settings.treeFont = m_fonts[1];
    m_settings.recListFont = m_fonts[2];
    m_settings.recViewFont = m_fonts[3];
    m_settings.confirmDeletion = m_confirmDeletion->isChecked();
    m_settings.checkOrgSameName = m_checkOrgSameName->isChecked();
    m_settings.ownerName = m_ownerName->text().trimmed();
    m_settings.toSaveSize = m_keepSizes->isChecked();
    m_settings.setEncryption(archive::PackageCipher(m_encryption->currentData().toInt()));
    m_confirmedDataDirectory = m_dataDirectory->text().trimmed();
}

void OptionsDialog::restore()
{
    m_saveWithPassword->setChecked(m_rememberedSaveWithPassword);
    m_dataDirectory->setText(m_rememberedDataDirectory);
}

void OptionsDialog::showArea(int area)
{
    showSample(m_fonts[size_t(area)]);
}

void OptionsDialog::chooseFont()
{
    AreaFontDialog dialog(this);
    const std::optional<AreaFont> font = dialog.choose(m_sampleFont);
    if (!font)
        return;
    showSample(*font);
    if (m_areas->checkedId() >= 0)
        m_fonts[size_t(m_areas->checkedId())] = *font;
}

void OptionsDialog::showSample(const AreaFont &font)
{
    m_sampleFont = font;
    m_sample->setFont(areaQFont(font));
    QPalette p = m_sample->palette();
    p.setColor(QPalette::Text, areaColour(font.color));
    m_sample->setPalette(p);
}

void OptionsDialog::browseDataDirectory()
{
    const std::optional<QString> folder = m_prompter.chooseFolder(QStringLiteral("Default path of address books"),
                                                                  m_dataDirectory->text());
    if (!folder)
        return;
    m_dataDirectory->setText(folder->endsWith(QLatin1Char('/')) ? *folder : *folder + QLatin1Char('/'));
    m_prompter.message(QStringLiteral("After exiting the program, please move the address book files (*.qvp) to the new location."),
                       Prompter::Icon::Information, Prompter::Button::Ok);
}

void OptionsDialog::setPassword()
{
    if (changePackagePassword(m_settings.packagePassword, m_prompter))
        emit passwordChanged();
}

} // namespace qv
