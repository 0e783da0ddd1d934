#pragma once

#include "serial/PortMap.h"
#include "serial/SerialDevices.h"

#include <QDialog>

#include <array>
#include <string>
#include <vector>

class QComboBox;
class QPushButton;

namespace brindle {

class SettingsStore;

// The port numbers the keyer, rig and TNC windows offer, and the parallel port addresses of the CW and
// phone windows.
inline constexpr int SerialPortNumbers = 10;
inline constexpr std::array<int, 3> ParallelPortAddresses = { 0x378, 0x278, 0x3BC };

// The Serial Ports window: which device each port number and parallel port address stands for on this
// computer. Each box offers the devices present and takes any path typed; an empty box stands for the
// default it shows. OK saves the map in the settings store, where the ports look it up as they open.
class SerialPortsDialog : public QDialog
{
    Q_OBJECT

public:
    SerialPortsDialog(SettingsStore& settings, const std::vector<SerialDeviceChoice>& serialDevices,
        const std::vector<std::string>& parallelDevices, QWidget* parent = nullptr);

    // The map as the boxes have it.
    PortMap portMap() const;
    void saveAndClose();

    std::array<QComboBox*, SerialPortNumbers> m_portDeviceBoxes {}; // port 1 first
    std::array<QComboBox*, ParallelPortAddresses.size()> m_parallelDeviceBoxes {};
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;

private:
    SettingsStore& m_settings;
    const PortMap m_saved;
};

} // namespace brindle
