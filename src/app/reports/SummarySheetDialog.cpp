#include "SummarySheetDialog.h"

#include "common/FileSystem.h"
#include "common/KeyFilters.h"
#include "common/OperatorDialogs.h"
#include "common/ProgramTitle.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "log/ContestLog.h"
#include "station/PublishPreferences.h"
#include "station/SettingsStore.h"
#include "station/SharedPreferences.h"
#include "ui/KeyRouting.h"
#include "ui/LabelledField.h"
#include "ui/StorableText.h"
#include "ui/WindowScaling.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <utility>

namespace brindle {

namespace {

std::string trimmedIn(const QLineEdit* field)
{
    return std::string(trimBlanks(bytesIn(field)));
}

QRadioButton* option(QGroupBox* frame, QBoxLayout* layout, const char* name, const char* caption)
{
    auto* button = new QRadioButton(QString::fromLatin1(caption), frame);
    button->setObjectName(QString::fromLatin1(name));
    layout->addWidget(button);
    return button;
}

} // namespace

SummarySheetDialog::SummarySheetDialog(const ContestLog& log, const DefaultData& station, std::string claimedScore,
    FileSystem& fs, SettingsStore& settings, SharedPreferences& shared, OperatorDialogs& dialogs,
    std::string programDataDir, QWidget* parent)
    : QDialog(parent)
    , m_log(log)
    , m_station(station)
    , m_claimedScore(std::move(claimedScore))
    , m_fs(fs)
    , m_settings(settings)
    , m_shared(shared)
    , m_dialogs(dialogs)
    , m_programDataDir(std::move(programDataDir))
{
    setObjectName(QStringLiteral("SummarySheetDialog"));
    setWindowTitle(QStringLiteral("Summary Sheet Information"));
    buildForm();

    const std::pair<QLineEdit*, std::string_view> stored[] = {
        { m_arrlSectionField, settingkeys::UserARRLSection },
        { m_nameField, settingkeys::UserAddressName },
        { m_address1Field, settingkeys::UserAddressLine1 },
        { m_address2Field, settingkeys::UserAddressLine2 },
        { m_emailField, settingkeys::UserEMail },
        { m_clubField, settingkeys::UserClubName },
    };
    for (const auto& [field, key] : stored) {
        field->setText(toQString(m_settings.get(key, "")));
    }

    refuseUnstorableText(*this, m_dialogs);
    scaleDialog(*this, screenGeometryOf(*this));
}

void SummarySheetDialog::buildForm()
{
    auto* grid = new QGridLayout(this);
    // Created top to bottom, which is also the tab order: the typed fields first, then the options.
    grid->addLayout(buildTypedFields(), 0, 0);
    grid->addLayout(buildCategoryFrames(), 0, 1);

    const LabelledField soapbox = labelledField(
        this, "soapboxField", QStringLiteral("Soapbox (Add any comments you would like to make about the contest):"));
    m_soapboxField = soapbox.field;
    grid->addWidget(soapbox.caption, 1, 0, 1, 2);
    grid->addWidget(m_soapboxField, 2, 0, 1, 2);
    grid->addLayout(buildButtons(), 3, 0, 1, 2);

    m_singleOpOption->setChecked(true);
    m_allBandsOption->setChecked(true);
    m_lowPowerOption->setChecked(true);
    m_singleBandCaption->setEnabled(false);
    m_singleBandField->setEnabled(false);

    connect(m_allBandsOption, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) {
            chooseAllBands();
        }
    });
    connect(m_singleBandOption, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) {
            chooseSingleBand();
        }
    });

    m_keys = new KeyRouter(this);
    const auto capitals = [](int& keyAscii) { keyAscii = upperCaseLetter(keyAscii); };
    m_keys->route(m_arrlSectionField, capitals);
    m_keys->route(m_operatorsField, capitals);
}

