#include "Form2.h"

#include "common/FileSystem.h"
#include "common/KeyFilters.h"
#include "common/OperatorDialogs.h"
#include "common/ProgramTitle.h"
#include "common/QtText.h"
#include "common/Text.h"
#include "log/ContestLog.h"
#include "station/SettingsStore.h"
#include "station/SharedPreferences.h"
#include "ui/KeyRouting.h"
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

QString q(std::string_view bytes)
{
    return toQString(bytes);
}

std::string bytesIn(const QLineEdit* field)
{
    return toBytes(field->text());
}

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

Form2::Form2(const ContestLog& log, const DefaultData& station, std::string claimedScore, FileSystem& fs,
    SettingsStore& settings, SharedPreferences& shared, OperatorDialogs& dialogs, std::string programDataDir,
    QWidget* parent)
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
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Summary Sheet Information"));
    buildForm();

    const std::pair<QLineEdit*, std::string_view> stored[] = {
        { Text1, settingkeys::UserARRLSection },
        { Text5, settingkeys::UserAddressName },
        { Text6, settingkeys::UserAddressLine1 },
        { Text7, settingkeys::UserAddressLine2 },
        { Text8, settingkeys::UserEMail },
        { Text10, settingkeys::UserClubName },
    };
    for (const auto& [field, key] : stored) {
        field->setText(q(m_settings.get(key, "")));
    }

    ScaleDialog(*this, screenGeometryOf(*this));
}

void Form2::buildForm()
{
    auto* grid = new QGridLayout(this);

    // Created top to bottom, which is also the tab order: the typed fields first, then the options.
    auto* fields = new QVBoxLayout;
    const auto field = [this, fields](const char* name, const char* caption) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setBuddy(edit);
        fields->addWidget(label);
        fields->addWidget(edit);
        return edit;
    };
    Text1 = field("Text1", "Your ARRL/RAC Section:");
    Text2 = field("Text2", "If multioperator, list calls of all operators:");
    Text5 = field("Text5", "Your Name:");
    Text6 = field("Text6", "Address Line 1:");
    Text7 = field("Text7", "Address Line 2:");
    Text8 = field("Text8", "Email Address:");
    Text10 = field("Text10", "Club Name (if club participation):");
    fields->addStretch();
    grid->addLayout(fields, 0, 0);

    auto* frames = new QVBoxLayout;
    auto* operatorFrame = new QGroupBox(QStringLiteral("Operator:"), this);
    auto* operatorOptions = new QVBoxLayout(operatorFrame);
    Option5 = option(operatorFrame, operatorOptions, "Option5", "Single");
    Option6 = option(operatorFrame, operatorOptions, "Option6", "Single Assisted");
    Option7 = option(operatorFrame, operatorOptions, "Option7", "Multiple");
    frames->addWidget(operatorFrame);

    auto* transmitterFrame = new QGroupBox(QStringLiteral("Number of Transmitters (if multioperator)"), this);
    auto* transmitterOptions = new QVBoxLayout(transmitterFrame);
    Option1 = option(transmitterFrame, transmitterOptions, "Option1", "One");
    Option2 = option(transmitterFrame, transmitterOptions, "Option2", "Two");
    Option3 = option(transmitterFrame, transmitterOptions, "Option3", "Multiple");
    frames->addWidget(transmitterFrame);

    auto* bandFrame = new QGroupBox(QStringLiteral("Band:"), this);
    auto* bandOptions = new QVBoxLayout(bandFrame);
    Option4 = option(bandFrame, bandOptions, "Option4", "All");
    auto* singleBand = new QHBoxLayout;
    Option8 = new QRadioButton(QStringLiteral("Single"), bandFrame);
    Option8->setObjectName(QStringLiteral("Option8"));
    lblBand = new QLabel(QStringLiteral("Band"), bandFrame);
    lblBand->setObjectName(QStringLiteral("lblBand"));
    Text3 = new QLineEdit(bandFrame);
    Text3->setObjectName(QStringLiteral("Text3"));
    lblBand->setBuddy(Text3);
    singleBand->addWidget(Option8);
    singleBand->addWidget(lblBand);
    singleBand->addWidget(Text3);
    bandOptions->addLayout(singleBand);
    frames->addWidget(bandFrame);

    auto* powerFrame = new QGroupBox(QStringLiteral("Power Category:"), this);
    auto* powerOptions = new QVBoxLayout(powerFrame);
    Option18 = option(powerFrame, powerOptions, "Option18", "High");
    Option19 = option(powerFrame, powerOptions, "Option19", "Low");
    Option20 = option(powerFrame, powerOptions, "Option20", "QRP");
    frames->addWidget(powerFrame);
    frames->addStretch();
    grid->addLayout(frames, 0, 1);

    auto* soapbox
        = new QLabel(QStringLiteral("Soapbox (Add any comments you would like to make about the contest):"), this);
    Text11 = new QLineEdit(this);
    Text11->setObjectName(QStringLiteral("Text11"));
    soapbox->setBuddy(Text11);
    grid->addWidget(soapbox, 1, 0, 1, 2);
    grid->addWidget(Text11, 2, 0, 1, 2);

    Command4 = new QPushButton(QStringLiteral("Write Cabrillo Log File"), this);
    Command4->setObjectName(QStringLiteral("Command4"));
    Command3 = new QPushButton(QStringLiteral("Done"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : { Command4, Command3 }) {
        // Enter in a field must not write a file behind the operator's back.
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    grid->addLayout(buttons, 3, 0, 1, 2);

    Option5->setChecked(true);
    Option4->setChecked(true);
    Option19->setChecked(true);
    lblBand->setEnabled(false);
    Text3->setEnabled(false);

    connect(Command4, &QPushButton::clicked, this, &Form2::Command4_Click);
    connect(Command3, &QPushButton::clicked, this, &Form2::Command3_Click);
    connect(Option4, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) {
            Option4_Click();
        }
    });
    connect(Option8, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked) {
            Option8_Click();
        }
    });

    m_keys = new KeyRouter(this);
    const auto capitals = [](int& keyAscii) { keyAscii = capital(keyAscii); };
    m_keys->route(Text1, capitals);
    m_keys->route(Text2, capitals);
}

