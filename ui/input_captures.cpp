#include "ui/input_captures.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/capture_dialog.h"
#include "ui/named.h"

namespace kv::ui {

Tfrm_InputCaptures::Tfrm_InputCaptures(const std::array<QString, InputCount>& paths, QString startFolder,
                                       QWidget* parent)
    : QDialog(parent), startFolder_(std::move(startFolder)) {
    Named(this, QStringLiteral("frm_InputCaptures"));
    setWindowTitle(QStringLiteral("Captures of the inputs"));
    setModal(true);
    auto* grid = new QGridLayout;
    for (int k = 0; k < InputCount; ++k) {
        txt_CaptureIn[k] = Named(new QLineEdit(paths[k], this), QStringLiteral("txt_CaptureIn%1").arg(k + 1));
        txt_CaptureIn[k]->setClearButtonEnabled(true);
        auto* choose =
            Named(new QPushButton(QStringLiteral("..."), this), QStringLiteral("bt_CaptureIn%1").arg(k + 1));
        grid->addWidget(new QLabel(QStringLiteral("IN %1").arg(k + 1), this), k, 0);
        grid->addWidget(txt_CaptureIn[k], k, 1);
        grid->addWidget(choose, k, 2);
        connect(choose, &QPushButton::clicked, this, [this, k] { ChooseFile(k); });
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addWidget(buttons);
    resize(560, sizeHint().height());
}

std::array<QString, InputCount> Tfrm_InputCaptures::Paths() const {
    std::array<QString, InputCount> paths;
    for (int k = 0; k < InputCount; ++k) paths[k] = txt_CaptureIn[k]->text().trimmed();
    return paths;
}

void Tfrm_InputCaptures::ChooseFile(int input) {
    const QString path = ChooseCaptureFile(this, startFolder_);
    if (!path.isEmpty()) txt_CaptureIn[input]->setText(path);
}

} // namespace kv::ui
