#include "ui/capture_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "capture/capture_streams.h"
#include "ops/capture_import.h"
#include "ops/operator_messages.h"
#include "ui/message_box.h"
#include "ui/named.h"

namespace kv::ui {
namespace {

QString Joined(const std::vector<std::string>& lines) {
    QStringList list;
    for (const std::string& line : lines) list.append(QString::fromStdString(line));
    return list.join(QStringLiteral("\n"));
}

// One row: service ID, name, PIDs, stream types, languages, bit rate.
void AddServiceRow(QTreeWidget* list, const CaptureService& s) {
    QStringList pids{QString::number(s.PmtPid)}, types, languages;
    for (const CaptureStream& e : s.Streams) {
        pids.append(QString::number(e.Pid));
        types.append(QString::fromStdString(StreamDescription(e)));
        if (!e.Language.empty()) languages.append(QString::fromStdString(e.Language));
    }
    auto* row = new QTreeWidgetItem(list);
    row->setText(ColServiceId, QString::number(s.ServiceId));
    row->setText(ColName, QString::fromStdString(CaptureServiceName(s)));
    row->setText(ColPids, pids.join(QStringLiteral(", ")));
    row->setText(ColTypes, types.join(QStringLiteral(", ")));
    row->setText(ColLanguages, languages.join(QStringLiteral(", ")));
    row->setText(ColRate,
                 s.BitRate > 0 ? QStringLiteral("%1 Mbit/s").arg(s.BitRate / 1e6, 0, 'f', 2) : QString());
    row->setData(ColServiceId, Qt::UserRole, s.ServiceId);
    row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
    row->setCheckState(ColServiceId, Qt::Unchecked);
}

} // namespace

Tfrm_Capture::Tfrm_Capture(ConfigStore& store, std::string startFolder, QWidget* parent)
    : QDialog(parent), store_(store), startFolder_(std::move(startFolder)) {
    Named(this, QStringLiteral("frm_Capture"));
    setWindowTitle(QStringLiteral("Services from capture"));
    setModal(true);

    txt_CaptureFile = Named(new QLineEdit(this), QStringLiteral("txt_CaptureFile"));
    txt_CaptureFile->setReadOnly(true);
    bt_CaptureFile = Named(new QPushButton(QStringLiteral("..."), this), QStringLiteral("bt_CaptureFile"));
    cb_CaptureInput = Named(new QComboBox(this), QStringLiteral("cb_CaptureInput"));
    for (int input = 1; input <= InputCount; ++input)
        cb_CaptureInput->addItem(QStringLiteral("IN %1").arg(input));
    lst_CaptureServices = Named(new QTreeWidget(this), QStringLiteral("lst_CaptureServices"));
    lst_CaptureServices->setColumnCount(CaptureColumns);
    lst_CaptureServices->setHeaderLabels({QStringLiteral("Service ID"), QStringLiteral("Name"),
                                          QStringLiteral("PIDs"), QStringLiteral("Stream types"),
                                          QStringLiteral("Languages"), QStringLiteral("Bit rate")});
    lst_CaptureServices->setRootIsDecorated(false);
    lbl_CaptureNotes = Named(new QLabel(this), QStringLiteral("lbl_CaptureNotes"));
    lbl_CaptureNotes->setWordWrap(true);
    bt_CaptureAdd = Named(new QPushButton(QStringLiteral("Add"), this), QStringLiteral("bt_CaptureAdd"));
    bt_CaptureAdd->setEnabled(false);
    bt_CaptureCancel =
        Named(new QPushButton(QStringLiteral("Cancel"), this), QStringLiteral("bt_CaptureCancel"));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Capture:"), this), 0, 0);
    grid->addWidget(txt_CaptureFile, 0, 1);
    grid->addWidget(bt_CaptureFile, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Taken from:"), this), 1, 0);
    grid->addWidget(cb_CaptureInput, 1, 1, Qt::AlignLeft);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bt_CaptureAdd);
    buttons->addWidget(bt_CaptureCancel);
    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addWidget(lst_CaptureServices, 1);
    column->addWidget(lbl_CaptureNotes);
    column->addLayout(buttons);
    resize(760, 420);

    connect(bt_CaptureFile, &QPushButton::clicked, this, &Tfrm_Capture::bt_CaptureFileClick);
    connect(bt_CaptureAdd, &QPushButton::clicked, this, &Tfrm_Capture::bt_CaptureAddClick);
    connect(bt_CaptureCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString ChooseCaptureFile(QWidget* parent, const QString& startFolder) {
    QFileDialog dialog(parent);
    Named(&dialog, QStringLiteral("dlg_Open"));
    dialog.setOptions(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(
        {QStringLiteral("Transport streams (*.ts *.m2ts *.mts *.trp)"), QStringLiteral("All files (*)")});
    if (QDir(startFolder).exists()) dialog.setDirectory(startFolder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

void Tfrm_Capture::bt_CaptureFileClick() {
    const QString path = ChooseCaptureFile(this, QString::fromStdString(startFolder_));
    if (!path.isEmpty()) LoadCapture(path);
}

void Tfrm_Capture::LoadCapture(const QString& path) {
    lst_CaptureServices->clear();
    bt_CaptureAdd->setEnabled(false);
    txt_CaptureFile->setText(path);
    std::string why;
    auto read = ReadCaptureFile(QFile::encodeName(path).toStdString(), CaptureReading::Pids, why);
    if (!read || !read->Refusal.empty() || !read->Damage.empty()) {
        const QString reason = !read                    ? QString::fromStdString(why)
                               : !read->Refusal.empty() ? QString::fromStdString(read->Refusal)
                                                        : Joined(read->Damage);
        capture_ = Capture{};
        lbl_CaptureNotes->clear();
        ShowError(this, QStringLiteral("Cannot read the capture."), path + QStringLiteral("\n") + reason);
        return;
    }
    capture_ = std::move(*read);
    for (const CaptureService& s : capture_.Services) AddServiceRow(lst_CaptureServices, s);
    for (int c = 0; c < CaptureColumns; ++c) lst_CaptureServices->resizeColumnToContents(c);
    lbl_CaptureNotes->setText(Joined(capture_.Notes));
    bt_CaptureAdd->setEnabled(!capture_.Services.empty());
}

void Tfrm_Capture::bt_CaptureAddClick() {
    std::vector<int> chosen;
    for (int k = 0; k < lst_CaptureServices->topLevelItemCount(); ++k) {
        const QTreeWidgetItem* row = lst_CaptureServices->topLevelItem(k);
        if (row->checkState(ColServiceId) == Qt::Checked)
            chosen.push_back(row->data(ColServiceId, Qt::UserRole).toInt());
    }
    if (chosen.empty()) {
        ShowWarning(this, QString::fromLatin1(msg::ChooseItem));
        return;
    }
    const CaptureImport result =
        ImportCaptureServices(store_, capture_, cb_CaptureInput->currentIndex() + 1, chosen);
    added_ = result.Added;
    std::vector<std::string> named = result.NotAdded;
    named.insert(named.end(), result.Left.begin(), result.Left.end());
    if (!named.empty()) ShowWarning(this, QStringLiteral("Not everything was added:"), Joined(named));
    accept();
}

} // namespace kv::ui
