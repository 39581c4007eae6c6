// The program list: names added, renamed, selected, deleted and cleared.
// A program's service is found by the program's name (model/program_names.h).

#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <string>

#include "model/pid_text.h"
#include "ops/operator_messages.h"
#include "ops/program_names.h"
#include "ui/app_state.h"
#include "ui/kv2208_conf.h"
#include "ui/message_box.h"

namespace kv::ui {
namespace {

// Names are 8-bit text in the store, trimmed by the rule the service editor uses.
std::string StoreName(const QString& text) {
    return text.toLatin1().toStdString();
}

QString Trimmed(const QString& text) {
    const std::string trimmed = TrimBlanks(StoreName(text));
    return QString::fromLatin1(trimmed.data(), static_cast<qsizetype>(trimmed.size()));
}

} // namespace

int Tfrm_CfgMux::SelectedProgram() const {
    const QList<QListWidgetItem*> selected = lst_Prog->selectedItems();
    return selected.isEmpty() ? -1 : lst_Prog->row(selected.first());
}

void Tfrm_CfgMux::ClearProgramSelection() {
    lst_Prog->setCurrentRow(-1);
    lst_Prog->clearSelection();
}

void Tfrm_CfgMux::bt_AddClick() {
    const QString typed = txt_NameProg->text();
    if (Trimmed(typed).isEmpty()) {
        ShowWarning(this, QStringLiteral("Enter name, please."));
    } else {
        // Compared as typed. Yes keeps the entry as it is and ends Add there:
        // the name box, the selection and the buttons stay as they are.
        for (int i = 0; i < lst_Prog->count(); ++i) {
            if (lst_Prog->item(i)->text() == typed &&
                AskQuestion(this, QStringLiteral("Name already exist. \n Do you replace them?")))
                return;
        }
        const int selected = SelectedProgram();
        if (selected >= 0 && AskQuestion(this, QStringLiteral("Do you wish change Program Name?"))) {
            // The renamed program's service, if it has one, takes the new name.
            QListWidgetItem* entry = lst_Prog->item(selected);
            RenameProgramService(app_.Store.Svc, StoreName(entry->text()), StoreName(typed));
            entry->setText(Trimmed(typed));
        } else {
            lst_Prog->addItem(typed); // as typed, blanks included
        }
        txt_NameProg->clear();
    }
    if (lst_Prog->count() > 0) {
        for (QToolButton* button : {bt_Edit, bt_Delete, bt_Clear, bt_Save}) button->setEnabled(true);
    }
    ClearProgramSelection();
}

void Tfrm_CfgMux::lst_ProgClick() {
    const int selected = SelectedProgram();
    if (selected >= 0) txt_NameProg->setText(lst_Prog->item(selected)->text());
}

void Tfrm_CfgMux::bt_DeleteClick() {
    const int selected = SelectedProgram();
    if (selected < 0) {
        ShowWarning(this, QString::fromUtf8(msg::ChooseItem));
    } else {
        // A name no service carries only leaves the list.
        DeleteProgramService(app_.Store.Svc, StoreName(lst_Prog->item(selected)->text()));
        delete lst_Prog->takeItem(selected);
        ClearProgramSelection();
        if (lst_Prog->count() == 0) {
            const ConfigStore& store = app_.Store;
            if (store.Svc.SvcCount <= 0 && store.Ghost.GhostCount <= 0)
                SetContentButtons(false, false);
            else
                for (QToolButton* button : {bt_Edit, bt_Delete, bt_Clear}) button->setEnabled(false);
        }
    }
    txt_NameProg->clear();
}

// The ghost table, the network name, the rate figures and the boxes stay;
// txt_TSID keeps showing the old identifier.
void Tfrm_CfgMux::bt_ClearClick() {
    if (!AskQuestion(this, QString::fromUtf8(msg::AskDeleteAll))) return;
    lst_Prog->clear();
    ServiceBlock& sb = app_.Store.Svc;
    sb.SvcCount = 0;
    sb.TsId = 0;
    SetContentButtons(false, false);
}

} // namespace kv::ui