QBoxLayout* SummarySheetDialog::buildTypedFields()
{
    auto* fields = new QVBoxLayout;
    const auto field = [this, fields](const char* name, const char* caption) {
        const LabelledField added = labelledField(this, name, QString::fromLatin1(caption));
        fields->addWidget(added.caption);
        fields->addWidget(added.field);
        return added.field;
    };
    m_arrlSectionField = field("arrlSectionField", "Your ARRL/RAC Section:");
    m_operatorsField = field("operatorsField", "If multioperator, list calls of all operators:");
    m_nameField = field("nameField", "Your Name:");
    m_address1Field = field("address1Field", "Address Line 1:");
    m_address2Field = field("address2Field", "Address Line 2:");
    m_emailField = field("emailField", "Email Address:");
    m_clubField = field("clubField", "Club Name (if club participation):");
    fields->addStretch();
    return fields;
}

QBoxLayout* SummarySheetDialog::buildCategoryFrames()
{
    auto* frames = new QVBoxLayout;
    auto* operatorFrame = new QGroupBox(QStringLiteral("Operator:"), this);
    auto* operatorOptions = new QVBoxLayout(operatorFrame);
    m_singleOpOption = option(operatorFrame, operatorOptions, "singleOpOption", "Single");
    m_singleAssistedOption = option(operatorFrame, operatorOptions, "singleAssistedOption", "Single Assisted");
    m_multiOpOption = option(operatorFrame, operatorOptions, "multiOpOption", "Multiple");
    frames->addWidget(operatorFrame);

    auto* transmitterFrame = new QGroupBox(QStringLiteral("Number of Transmitters (if multioperator)"), this);
    auto* transmitterOptions = new QVBoxLayout(transmitterFrame);
    m_oneTxOption = option(transmitterFrame, transmitterOptions, "oneTxOption", "One");
    m_twoTxOption = option(transmitterFrame, transmitterOptions, "twoTxOption", "Two");
    m_multiTxOption = option(transmitterFrame, transmitterOptions, "multiTxOption", "Multiple");
    frames->addWidget(transmitterFrame);

    auto* bandFrame = new QGroupBox(QStringLiteral("Band:"), this);
    auto* bandOptions = new QVBoxLayout(bandFrame);
    m_allBandsOption = option(bandFrame, bandOptions, "allBandsOption", "All");
    auto* singleBand = new QHBoxLayout;
    m_singleBandOption = new QRadioButton(QStringLiteral("Single"), bandFrame);
    m_singleBandOption->setObjectName(QStringLiteral("singleBandOption"));
    m_singleBandCaption = new QLabel(QStringLiteral("Band"), bandFrame);
    m_singleBandCaption->setObjectName(QStringLiteral("singleBandCaption"));
    m_singleBandField = new QLineEdit(bandFrame);
    m_singleBandField->setObjectName(QStringLiteral("singleBandField"));
    m_singleBandCaption->setBuddy(m_singleBandField);
    singleBand->addWidget(m_singleBandOption);
    singleBand->addWidget(m_singleBandCaption);
    singleBand->addWidget(m_singleBandField);
    bandOptions->addLayout(singleBand);
    frames->addWidget(bandFrame);

    auto* powerFrame = new QGroupBox(QStringLiteral("Power Category:"), this);
    auto* powerOptions = new QVBoxLayout(powerFrame);
    m_highPowerOption = option(powerFrame, powerOptions, "highPowerOption", "High");
    m_lowPowerOption = option(powerFrame, powerOptions, "lowPowerOption", "Low");
    m_qrpOption = option(powerFrame, powerOptions, "qrpOption", "QRP");
    frames->addWidget(powerFrame);
    frames->addStretch();
    return frames;
}