void Form2::Option4_Click()
{
    lblBand->setEnabled(false);
    Text3->setEnabled(false);
    Text3->clear();
}

void Form2::Option8_Click()
{
    lblBand->setEnabled(true);
    Text3->setEnabled(true);
    // With no contact yet there is no band to propose; the operator types it.
    Text3->setText(m_log.count() > 0 ? q(m_log.record(1).band + "M") : QString());
}

void Form2::Command3_Click()
{
    accept();
}

CabrilloHeader Form2::header() const
{
    CabrilloHeader header;
    header.createdBy = programNameFromTitle(mainFormTitle());
    header.ownCall = std::string(trimBlanks(m_station.ownCall));
    header.power = m_station.power;
    header.mode = m_station.mode;
    header.claimedScore = m_claimedScore;

    CabrilloCategory& category = header.category;
    category.operators = Option7->isChecked() ? OperatorCategory::Multiple
        : Option6->isChecked()                ? OperatorCategory::SingleAssisted
                                              : OperatorCategory::Single;
    category.transmitters = Option1->isChecked() ? TransmitterCategory::One
        : Option2->isChecked()                   ? TransmitterCategory::Two
        : Option3->isChecked()                   ? TransmitterCategory::Multiple
                                                 : TransmitterCategory::None;
    if (Option8->isChecked()) {
        category.singleBand = bytesIn(Text3);
    }
    category.power = Option18->isChecked() ? PowerCategory::High
        : Option20->isChecked()            ? PowerCategory::Qrp
                                           : PowerCategory::Low;

    header.section = bytesIn(Text1);
    header.operators = bytesIn(Text2);
    header.club = bytesIn(Text10);
    header.name = bytesIn(Text5);
    header.addressLine1 = bytesIn(Text6);
    header.addressLine2 = bytesIn(Text7);
    header.email = bytesIn(Text8);
    header.soapbox = bytesIn(Text11);
    return header;
}

void Form2::Command4_Click()
{
    const CabrilloHeader values = header();
    const std::optional<QString> chosen = m_dialogs.saveFileName(
        pathToQString(m_programDataDir), q(cabrilloFileName(values.ownCall)), q(cabrillomsg::FileFilter));
    if (!chosen) {
        return;
    }
    if (Status written = m_fs.replaceFile(pathFromQString(*chosen), cabrilloFile(m_log, values)); !written) {
        m_dialogs.beep();
        m_dialogs.message(q(cabrillomsg::WriteErrorTitle), q(written.error().description));
        return;
    }
    m_dialogs.message(
        q(cabrillomsg::WrittenTitle), q(cabrillomsg::WrittenBeforePath) + *chosen + q(cabrillomsg::WrittenAfterPath));
    m_dialogs.message(q(cabrillomsg::ThanksTitle), q(cabrillomsg::ThanksText));
    Command3->setFocus();
    savePersonalData();
}

void Form2::savePersonalData()
{
    struct Kept
    {
        QLineEdit* field;
        std::string_view key;
        const char* element;
    };
    const Kept kept[] = {
        { Text5, settingkeys::UserAddressName, "OWN_ADDRESS_NAME" },
        { Text6, settingkeys::UserAddressLine1, "OWN_ADDRESS_Line1" },
        { Text7, settingkeys::UserAddressLine2, "OWN_ADDRESS_Line2" },
        { Text8, settingkeys::UserEMail, "OWN_EMAIL" },
        { Text1, settingkeys::UserARRLSection, "OWN_ARRL_SECTION" },
        { Text10, settingkeys::UserClubName, "OWN_CLUB_NAME" },
    };
    for (const Kept& k : kept) {
        m_settings.save(k.key, trimmedIn(k.field));
    }
    for (const Kept& k : kept) {
        const bool last = k.field == Text10;
        if (Status saved = m_shared.publish(k.element, trimmedIn(k.field), last); !saved) {
            // The log file is written; only the maker's other programs miss the new address.
            m_dialogs.message(QStringLiteral("Shared Preferences Not Saved"),
                q(SharedPreferencesFileName) + QStringLiteral(" could not be written:  ")
                    + q(saved.error().description));
        }
    }
}

} // namespace brindle
