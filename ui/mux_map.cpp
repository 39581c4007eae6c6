#include "ui/mux_map.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "model/app_paths.h"
#include "model/atomic_file.h"
#include "ops/capture_check.h"
#include "tables/image_layout.h"
#include "tables/pat_table.h"
#include "ui/fit_to_screen.h"
#include "ui/input_captures.h"
#include "ui/message_box.h"
#include "ui/mux_map_picture.h"
#include "ui/named.h"

namespace kv::ui {
namespace {

QString FindingsOn(const MultiplexReport& report, int pid, bool* error) {
    QStringList messages;
    for (const Finding& f : report.Findings) {
        if (std::find(f.Pids.begin(), f.Pids.end(), pid) == f.Pids.end()) continue;
        messages.append(QString::fromStdString(f.Message));
        if (f.severity == Severity::Error) *error = true;
    }
    return messages.join(QStringLiteral("; "));
}

} // namespace

Tfrm_MuxMap::Tfrm_MuxMap(const ConfigStore& store, std::string configFolder, QWidget* parent)
    : QDialog(parent), store_(store), report_(CheckMultiplex(store)), picture_(DrawMuxMap(store, report_)),
      configFolder_(std::move(configFolder)) {
    Named(this, QStringLiteral("frm_MuxMap"));
    setWindowTitle(QStringLiteral("Multiplex map"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setModal(true);

    pic_MuxMap = Named(new QLabel, QStringLiteral("pic_MuxMap"));
    pic_MuxMap->setPixmap(QPixmap::fromImage(picture_));
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(pic_MuxMap);
    scroll->setAlignment(Qt::AlignCenter);

    lst_OutPids = Named(new QTreeWidget(this), QStringLiteral("lst_OutPids"));
    lst_OutPids->setColumnCount(OutPidColumns);
    lst_OutPids->setHeaderLabels({QStringLiteral("PID"), QStringLiteral("Hex"), QStringLiteral("Carries"),
                                  QStringLiteral("Source"), QStringLiteral("Findings")});
    lst_OutPids->setRootIsDecorated(false);
    lst_OutPids->setAlternatingRowColors(true);
    lst_OutPids->setUniformRowHeights(true);

    lbl_Services = Named(new QLabel(this), QStringLiteral("lbl_Services"));
    lbl_Pcrs = Named(new QLabel(this), QStringLiteral("lbl_Pcrs"));
    lbl_Findings = Named(new QLabel(this), QStringLiteral("lbl_Findings"));
    lst_Findings = Named(new QListWidget(this), QStringLiteral("lst_Findings"));
    lst_Findings->setWordWrap(true);
    bt_SavePicture =
        Named(new QPushButton(QStringLiteral("Save picture..."), this), QStringLiteral("bt_SavePicture"));
    bt_Close = Named(new QPushButton(QStringLiteral("Close"), this), QStringLiteral("bt_Close"));
    bt_Captures = Named(new QPushButton(QStringLiteral("Captures..."), this), QStringLiteral("bt_Captures"));

    auto* side = new QVBoxLayout;
    side->addWidget(lbl_Services);
    side->addWidget(lbl_Pcrs);
    side->addWidget(lbl_Findings);
    side->addWidget(lst_Findings, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(bt_SavePicture);
    buttons->addWidget(bt_Captures);
    buttons->addStretch();
    buttons->addWidget(bt_Close);
    side->addLayout(buttons);
    auto* lowerHalf = new QWidget(this);
    auto* lower = new QHBoxLayout(lowerHalf);
    lower->setContentsMargins(0, 0, 0, 0);
    lower->addWidget(lst_OutPids, 3);
    lower->addLayout(side, 2);
    // The picture above, whole where the window allows it; the operator may
    // move the border.
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(scroll);
    split->addWidget(lowerHalf);
    split->setChildrenCollapsible(false);
    split->setStretchFactor(0, 1);
    auto* column = new QVBoxLayout(this);
    column->addWidget(split);

    FillOutPids();
    FillCounts();
    connect(bt_SavePicture, &QPushButton::clicked, this, &Tfrm_MuxMap::bt_SavePictureClick);
    connect(bt_Captures, &QPushButton::clicked, this, &Tfrm_MuxMap::bt_CapturesClick);
    connect(bt_Close, &QPushButton::clicked, this, &QDialog::accept);

    // Large enough for the whole picture where the screen allows it.
    const int lowerHeight = 300;
    QSize size(picture_.width() + 48, picture_.height() + lowerHeight + 40);
    if (const QSize room = RoomOnScreen(this); room.isValid()) size = size.boundedTo(room);
    resize(size);
    split->setSizes({size.height() - lowerHeight, lowerHeight});
}

void Tfrm_MuxMap::FillOutPids() {
    for (const OutputUse& use : report_.Outputs) {
        bool error = false;
        const QString findings = FindingsOn(report_, use.Pid, &error);
        auto* row = new QTreeWidgetItem(lst_OutPids);
        row->setText(ColPid, QString::number(use.Pid));
        row->setText(ColHex,
                     QStringLiteral("0x") + QString::number(use.Pid, 16).toUpper().rightJustified(4, u'0'));
        row->setText(ColCarries, QString::fromStdString(use.Carries));
        if (use.Input > 0)
            row->setText(ColSource, QStringLiteral("input %1, PID %2").arg(use.Input).arg(use.InputPid));
        row->setText(ColFindings, findings);
        row->setTextAlignment(ColPid, Qt::AlignRight | Qt::AlignVCenter);
        if (error)
            for (int c = 0; c < OutPidColumns; ++c) row->setForeground(c, ErrorRowColour);
    }
    for (int c = 0; c < ColFindings; ++c) lst_OutPids->resizeColumnToContents(c);
}

void Tfrm_MuxMap::FillCounts() {
    lbl_Services->setText(QStringLiteral("Services: %1/%2").arg(report_.Services).arg(MaxPatServices));
    lbl_Pcrs->setText(QStringLiteral("Adjusted PCRs: %1/%2").arg(report_.AdjustedPcrs).arg(PcrListASlots));
    lbl_Findings->setText(QStringLiteral("Findings: ") + FindingsCountText(report_));
    for (const Finding& f : report_.Findings) {
        auto* item = new QListWidgetItem(QString::fromStdString(f.Message), lst_Findings);
        if (f.severity == Severity::Error) item->setForeground(ErrorRowColour);
    }
}

// Captures attached to inputs; each is read whole (its PIDs and PCRs count)
// and the check runs again. One that cannot be read is named and left out.
void Tfrm_MuxMap::bt_CapturesClick() {
    Tfrm_InputCaptures chooser(capturePaths_, QString::fromStdString(configFolder_), this);
    if (chooser.exec() != QDialog::Accepted) return;
    capturePaths_ = chooser.Paths();
    captures_.clear();
    captures_.reserve(InputCount);
    QStringList unread;
    std::vector<InputCapture> inputs;
    for (int k = 0; k < InputCount; ++k) {
        if (capturePaths_[k].isEmpty()) continue;
        std::string why;
        auto read =
            ReadCaptureFile(QFile::encodeName(capturePaths_[k]).toStdString(), CaptureReading::Pids, why);
        if (read && read->Refusal.empty() && read->Damage.empty()) {
            captures_.push_back(std::move(*read));
            inputs.push_back(
                {k + 1, QFileInfo(capturePaths_[k]).fileName().toStdString(), &captures_.back()});
        } else {
            unread.append(QStringLiteral("IN %1: %2").arg(k + 1).arg(capturePaths_[k]));
        }
    }
    if (!unread.isEmpty())
        ShowWarning(this, QStringLiteral("Cannot read the capture."), unread.join(QStringLiteral("\n")));
    report_ = CheckMultiplex(store_);
    CheckAgainstCaptures(report_, store_, inputs);
    Refill();
}

void Tfrm_MuxMap::Refill() {
    picture_ = DrawMuxMap(store_, report_);
    pic_MuxMap->setPixmap(QPixmap::fromImage(picture_));
    lst_OutPids->clear();
    lst_Findings->clear();
    FillOutPids();
    FillCounts();
}

// The picture as a PNG file; the dialog starts in the Config folder.
void Tfrm_MuxMap::bt_SavePictureClick() {
    QFileDialog dialog(this);
    Named(&dialog, QStringLiteral("dlg_SavePicture"));
    dialog.setOptions(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("PNG pictures (*.png)"));
    dialog.setDefaultSuffix(QStringLiteral("png"));
    const QString config = QString::fromStdString(configFolder_);
    if (QDir(config).exists()) dialog.setDirectory(config);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString path = dialog.selectedFiles().constFirst();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture_.save(&buffer, "PNG") ||
        WriteFileAtomically(QFile::encodeName(path).toStdString(), png.constData(),
                            static_cast<std::size_t>(png.size())) != 0)
        ShowError(this, QStringLiteral("Error at Save."), path);
}

} // namespace kv::ui