QBoxLayout* SummarySheetDialog::buildButtons()
{
    m_writeButton = new QPushButton(QStringLiteral("Write Cabrillo Log File"), this);
    m_writeButton->setObjectName(QStringLiteral("writeButton"));
    m_doneButton = new QPushButton(QStringLiteral("Done"), this);
    m_doneButton->setObjectName(QStringLiteral("doneButton"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : { m_writeButton, m_doneButton }) {
        // Enter in a field must not write a file behind the operator's back.
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    connect(m_writeButton, &QPushButton::clicked, this, &SummarySheetDialog::writeCabrilloFile);
    connect(m_doneButton, &QPushButton::clicked, this, &QDialog::accept);
    return buttons;
}

void SummarySheetDialog::chooseAllBands()
{
    m_singleBandCaption->setEnabled(false);
    m_singleBandField->setEnabled(false);
    m_singleBandField->clear();
}

void SummarySheetDialog::chooseSingleBand()
{
    m_singleBandCaption->setEnabled(true);
    m_singleBandField->setEnabled(true);
    // With no contact yet there is no band to propose; the operator types it.
    m_singleBandField->setText(m_log.count() > 0 ? toQString(m_log.record(1).band + "M") : QString());
}

CabrilloHeader SummarySheetDialog::header() const
{
    CabrilloHeader header;
    header.createdBy = programNameFromTitle(mainWindowTitle());
    header.ownCall = std::string(trimBlanks(m_station.ownCall));
    header.power = m_station.power;
    header.mode = m_station.mode;
    header.claimedScore = m_claimedScore;

    CabrilloCategory& category = header.category;
    category.operators = m_multiOpOption->isChecked() ? OperatorCategory::Multiple
        : m_singleAssistedOption->isChecked()         ? OperatorCategory::SingleAssisted
                                                      : OperatorCategory::Single;
    category.transmitters = m_oneTxOption->isChecked() ? TransmitterCategory::One
        : m_twoTxOption->isChecked()                   ? TransmitterCategory::Two
        : m_multiTxOption->isChecked()                 ? TransmitterCategory::Multiple
                                                       : TransmitterCategory::None;
    if (m_singleBandOption->isChecked()) {
        category.singleBand = bytesIn(m_singleBandField);
    }
    category.power = m_highPowerOption->isChecked() ? PowerCategory::High
        : m_qrpOption->isChecked()                  ? PowerCategory::Qrp
                                                    : PowerCategory::Low;

    header.section = bytesIn(m_arrlSectionField);
    header.operators = bytesIn(m_operatorsField);
    header.club = bytesIn(m_clubField);
    header.name = bytesIn(m_nameField);
    header.addressLine1 = bytesIn(m_address1Field);
    header.addressLine2 = bytesIn(m_address2Field);
    header.email = bytesIn(m_emailField);
    header.soapbox = bytesIn(m_soapboxField);
    return header;
}

void SummarySheetDialog::writeCabrilloFile()
{
    const CabrilloHeader values = header();
    const std::optional<QString> chosen = m_dialogs.saveFileName(pathToQString(m_programDataDir),
        toQString(cabrilloFileName(values.ownCall)), toQString(cabrillomsg::FileFilter));
    if (!chosen) {
        return;
    }
    if (Status written = m_fs.replaceFile(pathFromQString(*chosen), cabrilloFile(m_log, values)); !written) {
        m_dialogs.beep();
        m_dialogs.message(toQString(cabrillomsg::WriteErrorTitle), toQString(written.error().description));
        return;
    }
    m_dialogs.message(toQString(cabrillomsg::WrittenTitle),
        toQString(cabrillomsg::WrittenBeforePath) + *chosen + toQString(cabrillomsg::WrittenAfterPath));
    m_dialogs.message(toQString(cabrillomsg::ThanksTitle), toQString(cabrillomsg::ThanksText));
    m_doneButton->setFocus();
    savePersonalData();
}

void SummarySheetDialog::savePersonalData()
{
    struct Kept
    {
        QLineEdit* field;
        std::string_view key;
        const char* element;
    };
    const Kept kept[] = {
        { m_nameField, settingkeys::UserAddressName, "OWN_ADDRESS_NAME" },
        { m_address1Field, settingkeys::UserAddressLine1, "OWN_ADDRESS_Line1" },
        { m_address2Field, settingkeys::UserAddressLine2, "OWN_ADDRESS_Line2" },
        { m_emailField, settingkeys::UserEMail, "OWN_EMAIL" },
        { m_arrlSectionField, settingkeys::UserARRLSection, "OWN_ARRL_SECTION" },
        { m_clubField, settingkeys::UserClubName, "OWN_CLUB_NAME" },
    };
    for (const Kept& k : kept) {
        m_settings.save(k.key, trimmedIn(k.field));
    }
    // The log file is written; only the maker's other programs miss the new address if this fails.
    std::vector<PublishedValue> published;
    for (const Kept& k : kept) {
        published.push_back({ k.element, trimmedIn(k.field) });
    }
    publishForOtherPrograms(m_shared, m_dialogs, published);
}

} // namespace brindle
