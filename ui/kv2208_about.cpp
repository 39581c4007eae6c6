#include "ui/kv2208_about.h"

#include <QGroupBox>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "kv_version.h"
#include "ui/fit_to_screen.h"
#include "ui/message_box.h"
#include "ui/pictures.h"

namespace kv::ui {

Tfrm_About::Tfrm_About(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_About"));
    setWindowTitle(AppTitle);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(336, 211);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 6, 8, 8);
    column->setSpacing(6);

    grp_About = new QGroupBox(this);
    grp_About->setObjectName(QStringLiteral("grp_About"));
    auto* inside = new QVBoxLayout(grp_About);
    inside->setContentsMargins(8, 8, 8, 6);
    inside->setSpacing(2);

    // The banner is a flat button without any action.
    const QSize banner(296, 92);
    SpeedButton1 = new QToolButton(grp_About);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    SpeedButton1->setIcon(QIcon(pictures::Banner(banner)));
    SpeedButton1->setIconSize(banner);
    inside->addWidget(SpeedButton1, 0, Qt::AlignHCenter);

    Label3 = new QLabel(QStringLiteral("KV2200-8 Multiplexer 8x1"), grp_About);
    Label3->setObjectName(QStringLiteral("Label3"));
    QFont bold = Label3->font();
    bold.setBold(true);
    Label3->setFont(bold);
    Label4 = new QLabel(QStringLiteral("Version %1.%2").arg(VersionMajor).arg(VersionMinor), grp_About);
    Label4->setObjectName(QStringLiteral("Label4"));
    for (QLabel* label : {Label3, Label4}) {
        label->setAlignment(Qt::AlignCenter);
        inside->addWidget(label);
    }
    column->addWidget(grp_About, 1);

    bt_Ok = new QToolButton(this);
    bt_Ok->setObjectName(QStringLiteral("bt_Ok"));
    bt_Ok->setText(QStringLiteral("Ok"));
    bt_Ok->setAutoRaise(true);
    bt_Ok->setMinimumWidth(80);
    column->addWidget(bt_Ok, 0, Qt::AlignHCenter);
    connect(bt_Ok, &QToolButton::clicked, this, &Tfrm_About::bt_OkClick);
    FitToScreen(this);
}

void Tfrm_About::bt_OkClick() {
    accept();
}

} // namespace kv::ui
