#include "serial/SerialPortsDialog.h"

#include "station/QtSettingsStore.h"
#include "support/TempFolder.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

namespace brindle {
namespace {

const std::string Ftdi = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";

// The window over the real settings store, kept in a folder of the test's own.
class SerialPortsDialogTest : public ::testing::Test
{
protected:
    SerialPortsDialogTest()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(config.path()));
    }
    ~SerialPortsDialogTest() override
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    }

    SerialPortsDialog& open()
    {
        m_window = std::make_unique<SerialPortsDialog>(settings,
            std::vector<SerialDeviceChoice> {
                { Ftdi, "ttyUSB0, FT232R USB UART, FTDI, serial number A50285BI" },
                { "/dev/ttyS0", "ttyS0" },
            },
            std::vector<std::string> { "/dev/parport0" });
        m_window->show();
        return *m_window;
    }

    QComboBox* box(const char* name)
    {
        return m_window->findChild<QComboBox*>(QString::fromLatin1(name));
    }

    static QString captionOf(QComboBox* box)
    {
        auto* rows = qobject_cast<QFormLayout*>(box->parentWidget()->layout());
        auto* caption = rows ? qobject_cast<QLabel*>(rows->labelForField(box)) : nullptr;
        return caption ? caption->text() : QString();
    }

    static QStringList itemsOf(QComboBox* box)
    {
        QStringList items;
        for (int i = 0; i < box->count(); ++i) {
            items << box->itemText(i);
        }
        return items;
    }

    test::TempFolder config;
    QtSettingsStore settings;

private:
    std::unique_ptr<SerialPortsDialog> m_window;
};

TEST_F(SerialPortsDialogTest, everyPortNumberAndParallelAddressHasARowOfferingTheDevicesPresent)
{
    SerialPortsDialog& window = open();
    EXPECT_EQ(window.windowTitle(), "Serial Ports");
    EXPECT_EQ(window.m_okButton->text(), "OK");
    EXPECT_EQ(window.m_cancelButton->text(), "Cancel");

    const struct
    {
        std::string name;
        QString caption;
        QString hint;
        QStringList offered;
    } rows[] = {
        { "portDeviceBox_1", "Port &1:", "default: /dev/ttyUSB0", { QString::fromStdString(Ftdi), "/dev/ttyS0" } },
        { "portDeviceBox_2", "Port &2:", "default: /dev/ttyUSB1", { QString::fromStdString(Ftdi), "/dev/ttyS0" } },
        { "portDeviceBox_10", "Port 1&0:", "default: /dev/ttyUSB9", { QString::fromStdString(Ftdi), "/dev/ttyS0" } },
        { "parallelDeviceBox_378", "&&H378:", "default: /dev/parport0", { "/dev/parport0" } },
        { "parallelDeviceBox_278", "&&H278:", "default: /dev/parport1", { "/dev/parport0" } },
        { "parallelDeviceBox_3BC", "&&H3BC:", "default: /dev/parport2", { "/dev/parport0" } },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QComboBox* device = box(row.name.c_str());
        ASSERT_NE(device, nullptr);
        EXPECT_EQ(captionOf(device), row.caption);
        EXPECT_EQ(device->currentText(), "") << "nothing chosen: the default holds";
        EXPECT_EQ(device->lineEdit()->placeholderText(), row.hint);
        EXPECT_EQ(itemsOf(device), row.offered);
    }
    EXPECT_EQ(window.findChildren<QComboBox*>().size(), 13);
    EXPECT_EQ(box("portDeviceBox_1")->itemData(0, Qt::ToolTipRole).toString(),
        "ttyUSB0, FT232R USB UART, FTDI, serial number A50285BI");
}

TEST_F(SerialPortsDialogTest, okSavesWhatTheBoxesSayAndAnEmptyBoxRestoresTheDefault)
{
    savePortMap(settings, parsePortMap("2=/dev/ttyS0\n11=/dev/ttyACM0\n&H278=/dev/parport5\n"));
    SerialPortsDialog& window = open();
    EXPECT_EQ(box("portDeviceBox_2")->currentText(), "/dev/ttyS0");
    EXPECT_EQ(box("parallelDeviceBox_278")->currentText(), "/dev/parport5");

    box("portDeviceBox_1")->setCurrentIndex(0); // picked from the list
    box("portDeviceBox_2")->lineEdit()->clear();
    QTest::keyClicks(box("portDeviceBox_3")->lineEdit(), " /dev/ttyS1 ");
    box("parallelDeviceBox_278")->lineEdit()->clear();
    QTest::keyClicks(box("parallelDeviceBox_3BC")->lineEdit(), "/dev/parport3");
    QTest::mouseClick(window.m_okButton, Qt::LeftButton);
    EXPECT_EQ(window.result(), QDialog::Accepted);

    const PortMap saved = loadPortMap(settings);
    EXPECT_EQ(saved.deviceForPort(1), Ftdi);
    EXPECT_EQ(saved.deviceForPort(2), "/dev/ttyUSB1");
    EXPECT_EQ(saved.deviceForPort(3), "/dev/ttyS1");
    EXPECT_EQ(saved.deviceForPort(4), "/dev/ttyUSB3");
    EXPECT_EQ(saved.deviceForPort(11), "/dev/ttyACM0") << "a number the window has no row for is kept";
    EXPECT_EQ(saved.deviceForParallelAddress(0x278), "/dev/parport1");
    EXPECT_EQ(saved.deviceForParallelAddress(0x3BC), "/dev/parport3");

    open();
    EXPECT_EQ(box("portDeviceBox_1")->currentText(), QString::fromStdString(Ftdi));
    EXPECT_EQ(box("portDeviceBox_2")->currentText(), "");
    EXPECT_EQ(box("portDeviceBox_3")->currentText(), "/dev/ttyS1");
}

TEST_F(SerialPortsDialogTest, cancelKeepsTheSavedMap)
{
    savePortMap(settings, parsePortMap("1=/dev/ttyS0\n&H378=/dev/parport4\n"));
    const std::string before = settings.get(PortMapSettingKey, "");
    SerialPortsDialog& window = open();
    box("portDeviceBox_1")->lineEdit()->clear();
    QTest::keyClicks(box("portDeviceBox_5")->lineEdit(), "/dev/ttyS2");
    box("parallelDeviceBox_378")->setCurrentIndex(0);
    QTest::mouseClick(window.m_cancelButton, Qt::LeftButton);
    EXPECT_EQ(window.result(), QDialog::Rejected);
    EXPECT_EQ(settings.get(PortMapSettingKey, ""), before);
}

} // namespace
} // namespace brindle
