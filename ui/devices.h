#pragma once
// "Serial devices...": the device each port COM1..COM9 opens, the serial
// devices of the machine, and binding a port to one of them (the COMn link
// of the Config folder, which the command line follows too) or back to its
// default /dev/ttyS<n-1>.

#include <QDialog>
#include <string>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace kv::ui {

class Tfrm_Devices : public QDialog {
    Q_OBJECT
  public:
    Tfrm_Devices(std::string appFolder, QWidget* parent = nullptr);

  private slots:
    void bt_BindClick();    // the chosen port to the typed device path, else to the chosen device
    void bt_DefaultClick(); // the chosen port back to its default

  private:
    void ShowPorts();
    void Bind(const std::string& device);

    const std::string appFolder_;
    QListWidget* lst_Ports = nullptr;
    QListWidget* lst_Devices = nullptr;
    QLineEdit* txt_Device = nullptr; // a device the list does not find (a PCI card's, a Bluetooth rfcomm)
    QPushButton* bt_Bind = nullptr;
    QPushButton* bt_Default = nullptr;
    QPushButton* bt_Close = nullptr;
};

} // namespace kv::ui
