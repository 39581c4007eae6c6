// Project files (*.MUX) and descriptions (*.json): "Open" reads one into the
// store and refills the window, "Save" writes the store with the TSID and bit
// rate of the boxes.

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <string>

#include "model/app_paths.h"
#include "ops/multiplex_description.h"
#include "ops/operator_messages.h"
#include "ops/project_files.h"
#include "ui/app_state.h"
#include "ui/box_text.h"
#include "ui/kv2208_conf.h"
#include "ui/message_box.h"

namespace kv::ui {
namespace {

// The chosen file of dialog `name` (dlg_Open or dlg_Save), empty when it was
// cancelled. Non-native, so it behaves the same everywhere and can be driven.
// Any name may be chosen: opening one that does not exist is answered with
// "Cannot open input file.", and Save replaces an existing file as it always
// did, without asking. The dialog starts in `appFolder`'s Config folder when
// there is one.
QString ChooseProjectFile(QWidget* parent, const char* name, QFileDialog::AcceptMode mode,
                          const std::string& appFolder) {
    QFileDialog dialog(parent);
    dialog.setObjectName(QString::fromLatin1(name));
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QString projects = QStringLiteral("Project files (*.MUX)");
    dialog.setNameFilters({projects, QStringLiteral("Descriptions (*.json)")});
    dialog.setDefaultSuffix(QStringLiteral("mux"));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog, [&dialog, projects](const QString& filter) {
            dialog.setDefaultSuffix(filter == projects ? QStringLiteral("mux") : QStringLiteral("json"));
        });
    const QString config = QString::fromStdString(ConfigFolder(appFolder));
    if (QDir(config).exists()) dialog.setDirectory(config);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString StatusText(ProjectFileStatus status) {
    return QString::fromLatin1(ProjectFileMessage(status));
}

} // namespace

// A file that cannot be read, or is refused, leaves the store and the window
// as they were; the window is cleared only for a file that was read.
void Tfrm_CfgMux::bt_OpenClick() {
    const QString path = ChooseProjectFile(this, "dlg_Open", QFileDialog::AcceptOpen, app_.AppFolder);
    if (path.isEmpty()) return;
    std::string problem;
    const ProjectFileStatus status = OpenProject(LocalPath(path), app_.Store, app_.Saved, &problem);
    if (status == ProjectFileStatus::Corrupted && IsDescriptionPath(LocalPath(path))) {
        // What was refused, each with its place in the description.
        ShowError(this, StatusText(status), QString::fromStdString(problem).trimmed());
        return;
    }
    if (status == ProjectFileStatus::Corrupted) {
        ShowMessage(this, StatusText(status), QString::fromStdString(problem));
        return;
    }
    if (status != ProjectFileStatus::Ok) {
        ShowError(this, StatusText(status));
        return;
    }
    ShowOpenedProject();
}

// The mode is not restored from the file: the bit-rate exit computes the
// rate figures for the mode the window shows.
void Tfrm_CfgMux::ShowOpenedProject() {
    for (QLineEdit* box : {txt_NetName, txt_BitRate, txt_TSID}) SetTextWhole(box, QString());
    lst_Prog->clear();
    SetContentButtons(false, false);

    const ConfigStore& store = app_.Store;
    if (store.Svc.SvcCount > 0) {
        SetTextWhole(txt_NetName, StoreText(store.Svc.NetName, MaxNameLength));
        // TsId is an unsigned 16-bit identifier: 40000 shows as 40000.
        SetTextWhole(txt_TSID, QString::number(store.Svc.TsId));
        SetTextWhole(txt_BitRate, QString::number(store.Svc.BitRate));
        txt_BitRateExit();
        AppendServiceNames();
        SetContentButtons(true, true);
    } else if (store.Ghost.GhostCount > 0) {
        SetTextWhole(txt_NetName, StoreText(store.Svc.NetName, MaxNameLength));
        SetTextWhole(txt_BitRate, QString::number(store.Ghost.GhostBitRate));
        txt_BitRateExit();
        SetContentButtons(false, true);
    }
}

void Tfrm_CfgMux::bt_SaveClick() {
    const QString path = ChooseProjectFile(this, "dlg_Save", QFileDialog::AcceptSave, app_.AppFolder);
    if (path.isEmpty()) return;
    const ProjectFileStatus status = SaveProject(LocalPath(path), app_.Store,
                                                 {.TsIdText = txt_TSID->text().toStdString(),
                                                  .RateText = txt_BitRate->text().toStdString(),
                                                  .NetName = txt_NetName->text().toLatin1().toStdString()},
                                                 app_.Saved);
    if (status == ProjectFileStatus::Ok)
        ShowWarning(this, QString::fromLatin1(msg::FileSaveSuccessful));
    else
        ShowError(this, StatusText(status));
}

} // namespace kv::ui
