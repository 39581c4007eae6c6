#include "ui/devices.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "link/serial_devices.h"
#include "model/app_paths.h"
#include "ops/operator_messages.h"
#include "ui/fit_to_screen.h"
#include "ui/fixed_dialog.h"
#include "ui/message_box.h"

namespace kv::ui {

Tfrm_Devices::Tfrm_Devices(std::string appFolder, QWidget* parent)
    : QDialog(parent), appFolder_(std::move(appFolder)) {
    SetUpFixedDialog(this, QStringLiteral("frm_Devices"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Ports and the device each one opens:"), this));
    lst_Ports = Named(new QListWidget(this), "lst_Ports");
    layout->addWidget(lst_Ports);
    layout->addWidget(new QLabel(QStringLiteral("Serial devices:"), this));
    lst_Devices = Named(new QListWidget(this), "lst_Devices");
    for (const std::string& device : DeviceChoices(appFolder_))
        lst_Devices->addItem(QString::fromStdString(device));
    layout->addWidget(lst_Devices);
    layout->addWidget(new QLabel(QStringLiteral("Or the path of a device not listed:"), this));
    txt_Device = Named(new QLineEdit(this), "txt_Device");
    txt_Device->setPlaceholderText(QStringLiteral("/dev/ttyXR0, /dev/rfcomm0 ..."));
    layout->addWidget(txt_Device);

    auto* buttons = new QHBoxLayout;
    bt_Bind = Named(new QPushButton(QStringLiteral("&Bind"), this), "bt_Bind");
    bt_Default = Named(new QPushButton(QStringLiteral("De&fault"), this), "bt_Default");
    bt_Close = Named(new QPushButton(QStringLiteral("&Close"), this), "bt_Close");
    bt_Bind->setToolTip(QStringLiteral("Open the chosen device for the chosen port"));
    bt_Default->setToolTip(QStringLiteral("The chosen port opens its default device again"));
    for (QPushButton* b : {bt_Bind, bt_Default, bt_Close}) buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(bt_Bind, &QPushButton::clicked, this, &Tfrm_Devices::bt_BindClick);
    connect(bt_Default, &QPushButton::clicked, this, &Tfrm_Devices::bt_DefaultClick);
    connect(bt_Close, &QPushButton::clicked, this, &QDialog::accept);

    ShowPorts();
    lst_Ports->setCurrentRow(0);
    resize(520, 420);
    FitToScreen(this);
}

void Tfrm_Devices::ShowPorts() {
    const int chosen = lst_Ports->currentRow();
    lst_Ports->clear();
    for (int port = 1; port <= ListedPorts; ++port) {
        const PortBinding b = DescribePort(appFolder_, port);
        lst_Ports->addItem(QStringLiteral("%1  %2%3")
                               .arg(QString::fromStdString(PortName(port)),
                                    QString::fromStdString(b.DevicePath),
                                    b.Exists ? QString() : QStringLiteral("  (missing)")));
    }
    lst_Ports->setCurrentRow(chosen);
}

void Tfrm_Devices::Bind(const std::string& device) {
    const int row = lst_Ports->currentRow();
    if (row < 0) {
        ShowWarning(this, QString::fromUtf8(msg::ChooseItem));
        return;
    }
    std::string error;
    if (!BindPort(appFolder_, row + 1, device, &error)) ShowWarning(this, QString::fromStdString(error));
    ShowPorts();
}

void Tfrm_Devices::bt_BindClick() {
    if (const QString typed = txt_Device->text().trimmed(); !typed.isEmpty()) {
        Bind(typed.toStdString());
        return;
    }
    const QListWidgetItem* device = lst_Devices->currentItem();
    if (device == nullptr) {
        ShowWarning(this, QString::fromUtf8(msg::ChooseItem));
        return;
    }
    Bind(device->text().toStdString());
}

void Tfrm_Devices::bt_DefaultClick() {
    Bind("");
}

} // namespace kv::ui
