#include "SerialPortsDialog.h"

#include "common/QtText.h"
#include "common/Text.h"
#include "ui/WindowScaling.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace brindle {

namespace {

// Room for a /dev/serial/by-id name without making the window as wide as the longest one; the list
// that drops down is as wide as its entries.
constexpr int DeviceBoxCharacters = 44;

// An editable box offering the devices, showing chosen (the operator's own choice, or empty for the
// default, which the empty box shows as a hint).
QComboBox* deviceBox(QWidget* parent, const QString& name, const std::vector<SerialDeviceChoice>& offered,
    const std::string& chosen, const std::string& fallback)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    // Enter takes the text as it stands; it does not grow the list of devices present.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(DeviceBoxCharacters);
    for (const SerialDeviceChoice& device : offered) {
        box->addItem(pathToQString(device.path));
        box->setItemData(box->count() - 1, pathToQString(device.details), Qt::ToolTipRole);
    }
    box->view()->setMinimumWidth(box->view()->sizeHintForColumn(0));
    box->setCurrentIndex(-1);
    box->setEditText(pathToQString(chosen));
    box->lineEdit()->setPlaceholderText(QStringLiteral("default: ") + pathToQString(fallback));
    return box;
}

std::string chosenIn(const QComboBox* box)
{
    return std::string(trimBlanks(pathFromQString(box->currentText())));
}

std::string chosenOr(const std::map<int, std::string>& chosen, int key)
{
    const auto found = chosen.find(key);
    return found != chosen.end() ? found->second : std::string();
}

} // namespace

SerialPortsDialog::SerialPortsDialog(SettingsStore& settings, const std::vector<SerialDeviceChoice>& serialDevices,
    const std::vector<std::string>& parallelDevices, QWidget* parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_saved(loadPortMap(settings))
{
    setObjectName(QStringLiteral("SerialPortsDialog"));
    setWindowTitle(QStringLiteral("Serial Ports"));
    auto* layout = new QVBoxLayout(this);

    auto* serialFrame = new QGroupBox(QStringLiteral("Serial ports"), this);
    serialFrame->setObjectName(QStringLiteral("serialPortsFrame"));
    auto* serialRows = new QFormLayout(serialFrame);
    for (int number = 1; number <= SerialPortNumbers; ++number) {
        QComboBox* box = deviceBox(serialFrame, QStringLiteral("portDeviceBox_%1").arg(number), serialDevices,
            chosenOr(m_saved.portDevices(), number), defaultPortDevice(number));
        // Alt with the port's digit; port 10 takes the 0.
        const QString caption = number < 10 ? QStringLiteral("Port &%1:").arg(number) : QStringLiteral("Port 1&0:");
        serialRows->addRow(caption, box);
        m_portDeviceBoxes[number - 1] = box;
    }
    layout->addWidget(serialFrame);

    std::vector<SerialDeviceChoice> parallelChoices;
    for (const std::string& device : parallelDevices) {
        parallelChoices.push_back({ device, {} });
    }
    auto* parallelFrame = new QGroupBox(QStringLiteral("Parallel ports"), this);
    parallelFrame->setObjectName(QStringLiteral("parallelPortsFrame"));
    auto* parallelRows = new QFormLayout(parallelFrame);
    for (std::size_t i = 0; i < ParallelPortAddresses.size(); ++i) {
        const int address = ParallelPortAddresses[i];
        QComboBox* box
            = deviceBox(parallelFrame, QStringLiteral("parallelDeviceBox_") + QString::number(address, 16).toUpper(),
                parallelChoices, chosenOr(m_saved.parallelDevices(), address), defaultParallelDevice(address));
        // "&H378" as the CW and phone windows write it; the & is shown, not a mnemonic.
        const QString caption
            = toQString(formatParallelAddress(address)).replace(QLatin1Char('&'), QStringLiteral("&&"));
        parallelRows->addRow(caption + QLatin1Char(':'), box);
        m_parallelDeviceBoxes[i] = box;
    }
    layout->addWidget(parallelFrame);
    layout->addStretch();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_cancelButton->setAutoDefault(false);
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    layout->addLayout(buttons);
    connect(m_okButton, &QPushButton::clicked, this, &SerialPortsDialog::saveAndClose);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    scaleDialog(*this, screenGeometryOf(*this));
}

PortMap SerialPortsDialog::portMap() const
{
    // Numbers beyond the window's rows, written into the settings by hand, are kept.
    PortMap map = m_saved;
    for (int number = 1; number <= SerialPortNumbers; ++number) {
        map.setPortDevice(number, chosenIn(m_portDeviceBoxes[number - 1]));
    }
    for (std::size_t i = 0; i < ParallelPortAddresses.size(); ++i) {
        map.setParallelDevice(ParallelPortAddresses[i], chosenIn(m_parallelDeviceBoxes[i]));
    }
    return map;
}

void SerialPortsDialog::saveAndClose()
{
    savePortMap(m_settings, portMap());
    accept();
}

} // namespace brindle
